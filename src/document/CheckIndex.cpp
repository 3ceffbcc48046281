#include "document/CheckIndex.h"

#include "base/AsciiCase.h"
#include "document/DocumentText.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace vorrel {

namespace {

bool isAsciiWordCharacter(unsigned char c)
{
    return (c >= '0' && c <= '9') || static_cast<unsigned char>((c | 0x20) - 'a') < 26u;
}

char *writeUtf8(char *o, char32_t c)
{
    if (c < 0x80) {
        *o++ = char(c);
    } else if (c < 0x800) {
        *o++ = char(0xC0 | (c >> 6));
        *o++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *o++ = char(0xE0 | (c >> 12));
        *o++ = char(0x80 | ((c >> 6) & 0x3F));
        *o++ = char(0x80 | (c & 0x3F));
    } else {
        *o++ = char(0xF0 | (c >> 18));
        *o++ = char(0x80 | ((c >> 12) & 0x3F));
        *o++ = char(0x80 | ((c >> 6) & 0x3F));
        *o++ = char(0x80 | (c & 0x3F));
    }
    return o;
}

// Letters of the first plane fold to upper case; those beyond it stay as they are.
char *writeUpper(char *o, char32_t c, const char *from, const char *to)
{
    if (c <= 0xFFFF)
        return writeUtf8(o, QChar::toUpper(c));
    std::memcpy(o, from, size_t(to - from));
    return o + (to - from);
}

void appendUpper(QByteArray &out, char32_t c, const char *from, const char *to)
{
    char buffer[4];
    out.append(buffer, writeUpper(buffer, c, from, to) - buffer);
}

// Each ASCII character in upper case, its blanks as " ".
constexpr auto kAsciiFolded = [] {
    std::array<char, 128> folded {};
    for (int c = 0; c < 128; ++c)
        folded[size_t(c)] = c == ' ' || (c >= '\t' && c <= '\r') ? ' ' : asciiUpper(char(c));
    return folded;
}();

// The room writeNormalised() may need: upper case makes a character at most half as long again.
qsizetype normalisedRoom(QByteArrayView text)
{
    return text.size() + text.size() / 2 + 1;
}

// Writes the text normalised at `o`, which has normalisedRoom() bytes; returns the end.
char *writeNormalised(char *o, QByteArrayView text, bool emptyIsStar)
{
    char *const first = o;
    bool blank = false;
    const char *p = text.data();
    const char *const end = p + text.size();
    while (p < end) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte < 0x80) {
            ++p;
            const char folded = kAsciiFolded[byte];
            if (folded == ' ') {
                blank = o != first;
                continue;
            }
            if (blank)
                *o++ = ' ';
            blank = false;
            *o++ = folded;
            continue;
        }
        const char *const at = p;
        const char32_t c = nextUtf8CodePoint(p, end);
        if (QChar::isSpace(c)) {
            blank = o != first;
            continue;
        }
        if (blank)
            *o++ = ' ';
        blank = false;
        o = writeUpper(o, c, at, p);
    }
    if (o == first && emptyIsStar)
        *o++ = '*';
    return o;
}

// Words as the interpreter takes them: split at every character that is not a word character,
// "*" or "_", letters upper-cased, one blank between.
void appendSraiWords(QByteArray &out, QByteArrayView text)
{
    const qsizetype begin = out.size();
    bool inWord = false;
    const char *p = text.data();
    const char *const end = p + text.size();
    while (p < end) {
        const char *const at = p;
        const auto byte = static_cast<unsigned char>(*p);
        const char32_t c = byte < 0x80 ? (++p, byte) : nextUtf8CodePoint(p, end);
        const bool word = c < 0x80 ? isAsciiWordCharacter(byte) || c == '*' || c == '_' : isWordCharacter(c);
        if (!word) {
            inWord = false;
            continue;
        }
        if (!inWord && out.size() != begin)
            out += ' ';
        inWord = true;
        if (c < 0x80)
            out += asciiUpper(char(byte));
        else
            appendUpper(out, c, at, p);
    }
}

