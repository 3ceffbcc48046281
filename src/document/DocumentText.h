#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace vorrel {

// A document is kept as the bytes of its file. Text that is valid UTF-8 is shown and
// edited as UTF-8; UTF-16 with a byte order mark is shown as UTF-8 and written back as
// UTF-16; anything else is 8-bit text, one character per byte.
enum class TextEncoding { Utf8, Latin1, Utf16LE, Utf16BE };

// Whether the preview and the cells hold the text as UTF-8, else one byte per character.
constexpr bool heldAsUtf8(TextEncoding encoding)
{
    return encoding != TextEncoding::Latin1;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Whatever passes
// decodes and re-encodes to the same bytes.
bool isValidUtf8(QByteArrayView bytes);

// Strict UTF-8 over a text that arrives in pieces, split anywhere.
class Utf8Validator final
{
public:
    void feed(QByteArrayView piece);
    // Whether everything fed was valid UTF-8, ending on a whole character.
    bool finish() const { return m_valid && m_carry.isEmpty(); }

private:
    QByteArray m_carry;
    bool m_valid = true;
};

// Line ends as the editor counts them, over a text that arrives in pieces: CR LF, a lone CR
// and a lone LF are one each, also when a piece ends between CR and LF.
class LineEndCounter final
{
public:
    void feed(QByteArrayView piece);
    qint64 count() const { return m_count + (m_pendingCr ? 1 : 0); }

private:
    qint64 m_count = 0;
    // The last piece ended in a CR, which an LF may follow.
    bool m_pendingCr = false;
};

// The UTF-16 encoding a byte order mark at the start names, if any.
std::optional<TextEncoding> utf16Mark(QByteArrayView bytes);

// A UTF-16 file (mark included) as the preview would hold it, worked out before it is converted.
struct Utf16Survey
{
    // The byte where the units stop being whole, well-paired UTF-16 (half a unit at the end, a
    // surrogate without its other half); -1 when they do not. Such text would not come back the
    // same from a save.
    qint64 damagedAt = -1;
    bool halfUnit = false;
    // Line ends as LineEndCounter counts them.
    qint64 lineEnds = 0;
    // Bytes of the text, mark removed, as UTF-8.
    qint64 textSize = 0;
};
Utf16Survey surveyUtf16(QByteArrayView bytes, TextEncoding encoding);

// A UTF-16 file's text, mark removed, as UTF-8. The units must be whole, well-paired UTF-16
// (see surveyUtf16).
QByteArray utf8FromUtf16(QByteArrayView bytes, TextEncoding encoding);

// The bytes a file holds for the preview's text: the same bytes, or for UTF-16 the mark
// and the text as 16-bit units.
QByteArray fileBytes(QByteArrayView text, TextEncoding encoding);

// The line end a document writes its new lines with: that of its first line, LF or CR LF; LF,
// the desktop's own, for a text of one line. A first line ending in a lone CR gives CR LF: an
// LF written after that CR would make a CR LF of it.
enum class LineEnd { Lf, CrLf };
LineEnd lineEndOf(QByteArrayView text);
QByteArrayView lineEndBytes(LineEnd lineEnd);
QLatin1StringView lineEndText(LineEnd lineEnd);

// Every LF, with the CR right before it if there is one, becomes `lineEnd`; every other byte,
// a lone CR included, stays. Returns the same (shared) array when there is nothing to change.
QByteArray withLineEnds(const QByteArray &bytes, LineEnd lineEnd);

// Cell text to and from the document's bytes. In an 8-bit document a character above
// U+00FF has no byte and is written as "?".
QString decodeText(QByteArrayView bytes, TextEncoding encoding);
QByteArray encodeText(const QString &text, TextEncoding encoding);

// A text box's raw text (paragraph separators) as a cell holds it, lines joined with the
// document's line end. The raw text, not the plain one, so that no-break spaces stay what
// they are.
QString cellTextFromRaw(QStringView raw, LineEnd lineEnd);

// A cell's text with its CR LF pairs as plain line feeds, the way a text box takes it.
QString fieldTextFromCell(QString cell);

// The editor's letter case, "a" to "z" only (base/AsciiCase.h).
void upcaseAscii(QByteArray &bytes);
bool equalsIgnoringAsciiCase(QByteArrayView a, QByteArrayView b);

} // namespace vorrel
