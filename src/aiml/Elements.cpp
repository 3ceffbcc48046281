#include "aiml/Elements.h"

#include <algorithm>
#include <array>

namespace vorrel {

namespace {

using namespace std::string_view_literals;

struct Entry
{
    std::string_view name;
    Element element;
    quint8 use;
};

constexpr quint8 kFrame = FrameElement;
constexpr quint8 kTemplate = TemplateElement;
constexpr quint8 kMarkup = MarkupElement;

constexpr std::array kElements
    = { Entry { "a"sv, Element::Markup, kMarkup }, Entry { "abbr"sv, Element::Markup, kMarkup },
          Entry { "aiml"sv, Element::Aiml, kFrame }, Entry { "b"sv, Element::Markup, kMarkup },
          Entry { "big"sv, Element::Markup, kMarkup }, Entry { "blockquote"sv, Element::Markup, kMarkup },
          Entry { "bot"sv, Element::Bot, kTemplate | PatternElement }, Entry { "br"sv, Element::LineBreak, kMarkup },
          Entry { "category"sv, Element::Category, kFrame }, Entry { "center"sv, Element::Markup, kMarkup },
          Entry { "cite"sv, Element::Markup, kMarkup }, Entry { "code"sv, Element::Markup, kMarkup },
          Entry { "condition"sv, Element::Condition, kTemplate }, Entry { "date"sv, Element::Date, kTemplate },
          Entry { "dd"sv, Element::Markup, kMarkup }, Entry { "div"sv, Element::Markup, kMarkup },
          Entry { "dl"sv, Element::Markup, kMarkup }, Entry { "dt"sv, Element::Markup, kMarkup },
          Entry { "em"sv, Element::Markup, kMarkup }, Entry { "font"sv, Element::Markup, kMarkup },
          Entry { "formal"sv, Element::Formal, kTemplate }, Entry { "gender"sv, Element::Gender, kTemplate },
          Entry { "get"sv, Element::Get, kTemplate }, Entry { "gossip"sv, Element::Gossip, kTemplate },
          Entry { "h1"sv, Element::Markup, kMarkup }, Entry { "h2"sv, Element::Markup, kMarkup },
          Entry { "h3"sv, Element::Markup, kMarkup }, Entry { "h4"sv, Element::Markup, kMarkup },
          Entry { "h5"sv, Element::Markup, kMarkup }, Entry { "h6"sv, Element::Markup, kMarkup },
          Entry { "hr"sv, Element::Markup, kMarkup }, Entry { "i"sv, Element::Markup, kMarkup },
          Entry { "id"sv, Element::Id, kTemplate }, Entry { "img"sv, Element::Markup, kMarkup },
          Entry { "input"sv, Element::Input, kTemplate }, Entry { "javascript"sv, Element::Javascript, kTemplate },
          Entry { "learn"sv, Element::Learn, kTemplate }, Entry { "li"sv, Element::Li, kTemplate },
          Entry { "lowercase"sv, Element::Lowercase, kTemplate }, Entry { "ol"sv, Element::Markup, kMarkup },
          Entry { "p"sv, Element::Markup, kMarkup }, Entry { "pattern"sv, Element::Pattern, kFrame },
          Entry { "person"sv, Element::Person, kTemplate }, Entry { "person2"sv, Element::Person2, kTemplate },
          Entry { "pre"sv, Element::Markup, kMarkup }, Entry { "q"sv, Element::Markup, kMarkup },
          Entry { "random"sv, Element::Random, kTemplate }, Entry { "s"sv, Element::Markup, kMarkup },
          Entry { "sentence"sv, Element::Sentence, kTemplate }, Entry { "set"sv, Element::Set, kTemplate },
          Entry { "size"sv, Element::Size, kTemplate }, Entry { "small"sv, Element::Markup, kMarkup },
          Entry { "span"sv, Element::Markup, kMarkup }, Entry { "sr"sv, Element::Sr, kTemplate },
          Entry { "srai"sv, Element::Srai, kTemplate }, Entry { "star"sv, Element::Star, kTemplate },
          Entry { "strike"sv, Element::Markup, kMarkup }, Entry { "strong"sv, Element::Markup, kMarkup },
          Entry { "sub"sv, Element::Markup, kMarkup }, Entry { "sup"sv, Element::Markup, kMarkup },
          Entry { "system"sv, Element::System, kTemplate }, Entry { "table"sv, Element::Markup, kMarkup },
          Entry { "tbody"sv, Element::Markup, kMarkup }, Entry { "td"sv, Element::Markup, kMarkup },
          Entry { "template"sv, Element::Template, kFrame }, Entry { "th"sv, Element::Markup, kMarkup },
          Entry { "that"sv, Element::That, kFrame | kTemplate }, Entry { "thatstar"sv, Element::ThatStar, kTemplate },
          Entry { "thead"sv, Element::Markup, kMarkup }, Entry { "think"sv, Element::Think, kTemplate },
          Entry { "topic"sv, Element::Topic, kFrame }, Entry { "topicstar"sv, Element::TopicStar, kTemplate },
          Entry { "tr"sv, Element::Markup, kMarkup }, Entry { "tt"sv, Element::Markup, kMarkup },
          Entry { "u"sv, Element::Markup, kMarkup }, Entry { "ul"sv, Element::Markup, kMarkup },
          Entry { "uppercase"sv, Element::Uppercase, kTemplate }, Entry { "version"sv, Element::Version, kTemplate } };
static_assert(
    std::is_sorted(kElements.begin(), kElements.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; }));

// Each element's uses, by its number.
constexpr auto kUses = [] {
    std::array<quint8, size_t(Element::Markup) + 1> uses {};
    for (const Entry &entry : kElements)
        uses[size_t(entry.element)] = entry.use;
    return uses;
}();

// A name's first eight characters as one number: most names are no longer, and a document's
// elements are looked up one by one.
constexpr quint64 headOf(std::string_view name)
{
    quint64 head = 0;
    for (size_t i = 0; i < name.size() && i < 8; ++i)
        head |= quint64(static_cast<unsigned char>(name[i])) << (8 * i);
    return head;
}

constexpr auto kHeads = [] {
    std::array<quint64, kElements.size()> heads {};
    for (size_t i = 0; i < kElements.size(); ++i)
        heads[i] = headOf(kElements[i].name);
    return heads;
}();

// The names that share a first letter stand together in the table: only theirs are compared.
constexpr auto kByLetter = [] {
    std::array<std::pair<quint8, quint8>, 26> ranges {};
    for (size_t i = kElements.size(); i-- > 0;) {
        auto &range = ranges[size_t(kElements[i].name[0] - 'a')];
        range.first = quint8(i);
        if (range.second == 0)
            range.second = quint8(i + 1);
    }
    return ranges;
}();

// The AIML elements, not the markup, that have one of the uses; `without` left out.
QList<QByteArray> namesWith(quint8 use, Element without)
{
    QList<QByteArray> names;
    for (const Entry &entry : kElements) {
        if ((entry.use & use) != 0 && (entry.use & MarkupElement) == 0 && entry.element != without)
            names.append(QByteArray(entry.name.data(), qsizetype(entry.name.size())));
    }
    return names;
}

} // namespace

