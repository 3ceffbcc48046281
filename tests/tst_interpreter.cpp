// The AIML interpreter behind the test bot and --chat, grouped by behaviour as data tables:
// matching (wildcard order, that and topic, stars), srai and its limits, conditions,
// predicates, substitutions, random, sentence splitting, the output cut, the remaining
// template elements and lenient reading; then the whole corpus and the chat command.

#include "aiml/Words.h"
#include "bot/ChatCommand.h"
#include "bot/Interpreter.h"
#include "bot/TableBot.h"
#include "document/AimlReader.h"

#include "TestFiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

using namespace vorrel;

namespace {

// Each row is {pattern, template}, {pattern, that, template} or {pattern, that, template, topic}.
using Table = QList<QStringList>;

std::vector<BotCategory> categoriesOf(const Table &table)
{
    std::vector<BotCategory> rows;
    for (const QStringList &row : table) {
        if (row.size() == 2)
            rows.push_back({ row[0], QString(), row[1], QString() });
        else
            rows.push_back({ row[0], row[1], row[2], row.value(3) });
    }
    return rows;
}

// The replies to each input in turn.
QStringList converse(Interpreter &bot, const QStringList &inputs)
{
    QStringList replies;
    for (const QString &input : inputs)
        replies.append(bot.respond(input).text);
    return replies;
}

// A template whose only job is to evaluate `body` and then say it.
Table single(const QString &body)
{
    return { { QStringLiteral("TEST"), body } };
}

const QString kFallback = Interpreter::kFallbackReply.toString();

} // namespace

class TestInterpreter final : public QObject
{
    Q_OBJECT

private slots:
    void wildcardPriority_data();
    void wildcardPriority();
    void conversation_data();
    void conversation();
    void sraiLimits_data();
    void sraiLimits();
    void conditions_data();
    void conditions();
    void substitutions_data();
    void substitutions();
    void templateElements_data();
    void templateElements();
    void resetForgetsTheConversation();
    void randomFollowsTheSeed();
    void randomMayAskAgain();
    void outputIsCut_data();
    void outputIsCut();
    void hostileTables_data();
    void hostileTables();
    void corpusAnswers();
    void chatCommand();
};

void TestInterpreter::wildcardPriority_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("row");

    const Table priority = { { "HELLO *", "star" }, { "HELLO THERE", "word" }, { "HELLO _", "underscore" } };
    QTest::newRow("underscore first") << priority << "Hello there"
                                      << "underscore" << 3;
    QTest::newRow("word before star") << Table { priority[0], priority[1] } << "hello there"
                                      << "word" << 2;
    QTest::newRow("star takes one or more") << Table { priority[0] } << "hello big wide world"
                                            << "star" << 1;
    QTest::newRow("star takes no empty") << Table { priority[0] } << "hello" << kFallback << -1;
    QTest::newRow("backtrack out of underscore") << Table { { "A _ C", "under" }, { "A B D", "exact" } } << "a b d"
                                                 << "exact" << 2;
    QTest::newRow("backtrack into longer star") << Table { { "* END", "<star/>" } } << "one end two end"
                                                << "ONE END TWO" << 1;
    QTest::newRow("later row wins") << Table { { "HI", "first" }, { "HI", "second" } } << "hi"
                                    << "second" << 2;
    QTest::newRow("pattern letter case") << Table { { "hello there", "lower-case pattern" } } << "HELLO THERE"
                                         << "lower-case pattern" << 1;
    QTest::newRow("punctuation dropped") << Table { { "HELLO THERE", "ok" } } << "  Hello,   there!!!"
                                         << "ok" << 1;
    QTest::newRow("punctuation separates words") << Table { { "BET 1 10", "range" } } << "Bet (1-10)?"
                                                 << "range" << 1;
    QTest::newRow("punctuation inside a word splits it") << Table { { "WHAT S UP", "fine" } } << "What's up?"
                                                         << "fine" << 1;
    QTest::newRow("in the pattern too") << Table { { "I DON'T KNOW", "fine" } } << "i don t 'know'"
                                        << "fine" << 1;
    QTest::newRow("star and underscore are word characters") << Table { { "A_B *", "<star/>" } } << "a_b x*y"
                                                             << "X*Y" << 1;
    QTest::newRow("bot name in pattern") << Table { { "WHO IS <bot name=\"name\"/>", "me" } } << "who is Vessra"
                                         << "me" << 1;
    QTest::newRow("two stars") << Table { { "I LIKE * AND *", "<star/>+<star index=\"2\"/>" } }
                               << "I like red wine and blue cheese"
                               << "RED WINE+BLUE CHEESE" << 1;
    QTest::newRow("star indices") << Table { { "* LIKES * AND *",
        "<star index=\"3\"/> <star index=\"2\"/> <star/>[<star index=\"4\"/>]" } }
                                  << "john likes tea and cake"
                                  << "CAKE TEA JOHN[]" << 1;
    QTest::newRow("no rows") << Table {} << "hello" << kFallback << -1;
    QTest::newRow("empty input") << Table { { "*", "any" } } << " ?! " << kFallback << -1;
}

