#include "aiml/MatchGraph.h"

#include "aiml/Words.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>

namespace vorrel {

namespace {

size_t hashNumber(quint64 n)
{
    n ^= n >> 31;
    n *= 0x7FB5D329728EA185ull;
    n ^= n >> 27;
    n *= 0x81DADEF4BC2DD44Dull;
    return size_t(n ^ (n >> 33));
}

// Numbers by number, kept from one search to the next and emptied by a new stamp rather than
// cleared: most searches try a handful of states, a few try thousands.
class StampedMap final
{
public:
    void reset()
    {
        m_count = 0;
        if (++m_stamp == 0) {
            std::fill(m_slots.begin(), m_slots.end(), Slot());
            m_stamp = 1;
        }
    }
    const qint32 *find(quint64 key) const
    {
        if (m_slots.empty())
            return nullptr;
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hashNumber(key) & mask;; i = (i + 1) & mask) {
            const Slot &slot = m_slots[i];
            if (slot.stamp != m_stamp)
                return nullptr;
            if (slot.key == key)
                return &slot.value;
        }
    }
    // The value under `key`, `value` put there when it had none.
    qint32 &emplace(quint64 key, qint32 value)
    {
        if ((m_count + 1) * 2 > m_slots.size())
            grow();
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hashNumber(key) & mask;; i = (i + 1) & mask) {
            Slot &slot = m_slots[i];
            if (slot.stamp != m_stamp) {
                slot = { key, value, m_stamp };
                ++m_count;
                return slot.value;
            }
            if (slot.key == key)
                return slot.value;
        }
    }

private:
    struct Slot
    {
        quint64 key = 0;
        qint32 value = 0;
        quint32 stamp = 0;
    };
    void grow()
    {
        std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(std::max<size_t>(64, m_slots.size() * 2)));
        const quint32 stamp = m_stamp;
        m_count = 0;
        for (const Slot &slot : old) {
            if (slot.stamp == stamp)
                emplace(slot.key, slot.value);
        }
    }

    std::vector<Slot> m_slots;
    size_t m_count = 0;
    quint32 m_stamp = 1;
};

// A cheap hash of a short text, eight bytes at a time.
size_t hashOfBytes(const void *data, size_t size)
{
    quint64 h = size;
    const auto *p = static_cast<const char *>(data);
    auto mix = [&h](quint64 word) { h = (std::rotl(h, 5) ^ word) * 0x517cc1b727220a95ULL; };
    for (; size >= 8; size -= 8, p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        mix(word);
    }
    if (size > 0) {
        quint64 word = 0;
        std::memcpy(&word, p, size);
        mix(word);
    }
    return hashNumber(h);
}

constexpr quint32 kNoNode = ~quint32(0);

size_t edgeSlot(qint32 node, WordId word, size_t capacity)
{
    const size_t h = hashNumber((quint64(quint32(node)) << 32) | quint32(word));
    return size_t((quint64(h >> 32) * capacity) >> 32);
}

} // namespace

template<typename Unit> struct WordIds<Unit>::Data
{
    // The words' units one after another, and where each starts.
    std::basic_string<Unit> units;
    std::vector<quint32> starts = std::vector<quint32>(1, 0);
    // Open addressing over the words' numbers plus one (0 in a free slot), each beside the low
    // half of its word's hash, so that probing seldom compares words.
    struct Slot
    {
        quint32 hash = 0;
        quint32 number = 0;
    };
    std::vector<Slot> table = std::vector<Slot>(64);

    static quint32 hashOf(View word) { return quint32(hashOfBytes(word.data(), size_t(word.size()) * sizeof(Unit))); }
    View at(quint32 number) const
    {
        return View(units.data() + starts[number], qsizetype(starts[number + 1] - starts[number]));
    }
    // The slot of the word, or the free one where it goes.
    size_t probe(View word, quint32 hash) const
    {
        const size_t mask = table.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot &slot = table[i];
            if (slot.number == 0 || (slot.hash == hash && at(slot.number - 1) == word))
                return i;
        }
    }
};

template<typename Unit> WordIds<Unit>::WordIds() : d(std::make_unique<Data>())
{
}

template<typename Unit> WordIds<Unit>::~WordIds() = default;
template<typename Unit> WordIds<Unit>::WordIds(WordIds &&) noexcept = default;
template<typename Unit> WordIds<Unit> &WordIds<Unit>::operator=(WordIds &&) noexcept = default;

