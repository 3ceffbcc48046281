#include "document/TagCompletion.h"

#include <algorithm>
#include <vector>

namespace vorrel {

namespace {

bool isNameStart(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u >= 0x80;
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

QByteArrayView nameAt(QByteArrayView text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && isNameChar(text[end]))
        ++end;
    return text.sliced(from, end - from);
}

// The ">" that ends the tag whose "<" is at `lt`, outside quoted values; -1 when the tag does
// not end before `limit`.
qsizetype tagEnd(QByteArrayView text, qsizetype lt, qsizetype limit)
{
    char quote = 0;
    for (qsizetype i = lt + 1; i < limit; ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        } else if (c == '<') {
            return -1;
        }
    }
    return -1;
}

// Markup is not recognised inside a comment or a CDATA section; one not yet ended runs to the
// position. Only the last of them before the position can hold it.
bool insideUnparsed(QByteArrayView before)
{
    qsizetype at = before.size();
    while ((at = before.first(at).lastIndexOf("<!")) >= 0) {
        const QByteArrayView rest = before.sliced(at);
        if (rest.startsWith("<!--"))
            return !rest.sliced(4).contains("-->");
        if (rest.startsWith("<![CDATA["))
            return !rest.sliced(9).contains("]]>");
    }
    return false;
}

// The elements open at a position, innermost first, found by walking back over the tags before
// it: every end tag on the way closes the start tag it names.
class OpenElements final
{
public:
    OpenElements(QByteArrayView text, qsizetype position)
        : m_text(text.first(std::clamp<qsizetype>(position, 0, text.size()))), m_pos(m_text.size())
    {
    }

    // The next enclosing element; false at the top level.
    bool next(QByteArrayView *name)
    {
        while (m_pos > 0) {
            const qsizetype i = --m_pos;
            const char c = m_text[i];
            if (c == '>') {
                skipUnparsedEndingAt(i);
                continue;
            }
            if (c != '<' || i + 1 >= m_text.size())
                continue;
            if (m_text[i + 1] == '/') {
                m_closed.push_back(nameAt(m_text, i + 2));
                continue;
            }
            if (!isNameStart(m_text[i + 1]))
                continue;
            const qsizetype end = tagEnd(m_text, i, m_text.size());
            // The tag being typed, or one broken off; and empty-element tags open nothing.
            if (end < 0 || m_text[end - 1] == '/')
                continue;
            const QByteArrayView found = nameAt(m_text, i + 1);
            const auto closing = std::find(m_closed.rbegin(), m_closed.rend(), found);
            if (closing != m_closed.rend()) {
                m_closed.erase(std::prev(closing.base()), m_closed.end());
                continue;
            }
            *name = found;
            return true;
        }
        return false;
    }

private:
    // A comment or CDATA section is stepped over whole, so that tags inside it do not count.
    void skipUnparsedEndingAt(qsizetype gt)
    {
        const QByteArrayView before = m_text.first(gt + 1);
        qsizetype start = -1;
        if (before.endsWith("-->"))
            start = m_text.first(gt - 2).lastIndexOf("<!--");
        else if (before.endsWith("]]>"))
            start = m_text.first(gt - 2).lastIndexOf("<![CDATA[");
        if (start >= 0)
            m_pos = start;
    }

    QByteArrayView m_text;
    qsizetype m_pos;
    std::vector<QByteArrayView> m_closed;
};

QList<QByteArray> templateElements(bool withItems)
{
    QList<QByteArray> names = { "bot", "condition", "date", "formal", "gender", "get", "gossip", "id", "input",
        "javascript", "learn", "lowercase", "person", "person2", "random", "sentence", "set", "size", "sr", "srai",
        "star", "system", "that", "thatstar", "think", "topicstar", "uppercase", "version" };
    if (withItems) {
        names.append("li");
        std::sort(names.begin(), names.end());
    }
    return names;
}

} // namespace

QByteArray openElementAt(QByteArrayView text, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, text.size());
    if (insideUnparsed(text.first(position)))
        return {};
    OpenElements open(text, position);
    QByteArrayView name;
    return open.next(&name) ? name.toByteArray() : QByteArray();
}

QList<QByteArray> elementsAllowedAt(QByteArrayView text, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, text.size());
    if (insideUnparsed(text.first(position)))
        return {};
    OpenElements open(text, position);
    QByteArrayView name;
    if (!open.next(&name))
        return { "aiml" };
    if (name == "aiml")
        return { "category", "topic" };
    if (name == "topic")
        return { "category" };
    if (name == "category")
        return { "pattern", "template", "that" };
    // The pattern side: a pattern, or a that of the category itself, holds words and the bot's
    // properties; a that inside a template is the template element and holds nothing.
    QByteArrayView parent;
    if (name == "pattern" || (name == "that" && open.next(&parent) && parent == "category"))
        return { "bot" };
    if (name == "random")
        return { "li" };
    return templateElements(name == "condition");
}

QByteArray startTagEndingAt(QByteArrayView text, qsizetype position)
{
    if (position <= 1 || position > text.size() || text[position - 1] != '>')
        return {};
    const qsizetype gt = position - 1;
    const qsizetype lt = text.first(gt).lastIndexOf('<');
    if (lt < 0 || !isNameStart(text[lt + 1]) || tagEnd(text, lt, position) != gt || text[gt - 1] == '/')
        return {};
    if (insideUnparsed(text.first(lt)))
        return {};
    return nameAt(text, lt + 1).toByteArray();
}

} // namespace vorrel
