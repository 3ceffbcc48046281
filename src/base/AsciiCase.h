#pragma once

namespace vorrel {

// Letter case folding touches only the 26 ASCII letters: every other character, accented
// letters and bytes above 127 included, stays as it is. Patterns, the bot's comparison and
// the transcript's capitals all follow this one rule.
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
