#include "bot/Interpreter.h"

#include <QFileInfo>

#include "aiml/Elements.h"
#include "aiml/Markup.h"
#include "aiml/Words.h"
#include "bot/Substitutions.h"

#include <QLocale>

#include <algorithm>
#include <limits>
#include <utility>

namespace vorrel {

struct TemplateNode
{
    // None for a text node.
    Element element = Element::None;
    // A text node's text, else the element's name in small letters.
    QString text;
    QList<std::pair<QString, QString>> attributes;
    std::vector<TemplateNode> children;

    const QString *attribute(QStringView name) const
    {
        for (const auto &[key, value] : attributes) {
            if (key == name)
                return &value;
        }
        return nullptr;
    }
    QString attributeValue(QStringView name) const
    {
        const QString *value = attribute(name);
        return value ? *value : QString();
    }
};

struct Interpreter::Context
{
    const PatternGraph::Match &match;
    int depth;
};

namespace {

// Deeper markup is flattened into its parent: nesting that no real template needs would only
// cost stack in the evaluation.
constexpr std::size_t kMaxNesting = 40;
// Work allowed for one answer, over all its sentences and srai: enough for any sensible table,
// small enough that a hostile one cannot hold the window for long.
constexpr int kSraiBudget = 2048;
// Steps of matching, elements evaluated plus characters they give (counted at each level that
// passes them on), characters of templates read, of srai, substitutions, conditions and
// predicates set, and steps of comparing condition values: about half a second at most, since
// none of these takes more than half a microsecond.
constexpr qint64 kWorkBudget = 1'000'000;
// A sentence of the input costs a few microseconds besides its matching and its template.
constexpr qint64 kSentenceWork = 8;
constexpr std::size_t kHistory = 64;

void appendText(TemplateNode &parent, const QString &text)
{
    if (!parent.children.empty() && parent.children.back().element == Element::None) {
        parent.children.back().text += text;
        return;
    }
    TemplateNode node;
    node.text = text;
    parent.children.push_back(std::move(node));
}

// A tolerant reading of a template cell: a "<" or "&" that starts no tag or entity is text,
// a stray end tag is dropped, an end tag closes whatever was opened inside its element, and
// elements still open at the end close there. Any text gives a tree.
std::unique_ptr<TemplateNode> parseTemplate(QStringView text)
{
    auto root = std::make_unique<TemplateNode>();
    root->element = Element::Template;
    root->text = QStringLiteral("template");
    // Only the innermost open element receives children, so these pointers stay valid.
    std::vector<TemplateNode *> open { root.get() };
    readMarkup(
        text, [&open](QString &&piece) { appendText(*open.back(), piece); },
        [&open](MarkupTag &&tag) {
            // Names in any letter case: templates typed by hand write them so.
            const QString name = tag.name.toLower();
            if (tag.closing) {
                for (std::size_t k = open.size() - 1; k >= 1; --k) {
                    if (open[k]->text == name) {
                        open.resize(k);
                        break;
                    }
                }
                return;
            }
            if (open.size() > kMaxNesting)
                return;
            TemplateNode node;
            node.element = elementNamed(name);
            node.text = name;
            node.attributes = std::move(tag.attributes);
            for (auto &attribute : node.attributes)
                attribute.first = attribute.first.toLower();
            TemplateNode &parent = *open.back();
            parent.children.push_back(std::move(node));
            if (!tag.empty)
                open.push_back(&parent.children.back());
        });
    return root;
}

// "n" or "n,m" as numbers from 1; a missing or unreadable number is 1, and one too large for
// an int is out of range like any other it cannot stand for.
std::pair<int, int> indexOf(const TemplateNode &node)
{
    const QString index = node.attributeValue(u"index");
    const QStringList parts = index.split(QLatin1Char(','));
    auto number = [&parts](qsizetype i) {
        if (i >= parts.size())
            return 1;
        const QString part = parts[i].trimmed();
        bool ok = false;
        const int value = part.toInt(&ok);
        if (ok)
            return value;
        const bool digits = !part.isEmpty()
            && std::all_of(part.begin() + (part.front() == u'-' || part.front() == u'+'), part.end(),
                [](QChar c) { return c >= u'0' && c <= u'9'; });
        return digits ? std::numeric_limits<int>::max() : 1;
    };
    return { number(0), number(1) };
}

QString starAt(const QStringList &stars, int index)
{
    return index < 1 || index > stars.size() ? QString() : stars[index - 1];
}

// A star of the that or the topic: the "*" that stands for a missing one is no word of the
// conversation. In the input, "*" is a word like any other.
QString contextStarAt(const QStringList &stars, int index)
{
    const QString star = starAt(stars, index);
    return star == u"*" ? QString() : star;
}

// Calls `each` with every character of `text` as a view, a surrogate pair as one, and its code point.
template<typename Each> void forEachCharacter(QStringView text, Each &&each)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype at = i;
        const char32_t c = codePointAt(text, i);
        each(text.sliced(at, i - at), c);
    }
}

