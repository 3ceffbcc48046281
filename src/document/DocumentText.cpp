#include "document/DocumentText.h"

#include "base/AsciiCase.h"

#include <QString>

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// Bytes a character takes by its first byte; an invalid first byte is left to the full check.
qsizetype sequenceLength(unsigned char lead)
{
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

} // namespace

void Utf8Validator::feed(QByteArrayView piece)
{
    if (!m_valid || piece.isEmpty())
        return;
    // A character cut by the end of the previous piece is completed from this one.
    if (!m_carry.isEmpty()) {
        const qsizetype need = sequenceLength(static_cast<unsigned char>(m_carry.front())) - m_carry.size();
        const qsizetype take = std::min(need, piece.size());
        m_carry.append(piece.first(take));
        piece = piece.sliced(take);
        if (take < need)
            return;
        m_valid = isValidUtf8(m_carry);
        m_carry.clear();
        if (!m_valid)
            return;
    }
    // A character that may go on in the next piece waits for it.
    qsizetype end = piece.size();
    for (qsizetype back = 1; back <= 3 && back <= piece.size(); ++back) {
        const auto c = static_cast<unsigned char>(piece[piece.size() - back]);
        if ((c & 0xC0) == 0x80)
            continue;
        if (sequenceLength(c) > back)
            end = piece.size() - back;
        break;
    }
    m_valid = isValidUtf8(piece.first(end));
    if (m_valid)
        m_carry = piece.sliced(end).toByteArray();
}

void LineEndCounter::feed(QByteArrayView piece)
{
    const auto *data = reinterpret_cast<const unsigned char *>(piece.data());
    const qsizetype size = piece.size();
    if (size == 0)
        return;
    // Every LF is a line end, and so is every CR without an LF after it; a CR that ended the
    // last piece is known now.
    if (m_pendingCr && data[0] != '\n')
        ++m_count;
    m_pendingCr = false;
    qsizetype i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time, with the byte after each in sight. Each lane counts at most
    // 255 before the lanes are added up.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (size - i > 16) {
        __m128i counts = _mm_setzero_si128();
        for (int round = 0; round < 255 && size - i > 16; ++round, i += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i + 1));
            const __m128i isCr = _mm_cmpeq_epi8(here, cr);
            const __m128i ends = _mm_or_si128(isCr, _mm_cmpeq_epi8(here, lf));
            const __m128i crBeforeLf = _mm_and_si128(isCr, _mm_cmpeq_epi8(next, lf));
            // A match is -1: each CR or LF adds one, a CR before an LF takes its one off.
            counts = _mm_add_epi8(counts, _mm_sub_epi8(crBeforeLf, ends));
        }
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
        m_count += _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == '\n')
            ++m_count;
        else if (data[i] == '\r' && i + 1 == size)
            m_pendingCr = true;
        else if (data[i] == '\r' && data[i + 1] != '\n')
            ++m_count;
    }
}

std::optional<TextEncoding> utf16Mark(QByteArrayView bytes)
{
    if (bytes.startsWith("\xff\xfe"))
        return TextEncoding::Utf16LE;
    if (bytes.startsWith("\xfe\xff"))
        return TextEncoding::Utf16BE;
    return std::nullopt;
}

namespace {

char16_t unitAt(const unsigned char *bytes, qsizetype i, bool little)
{
    const unsigned char a = bytes[2 * i];
    const unsigned char b = bytes[2 * i + 1];
    return static_cast<char16_t>(little ? (b << 8 | a) : (a << 8 | b));
}

} // namespace

Utf16Survey surveyUtf16(QByteArrayView bytes, TextEncoding encoding)
{
    Utf16Survey survey;
    const bool little = encoding == TextEncoding::Utf16LE;
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype units = bytes.size() / 2;
    bool afterCr = false;
    // Unit 0 is the mark.
    for (qsizetype i = 1; i < units; ++i) {
        const char16_t c = unitAt(in, i, little);
        if (QChar::isSurrogate(c)) {
            if (!QChar::isHighSurrogate(c) || i + 1 >= units || !QChar::isLowSurrogate(unitAt(in, i + 1, little))) {
                survey.damagedAt = 2 * i;
                return survey;
            }
            survey.textSize += 4;
            ++i;
        } else if (c == u'\n') {
            survey.lineEnds += !afterCr;
            ++survey.textSize;
        } else {
            survey.lineEnds += c == u'\r';
            survey.textSize += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        }
        afterCr = c == u'\r';
    }
    if (bytes.size() % 2 != 0) {
        survey.damagedAt = bytes.size() - 1;
        survey.halfUnit = true;
    }
    return survey;
}

