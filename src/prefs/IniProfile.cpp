#include "prefs/IniProfile.h"

#include "prefs/IntText.h"

#include <QFile>
#include <QSaveFile>

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

QString decodeLine(const QByteArray &bytes)
{
    return bytes.isValidUtf8() ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

// The whole file, or nothing when it cannot be opened or read or is larger than a settings
// file can be. Reads no further than the limit, so a device that never ends cannot hang us.
std::optional<QByteArray> readWhole(QFile &file)
{
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(kMaxProfileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxProfileSize)
        return std::nullopt;
    return bytes;
}

} // namespace

IniProfile IniProfile::load(const QString &fileName)
{
    QFile file(fileName);
    const std::optional<QByteArray> bytes = readWhole(file);
    return bytes ? fromBytes(*bytes) : IniProfile();
}

std::optional<IniProfile> IniProfile::loadForWriting(const QString &fileName)
{
    QFile file(fileName);
    if (!file.exists())
        return IniProfile();
    const std::optional<QByteArray> bytes = readWhole(file);
    if (!bytes)
        return std::nullopt;
    return fromBytes(*bytes);
}

IniProfile IniProfile::fromBytes(const QByteArray &bytes)
{
    IniProfile profile;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        profile.m_raw.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    // A last line without a line end is still a line.
    if (start < n)
        profile.m_raw.append(bytes.mid(start));
    profile.m_lines.reserve(profile.m_raw.size());
    for (const QByteArray &line : std::as_const(profile.m_raw))
        profile.m_lines.append(decodeLine(line));
    return profile;
}

IniProfile IniProfile::fromText(const QString &text)
{
    return fromBytes(text.toUtf8());
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

qsizetype IniProfile::findSection(const QString &section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString &line = m_lines.at(i);
        if (isSectionLine(line) && sectionName(line).compare(section, Qt::CaseInsensitive) == 0)
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

void IniProfile::insertLine(qsizetype at, const QByteArray &bytes)
{
    m_raw.insert(at, bytes);
    m_lines.insert(at, decodeLine(bytes));
}

bool IniProfile::writeString(const QString &section, const QString &key, const QString &value)
{
    // A line break would end the line early and turn the rest of the value into lines of its own.
    if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')))
        return false;
    const QByteArray encoded = value.toUtf8();

    const qsizetype at = findKey(section, key);
    if (at >= 0) {
        // "=" is a single byte in UTF-8 and Latin-1 alike, so the key keeps its own spelling.
        QByteArray line = m_raw.at(at);
        line.truncate(line.indexOf('=') + 1);
        line += encoded;
        m_raw[at] = line;
        m_lines[at] = decodeLine(line);
        return true;
    }

    const QByteArray keyLine = key.toUtf8() + '=' + encoded;
    const qsizetype header = findSection(section);
    if (header < 0) {
        insertLine(m_raw.size(), '[' + section.toUtf8() + ']');
        insertLine(m_raw.size(), keyLine);
        return true;
    }
    // After the section's last line that is not blank, so blank lines keep separating sections.
    qsizetype end = header + 1;
    for (qsizetype i = header + 1; i < m_lines.size() && !isSectionLine(m_lines.at(i)); ++i) {
        if (!m_lines.at(i).trimmed().isEmpty())
            end = i + 1;
    }
    insertLine(end, keyLine);
    return true;
}

QByteArray IniProfile::toBytes() const
{
    QByteArray bytes;
    for (const QByteArray &line : m_raw) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

bool IniProfile::save(const QString &fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = toBytes();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &fileName)
{
    std::optional<IniProfile> profile = IniProfile::loadForWriting(fileName);
    if (!profile || !profile->writeString(section, key, value))
        return false;
    return profile->save(fileName);
}

} // namespace vorrel
