#include "aiml/Words.h"

#include "aiml/BotProperties.h"
#include "aiml/Elements.h"
#include "aiml/Markup.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>

namespace vorrel {

char32_t matchingCase(char32_t c)
{
    return QChar::toUpper(c);
}

QString inMatchingCase(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = matchingCase(codePointAt(text, i));
        if (QChar::requiresSurrogates(c)) {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        } else {
            out += QChar(char16_t(c));
        }
    }
    return out;
}

bool isWordCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

char32_t codePointAt(QStringView text, qsizetype &i)
{
    const char16_t unit = text[i++].unicode();
    if (QChar::isHighSurrogate(unit) && i < text.size() && text[i].isLowSurrogate())
        return QChar::surrogateToUcs4(unit, text[i++].unicode());
    return unit;
}

namespace {

// Each ASCII character as it stands in a word, 0 for one that parts words: most text is ASCII
// and needs no look into Unicode's tables.
constexpr auto kAsciiInWord = [] {
    std::array<char, 128> table {};
    for (int c = 0; c < 128; ++c) {
        if (c >= 'a' && c <= 'z')
            table[size_t(c)] = char(c - ('a' - 'A'));
        else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '*' || c == '_')
            table[size_t(c)] = char(c);
    }
    return table;
}();

char *writeUtf8(char *o, char32_t c)
{
    if (c < 0x80) {
        *o++ = char(c);
    } else if (c < 0x800) {
        *o++ = char(0xC0 | (c >> 6));
        *o++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *o++ = char(0xE0 | (c >> 12));
        *o++ = char(0x80 | ((c >> 6) & 0x3F));
        *o++ = char(0x80 | (c & 0x3F));
    } else {
        *o++ = char(0xF0 | (c >> 18));
        *o++ = char(0x80 | ((c >> 12) & 0x3F));
        *o++ = char(0x80 | ((c >> 6) & 0x3F));
        *o++ = char(0x80 | (c & 0x3F));
    }
    return o;
}

inline char32_t nextCodePoint(const char *&p, const char *end)
{
    return nextUtf8CodePoint(p, end);
}

inline char32_t nextCodePoint(const char16_t *&p, const char16_t *end)
{
    const char16_t unit = *p++;
    if (QChar::isHighSurrogate(unit) && p < end && QChar::isLowSurrogate(*p))
        return QChar::surrogateToUcs4(unit, *p++);
    return unit;
}

// The one word split, over UTF-16 or UTF-8: `sink` gets each character of a word in its
// matching case, and the end of each run of word characters.
template<typename Unit, typename Sink> void splitWords(const Unit *p, const Unit *end, Sink &sink)
{
    while (p < end) {
        const auto unit = static_cast<std::make_unsigned_t<Unit>>(*p);
        if (unit < 0x80) {
            ++p;
            if (const char c = kAsciiInWord[unit])
                sink.ascii(c);
            else
                sink.endWord();
            continue;
        }
        const char32_t c = nextCodePoint(p, end);
        if (isWordCharacter(c))
            sink.other(matchingCase(c));
        else
            sink.endWord();
    }
    sink.endWord();
}

class Utf16Words final
{
public:
    explicit Utf16Words(const std::function<void(QStringView)> &onWord) : m_onWord(onWord) { }
    void ascii(char c) { m_word.append(char16_t(c)); }
    void other(char32_t c)
    {
        if (QChar::requiresSurrogates(c)) {
            m_word.append(QChar::highSurrogate(c));
            m_word.append(QChar::lowSurrogate(c));
        } else {
            m_word.append(char16_t(c));
        }
    }
    void endWord()
    {
        if (!m_word.isEmpty()) {
            m_onWord(QStringView(m_word.constData(), m_word.size()));
            m_word.clear();
        }
    }

private:
    const std::function<void(QStringView)> &m_onWord;
    QVarLengthArray<char16_t, 64> m_word;
};

// Writes the words one blank apart at `o`, which has the room wordsRoom() says.
class Utf8Words final
{
public:
    Utf8Words(char *o, bool blankFirst) : m_o(o), m_blank(blankFirst) { }
    void ascii(char c)
    {
        startWord();
        *m_o++ = c;
    }
    void other(char32_t c)
    {
        startWord();
        m_o = writeUtf8(m_o, c);
    }
    void endWord() { m_inWord = false; }
    char *end() const { return m_o; }

private:
    void startWord()
    {
        if (m_inWord)
            return;
        if (m_blank)
            *m_o++ = ' ';
        m_inWord = m_blank = true;
    }