// A normalised pattern's words as the interpreter matches them: a word with punctuation inside
// ("WHAT'S") splits as an input would, a bot property's mark stays a word of its own.
QByteArray matchedPatternWords(QByteArrayView pattern)
{
    const bool plain = std::all_of(pattern.begin(), pattern.end(),
        [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '*' || c == '_'; });
    if (plain)
        return pattern.toByteArray();
    QByteArray out;
    for (qsizetype at = 0; at < pattern.size();) {
        qsizetype blank = pattern.indexOf(' ', at);
        if (blank < 0)
            blank = pattern.size();
        const QByteArrayView token = pattern.sliced(at, blank - at);
        if (token.startsWith(kBotMark)) {
            if (!out.isEmpty())
                out += ' ';
            out += token;
        } else {
            if (!out.isEmpty() && !token.isEmpty())
                out += ' ';
            const qsizetype before = out.size();
            appendSraiWords(out, token);
            if (out.size() == before && before > 0 && out.back() == ' ')
                out.chop(1);
        }
        at = blank + 1;
    }
    return out;
}

// A cheap hash of a short text, eight bytes at a time.
size_t hashBytes(QByteArrayView text)
{
    quint64 h = quint64(text.size());
    const char *p = text.data();
    qsizetype left = text.size();
    auto mix = [&h](quint64 word) { h = (std::rotl(h, 5) ^ word) * 0x517cc1b727220a95ULL; };
    for (; left >= 8; left -= 8, p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        mix(word);
    }
    if (left > 0) {
        quint64 word = 0;
        std::memcpy(&word, p, size_t(left));
        mix(word);
    }
    // The table takes the low bits, which the multiplications above fill poorly.
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ULL;
    return size_t(h ^ (h >> 32));
}

// Calls `f` with each word of a text whose words stand one blank apart.
template<typename F> void forEachWord(QByteArrayView text, const F &f)
{
    for (qsizetype at = 0; at < text.size();) {
        qsizetype blank = text.indexOf(' ', at);
        if (blank < 0)
            blank = text.size();
        if (blank > at)
            f(text.sliced(at, blank - at));
        at = blank + 1;
    }
}

size_t hashNumber(quint64 n)
{
    n *= 0x9E3779B97F4A7C15ULL;
    return size_t(n ^ (n >> 31));
}

// Open addressing over the numbers of the caller's entries. A slot keeps the low half of its
// entry's hash beside the number, so that probing and growing seldom touch the entries.
class SlotTable final
{
public:
    // The number of the entry with `hash` that `same` accepts; else `entry` is added with it
    // and the result is -1.
    template<typename Same> qint64 findOrAdd(size_t hash, quint32 entry, const Same &same)
    {
        if ((m_count + 1) * 2 > m_slots.size())
            grow();
        Slot &slot = m_slots[probe(quint32(hash), same)];
        if (slot.entry != 0)
            return slot.entry - 1;
        slot = { quint32(hash), entry + 1 };
        ++m_count;
        return -1;
    }
    // The number of the entry with `hash` that `same` accepts, or -1.
    template<typename Same> qint64 find(size_t hash, const Same &same) const
    {
        if (m_slots.empty())
            return -1;
        return qint64(m_slots[probe(quint32(hash), same)].entry) - 1;
    }

private:
    struct Slot
    {
        quint32 hash = 0;
        // The entry's number plus one, 0 in a free slot.
        quint32 entry = 0;
    };
    // The slot of the entry, or the free one where it goes.
    template<typename Same> size_t probe(quint32 hash, const Same &same) const
    {
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot &slot = m_slots[i];
            if (slot.entry == 0 || (slot.hash == hash && same(slot.entry - 1)))
                return i;
        }
    }
    // Keeps at least half the slots free.
    void grow()
    {
        const std::vector<Slot> old
            = std::exchange(m_slots, std::vector<Slot>(std::max<size_t>(64, m_slots.size() * 2)));
        const size_t mask = m_slots.size() - 1;
        for (const Slot &slot : old) {
            if (slot.entry == 0)
                continue;
            size_t i = slot.hash & mask;
            while (m_slots[i].entry != 0)
                i = (i + 1) & mask;
            m_slots[i] = slot;
        }
    }

    std::vector<Slot> m_slots;
    size_t m_count = 0;
};