QString formal(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool wordStart = true;
    forEachCharacter(text.toLower(), [&](QStringView character, char32_t c) {
        out += wordStart ? character.toString().toUpper() : character.toString();
        wordStart = QChar::isSpace(c);
    });
    return out;
}

QString sentenceCase(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool start = true;
    forEachCharacter(text.toLower(), [&](QStringView character, char32_t c) {
        if (start && QChar::isLetterOrNumber(c)) {
            out += character.toString().toUpper();
            start = false;
            return;
        }
        if (c == u'.' || c == u'!' || c == u'?')
            start = true;
        out += character;
    });
    return out;
}

// The first `size` units of `text`, less the first half of a pair the cut would split.
QString cutAt(QString text, qsizetype size)
{
    if (text.size() > size)
        text.truncate(size > 0 && text[size - 1].isHighSurrogate() ? size - 1 : size);
    return text;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString describeAnswer(const BotAnswer &answer)
{
    QString text;
    if (answer.row < 0) {
        text = QStringLiteral("No category matched");
    } else {
        text = (answer.file.isEmpty() ? QStringLiteral("Row ")
                                      : QFileInfo(answer.file).fileName() + QStringLiteral(" row "))
            + QString::number(answer.row) + QStringLiteral(": ") + answer.pattern.simplified();
        if (!answer.that.trimmed().isEmpty())
            text += QStringLiteral(" · that ") + answer.that.simplified();
        if (!answer.topic.trimmed().isEmpty())
            text += QStringLiteral(" · topic ") + answer.topic.simplified();
    }
    if (answer.limitReached)
        text += QStringLiteral(" · srai limit reached");
    if (answer.workLimitReached)
        text += QStringLiteral(" · work limit reached");
    return text;
}

Interpreter::Interpreter() : Interpreter(InterpreterOptions())
{
}

Interpreter::Interpreter(InterpreterOptions options)
    : m_options(std::move(options)), m_random(m_options.seed.value_or(QRandomGenerator::global()->generate()))
{
}

Interpreter::~Interpreter() = default;

void Interpreter::setCategories(std::vector<BotCategory> rows)
{
    m_rows = std::move(rows);
    m_templates.clear();
    m_templates.resize(m_rows.size());
    m_graph.build(m_rows, m_options.properties);
    m_size = static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(), [](const BotCategory &row) {
        return std::any_of(row.pattern.cbegin(), row.pattern.cend(), [](QChar c) { return !c.isSpace(); });
    }));
}

void Interpreter::reset()
{
    m_predicates.clear();
    m_predicatesFingerprint = 0;
    m_inputs.clear();
    m_replies.clear();
}

void Interpreter::seed(quint32 value)
{
    m_random.seed(value);
}

void Interpreter::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

