// The AIML interpreter over 100,000 generated categories plus 5,000 with wildcards: building
// the matcher (setCategories) must take at most 0.3 s, one answer at most 5 ms (median). Prints
// the median and worst of each figure for inputs that match a word-for-word pattern (with and
// without a that, one reaching a srai), one that only wildcards match, and one that matches
// nothing. Then hostile tables, whose one answer must end within 0.5 s all the same: thousands
// of srai over megabytes of stored predicates, a condition of many wildcard items over a long
// predicate, a template of megabytes, an input of a million sentences. Exits 1 when a median
// CPU time (the worst, for the hostile ones) is over its limit.

#include "AimlGenerator.h"
#include "BenchTiming.h"

#include "bot/Interpreter.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <vector>

using namespace vorrel;

namespace {

constexpr int kCategories = 100000;
constexpr int kWildcardCategories = 5000;
constexpr int kBuilds = 7;
constexpr int kAnswers = 300;
constexpr double kBuildLimitMs = 300.0;
constexpr double kAnswerLimitMs = 5.0;
constexpr double kHostileLimitMs = 500.0;
constexpr int kHostileAnswers = 3;

// The text between `open` and `close` from `from` on, within `limit`; `from` moves past it.
QString between(const QByteArray &text, const char *open, const char *close, qsizetype &from, qsizetype limit)
{
    const qsizetype start = text.indexOf(open, from);
    if (start < 0 || start >= limit)
        return {};
    const qsizetype begin = start + qstrlen(open);
    const qsizetype end = text.indexOf(close, begin);
    from = end + qstrlen(close);
    return QString::fromUtf8(text.mid(begin, end - begin));
}

// The generator's categories by a literal scan: the generated document is regular, so the
// editor's reader is not needed to take it apart.
std::vector<BotCategory> generatedRows()
{
    bench::AimlGeneratorOptions options;
    options.categories = kCategories;
    options.thinks = true;
    const QByteArray text = bench::generateAiml(options);
    std::vector<BotCategory> rows;
    rows.reserve(kCategories + kWildcardCategories);
    qsizetype at = 0;
    for (;;) {
        const qsizetype start = text.indexOf("<category>", at);
        if (start < 0)
            break;
        const qsizetype end = text.indexOf("</category>", start);
        BotCategory row;
        qsizetype from = start;
        row.pattern = between(text, "<pattern>", "</pattern>", from, end);
        qsizetype thatFrom = from;
        row.that = between(text, "<that>", "</that>", thatFrom, end);
        row.templ = between(text, "<template>", "</template>", from, end);
        rows.push_back(std::move(row));
        at = end;
    }
    // Wildcards where the generated words run out, as a real bot's fallbacks do.
    const char *const words[] = { "HELLO", "WHAT", "IS", "YOUR", "NAME", "DO", "YOU", "LIKE", "MUSIC", "TELL", "ME" };
    QRandomGenerator random(11);
    for (int i = 0; i < kWildcardCategories; ++i) {
        const QString a = QString::fromLatin1(words[random.bounded(11)]);
        const QString b = QString::fromLatin1(words[random.bounded(11)]);
        QString pattern;
        switch (i % 4) {
        case 0:
            pattern = a + QStringLiteral(" * ") + b + QStringLiteral(" WILD%1").arg(i);
            break;
        case 1:
            pattern = QStringLiteral("_ ") + a + QStringLiteral(" * WILD%1").arg(i);
            break;
        case 2:
            pattern = a + QLatin1Char(' ') + b + QStringLiteral(" *");
            break;
        default:
            pattern = QStringLiteral("* ") + a + QLatin1Char(' ') + b;
            break;
        }
        rows.push_back(
            { pattern, QString(), QStringLiteral("You said <star/>. <srai>%1 %2</srai>").arg(a, b), QString() });
    }
    rows.push_back({ QStringLiteral("*"), QString(), QStringLiteral("I have no answer for that."), QString() });
    return rows;
}

// Wall time is what the user waits; the thread's CPU time leaves out what other processes on
// this shared machine take meanwhile, and decides.
struct Figures
{
    double medianWall;
    double worstWall;
    double medianCpu;
    double worstCpu;
};

Figures figuresOf(const bench::Timings &t)
{
    return { bench::medianOf(t.wallMs), bench::worstOf(t.wallMs), bench::medianOf(t.cpuMs), bench::worstOf(t.cpuMs) };
}

Figures timeAnswers(Interpreter &bot, const QString &input)
{
    qsizetype sink = 0;
    const bench::Timings t = bench::timeRuns(kAnswers, [&] { sink += bot.respond(input).text.size(); });
    if (sink < 0)
        std::printf("\n");
    return figuresOf(t);
}

bool report(const char *what, const Figures &f, double limit, bool worst = false)
{
    const bool ok = (worst ? f.worstCpu : f.medianCpu) <= limit;
    std::printf("%-30s wall median %8.3f worst %8.3f | cpu median %8.3f worst %8.3f ms (limit %5.1f)  %s\n", what,
        f.medianWall, f.worstWall, f.medianCpu, f.worstCpu, limit, ok ? "ok" : "TOO SLOW");
    return ok;
}

// An answer of `input` after `before` was said, timed from a fresh conversation each time.
Figures timeHostile(const std::vector<BotCategory> &rows, const QStringList &before, const QString &input)
{
    Interpreter bot;
    bot.setCategories(rows);
    bench::Timings all;
    for (int i = 0; i < kHostileAnswers; ++i) {
        bot.reset();
        for (const QString &line : before)
            bot.respond(line);
        const bench::Timings t = bench::timeRuns(1, [&] { bot.respond(input); });
        all.wallMs.push_back(t.wallMs.front());
        all.cpuMs.push_back(t.cpuMs.front());
    }
    return figuresOf(all);
}

BotCategory category(const QString &pattern, const QString &templ)
{
    return { pattern, QString(), templ, QString() };
}

bool reportHostile()
{
    const QString big(60000, u'x');
    std::vector<BotCategory> stored;
    QStringList fills;
    for (int i = 0; i < 300; ++i) {
        stored.push_back(category(QStringLiteral("FILL%1").arg(i),
            QStringLiteral("<think><set name=\"p%1\">%2</set></think>").arg(i).arg(big)));
        fills.append(QStringLiteral("fill%1").arg(i));
    }
    stored.push_back(category(QStringLiteral("ASK"), QStringLiteral("<srai>AGAIN</srai>").repeated(2000)));
    stored.push_back(category(QStringLiteral("AGAIN"), QStringLiteral("a")));
    bool ok = report(
        "srai over 18 MB of predicates", timeHostile(stored, fills, QStringLiteral("ask")), kHostileLimitMs, true);

    QStringList words;
    for (int i = 0; i < 3000; ++i)
        words.append(QStringLiteral("w%1").arg(i % 7));
    const std::vector<BotCategory> condition { category(QStringLiteral("TEST"),
        QStringLiteral("<think><set name=\"p\">") + words.join(u' ')
            + QStringLiteral("</set></think><condition name=\"p\">")
            + QStringLiteral("<li value=\"* X\">x</li>").repeated(240000)
            + QStringLiteral("<li>done</li></condition>")) };
    ok &= report("240,000 condition items", timeHostile(condition, {}, QStringLiteral("test")), kHostileLimitMs, true);

    const std::vector<BotCategory> huge { category(
        QStringLiteral("TEST"), QStringLiteral("<b>x</b>").repeated(2000000)) };
    ok &= report("a template of 16 MB", timeHostile(huge, {}, QStringLiteral("test")), kHostileLimitMs, true);

    const std::vector<BotCategory> any { category(QStringLiteral("*"), QStringLiteral("<think/>")) };
    ok &= report(
        "a million sentences", timeHostile(any, {}, QStringLiteral("x. ").repeated(1000000)), kHostileLimitMs, true);
    return ok;
}

} // namespace