// Words are numbered from 0; these stand for what a pattern has besides words, and -1 for a
// word that no srai holds.
constexpr int kNoWord = -1;
constexpr int kStar = -2;
constexpr int kUnder = -3;
constexpr int kAnyWord = -4;

// The states one query has tried. Kept from query to query and emptied by a new stamp rather
// than cleared: most queries try a handful of states, a few try thousands.
class TriedStates final
{
public:
    void startQuery()
    {
        ++m_stamp;
        m_count = 0;
    }
    // False when the state was tried already.
    bool insert(quint64 state)
    {
        if ((m_count + 1) * 2 > m_slots.size())
            grow();
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hashNumber(state) & mask;; i = (i + 1) & mask) {
            Slot &slot = m_slots[i];
            if (slot.stamp != m_stamp) {
                slot = { state, m_stamp };
                ++m_count;
                return true;
            }
            if (slot.state == state)
                return false;
        }
    }

private:
    struct Slot
    {
        quint64 state = 0;
        quint32 stamp = 0;
    };
    void grow()
    {
        std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(std::max<size_t>(64, m_slots.size() * 2)));
        m_count = 0;
        for (const Slot &slot : old) {
            if (slot.stamp == m_stamp)
                insert(slot.state);
        }
    }

    std::vector<Slot> m_slots;
    size_t m_count = 0;
    quint32 m_stamp = 1;
};

// Patterns as a tree of words, matched the way an interpreter matches its input: "_" and "*"
// take one or more words, a bot name any one word, other words themselves. Words are numbers
// here. A branch that only one pattern follows keeps that pattern's remaining words as they
// are until a second pattern needs the branch: most patterns part after two or three words.
class PatternIndex final
{
public:
    void add(const std::vector<int> &pattern);
    bool matches(const int *words, qsizetype count) const;

private:
    struct Node
    {
        int under = -1;
        int star = -1;
        int any = -1;
        bool end = false;
        // The remaining words of the one pattern below, not yet made nodes: a range of m_rests.
        quint32 restBegin = 0;
        quint32 restEnd = 0;
    };
    struct Edge
    {
        quint64 key;
        int node;
    };
    static quint64 edgeKey(int node, int word) { return (quint64(quint32(node)) << 32) | quint32(word); }
    int child(int node, int word, bool &created);
    int edge(int node, int word) const;
    void settle(int node, quint32 restBegin, quint32 restEnd);
    bool matchNode(int node, qsizetype word) const;
    bool matchRest(quint32 rest, quint32 restEnd, qsizetype word) const;

    std::vector<Node> m_nodes = std::vector<Node>(1);
    std::vector<Edge> m_edges;
    SlotTable m_edgeSlots;
    std::vector<int> m_rests;
    // The query being matched, and the states already tried: each failed or is being tried.
    mutable const int *m_words = nullptr;
    mutable qsizetype m_count = 0;
    mutable TriedStates m_tried;
};

int PatternIndex::edge(int node, int word) const
{
    const quint64 key = edgeKey(node, word);
    const qint64 e = m_edgeSlots.find(hashNumber(key), [&](quint32 other) { return m_edges[other].key == key; });
    return e < 0 ? -1 : m_edges[size_t(e)].node;
}

int PatternIndex::child(int node, int word, bool &created)
{
    int Node::*wildcard = word == kUnder ? &Node::under
        : word == kStar                  ? &Node::star
        : word == kAnyWord               ? &Node::any
                                         : nullptr;
    int next = wildcard ? m_nodes[size_t(node)].*wildcard : edge(node, word);
    created = next < 0;
    if (!created)
        return next;
    next = int(m_nodes.size());
    m_nodes.emplace_back();
    if (wildcard) {
        m_nodes[size_t(node)].*wildcard = next;
    } else {
        const quint64 key = edgeKey(node, word);
        m_edgeSlots.findOrAdd(hashNumber(key), quint32(m_edges.size()), [](quint32) { return false; });
        m_edges.push_back({ key, next });
    }
    return next;
}

