#pragma once

#include "document/DocumentText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace vorrel {

// The grid's columns; model column c is grid column c. The text that stood before a category
// in its document (comments, blank lines) is kept with the row but not shown in the grid, so
// that it moves and goes with its category.
enum CategoryColumn : int {
    LabelColumn = 0,
    PatternColumn = 1,
    ThatColumn = 2,
    TemplateColumn = 3,
    TopicColumn = 4,
    LeadingTextColumn = 5
};

// The table's rows below the header. A read cell is kept as the place of its bytes in the
// text it was read from, in that text's encoding, and becomes characters only when asked
// for: a document of a hundred thousand categories would otherwise spend most of its
// opening on making and touching UTF-16 copies of every cell. A cell that is set holds its
// text; a row label made by reading holds its number.
class CategoryRows final
{
public:
    // The grid's five columns and the hidden one.
    static constexpr int kColumns = 6;

    CategoryRows() = default;
    // Rows whose cells may refer into `source`, which is shared, not copied, and whose line
    // breaks are those of its first line. When `source` only borrows its bytes
    // (QByteArray::fromRawData), ownBytes() must run before they change.
    CategoryRows(QByteArray source, TextEncoding encoding);

    qsizetype size() const { return static_cast<qsizetype>(m_rows.size()); }
    bool empty() const { return m_rows.empty(); }
    // Lower drops rows at the end, higher appends rows of empty cells.
    void resize(qsizetype rows);
    void reserve(qsizetype rows);
    // Appends a row of empty cells.
    void appendRow();
    // A row of empty cells before row `at`, or the row at `at` taken out; the rows after it move.
    void insertRow(qsizetype at);
    void removeRow(qsizetype at);
    void copyRow(qsizetype from, qsizetype to);

    TextEncoding encoding() const { return m_encoding; }
    // The line break that texts joined or typed into cells take: the document's; LF without
    // a source, as a new document has.
    LineEnd lineEnd() const { return m_lineEnd; }

    QString text(qsizetype row, int column) const;
    bool isEmpty(qsizetype row, int column) const;
    void setText(qsizetype row, int column, const QString &text);
    void setNumber(qsizetype row, int column, quint32 number);
    // The cell is `size` bytes of the source from `from`, with "a" to "z" shown upper-cased
    // when `upcase` is set.
    void setBytes(qsizetype row, int column, qsizetype from, qsizetype size, bool upcase = false);

    // Whether the cell is kept as bytes of the source; storedBytes() gives them, as the
    // source has them (before upper-casing).
    bool holdsBytes(qsizetype row, int column) const;
    QByteArrayView storedBytes(qsizetype row, int column) const;
    // The cell's bytes in `encoding`, as text() would encode to, appended to `out`.
    void appendEncoded(QByteArray &out, qsizetype row, int column, TextEncoding encoding) const;

    // Whether the cell holds nothing but characters up to the space (blanks, line breaks).
    bool isBlank(qsizetype row, int column) const;
    // Whether two cells of a column hold the same text.
    bool sameText(qsizetype row, qsizetype otherRow, int column) const;

    // The text after the last category in its document, held like a cell.
    QString trailingText() const { return textOf(m_trailing); }
    void setTrailingText(const QString &text) { m_trailing = textCell(text); }
    void setTrailingBytes(qsizetype from, qsizetype size) { m_trailing = bytesCell(from, size, false); }
    void appendTrailingEncoded(QByteArray &out, TextEncoding encoding) const
    {
        appendEncodedOf(out, m_trailing, encoding);
    }

    // Copies the cells' bytes out of the source into a block of their own and lets the
    // source go; the cells stay as they are.
    void ownBytes();

private:
    enum Kind : quint32 { Bytes = 0, UpcasedBytes = 1, Text = 2, Number = 3 };
    static constexpr int kKindShift = 30;
    static constexpr quint32 kSizeMask = (quint32(1) << kKindShift) - 1;

    // Eight bytes: where the bytes start and how many (Bytes, UpcasedBytes), the index of a
    // text (Text), or the number (Number); an all-zero cell is empty.
    struct Cell
    {
        quint32 at = 0;
        quint32 sizeAndKind = 0;

        Kind kind() const { return static_cast<Kind>(sizeAndKind >> kKindShift); }
        quint32 size() const { return sizeAndKind & kSizeMask; }
    };
    using Row = std::array<Cell, kColumns>;

    const Cell &cell(qsizetype row, int column) const;
    Cell &cell(qsizetype row, int column);
    QByteArrayView bytesOf(const Cell &cell) const;
    QString textOf(const Cell &cell) const;
    void appendEncodedOf(QByteArray &out, const Cell &cell, TextEncoding encoding) const;
    Cell textCell(const QString &text);
    Cell bytesCell(qsizetype from, qsizetype size, bool upcase);
    // Copies a cell's bytes to `out` at `at` and makes it refer there.
    void moveBytes(Cell &c, char *out, quint32 &at);
    // Texts no cell refers to any more are dropped now and then.
    void sweepTexts();

    QByteArray m_source;
    TextEncoding m_encoding = TextEncoding::Utf8;
    LineEnd m_lineEnd = LineEnd::Lf;
    // Whether cells refer into a source given from outside, not into their own block.
    bool m_borrowing = false;
    std::vector<Row> m_rows;
    Cell m_trailing;
    std::vector<QString> m_texts;
    std::size_t m_nextSweep = 1024;
};

} // namespace vorrel
