#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace vorrel {

// A document is kept as the bytes of its file. Text that is valid UTF-8 is shown and
// edited as UTF-8; anything else as 8-bit text, one character per byte.

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Whatever passes
// decodes and re-encodes to the same bytes.
bool isValidUtf8(QByteArrayView bytes);

// Every LF without a CR before it becomes CR LF; every other byte, a lone CR included,
// stays. Returns the same (shared) array when there is nothing to change.
QByteArray toCrLf(const QByteArray &bytes);
QString toCrLf(const QString &text);

// Cell text to and from the document's bytes. In an 8-bit document a character above
// U+00FF has no byte and is written as "?".
QString decodeText(QByteArrayView bytes, bool utf8);
QByteArray encodeText(const QString &text, bool utf8);

// A text box's raw text (paragraph separators) as a cell holds it, lines joined with CR LF.
// The raw text, not the plain one, so that no-break spaces stay what they are.
QString cellTextFromRaw(QStringView raw);

// A cell's text with its CR LF pairs as plain line feeds, the way a text box takes it.
QString fieldTextFromCell(QString cell);

// Letter case folding touches only "a" to "z".
void upcaseAscii(QByteArray &bytes);
bool equalsIgnoringAsciiCase(QByteArrayView a, QByteArrayView b);

} // namespace vorrel