void PatternIndex::settle(int node, quint32 restBegin, quint32 restEnd)
{
    Node &n = m_nodes[size_t(node)];
    if (restBegin == restEnd) {
        n.end = true;
    } else {
        n.restBegin = restBegin;
        n.restEnd = restEnd;
    }
}

void PatternIndex::add(const std::vector<int> &pattern)
{
    quint32 rest = quint32(m_rests.size());
    m_rests.insert(m_rests.end(), pattern.begin(), pattern.end());
    const quint32 restEnd = quint32(m_rests.size());
    int node = 0;
    for (;;) {
        if (Node &n = m_nodes[size_t(node)]; n.restBegin != n.restEnd) {
            const quint32 pending = std::exchange(n.restBegin, 0);
            const quint32 pendingEnd = std::exchange(n.restEnd, 0);
            bool created = false;
            const int next = child(node, m_rests[pending], created);
            settle(next, pending + 1, pendingEnd);
        }
        if (rest == restEnd) {
            m_nodes[size_t(node)].end = true;
            return;
        }
        bool created = false;
        const int next = child(node, m_rests[rest], created);
        if (created) {
            settle(next, rest + 1, restEnd);
            return;
        }
        node = next;
        ++rest;
    }
}

bool PatternIndex::matches(const int *words, qsizetype count) const
{
    if (m_nodes.size() == 1 && !m_nodes.front().end)
        return false;
    m_words = words;
    m_count = count;
    m_tried.startQuery();
    return matchNode(0, 0);
}

bool PatternIndex::matchNode(int node, qsizetype word) const
{
    if (!m_tried.insert((quint64(quint32(node)) << 32) | quint64(word)))
        return false;
    const Node &n = m_nodes[size_t(node)];
    if (n.restBegin != n.restEnd && matchRest(n.restBegin, n.restEnd, word))
        return true;
    if (word == m_count)
        return n.end;
    auto wildcard = [&](int next) {
        for (qsizetype w = word + 1; next >= 0 && w <= m_count; ++w) {
            if (matchNode(next, w))
                return true;
        }
        return false;
    };
    if (wildcard(n.under))
        return true;
    if (const int next = edge(node, m_words[word]); next >= 0 && matchNode(next, word + 1))
        return true;
    if (n.any >= 0 && matchNode(n.any, word + 1))
        return true;
    return wildcard(n.star);
}

bool PatternIndex::matchRest(quint32 rest, quint32 restEnd, qsizetype word) const
{
    if (rest == restEnd)
        return word == m_count;
    // The top bit keeps rest states apart from node states.
    if (!m_tried.insert((quint64(1) << 63) | (quint64(rest) << 32) | quint64(word)))
        return false;
    const int first = m_rests[rest];
    if (first == kStar || first == kUnder) {
        for (qsizetype w = word + 1; w <= m_count; ++w) {
            if (matchRest(rest + 1, restEnd, w))
                return true;
        }
        return false;
    }
    return word < m_count && (first == kAnyWord || first == m_words[word]) && matchRest(rest + 1, restEnd, word + 1);
}

// Words given numbers: each distinct word once.
class Vocabulary final
{
public:
    // The word's number, a new one when it is new.
    int add(QByteArrayView word)
    {
        const qint64 known = m_slots.findOrAdd(
            hashBytes(word), quint32(m_words.size()), [&](quint32 w) { return m_words[w] == word; });
        if (known >= 0)
            return int(known);
        m_words.push_back(word);
        return int(m_words.size() - 1);
    }
    // The word's number, kNoWord for a word not in it.
    int find(QByteArrayView word) const
    {
        const qint64 known = m_slots.find(hashBytes(word), [&](quint32 w) { return m_words[w] == word; });
        return known < 0 ? kNoWord : int(known);
    }

private:
    std::vector<QByteArrayView> m_words;
    SlotTable m_slots;
};

} // namespace

