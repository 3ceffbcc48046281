#include "prefs/IniProfile.h"

#include "base/RegularFile.h"
#include "base/SafeWrite.h"
#include "prefs/IntText.h"

namespace vorrel {

namespace {

// Anything larger is no settings file; reading it would only cost time.
constexpr qint64 kMaxProfileSize = 1 << 20;

// The name between the brackets, ASCII blanks trimmed, or nothing when the line is no header.
// A file saved with a UTF-8 byte order mark has it before its first header.
std::optional<QByteArrayView> sectionName(QByteArrayView line)
{
    if (line.startsWith("\xef\xbb\xbf"))
        line = line.sliced(3);
    const QByteArrayView t = line.trimmed();
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close <= 0)
        return std::nullopt;
    return t.sliced(1, close - 1).trimmed();
}

bool isBlank(QByteArrayView line)
{
    return line.trimmed().isEmpty();
}

std::optional<QByteArray> readForWriting(const QString &fileName, QString *reason)
{
    const ReadResult read = readRegularFile(fileName, kMaxProfileSize);
    switch (read.status) {
    case ReadResult::Ok:
        return read.bytes;
    case ReadResult::Missing:
        return QByteArray();
    case ReadResult::TooLarge:
        if (reason)
            *reason = QStringLiteral("The file is larger than 1 MiB");
        return std::nullopt;
    case ReadResult::Failed:
        break;
    }
    if (reason)
        *reason = read.reason;
    return std::nullopt;
}

} // namespace

IniProfile IniProfile::load(const QString &fileName)
{
    const ReadResult read = readRegularFile(fileName, kMaxProfileSize);
    return read.status == ReadResult::Ok ? fromBytes(read.bytes) : IniProfile();
}

std::optional<IniProfile> IniProfile::loadForWriting(const QString &fileName, QString *reason)
{
    const std::optional<QByteArray> bytes = readForWriting(fileName, reason);
    if (!bytes)
        return std::nullopt;
    return fromBytes(*bytes);
}

IniProfile IniProfile::fromBytes(const QByteArray &bytes)
{
    // Views of literals, so that a line's end outlives the bytes it was read from.
    static constexpr QByteArrayView kCrLf = "\r\n";
    static constexpr QByteArrayView kLf = "\n";
    static constexpr QByteArrayView kCr = "\r";

    IniProfile profile;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        QByteArrayView end = kLf;
        if (c == '\r')
            end = i + 1 < n && bytes.at(i + 1) == '\n' ? kCrLf : kCr;
        if (profile.m_raw.isEmpty())
            profile.m_lineEnd = end;
        const QByteArray line = bytes.mid(start, i - start);
        profile.m_raw.append(Line { line, end, line.isValidUtf8() });
        i += end.size() - 1;
        start = i + 1;
    }
    // A last line without a line end is still a line.
    if (start < n) {
        const QByteArray line = bytes.mid(start);
        profile.m_raw.append(Line { line, {}, line.isValidUtf8() });
    }
    profile.m_lines.reserve(profile.m_raw.size());
    for (const Line &line : std::as_const(profile.m_raw))
        profile.m_lines.append(decode(line, line.bytes));
    return profile;
}

QString IniProfile::decode(const Line &line, QByteArrayView part)
{
    return line.utf8 ? QString::fromUtf8(part) : QString::fromLatin1(part);
}

bool IniProfile::isNamed(const Line &line, QByteArrayView name, const QString &wanted)
{
    return decode(line, name).compare(wanted, Qt::CaseInsensitive) == 0;
}

