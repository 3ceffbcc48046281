#pragma once

#include "aiml/MatchGraph.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vorrel {

class BotProperties;

// One category as the bot sees it: the cells of a grid row, as typed. An empty topic is "*".
struct BotCategory
{
    QString pattern;
    QString that;
    QString templ;
    QString topic;
};

// The rows of the table in the shared matcher, with the words as the bot holds them.
class PatternGraph final
{
public:
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

    // Rows whose pattern has no words are left out; of two rows on the same path, the later
    // one wins. A <bot name="..."/> in a pattern, that or topic matches as `properties` have it.
    void build(const std::vector<BotCategory> &rows, const BotProperties &properties);

    // Words as forEachWord() gives them; `that` and `topic` hold at least one word ("*" stands
    // for none). See MatchGraph::match() for `steps`.
    Match match(const QStringList &input, const QStringList &that, const QStringList &topic, qint64 &steps) const;

private:
    WordIds<char16_t> m_words;
    MatchGraph m_graph;
};

} // namespace vorrel
