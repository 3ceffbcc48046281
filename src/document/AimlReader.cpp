#include "document/AimlReader.h"

#include "document/DocumentText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

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

// The eight tags the passes look for. Each starts with "<" and holds no other, and none is
// the start of another: an occurrence of any of them starts at a "<" of its own.
enum TagId : int {
    PatternOpen,
    PatternClose,
    CategoryOpen,
    CategoryClose,
    ThatOpen,
    ThatClose,
    TemplateOpen,
    TemplateClose,
    kTagCount
};

constexpr QByteArrayView kTags[kTagCount]
    = { "<pattern>", "</pattern>", "<category>", "</category>", "<that>", "</that>", "<template>", "</template>" };

constexpr qsizetype tagSize(TagId tag)
{
    return kTags[tag].size();
}

// The tag starting at `p`, with `left` bytes from `p` to the end; -1 for none.
int tagAt(const char *p, qsizetype left)
{
    const auto is = [p, left](TagId tag) {
        return left >= tagSize(tag) && std::memcmp(p, kTags[tag].data(), static_cast<size_t>(tagSize(tag))) == 0;
    };
    const bool closing = left > 1 && p[1] == '/';
    const char first = left > 2 ? p[closing ? 2 : 1] : '\0';
    switch (first) {
    case 'p':
        return is(closing ? PatternClose : PatternOpen) ? (closing ? PatternClose : PatternOpen) : -1;
    case 'c':
        return is(closing ? CategoryClose : CategoryOpen) ? (closing ? CategoryClose : CategoryOpen) : -1;
    case 't': {
        const TagId that = closing ? ThatClose : ThatOpen;
        const TagId templ = closing ? TemplateClose : TemplateOpen;
        return is(that) ? that : is(templ) ? templ : -1;
    }
    default:
        return -1;
    }
}

// Where each tag occurs, in one scan of the text: the passes then pair tags without
// searching again. Positions take four bytes where the text allows.
template<typename Pos> class TagPositions final
{
public:
    explicit TagPositions(QByteArrayView text)
    {
        const char *data = text.data();
        const char *end = data + text.size();
        for (const char *p = data; p < end; ++p) {
            p = static_cast<const char *>(std::memchr(p, '<', static_cast<size_t>(end - p)));
            if (!p)
                break;
            const int tag = tagAt(p, end - p);
            if (tag >= 0)
                m_lists[static_cast<size_t>(tag)].push_back(static_cast<Pos>(p - data));
        }
    }

    const std::vector<Pos> &of(TagId tag) const { return m_lists[static_cast<size_t>(tag)]; }

private:
    std::array<std::vector<Pos>, kTagCount> m_lists;
};

// One tag's searches over one pass, whose start only moves forwards: the first occurrence at
// or after the start, -1 when none.
template<typename Pos> class Cursor final
{
public:
    explicit Cursor(const std::vector<Pos> &positions) : m_positions(positions) { }

    qsizetype find(qsizetype from)
    {
        while (m_next < m_positions.size() && qsizetype(m_positions[m_next]) < from)
            ++m_next;
        return m_next < m_positions.size() ? qsizetype(m_positions[m_next]) : -1;
    }

private:
    const std::vector<Pos> &m_positions;
    size_t m_next = 0;
};

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
    Ticker(const ReadProgress &progress, ReadPass pass, int categories)
        : m_progress(progress), m_pass(pass), m_categories(categories)
    {
        if (m_progress)
            m_progress(m_pass, 0, m_categories);
    }
    void step()
    {
        ++m_steps;
        if (m_progress && m_steps % kReadProgressInterval == 0)
            m_progress(m_pass, m_steps, m_categories);
    }

private:
    const ReadProgress &m_progress;
    ReadPass m_pass;
    int m_categories;
    int m_steps = 0;
};

// The pattern pass's pairing: an opening tag at or after the start, the first closing tag
// after the start (before the opening one, it gives an empty pattern).
template<typename Pos> class PatternPairs final
{
public:
    explicit PatternPairs(const TagPositions<Pos> &tags)
        : m_opening(tags.of(PatternOpen)), m_closing(tags.of(PatternClose))
    {
    }

    // False when the pass ends.
    bool next(qsizetype &b, qsizetype &e)
    {
        b = m_opening.find(m_start);
        if (b < 0)
            return false;
        e = m_closing.find(m_start + 1);
        if (e < 0)
            return false;
        m_start = e + tagSize(PatternClose);
        return true;
    }

private:
    Cursor<Pos> m_opening;
    Cursor<Pos> m_closing;
    qsizetype m_start = 0;
};