// What one index, or one of the indexes appended to it, recorded: appending keeps them apart
// rather than copying them together.
struct IndexPart
{
    // A category's normalised pattern, that and topic stand in `keys`, NUL after each of the
    // first two.
    struct Category
    {
        quint32 hash;
        quint32 key;
        quint32 keySize;
        quint32 patternSize;
        CheckPlace place;
    };
    struct Srai
    {
        quint32 words;
        quint32 size;
        CheckPlace place;
    };
    QByteArrayView key(const Category &c) const { return QByteArrayView(keys).sliced(c.key, c.keySize); }
    QByteArrayView pattern(const Category &c) const { return key(c).first(c.patternSize); }
    QByteArrayView words(const Srai &s) const { return QByteArrayView(sraiWords).sliced(s.words, s.size); }

    // Settles `order`: the categories' hashes with their numbers, sorted by hash and, for one
    // hash, by number. Sorted a byte of the hash at a time, from the lowest: four passes that
    // keep the order of equal bytes read the numbers in order.
    void settle()
    {
        if (order.size() == categories.size())
            return;
        order.resize(categories.size());
        for (size_t i = 0; i < categories.size(); ++i)
            order[i] = { categories[i].hash, quint32(i) };
        std::vector<std::pair<quint32, quint32>> other(order.size());
        for (int shift = 0; shift < 32; shift += 8) {
            std::array<size_t, 257> starts {};
            for (const auto &entry : order)
                ++starts[((entry.first >> shift) & 0xFF) + 1];
            for (size_t b = 1; b < starts.size(); ++b)
                starts[b] += starts[b - 1];
            for (const auto &entry : order)
                other[starts[(entry.first >> shift) & 0xFF]++] = entry;
            order.swap(other);
        }
    }

    QByteArray keys;
    std::vector<Category> categories;
    QByteArray sraiWords;
    std::vector<Srai> srais;
    std::vector<std::pair<quint32, quint32>> order;
};

struct CheckIndex::Data
{
    std::vector<IndexPart> parts = std::vector<IndexPart>(1);
};

CheckIndex::CheckIndex() : d(std::make_unique<Data>())
{
}

CheckIndex::~CheckIndex() = default;

void CheckIndex::addCategory(QByteArrayView pattern, QByteArrayView that, QByteArrayView topic, CheckPlace place)
{
    IndexPart &part = d->parts.back();
    QByteArray &keys = part.keys;
    // One resize for the three texts, written through a pointer.
    const qsizetype start = keys.size();
    keys.resize(start + normalisedRoom(pattern) + normalisedRoom(that) + normalisedRoom(topic) + 2);
    char *const begin = keys.data() + start;
    char *o = writeNormalised(begin, pattern, false);
    const qsizetype patternSize = o - begin;
    *o++ = '\0';
    o = writeNormalised(o, that, true);
    *o++ = '\0';
    o = writeNormalised(o, topic, true);
    const QByteArrayView key(begin, o);
    part.categories.push_back(
        { quint32(hashBytes(key)), quint32(start), quint32(key.size()), quint32(patternSize), place });
    keys.truncate(start + key.size());
}

void CheckIndex::addSrai(QByteArrayView text, CheckPlace place)
{
    IndexPart &part = d->parts.back();
    const qsizetype start = part.sraiWords.size();
    appendSraiWords(part.sraiWords, text);
    part.srais.push_back({ quint32(start), quint32(part.sraiWords.size() - start), place });
}

void CheckIndex::settle()
{
    d->parts.back().settle();
}

void CheckIndex::append(CheckIndex &&later)
{
    for (IndexPart &part : later.d->parts)
        d->parts.push_back(std::move(part));
    later.d = std::make_unique<Data>();
}

