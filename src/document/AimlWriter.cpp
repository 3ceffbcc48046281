#include "document/AimlWriter.h"

#include "base/AsciiCase.h"
#include "document/DocumentText.h"

#include <algorithm>
#include <cstring>

namespace vorrel {

namespace {

// One line of the old text: [start, end) without its line end; `next` is where the
// following line starts.
struct Line
{
    qsizetype start;
    qsizetype end;
    qsizetype next;
};

// Lines end in LF or CR LF; a line end at the very end of the text starts no further line.
class LineScanner final
{
public:
    explicit LineScanner(QByteArrayView text) : m_text(text) { }

    bool next(Line &line)
    {
        if (m_pos >= m_text.size())
            return false;
        const char *data = m_text.data();
        const auto *lf = static_cast<const char *>(std::memchr(data + m_pos, '\n', m_text.size() - m_pos));
        line.start = m_pos;
        if (!lf) {
            line.end = line.next = m_text.size();
        } else {
            const qsizetype at = lf - data;
            line.end = (at > m_pos && data[at - 1] == '\r') ? at - 1 : at;
            line.next = at + 1;
        }
        m_pos = line.next;
        return true;
    }

private:
    QByteArrayView m_text;
    qsizetype m_pos = 0;
};

bool lineIs(QByteArrayView text, const Line &line, QByteArrayView what)
{
    return line.end - line.start == what.size()
        && equalsIgnoringAsciiCase(text.sliced(line.start, line.end - line.start), what);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool startsWithName(QByteArrayView text, qsizetype at, QByteArrayView name)
{
    return text.size() - at > name.size() && equalsIgnoringAsciiCase(text.sliced(at, name.size()), name);
}

} // namespace

// Blanks are allowed before the ">" as XML allows, but no line break, so that dropping or
// keeping whole lines never makes or splits a tag.
qsizetype firstCategoryOrTopicTag(QByteArrayView text)
{
    static const QByteArrayView kCategory("<category");
    static const QByteArrayView kTopic("<topic");
    const char *data = text.data();
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size; ++at) {
        const auto *open = static_cast<const char *>(std::memchr(data + at, '<', static_cast<size_t>(size - at)));
        if (!open)
            break;
        at = open - data;
        // Most "<" start neither name: one look at the next letter tells.
        const char next = at + 1 < size ? asciiLower(data[at + 1]) : '\0';
        if (next != 'c' && next != 't')
            continue;
        if (startsWithName(text, at, kTopic)) {
            const char after = data[at + kTopic.size()];
            if (isBlank(after) || after == '>')
                return at;
            continue;
        }
        if (!startsWithName(text, at, kCategory))
            continue;
        qsizetype end = at + kCategory.size();
        while (end < size && isBlank(data[end]))
            ++end;
        if (end < size && data[end] == '>')
            return at;
    }
    return -1;
}

namespace {

// A cell's line breaks, whichever it holds, as the document's.
void appendCell(
    QByteArray &out, const CategoryRows &rows, qsizetype row, int column, TextEncoding encoding, LineEnd lineEnd)
{
    const qsizetype start = out.size();
    rows.appendEncoded(out, row, column, encoding);
    const QByteArrayView added(out.constData() + start, out.size() - start);
    if (!added.contains('\n'))
        return;
    const QByteArray converted = withLineEnds(added.toByteArray(), lineEnd);
    out.truncate(start);
    out.append(converted);
}

// A topic's name inside its double quotes: what would end or break the attribute as markup.
void appendEscaped(QByteArray &out, QByteArrayView name)
{
    for (const char c : name) {
        switch (c) {
        case '&':
            out.append("&amp;");
            break;
        case '<':
            out.append("&lt;");
            break;
        case '"':
            out.append("&quot;");
            break;
        default:
            out.append(c);
        }
    }
}

// The cells that make a row worth writing.
constexpr CategoryColumn kWritten[] = { PatternColumn, ThatColumn, TemplateColumn, TopicColumn };

} // namespace

RefreshResult refreshText(const CategoryRows &rows, QByteArrayView oldText, TextEncoding encoding)
{
    static const QByteArrayView kAiml("</aiml>");

    // Header: the lines before the first category tag's line, and what stands before the tag
    // on its own line unless that is only indentation. Without a tag, every line but the
    // first closing line.
    const qsizetype tag = firstCategoryOrTopicTag(oldText);
    qsizetype lineStart = 0;
    QByteArrayView before;
    if (tag >= 0) {
        lineStart = tag;
        while (lineStart > 0 && oldText[lineStart - 1] != '\n')
            --lineStart;
        before = oldText.sliced(lineStart, tag - lineStart);
    }
    const bool keepBefore = std::any_of(before.begin(), before.end(), [](char c) { return !isBlank(c); });

    Line aimlLine { -1, -1, -1 };
    if (tag < 0) {
        LineScanner scanner(oldText);
        Line line;
        while (scanner.next(line)) {
            if (lineIs(oldText, line, kAiml)) {
                aimlLine = line;
                break;
            }
        }
    }

    const LineEnd lineEnd = lineEndOf(oldText);
    const QByteArrayView eol = lineEndBytes(lineEnd);
    RefreshResult result;
    if (tag < 0 && aimlLine.start < 0) {
        result.errorString = QStringLiteral("List index out of bounds (%1)").arg(-1);
        return result;
    }

    // Held bytes are as long as they are written; a text's UTF-16 length is near enough.
    qsizetype cellBytes = 0;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (int c = PatternColumn; c < CategoryRows::kColumns; ++c)
            cellBytes += rows.holdsBytes(r, c) ? rows.storedBytes(r, c).size() : rows.text(r, c).size();
    }
    QByteArray &out = result.text;
    out.reserve(oldText.size() + cellBytes + rows.size() * 96 + 16);