void TestInterpreter::wildcardPriority()
{
    QFETCH(Table, table);
    QFETCH(QString, input);
    QFETCH(QString, reply);
    QFETCH(int, row);
    Interpreter bot;
    bot.setCategories(categoriesOf(table));
    const BotAnswer answer = bot.respond(input);
    QCOMPARE(answer.text, reply);
    QCOMPARE(answer.row, row);
    QVERIFY(!answer.limitReached && !answer.workLimitReached);
}

void TestInterpreter::conversation_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("replies");

    const Table cheese = { { "YES", "Yes what?" }, { "YES", "DO YOU LIKE CHEESE", "Good cheese." },
        { "ASK", "Hello. Do you like cheese?" }, { "NO", "DO YOU LIKE *", "Not even <thatstar/>?" } };
    QTest::newRow("that selects") << cheese << QStringList { "yes", "ask", "yes", "yes" }
                                  << QStringList { "Yes what?", "Hello. Do you like cheese?", "Good cheese.",
                                         "Yes what?" };
    QTest::newRow("thatstar") << cheese << QStringList { "ask", "no" }
                              << QStringList { "Hello. Do you like cheese?", "Not even CHEESE?" };
    QTest::newRow("sentences of one line") << cheese << QStringList { "Ask; yes! Yes." }
                                           << QStringList { "Hello. Do you like cheese? Good cheese. Yes what?" };
    QTest::newRow("fallback is a reply too") << Table { { "HUH", "I CANNOT UNDERSTAND THAT MASTER", "Sorry." } }
                                             << QStringList { "blah", "huh" } << QStringList { kFallback, "Sorry." };
    const Table topics = { { "LET US PLAY", "", "<think><set name=\"topic\">game chess with Ann</set></think>ok" },
        { "*", "", "Playing: <topicstar/>, <topicstar index=\"2\"/>.", "GAME * WITH *" }, { "*", "", "Anything." },
        { "STOP", "", "<think><set name=\"topic\"></set></think>Stopped.", "GAME *" } };
    QTest::newRow("topic chooses the category")
        << topics << QStringList { "hello", "let us play", "hello", "stop", "hi" }
        << QStringList { "Anything.", "ok", "Playing: CHESS, ANN.", "Stopped.", "Anything." };
    QTest::newRow("bot name in a that") << Table { { "ASK", "Vessra asks." },
        { "YES", "<bot name=\"name\"/> ASKS", "Right." }, { "YES", "No." } }
                                        << QStringList { "yes", "ask", "yes" }
                                        << QStringList { "No.", "Vessra asks.", "Right." };
    QTest::newRow("topic from a predicate")
        << Table { { "TOPIC", "[<topicstar/>]" }, { "SPORT", "<think><set name=\"topic\">sport news</set></think>ok" } }
        << QStringList { "topic", "sport", "topic" } << QStringList { "[]", "ok", "[SPORT NEWS]" };
    QTest::newRow("that and input by index")
        << Table { { "*", "said <star/>" },
               { "RECALL", "<that/>|<that index=\"2\"/>|<that index=\"1,2\"/>|<input index=\"2\"/>|<input/>" } }
        << QStringList { "one. two", "recall" } << QStringList { "said ONE said TWO", "SAID TWO||SAID ONE|TWO|RECALL" };
    QTest::newRow("empty reply keeps blanks single") << Table { { "QUIET", "<think>nothing</think>" }, { "HI", "Hi." } }
                                                     << QStringList { "hi. quiet. hi" } << QStringList { "Hi. Hi." };
}

