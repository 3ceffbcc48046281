#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <string>

namespace vorrel {

class BotProperties;

// The words of AIML text as matching sees them, in one place for the checker and the bot.
//
// Letter case: matching folds every letter to its simple upper case (one character to one, in
// every plane: "äpfel" meets "ÄPFEL"). This is the only case rule of matching. The editor's
// own folding is narrower on purpose: upper-casing a pattern as it is entered, the bot page's
// plain lookup and its capitals touch "a" to "z" only (base/AsciiCase.h).
char32_t matchingCase(char32_t c);
QString inMatchingCase(QStringView text);

// What a word is made of besides "*" and "_": letters, digits and combining marks.
bool isWordCharacter(char32_t c);

// The character at `i`, a surrogate pair taken whole; `i` moves past it.
char32_t codePointAt(QStringView text, qsizetype &i);

// The code point of the valid UTF-8 at `p`, which moves past it.
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

// The words of an input sentence, a srai, a predicate or a condition's value: the text split at
// every character that is not a word character, "*" or "_" ("What's up?" gives WHAT, S, UP),
// each letter in its matching case. `onWord` gets each word as a view that the next one reuses.
void forEachWord(QStringView text, const std::function<void(QStringView word)> &onWord);
QStringList normalisedWords(QStringView text);
// The same over valid UTF-8: the words appended to `out` one blank apart, to a list that
// starts at `listStart`; when the list holds words already, a blank comes first.
void appendWords(QByteArray &out, QByteArrayView utf8, qsizetype listStart = 0);
// The same at `o`, in memory the caller has made room for; returns the end of what it wrote.
char *writeWords(char *o, QByteArrayView utf8, bool blankFirst);
// The room writeWords() may need: upper case makes a character at most half as long again,
// and one blank may come first.
constexpr qsizetype wordsRoom(qsizetype utf8Size)
{
    return utf8Size + utf8Size / 2 + 1;
}

// Calls `f` with each word of a text whose words stand one blank apart, as appendWords() writes.
template<typename F> void forEachListedWord(QByteArrayView words, F &&f)
{
    for (qsizetype at = 0; at < words.size();) {
        qsizetype blank = words.indexOf(' ', at);
        if (blank < 0)
            blank = words.size();
        if (blank > at)
            f(words.sliced(at, blank - at));
        at = blank + 1;
    }
}

// An input's sentences: the text split at ".", "!", "?" and ";", each sentence as its words
// joined by one blank; sentences without words are left out.
QStringList normalisedSentences(QStringView text);

// The pattern side (a pattern, a that, a topic's name) may hold <bot name="NAME"/>, which
// matches as the words of that bot property, in which "*" and "_" are no wildcards and are
// left out. Any other element there only parts words. In the marked form of such a text, the
// property stands as kPropertyMark NAME kPropertyMark: no XML text can hold U+0001.
inline constexpr char kPropertyMark = '\x01';

// What the start or end tag of an element inside a pattern adds to its marked form (UTF-8).
void appendPatternElement(std::string &marked, bool botElement, QByteArrayView propertyName);

// The words of a pattern, that or topic in marked form, appended as appendWords() does.
void appendPatternWords(
    QByteArray &out, QByteArrayView markedUtf8, const BotProperties &properties, qsizetype listStart = 0);

// The words of a pattern, that or topic as a cell of the table holds it: markup and entities
// as written. Comments add nothing; CDATA sections are text.
void forEachPatternWord(
    QStringView cell, const BotProperties &properties, const std::function<void(QStringView word)> &onWord);

} // namespace vorrel
