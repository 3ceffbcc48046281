#include "document/AimlReader.h"

#include "aiml/Markup.h"
#include "document/DocumentText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
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

// The tags the passes look for. Each starts with "<" and holds no other, and none is the start
// of another ("<topic" only counts before a blank or ">", so "<topicstar/>" is none): an
// occurrence of any of them starts at a "<" of its own.
enum TagId : int {
    PatternOpen,
    PatternClose,
    CategoryOpen,
    CategoryClose,
    ThatOpen,
    ThatClose,
    TemplateOpen,
    TemplateClose,
    TopicOpen,
    TopicClose,
    kTagCount
};

constexpr QByteArrayView kTags[kTagCount] = { "<pattern>", "</pattern>", "<category>", "</category>", "<that>",
    "</that>", "<template>", "</template>", "<topic", "</topic>" };

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
        if (is(that))
            return that;
        if (is(templ))
            return templ;
        if (closing)
            return is(TopicClose) ? TopicClose : -1;
        const qsizetype after = tagSize(TopicOpen);
        return is(TopicOpen) && left > after && (isXmlBlank(p[after]) || p[after] == '>') ? TopicOpen : -1;
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
    std::vector<Pos> &of(TagId tag) { return m_lists[static_cast<size_t>(tag)]; }

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
    // The index of what the last find() found.
    size_t index() const { return m_next; }

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

constexpr auto kNoPartner = std::numeric_limits<qsizetype>::max();

// Each opening template tag's closing tag by depth, nested templates (those of categories
// taught inside a template) paired in between; kNoPartner where no closing tag is left for it.
template<typename Pos> std::vector<Pos> templatePartners(const TagPositions<Pos> &tags)
{
    const std::vector<Pos> &opening = tags.of(TemplateOpen);
    const std::vector<Pos> &closing = tags.of(TemplateClose);
    std::vector<Pos> partners(opening.size(), std::numeric_limits<Pos>::max());
    std::vector<size_t> open;
    size_t c = 0;
    for (size_t o = 0; o <= opening.size(); ++o) {
        const qsizetype next = o < opening.size() ? qsizetype(opening[o]) : kNoPartner;
        for (; c < closing.size() && qsizetype(closing[c]) < next; ++c) {
            if (!open.empty()) {
                partners[open.back()] = closing[c];
                open.pop_back();
            }
        }
        if (o < opening.size())
            open.push_back(o);
    }
    return partners;
}

// The template pass's pairing: an opening tag at or after the start, and the first closing tag
// after the start when it comes first (an empty template) or when the opening tag is never
// closed by depth; else the closing tag that pairs with it by depth, so that a template keeps
// the categories it teaches.
template<typename Pos> class TemplatePairs final
{
public:
    TemplatePairs(const TagPositions<Pos> &tags, const std::vector<Pos> &partners)
        : m_opening(tags.of(TemplateOpen)), m_closing(tags.of(TemplateClose)), m_partners(partners)
    {
    }

    // False when the pass ends. `byDepth` tells that the pair encloses everything between.
    bool next(qsizetype &b, qsizetype &e, bool &byDepth)
    {
        b = m_opening.find(m_start);
        if (b < 0)
            return false;
        const qsizetype first = m_closing.find(m_start + 1);
        if (first < 0)
            return false;
        const Pos partner = m_partners[m_opening.index()];
        byDepth = first > b && partner != std::numeric_limits<Pos>::max();
        e = byDepth ? qsizetype(partner) : first;
        m_start = e + tagSize(TemplateClose);
        return true;
    }

private:
    Cursor<Pos> m_opening;
    Cursor<Pos> m_closing;
    const std::vector<Pos> &m_partners;
    qsizetype m_start = 0;
};

// Drops the positions inside a run of ranges that only move forwards, in place.
template<typename Pos> class Sieve final
{
public:
    explicit Sieve(std::vector<Pos> &positions) : m_positions(positions) { }
    ~Sieve() { m_positions.erase(m_positions.begin() + m_kept, m_positions.begin() + m_read); }
    Sieve(const Sieve &) = delete;
    Sieve &operator=(const Sieve &) = delete;

    // Drops those after `from` and before `to`.
    void drop(qsizetype from, qsizetype to)
    {
        // Nothing moves until something is dropped, which few documents ever need.
        if (m_kept == m_read) {
            while (m_read < m_positions.size() && qsizetype(m_positions[m_read]) <= from)
                ++m_read;
            m_kept = m_read;
        } else {
            for (; m_read < m_positions.size() && qsizetype(m_positions[m_read]) <= from; ++m_read)
                m_positions[m_kept++] = m_positions[m_read];
        }
        while (m_read < m_positions.size() && qsizetype(m_positions[m_read]) < to)
            ++m_read;
    }

private:
    std::vector<Pos> &m_positions;
    size_t m_read = 0;
    size_t m_kept = 0;
};

