#include "document/Checker.h"

#include "aiml/Elements.h"
#include "aiml/Markup.h"
#include "aiml/Words.h"
#include "document/CheckIndex.h"
#include "document/DocumentText.h"

#include <QStringDecoder>

#include <expat.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <future>
#include <limits>
#include <memory>
#include <new>
#include <numeric>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

namespace vorrel {

namespace {

using namespace std::string_view_literals;

constexpr qsizetype kNone = -1;

// Stands between a namespace and a local name in the parser's names: no XML 1.0 text holds it.
constexpr char kNamespaceSeparator = '\x01';

// A problem's code: its place in problemCodes().
enum Code : quint8 {
    kNotWellFormed,
    kEncoding,
    kStructure,
    kUnknownElement,
    kPatternSyntax,
    kDuplicate,
    kSraiTarget,
    kEmptyTemplate
};

qsizetype firstNonAscii(QByteArrayView bytes, qsizetype from = 0)
{
    const char *data = bytes.data();
    qsizetype i = from;
    for (; bytes.size() - i >= 8; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return i;
    }
    return kNone;
}

int utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The first byte that is not part of a valid UTF-8 sequence, judged by isValidUtf8 one
// sequence at a time.
qsizetype firstInvalidUtf8(QByteArrayView bytes)
{
    qsizetype i = 0;
    for (;;) {
        i = firstNonAscii(bytes, i);
        if (i == kNone)
            return kNone;
        const int length = utf8Length(static_cast<unsigned char>(bytes[i]));
        if (length == 0 || i + length > bytes.size() || !isValidUtf8(bytes.sliced(i, length)))
            return i;
        i += length;
    }
}

// The first byte of a UTF-16 or UTF-32 text that does not belong to a whole, well-paired unit.
qsizetype firstInvalidWideUnit(QByteArrayView bytes, QStringConverter::Encoding encoding)
{
    const bool big = encoding == QStringConverter::Utf16BE || encoding == QStringConverter::Utf32BE;
    const int width = encoding == QStringConverter::Utf32LE || encoding == QStringConverter::Utf32BE ? 4 : 2;
    auto unit = [&](qsizetype at) {
        char32_t u = 0;
        for (int i = 0; i < width; ++i) {
            const auto byte = static_cast<unsigned char>(bytes[at + (big ? i : width - 1 - i)]);
            u = (u << 8) | byte;
        }
        return u;
    };
    for (qsizetype at = 0; at < bytes.size(); at += width) {
        if (bytes.size() - at < width)
            return at;
        const char32_t u = unit(at);
        if (width == 4) {
            if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF))
                return at;
        } else if (u >= 0xD800 && u <= 0xDBFF) {
            if (bytes.size() - at < 4 || unit(at + 2) < 0xDC00 || unit(at + 2) > 0xDFFF)
                return at;
            at += 2;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return at;
        }
    }
    return kNone;
}

bool isBlankText(const char *s, int length)
{
    return std::all_of(s, s + length, isXmlBlank);
}

// Where `what` first stands in `text` from `from` on: the C library's search, which keeps its
// speed over long runs of one byte, where a document may be nothing but line feeds.
qsizetype find(QByteArrayView text, QByteArrayView what, qsizetype from = 0)
{
    if (from < 0 || from > text.size() || what.isEmpty() || what.size() > text.size() - from)
        return kNone;
    const void *at = memmem(text.data() + from, size_t(text.size() - from), what.data(), size_t(what.size()));
    return at ? static_cast<const char *>(at) - text.data() : kNone;
}

// `<name` standing as a tag, that is followed by a blank, ">" or "/".
qsizetype findTag(QByteArrayView text, QByteArrayView open, qsizetype from)
{
    for (qsizetype at = find(text, open, from); at != kNone; at = find(text, open, at + 1)) {
        const qsizetype after = at + open.size();
        if (after < text.size() && (isXmlBlank(text[after]) || text[after] == '>' || text[after] == '/'))
            return at;
    }
    return kNone;
}

// The encoding an XML declaration at the start of `text` names; nothing without one.
QByteArrayView declaredEncoding(QByteArrayView text)
{
    if (!text.startsWith("<?xml") || text.size() <= 5 || !isXmlBlank(text[5]))
        return {};
    const qsizetype end = text.indexOf("?>");
    return attributeIn(text.first(end == kNone ? std::min<qsizetype>(text.size(), 256) : end), "encoding");
}

// The name of the element whose tag starts at `at` ("<name" or "</name"), as written.
QByteArrayView tagName(QByteArrayView text, qsizetype at)
{
    qsizetype begin = at + 1;
    if (begin < text.size() && text[begin] == '/')
        ++begin;
    qsizetype end = begin;
    while (end < text.size() && end - begin < 100 && !isXmlBlank(text[end]) && text[end] != '>' && text[end] != '/')
        ++end;
    return text.sliced(std::min(begin, text.size()), end - std::min(begin, text.size()));
}

// A message quotes the document; its control characters would break the one line a problem
// takes, or reach a terminal as commands.
QString withoutControls(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }))
        return text;
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString codePointText(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

inline bool isSpaceCodePoint(char32_t c)
{
    return c < 0x80 ? c == ' ' || (c >= '\t' && c <= '\r') : QChar::isSpace(c);
}

// The bytes a pattern's words are mostly made of: "A" to "Z" and digits.
constexpr auto kPlainPatternByte = [] {
    std::array<bool, 256> plain {};
    for (int c = 0; c < 256; ++c)
        plain[size_t(c)] = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    return plain;
}();

// Lines and columns of byte offsets asked in increasing order: one walk over the text. Lines
// end at LF, CR LF or a lone CR; columns count characters, which in UTF-8 are the bytes that
// do not continue one.
class LinePositions final
{
public:
    LinePositions(QByteArrayView text, bool utf8) : m_text(text), m_utf8(utf8) { }

    std::pair<int, int> at(qsizetype offset)
    {
        offset = std::clamp<qsizetype>(offset, 0, m_text.size());
        // The LF of a CR LF is where the CR is: one line end, as in a file of LF line ends.
        if (offset > 0 && offset < m_text.size() && m_text[offset] == '\n' && m_text[offset - 1] == '\r')
            --offset;
        if (offset < m_pos)
            return { m_line, m_column };
        const qint64 ends = lineEnds(m_pos, offset);
        if (ends > 0) {
            m_line += int(std::min<qint64>(ends, INT_MAX - m_line));
            m_column = 1 + characters(lineStart(offset), offset);
        } else {
            m_column += characters(m_pos, offset);
        }
        m_pos = offset;
        return { m_line, m_column };
    }

private:
    // Where the line of `offset` starts, a line end lying between m_pos and it.
    qsizetype lineStart(qsizetype offset) const
    {
        const char *data = m_text.data();
        const auto *lf = static_cast<const char *>(memrchr(data + m_pos, '\n', size_t(offset - m_pos)));
        const qsizetype from = lf ? lf - data + 1 : m_pos;
        const auto *cr = static_cast<const char *>(memrchr(data + from, '\r', size_t(offset - from)));
        return cr ? cr - data + 1 : from;
    }

    int characters(qsizetype from, qsizetype to) const
    {
        if (!m_utf8)
            return int(std::min<qsizetype>(to - from, INT_MAX - 1));
        // Every byte but those that continue a character.
        const char *data = m_text.data();
        qsizetype count = to - from;
        qsizetype i = from;
#if defined(__SSE2__)
        // The continuing bytes, 0x80 to 0xBF, are the signed bytes below -64.
        const __m128i firstLead = _mm_set1_epi8(static_cast<char>(0xC0));
        for (; to - i >= 16; i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
            count -= std::popcount(unsigned(_mm_movemask_epi8(_mm_cmplt_epi8(bytes, firstLead))));
        }
#endif
        for (; i < to; ++i)
            count -= (static_cast<unsigned char>(data[i]) & 0xC0) == 0x80;
        return int(std::min<qsizetype>(count, INT_MAX - 1));
    }

    // CRs and the LFs that no CR comes before, from `from` to `to`.
    qint64 lineEnds(qsizetype from, qsizetype to) const
    {
        const char *data = m_text.data();
        qint64 count = 0;
        qsizetype i = from;
        auto one = [&](qsizetype at) {
            count += data[at] == '\r' || (data[at] == '\n' && (at == 0 || data[at - 1] != '\r'));
        };
        if (i == 0 && i < to)
            one(i++);
#if defined(__SSE2__)
        // Sixteen bytes at a time, each with the byte before it in sight; the line ends are
        // counted in sixteen byte-wide counters, summed before any can overflow.
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        while (to - i >= 16) {
            __m128i counters = _mm_setzero_si128();
            for (int round = 0; round < 255 && to - i >= 16; ++round, i += 16) {
                const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
                const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i - 1));
                const __m128i crs = _mm_cmpeq_epi8(here, cr);
                const __m128i bareLfs = _mm_andnot_si128(_mm_cmpeq_epi8(before, cr), _mm_cmpeq_epi8(here, lf));
                // A matching byte is all ones, that is -1.
                counters = _mm_sub_epi8(counters, _mm_or_si128(crs, bareLfs));
            }
            const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
            count += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
        }
#endif
        for (; i < to; ++i)
            one(i);
        return count;
    }

    QByteArrayView m_text;
    bool m_utf8;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_column = 1;
};

