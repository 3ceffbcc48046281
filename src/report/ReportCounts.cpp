#include "report/ReportCounts.h"

#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorrel {

namespace {

enum CharClass : unsigned char { Other = 0, Word = 1, Backslash = 2 };

constexpr std::array<unsigned char, 256> makeClassTable()
{
    std::array<unsigned char, 256> table {};
    for (int c = 'A'; c <= 'Z'; ++c)
        table[static_cast<std::size_t>(c)] = Word;
    for (int c = 'a'; c <= 'z'; ++c)
        table[static_cast<std::size_t>(c)] = Word;
    for (int c = '0'; c <= '9'; ++c)
        table[static_cast<std::size_t>(c)] = Word;
    table['\''] = Word;
    table['-'] = Word;
    table['\\'] = Backslash;
    return table;
}

constexpr std::array<unsigned char, 256> kClass = makeClassTable();

inline unsigned char classOf(char c)
{
    return kClass[static_cast<unsigned char>(c)];
}

inline unsigned char classOf(QChar c)
{
    // Everything outside ASCII separates words, accented letters included.
    return c.unicode() < 128 ? kClass[c.unicode()] : static_cast<unsigned char>(Other);
}

template<typename Char> qsizetype countWordsIn(const Char *p, qsizetype n)
{
    qsizetype count = 0;
    bool inWord = false;
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char cls = classOf(p[i]);
        count += (cls == Word) & !inWord;
        inWord = cls != Other;
    }
    return count;
}

inline bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// One bit per byte of a 64-byte block, bit i for byte i.
struct BlockMasks
{
    std::uint64_t word = 0;
    std::uint64_t joined = 0; // word characters and backslashes: both keep a word going
    std::uint64_t continuation = 0;
    std::uint64_t open = 0; // "<"
    std::uint64_t star = 0; // "*", the last character of the version mark
};

constexpr qsizetype kBlock = 64;

#if defined(__SSE2__)
inline std::uint64_t bits16(__m128i m, int shift)
{
    return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(m))) << shift;
}

inline __m128i inRange(__m128i v, char lo, char span)
{
    const __m128i t = _mm_sub_epi8(v, _mm_set1_epi8(lo));
    return _mm_cmpeq_epi8(_mm_min_epu8(t, _mm_set1_epi8(span)), t);
}

BlockMasks blockMasks(const char *p)
{
    BlockMasks m;
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * k));
        const __m128i letter = inRange(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 25);
        const __m128i digit = inRange(v, '0', 9);
        const __m128i mark
            = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\'')), _mm_cmpeq_epi8(v, _mm_set1_epi8('-')));
        const __m128i word = _mm_or_si128(_mm_or_si128(letter, digit), mark);
        const __m128i backslash = _mm_cmpeq_epi8(v, _mm_set1_epi8('\\'));
        const int shift = 16 * k;
        m.word |= bits16(word, shift);
        m.joined |= bits16(_mm_or_si128(word, backslash), shift);
        // Bytes 0x80 to 0xBF are the signed values below -64.
        m.continuation |= bits16(_mm_cmplt_epi8(v, _mm_set1_epi8(-64)), shift);
        m.open |= bits16(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')), shift);
        m.star |= bits16(_mm_cmpeq_epi8(v, _mm_set1_epi8('*')), shift);
    }
    return m;
}
#else
BlockMasks blockMasks(const char *p)
{
    BlockMasks m;
    for (int i = 0; i < kBlock; ++i) {
        const std::uint64_t bit = std::uint64_t(1) << i;
        const unsigned char cls = classOf(p[i]);
        if (cls == Word)
            m.word |= bit;
        if (cls != Other)
            m.joined |= bit;
        if (isContinuation(p[i]))
            m.continuation |= bit;
        if (p[i] == '<')
            m.open |= bit;
        if (p[i] == '*')
            m.star |= bit;
    }
    return m;
}
#endif

// The four counted tags and the step after each find.
struct TagCounter
{
    std::string_view tag;
    qsizetype step;
    qsizetype next = 0;
    qsizetype count = 0;
};

// Offset of the byte that starts character number `chars` counted from `from`, or the end.
qsizetype advanceChars(QByteArrayView text, qsizetype from, qsizetype chars, TextEncoding encoding)
{
    const qsizetype n = text.size();
    if (!heldAsUtf8(encoding))
        return std::min(n, from + chars);
    qsizetype i = from;
    for (qsizetype k = 0; k < chars && i < n; ++k) {
        ++i;
        while (i < n && isContinuation(text[i]))
            ++i;
    }
    return i;
}

