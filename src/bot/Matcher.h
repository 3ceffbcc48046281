#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace vorrel {

class CategoryTable;

// What the bot says when no row's pattern equals the sentence.
inline const QString kFallbackReply = QStringLiteral("i cannot understand that, master!");

// Equal length and equal character by character once "A" to "Z" are folded.
bool equalsFolded(QStringView a, QStringView b);

// First character upper-cased, the rest lower-cased, both by the ASCII rule above.
QString capitalize(QStringView text);

// The template of the last row, header row included, whose pattern equals the sentence
// (letter case of A to Z aside); nothing when no row matches.
std::optional<QString> lastMatchingTemplate(const CategoryTable &table, QStringView sentence);

// The reply as the bot gives it: the last matching template, else the fallback.
QString botReply(const CategoryTable &table, QStringView sentence);

} // namespace vorrel