// A template's text is its own: the tags inside a template paired by depth belong to no
// category of the document, so the other passes never see them.
template<typename Pos> void dropTagsInTemplates(TagPositions<Pos> &tags, const std::vector<Pos> &partners)
{
    std::vector<std::unique_ptr<Sieve<Pos>>> sieves;
    for (const TagId tag :
        { PatternOpen, PatternClose, CategoryOpen, CategoryClose, ThatOpen, ThatClose, TopicOpen, TopicClose })
        sieves.push_back(std::make_unique<Sieve<Pos>>(tags.of(tag)));
    qsizetype b = 0;
    qsizetype e = 0;
    bool byDepth = false;
    for (TemplatePairs<Pos> pairs(tags, partners); pairs.next(b, e, byDepth);) {
        if (!byDepth)
            continue;
        for (const auto &sieve : sieves)
            sieve->drop(b, e);
    }
}

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

// What surrounds the categories: the topic each one lies in, and the text that stood before it
// (between it and the category before, and at its own head before its first cell). Asked
// about places that only move forwards, it reads every byte a bounded number of times.
template<typename Pos> class Surroundings final
{
public:
    Surroundings(QByteArrayView text, TextEncoding encoding, LineEnd lineEnd, const TagPositions<Pos> &tags)
        : m_text(text),
          m_encoding(encoding),
          m_lineEnd(lineEndBytes(lineEnd)),
          m_topicOpening(tags.of(TopicOpen)),
          m_topicClosing(tags.of(TopicClose))
    {
        for (const TagId tag : { PatternOpen, PatternClose, CategoryOpen, CategoryClose, ThatOpen, ThatClose,
                 TemplateOpen, TemplateClose })
            m_cellTags.emplace_back(tags.of(tag));
    }

    // Row `row` is the category at `category`, whose head runs to `headEnd`, after the text
    // from `from`.
    void describe(qsizetype from, qsizetype category, qsizetype headEnd, qsizetype row, CategoryRows &rows)
    {
        passTopicTags(from, category);
        m_pieces.clear();
        addPieces(from, category);
        const qsizetype head = category + tagSize(CategoryOpen);
        m_cuts.clear();
        if (!holdsTag(m_topicOpening, head, headEnd) && !holdsTag(m_topicClosing, head, headEnd))
            addPieces(head, headEnd);
        if (m_topic >= 0) {
            const QByteArrayView name = attributeIn(m_text.sliced(m_topic, m_topicEnd - m_topic), "name");
            if (!name.contains('&'))
                rows.setBytes(row, TopicColumn, name.data() - m_text.data(), name.size());
            else
                rows.setText(row, TopicColumn, decodeEntities(decodeText(name, m_encoding)));
        }
        keepPieces([&](qsizetype at, qsizetype size) { rows.setBytes(row, LeadingTextColumn, at, size); },
            [&](const QString &joined) { rows.setText(row, LeadingTextColumn, joined); });
    }

    // What follows the last category, from `from`, but the document's closing tag.
    void describeEnd(qsizetype from, CategoryRows &rows)
    {
        if (from >= m_text.size())
            return;
        passTopicTags(from, m_text.size());
        const QByteArrayView rest = m_text.sliced(from);
        for (qsizetype at = rest.indexOf('<'); at >= 0; at = rest.indexOf('<', at + 1)) {
            if (equalsIgnoringAsciiCase(rest.sliced(at, std::min<qsizetype>(7, rest.size() - at)), "</aiml>")) {
                m_cuts.push_back({ from + at, from + at + 7 });
                std::sort(m_cuts.begin(), m_cuts.end());
                break;
            }
        }
        m_pieces.clear();
        addPieces(from, m_text.size());
        keepPieces([&](qsizetype at, qsizetype size) { rows.setTrailingBytes(at, size); },
            [&](const QString &joined) { rows.setTrailingText(joined); });
    }

private:
    // Steps over the topic tags before `to`: an opening one starts the topic, a closing one
    // ends it. Those at or after `from` are cut out of the text between categories.
    void passTopicTags(qsizetype from, qsizetype to)
    {
        m_cuts.clear();
        for (;;) {
            const qsizetype opening = m_topicOpening.find(m_passed);
            const qsizetype closing = m_topicClosing.find(m_passed);
            const bool isOpening = opening >= 0 && (closing < 0 || opening < closing);
            const qsizetype at = isOpening ? opening : closing;
            if (at < 0 || at >= to)
                break;
            const qsizetype end = isOpening ? std::min(tagEnd(at), to) : at + tagSize(TopicClose);
            m_topic = isOpening ? at : -1;
            m_topicEnd = end;
            if (at >= from)
                m_cuts.push_back({ at, end });
            m_passed = at + 1;
        }
    }

    // Just past the first ">" at or after `at`, or the text's end.
    qsizetype tagEnd(qsizetype at)
    {
        if (m_nextGt < at) {
            const qsizetype gt = m_text.sliced(at).indexOf('>');
            m_nextGt = gt < 0 ? m_text.size() : at + gt;
        }
        return std::min(m_nextGt + 1, m_text.size());
    }

    static bool holdsTag(Cursor<Pos> &tags, qsizetype from, qsizetype to)
    {
        const qsizetype at = tags.find(from);
        return at >= 0 && at < to;
    }

    // The pieces of [from, to) between the cuts, trimmed, unless it holds a tag the passes
    // read: then it was read as cells, or is broken, and writing it again would make more rows.
    void addPieces(qsizetype from, qsizetype to)
    {
        // Mostly a line break or two, which says nothing.
        if (m_cuts.empty() && trimmedControls(between(m_text, from, to)).isEmpty())
            return;
        if (std::any_of(m_cellTags.begin(), m_cellTags.end(),
                [from, to](Cursor<Pos> &tags) { return holdsTag(tags, from, to); }))
            return;
        qsizetype at = from;
        m_cuts.push_back({ to, to });
        for (const auto &[cutFrom, cutTo] : m_cuts) {
            const QByteArrayView piece = trimmedControls(between(m_text, at, std::min(cutFrom, to)));
            if (!piece.isEmpty() && holdsWholeMarkup(piece))
                m_pieces.push_back(piece);
            at = std::max(at, cutTo);
        }
    }

    // Whether the piece holds whole markup only: every "<" starts markup that ends within it,
    // and no comment or section ends without starting in it. A literal tag inside a comment
    // cuts the comment in two, and half a comment written alone would swallow what follows it
    // or stand as stray text.
    static bool holdsWholeMarkup(QByteArrayView piece)
    {
        for (qsizetype at = 0;;) {
            const qsizetype open = piece.indexOf('<', at);
            const QByteArrayView text = piece.sliced(at, (open < 0 ? piece.size() : open) - at);
            if (text.contains("-->") || text.contains("]]>"))
                return false;
            if (open < 0)
                return true;
            const QByteArrayView rest = piece.sliced(open);
            const bool comment = rest.startsWith("<!--");
            const bool section = rest.startsWith("<![CDATA[");
            const QByteArrayView end = comment ? "-->" : section ? "]]>" : ">";
            const qsizetype found = rest.indexOf(end, comment ? 4 : section ? 9 : 1);
            if (found < 0)
                return false;
            at = open + found + end.size();
        }
    }

    // One piece as its place in the text, several joined by line breaks; nothing for none.
    template<typename KeepPlace, typename KeepText> void keepPieces(KeepPlace &&keepPlace, KeepText &&keepText)
    {
        if (m_pieces.size() == 1) {
            keepPlace(m_pieces.front().data() - m_text.data(), m_pieces.front().size());
        } else if (m_pieces.size() > 1) {
            QByteArray joined;
            for (const QByteArrayView piece : m_pieces) {
                if (!joined.isEmpty())
                    joined += m_lineEnd;
                joined += piece;
            }
            keepText(decodeText(joined, m_encoding));
        }
    }

    QByteArrayView m_text;
    TextEncoding m_encoding;
    QByteArrayView m_lineEnd;
    Cursor<Pos> m_topicOpening;
    Cursor<Pos> m_topicClosing;
    std::vector<Cursor<Pos>> m_cellTags;
    // Topic tags before this place have been passed.
    qsizetype m_passed = 0;
    // The start tag of the topic in force and where it ends, -1 for none.
    qsizetype m_topic = -1;
    qsizetype m_topicEnd = -1;
    qsizetype m_nextGt = -1;
    std::vector<std::pair<qsizetype, qsizetype>> m_cuts;
    std::vector<QByteArrayView> m_pieces;
};

