#include "bot/PatternGraph.h"

#include <QRegularExpression>

#include <unordered_set>

namespace vorrel {

namespace {

// Word ids below kFirstWord are the path's markers and the wildcards.
constexpr qint32 kThatMarker = 0;
constexpr qint32 kTopicMarker = 1;
constexpr qint32 kStar = 2;
constexpr qint32 kUnderscore = 3;
constexpr qint32 kFirstWord = 4;

bool isWordChar(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

char32_t codePointAt(QStringView text, qsizetype &i)
{
    const char16_t unit = text[i++].unicode();
    if (QChar::isHighSurrogate(unit) && i < text.size() && text[i].isLowSurrogate())
        return QChar::surrogateToUcs4(unit, text[i++].unicode());
    return unit;
}

void appendCodePoint(QString &to, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        to += QChar(QChar::highSurrogate(c));
        to += QChar(QChar::lowSurrogate(c));
    } else {
        to += QChar(static_cast<char16_t>(c));
    }
}

// Calls `onWord` with each normalised word; `word` is reused, so `onWord` copies what it keeps.
// With `wildcards`, a "*" or "_" standing alone is a word of its own.
template<typename OnWord> void scanWords(QStringView text, bool wildcards, OnWord &&onWord)
{
    QString word;
    const qsizetype n = text.size();
    auto flush = [&] {
        if (!word.isEmpty()) {
            onWord(static_cast<const QString &>(word));
            word.truncate(0);
        }
    };
    for (qsizetype i = 0; i < n;) {
        const char32_t c = codePointAt(text, i);
        if (isWordChar(c)) {
            appendCodePoint(word, QChar::toUpper(c));
        } else if (QChar::isSpace(c)) {
            flush();
        } else if (c == u'\'' || c == u'\u2019') {
            qsizetype next = i;
            if (!word.isEmpty() && next < n && isWordChar(codePointAt(text, next)))
                word += QLatin1Char('\'');
        } else if (wildcards && (c == u'*' || c == u'_') && word.isEmpty() && (i == n || text[i].isSpace())) {
            word += QChar(static_cast<char16_t>(c));
            flush();
        }
        // Any other character is punctuation and goes without a trace.
    }
    flush();
}

// The value of attribute `name` in the text of a start tag, empty when absent.
QString attributeOf(QStringView tag, const QString &name)
{
    static const QRegularExpression attribute(
        QStringLiteral(R"re(([A-Za-z_:][-\w.:]*)\s*=\s*(?:"([^"]*)"|'([^']*)'))re"));
    for (auto it = attribute.globalMatch(tag.toString()); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedView(1) == name)
            return decodeEntities(m.capturedView(2).isNull() ? m.capturedView(3) : m.capturedView(2));
    }
    return {};
}

} // namespace

QStringList normalisedWords(QStringView text)
{
    QStringList words;
    scanWords(text, false, [&words](const QString &word) { words.append(word); });
    return words;
}

QStringList patternWords(QStringView text)
{
    QStringList words;
    scanWords(text, true, [&words](const QString &word) { words.append(word); });
    return words;
}

QList<QStringView> sentencePieces(QStringView text)
{
    QList<QStringView> pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' || c == u'!' || c == u'?' || c == u';') {
            pieces.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    pieces.append(text.mid(start));
    return pieces;
}

QStringList normalisedSentences(QStringView text)
{
    QStringList sentences;
    for (const QStringView piece : sentencePieces(text)) {
        const QStringList words = normalisedWords(piece);
        if (!words.isEmpty())
            sentences.append(words.join(QLatin1Char(' ')));
    }
    return sentences;
}

QString decodeEntities(QStringView text)
{
    if (!text.contains(u'&'))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out += text[i];
            continue;
        }
        const qsizetype semicolon = text.indexOf(u';', i + 1);
        const QStringView name
            = semicolon > i && semicolon - i <= 10 ? text.mid(i + 1, semicolon - i - 1) : QStringView();
        char32_t decoded = 0;
        if (name == u"amp")
            decoded = u'&';
        else if (name == u"lt")
            decoded = u'<';
        else if (name == u"gt")
            decoded = u'>';
        else if (name == u"quot")
            decoded = u'"';
        else if (name == u"apos")
            decoded = u'\'';
        else if (name.size() > 1 && name[0] == u'#') {
            bool ok = false;
            const uint value
                = name[1] == u'x' || name[1] == u'X' ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok);
            if (ok && value > 0 && value <= 0x10FFFF && !QChar::isSurrogate(value))
                decoded = value;
        }
        if (decoded == 0) {
            out += text[i];
            continue;
        }
        appendCodePoint(out, decoded);
        i = semicolon;
    }
    return out;
}

