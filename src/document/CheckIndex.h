#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <vector>

namespace vorrel {

class BotProperties;

// Where a category or a srai stands: its document's number in the check and the byte offset
// of its start tag there.
struct CheckPlace
{
    int document = 0;
    qsizetype offset = 0;
};

// What a check learns from the categories and srais of its documents, and what it finds among
// them once all are in: categories that take the place of an earlier one in the bot's matcher
// (the same pattern, that and topic as matching reads them), and srai targets that no pattern
// matches. The documents of one bot share one index. Texts come as the XML parser hands them
// on (UTF-8) and become words by the rules the bot follows (aiml/Words.h), and the srai
// targets are looked for with the bot's own matcher (aiml/MatchGraph.h).
class CheckIndex final
{
public:
    explicit CheckIndex(const BotProperties &properties);
    ~CheckIndex();
    CheckIndex(const CheckIndex &) = delete;
    CheckIndex &operator=(const CheckIndex &) = delete;

    // Makes room for as many categories as `bytes` of a document can hold.
    void reserveFor(qsizetype bytes);
    // Records a category: its pattern and that in marked form (appendPatternElement()), its
    // topic's name; `that` and `topic` are empty when it has none.
    void addCategory(QByteArrayView pattern, QByteArrayView that, QByteArrayView topic, CheckPlace place);
    // Records the text of a srai that holds no element.
    void addSrai(QByteArrayView text, CheckPlace place);
    // Takes what `later` recorded, as if it had been added after what this one has.
    void append(CheckIndex &&later);
    // Does now, in the caller's thread, the part of the questions below that needs only what
    // was recorded since the last append(): a part read in a thread of its own settles there.
    void settle();

    // The places of the srais recorded, in the order they were added.
    std::vector<CheckPlace> sraiPlaces() const;

    // A category on the path of an earlier one, and that earlier one.
    struct Duplicate
    {
        CheckPlace place;
        CheckPlace earlier;
    };
    // Sorted by place. This question and the next may be asked at once, from two threads.
    std::vector<Duplicate> duplicates() const;

    struct UnmatchedSrai
    {
        CheckPlace place;
        // Where its words stand in UnmatchedSrais::words; none for an empty srai.
        qsizetype wordsAt = 0;
        qsizetype wordsSize = 0;
    };
    // The words of all of them in one block: one allocation, not one a srai.
    struct UnmatchedSrais
    {
        std::vector<UnmatchedSrai> srais;
        // Each srai's words as the bot takes them, one blank between.
        QByteArray words;
        QByteArrayView wordsOf(const UnmatchedSrai &srai) const
        {
            return QByteArrayView(words).sliced(srai.wordsAt, srai.wordsSize);
        }
    };
    // The srais whose words no recorded pattern matches, whatever that and topic the
    // conversation has then, in the order they were added.
    UnmatchedSrais unmatchedSrais() const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};

} // namespace vorrel
