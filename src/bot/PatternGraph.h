#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

namespace vorrel {

// One category as the bot sees it: the cells of a grid row, as typed. An empty topic is "*".
struct BotCategory
{
    QString pattern;
    QString that;
    QString templ;
    QString topic;
};

// The text split at ".", "!", "?" and ";", each piece split into its normalised words
// (normalisedWords()), empty ones left out; each sentence as its words joined by one blank.
QStringList normalisedSentences(QStringView text);

// Whether the words match the pattern words, where "*" and "_" each take one or more words.
bool wordsMatch(const QStringList &pattern, const QStringList &words);

// The categories' match paths (pattern, <that>, that, <topic>, topic) merged into one tree, so
// that an answer costs the length of the sentence rather than the number of rows.
class PatternGraph final
{
public:
    // Bot property values by name, for <bot name="x"/> inside a pattern.
    using BotProperty = std::function<QString(const QString &name)>;

    struct Match
    {
        // Index into the rows given to build(), -1 when nothing matched.
        int row = -1;
        QStringList inputStars;
        QStringList thatStars;
        QStringList topicStars;
        // The match gave up because `steps` ran out, not because no path exists.
        bool exhausted = false;
    };

    // Rows whose pattern has no words are left out; of two rows with the same pattern and that,
    // the later one wins.
    void build(const std::vector<BotCategory> &rows, const BotProperty &botProperty);

    // `that` and `topic` hold at least one word ("*" stands for none). Every step of the
    // search takes one from `steps`; at zero the search stops without a match, so no table can
    // make one answer take forever.
    Match match(const QStringList &input, const QStringList &that, const QStringList &topic, qint64 &steps) const;

private:
    struct Node
    {
        qint32 star = -1;
        qint32 underscore = -1;
        // The child through <that> or <topic>: a node belongs to one part of the path, so it
        // has at most one of the two.
        qint32 nextPart = -1;
        qint32 row = -1;
    };
    // Word edges of every node in one open-addressing table: a node-based map spends most
    // of the build allocating, and the table's size is known before the first insertion.
    struct Edge
    {
        quint32 node;
        qint32 word;
        qint32 child;
    };

    qint32 wordId(QStringView word) const;
    qint32 internWord(QStringView word);
    qint32 child(qint32 node, qint32 word) const;
    qint32 addChild(qint32 node, qint32 word);
    void appendPatternIds(QStringView text, const BotProperty &botProperty, std::vector<qint32> &ids);

    std::vector<Node> m_nodes;
    // Whether a node has word edges: a wildcard whose node has none can only end where its
    // part of the path ends.
    std::vector<bool> m_hasWords;
    std::vector<Edge> m_edges;
    QHash<QString, qint32> m_words;
};

} // namespace vorrel
