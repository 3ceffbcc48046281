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
        // Its words as the bot takes them, one blank between; empty for an empty srai.
        QByteArray words;
    };
    // The srais whose words no recorded pattern matches, whatever that and topic the
    // conversation has then, in the order they were added.
    std::vector<UnmatchedSrai> unmatchedSrais() const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};

} // namespace vorrel