template<typename Unit> WordId WordIds<Unit>::add(View word)
{
    if (const WordId known = find(word); known != MatchGraph::kNoWord)
        return known;
    const size_t count = d->starts.size() - 1;
    if ((count + 1) * 2 > d->table.size()) {
        const size_t mask = d->table.size() * 2 - 1;
        std::vector<typename Data::Slot> old = std::exchange(d->table, std::vector<typename Data::Slot>(mask + 1));
        for (const typename Data::Slot &slot : old) {
            size_t i = slot.hash & mask;
            while (slot.number != 0 && d->table[i].number != 0)
                i = (i + 1) & mask;
            if (slot.number != 0)
                d->table[i] = slot;
        }
    }
    d->units.append(reinterpret_cast<const Unit *>(word.data()), size_t(word.size()));
    d->starts.push_back(quint32(d->units.size()));
    const quint32 hash = Data::hashOf(word);
    d->table[d->probe(word, hash)] = { hash, quint32(count + 1) };
    return MatchGraph::kFirstWord + WordId(count);
}

template<typename Unit> WordId WordIds<Unit>::find(View word) const
{
    if (word.size() == 1 && word[0] == Unit('*'))
        return MatchGraph::kStar;
    if (word.size() == 1 && word[0] == Unit('_'))
        return MatchGraph::kUnderscore;
    const quint32 number = d->table[d->probe(word, Data::hashOf(word))].number;
    return number == 0 ? MatchGraph::kNoWord : MatchGraph::kFirstWord + WordId(number - 1);
}

template class WordIds<char>;
template class WordIds<char16_t>;

// What one search keeps, reused by the next.
struct MatchGraph::Search
{
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
    std::vector<WordId> path;
    std::vector<qint32> wildcardEnd;
    std::vector<Frame> stack;
    // Whether a node can finish the path from a position does not depend on how the search got
    // there, so a failure is remembered and never explored twice.
    StampedMap failed;
    // The same for a wildcard's node: the first position from which it fails at every later
    // one, so that wildcards in a row try each split of a long sentence once, not once per
    // split of the wildcards before them.
    StampedMap failedFrom;
};

MatchGraph::MatchGraph() : m_search(std::make_unique<Search>())
{
    clear();
}

MatchGraph::~MatchGraph() = default;
MatchGraph::MatchGraph(MatchGraph &&) noexcept = default;
MatchGraph &MatchGraph::operator=(MatchGraph &&) noexcept = default;

void MatchGraph::clear()
{
    m_nodes.assign(1, Node());
    m_hasWords.assign(1, false);
    m_edgeCount = 0;
    // The table keeps its memory: a bot rebuilt at every change of its table spares the pages.
    std::fill(m_edges.begin(), m_edges.end(), Edge { kNoNode, 0, -1 });
}

void MatchGraph::reserve(qsizetype words)
{
    const size_t wanted = m_edgeCount + size_t(words);
    // At two thirds full, probes stay short.
    if (wanted * 3 > m_edges.size() * 2)
        growEdges(std::max<size_t>(16, wanted + wanted / 2 + 1));
    m_nodes.reserve(m_nodes.size() + size_t(words));
    m_hasWords.reserve(m_hasWords.size() + size_t(words));
}

void MatchGraph::growEdges(size_t capacity)
{
    std::vector<Edge> old = std::exchange(m_edges, std::vector<Edge>(capacity, Edge { kNoNode, 0, -1 }));
    for (const Edge &edge : old) {
        if (edge.node == kNoNode)
            continue;
        size_t slot = edgeSlot(qint32(edge.node), edge.word, capacity);
        while (m_edges[slot].node != kNoNode)
            slot = slot + 1 == capacity ? 0 : slot + 1;
        m_edges[slot] = edge;
    }
}

qint32 MatchGraph::child(qint32 node, WordId word) const
{
    if (word == kThat || word == kTopic)
        return m_nodes[size_t(node)].nextPart;
    if (word < kFirstWord || m_edges.empty())
        return -1;
    const size_t capacity = m_edges.size();
    for (size_t slot = edgeSlot(node, word, capacity);;) {
        const Edge &edge = m_edges[slot];
        if (edge.node == quint32(node) && edge.word == word)
            return edge.child;
        if (edge.node == kNoNode)
            return -1;
        slot = slot + 1 == capacity ? 0 : slot + 1;
    }
}