    char *m_o;
    bool m_blank;
    bool m_inWord = false;
};

bool isWildcard(QByteArrayView word)
{
    return word == "*" || word == "_";
}

} // namespace

void forEachWord(QStringView text, const std::function<void(QStringView word)> &onWord)
{
    Utf16Words sink(onWord);
    splitWords(text.utf16(), text.utf16() + text.size(), sink);
}

QStringList normalisedWords(QStringView text)
{
    QStringList words;
    forEachWord(text, [&words](QStringView word) { words.append(word.toString()); });
    return words;
}

char *writeWords(char *o, QByteArrayView utf8, bool blankFirst)
{
    Utf8Words sink(o, blankFirst);
    splitWords(utf8.data(), utf8.data() + utf8.size(), sink);
    return sink.end();
}

void appendWords(QByteArray &out, QByteArrayView utf8, qsizetype listStart)
{
    const qsizetype start = out.size();
    out.resize(start + wordsRoom(utf8.size()));
    out.truncate(writeWords(out.data() + start, utf8, start > listStart) - out.constData());
}

QStringList normalisedSentences(QStringView text)
{
    QStringList sentences;
    auto add = [&sentences](QStringView piece) {
        const QStringList words = normalisedWords(piece);
        if (!words.isEmpty())
            sentences.append(words.join(QLatin1Char(' ')));
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' || c == u'!' || c == u'?' || c == u';') {
            add(text.mid(start, i - start));
            start = i + 1;
        }
    }
    add(text.mid(start));
    return sentences;
}

void appendPatternElement(std::string &marked, bool botElement, QByteArrayView propertyName)
{
    marked += ' ';
    if (!botElement)
        return;
    marked += kPropertyMark;
    for (const char c : propertyName) {
        if (c != kPropertyMark)
            marked += c;
    }
    marked += kPropertyMark;
    marked += ' ';
}

void appendPatternWords(
    QByteArray &out, QByteArrayView markedUtf8, const BotProperties &properties, qsizetype listStart)
{
    for (qsizetype at = 0;;) {
        const qsizetype mark = markedUtf8.indexOf(kPropertyMark, at);
        if (mark < 0) {
            appendWords(out, markedUtf8.sliced(at), listStart);
            return;
        }
        appendWords(out, markedUtf8.sliced(at, mark - at), listStart);
        qsizetype close = markedUtf8.indexOf(kPropertyMark, mark + 1);
        if (close < 0)
            close = markedUtf8.size();
        const QString name = QString::fromUtf8(markedUtf8.sliced(mark + 1, close - mark - 1));
        QByteArray words;
        appendWords(words, properties.value(name).toUtf8());
        forEachListedWord(words, [&out, listStart](QByteArrayView word) {
            if (isWildcard(word))
                return;
            if (out.size() > listStart)
                out += ' ';
            out += word;
        });
        at = std::min(close + 1, markedUtf8.size());
    }
}

namespace {

// A cell's pattern in marked form: its text with entities decoded, and its elements as
// appendPatternElement() writes them.
std::string markedPattern(QStringView cell)
{
    std::string marked;
    marked.reserve(size_t(cell.size()) + 8);
    readMarkup(
        cell,
        [&marked](QString &&text) {
            const QByteArray utf8 = text.replace(QChar(kPropertyMark), QLatin1Char(' ')).toUtf8();
            marked.append(utf8.constData(), size_t(utf8.size()));
        },
        [&marked](MarkupTag &&tag) {
            const bool bot = !tag.closing && elementNamed(tag.name) == Element::Bot;
            QString name;
            for (const auto &[key, value] : std::as_const(tag.attributes)) {
                if (key == u"name")
                    name = value;
            }
            appendPatternElement(marked, bot, name.toUtf8());
        });
    return marked;
}

} // namespace

void forEachPatternWord(
    QStringView cell, const BotProperties &properties, const std::function<void(QStringView word)> &onWord)
{
    if (!cell.contains(u'<') && !cell.contains(u'&') && !cell.contains(QChar(kPropertyMark))) {
        forEachWord(cell, onWord);
        return;
    }
    QByteArray words;
    appendPatternWords(words, markedPattern(cell), properties);
    forEachListedWord(words, [&onWord](QByteArrayView word) { onWord(QString::fromUtf8(word)); });
}

} // namespace vorrel
