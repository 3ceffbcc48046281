#include "ReportTestSupport.h"

#include "app/AppInfo.h"
#include "app/Main.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

namespace reporttest {

namespace {
const QString kWatcherName = QStringLiteral("reporttestModalWatcher");
} // namespace

void whenModal(std::function<bool(QWidget *)> matches, std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer(qApp);
    timer->setObjectName(kWatcherName);
    timer->setInterval(10);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(
        timer, &QTimer::timeout, timer, [timer, ticks, matches = std::move(matches), action = std::move(action)] {
            QWidget *modal = qApp->activeModalWidget();
            if (modal && matches(modal)) {
                timer->stop();
                timer->deleteLater();
                action(modal);
            } else if (++*ticks > 1000) {
                timer->stop();
                timer->deleteLater();
            }
        });
    timer->start();
}

void whenModal(std::function<void(QWidget *)> action)
{
    whenModal([](QWidget *) { return true; }, std::move(action));
}

void stopWatching()
{
    const auto watchers = qApp->findChildren<QTimer *>(kWatcherName, Qt::FindDirectChildrenOnly);
    for (QTimer *timer : watchers) {
        timer->stop();
        delete timer;
    }
}

std::unique_ptr<TMainForm> openMainForm(const QString &dir)
{
    vorrel::setProgramDirOverride(dir);
    QFile ini(dir + QStringLiteral("/opts.ini"));
    if (!ini.exists() && ini.open(QIODevice::WriteOnly))
        ini.write("[Preferences]\r\nDlg=0\r\n");
    ini.close();
    auto form = std::make_unique<TMainForm>();
    form->Timer1Timer();
    form->iButMenu(true);
    return form;
}

} // namespace reporttest