void TestInterpreter::conversation()
{
    QFETCH(Table, table);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, replies);
    Interpreter bot;
    bot.setCategories(categoriesOf(table));
    QCOMPARE(converse(bot, inputs), replies);
}

void TestInterpreter::sraiLimits_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("limit"); // "srai", "work" or none

    auto chain = [](int length) {
        Table table;
        for (int i = 0; i < length; ++i)
            table.append({ i == 0 ? QStringLiteral("TEST") : QStringLiteral("S%1").arg(i),
                i + 1 == length ? QString::number(i) : QStringLiteral("%1 <srai>S%2</srai>").arg(i).arg(i + 1) });
        return table;
    };
    QStringList numbers;
    for (int i = 0; i <= 32; ++i)
        numbers.append(QString::number(i));
    QTest::newRow("32 nested answer") << chain(33) << numbers.join(' ') << "";
    QTest::newRow("33rd stops") << chain(40) << numbers.join(' ') << "srai";
    QTest::newRow("chain with stars") << Table { { "TEST", "<srai>SAY hello world</srai>" }, { "SAY *", "<sr/>!" },
        { "HELLO *", "Hi <star/>" } } << "Hi WORLD!"
                                      << "";
    QTest::newRow("srai text meets star")
        << Table { { "TEST", "<srai>SAY<bot name=\"name\"/></srai>" }, { "SAY *", "<star/>" } } << "VESSRA"
        << "";
    QTest::newRow("unmatched srai gives nothing") << single("<srai>nowhere</srai>ok") << "ok"
                                                  << "";
    QTest::newRow("direct loop") << single("<srai>test</srai>x") << "x"
                                 << "srai";
    QTest::newRow("loop through two") << Table { { "TEST", "a<srai>B</srai>" }, { "B", "b<srai>TEST</srai>" } } << "a b"
                                      << "srai";
    QTest::newRow("changing predicate is no loop")
        << single("<condition name=\"n\"><li value=\"3\">done</li><li value=\"2\"><think><set name=\"n\">3</set>"
                  "</think><srai>TEST</srai></li><li value=\"1\"><think><set name=\"n\">2</set></think><srai>TEST"
                  "</srai></li><li><think><set name=\"n\">1</set></think><srai>TEST</srai></li></condition>")
        << "done"
        << "";
    Table fan;
    for (int i = 0; i < 31; ++i)
        fan.append({ i == 0 ? QStringLiteral("TEST") : QStringLiteral("F%1").arg(i),
            QStringLiteral("<srai>F%1</srai><srai>F%1</srai>").arg(i + 1) });
    fan.append(QStringList { "F31", "x" });
    QTest::newRow("doubling fan stops") << fan << QString() << "srai";
    QTest::newRow("work without output stops")
        << Table { { "TEST", QStringLiteral("<srai>QUIET</srai>").repeated(100) + "end" },
               { "QUIET", "<think><srai>BIG</srai></think>" }, { "BIG", QString(60000, u'x') } }
        << ""
        << "work";
    // Set back to where the request was first asked, the predicates make it the same request.
    QTest::newRow("predicate set back is a loop")
        << single("<condition name=\"n\"><li value=\"1\">b<think><set name=\"n\">2</set></think><srai>TEST</srai>"
                  "</li><li value=\"2\">c<think><set name=\"n\">1</set></think><srai>TEST</srai></li><li>a<think>"
                  "<set name=\"n\">1</set></think><srai>TEST</srai></li></condition>")
        << "a b c"
        << "srai";
    QStringList manyWords;
    for (int i = 0; i < 3000; ++i)
        manyWords.append(QStringLiteral("w%1").arg(i % 7));
    const QString longPredicate = QStringLiteral("<think><set name=\"p\">") + manyWords.join(' ') + "</set></think>";
    // Each item is compared word by word with the whole predicate (whose words it holds, but
    // never one after the other).
    QTest::newRow("many wildcard items over a long predicate") << single(longPredicate
        + QStringLiteral("<condition name=\"p\">") + QStringLiteral("<li value=\"* W1 W1\">x</li>").repeated(2000)
        + QStringLiteral("<li>done</li></condition>")) << ""
                                                               << "work";
    QTest::newRow("a condition value too long to compare")
        << single(longPredicate + QStringLiteral("<condition name=\"p\" value=\"")
               + QStringLiteral("* w1 ").repeated(20000) + QStringLiteral("\">yes</condition>no"))
        << ""
        << "work";
    QTest::newRow("a template too long to read")
        << Table { { "TEST", "<srai>BIG</srai>ok" }, { "BIG", QStringLiteral("<b>x</b>").repeated(200000) } } << ""
        << "work";
}

