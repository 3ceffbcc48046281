#include "base/Error.h"

#include <QtGlobal>

namespace vorrel {

QString errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString systemReason(int errorNumber)
{
    return qt_error_string(errorNumber);
}

} // namespace vorrel
