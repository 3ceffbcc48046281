#include "document/AimlWriter.h"

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

// The first category start tag: "<category>" in any letter case, blanks allowed before the
// ">" as XML allows, but no line break, so that dropping or keeping whole lines never makes
// or splits one. -1 when there is none.
qsizetype findCategoryTag(QByteArrayView text)
{
    static const QByteArrayView kName("<category");
    const char *data = text.data();
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size; ++at) {
        const auto *open = static_cast<const char *>(std::memchr(data + at, '<', static_cast<size_t>(size - at)));
        if (!open)
            break;
        at = open - data;
        if (size - at <= kName.size())
            break;
        if (!equalsIgnoringAsciiCase(text.sliced(at, kName.size()), kName))
            continue;
        qsizetype end = at + kName.size();
        while (end < size && isBlank(data[end]))
            ++end;
        if (end < size && data[end] == '>')
            return at;
    }
    return -1;
}

// A cell's bytes, every LF without a CR before it within the cell made CR LF.
void appendCell(QByteArray &out, const CategoryRows &rows, qsizetype row, int column, TextEncoding encoding)
{
    const qsizetype start = out.size();
    rows.appendEncoded(out, row, column, encoding);
    const QByteArrayView added(out.constData() + start, out.size() - start);
    if (!added.contains('\n'))
        return;
    const QByteArray converted = toCrLf(added.toByteArray());
    out.truncate(start);
    out.append(converted);
}

} // namespace

RefreshResult refreshText(const CategoryRows &rows, QByteArrayView oldText, TextEncoding encoding)
{
    static const QByteArrayView kAiml("</aiml>");

    // Header: the lines before the first category tag's line, and what stands before the tag
    // on its own line unless that is only indentation. Without a tag, every line but the
    // first closing line.
    const qsizetype tag = findCategoryTag(oldText);
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

    RefreshResult result;
    if (tag < 0 && aimlLine.start < 0) {
        result.errorString = QStringLiteral("List index out of bounds (%1)").arg(-1);
        return result;
    }

    // Held bytes are as long as they are written; a text's UTF-16 length is near enough.
    qsizetype cellBytes = 0;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (int c = PatternColumn; c <= TemplateColumn; ++c)
            cellBytes += rows.holdsBytes(r, c) ? rows.storedBytes(r, c).size() : rows.text(r, c).size();
    }
    QByteArray &out = result.text;
    out.reserve(oldText.size() + cellBytes + rows.size() * 96 + 16);

    if (tag >= 0) {
        out.append(oldText.first(lineStart));
        if (keepBefore) {
            out.append(before);
            out.append("\r\n");
        }
    } else {
        out.append(oldText.first(aimlLine.start));
        const QByteArrayView rest = oldText.sliced(aimlLine.next);
        out.append(rest);
        if (!rest.isEmpty() && rest.back() != '\n')
            out.append("\r\n");
    }

    for (qsizetype r = 0; r < rows.size(); ++r) {
        out.append("<category>\r\n<pattern>");
        appendCell(out, rows, r, PatternColumn, encoding);
        out.append("</pattern>\r\n");
        if (!rows.isEmpty(r, ThatColumn)) {
            out.append("<that>");
            appendCell(out, rows, r, ThatColumn, encoding);
            out.append("</that>\r\n");
        }
        out.append("<template>\r\n");
        appendCell(out, rows, r, TemplateColumn, encoding);
        out.append("\r\n</template>\r\n</category>\r\n \r\n");
    }
    out.append("</aiml>\r\n");
    result.ok = true;
    return result;
}

} // namespace vorrel
