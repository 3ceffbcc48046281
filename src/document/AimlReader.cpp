#include "document/AimlReader.h"

#include "document/DocumentText.h"

#include <cstring>

namespace vorrel {

namespace {

// Plain, case-sensitive search; the C library's memmem beats a skip table on these short
// tags, and the reader spends most of its time searching.
qsizetype findBytes(QByteArrayView text, QByteArrayView what, qsizetype from)
{
    if (from < 0 || from > text.size() - what.size())
        return -1;
    const void *at = ::memmem(
        text.data() + from, static_cast<size_t>(text.size() - from), what.data(), static_cast<size_t>(what.size()));
    return at ? static_cast<const char *>(at) - text.data() : -1;
}

class Tag final
{
public:
    explicit Tag(const char *text) : m_text(text) { }

    // First occurrence at or after `from`, wholly inside `text`; -1 when none.
    qsizetype find(QByteArrayView text, qsizetype from) const { return findBytes(text, m_text, from); }
    qsizetype size() const { return m_text.size(); }

private:
    QByteArrayView m_text;
};

const Tag &patternOpen()
{
    static const Tag tag("<pattern>");
    return tag;
}
const Tag &patternClose()
{
    static const Tag tag("</pattern>");
    return tag;
}
const Tag &categoryOpen()
{
    static const Tag tag("<category>");
    return tag;
}
const Tag &categoryClose()
{
    static const Tag tag("</category>");
    return tag;
}
const Tag &thatOpen()
{
    static const Tag tag("<that>");
    return tag;
}
const Tag &thatClose()
{
    static const Tag tag("</that>");
    return tag;
}
const Tag &templateOpen()
{
    static const Tag tag("<template>");
    return tag;
}
const Tag &templateClose()
{
    static const Tag tag("</template>");
    return tag;
}

// The bytes from `from` up to `to`; nothing when the closing tag came first.
QByteArrayView between(QByteArrayView text, qsizetype from, qsizetype to)
{
    return to > from ? text.sliced(from, to - from) : QByteArrayView();
}

QByteArrayView trimmedControls(QByteArrayView bytes)
{
    qsizetype first = 0;
    qsizetype last = bytes.size();
    while (first < last && static_cast<unsigned char>(bytes[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(bytes[last - 1]) <= 32)
        --last;
    return bytes.sliced(first, last - first);
}

class Ticker final
{
public:
    Ticker(const ReadProgress &progress, ReadPass pass) : m_progress(progress), m_pass(pass)
    {
        if (m_progress)
            m_progress(m_pass, 0);
    }
    void step()
    {
        ++m_steps;
        if (m_progress && m_steps % kReadProgressInterval == 0)
            m_progress(m_pass, m_steps);
    }

private:
    const ReadProgress &m_progress;
    ReadPass m_pass;
    int m_steps = 0;
};

void readPatterns(
    QByteArrayView text, const ReadOptions &options, const ReadProgress &progress, std::vector<CategoryRow> &rows)
{
    Ticker ticker(progress, ReadPass::Patterns);
    // One allocation for the whole table: growing it step by step touches twice the memory.
    rows.reserve(size_t(options.expectedRows > 0 ? options.expectedRows : Hits(text, "<pattern>") + 1));
    QByteArray folded;
    qsizetype s = 0;
    for (;;) {
        const qsizetype b = patternOpen().find(text, s);
        if (b < 0)
            break;
        const qsizetype e = patternClose().find(text, s + 1);
        if (e < 0)
            break;
        const QByteArrayView pattern = between(text, b + patternOpen().size(), e);
        QString &cell = rows.back().cells[1];
        if (options.upcase) {
            folded.truncate(0);
            folded.append(pattern);
            upcaseAscii(folded);
            cell = decodeText(folded, options.encoding);
        } else {
            cell = decodeText(pattern, options.encoding);
        }
        rows.emplace_back();
        rows.back().cells[0] = QString::number(rows.size());
        ticker.step();
        s = e + patternClose().size();
    }
}

void readThats(
    QByteArrayView text, const ReadOptions &options, const ReadProgress &progress, std::vector<CategoryRow> &rows)
{
    Ticker ticker(progress, ReadPass::Thats);
    size_t row = 1;
    qsizetype s = 0;
    for (;;) {
        const qsizetype c = categoryOpen().find(text, s);
        if (c < 0)
            break;
        const qsizetype d = categoryClose().find(text, s);
        if (d < 0)
            break;
        const QByteArrayView category = between(text, c, d);
        if (HasThat(category)) {
            const qsizetype t = thatOpen().find(category, 0);
            const qsizetype u = thatClose().find(category, 0);
            if (u < 0)
                break;
            if (row <= rows.size())
                rows[row - 1].cells[2] = decodeText(between(category, t + thatOpen().size(), u), options.encoding);
        }
        ticker.step();
        ++row;
        // Lands inside "</category>", as the search for the next pair expects.
        s = d + 5;
    }
}

void readTemplates(
    QByteArrayView text, const ReadOptions &options, const ReadProgress &progress, std::vector<CategoryRow> &rows)
{
    Ticker ticker(progress, ReadPass::Templates);
    size_t row = 1;
    qsizetype s = 0;
    for (;;) {
        const qsizetype b = templateOpen().find(text, s);
        if (b < 0)
            break;
        const qsizetype e = templateClose().find(text, s + 1);
        if (e < 0)
            break;
        if (row <= rows.size()) {
            const QByteArrayView body = trimmedControls(between(text, b + templateOpen().size(), e));
            rows[row - 1].cells[3] = decodeText(body, options.encoding);
        }
        ++row;
        ticker.step();
        s = e + templateClose().size();
    }
}

} // namespace

int Hits(QByteArrayView text, QByteArrayView what)
{
    if (what.isEmpty())
        return 0;
    int count = 0;
    qsizetype from = 0;
    while (from <= text.size() - what.size()) {
        const qsizetype at = findBytes(text, what, from);
        if (at < 0)
            break;
        ++count;
        from = at + what.size();
    }
    return count;
}

bool HasThat(QByteArrayView text)
{
    return thatOpen().find(text, 0) >= 0;
}

std::vector<CategoryRow> readCategories(QByteArrayView text, const ReadOptions &options, const ReadProgress &progress)
{
    std::vector<CategoryRow> rows(1);
    rows.front().cells[0] = options.firstLabel;
    readPatterns(text, options, progress, rows);
    readThats(text, options, progress, rows);
    readTemplates(text, options, progress, rows);
    return rows;
}

} // namespace vorrel
