#include "bot/PatternGraph.h"

#include "document/DocumentText.h"

#include <QRegularExpression>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace vorrel {

namespace {

// Word ids below kFirstWord are the path's markers and the wildcards.
constexpr qint32 kThatMarker = 0;
constexpr qint32 kTopicMarker = 1;
constexpr qint32 kStar = 2;
constexpr qint32 kUnderscore = 3;
constexpr qint32 kFirstWord = 4;

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

QStringList normalisedSentences(QStringView text)
{
    QStringList sentences;
    auto add = [&sentences](QStringView piece) {
        const QStringList words = normalisedWords(piece);
        if (!words.isEmpty())
            sentences.append(words.join(QLatin1Char(' ')));
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' || c == u'!' || c == u'?' || c == u';') {
            add(text.mid(start, i - start));
            start = i + 1;
        }
    }
    add(text.mid(start));
    return sentences;
}

bool wordsMatch(const QStringList &pattern, const QStringList &words)
{
    if (!pattern.contains(QStringLiteral("*")) && !pattern.contains(QStringLiteral("_")))
        return pattern == words;
    // No sensible condition comes near this; a nonsense one must not hold the answer up.
    if ((pattern.size() + 1) * (words.size() + 1) > 16'000'000)
        return false;
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

namespace {

constexpr quint32 kNoNode = ~quint32(0);

// Node and word both reach every bit of the slot; many edges share a word.
std::size_t slotOf(qint32 node, qint32 word, std::size_t capacity)
{
    quint64 key = (static_cast<quint64>(node) << 32) | static_cast<quint32>(word);
    key ^= key >> 31;
    key *= 0x7FB5D329728EA185ull;
    key ^= key >> 27;
    key *= 0x81DADEF4BC2DD44Dull;
    key ^= key >> 33;
    return static_cast<std::size_t>(((key >> 32) * capacity) >> 32);
}

// A view as a QString key without copying its characters, for looking up only.
QString lookupKey(QStringView word)
{
    return QString::fromRawData(reinterpret_cast<const QChar *>(word.utf16()), word.size());
}

} // namespace

qint32 PatternGraph::wordId(QStringView word) const
{
    return m_words.value(lookupKey(word), -1);
}

qint32 PatternGraph::internWord(QStringView word)
{
    if (word.size() == 1 && word[0] == u'*')
        return kStar;
    if (word.size() == 1 && word[0] == u'_')
        return kUnderscore;
    if (const auto it = m_words.constFind(lookupKey(word)); it != m_words.cend())
        return it.value();
    const auto id = kFirstWord + static_cast<qint32>(m_words.size());
    m_words.insert(word.toString(), id);
    return id;
}

qint32 PatternGraph::child(qint32 node, qint32 word) const
{
    if (word == kThatMarker || word == kTopicMarker)
        return m_nodes[static_cast<std::size_t>(node)].nextPart;
    if (word < kFirstWord || m_edges.empty())
        return -1;
    const std::size_t capacity = m_edges.size();
    for (std::size_t slot = slotOf(node, word, capacity);;) {
        const Edge &edge = m_edges[slot];
        if (edge.node == static_cast<quint32>(node) && edge.word == word)
            return edge.child;
        if (edge.node == kNoNode)
            return -1;
        if (++slot == capacity)
            slot = 0;
    }
}

qint32 PatternGraph::addChild(qint32 node, qint32 word)
{
    const auto next = static_cast<qint32>(m_nodes.size());
    if (word < kFirstWord) {
        Node &parent = m_nodes[static_cast<std::size_t>(node)];
        qint32 &slot = word == kStar ? parent.star : word == kUnderscore ? parent.underscore : parent.nextPart;
        if (slot >= 0)
            return slot;
        slot = next;
    } else {
        // build() sized the table for every word of every path, so a free slot is never far.
        const std::size_t capacity = m_edges.size();
        std::size_t slot = slotOf(node, word, capacity);
        for (; m_edges[slot].node != kNoNode;) {
            if (m_edges[slot].node == static_cast<quint32>(node) && m_edges[slot].word == word)
                return m_edges[slot].child;
            if (++slot == capacity)
                slot = 0;
        }
        m_edges[slot] = { static_cast<quint32>(node), word, next };
        m_hasWords[static_cast<std::size_t>(node)] = true;
    }
    m_nodes.emplace_back();
    return next;
}

void PatternGraph::appendPatternIds(QStringView text, const BotProperty &botProperty, std::vector<qint32> &ids)
{
    const auto add = [this, &ids](QStringView word) { ids.push_back(internWord(word)); };
    if (!text.contains(u'<') && !text.contains(u'&')) {
        forEachNormalisedWord(text, add);
        return;
    }
    // Markup in a pattern: <bot name="x"/> stands for the property's words, where a "*" or "_"
    // is no wildcard (and no word either); any other tag only separates words.
    const auto addPlain = [&add](QStringView word) {
        if (word != u"*" && word != u"_")
            add(word);
    };
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(u'<', at);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'>', open);
        if (close < 0) {
            forEachNormalisedWord(decodeEntities(text.mid(at)), add);
            return;
        }
        forEachNormalisedWord(decodeEntities(text.mid(at, open - at)), add);
        const QStringView tag = text.mid(open + 1, close - open - 1);
        if (tag.startsWith(u"bot") && (tag.size() == 3 || tag[3].isSpace() || tag[3] == u'/'))
            forEachNormalisedWord(botProperty(attributeOf(tag, QStringLiteral("name"))), addPlain);
        at = close + 1;
    }
}

