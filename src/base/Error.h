#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <utility>

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

// The system's own text for an error number ("No space left on device").
QString systemReason(int errorNumber);

} // namespace vorrel
