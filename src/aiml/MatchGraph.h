#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <memory>
#include <span>
#include <type_traits>
#include <vector>

namespace vorrel {

class BotProperties;

// A word of a path as a number: words of the categories from kFirstWord on, below it what
// stands in a path besides words.
using WordId = qint32;

// Words given numbers, each distinct word once; "*" and "_" are the wildcards. Kept as UTF-8
// (the checker's words) or UTF-16 (the bot's).
template<typename Unit> class WordIds final
{
public:
    using View = std::conditional_t<std::is_same_v<Unit, char>, QByteArrayView, QStringView>;

    WordIds();
    ~WordIds();
    WordIds(WordIds &&) noexcept;
    WordIds &operator=(WordIds &&) noexcept;

    // The word's number, a new one when it is new.
    WordId add(View word);
    // The word's number; kNoWord for a word it does not have.
    WordId find(View word) const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};

// The categories of a bot as one tree of their paths (pattern, <that>, that, <topic>, topic),
// which answers in the time of the sentence's length rather than the number of categories.
// The one matcher: the bot answers with it and the checker looks for srai targets with it.
//
// "_" and "*" take one or more words ("_" tried first, then the word, then "*", each wildcard
// taking one word, then two, and so on), any other word itself. The words of a pattern side
// come from forEachPatternWord() or appendPatternWords(), those of an input from forEachWord()
// or appendWords(), so that both are split and cased alike.
class MatchGraph final
{
public:
    static constexpr WordId kThat = 0;
    static constexpr WordId kTopic = 1;
    static constexpr WordId kStar = 2;
    static constexpr WordId kUnderscore = 3;
    static constexpr WordId kFirstWord = 4;
    // An input's word that no category holds: only wildcards take it.
    static constexpr WordId kNoWord = -1;

    MatchGraph();
    ~MatchGraph();
    MatchGraph(MatchGraph &&) noexcept;
    MatchGraph &operator=(MatchGraph &&) noexcept;

    void clear();
    // Room for paths of `words` words in all more.
    void reserve(qsizetype words);

    // Adds a category under its pattern, that and topic: their word numbers, a wildcard as
    // kStar or kUnderscore. An empty that or topic is "*". A pattern without words matches
    // nothing and is not added (false). A category on the path of an earlier one takes its
    // place.
    bool add(
        std::span<const WordId> pattern, std::span<const WordId> that, std::span<const WordId> topic, qint32 category);

    struct Words
    {
        qint32 begin = 0;
        qint32 end = 0;
    };
    struct Match
    {
        // The category, -1 when nothing matched.
        qint32 category = -1;
        // The words each wildcard took, in the order of the path, as places in the input, the
        // that and the topic.
        std::vector<Words> inputStars;
        std::vector<Words> thatStars;
        std::vector<Words> topicStars;
        // The search gave up because `steps` ran out, not because no path exists.
        bool exhausted = false;
    };

    // `that` and `topic` hold at least one word ("*" stands for none). Every step of the
    // search takes one from `steps`; at zero it stops without a match, so that no set of
    // categories can make one answer take forever. One search at a time.
    Match match(std::span<const WordId> input, std::span<const WordId> that, std::span<const WordId> topic,
        qint64 &steps) const;

    // Whether some category's pattern takes the words, whatever its that and topic: the
    // conversation may come to any of them. False also when `steps` ran out (`exhausted`).
    bool matchesPattern(std::span<const WordId> input, qint64 &steps, bool *exhausted = nullptr) const;

    // Two categories on one path take one place, the later one answering: their key is the
    // same. Appends the key of a pattern, that and topic in marked form (appendPatternWords()),
    // its pattern's words first, and returns their size; 0, with nothing appended, when the
    // pattern has no words.
    static qsizetype appendKey(QByteArray &key, QByteArrayView pattern, QByteArrayView that, QByteArrayView topic,
        const BotProperties &properties);
    // A hash of a key, for finding equal ones among many.
    static quint32 keyHash(QByteArrayView key);

private:
    struct Search;
    Match search(const std::vector<WordId> &path, bool patternOnly, qint64 &steps) const;
    qint32 child(qint32 node, WordId word) const;
    qint32 addChild(qint32 node, WordId word);
    void growEdges(size_t capacity);

    struct Node
    {
        qint32 star = -1;
        qint32 underscore = -1;
        // The child through <that> or <topic>: a node belongs to one part of the path, so it
        // has at most one of the two.
        qint32 nextPart = -1;
        qint32 category = -1;
    };
    // Word edges of every node in one open-addressing table: a node-based map would spend most
    // of the building allocating.
    struct Edge
    {
        quint32 node;
        WordId word;
        qint32 child;
    };

    std::vector<Node> m_nodes;
    // Whether a node has word edges: a wildcard whose node has none can only end where its
    // part of the path ends.
    std::vector<bool> m_hasWords;
    std::vector<Edge> m_edges;
    size_t m_edgeCount = 0;
    std::unique_ptr<Search> m_search;
};

extern template class WordIds<char>;
extern template class WordIds<char16_t>;

} // namespace vorrel