struct Finding
{
    qsizetype at = 0;
    Severity severity = Severity::Warning;
    Code code = kNotWellFormed;
    QString message;
    // The line of this earlier place fills the message's "%1".
    qsizetype earlier = kNone;
    // A srai target's words, in the document's block of them: its message is made only when
    // the problem is handed on.
    QByteArrayView target;
};

using Findings = std::vector<Finding>;

void addFinding(
    Findings &findings, qsizetype at, Severity severity, Code code, const QString &message, qsizetype earlier = kNone)
{
    findings.push_back({ at, severity, code, withoutControls(message), earlier, {} });
}

enum class Kind : unsigned char {
    Aiml,
    Topic,
    Category,
    Pattern,
    That,
    PatternChild,
    Template,
    TemplateChild,
    Srai,
    // Inside <aiml> but not a category or topic: a category under it is misplaced.
    Stray,
    // Skipped with everything inside.
    Ignored,
};

struct ParserDeleter
{
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using Parser = std::unique_ptr<XML_ParserStruct, ParserDeleter>;

Parser makeParser(const char *encoding, bool namespaces)
{
    Parser parser(namespaces ? XML_ParserCreateNS(encoding, kNamespaceSeparator) : XML_ParserCreate(encoding));
    if (!parser)
        throw std::bad_alloc();
    return parser;
}

// The document's characters: UTF-8, or one byte each.
struct DocumentText
{
    QByteArrayView bytes;
    bool utf8 = true;
    const char *encodingName() const { return utf8 ? "UTF-8" : "ISO-8859-1"; }
};

// Reads a document, or a part of it, as XML and as AIML, and keeps what it finds. Two parts of
// one document are read at once, each by its own PartCheck, and joined afterwards.
class PartCheck final
{
public:
    PartCheck(const CheckOptions &options, const DocumentText &text, int document)
        : index(options.properties), m_options(options), m_text(text), m_document(document)
    {
    }

    // Reads the whole document that `parser` holds, unless it comes to `splitAt` with only the
    // root element open: there it stops, and says so, for another part to read the rest.
    bool readHolding(XML_Parser parser, qsizetype splitAt);
    // Reads the document from `from` on, as if the start tag of its root element, which ends
    // at `rootEnd`, came right before it.
    void readFrom(qsizetype rootEnd, qsizetype from);

    Findings findings;
    CheckIndex index;

private:
    struct Frame
    {
        Kind kind;
        // Where its start tag is.
        qsizetype at;
    };
    struct Category
    {
        qsizetype start = 0;
        int patterns = 0;
        int thats = 0;
        int templates = 0;
        std::string pattern;
        std::string that;
        bool patternRead = false;
        bool thatRead = false;
        // Found by the literal search: only its pattern and that are known.
        bool broken = false;
    };
    struct Srai
    {
        qsizetype at = 0;
        std::string text;
        bool plain = true;
    };

    void add(qsizetype at, Severity severity, Code code, const QString &message)
    {
        addFinding(findings, at, severity, code, message);
    }
    void startParser(XML_Parser parser, bool namespaces, qsizetype base);
    void failed(XML_Parser parser);
    bool readRegion(qsizetype from, qsizetype to);
    void wantText();
    // Where in the document the parser's present event is: the bytes it was given may start
    // later, and may leave a gap.
    qsizetype here() const
    {
        const qsizetype parsed = qsizetype(XML_GetCurrentByteIndex(m_current));
        return m_base + parsed + (parsed >= m_gapAt ? m_gapLength : 0);
    }

    static void XMLCALL onStart(void *self, const XML_Char *name, const XML_Char **attributes)
    {
        static_cast<PartCheck *>(self)->startElement(name, attributes);
    }
    static void XMLCALL onEnd(void *self, const XML_Char *) { static_cast<PartCheck *>(self)->endElement(); }
    static void XMLCALL onText(void *self, const XML_Char *text, int length)
    {
        static_cast<PartCheck *>(self)->characters(text, length);
    }
    void startElement(const char *rawName, const char **attributes);
    void endElement();
    void characters(const char *text, int length);
    void beginCategory(qsizetype at);
    void endCategory(qsizetype end);
    void endPatternText(bool that);
    void checkPatternText(QByteArrayView text, qsizetype at, const QString &what);
    void searchLiterally(qsizetype from, const QByteArray &topic);

    const CheckOptions &m_options;
    const DocumentText &m_text;
    int m_document;

    // The parser at work, and where its bytes stand in the document.
    XML_Parser m_current = nullptr;
    qsizetype m_base = 0;
    qsizetype m_gapAt = std::numeric_limits<qsizetype>::max();
    qsizetype m_gapLength = 0;
    bool m_textWanted = false;
    // In a parser that keeps no namespaces, a prefixed name is no AIML element.
    bool m_namespaces = true;
    qsizetype m_splitAt = std::numeric_limits<qsizetype>::max();
    bool m_stoppedAtSplit = false;

