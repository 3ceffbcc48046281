#pragma once

#include <QByteArray>
#include <QList>
#include <QStringView>

#include <string_view>

namespace vorrel {

// The elements of AIML 1.0.1, and the markup of a client's display that interpreters pass
// through. Names are written in small letters, as AIML has them.
enum class Element : quint8 {
    // Not inside any element: the top of a document.
    None,
    // A name that is none of the below.
    Unknown,
    Aiml,
    Topic,
    Category,
    Pattern,
    // A category's <that>, and the template element of the same name.
    That,
    Template,
    Bot,
    Condition,
    Date,
    Formal,
    Gender,
    Get,
    Gossip,
    Id,
    Input,
    Javascript,
    Learn,
    Li,
    Lowercase,
    Person,
    Person2,
    Random,
    Sentence,
    Set,
    Size,
    Sr,
    Srai,
    Star,
    System,
    ThatStar,
    Think,
    TopicStar,
    Uppercase,
    Version,
    // XHTML's <br/>, which parts the words on either side.
    LineBreak,
    // Any other XHTML element a template may hold.
    Markup,
};

// Where an element may stand.
enum ElementUse : quint8 {
    // The document's frame: aiml, topic, category, pattern, that, template.
    FrameElement = 1,
    // Inside a template (li only inside random and condition).
    TemplateElement = 2,
    // Inside a pattern or a category's that.
    PatternElement = 4,
    // Markup a template may hold, which interpreters pass through.
    MarkupElement = 8,
};

Element elementNamed(std::string_view name);
Element elementNamed(QStringView name);
// ElementUse flags; none for Unknown and None.
quint8 elementUse(Element element);

// The AIML elements that may start directly inside `parent`, sorted by name. `grandparent`
// tells a category's <that> from the template element.
QList<QByteArray> elementsAllowedIn(Element parent, Element grandparent);

} // namespace vorrel
