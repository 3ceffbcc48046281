#include "document/DocumentText.h"

#include <cstring>

namespace vorrel {

namespace {

inline bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

} // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        // Most documents are ASCII: skip eight plain bytes at a time.
        while (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p >= end)
            break;
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            if (end - p < 2 || !isContinuation(p[1]))
                return false;
            p += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            if (end - p < 3 || !isContinuation(p[1]) || !isContinuation(p[2]))
                return false;
            if (c == 0xE0 && p[1] < 0xA0) // overlong
                return false;
            if (c == 0xED && p[1] >= 0xA0) // surrogates
                return false;
            p += 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            if (end - p < 4 || !isContinuation(p[1]) || !isContinuation(p[2]) || !isContinuation(p[3]))
                return false;
            if (c == 0xF0 && p[1] < 0x90) // overlong
                return false;
            if (c == 0xF4 && p[1] >= 0x90) // above U+10FFFF
                return false;
            p += 4;
        } else {
            return false;
        }
    }
    return true;
}

QByteArray toCrLf(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype bare = 0;
    for (const char *p = data; (p = static_cast<const char *>(std::memchr(p, '\n', data + size - p))); ++p) {
        if (p == data || p[-1] != '\r')
            ++bare;
    }
    if (bare == 0)
        return bytes;
    QByteArray out;
    out.resize(size + bare);
    char *o = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == '\n' && (i == 0 || data[i - 1] != '\r'))
            *o++ = '\r';
        *o++ = data[i];
    }
    return out;
}

QString toCrLf(const QString &text)
{
    if (!text.contains(QLatin1Char('\n')))
        return text;
    QString out;
    out.reserve(text.size() + text.count(QLatin1Char('\n')));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n') && (i == 0 || text[i - 1] != QLatin1Char('\r')))
            out.append(QLatin1Char('\r'));
        out.append(text[i]);
    }
    return out;
}

QString decodeText(QByteArrayView bytes, bool utf8)
{
    if (!utf8)
        return QString::fromLatin1(bytes);
    // QString::fromUtf8 drops a leading byte order mark; a cell keeps every character, and
    // with one mark taken off the next would be leading.
    qsizetype marks = 0;
    while (bytes.sliced(3 * marks).startsWith("\xef\xbb\xbf"))
        ++marks;
    if (marks > 0)
        return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(bytes.sliced(3 * marks));
    return QString::fromUtf8(bytes);
}

QByteArray encodeText(const QString &text, bool utf8)
{
    return utf8 ? text.toUtf8() : text.toLatin1();
}

void upcaseAscii(QByteArray &bytes)
{
    for (char &c : bytes) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
}

bool equalsIgnoringAsciiCase(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

QString cellTextFromRaw(QStringView raw)
{
    QString result;
    result.reserve(raw.size());
    for (const QChar c : raw) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QLatin1Char('\n'))
            result += QStringLiteral("\r\n");
        else
            result += c;
    }
    return result;
}

QString fieldTextFromCell(QString cell)
{
    return cell.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace vorrel
