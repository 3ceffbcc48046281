#include "document/Checker.h"

#include "document/DocumentText.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace vorrel {

namespace {

constexpr qsizetype kNone = -1;

// Stands for <bot name="..."/> in a pattern's text; XML text can never hold U+0001.
constexpr QChar kBotMark = QChar(0x0001);

const char *const kNotWellFormed = "not-well-formed";
const char *const kEncoding = "encoding";
const char *const kStructure = "structure";
const char *const kUnknownElement = "unknown-element";
const char *const kPatternSyntax = "pattern-syntax";
const char *const kDuplicate = "duplicate";
const char *const kSraiTarget = "srai-target";
const char *const kEmptyTemplate = "empty-template";

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

// `<name` standing as a tag, that is followed by a blank, ">" or "/".
qsizetype findTag(QByteArrayView text, QByteArrayView open, qsizetype from)
{
    for (qsizetype at = text.indexOf(open, from); at != kNone; at = text.indexOf(open, at + 1)) {
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

// Bytes a code unit takes: 2 for the UTF-16 encodings, 4 for UTF-32, else 1.
int unitBytes(std::optional<QStringConverter::Encoding> encoding)
{
    switch (encoding.value_or(QStringConverter::System)) {
    case QStringConverter::Utf16:
    case QStringConverter::Utf16LE:
    case QStringConverter::Utf16BE:
        return 2;
    case QStringConverter::Utf32:
    case QStringConverter::Utf32LE:
    case QStringConverter::Utf32BE:
        return 4;
    default:
        return 1;
    }
}

QString codePointText(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

// A message quotes the document; its control characters would break the one line a problem
// takes, or reach a terminal as commands.
QString withoutControls(const QString &text)
{
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

QChar upper(QChar c)
{
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        return QChar(c.unicode() - 'a' + 'A');
    return c.unicode() < 0x80 ? c : c.toUpper();
}

// Upper case, runs of blanks as one blank, no blanks at the ends; "*" when nothing is left
// and `emptyIsStar`.
QString normalised(QStringView text, bool emptyIsStar)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar *const begin = out.data();
    QChar *o = begin;
    bool blank = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            blank = o != begin;
            continue;
        }
        if (blank)
            *o++ = QLatin1Char(' ');
        blank = false;
        *o++ = upper(c);
    }
    if (o == begin && emptyIsStar)
        return QStringLiteral("*");
    out.truncate(o - begin);
    return out;
}

// A normalised pattern's words as the interpreter matches them, its bot properties' marks kept
// as words of their own.
QString matchedWords(const QString &pattern)
{
    // Mostly words of capitals and digits already.
    const bool plain = std::all_of(pattern.begin(), pattern.end(), [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u' ' || c == u'*' || c == u'_';
    });
    if (plain)
        return pattern;
    QStringList words;
    for (const QStringView token : pattern.tokenize(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (token.startsWith(kBotMark))
            words.append(token.toString());
        else
            words.append(normalisedWords(token));
    }
    return words.join(QLatin1Char(' '));
}

bool isListed(QStringView name, const auto &sortedNames)
{
    return std::binary_search(sortedNames.begin(), sortedNames.end(), std::u16string_view(name.utf16(), name.size()));
}

bool isTemplateElement(QStringView name)
{
    using namespace std::string_view_literals;
    static constexpr std::array kAiml = { u"bot"sv, u"condition"sv, u"date"sv, u"formal"sv, u"gender"sv, u"get"sv,
        u"gossip"sv, u"id"sv, u"input"sv, u"javascript"sv, u"learn"sv, u"li"sv, u"lowercase"sv, u"person"sv,
        u"person2"sv, u"random"sv, u"sentence"sv, u"set"sv, u"size"sv, u"sr"sv, u"srai"sv, u"star"sv, u"system"sv,
        u"that"sv, u"thatstar"sv, u"think"sv, u"topicstar"sv, u"uppercase"sv, u"version"sv };
    // Markup a client may show; interpreters pass it through.
    static constexpr std::array kHtml = { u"a"sv, u"abbr"sv, u"b"sv, u"big"sv, u"blockquote"sv, u"br"sv, u"center"sv,
        u"cite"sv, u"code"sv, u"dd"sv, u"div"sv, u"dl"sv, u"dt"sv, u"em"sv, u"font"sv, u"h1"sv, u"h2"sv, u"h3"sv,
        u"h4"sv, u"h5"sv, u"h6"sv, u"hr"sv, u"i"sv, u"img"sv, u"ol"sv, u"p"sv, u"pre"sv, u"q"sv, u"s"sv, u"small"sv,
        u"span"sv, u"strike"sv, u"strong"sv, u"sub"sv, u"sup"sv, u"table"sv, u"tbody"sv, u"td"sv, u"th"sv, u"thead"sv,
        u"tr"sv, u"tt"sv, u"u"sv, u"ul"sv };
    static_assert(std::is_sorted(kAiml.begin(), kAiml.end()) && std::is_sorted(kHtml.begin(), kHtml.end()));
    return isListed(name, kAiml) || isListed(name, kHtml);
}

// The first word of `words` (single blanks between them); the others in `after`.
QStringView firstWord(QStringView words, QStringView &after)
{
    const qsizetype blank = words.indexOf(QLatin1Char(' '));
    after = blank < 0 ? QStringView() : words.sliced(blank + 1);
    return blank < 0 ? words : words.first(blank);
}

// The patterns as a tree of words, matched the way an interpreter matches its input: "_" and
// "*" take one or more words, a bot name any one word, other words themselves. A branch that
// only one pattern follows keeps that pattern's remaining words as they are until a second
// pattern needs the branch: most patterns part after two or three words.
class PatternIndex final
{
public:
    // The pattern's text must stay alive as long as the index.
    void add(QStringView pattern);
    bool matches(const QStringList &words) const;

private:
    struct Node
    {
        int under = -1;
        int star = -1;
        int any = -1;
        bool end = false;
        // The remaining words of the one pattern below, not yet made nodes.
        QStringView rest;
    };
    // The word's own hash is kept so that probing a full table compares numbers, not text.
    struct Edge
    {
        Edge(int from, QStringView w) : node(from), wordHash(qHash(w)), word(w) { }
        int node;
        size_t wordHash;
        QStringView word;
        friend bool operator==(const Edge &a, const Edge &b)
        {
            return a.node == b.node && a.wordHash == b.wordHash && a.word == b.word;
        }
        friend size_t qHash(const Edge &edge, size_t seed) { return qHashMulti(seed, edge.node, edge.wordHash); }
    };
    struct Query
    {
        const QStringList &words;
        // States already tried: each failed or is still being tried.
        QSet<std::pair<int, qsizetype>> nodes;
        QSet<std::pair<const QChar *, qsizetype>> rests;
    };
    int child(int node, QStringView word, bool &created);
    void settle(int node, QStringView rest);
    bool matchNode(Query &query, int node, qsizetype word) const;
    static bool matchRest(Query &query, QStringView rest, qsizetype word);

    std::vector<Node> m_nodes = std::vector<Node>(1);
    // Lead to nodes from 1 on: the root is no node's child.
    QHash<Edge, int> m_edges;
};

int PatternIndex::child(int node, QStringView word, bool &created)
{
    int Node::*slot = word == u"_"  ? &Node::under
        : word == u"*"              ? &Node::star
        : word.startsWith(kBotMark) ? &Node::any
                                    : nullptr;
    // By member, not reference: a new node may move them all.
    int next = slot ? m_nodes[size_t(node)].*slot : m_edges.value(Edge { node, word }, -1);
    created = next < 0;
    if (created) {
        next = int(m_nodes.size());
        m_nodes.emplace_back();
        if (slot)
            m_nodes[size_t(node)].*slot = next;
        else
            m_edges.insert(Edge { node, word }, next);
    }
    return next;
}

void PatternIndex::settle(int node, QStringView rest)
{
    if (rest.isEmpty())
        m_nodes[size_t(node)].end = true;
    else
        m_nodes[size_t(node)].rest = rest;
}

void PatternIndex::add(QStringView pattern)
{
    int node = 0;
    QStringView rest = pattern;
    for (;;) {
        if (!m_nodes[size_t(node)].rest.isEmpty()) {
            QStringView pendingAfter;
            const QStringView pending = firstWord(std::exchange(m_nodes[size_t(node)].rest, {}), pendingAfter);
            bool created = false;
            settle(child(node, pending, created), pendingAfter);
        }
        if (rest.isEmpty()) {
            m_nodes[size_t(node)].end = true;
            return;
        }
        QStringView after;
        const QStringView word = firstWord(rest, after);
        bool created = false;
        const int next = child(node, word, created);
        if (created) {
            settle(next, after);
            return;
        }
        node = next;
        rest = after;
    }
}

bool PatternIndex::matches(const QStringList &words) const
{
    Query query { words, {}, {} };
    return matchNode(query, 0, 0);
}

bool PatternIndex::matchNode(Query &query, int node, qsizetype word) const
{
    if (query.nodes.contains({ node, word }))
        return false;
    query.nodes.insert({ node, word });
    const Node &n = m_nodes[size_t(node)];
    if (!n.rest.isEmpty() && matchRest(query, n.rest, word))
        return true;
    const qsizetype count = query.words.size();
    if (word == count)
        return n.end;
    auto wildcard = [&](int next) {
        for (qsizetype w = word + 1; next >= 0 && w <= count; ++w) {
            if (matchNode(query, next, w))
                return true;
        }
        return false;
    };
    if (wildcard(n.under))
        return true;
    if (const int next = m_edges.value(Edge { node, query.words[word] }, -1);
        next >= 0 && matchNode(query, next, word + 1))
        return true;
    if (n.any >= 0 && matchNode(query, n.any, word + 1))
        return true;
    return wildcard(n.star);
}

bool PatternIndex::matchRest(Query &query, QStringView rest, qsizetype word)
{
    const qsizetype count = query.words.size();
    if (rest.isEmpty())
        return word == count;
    if (query.rests.contains({ rest.data(), word }))
        return false;
    query.rests.insert({ rest.data(), word });
    QStringView after;
    const QStringView first = firstWord(rest, after);
    if (first == u"*" || first == u"_") {
        for (qsizetype w = word + 1; w <= count; ++w) {
            if (matchRest(query, after, w))
                return true;
        }
        return false;
    }
    return word < count && (first.startsWith(kBotMark) || first == query.words[word])
        && matchRest(query, after, word + 1);
}

// Character offsets of a reader to byte offsets in the bytes it reads. Offsets count UTF-16
// units, as QXmlStreamReader does; calls come in increasing order, so one forward walk serves.
class ByteCursor final
{
public:
    ByteCursor(QByteArrayView bytes, bool utf8, qsizetype start, qsizetype asciiEnd)
        : m_bytes(bytes),
          m_utf8(utf8),
          m_start(start),
          m_asciiEnd(asciiEnd == kNone ? bytes.size() : asciiEnd),
          m_byte(start)
    {
    }

    qsizetype toByte(qint64 offset)
    {
        if (!m_utf8 || m_start + offset <= m_asciiEnd)
            return std::min(m_start + qsizetype(offset), m_bytes.size());
        if (offset < m_units) {
            m_byte = m_start;
            m_units = 0;
        }
        if (m_byte < m_asciiEnd) {
            m_units += m_asciiEnd - m_byte;
            m_byte = m_asciiEnd;
        }
        while (m_units < offset && m_byte < m_bytes.size()) {
            const int length = std::max(1, utf8Length(static_cast<unsigned char>(m_bytes[m_byte])));
            m_byte += length;
            m_units += length == 4 ? 2 : 1;
        }
        return std::min(m_byte, m_bytes.size());
    }

private:
    QByteArrayView m_bytes;
    bool m_utf8;
    qsizetype m_start;
    qsizetype m_asciiEnd;
    qsizetype m_byte;
    qint64 m_units = 0;
};

// The document's characters as bytes that are either UTF-8 or one byte per character, with
// the same lines and columns as the document.
struct DocumentBytes
{
    QByteArray bytes;
    TextEncoding encoding = TextEncoding::Utf8;
    // After a UTF-8 byte order mark.
    qsizetype start = 0;
    // Whether QXmlStreamReader, given the bytes, decodes them as we do; else it gets our text.
    bool readerTakesBytes = true;
    qsizetype asciiEnd = kNone;
};

struct Finding
{
    qsizetype at = 0;
    Severity severity = Severity::Warning;
    const char *code = "";
    QString message;
    // A duplicate names the line of this earlier category.
    qsizetype earlier = kNone;
};

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

class DocumentCheck final
{
public:
    explicit DocumentCheck(const CheckOptions &options) : m_options(options) { }
    std::vector<Problem> run(QByteArrayView input);

private:
    struct Category
    {
        qsizetype start = 0;
        int patterns = 0;
        int thats = 0;
        int templates = 0;
        QString pattern;
        QString that = QStringLiteral("*");
        bool patternRead = false;
        // Found by the literal search: only its pattern and that are known.
        bool broken = false;
    };
    struct Srai
    {
        qsizetype at = 0;
        QString text;
        bool plain = true;
    };
    struct SraiTarget
    {
        qsizetype at = 0;
        QString text;
    };
    // The category's pattern, that and topic, normalised. The hash is kept so that probing a
    // full table compares numbers, not text.
    struct Key
    {
        Key(const QString &p, const QString &th, const QString &to)
            : hash(qHashMulti(0, p, th, to)), pattern(p), that(th), topic(to)
        {
        }
        size_t hash;
        QString pattern;
        QString that;
        QString topic;
        friend bool operator==(const Key &, const Key &) = default;
        friend size_t qHash(const Key &key, size_t seed) { return qHash(key.hash, seed); }
    };

    void add(qsizetype at, Severity severity, const char *code, const QString &message)
    {
        m_findings.push_back({ at, severity, code, withoutControls(message), kNone });
    }
    void decide(QByteArrayView input);
    bool read(QXmlStreamReader &reader, ByteCursor &cursor);
    void startElement(const QXmlStreamReader &reader, ByteCursor &cursor);
    void endElement(const QXmlStreamReader &reader, ByteCursor &cursor);
    void characters(const QXmlStreamReader &reader);
    bool isAimlElement(const QXmlStreamReader &reader) const;
    void beginCategory(qsizetype at);
    void endCategory(qsizetype end);
    void endPatternText(bool that);
    void checkPatternText(QStringView text, qsizetype at, const QString &what);
    void searchLiterally(qsizetype from, QString topic);
    bool readRegion(qsizetype from, qsizetype to);
    void checkSraiTargets();
    std::vector<Problem> problems();

    const CheckOptions &m_options;
    DocumentBytes m_doc;
    std::vector<Finding> m_findings;

    std::vector<Kind> m_frames;
    std::vector<QString> m_topics;
    QString m_rootNamespace;
    Category m_category;
    bool m_inCategory = false;
    qsizetype m_lastCategoryEnd = 0;
    QString m_text;
    qsizetype m_textAt = 0;
    QString m_textElement;
    qsizetype m_templateAt = 0;
    bool m_templateHasContent = false;
    std::vector<Srai> m_srais;

    std::vector<QString> m_patterns;
    QHash<Key, qsizetype> m_seen;
    std::vector<SraiTarget> m_targets;
};

// Settles how the bytes become characters, warning where the declaration and the bytes
// disagree. Valid UTF-8 is read as UTF-8 and anything else one character per byte, as the
// editor shows it, unless the declaration names another encoding Qt knows.
void DocumentCheck::decide(QByteArrayView input)
{
    m_doc.bytes = QByteArray::fromRawData(input.data(), input.size());
    if (const auto wide = QStringConverter::encodingForData(input, u'<'); wide && *wide != QStringConverter::Utf8) {
        QStringDecoder decoder(*wide);
        m_doc.bytes = QString(decoder.decode(input)).toUtf8();
        m_doc.readerTakesBytes = false;
        m_doc.asciiEnd = firstNonAscii(m_doc.bytes);
        // A wide file may name only its own width.
        const QByteArrayView name = declaredEncoding(m_doc.bytes);
        const auto named = QStringConverter::encodingForName(name.toByteArray().constData());
        if (!name.isEmpty() && unitBytes(named) != unitBytes(wide))
            add(name.data() - m_doc.bytes.constData(), Severity::Warning, kEncoding,
                QStringLiteral("declared \"%1\" but the bytes are UTF-%2")
                    .arg(QString::fromUtf8(name), QString::number(8 * unitBytes(wide))));
        return;
    }
    m_doc.start = input.startsWith("\xef\xbb\xbf") ? 3 : 0;
    const QByteArrayView text = input.sliced(m_doc.start);

    QByteArray encoding;
    qsizetype encodingAt = kNone;
    if (const QByteArrayView name = declaredEncoding(text); !name.isEmpty()) {
        encoding = name.toByteArray();
        encodingAt = m_doc.start + (name.data() - text.data());
    }
    const qsizetype invalidAt = firstInvalidUtf8(input);
    const bool valid = invalidAt == kNone;
    m_doc.asciiEnd = firstNonAscii(input, m_doc.start);
    m_doc.encoding = valid ? TextEncoding::Utf8 : TextEncoding::Latin1;
    m_doc.readerTakesBytes = valid;

    const QString name = QString::fromLatin1(encoding);
    if (encoding.isEmpty()) {
        if (!valid)
            add(invalidAt, Severity::Warning, kEncoding,
                QStringLiteral("no encoding declared and the bytes are not valid UTF-8"));
        return;
    }
    QStringDecoder decoder(encoding.constData());
    const auto builtIn = QStringConverter::encodingForName(encoding.constData());
    if (!decoder.isValid()) {
        add(encodingAt, Severity::Warning, kEncoding, QStringLiteral("unknown encoding \"%1\"").arg(name));
        m_doc.readerTakesBytes = false;
    } else if (builtIn == QStringConverter::Utf8) {
        if (!valid)
            add(invalidAt, Severity::Warning, kEncoding,
                QStringLiteral("declared \"%1\" but the bytes are not valid UTF-8").arg(name));
    } else if (builtIn == QStringConverter::Latin1) {
        m_doc.readerTakesBytes = !valid || m_doc.asciiEnd == kNone;
        if (valid && m_doc.asciiEnd != kNone)
            add(m_doc.asciiEnd, Severity::Warning, kEncoding,
                QStringLiteral("declared \"%1\" but the bytes are UTF-8").arg(name));
        m_doc.encoding = valid ? TextEncoding::Utf8 : TextEncoding::Latin1;
    } else if (builtIn && *builtIn != QStringConverter::System) {
        // UTF-16 or UTF-32 named in a declaration written one byte per character.
        add(encodingAt, Severity::Warning, kEncoding,
            QStringLiteral("declared \"%1\" but the bytes are not %1").arg(name));
        m_doc.readerTakesBytes = false;
    } else {
        // Another encoding Qt knows: the characters are what it says they are.
        const QString decoded = decoder.decode(text);
        if (decoder.hasError())
            add(encodingAt - m_doc.start, Severity::Warning, kEncoding,
                QStringLiteral("the bytes are not valid \"%1\"").arg(name));
        m_doc.bytes = decoded.toUtf8();
        m_doc.start = 0;
        m_doc.encoding = TextEncoding::Utf8;
        m_doc.readerTakesBytes = false;
        m_doc.asciiEnd = firstNonAscii(m_doc.bytes);
    }
}

std::vector<Problem> DocumentCheck::run(QByteArrayView input)
{
    decide(input);
    const QByteArrayView text(m_doc.bytes);
    qsizetype categories = 0;
    for (qsizetype at = text.indexOf("<category"); at != kNone; at = text.indexOf("<category", at + 9))
        ++categories;
    m_seen.reserve(categories);
    m_patterns.reserve(size_t(categories));
    QXmlStreamReader reader;
    if (m_doc.readerTakesBytes)
        reader.addData(m_doc.bytes);
    else
        reader.addData(decodeText(text.sliced(m_doc.start), m_doc.encoding));
    ByteCursor cursor(text, heldAsUtf8(m_doc.encoding), m_doc.start, m_doc.asciiEnd);
    if (!read(reader, cursor)) {
        qsizetype at = cursor.toByte(reader.characterOffset());
        // The reader stands after the character it complains about.
        if (at > m_doc.start) {
            --at;
            while (
                heldAsUtf8(m_doc.encoding) && at > m_doc.start && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
                --at;
        }
        add(at, Severity::Error, kNotWellFormed, reader.errorString());
        searchLiterally(m_inCategory ? m_category.start : m_lastCategoryEnd,
            m_topics.empty() ? QStringLiteral("*") : m_topics.back());
    }
    checkSraiTargets();
    return problems();
}

bool DocumentCheck::read(QXmlStreamReader &reader, ByteCursor &cursor)
{
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            startElement(reader, cursor);
            break;
        case QXmlStreamReader::EndElement:
            endElement(reader, cursor);
            break;
        case QXmlStreamReader::Characters:
            characters(reader);
            break;
        default:
            break;
        }
    }
    return !reader.hasError();
}

bool DocumentCheck::isAimlElement(const QXmlStreamReader &reader) const
{
    const QStringView uri = reader.namespaceUri();
    return (uri.isEmpty() || uri == m_rootNamespace) && !reader.name().contains(QLatin1Char(':'));
}

void DocumentCheck::startElement(const QXmlStreamReader &reader, ByteCursor &cursor)
{
    const QStringView name = reader.name();
    // Attribute values hold no "<", so the last one before the tag's end starts the tag.
    auto tagStart = [&] {
        const qsizetype end = cursor.toByte(reader.characterOffset());
        return end < 1 ? 0 : std::max<qsizetype>(0, QByteArrayView(m_doc.bytes).lastIndexOf('<', end - 1));
    };
    Kind kind = Kind::Ignored;
    if (m_frames.empty()) {
        m_rootNamespace = reader.namespaceUri().toString();
        if (name == u"category") {
            add(tagStart(), Severity::Error, kStructure, QStringLiteral("<category> outside <aiml>"));
            kind = Kind::Category;
            beginCategory(tagStart());
        } else {
            if (name != u"aiml")
                add(tagStart(), Severity::Error, kStructure,
                    QStringLiteral("root element <%1> instead of <aiml>").arg(name));
            kind = Kind::Aiml;
        }
        m_frames.push_back(kind);
        return;
    }
    const Kind parent = m_frames.back();
    switch (parent) {
    case Kind::Aiml:
    case Kind::Topic:
    case Kind::Stray:
        if (name == u"category") {
            if (parent == Kind::Stray)
                add(tagStart(), Severity::Error, kStructure, QStringLiteral("<category> outside <aiml> and <topic>"));
            kind = Kind::Category;
            beginCategory(tagStart());
        } else if (name == u"topic" && parent != Kind::Stray) {
            kind = Kind::Topic;
            m_topics.push_back(normalised(reader.attributes().value(QLatin1String("name")), true));
        } else {
            kind = Kind::Stray;
        }
        break;
    case Kind::Category:
        if (name == u"pattern" || name == u"that") {
            const bool that = name == u"that";
            kind = that ? Kind::That : Kind::Pattern;
            m_textAt = tagStart();
            if (++(that ? m_category.thats : m_category.patterns) == 2)
                add(m_textAt, Severity::Error, kStructure, QStringLiteral("second <%1> in a category").arg(name));
            m_text.resize(0);
            m_textElement.clear();
        } else if (name == u"template") {
            kind = Kind::Template;
            m_templateAt = tagStart();
            m_templateHasContent = false;
            if (++m_category.templates == 2)
                add(m_templateAt, Severity::Error, kStructure, QStringLiteral("second <template> in a category"));
        } else if (name == u"category") {
            add(tagStart(), Severity::Error, kStructure, QStringLiteral("<category> inside a category"));
        }
        break;
    case Kind::Pattern:
    case Kind::That:
        kind = Kind::PatternChild;
        if (name == u"bot" && isAimlElement(reader)) {
            m_text += QLatin1Char(' ') + kBotMark + reader.attributes().value(QLatin1String("name")).toString()
                + QLatin1Char(' ');
        } else {
            // Stands for one word, so that nothing else is found wrong because of it.
            m_text += QLatin1Char(' ') + kBotMark + QLatin1Char(' ');
            if (m_textElement.isEmpty())
                m_textElement = name.toString();
        }
        break;
    case Kind::Template:
    case Kind::TemplateChild:
    case Kind::Srai:
        m_templateHasContent = true;
        if (parent == Kind::Srai)
            m_srais.back().plain = false;
        kind = Kind::TemplateChild;
        if (!isAimlElement(reader))
            break;
        if (name == u"category") {
            add(tagStart(), Severity::Warning, kStructure,
                QStringLiteral("<category> inside a template: a category taught by <learn>, an AIML 2.0 element "
                               "that AIML 1.0 bots ignore"));
            kind = Kind::Ignored;
        } else if (!isTemplateElement(name)) {
            add(tagStart(), Severity::Warning, kUnknownElement,
                QStringLiteral("<%1> is not an AIML template element").arg(name));
        } else if (name == u"srai") {
            kind = Kind::Srai;
            m_srais.push_back({ tagStart(), QString(), true });
        }
        break;
    case Kind::PatternChild:
    case Kind::Ignored:
        kind = parent;
        break;
    }
    m_frames.push_back(kind);
}

void DocumentCheck::endElement(const QXmlStreamReader &reader, ByteCursor &cursor)
{
    const Kind kind = m_frames.back();
    m_frames.pop_back();
    switch (kind) {
    case Kind::Category:
        endCategory(cursor.toByte(reader.characterOffset()));
        break;
    case Kind::Topic:
        m_topics.pop_back();
        break;
    case Kind::Pattern:
    case Kind::That:
        endPatternText(kind == Kind::That);
        break;
    case Kind::Template:
        if (!m_templateHasContent)
            add(m_templateAt, Severity::Warning, kEmptyTemplate, QStringLiteral("empty template"));
        break;
    case Kind::Srai:
        if (m_srais.back().plain)
            m_targets.push_back({ m_srais.back().at, m_srais.back().text });
        m_srais.pop_back();
        break;
    default:
        break;
    }
}

void DocumentCheck::characters(const QXmlStreamReader &reader)
{
    if (m_frames.empty())
        return;
    switch (m_frames.back()) {
    case Kind::Pattern:
    case Kind::That:
        m_text += reader.text();
        break;
    case Kind::Srai:
        m_srais.back().text += reader.text();
        [[fallthrough]];
    case Kind::Template:
    case Kind::TemplateChild:
        if (!m_templateHasContent && !reader.isWhitespace())
            m_templateHasContent = true;
        break;
    default:
        break;
    }
}

void DocumentCheck::beginCategory(qsizetype at)
{
    m_category = Category();
    m_category.start = at;
    m_inCategory = true;
}

void DocumentCheck::endPatternText(bool that)
{
    checkPatternText(m_text, m_textAt, that ? QStringLiteral("that") : QStringLiteral("pattern"));
    if (that && m_category.thats == 1)
        m_category.that = normalised(m_text, true);
    else if (!that && m_category.patterns == 1) {
        m_category.pattern = normalised(m_text, false);
        m_category.patternRead = true;
    }
}

void DocumentCheck::checkPatternText(QStringView text, qsizetype at, const QString &what)
{
    if (!m_textElement.isEmpty())
        add(at, Severity::Warning, kPatternSyntax, QStringLiteral("<%1> in a %2").arg(m_textElement, what));
    bool words = false;
    bool wildcardBefore = false;
    bool twoWildcards = false;
    QChar lower;
    QString punctuation;
    QChar joined;
    for (qsizetype i = 0, j = 0; i < text.size(); i = j) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        for (j = i; j < text.size() && !text[j].isSpace(); ++j) { }
        if (j == i)
            break;
        const QStringView word = text.sliced(i, j - i);
        words = true;
        if (word == u"*" || word == u"_") {
            twoWildcards = twoWildcards || wildcardBefore;
            wildcardBefore = true;
            continue;
        }
        wildcardBefore = false;
        if (word.startsWith(kBotMark))
            continue;
        for (qsizetype k = 0; k < word.size();) {
            const char32_t c = codePointAt(word, k);
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
        }
    }
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

void DocumentCheck::endCategory(qsizetype end)
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
    const QString topic = m_topics.empty() ? QStringLiteral("*") : m_topics.back();
    qsizetype &first = m_seen[Key { c.pattern, c.that, topic }];
    if (first == 0) {
        first = c.start + 1;
        m_patterns.push_back(c.pattern);
    } else {
        m_findings.push_back({ c.start, Severity::Warning, kDuplicate,
            QStringLiteral("duplicate category: same pattern, that and topic as the category on line %1"), first - 1 });
    }
}

// After a well-formedness error: every category from `from` on, found by its literal tags, is
// read on its own; one that is broken itself gives at least its pattern and that.
void DocumentCheck::searchLiterally(qsizetype from, QString topic)
{
    const QByteArrayView text(m_doc.bytes);
    // Kept between categories: where no category is closed, searching again for every one
    // would read the rest of the document each time.
    qsizetype closing = text.indexOf("</category>", from);
    for (qsizetype pos = std::max(from, m_doc.start);;) {
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
            topic = normalised(decodeText(attributeIn(tag, "name"), m_doc.encoding), true);
        } else if (close != kNone) {
            topic = QStringLiteral("*");
        }
        if (closing != kNone && closing < start)
            closing = text.indexOf("</category>", start);
        const qsizetype next = findTag(text, "<category", start + 1);
        const qsizetype end = closing != kNone && (next == kNone || closing < next)
            ? closing + qsizetype(std::strlen("</category>"))
            : (next == kNone ? text.size() : next);

        m_topics = { topic };
        m_frames = { Kind::Aiml };
        m_srais.clear();
        if (!readRegion(start, end)) {
            beginCategory(start);
            m_category.broken = true;
            for (const char *name : { "pattern", "that" }) {
                const QByteArray openTag = QByteArray("<") + name + '>';
                const QByteArray closeTag = QByteArray("</") + name + '>';
                const qsizetype a = text.first(end).indexOf(openTag, start);
                const qsizetype b = a == kNone ? kNone : text.first(end).indexOf(closeTag, a);
                m_frames = { Kind::Aiml, Kind::Category };
                if (b != kNone)
                    readRegion(a, b + closeTag.size());
            }
            endCategory(end);
        }
        pos = end;
    }
}

