#pragma once

#include <QString>

#include <exception>
#include <utility>

class QWidget;

namespace vorrel {

// What a command throws when a step fails; the command stops there and keeps what the
// earlier steps did.
class VorrelError : public std::exception
{
public:
    explicit VorrelError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) { }
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The text the error box shows: the message, with a full stop added when its last
// character sorts after ".".
QString errorBoxText(const QString &message);

// The application's error box: caption "AIML Vorrel 3.0", critical icon, OK.
void showErrorBox(QWidget *parent, const QString &message);

// Runs one command, showing anything it throws in the error box. Nothing escapes into
// Qt's signal machinery.
template<typename F> void runCommand(QWidget *parent, F &&command)
{
    try {
        std::forward<F>(command)();
    } catch (const VorrelError &e) {
        showErrorBox(parent, e.message());
    } catch (const std::exception &e) {
        showErrorBox(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        showErrorBox(parent, QStringLiteral("Unknown error"));
    }
}

// Wraps a command for connect(): the slot runs the command through runCommand.
template<typename F> auto guarded(QWidget *parent, F command)
{
    return [parent, command = std::move(command)](auto &&...) { runCommand(parent, command); };
}

} // namespace vorrel
