#pragma once

#include "document/CategoryRows.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace vorrel {

class CategoryTable;

// The category's texts as the dialog hands them to the table.
struct CategoryTexts
{
    QString pattern;
    QString that;
    QString templateText;
    QString topic;
};

// A random list of more options than this is refused: its lines would swamp the template
// box long before anyone could fill them in.
inline constexpr int kMaxRandomOptions = 10000;

// Only "a" to "z" become capitals; accented letters and everything else stay as typed.
QString upcasePattern(QStringView pattern);

// "<srai>" before the first character and "</srai>" after the last, no line breaks added.
QString wrapInSrai(const QString &templateText);

// The count typed into the RANDOM box, read as a whole number. Throws VorrelError when the
// answer is no number or asks for more than kMaxRandomOptions options.
int randomCountFromAnswer(const QString &answer);

// The template with a random list of `count` items appended, each line a line of its own;
// a count of zero or less gives only the two outer lines. Line breaks are CR LF.
QString appendRandomList(const QString &templateText, int count);

// Appends a row labelled with its own index and writes the texts into it; returns its index.
int appendCategory(CategoryTable &table, const CategoryTexts &texts);

// Overwrites the pattern, that, template and topic of an existing row; its label stays.
void writeCategory(CategoryTable &table, int row, const CategoryTexts &texts);

// A category as Delete took it out: its row and cells, and the text that stood before the
// next category (or after the last) before the deleted one's own was handed on to it.
struct DeletedCategory
{
    int row = 0;
    std::array<QString, CategoryRows::kColumns> cells;
    QString textAfter;
};

// Moves every row below `row` one place up, labels included, and drops the last row. The
// text that stood before the deleted category goes on before the next one, or after the
// last. Refused (returns nothing) while only one row is left below the header.
std::optional<DeletedCategory> deleteCategoryRow(CategoryTable &table, int row);

// Puts a deleted category back as it was, and the text after it.
void restoreCategoryRow(CategoryTable &table, const DeletedCategory &deleted);

} // namespace vorrel