bool wordsMatch(const QStringList &pattern, const QStringList &words)
{
    // rest[j]: the pattern words after the current one match words[j..]; filled from the end so
    // that many wildcards cost no more than their count times the words.
    const qsizetype n = words.size();
    std::vector<char> rest(static_cast<std::size_t>(n + 1), 0);
    rest[static_cast<std::size_t>(n)] = 1;
    std::vector<char> here(rest.size());
    for (qsizetype p = pattern.size() - 1; p >= 0; --p) {
        const QString &token = pattern[p];
        const bool wildcard = token == u"*" || token == u"_";
        char anyLater = 0;
        here[static_cast<std::size_t>(n)] = 0;
        for (qsizetype j = n - 1; j >= 0; --j) {
            const auto at = static_cast<std::size_t>(j);
            anyLater = static_cast<char>(anyLater | rest[at + 1]);
            here[at] = wildcard ? anyLater : static_cast<char>(rest[at + 1] && token == words[j]);
        }
        rest.swap(here);
    }
    return rest[0] != 0;
}

qint32 PatternGraph::wordId(const QString &word) const
{
    return m_words.value(word, -1);
}

qint32 PatternGraph::internWord(const QString &word)
{
    if (word.size() == 1 && word[0] == u'*')
        return kStar;
    if (word.size() == 1 && word[0] == u'_')
        return kUnderscore;
    auto it = m_words.find(word);
    if (it == m_words.end())
        it = m_words.insert(word, kFirstWord + static_cast<qint32>(m_words.size()));
    return it.value();
}

qint32 PatternGraph::child(qint32 node, qint32 word) const
{
    const auto it = m_edges.find((static_cast<quint64>(node) << 32) | static_cast<quint32>(word));
    return it == m_edges.end() ? -1 : it->second;
}

qint32 PatternGraph::addChild(qint32 node, qint32 word)
{
    const auto next = static_cast<qint32>(m_nodes.size());
    if (word == kStar || word == kUnderscore) {
        qint32 &slot = word == kStar ? m_nodes[static_cast<std::size_t>(node)].star
                                     : m_nodes[static_cast<std::size_t>(node)].underscore;
        if (slot >= 0)
            return slot;
        slot = next;
    } else {
        const auto [it, added]
            = m_edges.try_emplace((static_cast<quint64>(node) << 32) | static_cast<quint32>(word), next);
        if (!added)
            return it->second;
    }
    m_nodes.emplace_back();
    return next;
}

void PatternGraph::appendPatternIds(QStringView text, const BotProperty &botProperty, std::vector<qint32> &ids)
{
    auto add = [this, &ids](const QString &word) { ids.push_back(internWord(word)); };
    if (!text.contains(u'<') && !text.contains(u'&')) {
        scanWords(text, true, add);
        return;
    }
    // Markup in a pattern: <bot name="x"/> stands for the property's words, which are plain
    // words even where the value holds "*"; any other tag only separates words.
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(u'<', at);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'>', open);
        if (close < 0) {
            scanWords(decodeEntities(text.mid(at)), true, add);
            return;
        }
        scanWords(decodeEntities(text.mid(at, open - at)), true, add);
        const QStringView tag = text.mid(open + 1, close - open - 1);
        if (tag.startsWith(u"bot") && (tag.size() == 3 || tag[3].isSpace() || tag[3] == u'/'))
            scanWords(botProperty(attributeOf(tag, QStringLiteral("name"))), false, add);
        at = close + 1;
    }
}

void PatternGraph::build(const std::vector<BotCategory> &rows, const BotProperty &botProperty)
{
    m_nodes.clear();
    m_edges.clear();
    m_words.clear();
    m_nodes.reserve(rows.size() * 4 + 1);
    m_edges.reserve(rows.size() * 4);
    m_nodes.emplace_back();
    std::vector<qint32> ids;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ids.clear();
        appendPatternIds(rows[i].pattern, botProperty, ids);
        if (ids.empty())
            continue;
        ids.push_back(kThatMarker);
        const std::size_t thatStart = ids.size();
        appendPatternIds(rows[i].that, botProperty, ids);
        if (ids.size() == thatStart)
            ids.push_back(kStar);
        ids.push_back(kTopicMarker);
        ids.push_back(kStar);
        qint32 node = 0;
        for (const qint32 id : ids)
            node = addChild(node, id);
        m_nodes[static_cast<std::size_t>(node)].row = static_cast<qint32>(i);
    }
}