BotAnswer Interpreter::respond(const QString &input)
{
    BotAnswer answer;
    m_sraisLeft = kSraiBudget;
    m_workLeft = kWorkBudget;
    m_limitReached = false;
    m_workLimitReached = false;

    // Splitting the input is work too: what the budget does not cover is not read.
    qsizetype readable = std::min<qint64>(input.size(), m_workLeft);
    if (readable < input.size()) {
        m_workLimitReached = true;
        if (readable > 0 && input[readable].isLowSurrogate())
            --readable;
    }
    m_workLeft -= readable;
    QStringList sentences = normalisedSentences(QStringView(input).first(readable));
    if (sentences.isEmpty())
        sentences.append(QString());
    m_inputs.emplace_back();
    m_replies.emplace_back();
    if (m_inputs.size() > kHistory) {
        m_inputs.pop_front();
        m_replies.pop_front();
    }

    QStringList replies;
    qsizetype replied = 0;
    for (const QString &sentence : std::as_const(sentences)) {
        // A line of thousands of sentences would otherwise give a reply of megabytes, however
        // little each sentence costs.
        if (replied >= kMaxTemplateOutput) {
            m_workLimitReached = true;
            break;
        }
        if (!spend(kSentenceWork + sentence.size()))
            break;
        m_inputs.back().append(sentence);
        const QStringList words = sentence.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // The reply in progress grows only after the sentence, so its that holds for every
        // srai on the way.
        m_thatWords = thatWords();
        const PatternGraph::Match match = m_graph.match(words, m_thatWords, topicWords(), m_workLeft);
        if (match.exhausted)
            m_workLimitReached = true;
        QString reply;
        if (match.row >= 0) {
            // The sentence itself heads the chain, so that a category whose srai asks the same
            // question again is caught at once.
            m_sraiChain = { chainKey(sentence) };
            reply = evaluateRow(match.row, match, 0).simplified();
            const BotCategory &row = m_rows[static_cast<std::size_t>(match.row)];
            answer.row = match.row + 1;
            answer.pattern = row.pattern;
            answer.that = row.that;
            answer.topic = row.topic;
        } else {
            reply = kFallbackReply.toString();
            answer = BotAnswer();
        }
        m_replies.back().append(normalisedSentences(reply));
        if (!reply.isEmpty()) {
            replied += reply.size() + 1;
            replies.append(reply);
        }
    }
    answer.text = cutAt(replies.join(QLatin1Char(' ')), kMaxTemplateOutput);
    answer.limitReached = m_limitReached;
    answer.workLimitReached = m_workLimitReached;
    return answer;
}

QString Interpreter::evaluateRow(int row, const PatternGraph::Match &match, int depth)
{
    std::unique_ptr<TemplateNode> &parsed = m_templates[static_cast<std::size_t>(row)];
    if (!parsed) {
        // Reading a template takes longer than anything else per character: a huge one is
        // never read, however rarely it would be.
        const QString &templ = m_rows[static_cast<std::size_t>(row)].templ;
        if (!spend(templ.size()))
            return {};
        parsed = parseTemplate(templ);
    }
    Context context { match, depth };
    QString out;
    evaluateChildren(*parsed, context, out);
    return cutAt(std::move(out), kMaxTemplateOutput);
}

void Interpreter::evaluateChildren(const TemplateNode &node, Context &context, QString &out)
{
    // Many documents lost the blanks between text and markup when they were reformatted
    // ("<srai>XBINARY<star/></srai>", "today is<date/>"); where text meets an element's
    // output letter to letter, a blank goes between them.
    std::optional<bool> lastFromText;
    for (const TemplateNode &child : node.children) {
        // Past the cut nothing more is needed, so nothing more is computed.
        if (out.size() > kMaxTemplateOutput)
            return;
        if (m_workLeft <= 0) {
            m_workLimitReached = true;
            return;
        }
        const qsizetype before = out.size();
        evaluate(child, context, out);
        m_workLeft -= 1 + (out.size() - before);
        if (out.size() == before)
            continue;
        const bool fromText = child.element == Element::None;
        if (lastFromText && *lastFromText != fromText && isWordCharacter(out[before - 1].unicode())
            && isWordCharacter(out[before].unicode()))
            out.insert(before, QLatin1Char(' '));
        lastFromText = fromText;
    }
}

