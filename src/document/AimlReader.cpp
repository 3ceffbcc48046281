#include "document/AimlReader.h"

#include "document/DocumentText.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vorrel {

namespace {

// Plain, case-sensitive search. The C library's memmem beats a skip table on these short
// tags, but prepares a table on every call; the next tag is mostly a few bytes ahead, so the
// first bytes are looked at directly.
qsizetype findBytes(QByteArrayView text, QByteArrayView what, qsizetype from)
{
    constexpr qsizetype kNear = 64;
    const qsizetype last = text.size() - what.size();
    if (from < 0 || from > last)
        return -1;
    if (what.isEmpty())
        return from;
    const char *data = text.data();
    const qsizetype nearLast = std::min(last, from + kNear);
    for (qsizetype at = from; at <= nearLast; ++at) {
        const void *hit = std::memchr(data + at, what.front(), static_cast<size_t>(nearLast - at + 1));
        if (!hit)
            break;
        at = static_cast<const char *>(hit) - data;
        if (std::memcmp(data + at, what.data(), static_cast<size_t>(what.size())) == 0)
            return at;
    }
    if (nearLast == last)
        return -1;
    const qsizetype rest = nearLast + 1;
    const void *at
        = ::memmem(data + rest, static_cast<size_t>(text.size() - rest), what.data(), static_cast<size_t>(what.size()));
    return at ? static_cast<const char *>(at) - data : -1;
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

// One tag's searches over one pass, whose start only moves forwards. A hit still at or after
// the new start is again the first one there, and a miss stays a miss: each byte is searched
// once per tag, whatever order crafted text puts the tags in.
class ForwardSearch final
{
public:
    ForwardSearch(QByteArrayView text, const Tag &tag) : m_text(text), m_tag(tag) { }

    qsizetype find(qsizetype from)
    {
        if (from < m_from || (m_hit >= 0 && m_hit < from)) {
            m_from = from;
            m_hit = m_tag.find(m_text, from);
        }
        return m_hit;
    }

private:
    QByteArrayView m_text;
    const Tag &m_tag;
    qsizetype m_from = std::numeric_limits<qsizetype>::max();
    qsizetype m_hit = -1;
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

// The pattern pass's pairing: an opening tag at or after the start, the first closing tag
// after the start (before the opening one, it gives an empty pattern).
class PatternPairs final
{
public:
    explicit PatternPairs(QByteArrayView text) : m_opening(text, patternOpen()), m_closing(text, patternClose()) { }

    // False when the pass ends.
    bool next(qsizetype &b, qsizetype &e)
    {
        b = m_opening.find(m_start);
        if (b < 0)
            return false;
        e = m_closing.find(m_start + 1);
        if (e < 0)
            return false;
        m_start = e + patternClose().size();
        return true;
    }

private:
    ForwardSearch m_opening;
    ForwardSearch m_closing;
    qsizetype m_start = 0;
};

// Where a cell's bytes lie in the text.
qsizetype offsetIn(QByteArrayView text, QByteArrayView part)
{
    return part.data() - text.data();
}

void readPatterns(QByteArrayView text, const ReadOptions &options, const ReadProgress &progress, CategoryRows &rows)
{
    Ticker ticker(progress, ReadPass::Patterns);
    // The pairs first, so that the table is allocated once: growing it step by step touches
    // twice the memory, and stray closing tags can make far more rows than opening tags.
    std::vector<std::pair<qsizetype, qsizetype>> pairs;
    qsizetype b = 0;
    qsizetype e = 0;
    for (PatternPairs search(text); search.next(b, e);)
        pairs.emplace_back(b, e);
    rows.reserve(static_cast<qsizetype>(pairs.size()) + 1);
    for (const auto &[open, close] : pairs) {
        const qsizetype from = open + patternOpen().size();
        const qsizetype row = rows.size() - 1;
        rows.setBytes(row, PatternColumn, from, close - from, options.upcase);
        rows.appendRow();
        rows.setNumber(row + 1, LabelColumn, static_cast<quint32>(row + 2));
        ticker.step();
    }
}

void readThats(QByteArrayView text, const ReadProgress &progress, CategoryRows &rows)
{
    Ticker ticker(progress, ReadPass::Thats);
    qsizetype row = 1;
    ForwardSearch opening(text, categoryOpen());
    ForwardSearch closing(text, categoryClose());
    qsizetype s = 0;
    for (;;) {
        const qsizetype c = opening.find(s);
        if (c < 0)
            break;
        const qsizetype d = closing.find(s);
        if (d < 0)
            break;
        const QByteArrayView category = between(text, c, d);
        if (HasThat(category)) {
            const qsizetype t = thatOpen().find(category, 0);
            const qsizetype u = thatClose().find(category, 0);
            if (u < 0)
                break;
            if (row <= rows.size()) {
                const QByteArrayView that = between(category, t + thatOpen().size(), u);
                rows.setBytes(row - 1, ThatColumn, offsetIn(text, that), that.size());
            }
        }
        ticker.step();
        ++row;
        // Lands inside "</category>", as the search for the next pair expects.
        s = d + 5;
    }
}

void readTemplates(QByteArrayView text, const ReadProgress &progress, CategoryRows &rows)
{
    Ticker ticker(progress, ReadPass::Templates);
    qsizetype row = 1;
    ForwardSearch opening(text, templateOpen());
    ForwardSearch closing(text, templateClose());
    qsizetype s = 0;
    for (;;) {
        const qsizetype b = opening.find(s);
        if (b < 0)
            break;
        const qsizetype e = closing.find(s + 1);
        if (e < 0)
            break;
        if (row <= rows.size()) {
            const QByteArrayView body = trimmedControls(between(text, b + templateOpen().size(), e));
            rows.setBytes(row - 1, TemplateColumn, offsetIn(text, body), body.size());
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

CategoryRows readCategories(const QByteArray &text, const ReadOptions &options, const ReadProgress &progress)
{
    CategoryRows rows(text, options.encoding);
    rows.resize(1);
    rows.setText(0, LabelColumn, options.firstLabel);
    readPatterns(text, options, progress, rows);
    readThats(text, progress, rows);
    readTemplates(text, progress, rows);
    return rows;
}

} // namespace vorrel
