#include "base/ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

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

// Only a build folder or an unpacked copy has it beside the executable.
const QString kProgramFileMark = QStringLiteral("template.dat");

// Makes the folder and every missing folder above it, as mkdir -p does but 0700 whatever the
// umask; the folder itself is kept 0700, so that no one else can swap a settings file for a link.
void makePrivateFolder(const QString &folder)
{
    const QByteArray path = QFile::encodeName(QDir::cleanPath(folder));
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? path : path.left(slash);
        if (::mkdir(part.constData(), 0700) == 0)
            ::chmod(part.constData(), 0700);
        if (slash < 0)
            break;
    }
    struct stat st;
    if (::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid()
        && (st.st_mode & 07777) != 0700)
        ::chmod(path.constData(), 0700);
}

} // namespace

void nameApplication()
{
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(kProgramName);
}

QString installedDataDir()
{
    return withSlash(
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/") + kProgramName));
}

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

QString settingsFolder(const QString &programFolder, const QString &configFolder)
{
    const QString dir = withSlash(programFolder);
    const bool unpacked = QFileInfo::exists(dir + kProgramFileMark) && QFileInfo(dir).isWritable();
    return unpacked || configFolder.isEmpty() ? dir : withSlash(configFolder);
}

QString settingsFile(const QString &name)
{
    const QString dir = programDir();
    if (!overrideDir().isEmpty())
        return dir + name;
    const QString folder = settingsFolder(dir, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    if (folder != dir)
        makePrivateFolder(folder);
    return folder + name;
}

void setProgramDirOverride(const QString &dir)
{
    overrideDir() = dir;
}

} // namespace vorrel