qsizetype IniProfile::findKey(const QString &section, const QString &key) const
{
    bool inSection = false;
    for (qsizetype i = 0; i < m_raw.size(); ++i) {
        const Line &line = m_raw.at(i);
        if (const std::optional<QByteArrayView> name = sectionName(line.bytes)) {
            inSection = isNamed(line, *name, section);
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.bytes.indexOf('=');
        if (eq >= 0 && isNamed(line, QByteArrayView(line.bytes).first(eq).trimmed(), key))
            return i;
    }
    return -1;
}

qsizetype IniProfile::findSection(const QString &section) const
{
    for (qsizetype i = 0; i < m_raw.size(); ++i) {
        const Line &line = m_raw.at(i);
        const std::optional<QByteArrayView> name = sectionName(line.bytes);
        if (name && isNamed(line, *name, section))
            return i;
    }
    return -1;
}

QString IniProfile::readString(const QString &section, const QString &key, const QString &fallback) const
{
    const qsizetype i = findKey(section, key);
    if (i < 0)
        return fallback;
    const Line &line = m_raw.at(i);
    return decode(line, QByteArrayView(line.bytes).sliced(line.bytes.indexOf('=') + 1).trimmed());
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

QStringList IniProfile::keys(const QString &section) const
{
    QStringList keys;
    bool inSection = false;
    for (const Line &line : m_raw) {
        if (const std::optional<QByteArrayView> name = sectionName(line.bytes)) {
            inSection = isNamed(line, *name, section);
            continue;
        }
        const qsizetype eq = line.bytes.indexOf('=');
        if (!inSection || eq <= 0)
            continue;
        const QString key = decode(line, QByteArrayView(line.bytes).first(eq).trimmed());
        // The first of two lines of one key is the one read.
        if (!key.isEmpty() && !keys.contains(key, Qt::CaseInsensitive))
            keys.append(key);
    }
    return keys;
}

void IniProfile::removeKey(const QString &section, const QString &key)
{
    for (qsizetype at = findKey(section, key); at >= 0; at = findKey(section, key)) {
        m_raw.removeAt(at);
        m_lines.removeAt(at);
    }
}

void IniProfile::setLine(qsizetype at, const QByteArray &bytes)
{
    Line &line = m_raw[at];
    line.bytes = bytes;
    line.utf8 = bytes.isValidUtf8();
    if (line.end.isEmpty())
        line.end = m_lineEnd;
    m_lines[at] = decode(line, line.bytes);
}

void IniProfile::insertLine(qsizetype at, const QByteArray &bytes)
{
    // Otherwise the line before would run on into the new one.
    if (at > 0 && m_raw.at(at - 1).end.isEmpty())
        m_raw[at - 1].end = m_lineEnd;
    const Line line { bytes, m_lineEnd, bytes.isValidUtf8() };
    m_raw.insert(at, line);
    m_lines.insert(at, decode(line, bytes));
}

bool IniProfile::writeString(const QString &section, const QString &key, const QString &value)
{
    // A line break would end the line early and turn the rest of the value into lines of its own;
    // the other characters would make the name read back as another one.
    const auto breaks
        = [](const QString &text) { return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')); };
    // Reading trims ASCII blanks around a value, so a value that has them would come back without.
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; };
    const bool edgeBlanks = !value.isEmpty() && (blank(value.front()) || blank(value.back()));
    if (breaks(value) || breaks(key) || breaks(section) || edgeBlanks || key.contains(QLatin1Char('='))
        || section.contains(QLatin1Char(']')))
        return false;
    const QByteArray encoded = value.toUtf8();

    const qsizetype at = findKey(section, key);
    if (at >= 0) {
        // "=" is a single byte in UTF-8 and Latin-1 alike, so the key keeps its own bytes.
        const QByteArray &old = m_raw.at(at).bytes;
        setLine(at, old.left(old.indexOf('=') + 1) + encoded);
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
    for (qsizetype i = header + 1; i < m_raw.size() && !sectionName(m_raw.at(i).bytes); ++i) {
        if (!isBlank(m_raw.at(i).bytes))
            end = i + 1;
    }
    insertLine(end, keyLine);
    return true;
}

QByteArray IniProfile::toBytes() const
{
    qsizetype size = 0;
    for (const Line &line : m_raw)
        size += line.bytes.size() + line.end.size();
    QByteArray bytes;
    bytes.reserve(size);
    for (const Line &line : m_raw) {
        bytes += line.bytes;
        bytes += line.end;
    }
    return bytes;
}

bool IniProfile::save(const QString &fileName, QString *reason) const
{
    const WriteResult result = writeFileAtomically(fileName, toBytes(), FileAccess::OwnerOnly);
    if (!result && reason)
        *reason = result.reason;
    return result.ok;
}

bool writeProfileString(
    const QString &section, const QString &key, const QString &value, const QString &fileName, QString *reason)
{
    std::optional<IniProfile> profile = IniProfile::loadForWriting(fileName, reason);
    if (!profile)
        return false;
    if (!profile->writeString(section, key, value)) {
        if (reason) {
            const bool lineBreak = value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'));
            const bool edgeBlanks = value != value.trimmed();
            *reason = lineBreak ? QStringLiteral("The value holds a line break")
                : edgeBlanks    ? QStringLiteral("The value starts or ends with a blank")
                                : QStringLiteral("The section or key name is not valid");
        }
        return false;
    }
    return profile->save(fileName, reason);
}

} // namespace vorrel