void TestInterpreter::sraiLimits()
{
    QFETCH(Table, table);
    QFETCH(QString, reply);
    QFETCH(QString, limit);
    Interpreter bot;
    bot.setCategories(categoriesOf(table));
    const BotAnswer answer = bot.respond(QStringLiteral("test"));
    if (!reply.isNull())
        QCOMPARE(answer.text, reply);
    QCOMPARE(answer.limitReached, limit == QLatin1String("srai"));
    QCOMPARE(answer.workLimitReached, limit == QLatin1String("work"));
    QCOMPARE(answer.row, 1);
    QCOMPARE(describeAnswer(answer).endsWith(QStringLiteral(" · %1 limit reached").arg(limit)), !limit.isEmpty());
}

void TestInterpreter::conditions_data()
{
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("reply");

    const QString single = QStringLiteral(
        "<condition name=\"colour\"><li value=\"red\">R</li><li value=\"DARK *\">D</li><li>other</li></condition>");
    const QString multi = QStringLiteral("<condition><li name=\"size\" value=\"big\">B</li>"
                                         "<li name=\"colour\" value=\"green\">G</li><li>none</li></condition>");
    QTest::newRow("block true") << "Red"
                                << "<condition name=\"colour\" value=\"RED\">yes</condition>"
                                << "yes";
    QTest::newRow("block false") << "blue"
                                 << "<condition name=\"colour\" value=\"red\">yes</condition>"
                                 << "";
    QTest::newRow("block star set") << "deep blue"
                                    << "<condition name=\"colour\" value=\"*\">set</condition>"
                                    << "set";
    QTest::newRow("block star unset") << ""
                                      << "<condition name=\"colour\" value=\"*\">set</condition>"
                                      << "";
    QTest::newRow("single first") << "red" << single << "R";
    QTest::newRow("single wildcard") << "dark red" << single << "D";
    QTest::newRow("single wildcard needs a word") << "dark" << single << "other";
    QTest::newRow("single default") << "blue" << single << "other";
    QTest::newRow("single no default") << "blue"
                                       << "<condition name=\"colour\"><li value=\"red\">R</li></condition>"
                                       << "";
    QTest::newRow("multi second") << "green" << multi << "G";
    QTest::newRow("multi default") << "red" << multi << "none";
}