QString Interpreter::evaluatedContent(const TemplateNode &node, Context &context)
{
    QString out;
    evaluateChildren(node, context, out);
    return out;
}

void Interpreter::evaluate(const TemplateNode &node, Context &context, QString &out)
{
    switch (node.element) {
    case Element::None:
        out += node.text;
        return;
    case Element::Star:
        out += starAt(context.match.inputStars, indexOf(node).first);
        return;
    case Element::ThatStar:
        out += contextStarAt(context.match.thatStars, indexOf(node).first);
        return;
    case Element::TopicStar:
        out += contextStarAt(context.match.topicStars, indexOf(node).first);
        return;
    case Element::That: {
        const auto [reply, sentence] = indexOf(node);
        out += thatSentence(reply, sentence);
        return;
    }
    case Element::Input: {
        const auto [input, sentence] = indexOf(node);
        out += inputSentence(input, sentence);
        return;
    }
    case Element::Get:
        out += m_predicates.value(node.attributeValue(u"name"));
        return;
    case Element::Set: {
        const QString value = evaluatedContent(node, context).simplified();
        const QString name = node.attributeValue(u"name");
        if (!name.isEmpty())
            setPredicate(name, cutAt(value, kMaxTemplateOutput));
        out += value;
        return;
    }
    case Element::Bot:
        out += m_options.properties.value(node.attributeValue(u"name"));
        return;
    case Element::Sr:
        out += srai(starAt(context.match.inputStars, 1), context.depth);
        return;
    case Element::Srai:
        out += srai(evaluatedContent(node, context), context.depth);
        return;
    case Element::Random: {
        std::vector<const TemplateNode *> items;
        for (const TemplateNode &child : node.children) {
            if (child.element == Element::Li)
                items.push_back(&child);
        }
        if (!items.empty()) {
            ++m_randomChoices;
            evaluateChildren(*items[m_random.bounded(static_cast<quint32>(items.size()))], context, out);
        }
        return;
    }
    case Element::Condition:
        evaluateCondition(node, context, out);
        return;
    case Element::Think:
        evaluatedContent(node, context);
        return;
    case Element::Person:
    case Element::Person2:
    case Element::Gender: {
        // The empty element stands for the same element around <star/>.
        const QString text
            = node.children.empty() ? starAt(context.match.inputStars, 1) : evaluatedContent(node, context);
        m_workLeft -= text.size();
        const Substitution table = node.element == Element::Person ? Substitution::Person
            : node.element == Element::Person2                     ? Substitution::Person2
                                                                   : Substitution::Gender;
        out += substitute(table, text);
        return;
    }
    case Element::Uppercase:
        out += evaluatedContent(node, context).toUpper();
        return;
    case Element::Lowercase:
        out += evaluatedContent(node, context).toLower();
        return;
    case Element::Formal:
        out += formal(evaluatedContent(node, context));
        return;
    case Element::Sentence:
        out += sentenceCase(evaluatedContent(node, context));
        return;
    case Element::Date:
        out += date(node.attributeValue(u"format"));
        return;
    case Element::Id:
        out += QStringLiteral("localhost");
        return;
    case Element::Size:
        out += QString::number(m_size);
        return;
    case Element::Version:
        out += m_options.version;
        return;
    // Never run: a test bot in an editor executes nothing a document asks for.
    case Element::System:
    case Element::Javascript:
    case Element::Learn:
    case Element::Gossip:
        return;
    // HTML line breaks are common in templates; a blank keeps the words on either side apart.
    case Element::LineBreak:
        out += QLatin1Char(' ');
        return;
    // Markup and anything unknown give their content.
    default:
        evaluateChildren(node, context, out);
        return;
    }
}

struct Interpreter::PredicateWords
{
    WordIds<char16_t> ids;
    std::vector<WordId> words;
};

