#include "document/CheckIndex.h"

#include "aiml/BotProperties.h"
#include "aiml/MatchGraph.h"
#include "aiml/Words.h"

#include <algorithm>
#include <array>

namespace vorrel {

namespace {

// The steps one srai may take in the matcher, far more than any real bot needs: a srai that
// runs out is not called dead, since the bot might yet answer it.
constexpr qint64 kSraiSteps = 1'000'000;

} // namespace

// What one index, or one of the indexes appended to it, recorded: appending keeps them apart
// rather than copying them together.
struct IndexPart
{
    // A category's key (MatchGraph::appendKey()) stands in `keys`, its pattern's words first.
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
    explicit Data(const BotProperties &p) : properties(p) { }

    const BotProperties &properties;
    std::vector<IndexPart> parts = std::vector<IndexPart>(1);
};

CheckIndex::CheckIndex(const BotProperties &properties) : d(std::make_unique<Data>(properties))
{
}

CheckIndex::~CheckIndex() = default;

void CheckIndex::reserveFor(qsizetype bytes)
{
    // The shortest category, <category><pattern>A</pattern><template/></category>, takes 51
    // bytes. Growing would copy the records into fresh memory, which costs more than the bytes
    // on some systems; room that is never written is never given pages.
    constexpr qsizetype kShortestCategory = 51;
    IndexPart &part = d->parts.back();
    part.categories.reserve(part.categories.size() + size_t(bytes / kShortestCategory));
}

void CheckIndex::addCategory(QByteArrayView pattern, QByteArrayView that, QByteArrayView topic, CheckPlace place)
{
    IndexPart &part = d->parts.back();
    const qsizetype start = part.keys.size();
    const qsizetype patternSize = MatchGraph::appendKey(part.keys, pattern, that, topic, d->properties);
    // A pattern without words matches nothing: the bot leaves it out.
    if (patternSize == 0)
        return;
    const QByteArrayView key = QByteArrayView(part.keys).sliced(start);
    part.categories.push_back(
        { MatchGraph::keyHash(key), quint32(start), quint32(key.size()), quint32(patternSize), place });
}

void CheckIndex::addSrai(QByteArrayView text, CheckPlace place)
{
    IndexPart &part = d->parts.back();
    const qsizetype start = part.sraiWords.size();
    appendWords(part.sraiWords, text, start);
    part.srais.push_back({ quint32(start), quint32(part.sraiWords.size() - start), place });
}

void CheckIndex::settle()
{
    d->parts.back().settle();
}

void CheckIndex::append(CheckIndex &&later)
{
    for (IndexPart &part : later.d->parts) {
        // Every part costs a pass of the merge: an empty one is left out.
        if (!part.categories.empty() || !part.srais.empty())
            d->parts.push_back(std::move(part));
    }
    later.d = std::make_unique<Data>(d->properties);
}

std::vector<CheckPlace> CheckIndex::sraiPlaces() const
{
    std::vector<CheckPlace> places;
    for (const IndexPart &part : d->parts) {
        for (const IndexPart::Srai &srai : part.srais)
            places.push_back(srai.place);
    }
    return places;
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

CheckIndex::UnmatchedSrais CheckIndex::unmatchedSrais() const
{
    UnmatchedSrais unmatched;
    // The srais' words as numbers.
    WordIds<char> vocabulary;
    std::vector<WordId> sraiNumbers;
    std::vector<qsizetype> sraiStarts;
    for (const IndexPart &part : d->parts) {
        for (const IndexPart::Srai &srai : part.srais) {
            sraiStarts.push_back(qsizetype(sraiNumbers.size()));
            forEachListedWord(
                part.words(srai), [&](QByteArrayView word) { sraiNumbers.push_back(vocabulary.add(word)); });
        }
    }
    if (sraiStarts.empty())
        return unmatched;
    sraiStarts.push_back(qsizetype(sraiNumbers.size()));

    // A pattern with a word that no srai holds matches none of them: only the others go into
    // the matcher. The small table of the srais' words is much cheaper to ask than a graph of
    // every pattern is to build.
    std::vector<WordId> patterns;
    std::vector<size_t> patternStarts;
    for (const IndexPart &part : d->parts) {
        for (const IndexPart::Category &category : part.categories) {
            // From the last word: the last words of a pattern tend to be its rarest, and most
            // patterns fall out at the first word looked up.
            const QByteArrayView text = part.pattern(category);
            const size_t start = patterns.size();
            bool possible = true;
            for (qsizetype end = text.size(); possible && end > 0;) {
                const qsizetype blank = text.lastIndexOf(' ', end - 1);
                const WordId number = vocabulary.find(text.sliced(blank + 1, end - blank - 1));
                possible = number != MatchGraph::kNoWord;
                patterns.push_back(number);
                end = blank;
            }
            if (possible) {
                std::reverse(patterns.begin() + qsizetype(start), patterns.end());
                patternStarts.push_back(start);
            } else {
                patterns.resize(start);
            }
        }
    }
    patternStarts.push_back(patterns.size());
    MatchGraph graph;
    graph.reserve(qsizetype(patterns.size()));
    const std::span<const WordId> allPatterns(patterns);
    for (size_t i = 0; i + 1 < patternStarts.size(); ++i)
        graph.add(allPatterns.subspan(patternStarts[i], patternStarts[i + 1] - patternStarts[i]), {}, {}, 0);

    // Room for all of them: growing would copy into fresh memory, which costs more than the bytes.
    qsizetype allWords = 0;
    for (const IndexPart &part : d->parts)
        allWords += part.sraiWords.size();
    unmatched.srais.reserve(sraiStarts.size() - 1);
    unmatched.words.reserve(allWords);
    const std::span<const WordId> allSrais(sraiNumbers);
    size_t i = 0;
    for (const IndexPart &part : d->parts) {
        for (const IndexPart::Srai &srai : part.srais) {
            const auto words = allSrais.subspan(size_t(sraiStarts[i]), size_t(sraiStarts[i + 1] - sraiStarts[i]));
            qint64 steps = kSraiSteps;
            bool exhausted = false;
            if (words.empty() || (!graph.matchesPattern(words, steps, &exhausted) && !exhausted)) {
                unmatched.srais.push_back({ srai.place, unmatched.words.size(), srai.size });
                unmatched.words.append(part.words(srai));
            }
            ++i;
        }
    }
    return unmatched;
}

} // namespace vorrel