void TestInterpreter::conditions()
{
    QFETCH(QString, colour);
    QFETCH(QString, condition);
    QFETCH(QString, reply);
    Interpreter bot;
    bot.setCategories(
        categoriesOf(single(QStringLiteral("<think><set name=\"colour\">%1</set></think>").arg(colour) + condition)));
    QCOMPARE(bot.respond(QStringLiteral("test")).text, reply);
}

void TestInterpreter::substitutions_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("templ");
    QTest::addColumn<QString>("reply");

    QTest::newRow("person short form") << "test i am sure he is"
                                       << "<person/>"
                                       << "HE OR SHE IS SURE I AM";
    QTest::newRow("person small letters") << "test"
                                          << "<person>I told him my name</person>"
                                          << "He or she told me his or her name";
    QTest::newRow("person2 short form") << "test you gave me your book"
                                        << "<person2/>"
                                        << "I GAVE YOU MY BOOK";
    QTest::newRow("person2 small letters") << "test"
                                           << "<person2>are you sure I am right</person2>"
                                           << "am I sure you are right";
    QTest::newRow("gender") << "test he told her his plan"
                            << "<gender/>"
                            << "SHE TOLD HIM HER PLAN";
    QTest::newRow("gender keeps other words") << "test"
                                              << "<gender>She's here, he's not.</gender>"
                                              << "He's here, she's not.";
}

void TestInterpreter::substitutions()
{
    QFETCH(QString, input);
    QFETCH(QString, templ);
    QFETCH(QString, reply);
    Interpreter bot;
    bot.setCategories(categoriesOf({ { "TEST", templ }, { "TEST *", templ } }));
    QCOMPARE(bot.respond(input).text, reply);
}

void TestInterpreter::templateElements_data()
{
    QTest::addColumn<QString>("templ");
    QTest::addColumn<QString>("reply");

    QTest::newRow("set gives value") << "<set name=\"x\"> a  b </set>/<get name=\"x\"/>"
                                     << "a b/a b";
    QTest::newRow("think hides") << "<think><set name=\"x\">1</set></think>[<get name=\"x\"/>]"
                                 << "[1]";
    QTest::newRow("get unset") << "[<get name=\"nothing\"/>]"
                               << "[]";
    QTest::newRow("bot") << "<bot name=\"name\"/>[<bot name=\"age\"/>]"
                         << "Vessra[]";
    QTest::newRow("case") << "<uppercase>abc</uppercase> <lowercase>DEF</lowercase>"
                          << "ABC def";
    QTest::newRow("formal") << "<formal>hello OLD world</formal>"
                            << "Hello Old World";
    QTest::newRow("sentence") << "<sentence>HELLO THERE. HOW ARE YOU</sentence>"
                              << "Hello there. How are you";
    QTest::newRow("date") << "<date/>"
                          << "Tuesday 3 March 2026, 14:05";
    QTest::newRow("date format") << "<date format=\"%A %d %B %Y %I:%M %p\"/>"
                                 << "Tuesday 03 March 2026 02:05 PM";
    QTest::newRow("id size version") << "<id/> <size/> <version/>"
                                     << "localhost 2 AIML Vorrel 3.1";
    QTest::newRow("never run") << "a<system>rm -rf x</system><javascript>1</javascript><learn>f.aiml</learn>"
                                  "<gossip>g</gossip>b"
                               << "ab";
    QTest::newRow("unknown gives content") << "<b>bold</b> <font color=\"red\">red</font>"
                                           << "bold red";
    QTest::newRow("text meets element")
        << "is<bot name=\"name\"/>here, <b>bold</b>. <uppercase>x</uppercase><get name=\"no\"/>y"
        << "is Vessra here, bold. X y";
    QTest::newRow("br separates") << "one<br/>two"
                                  << "one two";
    QTest::newRow("random without items") << "a<random>loose</random>b"
                                          << "ab";
    QTest::newRow("entities") << "&lt;tag&gt; &amp; &#65;&#x42; &nbsp;"
                              << "<tag> & AB &nbsp;";
    QTest::newRow("markup sections") << "a<!-- note --><![CDATA[<b>]]>c<?pi x?>"
                                     << "a<b>c";
    QTest::newRow("line breaks") << "one\r\n   two\r\n"
                                 << "one two";
    QTest::newRow("unclosed element") << "<uppercase>abc"
                                      << "ABC";
    QTest::newRow("stray end tag") << "a</li>b</template>"
                                   << "ab";
    QTest::newRow("end tag closes inner") << "<uppercase>a<lowercase>B</uppercase>c"
                                          << "A B c";
    QTest::newRow("bare markup characters") << "a < b && c <= d > e"
                                            << "a < b && c <= d > e";
    QTest::newRow("broken tag is text") << "<get name=\"x>"
                                        << "<get name=\"x>";
    QTest::newRow("case of tag names") << "<UPPERCASE>x</UpperCase>"
                                       << "X";
    QTest::newRow("index too large") << "[<input index=\"99999999999\"/>]"
                                     << "[]";
    // Adlam letters, beyond U+FFFF: small a is U+1E922, capital a U+1E900.
    QTest::newRow("formal beyond U+FFFF") << "<formal>\xf0\x9e\xa4\xa2\xf0\x9e\xa4\xa2 x</formal>"
                                          << "\xf0\x9e\xa4\x80\xf0\x9e\xa4\xa2 X";
    QTest::newRow("sentence beyond U+FFFF") << "<sentence>\xf0\x9e\xa4\xa2 HELLO</sentence>"
                                            << "\xf0\x9e\xa4\x80 hello";
}