    std::vector<Frame> m_frames;
    std::vector<QByteArray> m_topics;
    QByteArray m_rootNamespace;
    Category m_category;
    bool m_inCategory = false;
    qsizetype m_lastCategoryEnd = 0;
    std::string m_patternText;
    qsizetype m_textAt = 0;
    QString m_textElement;
    qsizetype m_templateAt = 0;
    bool m_templateHasContent = false;
    std::vector<Srai> m_srais;
};

void PartCheck::startParser(XML_Parser parser, bool namespaces, qsizetype base)
{
    m_current = parser;
    m_namespaces = namespaces;
    m_base = base;
    m_textWanted = false;
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, onStart, onEnd);
}

bool PartCheck::readHolding(XML_Parser parser, qsizetype splitAt)
{
    startParser(parser, true, 0);
    m_splitAt = splitAt;
    XML_SetEncoding(parser, m_text.encodingName());
    // All in one call: the parser then never works out line numbers.
    if (XML_ParseBuffer(parser, int(m_text.bytes.size()), 1) != XML_STATUS_OK && !m_stoppedAtSplit)
        failed(parser);
    return m_stoppedAtSplit;
}

void PartCheck::readFrom(qsizetype rootEnd, qsizetype from)
{
    const Parser parser = makeParser(m_text.encodingName(), true);
    startParser(parser.get(), true, 0);
    m_gapAt = rootEnd;
    m_gapLength = from - rootEnd;
    // In pieces, so that the parser does not copy the whole rest.
    constexpr qsizetype kPiece = 1 << 18;
    const QByteArrayView bytes = m_text.bytes;
    bool ok = XML_Parse(parser.get(), bytes.data(), int(rootEnd), 0) == XML_STATUS_OK;
    for (qsizetype at = from; ok && at < bytes.size(); at += kPiece) {
        const qsizetype length = std::min(kPiece, bytes.size() - at);
        ok = XML_Parse(parser.get(), bytes.data() + at, int(length), at + length == bytes.size()) == XML_STATUS_OK;
    }
    if (!ok)
        failed(parser.get());
}

// After a well-formedness error: the error, and what the literal search still finds.
void PartCheck::failed(XML_Parser parser)
{
    const XML_Error error = XML_GetErrorCode(parser);
    qsizetype at = std::clamp<qsizetype>(here(), 0, m_text.bytes.size());
    if (error == XML_ERROR_TAG_MISMATCH && !m_frames.empty()) {
        // The parser points at the name: the tag starts before it.
        if (at >= 2 && m_text.bytes.sliced(at - 2, 2) == "</")
            at -= 2;
        const qsizetype open = m_frames.back().at;
        addFinding(findings, at, Severity::Error, kNotWellFormed,
            QStringLiteral("mismatched tag: </%1> does not close <%2> of line %3")
                .arg(QString::fromUtf8(tagName(m_text.bytes, at)), QString::fromUtf8(tagName(m_text.bytes, open)),
                    QStringLiteral("%1")),
            open);
    } else {
        add(at, Severity::Error, kNotWellFormed, QString::fromUtf8(XML_ErrorString(error)));
    }
    // This part reads on to the end of the document.
    m_splitAt = std::numeric_limits<qsizetype>::max();
    searchLiterally(
        m_inCategory ? m_category.start : m_lastCategoryEnd, m_topics.empty() ? QByteArray() : m_topics.back());
}

void PartCheck::wantText()
{
    const Kind kind = m_frames.empty() ? Kind::Aiml : m_frames.back().kind;
    const bool want = kind == Kind::Pattern || kind == Kind::That || kind == Kind::PatternChild || kind == Kind::Srai
        || ((kind == Kind::Template || kind == Kind::TemplateChild) && !m_templateHasContent);
    if (want != m_textWanted) {
        m_textWanted = want;
        XML_SetCharacterDataHandler(m_current, want ? onText : nullptr);
    }
}

void PartCheck::startElement(const char *rawName, const char **attributes)
{
    // "URI\x01local" for a name in a namespace.
    const char *separator = rawName;
    while (*separator && *separator != kNamespaceSeparator)
        ++separator;
    const bool hasUri = *separator != 0;
    const std::string_view uri = hasUri ? std::string_view(rawName, size_t(separator - rawName)) : std::string_view();
    const std::string_view name
        = hasUri ? std::string_view(separator + 1) : std::string_view(rawName, size_t(separator - rawName));
    const qsizetype at = here();
    if (at >= m_splitAt) {
        if (at == m_splitAt && m_frames.size() == 1 && m_frames.front().kind == Kind::Aiml) {
            // The other part reads on from here; aborting spares the parser any more work.
            m_stoppedAtSplit = true;
            XML_StopParser(m_current, XML_FALSE);
            return;
        }
        // No top-level element starts there: this part reads on alone.
        m_splitAt = std::numeric_limits<qsizetype>::max();
    }
    const Element element = elementNamed(name);
    const auto nameText = [name] { return QString::fromUtf8(name.data(), qsizetype(name.size())); };
    auto attribute = [attributes](std::string_view wanted) {
        for (const char **a = attributes; *a; a += 2) {
            if (wanted == a[0])
                return QByteArrayView(a[1]);
        }
        return QByteArrayView();
    };
    auto isAimlElement = [&] {
        return m_namespaces ? uri == std::string_view(m_rootNamespace.constData(), size_t(m_rootNamespace.size()))
                            : name.find(':') == std::string_view::npos;
    };
    Kind kind = Kind::Ignored;
    if (m_frames.empty()) {
        m_rootNamespace = QByteArray(uri.data(), qsizetype(uri.size()));
        if (element == Element::Category) {
            add(at, Severity::Error, kStructure, QStringLiteral("<category> outside <aiml>"));
            kind = Kind::Category;
            beginCategory(at);
        } else {
            if (element != Element::Aiml)
                add(at, Severity::Error, kStructure,
                    QStringLiteral("root element <%1> instead of <aiml>").arg(nameText()));
            kind = Kind::Aiml;
        }
        m_frames.push_back({ kind, at });
        wantText();
        return;
    }
    const Kind parent = m_frames.back().kind;
    switch (parent) {
    case Kind::Aiml:
    case Kind::Topic:
    case Kind::Stray:
        if (element == Element::Category) {
            if (parent == Kind::Stray)
                add(at, Severity::Error, kStructure, QStringLiteral("<category> outside <aiml> and <topic>"));
            kind = Kind::Category;
            beginCategory(at);
        } else if (element == Element::Topic && parent != Kind::Stray) {
            kind = Kind::Topic;
            m_topics.push_back(attribute("name").toByteArray());
        } else {
            kind = Kind::Stray;
        }
        break;
    case Kind::Category:
        if (element == Element::Pattern || element == Element::That) {
            const bool that = element == Element::That;
            kind = that ? Kind::That : Kind::Pattern;
            m_textAt = at;
            if (++(that ? m_category.thats : m_category.patterns) == 2)
                add(at, Severity::Error, kStructure, QStringLiteral("second <%1> in a category").arg(nameText()));
            m_patternText.clear();
            m_textElement.clear();
        } else if (element == Element::Template) {
            kind = Kind::Template;
            m_templateAt = at;
            m_templateHasContent = false;
            if (++m_category.templates == 2)
                add(at, Severity::Error, kStructure, QStringLiteral("second <template> in a category"));
        } else if (element == Element::Category) {
            add(at, Severity::Error, kStructure, QStringLiteral("<category> inside a category"));
        }
        break;
    case Kind::Pattern:
    case Kind::That:
    case Kind::PatternChild: {
        kind = Kind::PatternChild;
        const bool bot = (elementUse(element) & PatternElement) && isAimlElement();
        appendPatternElement(m_patternText, bot, bot ? attribute("name") : QByteArrayView());
        if (!bot && m_textElement.isEmpty())
            m_textElement = nameText();
        break;
    }
    case Kind::Template:
    case Kind::TemplateChild:
    case Kind::Srai:
        m_templateHasContent = true;
        if (parent == Kind::Srai)
            m_srais.back().plain = false;
        kind = Kind::TemplateChild;
        if (!isAimlElement())
            break;
        if (element == Element::Category) {
            // Categories learned at run time are written so only in AIML 2.0.
            add(at, Severity::Warning, kUnknownElement,
                QStringLiteral("<category> in a template belongs to <learn>, an AIML 2.0 element"));
            kind = Kind::Ignored;
        } else if (element == Element::Srai) {
            kind = Kind::Srai;
            m_srais.push_back({ at, std::string(), true });
        } else if (!(elementUse(element) & (TemplateElement | MarkupElement))) {
            add(at, Severity::Warning, kUnknownElement,
                QStringLiteral("<%1> is not an AIML template element").arg(nameText()));
        }
        break;
    case Kind::Ignored:
        kind = parent;
        break;
    }
    m_frames.push_back({ kind, at });
    wantText();
}