void Interpreter::evaluateCondition(const TemplateNode &node, Context &context, QString &out)
{
    const QString *name = node.attribute(u"name");
    if (const QString *value = node.attribute(u"value"); name && value) {
        if (predicateMatches(*name, *value))
            evaluateChildren(node, context, out);
        return;
    }
    // The first item that matches is chosen; an item with neither name nor value always does.
    // The condition's own predicate is read once, however many items test it.
    std::optional<PredicateWords> shared;
    for (const TemplateNode &item : node.children) {
        if (item.element != Element::Li)
            continue;
        if (m_workLeft <= 0) {
            m_workLimitReached = true;
            return;
        }
        const QString *itemName = item.attribute(u"name");
        const QString *itemValue = item.attribute(u"value");
        bool chosen = !itemName;
        if (itemValue && itemName) {
            chosen = predicateMatches(*itemName, *itemValue);
        } else if (itemValue) {
            if (name && !shared)
                shared = predicateWords(*name);
            chosen = shared && valueMatches(*itemValue, *shared);
        }
        if (chosen) {
            evaluateChildren(item, context, out);
            return;
        }
    }
}

Interpreter::PredicateWords Interpreter::predicateWords(const QString &name)
{
    const QString predicate = m_predicates.value(name);
    m_workLeft -= 1 + predicate.size();
    PredicateWords predicateWords;
    forEachWord(predicate,
        [&predicateWords](QStringView word) { predicateWords.words.push_back(predicateWords.ids.add(word)); });
    return predicateWords;
}

// A condition's value is a pattern, matched against the predicate as the bot matches an input.
bool Interpreter::valueMatches(const QString &value, const PredicateWords &predicate)
{
    if (!spend(1 + value.size()))
        return false;
    std::vector<WordId> pattern;
    bool possible = true;
    forEachWord(value, [&](QStringView word) {
        pattern.push_back(predicate.ids.find(word));
        possible = possible && pattern.back() != MatchGraph::kNoWord;
    });
    if (pattern.empty())
        return predicate.words.empty();
    // A word of the value that the predicate does not hold matches nothing.
    if (!possible)
        return false;
    MatchGraph graph;
    graph.add(pattern, {}, {}, 0);
    bool exhausted = false;
    const bool matched = graph.matchesPattern(predicate.words, m_workLeft, &exhausted);
    m_workLimitReached = m_workLimitReached || exhausted;
    return matched;
}

bool Interpreter::spend(qint64 units)
{
    if (units > m_workLeft) {
        m_workLeft = 0;
        m_workLimitReached = true;
        return false;
    }
    m_workLeft -= units;
    return true;
}

bool Interpreter::predicateMatches(const QString &name, const QString &value)
{
    return valueMatches(value, predicateWords(name));
}

QString Interpreter::srai(const QString &request, int depth)
{
    if (depth >= kMaxSraiDepth || m_sraisLeft <= 0) {
        m_limitReached = true;
        return {};
    }
    --m_sraisLeft;
    m_workLeft -= request.size();
    const QStringList words = normalisedWords(request);
    const QString key = chainKey(words.join(QLatin1Char(' ')));
    if (m_sraiChain.contains(key)) {
        m_limitReached = true;
        return {};
    }
    const PatternGraph::Match match = m_graph.match(words, m_thatWords, topicWords(), m_workLeft);
    if (match.exhausted)
        m_workLimitReached = true;
    if (match.row < 0)
        return {};
    m_sraiChain.append(key);
    QString result = evaluateRow(match.row, match, depth + 1);
    m_sraiChain.removeLast();
    return result;
}

QString Interpreter::chainKey(const QString &request) const
{
    // The same request with the same predicates would only ask itself again, without end;
    // unless a <random> chose in between, which may choose otherwise the next time.
    return request + QChar(0x1f) + QString::number(m_predicatesFingerprint) + QChar(0x1f)
        + QString::number(m_randomChoices);
}

