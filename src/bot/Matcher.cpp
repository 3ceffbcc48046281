#include "bot/Matcher.h"

#include "base/AsciiCase.h"
#include "document/CategoryTable.h"
#include "document/DocumentText.h"

namespace vorrel {

bool equalsFolded(QStringView a, QStringView b)
{
    // Most patterns differ in length from the sentence; that test costs nothing.
    if (a.size() != b.size())
        return false;
    const char16_t *p = a.utf16();
    const char16_t *q = b.utf16();
    // No branch per character: where patterns share a prefix with the sentence, the place of
    // the first difference varies from row to row and an early exit would be mispredicted.
    unsigned diff = 0;
    for (qsizetype i = 0, n = a.size(); i < n; ++i)
        diff |= asciiLower(p[i]) ^ asciiLower(q[i]);
    return diff == 0;
}

QString capitalize(QStringView text)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar *out = result.data();
    const char16_t *in = text.utf16();
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        out[i] = QChar(i == 0 ? asciiUpper(in[i]) : asciiLower(in[i]));
    return result;
}

std::optional<QString> lastMatchingTemplate(const CategoryTable &table, QStringView sentence)
{
    // Cells read from the document are compared as its bytes: in UTF-8 and in 8-bit text
    // alike, folding "A" to "Z" touches single bytes only, so bytes equal once folded exactly
    // when the texts are. A sentence the encoding cannot hold equals no such cell.
    const CategoryRows &rows = table.rows();
    const QByteArray encoded = encodeText(sentence.toString(), rows.encoding());
    const bool encodable = decodeText(encoded, rows.encoding()) == sentence;
    const qsizetype n = encoded.size();
    // The last match wins, so walking from the bottom up may stop at the first one found.
    for (qsizetype i = rows.size(); i-- > 0;) {
        const bool matches = rows.holdsBytes(i, PatternColumn)
            ? encodable && rows.storedBytes(i, PatternColumn).size() == n
                && equalsIgnoringAsciiCase(rows.storedBytes(i, PatternColumn), encoded)
            : equalsFolded(rows.text(i, PatternColumn), sentence);
        if (matches)
            return rows.text(i, TemplateColumn);
    }
    // The header row takes part like any other row.
    if (equalsFolded(table.cell(PatternColumn, 0), sentence))
        return table.cell(TemplateColumn, 0);
    return std::nullopt;
}

QString botReply(const CategoryTable &table, QStringView sentence)
{
    return lastMatchingTemplate(table, sentence).value_or(kFallbackReply);
}

} // namespace vorrel