// The version attribute of the root element when that is <aiml>, else empty. The text is read
// only as far as the root's start tag, a piece at a time, so a large document costs nothing.
QString rootAimlVersion(QByteArrayView text, TextEncoding encoding)
{
    constexpr qsizetype kPiece = 4096;
    // As many characters as the mark's excerpt shows.
    constexpr qsizetype kLongest = 14;
    QStringDecoder decoder(heldAsUtf8(encoding) ? QStringDecoder::Utf8 : QStringDecoder::Latin1);
    QXmlStreamReader xml;
    qsizetype fed = 0;
    for (;;) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() != QLatin1String("aiml"))
                return {};
            return xml.attributes().value(QLatin1String("version")).trimmed().left(kLongest).toString();
        }
        if (token != QXmlStreamReader::Invalid)
            continue;
        if (xml.error() != QXmlStreamReader::PrematureEndOfDocumentError || fed == text.size())
            return {};
        // Characters, not bytes: the text's own encoding holds, whatever its declaration says.
        const qsizetype n = std::min(kPiece, text.size() - fed);
        xml.addData(QString(decoder(text.sliced(fed, n))));
        fed += n;
    }
}

} // namespace

qsizetype countWords(QByteArrayView text)
{
    return countWordsIn(text.data(), text.size());
}

qsizetype countWords(QStringView text)
{
    return countWordsIn(text.data(), text.size());
}

// The report must stay quick on documents of many megabytes, so every figure comes from one
// pass that classifies 64 bytes at a time and visits only the "<" and "*" positions one by one.
ReportFigures computeReport(QByteArrayView text, TextEncoding encoding)
{
    static constexpr std::string_view kMark = "aiml version*";
    const char *data = text.data();
    const qsizetype n = text.size();

    TagCounter tags[] = { { "<category>", 12 }, { "<random>", 8 }, { "<srai>", 6 }, { "<think>", 7 } };
    qsizetype words = 0;
    qsizetype continuation = 0;
    qsizetype markAt = -1;
    std::uint64_t joinedCarry = 0;

    alignas(16) char tail[kBlock];
    for (qsizetype base = 0; base < n; base += kBlock) {
        const char *block = data + base;
        if (n - base < kBlock) {
            // Zero bytes are no word, mark or continuation, so the padding counts for nothing.
            std::memset(tail, 0, sizeof tail);
            std::memcpy(tail, block, static_cast<std::size_t>(n - base));
            block = tail;
        }
        const BlockMasks m = blockMasks(block);

        words += std::popcount(m.word & ~((m.joined << 1) | joinedCarry));
        joinedCarry = m.joined >> 63;
        continuation += std::popcount(m.continuation);

        for (std::uint64_t open = m.open; open; open &= open - 1) {
            const qsizetype at = base + std::countr_zero(open);
            if (at + 1 >= n)
                break;
            // The second character tells the four tags apart.
            TagCounter *t = nullptr;
            switch (data[at + 1]) {
            case 'c':
                t = &tags[0];
                break;
            case 'r':
                t = &tags[1];
                break;
            case 's':
                t = &tags[2];
                break;
            case 't':
                t = &tags[3];
                break;
            default:
                continue;
            }
            const std::string_view rest(data + at, static_cast<std::size_t>(std::min<qsizetype>(n - at, 10)));
            if (at >= t->next && rest.starts_with(t->tag)) {
                ++t->count;
                t->next = at + t->step;
            }
        }
        if (markAt < 0) {
            for (std::uint64_t star = m.star; star; star &= star - 1) {
                const qsizetype end = base + std::countr_zero(star);
                const qsizetype start = end - static_cast<qsizetype>(kMark.size()) + 1;
                if (start >= 0 && std::memcmp(data + start, kMark.data(), kMark.size()) == 0) {
                    markAt = start;
                    break;
                }
            }
        }
    }

    ReportFigures f;
    f.categories = tags[0].count;
    f.randoms = tags[1].count;
    f.srais = tags[2].count;
    f.thinks = tags[3].count;
    if (markAt >= 0) {
        const qsizetype from = markAt + 5;
        const qsizetype to = advanceChars(text, from, 14, encoding);
        f.version = QStringLiteral("AIML ") + decodeText(text.sliced(from, to - from), encoding);
    } else {
        // An excerpt from a find at -1 would show a piece of the XML declaration.
        const QString version = rootAimlVersion(text, encoding);
        f.version = QStringLiteral("AIML ") + (version.isEmpty() ? QStringLiteral("(none)") : version);
    }
    // The text's own characters: a line end is as many as it has, CR LF two, LF one.
    f.characters = n - (heldAsUtf8(encoding) ? continuation : 0);
    f.words = words;
    return f;
}

} // namespace vorrel