    if (tag >= 0) {
        out.append(oldText.first(lineStart));
        if (keepBefore) {
            out.append(before);
            out.append(eol);
        }
    } else {
        out.append(oldText.first(aimlLine.start));
        const QByteArrayView rest = oldText.sliced(aimlLine.next);
        out.append(rest);
        if (!rest.isEmpty() && rest.back() != '\n')
            out.append(eol);
    }

    // Rows with nothing but blanks are left out, but not all of them: the text keeps a category
    // for the next refresh to end its header at.
    const auto blank = [&rows](qsizetype r) {
        return std::all_of(std::begin(kWritten), std::end(kWritten),
            [&rows, r](CategoryColumn column) { return rows.isBlank(r, column); });
    };
    qsizetype lastBlank = rows.size() - 1;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (!blank(r)) {
            lastBlank = -1;
            break;
        }
    }
    // The text before the categories of rows [from, to], those left out included.
    const auto appendLeading = [&](qsizetype from, qsizetype to) {
        for (qsizetype r = from; r <= to; ++r) {
            if (!rows.isEmpty(r, LeadingTextColumn)) {
                rows.appendEncoded(out, r, LeadingTextColumn, encoding);
                out.append(eol);
            }
        }
    };
    // The row whose topic element is open, -1 for none.
    qsizetype topicRow = -1;
    qsizetype leadingFrom = 0;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (r != lastBlank && blank(r))
            continue;
        const bool hasTopic = !rows.isEmpty(r, TopicColumn);
        if (topicRow >= 0 && !(hasTopic && rows.sameText(topicRow, r, TopicColumn))) {
            out.append("</topic>").append(eol);
            topicRow = -1;
        }
        // What the first category writes stands after a tag of its own, so that the next
        // refresh, whose header ends at the first tag, finds it here and not in the header.
        const bool first = leadingFrom == 0;
        if (!first)
            appendLeading(leadingFrom, r);
        if (hasTopic && topicRow < 0) {
            out.append("<topic name=\"");
            QByteArray name;
            rows.appendEncoded(name, r, TopicColumn, encoding);
            appendEscaped(out, name);
            out.append("\">").append(eol);
            topicRow = r;
        }
        if (first && hasTopic)
            appendLeading(0, r);
        out.append("<category>").append(eol);
        if (first && !hasTopic)
            appendLeading(0, r);
        out.append("<pattern>");
        appendCell(out, rows, r, PatternColumn, encoding, lineEnd);
        out.append("</pattern>").append(eol);
        if (!rows.isEmpty(r, ThatColumn)) {
            out.append("<that>");
            appendCell(out, rows, r, ThatColumn, encoding, lineEnd);
            out.append("</that>").append(eol);
        }
        out.append("<template>").append(eol);
        appendCell(out, rows, r, TemplateColumn, encoding, lineEnd);
        out.append(eol).append("</template>").append(eol).append("</category>").append(eol);
        out.append(' ').append(eol);
        leadingFrom = r + 1;
    }
    if (topicRow >= 0)
        out.append("</topic>").append(eol);
    appendLeading(leadingFrom, rows.size() - 1);
    const qsizetype trailing = out.size();
    rows.appendTrailingEncoded(out, encoding);
    if (out.size() > trailing)
        out.append(eol);
    out.append("</aiml>").append(eol);
    result.ok = true;
    return result;
}

} // namespace vorrel
