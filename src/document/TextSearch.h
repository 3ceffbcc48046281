#pragma once

#include "document/DocumentText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QRegularExpression>
#include <QString>

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

// A document's bytes as characters, with the way back from a character to its bytes; made
// once for as many searches as the text stays the same.
class SearchText final
{
public:
    SearchText(QByteArrayView bytes, TextEncoding encoding);

    const QString &text() const { return m_text; }
    TextEncoding encoding() const { return m_encoding; }
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
    // The last match that starts before `before`.
    std::optional<TextMatch> previous(qsizetype before) const;
    // The match that starts at `start`, if one does.
    std::optional<TextMatch> at(qsizetype start) const;
    // Every match, none overlapping another, in order.
    std::vector<TextMatch> all() const;

    // What replaces `match`: with a regular expression, \0 to \9 stand for the match and its
    // groups, and \a \b \f \n \r \t \v \\ for their characters. Nothing when the
    // document's encoding cannot hold it.
    std::optional<QByteArray> replacement(const QString &with, const TextMatch &match) const;

private:
    TextMatch toBytes(const QRegularExpressionMatch &match) const;

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