qint32 MatchGraph::addChild(qint32 node, WordId word)
{
    const auto next = qint32(m_nodes.size());
    if (word < kFirstWord) {
        Node &parent = m_nodes[size_t(node)];
        qint32 &slot = word == kStar ? parent.star : word == kUnderscore ? parent.underscore : parent.nextPart;
        if (slot >= 0)
            return slot;
        slot = next;
    } else {
        if ((m_edgeCount + 1) * 3 > m_edges.size() * 2)
            growEdges(std::max<size_t>(16, m_edges.size() * 2));
        const size_t capacity = m_edges.size();
        size_t slot = edgeSlot(node, word, capacity);
        for (; m_edges[slot].node != kNoNode; slot = slot + 1 == capacity ? 0 : slot + 1) {
            if (m_edges[slot].node == quint32(node) && m_edges[slot].word == word)
                return m_edges[slot].child;
        }
        m_edges[slot] = { quint32(node), word, next };
        ++m_edgeCount;
        m_hasWords[size_t(node)] = true;
    }
    m_nodes.emplace_back();
    m_hasWords.push_back(false);
    return next;
}

bool MatchGraph::add(
    std::span<const WordId> pattern, std::span<const WordId> that, std::span<const WordId> topic, qint32 category)
{
    if (pattern.empty())
        return false;
    qint32 node = 0;
    auto part = [&](std::span<const WordId> words) {
        if (words.empty())
            node = addChild(node, kStar);
        for (const WordId word : words)
            node = addChild(node, word);
    };
    part(pattern);
    node = addChild(node, kThat);
    part(that);
    node = addChild(node, kTopic);
    part(topic);
    m_nodes[size_t(node)].category = category;
    return true;
}

quint32 MatchGraph::keyHash(QByteArrayView key)
{
    return quint32(hashOfBytes(key.data(), size_t(key.size())));
}

qsizetype MatchGraph::appendKey(
    QByteArray &key, QByteArrayView pattern, QByteArrayView that, QByteArrayView topic, const BotProperties &properties)
{
    std::array<QByteArrayView, 3> parts { pattern, that, topic };
    // A bot property's words are worked out first; words split again stay the same words.
    std::array<QByteArray, 3> words;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].contains(kPropertyMark)) {
            appendPatternWords(words[i], parts[i], properties);
            parts[i] = words[i];
        }
    }
    // Written in one piece of memory: a key is made for every category of a document.
    const qsizetype start = key.size();
    key.resize(start + wordsRoom(parts[0].size()) + wordsRoom(parts[1].size()) + wordsRoom(parts[2].size()) + 2);
    char *const begin = key.data() + start;
    char *o = writeWords(begin, parts[0], false);
    const qsizetype patternSize = o - begin;
    for (size_t i = 1; patternSize > 0 && i < parts.size(); ++i) {
        *o++ = '\0';
        char *const at = o;
        o = writeWords(o, parts[i], false);
        // As add() takes a missing that or topic.
        if (o == at)
            *o++ = '*';
    }
    key.truncate(patternSize > 0 ? o - key.constData() : start);
    return patternSize;
}

MatchGraph::Match MatchGraph::match(
    std::span<const WordId> input, std::span<const WordId> that, std::span<const WordId> topic, qint64 &steps) const
{
    std::vector<WordId> &path = m_search->path;
    path.assign(input.begin(), input.end());
    path.push_back(kThat);
    path.insert(path.end(), that.begin(), that.end());
    path.push_back(kTopic);
    path.insert(path.end(), topic.begin(), topic.end());
    Match result = search(path, false, steps);
    // The stars as places in their own part of the path.
    const auto thatAt = qint32(input.size());
    const auto topicAt = qint32(input.size() + 1 + that.size());
    std::vector<Words> stars = std::move(result.inputStars);
    result.inputStars.clear();
    for (const Words &star : stars) {
        if (star.begin < thatAt)
            result.inputStars.push_back(star);
        else if (star.begin < topicAt)
            result.thatStars.push_back({ star.begin - thatAt - 1, star.end - thatAt - 1 });
        else
            result.topicStars.push_back({ star.begin - topicAt - 1, star.end - topicAt - 1 });
    }
    return result;
}