void TestInterpreter::templateElements()
{
    QFETCH(QString, templ);
    QFETCH(QString, reply);
    Interpreter bot;
    bot.setClock([] { return QDateTime(QDate(2026, 3, 3), QTime(14, 5)); });
    bot.setCategories(categoriesOf({ { "TEST", templ }, { "", "" }, { "OTHER", "" } }));
    QCOMPARE(bot.respond(QStringLiteral("test")).text, reply);
}

void TestInterpreter::resetForgetsTheConversation()
{
    Interpreter bot;
    bot.setCategories(categoriesOf({ { "SET", "<set name=\"x\">kept</set>" }, { "GET", "x is <get name=\"x\"/>" },
        { "YES", "KEPT", "after set" }, { "YES", "plain yes" } }));
    QCOMPARE(
        converse(bot, { "set", "yes", "get", "yes" }), QStringList({ "kept", "after set", "x is kept", "plain yes" }));
    // New rows keep the conversation, as when a cell is edited while talking.
    bot.setCategories(categoriesOf({ { "GET", "<get name=\"x\"/>!" }, { "YES", "KEPT", "after get" } }));
    QCOMPARE(bot.respond(QStringLiteral("get")).text, QStringLiteral("kept!"));
    bot.reset();
    QCOMPARE(bot.predicate(QStringLiteral("x")), QString());
    QCOMPARE(converse(bot, { "yes", "get" }), QStringList({ kFallback, "!" }));
}

void TestInterpreter::randomFollowsTheSeed()
{
    const Table table = single(QStringLiteral("<random><li>a</li><li>b</li><li>c</li></random>"));
    auto sequence = [&table](Interpreter &bot) {
        QString letters;
        for (int i = 0; i < 60; ++i)
            letters += bot.respond(QStringLiteral("test")).text;
        return letters;
    };
    InterpreterOptions options;
    options.seed = 7;
    Interpreter first(options);
    first.setCategories(categoriesOf(table));
    Interpreter second(options);
    second.setCategories(categoriesOf(table));
    const QString letters = sequence(first);
    QCOMPARE(sequence(second), letters);
    for (const QChar item : { u'a', u'b', u'c' })
        QVERIFY2(letters.contains(item), qPrintable(letters));
    first.seed(7);
    QCOMPARE(sequence(first), letters);
    first.seed(8);
    QVERIFY(sequence(first) != letters);
}

