#pragma once

namespace vorrel {

// The editor's own letter case touches only the 26 ASCII letters: every other character,
// accented letters and bytes above 127 included, stays as it is. Upper-casing a pattern as it
// is entered, the bot page's plain lookup of a sentence among the patterns and its transcript's
// capitals follow this rule, and so do the tag comparisons of the reader and the writer.
// Matching AIML (the interpreter, the checker's srai targets and duplicates) folds every letter
// instead: see matchingCase() in aiml/Words.h.
constexpr char16_t asciiUpper(char16_t c)
{
    return static_cast<char16_t>(c - u'a') < 26u ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

constexpr char16_t asciiLower(char16_t c)
{
    return static_cast<char16_t>(c - u'A') < 26u ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

constexpr char asciiUpper(char c)
{
    return static_cast<unsigned char>(c - 'a') < 26u ? static_cast<char>(c - ('a' - 'A')) : c;
}

constexpr char asciiLower(char c)
{
    return static_cast<unsigned char>(c - 'A') < 26u ? static_cast<char>(c + ('a' - 'A')) : c;
}

} // namespace vorrel
