#include "bot/Substitutions.h"

#include "aiml/Words.h"

#include <QHash>
#include <QList>

namespace vorrel {

namespace {

struct Pair
{
    const char *from;
    const char *to;
};

// The person tables hold no plural forms: "we" and "they" keep their place in every aspect.
constexpr Pair kPerson[] = {
    { "I WAS", "HE OR SHE WAS" },
    { "I AM", "HE OR SHE IS" },
    { "I'M", "HE OR SHE IS" },
    { "I'VE", "HE OR SHE HAS" },
    { "I'LL", "HE OR SHE WILL" },
    { "I'D", "HE OR SHE WOULD" },
    { "I", "HE OR SHE" },
    { "ME", "HIM OR HER" },
    { "MY", "HIS OR HER" },
    { "MINE", "HIS OR HERS" },
    { "MYSELF", "HIMSELF OR HERSELF" },
    { "HE WAS", "I WAS" },
    { "SHE WAS", "I WAS" },
    { "HE IS", "I AM" },
    { "SHE IS", "I AM" },
    { "HE'S", "I'M" },
    { "SHE'S", "I'M" },
    { "HE", "I" },
    { "SHE", "I" },
    { "HIM", "ME" },
    { "HER", "ME" },
    { "HIS", "MY" },
    { "HERS", "MINE" },
    { "HIMSELF", "MYSELF" },
    { "HERSELF", "MYSELF" },
};

constexpr Pair kPerson2[] = {
    { "I WAS", "YOU WERE" },
    { "I AM", "YOU ARE" },
    { "AM I", "ARE YOU" },
    { "WAS I", "WERE YOU" },
    { "I'M", "YOU'RE" },
    { "I'VE", "YOU'VE" },
    { "I'LL", "YOU'LL" },
    { "I'D", "YOU'D" },
    { "I", "YOU" },
    { "ME", "YOU" },
    { "MY", "YOUR" },
    { "MINE", "YOURS" },
    { "MYSELF", "YOURSELF" },
    { "YOU WERE", "I WAS" },
    { "YOU ARE", "I AM" },
    { "ARE YOU", "AM I" },
    { "WERE YOU", "WAS I" },
    { "YOU'RE", "I'M" },
    { "YOU'VE", "I'VE" },
    { "YOU'LL", "I'LL" },
    { "YOU'D", "I'D" },
    // "You" opening a sentence is its subject; elsewhere it is more often an object.
    { "^YOU", "I" },
    { "YOU", "ME" },
    { "YOUR", "MY" },
    { "YOURS", "MINE" },
    { "YOURSELF", "MYSELF" },
};

constexpr Pair kGender[] = {
    { "HE", "SHE" },
    { "SHE", "HE" },
    { "HIM", "HER" },
    { "HER", "HIM" },
    { "HIS", "HER" },
    { "HERS", "HIS" },
    { "HIMSELF", "HERSELF" },
    { "HERSELF", "HIMSELF" },
    { "HE'S", "SHE'S" },
    { "SHE'S", "HE'S" },
    { "HE'D", "SHE'D" },
    { "SHE'D", "HE'D" },
    { "HE'LL", "SHE'LL" },
    { "SHE'LL", "HE'LL" },
};

constexpr int kLongestPhrase = 2;

using Table = QHash<QString, QString>;

template<std::size_t N> Table tableOf(const Pair (&pairs)[N])
{
    Table table;
    for (const Pair &pair : pairs)
        table.insert(QString::fromLatin1(pair.from), QString::fromLatin1(pair.to));
    return table;
}

const Table &tableFor(Substitution which)
{
    static const Table person = tableOf(kPerson);
    static const Table person2 = tableOf(kPerson2);
    static const Table gender = tableOf(kGender);
    switch (which) {
    case Substitution::Person:
        return person;
    case Substitution::Person2:
        return person2;
    case Substitution::Gender:
        break;
    }
    return gender;
}

// Words as matching has them, with their apostrophes: the tables hold contractions.
bool isWordChar(char32_t c)
{
    return isWordCharacter(c) || c == u'\'' || c == u'\u2019';
}

struct Word
{
    qsizetype begin;
    qsizetype end;
};

// Whether a phrase opens with "I" or one of its contractions.
bool opensWithI(QStringView phrase)
{
    return phrase.size() == 1
        ? phrase[0] == u'I' || phrase[0] == u'i'
        : phrase.startsWith(u"I ", Qt::CaseInsensitive) || phrase.startsWith(u"I'", Qt::CaseInsensitive);
}

QString caseLike(const QString &replacement, QStringView replaced, bool allCapitals, bool sentenceStart)
{
    if (allCapitals)
        return replacement;
    QString out = replacement.toLower();
    // "I" is a capital in any place, and so are its contractions.
    for (qsizetype i = 0; i < out.size(); ++i) {
        const bool startsWord = i == 0 || out[i - 1] == u' ';
        const bool endsWord = i + 1 == out.size() || out[i + 1] == u' ' || out[i + 1] == u'\'';
        if (out[i] == u'i' && startsWord && endsWord)
            out[i] = u'I';
    }
    // Whether a capital "I" opened a sentence only its place can tell.
    if (!replaced.isEmpty() && replaced[0].isUpper() && (sentenceStart || !opensWithI(replaced)))
        out[0] = out[0].toUpper();
    return out;
}

} // namespace

QString substitute(Substitution which, QStringView text)
{
    const Table &table = tableFor(which);
    QList<Word> words;
    qsizetype wordStart = -1;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype at = i;
        const bool inWord = isWordChar(codePointAt(text, i));
        if (inWord && wordStart < 0)
            wordStart = at;
        if (!inWord && wordStart >= 0) {
            words.append({ wordStart, at });
            wordStart = -1;
        }
    }
    if (wordStart >= 0)
        words.append({ wordStart, text.size() });
    bool allCapitals = true;
    for (const QChar c : text)
        allCapitals = allCapitals && !c.isLower();