void PartCheck::endElement()
{
    // The end of an empty element may still come after the stop.
    if (m_stoppedAtSplit)
        return;
    const Kind kind = m_frames.back().kind;
    m_frames.pop_back();
    switch (kind) {
    case Kind::Category:
        endCategory(here() + XML_GetCurrentByteCount(m_current));
        break;
    case Kind::Topic:
        m_topics.pop_back();
        break;
    case Kind::Pattern:
    case Kind::That:
        endPatternText(kind == Kind::That);
        break;
    case Kind::PatternChild:
        appendPatternElement(m_patternText, false, {});
        break;
    case Kind::Template:
        if (!m_templateHasContent)
            add(m_templateAt, Severity::Warning, kEmptyTemplate, QStringLiteral("empty template"));
        break;
    case Kind::Srai:
        if (m_srais.back().plain)
            index.addSrai(m_srais.back().text, { m_document, m_srais.back().at });
        m_srais.pop_back();
        break;
    default:
        break;
    }
    wantText();
}

void PartCheck::characters(const char *text, int length)
{
    switch (m_frames.back().kind) {
    case Kind::Pattern:
    case Kind::That:
    case Kind::PatternChild:
        m_patternText.append(text, size_t(length));
        break;
    case Kind::Srai:
        m_srais.back().text.append(text, size_t(length));
        [[fallthrough]];
    default:
        if (!m_templateHasContent && !isBlankText(text, length)) {
            m_templateHasContent = true;
            wantText();
        }
        break;
    }
}

void PartCheck::beginCategory(qsizetype at)
{
    // The texts keep their memory from one category to the next.
    std::string pattern = std::move(m_category.pattern);
    std::string that = std::move(m_category.that);
    m_category = Category();
    m_category.pattern = std::move(pattern);
    m_category.that = std::move(that);
    m_category.start = at;
    m_inCategory = true;
}

void PartCheck::endPatternText(bool that)
{
    checkPatternText(m_patternText, m_textAt, that ? QStringLiteral("that") : QStringLiteral("pattern"));
    // Swapped, not copied: the text's memory serves the next one.
    if (that && m_category.thats == 1) {
        std::swap(m_category.that, m_patternText);
        m_category.thatRead = true;
    } else if (!that && m_category.patterns == 1) {
        std::swap(m_category.pattern, m_patternText);
        m_category.patternRead = true;
    }
}

void PartCheck::checkPatternText(QByteArrayView text, qsizetype at, const QString &what)
{
    if (!m_textElement.isEmpty())
        add(at, Severity::Warning, kPatternSyntax, QStringLiteral("<%1> in a %2").arg(m_textElement, what));
    bool words = false;
    bool wildcardBefore = false;
    bool twoWildcards = false;
    QChar lower;
    QString punctuation;
    QChar joined;
    // The first of each kind, in the order of the text.
    auto see = [&](char32_t c) {
        if (isWordCharacter(c)) {
            // The editor's upper-case setting folds "a" to "z" only, as upcaseAscii does.
            if (lower.isNull() && m_options.upcasePatterns && c >= 'a' && c <= 'z')
                lower = QChar(c);
        } else if (c == '*' || c == '_') {
            if (joined.isNull())
                joined = QChar(c);
        } else if (punctuation.isNull()) {
            punctuation = codePointText(c);
        }
    };
    auto checkWord = [&](const char *word, const char *end) {
        words = true;
        if (end - word == 1 && (*word == '*' || *word == '_')) {
            twoWildcards = twoWildcards || wildcardBefore;
            wildcardBefore = true;
            return;
        }
        wildcardBefore = false;
        while (word < end) {
            // Plain capitals and digits, most of every pattern, need no more look.
            if (kPlainPatternByte[static_cast<unsigned char>(*word)])
                ++word;
            else
                see(nextUtf8CodePoint(word, end));
        }
    };
    const char *wordStart = nullptr;
    for (const char *p = text.data(), *end = p + text.size(); p < end;) {
        const char *const here = p;
        if (*p == kPropertyMark) {
            // A bot property stands for a word, whatever its name.
            if (wordStart)
                checkWord(wordStart, here);
            wordStart = nullptr;
            const auto *close = static_cast<const char *>(std::memchr(p + 1, kPropertyMark, size_t(end - p - 1)));
            p = close ? close + 1 : end;
            words = true;
            wildcardBefore = false;
            continue;
        }
        const auto byte = static_cast<unsigned char>(*p);
        const bool blank = byte < 0x80 ? (++p, isSpaceCodePoint(byte)) : isSpaceCodePoint(nextUtf8CodePoint(p, end));
        if (!blank) {
            if (!wordStart)
                wordStart = here;
        } else if (wordStart) {
            checkWord(wordStart, here);
            wordStart = nullptr;
        }
    }
    if (wordStart)
        checkWord(wordStart, text.data() + text.size());
    if (!words)
        add(at, Severity::Warning, kPatternSyntax, QStringLiteral("empty %1").arg(what));
    if (twoWildcards)
        add(at, Severity::Warning, kPatternSyntax, QStringLiteral("two wildcards in a row in a %1").arg(what));
    if (!joined.isNull())
        add(at, Severity::Warning, kPatternSyntax, QStringLiteral("\"%1\" joined to a word in a %2").arg(joined, what));
    if (!punctuation.isNull())
        add(at, Severity::Warning, kPatternSyntax, QStringLiteral("punctuation \"%1\" in a %2").arg(punctuation, what));
    if (!lower.isNull())
        add(at, Severity::Warning, kPatternSyntax, QStringLiteral("lower-case letter \"%1\" in a %2").arg(lower, what));
}

void PartCheck::endCategory(qsizetype end)
{
    m_inCategory = false;
    m_lastCategoryEnd = end;
    const Category &c = m_category;
    if (!c.broken && c.patterns == 0)
        add(c.start, Severity::Error, kStructure, QStringLiteral("category without <pattern>"));
    if (!c.broken && c.templates == 0)
        add(c.start, Severity::Error, kStructure, QStringLiteral("category without <template>"));
    if (!c.patternRead)
        return;
    const QByteArrayView topic = m_topics.empty() ? QByteArrayView() : QByteArrayView(m_topics.back());
    index.addCategory(c.pattern, c.thatRead ? c.that : QByteArrayView(), topic, { m_document, c.start });
}