void TestInterpreter::randomMayAskAgain()
{
    // A request that asks itself again through <random> may answer otherwise the next time.
    InterpreterOptions options;
    options.seed = 1;
    Interpreter bot(options);
    bot.setCategories(categoriesOf(single(QStringLiteral("<random><li>a</li><li><srai>TEST</srai></li></random>"))));
    for (int i = 0; i < 20; ++i) {
        const BotAnswer answer = bot.respond(QStringLiteral("test"));
        QCOMPARE(answer.text, QStringLiteral("a"));
        QVERIFY(!answer.limitReached);
    }
}

void TestInterpreter::outputIsCut_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<QString>("input");

    const QString block(1000, u'x');
    const QString test = QStringLiteral("test");
    QTest::newRow("long text") << single(QString(70000, u'y')) << test;
    QTest::newRow("many srai") << Table { { "TEST", QStringLiteral("<srai>BLOCK</srai>").repeated(100) },
        { "BLOCK", block } } << test;
    QTest::newRow("nested growth") << Table { { "TEST", QStringLiteral("<uppercase><srai>BIG</srai></uppercase>") },
        { "BIG", QStringLiteral("<srai>BLOCK</srai>").repeated(80) }, { "BLOCK", block } }
                                   << test;
    QTest::newRow("a pair at the cut") << single(
        QStringLiteral("a") + QString::fromUtf8("\xf0\x9f\x98\x80").repeated(40000))
                                       << test;
    QTest::newRow("many sentences") << single(QStringLiteral("answer")) << QStringLiteral("test. ").repeated(100000);
}

void TestInterpreter::outputIsCut()
{
    QFETCH(Table, table);
    QFETCH(QString, input);
    Interpreter bot;
    bot.setCategories(categoriesOf(table));
    const QString text = bot.respond(input).text;
    // Less one unit where the cut would split a surrogate pair.
    QVERIFY2(text.size() >= Interpreter::kMaxTemplateOutput - 1 && text.size() <= Interpreter::kMaxTemplateOutput,
        qPrintable(QString::number(text.size())));
    QVERIFY(!text.back().isHighSurrogate());
}

void TestInterpreter::hostileTables_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("reply");

    QStringList manyWords;
    for (int i = 0; i < 3000; ++i)
        manyWords.append(QStringLiteral("w%1").arg(i % 7));
    const QString stars = QStringLiteral("* ").repeated(12) + QStringLiteral("END");
    QTest::newRow("wildcards against a long sentence")
        << Table { { stars, "found" }, { "* W3", "last" } } << manyWords.join(' ') << "last";
    QTest::newRow("deep nesting") << single(QStringLiteral("<b>").repeated(100000) + QStringLiteral("x")) << "test"
                                  << "x";
    QTest::newRow("unfinished markup") << single(QStringLiteral("<?<!--<a b=\"").repeated(30000) + QStringLiteral(">y"))
                                       << "test" << QString();
    QTest::newRow("many items over a long predicate") << single(QStringLiteral("<think><set name=\"p\">")
        + manyWords.join(' ') + QStringLiteral("</set></think><condition name=\"p\">")
        + QStringLiteral("<li value=\"b\">x</li>").repeated(5000) + QStringLiteral("<li>done</li></condition>"))
                                                      << "test"
                                                      << "done";
    QTest::newRow("junk pattern") << Table { { "<bot name=\"name\"/> &amp; <x <y>", "odd" } } << "Vessra x"
                                  << "odd";
}

void TestInterpreter::hostileTables()
{
    QFETCH(Table, table);
    QFETCH(QString, input);
    QFETCH(QString, reply);
    Interpreter bot;
    bot.setCategories(categoriesOf(table));
    const BotAnswer answer = bot.respond(input);
    if (!reply.isNull())
        QCOMPARE(answer.text, reply);
    QVERIFY(answer.row > 0);
}

