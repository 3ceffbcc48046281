#include "base/ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vorrel {

namespace {

QString &overrideDir()
{
    static QString dir;
    return dir;
}

QString withSlash(QString dir)
{
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

// Installed as <prefix>/bin/aimlvorrel with its files in <prefix>/share/aimlvorrel.
QString installedDataDir()
{
    return withSlash(
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/") + kProgramName));
}

} // namespace

QString programDir()
{
    return withSlash(overrideDir().isEmpty() ? QCoreApplication::applicationDirPath() : overrideDir());
}

QString findProgramFile(const QString &name, const QString &programFolder, const QString &dataFolder)
{
    const QString beside = withSlash(programFolder) + name;
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = withSlash(dataFolder) + name;
    return QFileInfo::exists(installed) ? installed : beside;
}

QString programFile(const QString &name)
{
    if (!overrideDir().isEmpty())
        return programDir() + name;
    return findProgramFile(name, programDir(), installedDataDir());
}

QString settingsFolder(const QString &programFolder, bool programFolderWritable, const QString &configFolder)
{
    return withSlash(programFolderWritable || configFolder.isEmpty() ? programFolder : configFolder);
}

QString settingsFile(const QString &name)
{
    const QString dir = programDir();
    if (!overrideDir().isEmpty())
        return dir + name;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QString folder = settingsFolder(dir, QFileInfo(dir).isWritable(), config);
    if (folder != dir)
        QDir().mkpath(folder);
    return folder + name;
}

void setProgramDirOverride(const QString &dir)
{
    overrideDir() = dir;
}

} // namespace vorrel
