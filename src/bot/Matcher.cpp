#include "bot/Matcher.h"

#include "base/AsciiCase.h"
#include "document/CategoryTable.h"

namespace vorrel {

namespace {

inline void prefetch(const void *address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}
} // namespace

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
    // The last match wins, so walking from the bottom up may stop at the first one found.
    const auto &rows = table.rows();
    const qsizetype n = sentence.size();
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = rows.size(); i-- > 0;) {
        // Patterns of the sentence's length are read from scattered heap blocks; asking early
        // for the text of a row still to come lets those reads overlap instead of queueing.
        if (i >= kAhead) {
            const QString &coming = rows[i - kAhead].cells[PatternColumn];
            if (coming.size() == n)
                prefetch(coming.constData());
        }
        const QString &pattern = rows[i].cells[PatternColumn];
        if (pattern.size() == n && equalsFolded(pattern, sentence))
            return rows[i].cells[TemplateColumn];
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
