#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QWidget;
class TMainForm;

namespace vorrel::test {

// A scratch program directory: opts.ini, last.dat and the rest go here instead of beside
// the test executable.
class ProgramDir
{
public:
    ProgramDir();
    ~ProgramDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const;
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir m_dir;
};

// Settings that keep the welcome window away, so tests see only what they open.
inline const QByteArray kQuietOpts = "[Preferences]\r\nDlg=0\r\n";

// A main window after its start-up routine.
std::unique_ptr<TMainForm> startedMainForm();

// Runs `act` once the next modal dialog is up, from inside its event loop.
void whenModal(std::function<void(QWidget *)> act);

// The text of the next modal message box, which is closed with its default button.
void expectMessageBox(QString *text, QString *caption);

} // namespace vorrel::test
