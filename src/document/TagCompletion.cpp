#include "document/TagCompletion.h"

#include "aiml/Elements.h"
#include "aiml/Markup.h"

#include <algorithm>
#include <vector>

namespace vorrel {

namespace {

bool isNameStart(char c)
{
    return isXmlNameStart(static_cast<unsigned char>(c));
}

bool isNameChar(char c)
{
    return isXmlNameCharacter(static_cast<unsigned char>(c));
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

// A comment or CDATA section, from its "<!" to just after its end; one not ended runs to the
// end of the text looked at.
struct Unparsed
{
    qsizetype start = 0;
    qsizetype end = 0;
    bool closed = true;
};

// The comments and CDATA sections of `text`, in order, found from its start: inside one, markup
// is not recognised, not even the start of another.
std::vector<Unparsed> unparsedSections(QByteArrayView text)
{
    std::vector<Unparsed> sections;
    for (qsizetype i = 0; (i = text.indexOf("<!", i)) >= 0;) {
        const QByteArrayView rest = text.sliced(i);
        const bool comment = rest.startsWith("<!--");
        if (!comment && !rest.startsWith("<![CDATA[")) {
            i += 2;
            continue;
        }
        const QByteArrayView closer = comment ? "-->" : "]]>";
        const qsizetype close = text.indexOf(closer, i + (comment ? 4 : 9));
        const qsizetype end = close < 0 ? text.size() : close + closer.size();
        sections.push_back({ i, end, close >= 0 });
        i = end;
    }
    return sections;
}

// Whether the end of the text looked at lies inside a comment or CDATA section not yet ended.
bool endsUnparsed(const std::vector<Unparsed> &sections)
{
    return !sections.empty() && !sections.back().closed;
}

// The elements open at a position, innermost first, found by walking back over the tags before
// it: every end tag on the way closes the start tag it names.
class OpenElements final
{
public:
    OpenElements(QByteArrayView text, qsizetype position)
        : m_text(text.first(std::clamp<qsizetype>(position, 0, text.size()))),
          m_pos(m_text.size()),
          m_sections(unparsedSections(m_text)),
          m_section(m_sections.size())
    {
    }

    bool atUnparsed() const { return endsUnparsed(m_sections); }

    // The next enclosing element; false at the top level.
    bool next(QByteArrayView *name)
    {
        while (m_pos > 0) {
            const qsizetype i = --m_pos;
            // A comment or CDATA section is stepped over whole: tags inside it do not count.
            if (m_section > 0 && i < m_sections[m_section - 1].end) {
                m_pos = m_sections[--m_section].start;
                continue;
            }
            const char c = m_text[i];
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
    QByteArrayView m_text;
    qsizetype m_pos;
    std::vector<Unparsed> m_sections;
    // Sections below this index lie before m_pos.
    std::size_t m_section;
    std::vector<QByteArrayView> m_closed;
};

} // namespace

QByteArray openElementAt(QByteArrayView text, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, text.size());
    OpenElements open(text, position);
    QByteArrayView name;
    return !open.atUnparsed() && open.next(&name) ? name.toByteArray() : QByteArray();
}

QList<QByteArray> elementsAllowedAt(QByteArrayView text, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, text.size());
    OpenElements open(text, position);
    if (open.atUnparsed())
        return {};
    QByteArrayView name;
    if (!open.next(&name))
        return elementsAllowedIn(Element::None, Element::None);
    auto element = [](QByteArrayView n) { return elementNamed(std::string_view(n.data(), size_t(n.size()))); };
    const Element parent = element(name);
    // Only a that's own parent tells the category's from the template element.
    QByteArrayView outer;
    const Element grandparent = parent == Element::That && open.next(&outer) ? element(outer) : Element::None;
    return elementsAllowedIn(parent, grandparent);
}

QByteArray startTagEndingAt(QByteArrayView text, qsizetype position)
{
    if (position <= 1 || position > text.size() || text[position - 1] != '>')
        return {};
    const qsizetype gt = position - 1;
    const qsizetype lt = text.first(gt).lastIndexOf('<');
    if (lt < 0 || !isNameStart(text[lt + 1]) || tagEnd(text, lt, position) != gt || text[gt - 1] == '/')
        return {};
    if (endsUnparsed(unparsedSections(text.first(lt))))
        return {};
    return nameAt(text, lt + 1).toByteArray();
}

} // namespace vorrel