void TestInterpreter::corpusAnswers()
{
    const QDir corpus(QStringLiteral(VORREL_CORPUS_DIR "/free-aiml"));
    const QStringList files = corpus.entryList({ QStringLiteral("*.aiml") }, QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP("corpus not present");
    std::vector<BotCategory> rows;
    for (const QString &name : files) {
        const std::vector<BotCategory> read
            = botCategories(readCategories(test::readFile(corpus.filePath(name)), ReadOptions()));
        rows.insert(rows.end(), read.begin(), read.end());
    }
    InterpreterOptions options;
    options.seed = 1;
    Interpreter bot(options);
    bot.setCategories(rows);

    // Every row without a that or topic answers some input: its pattern with words for the
    // wildcards.
    // Between them, lines of junk; the conversation is never reset, so the games' predicates
    // pile up as they would in a long session.
    QRandomGenerator random(5);
    const QStringList fillers = { "blue", "seven", "the big dog", "1984", "vessra", "yes", "no" };
    int asked = 0;
    int answered = 0;
    int junk = 0;
    while (asked < 400) {
        const BotCategory &row = rows[random.bounded(static_cast<quint32>(rows.size()))];
        if (!row.that.trimmed().isEmpty() || !row.topic.isEmpty() || row.pattern.contains(u'<')
            || row.pattern.trimmed().isEmpty())
            continue;
        QStringList words = normalisedWords(row.pattern);
        for (QString &word : words) {
            if (word == u"*" || word == u"_")
                word = fillers[random.bounded(static_cast<quint32>(fillers.size()))];
        }
        const BotAnswer answer = bot.respond(words.join(' '));
        ++asked;
        answered += answer.row > 0 ? 1 : 0;
        QVERIFY(answer.text.size() <= 4 * Interpreter::kMaxTemplateOutput);
        if (asked % 4 == 0) {
            QString line;
            for (int i = 0; i < 40; ++i)
                line += QChar(static_cast<char16_t>(random.bounded(32, 127)));
            junk += bot.respond(line).row < 0 ? 1 : 0;
        }
    }
    qInfo("%zu rows; %d of %d generated inputs answered, %d of %d junk lines fell back", rows.size(), answered, asked,
        junk, asked / 4);
    QCOMPARE(answered, asked);
}

void TestInterpreter::chatCommand()
{
    const Table table = { { "HELLO", "Hi\r\n  there.  How   are you?" },
        { "PICK", "<random><li>1</li><li>2</li><li>3</li><li>4</li></random>" }, { "YES", "HOW ARE YOU", "Good." } };
    auto chat = [&table](const QString &input, bool trace, QString &errors) {
        QString in = input;
        QString out;
        QTextStream inStream(&in);
        QTextStream outStream(&out);
        QTextStream errStream(&errors);
        InterpreterOptions botOptions;
        botOptions.seed = 3;
        Interpreter bot(botOptions);
        bot.setCategories(categoriesOf(table));
        ChatOptions options;
        options.trace = trace;
        const int code = runChat(bot, inStream, outStream, errStream, options);
        return code == 0 ? out : QStringLiteral("exit %1").arg(code);
    };
    QString errors;
    QCOMPARE(chat(QStringLiteral("hello\nyes\n\nwhat"), true, errors),
        QStringLiteral("Hi there. How are you?\nGood.\n%1\n%1\n").arg(kFallback));
    QCOMPARE(errors,
        QStringLiteral("Row 1: HELLO\nRow 3: YES · that HOW ARE YOU\nNo category matched\nNo category matched\n"));
    errors.clear();
    const QString picks = chat(QStringLiteral("pick\n").repeated(20), false, errors);
    QCOMPARE(errors, QString());
    QCOMPARE(picks.count(u'\n'), 20);
    QCOMPARE(chat(QStringLiteral("pick\n").repeated(20), false, errors), picks);
}

QTEST_APPLESS_MAIN(TestInterpreter)

#include "tst_interpreter.moc"