template<typename Pos>
void readThats(QByteArrayView text, const TagPositions<Pos> &tags, Ticker &ticker, CategoryRows &rows)
{
    qsizetype row = 1;
    Cursor<Pos> opening(tags.of(CategoryOpen));
    Cursor<Pos> closing(tags.of(CategoryClose));
    // Searched from each category's start, which only moves forwards too.
    Cursor<Pos> thatOpening(tags.of(ThatOpen));
    Cursor<Pos> thatClosing(tags.of(ThatClose));
    // Where a category's head ends: its first cell's tag.
    Cursor<Pos> patternOpening(tags.of(PatternOpen));
    Cursor<Pos> templateOpening(tags.of(TemplateOpen));
    Surroundings<Pos> around(text, rows.encoding(), rows.lineEnd(), tags);
    // The text before the first category starts where a refresh ends the header, at the first
    // category or topic tag (letter case aside, which the passes do not read anyway).
    const qsizetype firstTopic = Cursor<Pos>(tags.of(TopicOpen)).find(0);
    qsizetype gapFrom = firstTopic >= 0 ? firstTopic : std::numeric_limits<qsizetype>::max();
    qsizetype s = 0;
    for (;;) {
        const qsizetype c = opening.find(s);
        if (c < 0)
            break;
        const qsizetype d = closing.find(s);
        if (d < 0)
            break;
        const qsizetype t = thatOpening.find(c);
        if (row <= rows.size()) {
            qsizetype headEnd = d > c ? d : c + tagSize(CategoryOpen);
            for (const qsizetype cell : { patternOpening.find(c), t, templateOpening.find(c) }) {
                if (cell >= 0 && cell < headEnd)
                    headEnd = cell;
            }
            around.describe(std::min(gapFrom, c), c, headEnd, row - 1, rows);
        }
        // A that tag counts when it lies wholly inside the category, from c up to d.
        const auto inside = [c, d](qsizetype at, TagId tag) { return at >= 0 && at + tagSize(tag) <= d && d > c; };
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
        gapFrom = d + tagSize(CategoryClose);
        // Lands inside "</category>", as the search for the next pair expects.
        s = d + 5;
    }
    if (row > 1)
        around.describeEnd(gapFrom, rows);
}

