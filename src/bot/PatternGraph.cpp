#include "bot/PatternGraph.h"

#include "aiml/Words.h"

namespace vorrel {

void PatternGraph::build(const std::vector<BotCategory> &rows, const BotProperties &properties)
{
    m_words = WordIds<char16_t>();
    m_graph.clear();

    // Every row's words first, so that the graph's table is sized once for all of them.
    std::vector<WordId> ids;
    ids.reserve(rows.size() * 8);
    struct Path
    {
        size_t pattern;
        size_t that;
        size_t topic;
        size_t end;
    };
    std::vector<Path> paths(rows.size());
    const auto add = [this, &ids](QStringView word) { ids.push_back(m_words.add(word)); };
    for (size_t i = 0; i < rows.size(); ++i) {
        Path &path = paths[i];
        path.pattern = ids.size();
        forEachPatternWord(rows[i].pattern, properties, add);
        path.that = ids.size();
        forEachPatternWord(rows[i].that, properties, add);
        path.topic = ids.size();
        forEachPatternWord(rows[i].topic, properties, add);
        path.end = ids.size();
    }
    m_graph.reserve(qsizetype(ids.size()));
    const std::span<const WordId> all(ids);
    for (size_t i = 0; i < rows.size(); ++i) {
        const Path &p = paths[i];
        m_graph.add(all.subspan(p.pattern, p.that - p.pattern), all.subspan(p.that, p.topic - p.that),
            all.subspan(p.topic, p.end - p.topic), qint32(i));
    }
}

PatternGraph::Match PatternGraph::match(
    const QStringList &input, const QStringList &that, const QStringList &topic, qint64 &steps) const
{
    auto idsOf = [this](const QStringList &words) {
        std::vector<WordId> ids;
        ids.reserve(size_t(words.size()));
        for (const QString &word : words)
            ids.push_back(m_words.find(word));
        return ids;
    };
    const MatchGraph::Match found = m_graph.match(idsOf(input), idsOf(that), idsOf(topic), steps);
    Match result;
    result.row = found.category;
    result.exhausted = found.exhausted;
    auto starsOf = [](const QStringList &words, const std::vector<MatchGraph::Words> &stars) {
        QStringList texts;
        for (const MatchGraph::Words &star : stars)
            texts.append(words.mid(star.begin, star.end - star.begin).join(QLatin1Char(' ')));
        return texts;
    };
    result.inputStars = starsOf(input, found.inputStars);
    result.thatStars = starsOf(that, found.thatStars);
    result.topicStars = starsOf(topic, found.topicStars);
    return result;
}

} // namespace vorrel
