#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <functional>
#include <utility>

namespace vorrel {

// Reading markup as it is written in a document's bytes or a cell's text, leniently: the
// checker's parser reads documents strictly, everything else reads them with these.

// XML's white space: space, tab, CR and LF.
constexpr bool isXmlBlank(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Characters of XML names. Every character beyond ASCII counts, as nearly all do in XML, and
// so does every byte of one in UTF-8.
constexpr bool isXmlNameStart(char32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}

constexpr bool isXmlNameCharacter(char32_t c)
{
    return isXmlNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// A start tag, empty-element tag or end tag.
struct MarkupTag
{
    // As written, without a namespace prefix.
    QString name;
    // Names as written; values with their entities decoded and the blanks at their ends removed.
    // An attribute without "=" has an empty value.
    QList<std::pair<QString, QString>> attributes;
    bool closing = false;
    bool empty = false;
};

// The tag whose "<" is at `at`, and the position after its ">"; -1 when no tag ends there
// (a "<" that starts none is text).
qsizetype readTag(QStringView text, qsizetype at, MarkupTag &tag);

// Reads markup as a cell of the table holds it, leniently: `onText` gets each run of text with
// its entities decoded (a CDATA section's as it stands), `onTag` each tag. Comments,
// processing instructions and declarations give nothing; a "<" that starts no tag is text.
void readMarkup(QStringView text, const std::function<void(QString &&text)> &onText,
    const std::function<void(MarkupTag &&tag)> &onTag);

// The value of attribute `name`, as written, in a start tag or XML declaration whose text `tag`
// starts with its "<"; nothing when it has no such attribute.
QByteArrayView attributeIn(QByteArrayView tag, QByteArrayView name);

// The five XML entities and numeric character references decoded; anything else that starts
// with "&" stays as it is.
QString decodeEntities(QStringView text);

} // namespace vorrel