void PatternGraph::build(const std::vector<BotCategory> &rows, const BotProperty &botProperty)
{
    m_nodes.clear();
    m_hasWords.clear();
    m_words.clear();

    // Every row's path first, so that the edge table can be sized once for all of them.
    std::vector<qint32> ids;
    ids.reserve(rows.size() * 8);
    std::vector<std::pair<std::size_t, std::size_t>> paths(rows.size(), { 0, 0 });
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::size_t start = ids.size();
        appendPatternIds(rows[i].pattern, botProperty, ids);
        if (ids.size() == start)
            continue;
        ids.push_back(kThatMarker);
        const std::size_t thatStart = ids.size();
        appendPatternIds(rows[i].that, botProperty, ids);
        if (ids.size() == thatStart)
            ids.push_back(kStar);
        ids.push_back(kTopicMarker);
        const std::size_t topicStart = ids.size();
        appendPatternIds(rows[i].topic, botProperty, ids);
        if (ids.size() == topicStart)
            ids.push_back(kStar);
        paths[i] = { start, ids.size() };
    }

    // At most one edge per word of a path; at two thirds full, probes stay short. The vector
    // keeps its memory from the last build, which spares fresh pages on every table change.
    const auto words
        = static_cast<std::size_t>(std::count_if(ids.begin(), ids.end(), [](qint32 id) { return id >= kFirstWord; }));
    m_edges.assign(std::max<std::size_t>(16, words + words / 2), Edge { kNoNode, 0, -1 });
    m_nodes.reserve(ids.size() + 1);
    m_nodes.emplace_back();
    m_hasWords.assign(ids.size() + 1, false);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto [begin, end] = paths[i];
        if (begin == end)
            continue;
        qint32 node = 0;
        for (std::size_t k = begin; k < end; ++k)
            node = addChild(node, ids[k]);
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
    // Reading the path is work too: a topic of thousands of words costs as much each time.
    steps -= n;

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
    // The same for a wildcard's node: the first position from which it fails at every later
    // one, so that wildcards in a row try each split of a long sentence once, not once per
    // split of the wildcards before them.
    std::unordered_map<qint32, qint32> failedFrom;

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
            const qint32 sectionEnd = wildcardEnd[static_cast<std::size_t>(f.pos)];
            if (wildcard >= 0 && f.nextEnd <= sectionEnd) {
                // Where the wildcard's node has nothing but the next part of the path (or the end),
                // no shorter take can succeed.
                const Node &after = m_nodes[static_cast<std::size_t>(wildcard)];
                if (!m_hasWords[static_cast<std::size_t>(wildcard)] && after.star < 0 && after.underscore < 0)
                    f.nextEnd = sectionEnd;
                const auto known = failedFrom.find(wildcard);
                if (known == failedFrom.end() || f.nextEnd < known->second) {
                    const qint32 begin = f.pos;
                    const qint32 end = f.nextEnd++;
                    stack.push_back({ wildcard, end, 0, begin, end, Enter });
                    continue;
                }
            }
            if (wildcard >= 0 && f.pos < sectionEnd) {
                const auto [known, added] = failedFrom.try_emplace(wildcard, f.pos + 1);
                if (!added)
                    known->second = std::min(known->second, f.pos + 1);
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
            const qint32 next = child(f.node, path[static_cast<std::size_t>(f.pos)]);
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
