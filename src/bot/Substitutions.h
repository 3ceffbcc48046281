#pragma once

#include <QString>
#include <QStringView>

namespace vorrel {

enum class Substitution {
    // First person and third person swapped: "I am" and "he or she is".
    Person,
    // First person and second person swapped: "I am" and "you are".
    Person2,
    // Masculine and feminine pronouns swapped.
    Gender,
};

// The text with each word or phrase of the table replaced in one pass, so that a replacement
// is never replaced again. Longer phrases go first; words compare without letter case. A
// replacement is written in capitals when the text has no small letters, else in small
// letters, capitalised where the word it replaces was.
QString substitute(Substitution table, QStringView text);

} // namespace vorrel
