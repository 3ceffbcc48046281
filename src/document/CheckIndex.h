#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <optional>
#include <vector>

namespace vorrel {

// Stands for <bot name="..."/> in a pattern's text, followed by the name; XML text can never
// hold U+0001.
inline constexpr char kBotMark = '\x01';

// Where a category or a srai stands: its document's number in the check and the byte offset
// of its start tag there.
struct CheckPlace
{
    int document = 0;
    qsizetype offset = 0;
};

// What a check learns from the categories and srais of its documents, and what it finds among
// them once all are in: categories whose pattern, that and topic an earlier one has, and srai
// targets that no pattern matches. The documents of one bot share one index; texts come as
// written (UTF-8) and are normalised here, so that what counts as the same pattern and what a
// srai matches are decided in one place.
class CheckIndex final
{
public:
    CheckIndex();
    ~CheckIndex();
    CheckIndex(const CheckIndex &) = delete;
    CheckIndex &operator=(const CheckIndex &) = delete;

    // Records a category; `that` and `topic` are empty when it has none.
    void addCategory(QByteArrayView pattern, QByteArrayView that, QByteArrayView topic, CheckPlace place);
    // Records the text of a srai that holds no element.
    void addSrai(QByteArrayView text, CheckPlace place);
    // Takes what `later` recorded, as if it had been added after what this one has.
    void append(CheckIndex &&later);
    // Does now, in the caller's thread, the part of the questions below that needs only what
    // was recorded since the last append(): a part read in a thread of its own settles there.
    void settle();

    // A category with the pattern, that and topic of an earlier one, and that earlier one.
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
        // Its words as an interpreter takes them, one blank between; empty for an empty srai.
        QByteArray words;
    };
    // The srais whose words no recorded pattern matches, in the order they were added.
    std::vector<UnmatchedSrai> unmatchedSrais() const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};

// The code point of the valid UTF-8 at `p`, which moves past it. The XML parser hands out
// valid UTF-8 only.
inline char32_t nextUtf8CodePoint(const char *&p, const char *end)
{
    const auto lead = static_cast<unsigned char>(*p++);
    if (lead < 0x80)
        return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t c = lead & (0x3F >> extra);
    for (int i = 0; i < extra && p < end; ++i)
        c = (c << 6) | (static_cast<unsigned char>(*p++) & 0x3F);
    return c;
}

// Upper case (every letter of the first plane), runs of blanks as one blank, no blanks at
// the ends; "*" when nothing is left and `emptyIsStar`.
QByteArray normalisedAimlText(QByteArrayView text, bool emptyIsStar);

// A srai's text as an interpreter takes its input: split at every character that is not a word
// character, "*" or "_"; upper case; one blank between the words.
QByteArray sraiWords(QByteArrayView text);

} // namespace vorrel
