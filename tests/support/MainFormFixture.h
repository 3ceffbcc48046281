#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QWidget;
class TMainForm;

namespace vorrel::test {

// Settings that keep the welcome window away, so tests see only what they open.
inline const QByteArray kQuietOpts = "[Preferences]\r\nDlg=0\r\n";

// A scratch program directory for as long as it lives: opts.ini, last.dat and the rest go
// here instead of beside the test executable.
class ProgramDir final
{
public:
    // `opts`, unless null, becomes the directory's opts.ini.
    explicit ProgramDir(const QByteArray &opts = QByteArray());
    ~ProgramDir();
    ProgramDir(const ProgramDir &) = delete;
    ProgramDir &operator=(const ProgramDir &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const;
    bool write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir m_dir;
};

// A main window after its start-up routine, reading the present program directory.
std::unique_ptr<TMainForm> startedMainForm();

// Waits for a modal window that `matches` accepts and runs `action` on it once, from inside
// that window's own event loop: a timer polls, because the loop starts only inside the
// caller's exec(). Gives up after about ten seconds of polling, rejecting whatever other
// dialog is up then, so that a wrong turn fails the test instead of hanging it. The flag
// turns true once `action` has run.
std::shared_ptr<const bool> whenModal(std::function<bool(QWidget *)> matches, std::function<void(QWidget *)> action);

// The same for the modal window of that object name.
std::shared_ptr<const bool> whenModal(const QString &objectName, std::function<void(QWidget *)> action);

// The same for the next modal window of any kind.
std::shared_ptr<const bool> whenModal(std::function<void(QWidget *)> action);

// Drops every wait that has not fired, so that none of them catches a later test's window.
void cancelModalWaits();

// The text and caption of the next modal message box, which is closed with its default button.
void expectMessageBox(QString *text, QString *caption);

} // namespace vorrel::test