// Reads the bytes from `from` to `to` as a document of their own, continuing the present state.
bool DocumentCheck::readRegion(qsizetype from, qsizetype to)
{
    const QByteArrayView region = QByteArrayView(m_doc.bytes).sliced(from, to - from);
    QXmlStreamReader reader;
    // Prefixes declared outside the region are unknown inside it.
    reader.setNamespaceProcessing(false);
    if (heldAsUtf8(m_doc.encoding))
        reader.addData(QByteArray::fromRawData(region.data(), region.size()));
    else
        reader.addData(QString::fromLatin1(region));
    ByteCursor cursor(m_doc.bytes, heldAsUtf8(m_doc.encoding), from, m_doc.asciiEnd);
    return read(reader, cursor);
}

void DocumentCheck::checkSraiTargets()
{
    if (m_targets.empty())
        return;
    std::vector<QStringList> targets;
    targets.reserve(m_targets.size());
    QSet<QStringView> vocabulary;
    for (const SraiTarget &target : m_targets) {
        targets.push_back(normalisedWords(target.text));
        for (const QString &word : targets.back())
            vocabulary.insert(word);
    }
    // A pattern with a word that no target holds matches none of them: only the others are
    // indexed. The small table of the targets' words is much cheaper to ask than a tree of
    // every pattern is to build.
    PatternIndex index;
    for (QString &pattern : m_patterns) {
        pattern = matchedWords(pattern);
        bool possible = true;
        for (const QStringView word : pattern.tokenize(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (word != u"*" && word != u"_" && !word.startsWith(kBotMark) && !vocabulary.contains(word)) {
                possible = false;
                break;
            }
        }
        if (possible)
            index.add(pattern);
    }
    for (size_t i = 0; i < targets.size(); ++i) {
        if (!targets[i].isEmpty() && !index.matches(targets[i]))
            add(m_targets[i].at, Severity::Warning, kSraiTarget,
                QStringLiteral("no category matches the srai target \"%1\"").arg(targets[i].join(QLatin1Char(' '))));
    }
}

std::vector<Problem> DocumentCheck::problems()
{
    std::stable_sort(
        m_findings.begin(), m_findings.end(), [](const Finding &a, const Finding &b) { return a.at < b.at; });
    // A region read again after an XML error finds the same things again: each is kept once,
    // in the order first found.
    std::vector<Finding> kept;
    kept.reserve(m_findings.size());
    size_t sameAt = 0;
    for (Finding &f : m_findings) {
        if (!kept.empty() && kept.back().at != f.at)
            sameAt = kept.size();
        const bool seen = std::any_of(kept.begin() + qsizetype(sameAt), kept.end(),
            [&f](const Finding &k) { return std::strcmp(k.code, f.code) == 0 && k.message == f.message; });
        if (!seen)
            kept.push_back(std::move(f));
    }
    m_findings = std::move(kept);

    std::vector<qsizetype> offsets;
    for (Finding &f : m_findings) {
        f.at = std::clamp(f.at, m_doc.start, m_doc.bytes.size());
        offsets.push_back(f.at);
        if (f.earlier != kNone)
            offsets.push_back(f.earlier);
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());

    // One walk over the text for every position. Lines end at LF, CR LF or a lone CR;
    // columns count characters.
    const QByteArrayView text(m_doc.bytes);
    std::vector<std::pair<int, int>> positions;
    positions.reserve(offsets.size());
    int line = 1;
    int column = 1;
    qsizetype pos = m_doc.start;
    qsizetype nextLf = kNone;
    qsizetype nextCr = kNone;
    auto next = [&](char c, qsizetype &cached) {
        if (cached < pos) {
            cached = text.indexOf(c, pos);
            if (cached == kNone)
                cached = text.size();
        }
        return cached;
    };
    auto advanceColumn = [&](qsizetype to) {
        if (!heldAsUtf8(m_doc.encoding) || m_doc.asciiEnd == kNone || to <= m_doc.asciiEnd) {
            column += int(to - pos);
        } else {
            for (; pos < to; ++pos)
                column += (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80;
        }
        pos = to;
    };
    for (const qsizetype at : offsets) {
        while (pos < at) {
            const qsizetype lineEnd = std::min(next('\n', nextLf), next('\r', nextCr));
            if (lineEnd >= at) {
                advanceColumn(at);
                break;
            }
            const bool crLf = text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n';
            // The LF of a CR LF is where the CR is: one line end, as in a file of LF line ends.
            if (crLf && lineEnd + 1 == at) {
                advanceColumn(lineEnd);
                break;
            }
            pos = lineEnd + (crLf ? 2 : 1);
            ++line;
            column = 1;
        }
        positions.emplace_back(line, column);
    }
    auto positionOf = [&](qsizetype at) {
        return positions[size_t(std::lower_bound(offsets.begin(), offsets.end(), at) - offsets.begin())];
    };

    std::vector<Problem> out;
    out.reserve(m_findings.size());
    for (const Finding &f : m_findings) {
        Problem p;
        p.severity = f.severity;
        std::tie(p.line, p.column) = positionOf(f.at);
        p.code = QLatin1String(f.code);
        p.message = f.earlier == kNone ? f.message : f.message.arg(positionOf(f.earlier).first);
        out.push_back(std::move(p));
    }
    return out;
}

} // namespace

std::vector<Problem> checkDocument(QByteArrayView bytes, const CheckOptions &options)
{
    return DocumentCheck(options).run(bytes);
}

QString formatProblem(const QString &fileName, const Problem &problem)
{
    // One arg() call: a "%1" in the file name or the message must stay as it is.
    return QStringLiteral("%1:%2:%3: %4: %5 [%6]")
        .arg(fileName, QString::number(problem.line), QString::number(problem.column),
            problem.severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning"), problem.message,
            problem.code);
}

} // namespace vorrel
