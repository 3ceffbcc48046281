// AIML's text rules: the words of a text in both encodings, attributes as written, and one
// table of documents that the checker and the bot must read alike.

#include "aiml/Markup.h"
#include "aiml/Words.h"
#include "bot/Interpreter.h"
#include "bot/TableBot.h"
#include "document/AimlReader.h"
#include "document/Checker.h"

#include <QTest>

using namespace vorrel;

namespace {

QByteArray cat(const QByteArray &pattern, const QByteArray &templ)
{
    return "<category><pattern>" + pattern + "</pattern><template>" + templ + "</template></category>\n";
}

// The row's categories, one that says "Hello there" to "hi" (for a that to meet), and the
// category PROBE, whose template asks the srai.
QByteArray documentOf(const QByteArray &categories, const QByteArray &probe)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<aiml>\n" + cat("HI", "Hello there") + categories
        + cat("PROBE", probe) + "</aiml>\n";
}

bool reports(const std::vector<Problem> &problems, QStringView code)
{
    return std::any_of(problems.begin(), problems.end(), [code](const Problem &p) { return p.code == code; });
}

} // namespace

class TestAimlRules final : public QObject
{
    Q_OBJECT

private slots:
    void words_data();
    void words();
    void attributes_data();
    void attributes();
    void checkerAgrees_data();
    void checkerAgrees();
    void botAgrees_data() { checkerAgrees_data(); }
    void botAgrees();
};

void TestAimlRules::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("words");

    QTest::newRow("punctuation parts words") << "What's up? (ab-cd)"
                                             << "WHAT S UP AB CD";
    QTest::newRow("wildcards are word characters") << "a_b *x* _"
                                                   << "A_B *X* _";
    QTest::newRow("every letter folds") << "\xc3\xa4pfel stra\xc3\x9f"
                                           "e \xc4\xb1"
                                        << "\xc3\x84PFEL STRA\xc3\x9f"
                                           "E I";
    QTest::newRow("beyond U+FFFF") << "\xf0\x9e\xa4\xa2x \xf0\x9f\x98\x80"
                                   << "\xf0\x9e\xa4\x80X";
    QTest::newRow("combining marks stay in the word") << "cafe\xcc\x81!"
                                                      << "CAFE\xcc\x81";
    QTest::newRow("blanks of every kind") << " a\t\r\nb\xc2\xa0"
                                             "c\xe3\x80\x80"
                                          << "A B C";
    QTest::newRow("nothing") << " ?! "
                             << "";
}

// Both encodings, one split.
void TestAimlRules::words()
{
    QFETCH(QString, text);
    QFETCH(QString, words);
    QCOMPARE(normalisedWords(text).join(u' '), words);
    QByteArray utf8 = "x";
    appendWords(utf8, text.toUtf8());
    QCOMPARE(QString::fromUtf8(utf8), words.isEmpty() ? QStringLiteral("x") : QStringLiteral("x ") + words);
}

void TestAimlRules::attributes_data()
{
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<QByteArray>("value");

    QTest::newRow("double quotes") << QByteArray("<topic name=\"GAMES\">") << QByteArray("GAMES");
    QTest::newRow("single quotes, blanks around =") << QByteArray("<topic name\n= 'A \"B\"'>") << QByteArray("A \"B\"");
    QTest::newRow("not a longer name") << QByteArray("<topic xname=\"no\" name=\"yes\">") << QByteArray("yes");
    QTest::newRow("not inside a value") << QByteArray("<topic title='name=\"no\"' name=\"yes\"/>") << QByteArray("yes");
    QTest::newRow("declaration") << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"") << QByteArray("UTF-8");
    QTest::newRow("missing") << QByteArray("<topic>") << QByteArray();
    QTest::newRow("unclosed value") << QByteArray("<topic name=\"GAMES") << QByteArray();
}

void TestAimlRules::attributes()
{
    QFETCH(QByteArray, tag);
    QFETCH(QByteArray, value);
    const QByteArrayView name = tag.startsWith("<?") ? "encoding" : "name";
    QCOMPARE(attributeIn(tag, name).toByteArray(), value);
    MarkupTag read;
    if (readTag(QString::fromUtf8(tag), 0, read) > 0) {
        const auto it = std::find_if(read.attributes.begin(), read.attributes.end(),
            [&name](const auto &attribute) { return attribute.first == QLatin1StringView(name); });
        QCOMPARE(it == read.attributes.end() ? QString() : it->second, QString::fromUtf8(value));
    }
}