template<typename Pos>
void readTemplates(QByteArrayView text, const TagPositions<Pos> &tags, const std::vector<Pos> &partners, Ticker &ticker,
    CategoryRows &rows)
{
    qsizetype row = 1;
    qsizetype b = 0;
    qsizetype e = 0;
    bool byDepth = false;
    for (TemplatePairs<Pos> pairs(tags, partners); pairs.next(b, e, byDepth);) {
        if (row <= rows.size()) {
            const QByteArrayView body = trimmedControls(between(text, b + tagSize(TemplateOpen), e));
            if (!body.isEmpty())
                rows.setBytes(row - 1, TemplateColumn, body.data() - text.data(), body.size());
        }
        ++row;
        ticker.step();
    }
}

template<typename Pos>
void readAll(const QByteArray &text, const ReadOptions &options, const ReadProgress &progress, CategoryRows &rows)
{
    TagPositions<Pos> tags(text);
    // Every "<category>" of the text, also those that templates teach.
    const int categories = categoryCount(tags);
    Ticker patterns(progress, ReadPass::Patterns, categories);
    const std::vector<Pos> partners = templatePartners(tags);
    dropTagsInTemplates(tags, partners);
    readPatterns(tags, options, patterns, rows);
    Ticker thats(progress, ReadPass::Thats, categories);
    readThats(text, tags, thats, rows);
    Ticker templates(progress, ReadPass::Templates, categories);
    readTemplates(text, tags, partners, templates, rows);
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