template<typename Pos>
void readPatterns(const TagPositions<Pos> &tags, const ReadOptions &options, Ticker &ticker, CategoryRows &rows)
{
    // Pairs counted first, so that the table is allocated once: growing it step by step
    // touches twice the memory, and stray closing tags can make far more rows than opening tags.
    qsizetype b = 0;
    qsizetype e = 0;
    qsizetype count = 0;
    for (PatternPairs<Pos> pairs(tags); pairs.next(b, e);)
        ++count;
    rows.reserve(count + 1);
    for (PatternPairs<Pos> pairs(tags); pairs.next(b, e);) {
        const qsizetype from = b + tagSize(PatternOpen);
        const qsizetype row = rows.size() - 1;
        rows.setBytes(row, PatternColumn, from, e - from, options.upcase);
        rows.appendRow();
        rows.setNumber(row + 1, LabelColumn, static_cast<quint32>(row + 2));
        ticker.step();
    }
}

template<typename Pos> int categoryCount(const TagPositions<Pos> &tags)
{
    return static_cast<int>(std::min<size_t>(tags.of(CategoryOpen).size(), std::numeric_limits<int>::max()));
}

template<typename Pos> void readThats(const TagPositions<Pos> &tags, const ReadProgress &progress, CategoryRows &rows)
{
    Ticker ticker(progress, ReadPass::Thats, categoryCount(tags));
    qsizetype row = 1;
    Cursor<Pos> opening(tags.of(CategoryOpen));
    Cursor<Pos> closing(tags.of(CategoryClose));
    // Searched from each category's start, which only moves forwards too.
    Cursor<Pos> thatOpening(tags.of(ThatOpen));
    Cursor<Pos> thatClosing(tags.of(ThatClose));
    qsizetype s = 0;
    for (;;) {
        const qsizetype c = opening.find(s);
        if (c < 0)
            break;
        const qsizetype d = closing.find(s);
        if (d < 0)
            break;
        // A that tag counts when it lies wholly inside the category, from c up to d.
        const auto inside = [c, d](qsizetype at, TagId tag) { return at >= 0 && at + tagSize(tag) <= d && d > c; };
        const qsizetype t = thatOpening.find(c);
        if (inside(t, ThatOpen)) {
            const qsizetype u = thatClosing.find(c);
            if (!inside(u, ThatClose))
                break;
            if (row <= rows.size()) {
                const qsizetype from = t + tagSize(ThatOpen);
                rows.setBytes(row - 1, ThatColumn, from, u - from);
            }
        }
        ticker.step();
        ++row;
        // Lands inside "</category>", as the search for the next pair expects.
        s = d + 5;
    }
}

template<typename Pos>
void readTemplates(QByteArrayView text, const TagPositions<Pos> &tags, const ReadProgress &progress, CategoryRows &rows)
{
    Ticker ticker(progress, ReadPass::Templates, categoryCount(tags));
    qsizetype row = 1;
    Cursor<Pos> opening(tags.of(TemplateOpen));
    Cursor<Pos> closing(tags.of(TemplateClose));
    qsizetype s = 0;
    for (;;) {
        const qsizetype b = opening.find(s);
        if (b < 0)
            break;
        const qsizetype e = closing.find(s + 1);
        if (e < 0)
            break;
        if (row <= rows.size()) {
            const QByteArrayView body = trimmedControls(between(text, b + tagSize(TemplateOpen), e));
            if (!body.isEmpty())
                rows.setBytes(row - 1, TemplateColumn, body.data() - text.data(), body.size());
        }
        ++row;
        ticker.step();
        s = e + tagSize(TemplateClose);
    }
}

template<typename Pos>
void readAll(const QByteArray &text, const ReadOptions &options, const ReadProgress &progress, CategoryRows &rows)
{
    const TagPositions<Pos> tags(text);
    Ticker patterns(progress, ReadPass::Patterns, categoryCount(tags));
    readPatterns(tags, options, patterns, rows);
    readThats(tags, progress, rows);
    readTemplates(text, tags, progress, rows);
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
    return findBytes(text, kTags[ThatOpen], 0) >= 0;
}

CategoryRows readCategories(const QByteArray &text, const ReadOptions &options, const ReadProgress &progress)
{
    CategoryRows rows(text, options.encoding);
    rows.resize(1);
    rows.setText(0, LabelColumn, options.firstLabel);
    if (text.size() <= std::numeric_limits<quint32>::max())
        readAll<quint32>(text, options, progress, rows);
    else
        readAll<qsizetype>(text, options, progress, rows);
    return rows;
}

} // namespace vorrel