    QString out;
    out.reserve(text.size() + text.size() / 4);
    qsizetype copied = 0;
    for (qsizetype w = 0; w < words.size();) {
        const qsizetype gapStart = w == 0 ? 0 : words[w - 1].end;
        const QStringView gap = text.mid(gapStart, words[w].begin - gapStart);
        const bool sentenceStart
            = w == 0 || gap.contains(u'.') || gap.contains(u'!') || gap.contains(u'?') || gap.contains(u';');
        bool replaced = false;
        for (int length = kLongestPhrase; length >= 1 && !replaced; --length) {
            if (w + length > words.size())
                continue;
            // A phrase is words with nothing but blanks between them.
            bool plain = true;
            QString key;
            for (int k = 0; k < length && plain; ++k) {
                const Word &word = words[w + k];
                if (k > 0) {
                    plain = text.mid(words[w + k - 1].end, word.begin - words[w + k - 1].end).trimmed().isEmpty();
                    key += QLatin1Char(' ');
                }
                key += inMatchingCase(text.mid(word.begin, word.end - word.begin)).replace(u'\u2019', u'\'');
            }
            if (!plain)
                continue;
            auto it = sentenceStart ? table.constFind(QLatin1Char('^') + key) : table.constEnd();
            if (it == table.constEnd())
                it = table.constFind(key);
            if (it == table.constEnd())
                continue;
            const qsizetype begin = words[w].begin;
            const qsizetype end = words[w + length - 1].end;
            out += text.mid(copied, begin - copied);
            out += caseLike(it.value(), text.mid(begin, end - begin), allCapitals, sentenceStart);
            copied = end;
            w += length;
            replaced = true;
        }
        if (!replaced)
            ++w;
    }
    out += text.mid(copied);
    return out;
}

} // namespace vorrel