// What the bot answers to PROBE, said after "hi": "found" when the srai has a target, nothing
// when it has none; "second" when the second of two categories took the first one's place,
// "first" when they stand apart. The checker must report the dead srai and the duplicate
// exactly then.
void TestAimlRules::checkerAgrees_data()
{
    QTest::addColumn<QByteArray>("categories");
    QTest::addColumn<QByteArray>("probe");
    QTest::addColumn<QString>("answer");

    const QByteArray found = "found";
    QTest::newRow("punctuation inside a word") << cat("AB CD", found) << QByteArray("<srai>ab-cd</srai>") << "found";
    QTest::newRow("an apostrophe in the srai")
        << cat("WHAT S UP", found) << QByteArray("<srai>What's up?</srai>") << "found";
    QTest::newRow("an apostrophe in the pattern")
        << cat("I DON'T KNOW", found) << QByteArray("<srai>i don t know</srai>") << "found";
    QTest::newRow("letters beyond ASCII")
        << cat("\xc3\x84PFEL", found) << QByteArray("<srai>\xc3\xa4pfel</srai>") << "found";
    QTest::newRow("letters beyond U+FFFF")
        << cat("\xf0\x9e\xa4\x80", found) << QByteArray("<srai>\xf0\x9e\xa4\xa2</srai>") << "found";
    QTest::newRow("found by backtracking") << cat("A * B C", found) << QByteArray("<srai>a x b b c</srai>") << "found";
    QTest::newRow("a wildcard takes a word") << cat("A _", found) << QByteArray("<srai>a</srai>") << "";
    QTest::newRow("the bot's name") << cat("CALL <bot name=\"name\"/>", found) << QByteArray("<srai>call Vessra</srai>")
                                    << "found";
    QTest::newRow("another name") << cat("CALL <bot name=\"name\"/>", found) << QByteArray("<srai>call Alice</srai>")
                                  << "";
    QTest::newRow("an element parts words")
        << cat("A<get name=\"x\"/>B", found) << QByteArray("<srai>a b</srai>") << "found";
    QTest::newRow("a comment does not") << cat("CO<!-- x -->DE", found) << QByteArray("<srai>code</srai>") << "found";
    QTest::newRow("a character reference")
        << cat("CAF&#201;", found) << QByteArray("<srai>caf\xc3\xa9</srai>") << "found";
    QTest::newRow("a that the conversation meets")
        << QByteArray("<category><pattern>YES</pattern><that>HELLO THERE</that><template>found</template></category>")
        << QByteArray("<srai>yes</srai>") << "found";
    QTest::newRow("a topic the conversation meets")
        << QByteArray("<topic name=\"GAMES\">" + cat("PLAY", found) + "</topic>")
        << QByteArray("<think><set name=\"topic\">games</set></think><srai>play</srai>") << "found";
    QTest::newRow("an empty srai") << cat("A", found) << QByteArray("<srai/>") << "";
    QTest::newRow("a srai of punctuation") << cat("A", found) << QByteArray("<srai>?!</srai>") << "";

    const QByteArray ask = "<srai>what s up</srai>";
    QTest::newRow("duplicate: an apostrophe parts words")
        << cat("WHAT'S UP", "first") + cat("WHAT S UP", "second") << ask << "second";
    QTest::newRow("duplicate: blanks and letter case")
        << cat("WHAT  S UP", "first") + cat("what s\tup", "second") << ask << "second";
    QTest::newRow("duplicate: a that of \"*\"") << cat("WHAT S UP", "first")
            + "<category><pattern>WHAT S UP</pattern><that>*</that><template>second</template></category>"
                                                << ask << "second";
    QTest::newRow("duplicate: the bot's name and its words")
        << cat("I AM <bot name=\"name\"/>", "first") + cat("I AM VESSRA", "second")
        << QByteArray("<srai>i am vessra</srai>") << "second";
    QTest::newRow("no duplicate: another topic")
        << cat("WHAT S UP", "first") + "<topic name=\"T\">" + cat("WHAT S UP", "second") + "</topic>" << ask << "first";
    QTest::newRow("no duplicate: a wildcard")
        << cat("WHAT S UP", "first") + cat("WHAT S *", "second") << ask << "first";
}

void TestAimlRules::checkerAgrees()
{
    QFETCH(QByteArray, categories);
    QFETCH(QByteArray, probe);
    QFETCH(QString, answer);
    const std::vector<Problem> problems = checkDocument(documentOf(categories, probe));
    QCOMPARE(reports(problems, u"srai-target"), answer.isEmpty());
    QCOMPARE(reports(problems, u"duplicate"), answer == u"second");
    QVERIFY(!reports(problems, u"not-well-formed"));
}

void TestAimlRules::botAgrees()
{
    QFETCH(QByteArray, categories);
    QFETCH(QByteArray, probe);
    QFETCH(QString, answer);
    Interpreter bot;
    bot.setCategories(botCategories(readCategories(documentOf(categories, probe), ReadOptions())));
    QCOMPARE(bot.respond(QStringLiteral("hi")).text, QStringLiteral("Hello there"));
    QCOMPARE(bot.respond(QStringLiteral("probe")).text, answer);
}

QTEST_APPLESS_MAIN(TestAimlRules)

#include "tst_aimlrules.moc"
