#include "MainFormFixture.h"

#include "TestFiles.h"

#include "app/AppInfo.h"
#include "app/Main.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace vorrel::test {

namespace {

// Every pending wait is a timer of this name under the application, for cancelModalWaits().
const QString kWaitName = QStringLiteral("vorrelTestModalWait");
constexpr int kPollMs = 10;
constexpr int kPolls = 1000;

} // namespace

ProgramDir::ProgramDir(const QByteArray &opts)
{
    setProgramDirOverride(m_dir.path());
    if (!opts.isNull())
        write(QStringLiteral("opts.ini"), opts);
}

ProgramDir::~ProgramDir()
{
    setProgramDirOverride(QString());
}

QString ProgramDir::file(const QString &name) const
{
    return m_dir.filePath(name);
}

bool ProgramDir::write(const QString &name, const QByteArray &bytes) const
{
    return writeFile(file(name), bytes);
}

QByteArray ProgramDir::read(const QString &name) const
{
    return readFile(file(name));
}

std::unique_ptr<TMainForm> startedMainForm()
{
    auto form = std::make_unique<TMainForm>();
    form->Timer1Timer();
    return form;
}

std::shared_ptr<const bool> whenModal(std::function<bool(QWidget *)> matches, std::function<void(QWidget *)> action)
{
    auto done = std::make_shared<bool>(false);
    auto *timer = new QTimer(qApp);
    timer->setObjectName(kWaitName);
    timer->setInterval(kPollMs);
    QObject::connect(timer, &QTimer::timeout, timer,
        [timer, done, polls = 0, matches = std::move(matches), action = std::move(action)]() mutable {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && matches(modal)) {
                timer->stop();
                timer->deleteLater();
                *done = true;
                action(modal);
            } else if (++polls > kPolls) {
                timer->stop();
                timer->deleteLater();
                if (auto *dialog = qobject_cast<QDialog *>(modal))
                    dialog->reject();
            }
        });
    timer->start();
    return done;
}

std::shared_ptr<const bool> whenModal(const QString &objectName, std::function<void(QWidget *)> action)
{
    return whenModal([objectName](QWidget *modal) { return modal->objectName() == objectName; }, std::move(action));
}

std::shared_ptr<const bool> whenModal(std::function<void(QWidget *)> action)
{
    return whenModal([](QWidget *) { return true; }, std::move(action));
}

void cancelModalWaits()
{
    const auto timers = qApp->findChildren<QTimer *>(kWaitName, Qt::FindDirectChildrenOnly);
    for (QTimer *timer : timers) {
        timer->stop();
        delete timer;
    }
}

void expectMessageBox(QString *text, QString *caption)
{
    whenModal([text, caption](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            *text = box->text();
            *caption = box->windowTitle();
            if (QAbstractButton *button = box->defaultButton())
                button->click();
            else
                box->close();
        } else {
            modal->close();
        }
    });
}

} // namespace vorrel::test