PatternGraph::Match PatternGraph::match(
    const QStringList &input, const QStringList &that, const QStringList &topic, qint64 &steps) const
{
    Match result;
    if (m_nodes.empty())
        return result;

    // The path as word ids, unknown words as -1, and the words themselves for the stars.
    std::vector<qint32> path;
    QStringList words;
    path.reserve(static_cast<std::size_t>(input.size() + that.size() + topic.size() + 2));
    auto append = [&](const QStringList &part) {
        for (const QString &word : part) {
            path.push_back(wordId(word));
            words.append(word);
        }
    };
    append(input);
    const auto thatAt = static_cast<qint32>(path.size());
    path.push_back(kThatMarker);
    words.append(QString());
    append(that);
    const auto topicAt = static_cast<qint32>(path.size());
    path.push_back(kTopicMarker);
    words.append(QString());
    append(topic);
    const auto n = static_cast<qint32>(path.size());

    // A wildcard starting at a position may take words up to the next marker.
    std::vector<qint32> wildcardEnd(static_cast<std::size_t>(n));
    for (qint32 i = n - 1, end = n; i >= 0; --i) {
        if (path[static_cast<std::size_t>(i)] == kThatMarker || path[static_cast<std::size_t>(i)] == kTopicMarker)
            end = i;
        wildcardEnd[static_cast<std::size_t>(i)] = end;
    }

    // Depth-first over the graph with an explicit stack, so that a pattern of any length
    // cannot exhaust the call stack. At each node "_" is tried first, then the word, then "*";
    // each wildcard takes one word, then two, and so on.
    enum Stage : quint8 { Enter, Underscore, Word, Star, Done };
    struct Frame
    {
        qint32 node;
        qint32 pos;
        qint32 nextEnd;
        qint32 starBegin;
        qint32 starEnd;
        Stage stage;
    };
    std::vector<Frame> stack;
    stack.push_back({ 0, 0, 0, -1, -1, Enter });
    // Whether a node can finish the path from a position does not depend on how the search got
    // there, so a failure is remembered and never explored twice.
    std::unordered_set<quint64> failed;

    while (!stack.empty()) {
        if (--steps < 0) {
            result.exhausted = true;
            return result;
        }
        Frame &f = stack.back();
        const Node &node = m_nodes[static_cast<std::size_t>(f.node)];
        const quint64 key = (static_cast<quint64>(f.node) << 32) | static_cast<quint32>(f.pos);
        if (f.stage == Enter) {
            if (f.pos == n) {
                if (node.row >= 0)
                    break;
                stack.pop_back();
                continue;
            }
            if (failed.count(key) != 0) {
                stack.pop_back();
                continue;
            }
            f.stage = Underscore;
            f.nextEnd = f.pos + 1;
        }
        if (f.stage == Underscore || f.stage == Star) {
            const qint32 wildcard = f.stage == Underscore ? node.underscore : node.star;
            if (wildcard >= 0 && f.nextEnd <= wildcardEnd[static_cast<std::size_t>(f.pos)]) {
                const qint32 begin = f.pos;
                const qint32 end = f.nextEnd++;
                stack.push_back({ wildcard, end, 0, begin, end, Enter });
                continue;
            }
            if (f.stage == Underscore) {
                f.stage = Word;
            } else {
                f.stage = Done;
            }
        }
        if (f.stage == Word) {
            f.stage = Star;
            f.nextEnd = f.pos + 1;
            const qint32 word = path[static_cast<std::size_t>(f.pos)];
            const qint32 next = word >= 0 ? child(f.node, word) : -1;
            if (next >= 0) {
                const qint32 pos = f.pos + 1;
                stack.push_back({ next, pos, 0, -1, -1, Enter });
            }
            continue;
        }
        if (f.stage == Done) {
            failed.insert(key);
            stack.pop_back();
        }
    }
    if (stack.empty())
        return result;

    result.row = m_nodes[static_cast<std::size_t>(stack.back().node)].row;
    for (const Frame &f : stack) {
        if (f.starBegin < 0)
            continue;
        const QString star = words.mid(f.starBegin, f.starEnd - f.starBegin).join(QLatin1Char(' '));
        if (f.starBegin < thatAt)
            result.inputStars.append(star);
        else if (f.starBegin < topicAt)
            result.thatStars.append(star);
        else
            result.topicStars.append(star);
    }
    return result;
}

} // namespace vorrel
