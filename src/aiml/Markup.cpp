#include "aiml/Markup.h"

namespace vorrel {

namespace {

// One code unit as the character it is, for the ASCII tests below; a byte of UTF-8 beyond
// ASCII stays above 127.
inline char32_t unitOf(char c)
{
    return static_cast<unsigned char>(c);
}

inline char32_t unitOf(char16_t c)
{
    return c;
}

struct Span
{
    qsizetype begin = 0;
    qsizetype end = 0;
};

enum class TagStep { Attribute, End, EmptyEnd, Broken };

// Reads the next attribute of a tag from `i`, which moves past it, or the tag's end. The
// same reading serves document bytes and cell text.
template<typename Unit> TagStep nextAttribute(const Unit *s, qsizetype n, qsizetype &i, Span &key, Span &value)
{
    auto skipBlanks = [&] {
        while (i < n && isXmlBlank(unitOf(s[i])))
            ++i;
    };
    skipBlanks();
    if (i >= n || s[i] == '<')
        return TagStep::Broken;
    if (s[i] == '>') {
        ++i;
        return TagStep::End;
    }
    if (s[i] == '/' && i + 1 < n && s[i + 1] == '>') {
        i += 2;
        return TagStep::EmptyEnd;
    }
    key.begin = i;
    while (i < n && !isXmlBlank(unitOf(s[i])) && s[i] != '=' && s[i] != '>' && s[i] != '/' && s[i] != '<' && s[i] != '"'
        && s[i] != '\'')
        ++i;
    key.end = i;
    if (key.end == key.begin)
        return TagStep::Broken;
    skipBlanks();
    value = { i, i };
    if (i < n && s[i] == '=') {
        ++i;
        skipBlanks();
        if (i >= n)
            return TagStep::Broken;
        if (s[i] == '"' || s[i] == '\'') {
            const Unit quote = s[i];
            qsizetype close = i + 1;
            while (close < n && s[close] != quote)
                ++close;
            if (close >= n)
                return TagStep::Broken;
            value = { i + 1, close };
            i = close + 1;
        } else {
            value.begin = i;
            while (i < n && !isXmlBlank(unitOf(s[i])) && s[i] != '>' && s[i] != '<'
                && !(s[i] == '/' && i + 1 < n && s[i + 1] == '>'))
                ++i;
            value.end = i;
        }
    }
    return TagStep::Attribute;
}

// The end of the name that starts at `i`.
template<typename Unit> qsizetype nameEnd(const Unit *s, qsizetype n, qsizetype i)
{
    while (i < n && isXmlNameCharacter(unitOf(s[i])))
        ++i;
    return i;
}

} // namespace

qsizetype readTag(QStringView text, qsizetype at, MarkupTag &tag)
{
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = at + 1;
    if (i < n && s[i] == u'/') {
        tag.closing = true;
        ++i;
    }
    if (i >= n || !isXmlNameStart(s[i]))
        return -1;
    const qsizetype nameStart = i;
    i = nameEnd(s, n, i);
    QStringView name = text.sliced(nameStart, i - nameStart);
    // A namespace prefix does not change what the element is.
    if (const qsizetype colon = name.lastIndexOf(u':'); colon >= 0)
        name = name.sliced(colon + 1);
    tag.name = name.toString();
    for (;;) {
        Span key;
        Span value;
        switch (nextAttribute(s, n, i, key, value)) {
        case TagStep::Broken:
            return -1;
        case TagStep::End:
            return i;
        case TagStep::EmptyEnd:
            if (tag.closing)
                return -1;
            tag.empty = true;
            return i;
        case TagStep::Attribute:
            if (tag.closing)
                return -1;
            tag.attributes.append({ text.sliced(key.begin, key.end - key.begin).toString(),
                decodeEntities(text.sliced(value.begin, value.end - value.begin)).trimmed() });
            break;
        }
    }
}

void readMarkup(QStringView text, const std::function<void(QString &&text)> &onText,
    const std::function<void(MarkupTag &&tag)> &onTag)
{
    // Past the last ">" no tag can end: the rest is text, and no "<" there costs a search.
    const qsizetype n = text.lastIndexOf(u'>') + 1;
    qsizetype pending = 0;
    auto flush = [&](qsizetype upTo) {
        if (upTo > pending)
            onText(decodeEntities(text.sliced(pending, upTo - pending)));
    };
    for (qsizetype i = 0; i < n;) {
        i = text.indexOf(u'<', i);
        if (i < 0 || i >= n)
            break;
        const QStringView rest = text.sliced(i);
        if (rest.startsWith(u"<!--")) {
            flush(i);
            const qsizetype end = text.indexOf(u"-->", i + 4);
            i = pending = end < 0 ? n : end + 3;
            continue;
        }
        if (rest.startsWith(u"<![CDATA[")) {
            flush(i);
            const qsizetype end = text.indexOf(u"]]>", i + 9);
            onText(text.mid(i + 9, (end < 0 ? n : end) - i - 9).toString());
            i = pending = end < 0 ? n : end + 3;
            continue;
        }
        if (rest.startsWith(u"<?") || rest.startsWith(u"<!")) {
            const qsizetype end = text.indexOf(u'>', i);
            if (end < 0) {
                ++i;
                continue;
            }
            flush(i);
            i = pending = end + 1;
            continue;
        }
        MarkupTag tag;
        const qsizetype next = readTag(text, i, tag);
        if (next < 0) {
            ++i;
            continue;
        }
        flush(i);
        i = pending = next;
        onTag(std::move(tag));
    }
    flush(text.size());
}

QByteArrayView attributeIn(QByteArrayView tag, QByteArrayView name)
{
    const char *s = tag.data();
    const qsizetype n = tag.size();
    qsizetype i = 1;
    if (i < n && (s[i] == '/' || s[i] == '?'))
        ++i;
    i = nameEnd(s, n, i);
    for (;;) {
        Span key;
        Span value;
        if (nextAttribute(s, n, i, key, value) != TagStep::Attribute)
            return {};
        if (tag.sliced(key.begin, key.end - key.begin) == name)
            return tag.sliced(value.begin, value.end - value.begin);
    }
}

QString decodeEntities(QStringView text)
{
    if (!text.contains(u'&'))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out += text[i];
            continue;
        }
        const qsizetype semicolon = text.indexOf(u';', i + 1);
        const QStringView name
            = semicolon > i && semicolon - i <= 10 ? text.mid(i + 1, semicolon - i - 1) : QStringView();
        char32_t decoded = 0;
        if (name == u"amp")
            decoded = u'&';
        else if (name == u"lt")
            decoded = u'<';
        else if (name == u"gt")
            decoded = u'>';
        else if (name == u"quot")
            decoded = u'"';
        else if (name == u"apos")
            decoded = u'\'';
        else if (name.size() > 1 && name[0] == u'#') {
            bool ok = false;
            const uint value
                = name[1] == u'x' || name[1] == u'X' ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok);
            if (ok && value > 0 && value <= 0x10FFFF && !QChar::isSurrogate(value))
                decoded = value;
        }
        if (decoded == 0) {
            out += text[i];
            continue;
        }
        out += QString::fromUcs4(&decoded, 1);
        i = semicolon;
    }
    return out;
}

} // namespace vorrel