int main()
{
    const std::vector<BotCategory> rows = generatedRows();
    std::printf("%zu categories\n", rows.size());

    InterpreterOptions options;
    options.seed = 1;
    Interpreter bot(options);
    bench::Timings builds;
    for (int i = 0; i < kBuilds; ++i) {
        std::vector<BotCategory> copy = rows;
        const bench::Timings t = bench::timeRuns(1, [&] { bot.setCategories(std::move(copy)); });
        builds.wallMs.push_back(t.wallMs.front());
        builds.cpuMs.push_back(t.cpuMs.front());
    }
    bool ok = report("build the matcher", figuresOf(builds), kBuildLimitMs);

    const BotCategory &plain = rows[50000];
    const BotCategory &withThat = rows[50001];
    // The generator gives every third category a srai and every fourth a that.
    const BotCategory &withSrai = rows[49999];
    ok &= report("word for word", timeAnswers(bot, plain.pattern.toLower() + QLatin1Char('.')), kAnswerLimitMs);
    ok &= report("word for word, that differs", timeAnswers(bot, withThat.pattern), kAnswerLimitMs);
    ok &= report("word for word, srai", timeAnswers(bot, withSrai.pattern), kAnswerLimitMs);
    ok &= report("wildcards only", timeAnswers(bot, QStringLiteral("tell me what you like about music and your name")),
        kAnswerLimitMs);
    ok &= report("two sentences", timeAnswers(bot, QStringLiteral("Hello there! What is your name?")), kAnswerLimitMs);
    Interpreter bare;
    std::vector<BotCategory> noCatchAll = rows;
    noCatchAll.pop_back();
    bare.setCategories(std::move(noCatchAll));
    ok &= report("nothing matches", timeAnswers(bare, QStringLiteral("zebra quantum lettuce")), kAnswerLimitMs);
    ok &= reportHostile();
    return ok ? 0 : 1;
}
