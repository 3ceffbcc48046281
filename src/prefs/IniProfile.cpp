#include "prefs/IniProfile.h"

#include "prefs/IntText.h"

#include <QFile>

namespace vorrel {

namespace {

// Anything larger is no settings file; reading it would only cost time.
constexpr qint64 kMaxProfileSize = 1 << 20;

QStringView sectionName(QStringView line)
{
    const QStringView t = line.trimmed();
    if (t.size() >= 2 && t.front() == QLatin1Char('[')) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        if (close > 0)
            return t.mid(1, close - 1).trimmed();
    }
    return {};
}

bool isSectionLine(QStringView line)
{
    const QStringView t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.indexOf(QLatin1Char(']')) > 0;
}

} // namespace

IniProfile IniProfile::load(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxProfileSize)
        return {};
    const QByteArray bytes = file.read(kMaxProfileSize);
    return fromText(QString::fromLatin1(bytes));
}

IniProfile IniProfile::fromText(const QString &text)
{
    IniProfile profile;
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    profile.m_lines = normalized.split(QLatin1Char('\n'));
    if (!profile.m_lines.isEmpty() && profile.m_lines.back().isEmpty())
        profile.m_lines.removeLast();
    return profile;
}

qsizetype IniProfile::findKey(const QString &section, const QString &key) const
{
    bool inSection = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString &line = m_lines.at(i);
        if (isSectionLine(line)) {
            inSection = sectionName(line).compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (QStringView(line).left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString IniProfile::readString(const QString &section, const QString &key, const QString &fallback) const
{
    const qsizetype i = findKey(section, key);
    if (i < 0)
        return fallback;
    const QString &line = m_lines.at(i);
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
}

int IniProfile::readInteger(const QString &section, const QString &key, int fallback) const
{
    const qsizetype i = findKey(section, key);
    if (i < 0)
        return fallback;
    return strToInt(readString(section, key, QString())).value_or(fallback);
}

bool IniProfile::readBool(const QString &section, const QString &key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

} // namespace vorrel
