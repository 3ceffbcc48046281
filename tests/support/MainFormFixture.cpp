#include "MainFormFixture.h"

#include "app/AppInfo.h"
#include "app/Main.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

namespace vorrel::test {

ProgramDir::ProgramDir()
{
    setProgramDirOverride(m_dir.path());
}

ProgramDir::~ProgramDir()
{
    setProgramDirOverride(QString());
}

QString ProgramDir::file(const QString &name) const
{
    return m_dir.filePath(name);
}

void ProgramDir::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray ProgramDir::read(const QString &name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::unique_ptr<TMainForm> startedMainForm()
{
    auto form = std::make_unique<TMainForm>();
    form->Timer1Timer();
    return form;
}

void whenModal(std::function<void(QWidget *)> act)
{
    // Poll: the dialog's own event loop runs the timer once the dialog is up.
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
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