QByteArray utf8FromUtf16(QByteArrayView bytes, TextEncoding encoding)
{
    const bool little = encoding == TextEncoding::Utf16LE;
    QString text(bytes.size() / 2, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        out[i] = unitAt(in, i, little);
    // The mark is written back on saving; the text itself starts after it.
    if (!text.isEmpty() && text.front() == QChar(0xFEFF))
        text.remove(0, 1);
    return text.toUtf8();
}

QByteArray fileBytes(QByteArrayView text, TextEncoding encoding)
{
    if (encoding != TextEncoding::Utf16LE && encoding != TextEncoding::Utf16BE)
        return text.toByteArray();
    // Through decodeText, which keeps a leading U+FEFF: the file's own mark is written apart.
    const QString decoded = decodeText(text, TextEncoding::Utf8);
    const bool little = encoding == TextEncoding::Utf16LE;
    QByteArray out;
    out.reserve(2 + 2 * decoded.size());
    out.append(little ? "\xff\xfe" : "\xfe\xff", 2);
    for (const QChar c : decoded) {
        const char16_t u = c.unicode();
        const char lo = static_cast<char>(u & 0xFF);
        const char hi = static_cast<char>(u >> 8);
        out.append(little ? lo : hi);
        out.append(little ? hi : lo);
    }
    return out;
}

LineEnd lineEndOf(QByteArrayView text)
{
    if (text.isEmpty())
        return LineEnd::Lf;
    const char *data = text.data();
    const auto *lf = static_cast<const char *>(std::memchr(data, '\n', static_cast<size_t>(text.size())));
    const qsizetype firstLine = lf ? lf - data : text.size();
    // A CR there ends the line, alone or before the LF.
    return std::memchr(data, '\r', static_cast<size_t>(firstLine)) ? LineEnd::CrLf : LineEnd::Lf;
}

QByteArrayView lineEndBytes(LineEnd lineEnd)
{
    return lineEnd == LineEnd::CrLf ? QByteArrayView("\r\n") : QByteArrayView("\n");
}

QLatin1StringView lineEndText(LineEnd lineEnd)
{
    const QByteArrayView bytes = lineEndBytes(lineEnd);
    return QLatin1StringView(bytes.data(), bytes.size());
}

QByteArray withLineEnds(const QByteArray &bytes, LineEnd lineEnd)
{
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    const bool crLf = lineEnd == LineEnd::CrLf;
    // Line ends of the other kind: LFs without a CR for CR LF, CR LF pairs for LF.
    qsizetype other = 0;
    for (const char *p = data; (p = static_cast<const char *>(std::memchr(p, '\n', data + size - p))); ++p)
        other += (p > data && p[-1] == '\r') != crLf;
    if (other == 0)
        return bytes;
    QByteArray out;
    out.resize(size + (crLf ? other : -other));
    char *o = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        if (i + 1 < size && data[i] == '\r' && data[i + 1] == '\n' && !crLf)
            continue;
        if (data[i] == '\n' && crLf && (i == 0 || data[i - 1] != '\r'))
            *o++ = '\r';
        *o++ = data[i];
    }
    return out;
}

QString decodeText(QByteArrayView bytes, TextEncoding encoding)
{
    if (!heldAsUtf8(encoding))
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

QByteArray encodeText(const QString &text, TextEncoding encoding)
{
    return heldAsUtf8(encoding) ? text.toUtf8() : text.toLatin1();
}

void upcaseAscii(QByteArray &bytes)
{
    for (char &c : bytes)
        c = asciiUpper(c);
}

bool equalsIgnoringAsciiCase(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i]))
            return false;
    }
    return true;
}

QString cellTextFromRaw(QStringView raw, LineEnd lineEnd)
{
    const QLatin1StringView lineBreak = lineEndText(lineEnd);
    QString result;
    result.reserve(raw.size());
    for (const QChar c : raw) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QLatin1Char('\n'))
            result += lineBreak;
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