Element elementNamed(std::string_view name)
{
    if (name.empty() || name[0] < 'a' || name[0] > 'z')
        return Element::Unknown;
    const quint64 head = headOf(name);
    const auto [first, last] = kByLetter[size_t(name[0] - 'a')];
    for (size_t i = first; i < last; ++i) {
        const std::string_view known = kElements[i].name;
        if (kHeads[i] == head && known.size() == name.size() && (name.size() <= 8 || known.substr(8) == name.substr(8)))
            return kElements[i].element;
    }
    return Element::Unknown;
}

Element elementNamed(QStringView name)
{
    char ascii[16];
    if (name.size() > qsizetype(sizeof ascii))
        return Element::Unknown;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i].unicode() >= 0x80)
            return Element::Unknown;
        ascii[i] = char(name[i].unicode());
    }
    return elementNamed(std::string_view(ascii, size_t(name.size())));
}

quint8 elementUse(Element element)
{
    return kUses[size_t(element)];
}

QList<QByteArray> elementsAllowedIn(Element parent, Element grandparent)
{
    switch (parent) {
    case Element::None:
        return { "aiml" };
    case Element::Aiml:
        return { "category", "topic" };
    case Element::Topic:
        return { "category" };
    case Element::Category:
        return { "pattern", "template", "that" };
    case Element::Pattern:
        return namesWith(PatternElement, Element::None);
    case Element::That:
        if (grandparent == Element::Category)
            return namesWith(PatternElement, Element::None);
        break;
    case Element::Random:
        return { "li" };
    case Element::Condition:
        return namesWith(TemplateElement, Element::None);
    default:
        break;
    }
    return namesWith(TemplateElement, Element::Li);
}

} // namespace vorrel
