#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace vorrel {

// What the preview offers while an author types tags. Positions are byte offsets into the text
// as the preview holds it; only the text before a position is looked at, and markup inside
// comments and CDATA sections does not count.

// The innermost element open at `position`; empty at the top level, inside a comment or CDATA
// section, or where the text before cannot be an element's content.
QByteArray openElementAt(QByteArrayView text, qsizetype position);

// The AIML 1.0.1 element names that may start at `position`, sorted; empty inside a comment or
// CDATA section.
QList<QByteArray> elementsAllowedAt(QByteArrayView text, qsizetype position);

// The name of the start tag whose ">" is the byte just before `position`; empty when that byte
// ends no start tag: an end tag, an empty-element tag, a comment, a declaration, or a ">" in text.
QByteArray startTagEndingAt(QByteArrayView text, qsizetype position);

} // namespace vorrel