bool MatchGraph::matchesPattern(std::span<const WordId> input, qint64 &steps, bool *exhausted) const
{
    std::vector<WordId> &path = m_search->path;
    path.assign(input.begin(), input.end());
    path.push_back(kThat);
    const Match result = search(path, true, steps);
    if (exhausted)
        *exhausted = result.exhausted;
    return result.category >= 0;
}

// Depth-first over the graph with an explicit stack, so that a pattern of any length cannot
// exhaust the call stack. `patternOnly`: the path ends with <that>, and any node reached past
// it is a match.
MatchGraph::Match MatchGraph::search(const std::vector<WordId> &path, bool patternOnly, qint64 &steps) const
{
    Match result;
    Search &s = *m_search;
    const auto n = qint32(path.size());
    // Reading the path is work too: a topic of thousands of words costs as much each time.
    steps -= n;

    // A wildcard starting at a position may take words up to the next marker.
    s.wildcardEnd.resize(size_t(n));
    for (qint32 i = n - 1, end = n; i >= 0; --i) {
        if (path[size_t(i)] == kThat || path[size_t(i)] == kTopic)
            end = i;
        s.wildcardEnd[size_t(i)] = end;
    }
    s.failed.reset();
    s.failedFrom.reset();
    std::vector<Search::Frame> &stack = s.stack;
    stack.clear();
    stack.push_back({ 0, 0, 0, -1, -1, Search::Enter });

    while (!stack.empty()) {
        if (--steps < 0) {
            result.exhausted = true;
            return result;
        }
        Search::Frame &f = stack.back();
        const Node &node = m_nodes[size_t(f.node)];
        const quint64 key = (quint64(quint32(f.node)) << 32) | quint32(f.pos);
        if (f.stage == Search::Enter) {
            if (f.pos == n) {
                if (patternOnly || node.category >= 0)
                    break;
                stack.pop_back();
                continue;
            }
            if (s.failed.find(key)) {
                stack.pop_back();
                continue;
            }
            f.stage = Search::Underscore;
            f.nextEnd = f.pos + 1;
        }
        if (f.stage == Search::Underscore || f.stage == Search::Star) {
            const qint32 wildcard = f.stage == Search::Underscore ? node.underscore : node.star;
            const qint32 sectionEnd = s.wildcardEnd[size_t(f.pos)];
            if (wildcard >= 0 && f.nextEnd <= sectionEnd) {
                // Where the wildcard's node has nothing but the next part of the path (or the
                // end), no shorter take can succeed.
                const Node &after = m_nodes[size_t(wildcard)];
                if (!m_hasWords[size_t(wildcard)] && after.star < 0 && after.underscore < 0)
                    f.nextEnd = sectionEnd;
                const qint32 *known = s.failedFrom.find(quint64(wildcard));
                if (!known || f.nextEnd < *known) {
                    const qint32 begin = f.pos;
                    const qint32 end = f.nextEnd++;
                    stack.push_back({ wildcard, end, 0, begin, end, Search::Enter });
                    continue;
                }
            }
            if (wildcard >= 0 && f.pos < sectionEnd) {
                qint32 &from = s.failedFrom.emplace(quint64(wildcard), f.pos + 1);
                from = std::min(from, f.pos + 1);
            }
            f.stage = f.stage == Search::Underscore ? Search::Word : Search::Done;
        }
        if (f.stage == Search::Word) {
            f.stage = Search::Star;
            f.nextEnd = f.pos + 1;
            const qint32 next = child(f.node, path[size_t(f.pos)]);
            if (next >= 0) {
                const qint32 pos = f.pos + 1;
                stack.push_back({ next, pos, 0, -1, -1, Search::Enter });
            }
            continue;
        }
        if (f.stage == Search::Done) {
            s.failed.emplace(key, 1);
            stack.pop_back();
        }
    }
    if (stack.empty())
        return result;

    result.category = patternOnly ? 0 : m_nodes[size_t(stack.back().node)].category;
    for (const Search::Frame &f : stack) {
        if (f.starBegin >= 0)
            result.inputStars.push_back({ f.starBegin, f.starEnd });
    }
    return result;
}

} // namespace vorrel
