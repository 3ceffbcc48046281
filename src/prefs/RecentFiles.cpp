#include "prefs/RecentFiles.h"

#include "prefs/IniProfile.h"

namespace vorrel {

namespace {

const QString kSection = QStringLiteral("Recent");

QString keyOf(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

bool storable(const QString &fileName)
{
    return !fileName.isEmpty() && fileName == fileName.trimmed() && !fileName.contains(QLatin1Char('\n'))
        && !fileName.contains(QLatin1Char('\r'));
}

} // namespace

QStringList readRecentFiles(const IniProfile &profile)
{
    QStringList files;
    for (int i = 0; i < kRecentFiles; ++i) {
        const QString file = profile.readString(kSection, keyOf(i), QString());
        if (storable(file) && !files.contains(file))
            files.append(file);
    }
    return files;
}

QStringList withRecentFile(QStringList files, const QString &fileName)
{
    if (!storable(fileName))
        return files;
    files.removeAll(fileName);
    files.prepend(fileName);
    while (files.size() > kRecentFiles)
        files.removeLast();
    return files;
}

bool writeRecentFiles(const QString &fileName, const QStringList &files, QString *reason)
{
    std::optional<IniProfile> profile = IniProfile::loadForWriting(fileName, reason);
    if (!profile)
        return false;
    for (int i = 0; i < kRecentFiles; ++i)
        profile->writeString(kSection, keyOf(i), storable(files.value(i)) ? files.value(i) : QString());
    return profile->save(fileName, reason);
}

} // namespace vorrel