void Interpreter::setPredicate(const QString &name, const QString &value)
{
    // A sum does not depend on the order of the changes; an empty value counts as unset.
    const auto term = [&name](const QString &text) {
        return text.isEmpty() ? 0 : (static_cast<quint64>(qHash(name, 17)) * 0x9E3779B97F4A7C15ull) ^ qHash(text, 29);
    };
    QString &stored = m_predicates[name];
    m_workLeft -= stored.size() + value.size();
    m_predicatesFingerprint += term(value) - term(stored);
    stored = value;
}

QString Interpreter::thatSentence(int reply, int sentence) const
{
    if (reply < 1 || sentence < 1)
        return {};
    auto it = m_replies.rbegin();
    // The reply in progress counts once it has said something.
    if (it != m_replies.rend() && it->isEmpty())
        ++it;
    for (int i = 1; i < reply && it != m_replies.rend(); ++i)
        ++it;
    if (it == m_replies.rend() || sentence > it->size())
        return {};
    return (*it)[it->size() - sentence];
}

QString Interpreter::inputSentence(int input, int sentence) const
{
    if (input < 1 || sentence < 1 || static_cast<std::size_t>(input) > m_inputs.size())
        return {};
    const QStringList &line = m_inputs[m_inputs.size() - static_cast<std::size_t>(input)];
    return sentence <= line.size() ? line[line.size() - sentence] : QString();
}

QStringList Interpreter::thatWords() const
{
    QStringList words = thatSentence(1, 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        words.append(QStringLiteral("*"));
    return words;
}

const QStringList &Interpreter::topicWords()
{
    // Every srai matches with the topic; it is normalised again only when it has changed.
    const QString topic = m_predicates.value(QStringLiteral("topic"));
    if (m_topicWords.isEmpty() || !topic.isSharedWith(m_topic)) {
        m_topic = topic;
        m_topicWords = normalisedWords(topic);
        if (m_topicWords.isEmpty())
            m_topicWords.append(QStringLiteral("*"));
    }
    return m_topicWords;
}

QString Interpreter::date(const QString &format) const
{
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    const QLocale c = QLocale::c();
    if (format.isEmpty())
        return c.toString(now, QStringLiteral("dddd d MMMM yyyy, HH:mm"));
    // The strftime codes templates use, in English whatever the desktop's language.
    QString out;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        const QChar code = format[++i];
        const int hour12 = now.time().hour() % 12 == 0 ? 12 : now.time().hour() % 12;
        switch (code.unicode()) {
        case u'a':
            out += c.toString(now, QStringLiteral("ddd"));
            break;
        case u'A':
            out += c.toString(now, QStringLiteral("dddd"));
            break;
        case u'b':
        case u'h':
            out += c.toString(now, QStringLiteral("MMM"));
            break;
        case u'B':
            out += c.toString(now, QStringLiteral("MMMM"));
            break;
        case u'c':
            out += c.toString(now, QStringLiteral("ddd MMM d HH:mm:ss yyyy"));
            break;
        case u'd':
            out += twoDigits(now.date().day());
            break;
        case u'e':
            out += QString::number(now.date().day());
            break;
        case u'H':
            out += twoDigits(now.time().hour());
            break;
        case u'I':
            out += twoDigits(hour12);
            break;
        case u'j':
            out += QStringLiteral("%1").arg(now.date().dayOfYear(), 3, 10, QLatin1Char('0'));
            break;
        case u'm':
            out += twoDigits(now.date().month());
            break;
        case u'M':
            out += twoDigits(now.time().minute());
            break;
        case u'p':
            out += now.time().hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            break;
        case u'S':
            out += twoDigits(now.time().second());
            break;
        case u'x':
            out += c.toString(now, QStringLiteral("MM/dd/yy"));
            break;
        case u'X':
            out += c.toString(now, QStringLiteral("HH:mm:ss"));
            break;
        case u'y':
            out += twoDigits(now.date().year() % 100);
            break;
        case u'Y':
            out += QString::number(now.date().year());
            break;
        case u'Z':
            out += now.timeZoneAbbreviation();
            break;
        case u'%':
            out += u'%';
            break;
        default:
            out += u'%';
            out += code;
            break;
        }
    }
    return out;
}

} // namespace vorrel
