#include "app/AppInfo.h"

#include <QCoreApplication>
#include <QDir>

namespace vorrel {

namespace {
QString &overrideDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString programDir()
{
    QString dir = overrideDir().isEmpty() ? QCoreApplication::applicationDirPath() : overrideDir();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QString programFile(const QString &name)
{
    return programDir() + name;
}

void setProgramDirOverride(const QString &dir)
{
    overrideDir() = dir;
}

} // namespace vorrel