// After a well-formedness error: every category from `from` on, found by its literal tags, is
// read on its own; one that is broken itself gives at least its pattern and that.
void PartCheck::searchLiterally(qsizetype from, const QByteArray &topicAtStart)
{
    const QByteArrayView text = m_text.bytes;
    QByteArray topic = topicAtStart;
    // Kept between categories: where no category is closed, searching again for every one
    // would read the rest of the document each time.
    qsizetype closing = find(text, "</category>", from);
    for (qsizetype pos = from;;) {
        const qsizetype start = findTag(text, "<category", pos);
        if (start == kNone)
            break;
        // A category lies in the topic of the last <topic> or </topic> before it.
        const QByteArrayView between = text.sliced(pos, start - pos);
        qsizetype open = kNone;
        for (qsizetype at = findTag(between, "<topic", 0); at != kNone; at = findTag(between, "<topic", at + 1))
            open = at;
        const qsizetype close = between.lastIndexOf("</topic>");
        if (open != kNone && open > close) {
            const qsizetype tagEnd = between.indexOf('>', open);
            const QByteArrayView tag = between.sliced(open, (tagEnd == kNone ? between.size() : tagEnd) - open);
            const QByteArrayView name = attributeIn(tag, "name");
            topic = m_text.utf8 ? name.toByteArray() : QString::fromLatin1(name).toUtf8();
        } else if (close != kNone) {
            topic.clear();
        }
        if (closing != kNone && closing < start)
            closing = find(text, "</category>", start);
        const qsizetype next = findTag(text, "<category", start + 1);
        const qsizetype end = closing != kNone && (next == kNone || closing < next)
            ? closing + qsizetype(std::strlen("</category>"))
            : (next == kNone ? text.size() : next);

        m_topics = { topic };
        m_frames = { { Kind::Aiml, start } };
        m_srais.clear();
        if (!readRegion(start, end)) {
            beginCategory(start);
            m_category.broken = true;
            for (const char *name : { "pattern", "that" }) {
                const QByteArray openTag = QByteArray("<") + name + '>';
                const QByteArray closeTag = QByteArray("</") + name + '>';
                const qsizetype a = find(text.first(end), openTag, start);
                const qsizetype b = a == kNone ? kNone : find(text.first(end), closeTag, a);
                m_frames = { { Kind::Aiml, start }, { Kind::Category, start } };
                if (b != kNone)
                    readRegion(a, b + closeTag.size());
            }
            endCategory(end);
        }
        pos = end;
    }
}

// Reads the bytes from `from` to `to` as a document of their own, continuing the present state.
bool PartCheck::readRegion(qsizetype from, qsizetype to)
{
    // Prefixes declared outside the region are unknown inside it.
    const Parser parser = makeParser(m_text.encodingName(), false);
    startParser(parser.get(), false, from);
    m_gapAt = std::numeric_limits<qsizetype>::max();
    const bool ok = XML_Parse(parser.get(), m_text.bytes.data() + from, int(to - from), 1) == XML_STATUS_OK;
    m_current = nullptr;
    return ok;
}

// The end of the root element's start tag, found by reading no further than it.
qsizetype rootTagEnd(const DocumentText &text)
{
    struct Found
    {
        XML_Parser parser;
        qsizetype end = kNone;
    } found { nullptr };
    const Parser parser = makeParser(text.encodingName(), true);
    found.parser = parser.get();
    XML_SetUserData(parser.get(), &found);
    XML_SetStartElementHandler(parser.get(), [](void *data, const XML_Char *, const XML_Char **) {
        auto *f = static_cast<Found *>(data);
        f->end = qsizetype(XML_GetCurrentByteIndex(f->parser) + XML_GetCurrentByteCount(f->parser));
        XML_StopParser(f->parser, XML_FALSE);
    });
    constexpr qsizetype kPiece = 1 << 16;
    for (qsizetype at = 0; found.end == kNone && at < text.bytes.size(); at += kPiece) {
        const qsizetype length = std::min(kPiece, text.bytes.size() - at);
        if (XML_Parse(parser.get(), text.bytes.data() + at, int(length), 0) != XML_STATUS_OK)
            break;
    }
    return found.end;
}

// Where a second part may start: a category or topic tag about halfway, if the document is
// large enough to be worth reading in two parts at once.
qsizetype splitPoint(QByteArrayView bytes, qsizetype from)
{
    if (from < 0 || bytes.size() < from)
        return kNone;
    // A little after the middle: the second part is read in pieces, which costs a little more.
    const qsizetype middle = bytes.size() / 100 * 54;
    const qsizetype category = findTag(bytes, "<category", middle);
    // A topic counts only before that category.
    const qsizetype topic = findTag(category == kNone ? bytes : bytes.first(category), "<topic", middle);
    return topic != kNone ? topic : category;
}

// "no category matches the srai target "WORDS"", made in the memory `message` already has. The
// words hold no control character.
void setTargetMessage(QString &message, QByteArrayView words, QStringDecoder &decoder)
{
    const QLatin1StringView before("no category matches the srai target \"");
    message.resize(before.size() + words.size() + 1);
    QChar *out = message.data();
    out = std::copy(before.begin(), before.end(), out);
    // The words are mostly ASCII, widened here for less than the decoder costs to be called.
    qsizetype ascii = 0;
    for (; ascii < words.size() && static_cast<unsigned char>(words[ascii]) < 0x80; ++ascii)
        *out++ = QLatin1Char(words[ascii]);
    if (ascii < words.size())
        out = decoder.appendToBuffer(out, words.sliced(ascii));
    *out++ = QLatin1Char('"');
    message.truncate(out - message.constData());
}

class DocumentCheck final
{
public:
    explicit DocumentCheck(const CheckOptions &options) : m_options(options) { }
    bool run(qint64 size, const DocumentReader &read, const ProblemSink &sink);
    // The two steps of run(): the bytes, which `read` gives, and then what they hold. With
    // `shared`, what the document's index learned goes there, to be asked once the other
    // documents of the bot are in.
    bool load(qint64 size, const DocumentReader &read);
    void parse(int document, CheckIndex *shared);
    qsizetype size() const { return m_text.bytes.size(); }

    struct IndexFindings
    {
        std::vector<CheckIndex::Duplicate> duplicates;
        CheckIndex::UnmatchedSrais unmatched;
    };
    void addIndexed(IndexFindings &&indexed);
    void add(qsizetype at, Severity severity, Code code, const QString &message)
    {
        addFinding(m_findings, at, severity, code, message);
    }
    // Works out the lines and columns of the findings so far and of the places `more`, which
    // later findings will stand at, while another thread still looks for those: then
    // handProblems() need not walk the text after it.
    void placeAhead(std::vector<qsizetype> more);
    void handProblems(const ProblemSink &sink);
    // The lines of places in the document, given sorted.
    std::vector<int> linesAt(const std::vector<qsizetype> &offsets) const
    {
        LinePositions lines(m_text.bytes, m_text.utf8);
        std::vector<int> found;
        found.reserve(offsets.size());
        for (const qsizetype at : offsets)
            found.push_back(lines.at(at).first);
        return found;
    }

private:
    char *documentBuffer(qint64 size);
    void useConverted(const QByteArray &utf8);
    void decide(char *data);
    void decideWide(QStringConverter::Encoding encoding);
    void decideDecoded(const QByteArray &name);

