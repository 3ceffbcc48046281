#pragma once

#include "document/DocumentText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QRegularExpression>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vorrel {

class CategoryTable;

// What the Find dialog asks for.
struct SearchOptions
{
    QString text;
    bool matchCase = false;
    bool wholeWords = false;
    bool regExp = false;
};

// The expression a cell is searched with: the text itself unless it is a regular expression,
// whole words bounded by word boundaries. Invalid when the regular expression is.
QRegularExpression cellExpression(const SearchOptions &options);

// A match in a document's bytes, from `start` up to `end`.
struct TextMatch
{
    qsizetype start = 0;
    qsizetype end = 0;
    QRegularExpressionMatch match;
};

// A match's place alone.
struct MatchSpan
{
    qsizetype start = 0;
    qsizetype end = 0;
};

// A search running on a thread of its own: how far into the text it has got, in characters,
// and whether it is to stop at the next match.
struct SearchControl
{
    std::atomic<qsizetype> reached { 0 };
    std::atomic<bool> stop { false };
};

// What Replace All makes of a text: the bytes that replace the stretch from the first match's
// start to the last match's end.
struct ReplacedText
{
    enum Status {
        Done,
        Stopped,
        // The replacement has characters the document's encoding cannot hold.
        Unwritable,
        // The text would grow past the size it may have.
        TooLarge,
    };
    Status status = Done;
    qsizetype count = 0;
    qsizetype start = 0;
    qsizetype end = 0;
    QByteArray bytes;
};

// A document's bytes as characters, with the way back from a character to its bytes; made
// once for as many searches as the text stays the same.
class SearchText final
{
public:
    SearchText(QByteArrayView bytes, TextEncoding encoding);

    const QString &text() const { return m_text; }
    TextEncoding encoding() const { return m_encoding; }
    qsizetype byteSize() const { return m_byteSize; }
    // The bytes of characters `from` up to `to`, as the document holds them.
    void appendBytes(QByteArray &out, qsizetype from, qsizetype to) const;
    qsizetype charOf(qsizetype byte) const;
    qsizetype byteOf(qsizetype character) const;
    // Byte offsets of characters asked for in order, each from the one before.
    class Walker
    {
    public:
        explicit Walker(const SearchText &text) : m_text(text) { }
        qsizetype byteOf(qsizetype character);

    private:
        const SearchText &m_text;
        qsizetype m_character = 0;
        qsizetype m_byte = 0;
    };

private:
    TextEncoding m_encoding;
    // One character a byte, when the text is held so or is not valid UTF-8.
    bool m_bytewise = true;
    qsizetype m_byteSize = 0;
    QString m_text;
    // The byte offset of every kStride-th character.
    std::vector<qsizetype> m_strideBytes;
};

// Searches a document's bytes by their characters, with the expression the cells are searched
// with: letter case, whole words and regular expressions mean the same in the text as in the
// table, for any letter. The expression sees the whole text wherever a search starts, so that
// what stands before a match counts for word boundaries and look-behinds.
class TextFinder final
{
public:
    TextFinder(std::shared_ptr<const SearchText> text, const SearchOptions &options);
    TextFinder(QByteArrayView bytes, TextEncoding encoding, const SearchOptions &options);

    bool isValid() const { return m_expression.isValid(); }

    // The first match that starts at `from` or after.
    std::optional<TextMatch> next(qsizetype from) const;
    // The last match that starts before `before`; nothing once `stop` is set.
    std::optional<TextMatch> previous(qsizetype before, const std::atomic<bool> *stop = nullptr) const;
    // The match that starts at `start`, if one does.
    std::optional<TextMatch> at(qsizetype start) const;
    // Every match, none overlapping another, in order.
    std::vector<MatchSpan> all() const;

    // What replaces `match`: with a regular expression, \0 to \9 stand for the match and its
    // groups, and \a \b \f \n \r \t \v \\ for their characters. Nothing when the
    // document's encoding cannot hold it.
    std::optional<QByteArray> replacement(const QString &with, const TextMatch &match) const;
    // Every match replaced, the new bytes made as the matches are found: nothing is kept of a
    // match but the place where the last one ended, and the groups only while the replacement
    // takes them out. Stops at the next match once `control` says so; the text may grow to
    // `largest` bytes.
    ReplacedText replaceAll(const QString &with, qint64 largest, SearchControl &control) const;

private:
    TextMatch toBytes(const QRegularExpressionMatch &match) const;
    // Calls `found` with each match of all() and its place in bytes, until it returns false.
    void forEachMatch(const std::function<bool(const QRegularExpressionMatch &, const MatchSpan &)> &found) const;

    std::shared_ptr<const SearchText> m_text;
    QRegularExpression m_expression;
    bool m_regExp = false;
};

// A cell of the category table, by grid row (1 and below) and column.
struct CellMatch
{
    int row = 1;
    int column = 1;
    // The search passed the last cell (the first, going back) to get here.
    bool wrapped = false;
};

// The next cell holding the text after the cell at `row`, `column`: row by row, and within a row
// column by column, over the pattern, that, template and topic cells, round to the start at the end.
// The cell it starts from is looked at last. Nothing when no cell holds it.
std::optional<CellMatch> findCell(
    const CategoryTable &table, int row, int column, const SearchOptions &options, bool forward);

} // namespace vorrel