std::vector<CheckIndex::Duplicate> CheckIndex::duplicates() const
{
    // Sorted by hash, not probed in a table: a table as large as the categories is one cache
    // miss a category, sorting reads them in order. Each part is sorted on its own, then they
    // are merged; the part's number stands in the top bits.
    std::vector<std::pair<quint32, quint64>> order;
    for (size_t p = 0; p < d->parts.size(); ++p) {
        IndexPart &part = d->parts[p];
        part.settle();
        std::vector<std::pair<quint32, quint64>> merged;
        merged.reserve(order.size() + part.order.size());
        auto ours = part.order.begin();
        for (const auto &earlier : order) {
            for (; ours != part.order.end() && ours->first < earlier.first; ++ours)
                merged.emplace_back(ours->first, (quint64(p) << 32) | ours->second);
            merged.push_back(earlier);
        }
        for (; ours != part.order.end(); ++ours)
            merged.emplace_back(ours->first, (quint64(p) << 32) | ours->second);
        order = std::move(merged);
    }
    auto category = [this](quint64 at) -> std::pair<const IndexPart &, const IndexPart::Category &> {
        const IndexPart &part = d->parts[at >> 32];
        return { part, part.categories[at & 0xFFFFFFFFU] };
    };
    std::vector<Duplicate> found;
    for (size_t run = 0; run < order.size();) {
        size_t end = run + 1;
        while (end < order.size() && order[end].first == order[run].first)
            ++end;
        // Within a run of one hash, each category against those before it.
        for (size_t i = run + 1; i < end; ++i) {
            const auto [part, later] = category(order[i].second);
            for (size_t j = run; j < i; ++j) {
                const auto [earlierPart, earlier] = category(order[j].second);
                if (earlierPart.key(earlier) == part.key(later)) {
                    found.push_back({ later.place, earlier.place });
                    break;
                }
            }
        }
        run = end;
    }
    std::sort(found.begin(), found.end(), [](const Duplicate &a, const Duplicate &b) {
        return std::pair(a.place.document, a.place.offset) < std::pair(b.place.document, b.place.offset);
    });
    return found;
}

std::vector<CheckIndex::UnmatchedSrai> CheckIndex::unmatchedSrais() const
{
    std::vector<UnmatchedSrai> unmatched;
    // The srais' words as numbers.
    Vocabulary vocabulary;
    std::vector<int> sraiNumbers;
    std::vector<qsizetype> sraiStarts;
    for (const IndexPart &part : d->parts) {
        for (const IndexPart::Srai &srai : part.srais) {
            sraiStarts.push_back(qsizetype(sraiNumbers.size()));
            forEachWord(part.words(srai), [&](QByteArrayView word) { sraiNumbers.push_back(vocabulary.add(word)); });
        }
    }
    if (sraiStarts.empty())
        return unmatched;
    sraiStarts.push_back(qsizetype(sraiNumbers.size()));

    // A pattern with a word that no srai holds matches none of them: only the others are
    // indexed. The small table of the srais' words is much cheaper to ask than a tree of
    // every pattern is to build.
    PatternIndex index;
    std::vector<int> pattern;
    for (const IndexPart &part : d->parts) {
        for (const IndexPart::Category &category : part.categories) {
            // From the last word: the last words of a pattern tend to be its rarest, and most
            // patterns fall out at the first word looked up.
            const QByteArray words = matchedPatternWords(part.pattern(category));
            const QByteArrayView text = words;
            pattern.clear();
            bool possible = true;
            for (qsizetype end = text.size(); possible && end > 0;) {
                const qsizetype blank = text.lastIndexOf(' ', end - 1);
                const QByteArrayView w = text.sliced(blank + 1, end - blank - 1);
                const int number = w == "*"  ? kStar
                    : w == "_"               ? kUnder
                    : w.startsWith(kBotMark) ? kAnyWord
                                             : vocabulary.find(w);
                possible = number != kNoWord;
                pattern.push_back(number);
                end = blank;
            }
            if (possible) {
                std::reverse(pattern.begin(), pattern.end());
                index.add(pattern);
            }
        }
    }
    size_t i = 0;
    for (const IndexPart &part : d->parts) {
        for (const IndexPart::Srai &srai : part.srais) {
            const qsizetype count = sraiStarts[i + 1] - sraiStarts[i];
            if (count == 0 || !index.matches(sraiNumbers.data() + sraiStarts[i], count))
                unmatched.push_back({ srai.place, part.words(srai).toByteArray() });
            ++i;
        }
    }
    return unmatched;
}

QByteArray normalisedAimlText(QByteArrayView text, bool emptyIsStar)
{
    QByteArray out(normalisedRoom(text), Qt::Uninitialized);
    out.truncate(writeNormalised(out.data(), text, emptyIsStar) - out.constData());
    return out;
}

QByteArray sraiWords(QByteArrayView text)
{
    QByteArray out;
    appendSraiWords(out, text);
    return out;
}

} // namespace vorrel