    const CheckOptions &m_options;
    // The words of the srai targets no category matches, which findings point into.
    QByteArray m_targetWords;
    // Places in the document, sorted, and their lines and columns.
    std::vector<qsizetype> m_placed;
    std::vector<std::pair<int, int>> m_positions;
    // Holds the document's bytes, or what they are as UTF-8 when another encoding is declared.
    Parser m_parser;
    DocumentText m_text;
    Findings m_findings;
};

// Room in the main parser's buffer: what it parses is read there once.
char *DocumentCheck::documentBuffer(qint64 size)
{
    m_parser = makeParser(nullptr, true);
    if (size == 0)
        return nullptr;
    void *buffer = size <= INT_MAX ? XML_GetBuffer(m_parser.get(), int(size)) : nullptr;
    if (!buffer)
        throw std::bad_alloc();
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    // Each fresh page costs the system more than the bytes read into it: fewer, larger pages.
    constexpr quintptr kLargePage = quintptr(2) << 20;
    const quintptr begin = (reinterpret_cast<quintptr>(buffer) + kLargePage - 1) & ~(kLargePage - 1);
    const quintptr end = (reinterpret_cast<quintptr>(buffer) + quintptr(size)) & ~(kLargePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#endif
    return static_cast<char *>(buffer);
}

void DocumentCheck::useConverted(const QByteArray &utf8)
{
    char *buffer = documentBuffer(utf8.size());
    if (!utf8.isEmpty())
        std::memcpy(buffer, utf8.constData(), size_t(utf8.size()));
    m_text = { QByteArrayView(buffer, utf8.size()), true };
}

// Settles how the bytes become characters. A document the XML rules cannot read as it
// declares itself gets an error where they fail, and the rest is read as the editor shows
// it: valid UTF-8 as UTF-8, anything else one character per byte. A declared encoding that
// the parser does not know itself, but Qt does, is read through Qt as UTF-8.
void DocumentCheck::decide(char *data)
{
    if (const auto wide = QStringConverter::encodingForData(m_text.bytes, u'<');
        wide && *wide != QStringConverter::Utf8) {
        decideWide(*wide);
        return;
    }
    // The mark tells the encoding, which the parser is told anyway: without it, no byte of the
    // mark can be taken for text when the rest is read one byte a character.
    if (m_text.bytes.startsWith("\xef\xbb\xbf")) {
        std::memmove(data, data + 3, size_t(m_text.bytes.size() - 3));
        m_text.bytes.chop(3);
    }
    const qsizetype invalidAt = firstInvalidUtf8(m_text.bytes);
    m_text.utf8 = invalidAt == kNone;
    const QByteArrayView name = declaredEncoding(m_text.bytes);
    const qsizetype nameAt = name.data() - m_text.bytes.data();
    const QString quoted = QString::fromLatin1(name);
    if (name.isEmpty()) {
        if (!m_text.utf8)
            add(invalidAt, Severity::Error, kEncoding,
                QStringLiteral("no encoding declared and the bytes are not valid UTF-8"));
        return;
    }
    const QByteArray nameBytes = name.toByteArray();
    const auto builtIn = QStringConverter::encodingForName(nameBytes.constData());
    if (builtIn == QStringConverter::Utf8) {
        if (!m_text.utf8)
            add(invalidAt, Severity::Error, kEncoding,
                QStringLiteral("declared \"%1\" but the bytes are not valid UTF-8").arg(quoted));
    } else if (builtIn == QStringConverter::Latin1) {
        // Every byte is a Latin-1 character, but a text that is all UTF-8 was most likely
        // written as UTF-8, and the editor shows it so.
        if (const qsizetype nonAscii = firstNonAscii(m_text.bytes); m_text.utf8 && nonAscii != kNone)
            add(nonAscii, Severity::Warning, kEncoding,
                QStringLiteral("declared \"%1\" but the bytes are UTF-8").arg(quoted));
    } else if (builtIn && *builtIn != QStringConverter::System) {
        add(nameAt, Severity::Error, kEncoding, QStringLiteral("declared \"%1\" but the bytes are not %1").arg(quoted));
    } else if (name.compare("US-ASCII", Qt::CaseInsensitive) == 0 || name.compare("ASCII", Qt::CaseInsensitive) == 0) {
        if (const qsizetype nonAscii = firstNonAscii(m_text.bytes); nonAscii != kNone)
            add(nonAscii, Severity::Error, kEncoding,
                QStringLiteral("declared \"%1\" but the bytes are not ASCII").arg(quoted));
    } else if (!QStringDecoder(nameBytes.constData()).isValid()) {
        add(nameAt, Severity::Error, kEncoding, QStringLiteral("unknown encoding \"%1\"").arg(quoted));
    } else {
        decideDecoded(nameBytes);
    }
}

void DocumentCheck::decideWide(QStringConverter::Encoding encoding)
{
    const qsizetype invalidAt = firstInvalidWideUnit(m_text.bytes, encoding);
    QStringDecoder decoder(encoding);
    const QByteArray text = QString(decoder.decode(m_text.bytes)).toUtf8();
    // Positions are counted in the text as UTF-8, where a bad unit stands as a replacement.
    qsizetype badAt = kNone;
    if (invalidAt != kNone) {
        QStringDecoder prefix(encoding);
        badAt = QString(prefix.decode(m_text.bytes.first(invalidAt))).toUtf8().size();
    }
    const int width = encoding == QStringConverter::Utf32 || encoding == QStringConverter::Utf32LE
            || encoding == QStringConverter::Utf32BE
        ? 32
        : 16;
    useConverted(text);
    if (badAt != kNone)
        add(badAt, Severity::Error, kEncoding, QStringLiteral("the bytes are not valid UTF-%1").arg(width));
    // A wide file may name only its own width.
    const QByteArrayView name = declaredEncoding(m_text.bytes);
    if (name.isEmpty())
        return;
    const auto named = QStringConverter::encodingForName(name.toByteArray().constData());
    const bool sameWidth = width == 16
        ? named == QStringConverter::Utf16 || named == QStringConverter::Utf16LE || named == QStringConverter::Utf16BE
        : named == QStringConverter::Utf32 || named == QStringConverter::Utf32LE || named == QStringConverter::Utf32BE;
    if (!sameWidth)
        add(name.data() - m_text.bytes.data(), Severity::Error, kEncoding,
            QStringLiteral("declared \"%1\" but the bytes are UTF-%2").arg(QString::fromLatin1(name)).arg(width));
}

void DocumentCheck::decideDecoded(const QByteArray &name)
{
    QStringDecoder decoder(name.constData());
    const QString text = decoder.decode(m_text.bytes);
    qsizetype badAt = kNone;
    if (decoder.hasError()) {
        // The decoder only says that something failed: one byte at a time finds where, in
        // the text as UTF-8.
        QStringDecoder walker(name.constData());
        qsizetype converted = 0;
        for (qsizetype i = 0; i < m_text.bytes.size(); ++i) {
            const QString piece = walker.decode(m_text.bytes.sliced(i, 1));
            if (walker.hasError()) {
                badAt = converted;
                break;
            }
            converted += piece.toUtf8().size();
        }
    }
    useConverted(text.toUtf8());
    if (badAt != kNone)
        add(badAt, Severity::Error, kEncoding,
            QStringLiteral("the bytes are not valid \"%1\"").arg(QString::fromLatin1(name)));
}

bool DocumentCheck::run(qint64 size, const DocumentReader &read, const ProblemSink &sink)
{
    if (!load(size, read))
        return false;
    parse(0, nullptr);
    handProblems(sink);
    return true;
}

bool DocumentCheck::load(qint64 size, const DocumentReader &read)
{
    char *buffer = documentBuffer(size);
    const qint64 got = size == 0 ? 0 : read(buffer, size);
    if (got < 0)
        return false;
    m_text = { QByteArrayView(buffer, got), true };
    decide(buffer);
    return true;
}

void DocumentCheck::parse(int document, CheckIndex *shared)
{
    IndexFindings indexed;
    {
        PartCheck first(m_options, m_text, document);
        qsizetype split = splitPoint(m_text.bytes, m_options.parallelFrom);
        std::future<std::unique_ptr<PartCheck>> second;
        if (split != kNone) {
            const qsizetype rootEnd = rootTagEnd(m_text);
            if (rootEnd != kNone && rootEnd <= split) {
                // In a thread of its own where one can be had, else read after the first.
                second = std::async(std::launch::async | std::launch::deferred, [this, rootEnd, split, document] {
                    auto part = std::make_unique<PartCheck>(m_options, m_text, document);
                    part->index.reserveFor(m_text.bytes.size() - split);
                    part->readFrom(rootEnd, split);
                    part->index.settle();
                    return part;
                });
            } else {
                split = kNone;
            }
        }
        first.index.reserveFor(split == kNone ? m_text.bytes.size() : split);
        const bool stoppedAtSplit = first.readHolding(m_parser.get(), split);
        // While the second part may still be read.
        first.index.settle();
        if (second.valid()) {
            std::unique_ptr<PartCheck> rest = second.get();
            if (stoppedAtSplit) {
                // What the second part found in the start tag it was given, the first found already.
                for (Finding &f : rest->findings) {
                    if (f.at >= split)
                        first.findings.push_back(std::move(f));
                }
                first.index.append(std::move(rest->index));
            }
        }
        m_findings.insert(m_findings.end(), std::make_move_iterator(first.findings.begin()),
            std::make_move_iterator(first.findings.end()));
        if (shared) {
            shared->append(std::move(first.index));
            return;
        }
        // Two questions over all categories, asked at once; the parts and their index go before
        // the answers become problems.
        auto unmatched
            = std::async(std::launch::async | std::launch::deferred, [&first] { return first.index.unmatchedSrais(); });
        indexed.duplicates = first.index.duplicates();
        std::vector<qsizetype> ahead;
        for (const CheckPlace &srai : first.index.sraiPlaces())
            ahead.push_back(srai.offset);
        for (const CheckIndex::Duplicate &duplicate : indexed.duplicates) {
            ahead.push_back(duplicate.place.offset);
            ahead.push_back(duplicate.earlier.offset);
        }
        placeAhead(std::move(ahead));
        indexed.unmatched = unmatched.get();
    }
    addIndexed(std::move(indexed));
}

void DocumentCheck::addIndexed(IndexFindings &&indexed)
{
    m_findings.reserve(m_findings.size() + indexed.duplicates.size() + indexed.unmatched.srais.size());
    for (const CheckIndex::Duplicate &duplicate : indexed.duplicates)
        addFinding(m_findings, duplicate.place.offset, Severity::Warning, kDuplicate,
            QStringLiteral("duplicate category: same pattern, that and topic as the category on line %1"),
            duplicate.earlier.offset);
    m_targetWords = std::move(indexed.unmatched.words);
    for (const CheckIndex::UnmatchedSrai &srai : indexed.unmatched.srais) {
        if (srai.wordsSize == 0)
            add(srai.place.offset, Severity::Warning, kSraiTarget, QStringLiteral("empty srai"));
        else
            m_findings.push_back({ srai.place.offset, Severity::Warning, kSraiTarget, {}, kNone,
                QByteArrayView(m_targetWords).sliced(srai.wordsAt, srai.wordsSize) });
    }
    indexed = {};
}

void DocumentCheck::placeAhead(std::vector<qsizetype> more)
{
    for (const Finding &f : m_findings) {
        more.push_back(f.at);
        if (f.earlier != kNone)
            more.push_back(f.earlier);
    }
    std::sort(more.begin(), more.end());
    more.erase(std::unique(more.begin(), more.end()), more.end());
    m_placed = std::move(more);
    LinePositions lines(m_text.bytes, m_text.utf8);
    m_positions.clear();
    m_positions.reserve(m_placed.size());
    for (const qsizetype at : m_placed)
        m_positions.push_back(lines.at(at));
}

void DocumentCheck::handProblems(const ProblemSink &sink)
{
    // Their numbers sorted, not the findings themselves.
    std::vector<quint32> order(m_findings.size());
    std::iota(order.begin(), order.end(), 0U);
    std::stable_sort(
        order.begin(), order.end(), [this](quint32 a, quint32 b) { return m_findings[a].at < m_findings[b].at; });
    // A region read again after an XML error finds the same things again: each is kept once,
    // in the order first found.
    size_t kept = 0;
    size_t sameAt = 0;
    for (const quint32 i : order) {
        const Finding &f = m_findings[i];
        if (kept > 0 && m_findings[order[kept - 1]].at != f.at)
            sameAt = kept;
        const bool seen = std::any_of(order.begin() + qsizetype(sameAt), order.begin() + qsizetype(kept),
            [&](quint32 k) { return m_findings[k].code == f.code && m_findings[k].message == f.message; });
        if (!seen)
            order[kept++] = i;
    }
    order.resize(kept);

    std::vector<qsizetype> offsets;
    offsets.reserve(order.size());
    for (const quint32 i : order) {
        const Finding &f = m_findings[i];
        offsets.push_back(f.at);
        if (f.earlier != kNone)
            offsets.push_back(f.earlier);
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    // Placed ahead, unless a finding came that was not foreseen.
    if (!std::includes(m_placed.begin(), m_placed.end(), offsets.begin(), offsets.end()))
        placeAhead(std::move(offsets));
    const std::vector<qsizetype> &placed = m_placed;
    const std::vector<std::pair<int, int>> &positions = m_positions;
    auto positionOf = [&](qsizetype at) {
        return positions[size_t(std::lower_bound(placed.begin(), placed.end(), at) - placed.begin())];
    };

    Problem p;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    // The findings come in the order of the offsets: their positions are read in turn.
    size_t next = 0;
    int code = -1;
    for (const quint32 i : order) {
        Finding &f = m_findings[i];
        p.severity = f.severity;
        while (placed[next] < f.at)
            ++next;
        std::tie(p.line, p.column) = positions[next];
        // The codes' texts are shared, not made again for each problem.
        if (std::exchange(code, f.code) != f.code)
            p.code = problemCodes().at(f.code);
        if (!f.target.isEmpty())
            setTargetMessage(p.message, f.target, decoder);
        else
            p.message = f.earlier == kNone ? std::move(f.message) : f.message.arg(positionOf(f.earlier).first);
        f = Finding();
        sink(p);
    }
}

} // namespace

struct BotCheck::Data
{
    explicit Data(const CheckOptions &o) : options(o), index(std::make_unique<CheckIndex>(options.properties)) { }
    const CheckOptions options;
    std::unique_ptr<CheckIndex> index;
    std::vector<std::unique_ptr<DocumentCheck>> documents;
    QStringList names;
};

BotCheck::BotCheck(const CheckOptions &options) : d(std::make_unique<Data>(options))
{
}

BotCheck::~BotCheck() = default;

bool BotCheck::add(const QString &fileName, qint64 size, const DocumentReader &read)
{
    auto document = std::make_unique<DocumentCheck>(d->options);
    if (!document->load(size, read))
        return false;
    d->documents.push_back(std::move(document));
    d->names.append(fileName);
    return true;
}

void BotCheck::finish(const BotProblemSink &sink)
{
    const size_t count = d->documents.size();
    {
        // A bot's files are mostly small: they are read in two halves of about as many bytes,
        // the second in a thread of its own where one can be had, each file into an index of
        // its own that joins the bot's in the files' order.
        std::vector<std::unique_ptr<CheckIndex>> indexes;
        qsizetype bytes = 0;
        for (const auto &document : d->documents) {
            indexes.push_back(std::make_unique<CheckIndex>(d->options.properties));
            bytes += document->size();
        }
        size_t half = 0;
        for (qsizetype first = 0; half < count && first < bytes / 2; ++half)
            first += d->documents[half]->size();
        const auto parse = [this, &indexes](size_t from, size_t to) {
            for (size_t i = from; i < to; ++i)
                d->documents[i]->parse(int(i), indexes[i].get());
        };
        auto second = std::async(std::launch::async | std::launch::deferred, parse, half, count);
        parse(0, half);
        second.get();
        for (const auto &index : indexes)
            d->index->append(std::move(*index));
    }
    std::vector<DocumentCheck::IndexFindings> indexed(count);
    std::vector<CheckIndex::Duplicate> across;
    {
        auto unmatched
            = std::async(std::launch::async | std::launch::deferred, [this] { return d->index->unmatchedSrais(); });
        std::vector<CheckIndex::Duplicate> duplicates = d->index->duplicates();
        // Where the problems to come will stand, worked out while the srais are still looked for.
        std::vector<std::vector<qsizetype>> ahead(count);
        for (const CheckPlace &srai : d->index->sraiPlaces())
            ahead[size_t(srai.document)].push_back(srai.offset);
        for (const CheckIndex::Duplicate &duplicate : duplicates) {
            ahead[size_t(duplicate.place.document)].push_back(duplicate.place.offset);
            if (duplicate.earlier.document == duplicate.place.document)
                ahead[size_t(duplicate.place.document)].push_back(duplicate.earlier.offset);
        }
        for (size_t i = 0; i < count; ++i)
            d->documents[i]->placeAhead(std::move(ahead[i]));
        CheckIndex::UnmatchedSrais srais = unmatched.get();
        if (count == 1) {
            // A lone file's answers are all its own: taken whole, not copied beside themselves.
            indexed[0].duplicates = std::move(duplicates);
            indexed[0].unmatched = std::move(srais);
        } else {
            for (const CheckIndex::Duplicate &duplicate : duplicates) {
                if (duplicate.earlier.document == duplicate.place.document)
                    indexed[size_t(duplicate.place.document)].duplicates.push_back(duplicate);
                else
                    across.push_back(duplicate);
            }
            for (const CheckIndex::UnmatchedSrai &srai : srais.srais) {
                CheckIndex::UnmatchedSrais &own = indexed[size_t(srai.place.document)].unmatched;
                own.srais.push_back({ srai.place, own.words.size(), srai.wordsSize });
                own.words.append(srais.wordsOf(srai));
            }
        }
    }
    // The index goes before the answers become problems, so that both are never held at once.
    d->index.reset();
    // The lines of the earlier categories in the other documents, a document's in one pass.
    std::vector<std::vector<qsizetype>> earlier(count);
    for (const CheckIndex::Duplicate &duplicate : across)
        earlier[size_t(duplicate.earlier.document)].push_back(duplicate.earlier.offset);
    std::vector<std::vector<int>> lines(count);
    for (size_t i = 0; i < count; ++i) {
        std::sort(earlier[i].begin(), earlier[i].end());
        earlier[i].erase(std::unique(earlier[i].begin(), earlier[i].end()), earlier[i].end());
        lines[i] = d->documents[i]->linesAt(earlier[i]);
    }
    for (const CheckIndex::Duplicate &duplicate : across) {
        const auto &offsets = earlier[size_t(duplicate.earlier.document)];
        const auto at = std::lower_bound(offsets.begin(), offsets.end(), duplicate.earlier.offset) - offsets.begin();
        d->documents[size_t(duplicate.place.document)]->add(duplicate.place.offset, Severity::Warning, kDuplicate,
            QStringLiteral("duplicate category: same pattern, that and topic as the category on line %1 of %2")
                .arg(QString::number(lines[size_t(duplicate.earlier.document)][size_t(at)]),
                    d->names.at(duplicate.earlier.document)));
    }
    for (size_t i = 0; i < count; ++i) {
        DocumentCheck &document = *d->documents[i];
        document.addIndexed(std::move(indexed[i]));
        document.handProblems([&sink, i](const Problem &problem) { sink(int(i), problem); });
        // Its memory goes as soon as its problems are out.
        d->documents[i].reset();
    }
}

const QStringList &problemCodes()
{
    static const QStringList codes { QStringLiteral("not-well-formed"), QStringLiteral("encoding"),
        QStringLiteral("structure"), QStringLiteral("unknown-element"), QStringLiteral("pattern-syntax"),
        QStringLiteral("duplicate"), QStringLiteral("srai-target"), QStringLiteral("empty-template") };
    return codes;
}

std::vector<Problem> checkDocument(QByteArrayView bytes, const CheckOptions &options)
{
    std::vector<Problem> problems;
    DocumentCheck(options).run(
        bytes.size(),
        [bytes](char *data, qint64 size) {
            std::memcpy(data, bytes.data(), size_t(size));
            return size;
        },
        [&problems](const Problem &problem) { problems.push_back(problem); });
    return problems;
}

bool checkDocument(qint64 size, const DocumentReader &read, const CheckOptions &options, const ProblemSink &sink)
{
    return DocumentCheck(options).run(size, read, sink);
}

QString formatProblem(const QString &fileName, const Problem &problem)
{
    // Joined, not arg(): a "%1" in the file name or the message must stay as it is.
    return fileName + QLatin1Char(':') + QString::number(problem.line) + QLatin1Char(':')
        + QString::number(problem.column)
        + (problem.severity == Severity::Error ? QLatin1String(": error: ") : QLatin1String(": warning: "))
        + problem.message + QLatin1String(" [") + problem.code + QLatin1Char(']');
}

QString problemCounts(qsizetype errors, qsizetype warnings)
{
    auto counted = [](qsizetype count, const char *one, const char *many) {
        return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
    };
    return counted(errors, "error", "errors") + QStringLiteral(", ") + counted(warnings, "warning", "warnings");
}

} // namespace vorrel
