#pragma once

#include "aiml/BotProperties.h"
#include "bot/PatternGraph.h"

#include <QDateTime>
#include <QHash>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vorrel {

struct TemplateNode;

struct InterpreterOptions
{
    // What <version/> gives.
    QString version = QStringLiteral("AIML Vorrel 3.1");
    // Seed of <random>; without one each interpreter draws its own.
    std::optional<quint32> seed;
    BotProperties properties;
};

// What the bot said to one input, and which category said it.
struct BotAnswer
{
    // The replies to the input's sentences, joined by one blank.
    QString text;
    // Grid row (1-based: rows given to setCategories() start at row 1) of the category that
    // answered the input's last sentence; -1 when none did and the reply is the fallback.
    int row = -1;
    // Set when the answering category is one of another file than the table's: `row` is then
    // that file's own row.
    QString file;
    // That row's pattern, that and topic cells, as written.
    QString pattern;
    QString that;
    QString topic;
    // A <srai> went deeper than the limit, into a loop or past the number one answer may ask;
    // that branch gave nothing.
    bool limitReached = false;
    // The answer ran out of the work one answer may take, and was cut where it did.
    bool workLimitReached = false;
};

// The status line's account of an answer: "Row N: PATTERN" ("FILE row N: PATTERN" for a
// category of another file), with " · that THAT" and
// " · topic TOPIC" when the row has them, or "No category matched"; then " · srai limit
// reached" and " · work limit reached" for the limits it met.
QString describeAnswer(const BotAnswer &answer);

// The test bot: answers sentences from the categories of the table, as an AIML 1.0.1 bot does,
// with the conversation's predicates and its history of inputs and replies.
class Interpreter final
{
public:
    static constexpr QStringView kFallbackReply = u"I cannot understand that, master!";
    static constexpr int kMaxSraiDepth = 32;
    static constexpr qsizetype kMaxTemplateOutput = 64 * 1024;

    Interpreter();
    explicit Interpreter(InterpreterOptions options);
    ~Interpreter();
    Interpreter(const Interpreter &) = delete;
    Interpreter &operator=(const Interpreter &) = delete;

    // Takes the table's rows (element i is grid row i + 1) and builds the matcher; call it
    // when the table has changed, not for every answer. The conversation carries on.
    void setCategories(std::vector<BotCategory> rows);

    // Takes effect with the next setCategories(), which matches patterns by them.
    void setProperties(const BotProperties &properties) { m_options.properties = properties; }
    const BotProperties &properties() const { return m_options.properties; }

    BotAnswer respond(const QString &input);

    // A new conversation: predicates and the history of inputs and replies are forgotten.
    void reset();
    void seed(quint32 value);
    // What <date/> reads; tests set a fixed time.
    void setClock(std::function<QDateTime()> clock);

    QString predicate(const QString &name) const { return m_predicates.value(name); }

private:
    struct Context;
    struct PredicateWords;

    QString evaluateRow(int row, const PatternGraph::Match &match, int depth);
    void evaluateChildren(const TemplateNode &node, Context &context, QString &out);
    void evaluate(const TemplateNode &node, Context &context, QString &out);
    QString evaluatedContent(const TemplateNode &node, Context &context);
    void evaluateCondition(const TemplateNode &node, Context &context, QString &out);
    QString srai(const QString &request, int depth);
    QString date(const QString &format) const;

    QStringList thatWords() const;
    const QStringList &topicWords();
    QString thatSentence(int reply, int sentence) const;
    QString inputSentence(int input, int sentence) const;
    bool predicateMatches(const QString &name, const QString &value);
    PredicateWords predicateWords(const QString &name);
    bool valueMatches(const QString &value, const PredicateWords &predicate);
    QString chainKey(const QString &request) const;
    void setPredicate(const QString &name, const QString &value);
    // Takes `units` of work from the answer's budget, or says that they are not left.
    bool spend(qint64 units);

    InterpreterOptions m_options;
    std::vector<BotCategory> m_rows;
    PatternGraph m_graph;
    // Each row's template, parsed on its first use.
    std::vector<std::unique_ptr<TemplateNode>> m_templates;
    int m_size = 0;

    QHash<QString, QString> m_predicates;
    // Tells the predicates' values apart for the srai chain; kept up to date at each change, since
    // hashing them all at every srai would cost as much as the conversation has stored.
    quint64 m_predicatesFingerprint = 0;
    // Most recent last; each entry is one input line or one reply, as normalised sentences.
    std::deque<QStringList> m_inputs;
    std::deque<QStringList> m_replies;
    QRandomGenerator m_random;
    std::function<QDateTime()> m_clock;

    // State of the answer in progress.
    int m_sraisLeft = 0;
    qint64 m_workLeft = 0;
    bool m_limitReached = false;
    bool m_workLimitReached = false;
    QStringList m_sraiChain;
    // Choices made by <random> so far, which tell a repeated request from a loop.
    quint64 m_randomChoices = 0;
    QStringList m_thatWords;
    QString m_topic;
    QStringList m_topicWords;
};

} // namespace vorrel
