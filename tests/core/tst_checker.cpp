#include "document/CheckCommand.h"
#include "document/Checker.h"
#include "document/Document.h"

#include "TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QUrl>

#include <map>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace vorrel;
using test::writeFile;

namespace {

// "code@line:column" of each problem, in order; an error's code after "!".
QString summary(const std::vector<Problem> &problems)
{
    QStringList parts;
    for (const Problem &p : problems)
        parts.append(QStringLiteral("%1%2@%3:%4")
                         .arg(p.severity == Severity::Error ? QStringLiteral("!") : QString(), p.code)
                         .arg(p.line)
                         .arg(p.column));
    return parts.join(QLatin1Char(' '));
}

// A category on one line: <category> at column 1, <pattern> at 11, <template> at 31 + the
// pattern's length.
QByteArray cat(const QByteArray &pattern, const QByteArray &templ)
{
    return "<category><pattern>" + pattern + "</pattern><template>" + templ + "</template></category>";
}

// The body starts on line 2.
QByteArray aiml(const QByteArray &body)
{
    return "<aiml>\n" + body + "\n</aiml>\n";
}

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

Run runCheck(const QStringList &files, CheckRequest request = {}, QByteArray input = {})
{
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    request.files = files;
    QBuffer standardInput(&input);
    run.code = runCheckCommand(request, standardInput, out, err);
    out.flush();
    err.flush();
    return run;
}

// Every problem with its message, one a line.
QString described(const std::vector<Problem> &problems)
{
    QStringList lines;
    for (const Problem &p : problems)
        lines.append(formatProblem(QString(), p));
    return lines.join(QLatin1Char('\n'));
}

std::vector<Problem> checkInParts(const QByteArray &document, bool parts)
{
    CheckOptions options;
    options.parallelFrom = parts ? 0 : -1;
    return checkDocument(document, options);
}

// A document whose second part, read alongside the first, starts where `second` does: the
// first is padded so that the middle, or a little after it, falls just before it.
QByteArray halves(const QByteArray &prolog, const QByteArray &first, const QByteArray &second)
{
    const QByteArray end = "\n</aiml>\n";
    const qsizetype rest = second.size() + end.size();
    const QByteArray padding(std::max<qsizetype>(0, rest * 3 / 2 - prolog.size() - first.size()), '\n');
    return prolog + first + padding + second + end;
}

} // namespace

class TestChecker final : public QObject
{
    Q_OBJECT

private slots:
    void problems_data();
    void problems();
    void messages();
    void lowerCaseOnlyWhenPatternsAreUpcased();
    void partsAgree_data();
    void partsAgree();
    void corpus();
    void commandOutput();
    void commandReadsLargeFile();
    void commandFormats();
    void commandExitCodes_data();
    void commandExitCodes();
    void unreadableFiles_data();
    void unreadableFiles();
    void garbageIsAnErrorNotACrash_data();
    void garbageIsAnErrorNotACrash();
};

void TestChecker::problems_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("expected");

    const QByteArray hello = cat("HELLO", "Hi.");
    QTest::newRow("clean") << aiml(hello) << "";
    QTest::newRow("clean, every allowed kind") << QByteArray(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<aiml version=\"1.0.1\" xmlns:html=\"http://www.w3.org/1999/xhtml\">\n<topic name=\"games\">\n"
        "<category><pattern>HI *</pattern><that>WHO ARE YOU</that><template><srai>HELLO "
        "<star/></srai><html:b>x</html:b><br/><em>y</em></template></category>\n</topic>\n"
        "<category><pattern>MY NAME IS <bot name=\"name\"/></pattern>"
        "<template><srai>hi, there friend!</srai></template></category>\n"
        "<category><pattern>HI _ FRIEND</pattern><template><random><li>Hey.</li></random></template>"
        "</category>\n<category><pattern>HI *</pattern><template><think><set name=\"x\">y</set></think>"
        "</template></category>\n</aiml>\n") << "";
    QTest::newRow("srai matched only by backtracking")
        << aiml(cat("A * B C", "x") + cat("_ END", "y") + cat("CALL <bot name=\"name\"/>", "z")
               + cat("Q", "<srai>a x b b c</srai><srai>one two end</srai><srai>Call Vessra</srai>"))
        << "";
    QTest::newRow("Latin-1 as declared") << QByteArray(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<aiml>\n" + cat("CAF\xc9", "caf\xe9") + "\n</aiml>")
                                         << "";

    QTest::newRow("not well-formed, later categories still checked")
        << aiml(cat("A", "Tom & Jerry") + '\n' + cat("A", "x") + '\n' + cat("B?", ""))
        << "!not-well-formed@2:46 duplicate@3:1 pattern-syntax@4:11 empty-template@4:32";
    QTest::newRow("not well-formed, topics found literally")
        << aiml(cat("A", "&") + "\n<topic name=\"T\">\n" + cat("A", "x") + "\n</topic>\n" + cat("A", "y"))
        << "!not-well-formed@2:42 duplicate@6:1";
    QTest::newRow("not well-formed, unclosed category")
        << aiml("<category><pattern>A</pattern><template>x</template>\n" + cat("A", "y"))
        << "!structure@3:1 duplicate@3:1 !not-well-formed@4:1";

    QTest::newRow("unknown encoding") << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8859-1\"?>\n" + aiml(hello))
                                      << "!encoding@1:31";
    QTest::newRow("declared ISO-8859-1, bytes UTF-8")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n" + aiml(cat("CAFE", "caf\xc3\xa9")))
        << "encoding@3:47";
    QTest::newRow("declared UTF-8, bytes Latin-1, still checked") << QByteArray(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + aiml(cat("CAFE", "caf\xe9") + '\n' + cat("CAFE", "x")))
                                                                  << "!encoding@3:47 duplicate@4:1";
    QTest::newRow("no declaration, not UTF-8") << aiml(cat("X", "\xff")) << "!encoding@2:41";
    QTest::newRow("columns count characters") << aiml(cat("CAF\xc3\x89", "\xc3\xa9<foo/>")) << "unknown-element@2:45";
    QTest::newRow("byte order mark takes no column")
        << QByteArray("\xef\xbb\xbf<aiml>" + cat("A", "<foo/>") + "</aiml>") << "unknown-element@1:47";
    QTest::newRow("Latin-1 columns") << QByteArray(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<aiml>\n" + cat("\xc9T\xc9", "\xe9<foo/>") + "\n</aiml>")
                                     << "unknown-element@3:44";
    QTest::newRow("UTF-16 with a byte order mark") << QByteArray(QStringEncoder(QStringConverter::Utf16LE,
        QStringEncoder::Flag::WriteBom)(QString::fromUtf8(aiml(cat("\xc3\x89T\xc3\x89", "<foo/>")))))
                                                   << "unknown-element@2:43";
    QTest::newRow("LF of a CR LF on the CR's line")
        << QByteArray("<aiml>\r\n" + cat("A", "x &\r\ny") + "\r\n</aiml>\r\n") << "!not-well-formed@2:44";
    QTest::newRow("UTF-16 declared as 8-bit")
        << QByteArray(QStringEncoder(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom)(
               QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n") + QString::fromUtf8(aiml(hello))))
        << "!encoding@1:31";
    // What any XML parser refuses is an error.
    QTest::newRow("declared US-ASCII, a byte above 127")
        << QByteArray("<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n" + aiml(cat("CAFE", "caf\xe9")))
        << "!encoding@3:47";
    QTest::newRow("declared UTF-16, bytes 8-bit")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" + aiml(hello)) << "!encoding@1:31";
    QByteArray loneSurrogate = QStringEncoder(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom)(
        QString::fromUtf8(aiml(cat("A", "xy"))));
    loneSurrogate.replace(loneSurrogate.indexOf(QByteArray("x\0", 2)), 2, QByteArray("\x00\xd8", 2));
    QTest::newRow("UTF-16, a lone surrogate") << loneSurrogate << "!encoding@2:41";
    QTest::newRow("declared windows-1252") << QByteArray("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
        + aiml(cat("CAF\xc9",
            "\x93"
            "caf\xe9\x94"))) << "";
    QTest::newRow("prefix not declared") << aiml(cat("A", "<html:b>x</html:b>")) << "!not-well-formed@2:41";
    QTest::newRow("entity not declared") << aiml(cat("A", "&nbsp;")) << "!not-well-formed@2:41";
    QTest::newRow("entity declared") << QByteArray("<!DOCTYPE aiml [<!ENTITY me \"Vessra\">]>\n"
        + aiml(cat("A", "&me;"))) << "";
    QTest::newRow("attribute twice") << QByteArray("<aiml version=\"1\" version=\"2\">\n" + hello + "</aiml>")
                                     << "!not-well-formed@1:19";
    QTest::newRow("two hyphens in a comment") << aiml(cat("A", "<!-- a -- b -->x")) << "!not-well-formed@2:50";
    QTest::newRow("control character") << aiml(cat("A", "x\x01")) << "!not-well-formed@2:42";
    QTest::newRow("text after the root") << QByteArray(aiml(hello) + "x") << "!not-well-formed@4:1";
    QTest::newRow("lone CR ends a line") << QByteArray("<aiml>\r" + cat("A", "<foo/>") + "\r\n" + cat("B", "<foo/>")
        + "\r</aiml>") << "unknown-element@2:41 unknown-element@3:41";

    QTest::newRow("no pattern") << aiml("<category><template>x</template></category>") << "!structure@2:1";
    QTest::newRow("no template") << aiml("<category><pattern>A</pattern></category>") << "!structure@2:1";
    QTest::newRow("two patterns") << aiml("<category><pattern>A</pattern><pattern>B</pattern><template>x</template>"
                                          "</category>")
                                  << "!structure@2:31";
    QTest::newRow("two templates") << aiml("<category><pattern>A</pattern><template>x</template>"
                                           "<template>y</template></category>")
                                   << "!structure@2:53";
    QTest::newRow("two thats") << aiml("<category><pattern>A</pattern><that>B</that><that>C</that>"
                                       "<template>x</template></category>")
                               << "!structure@2:45";
    QTest::newRow("root not aiml") << QByteArray("<bot>\n" + hello + "\n</bot>") << "!structure@1:1";
    QTest::newRow("category as root") << hello << "!structure@1:1";
    QTest::newRow("category in another element") << aiml("<group>" + hello + "</group>") << "!structure@2:8";
    QTest::newRow("category in a category")
        << aiml("<category><pattern>A</pattern>" + cat("B", "x") + "</category>") << "!structure@2:1 !structure@2:31";
    QTest::newRow("category in a template, as AIML 2.0 learns")
        << aiml(cat("A", "<learn>" + cat("B", "x") + "</learn>") + '\n' + cat("B", "<category/>"))
        << "unknown-element@2:48 unknown-element@3:41";

    QTest::newRow("unknown template element") << aiml(cat("A", "x <foo>y</foo>")) << "unknown-element@2:43";

    QTest::newRow("punctuation") << aiml(cat("HELLO!", "x")) << "pattern-syntax@2:11";
    QTest::newRow("punctuation and lower case")
        << aiml(cat("hello!", "x")) << "pattern-syntax@2:11 pattern-syntax@2:11";
    QTest::newRow("letters beyond U+FFFF")
        << aiml(cat("HELLO \xf0\xa0\x80\x80", "x") + '\n' + cat("A", "<srai>hello \xf0\xa0\x80\x80</srai>")) << "";
    QTest::newRow("read again after an XML error, reported once")
        << aiml(cat("hello, x", "hi &")) << "pattern-syntax@2:11 pattern-syntax@2:11 !not-well-formed@2:52";
    QTest::newRow("two wildcards") << aiml(cat("_ * A", "x")) << "pattern-syntax@2:11";
    QTest::newRow("wildcard joined") << aiml(cat("HELLO*", "x")) << "pattern-syntax@2:11";
    QTest::newRow("empty pattern") << aiml(cat("  ", "x")) << "pattern-syntax@2:11";
    QTest::newRow("element in pattern") << aiml(cat("A <get name=\"x\"/>", "x")) << "pattern-syntax@2:11";
    QTest::newRow("punctuation in that") << aiml(
        "<category><pattern>A</pattern><that>YES.</that><template>x</template></category>")
                                         << "pattern-syntax@2:31";

    QTest::newRow("duplicate, blanks and missing that") << aiml(cat("HELLO THERE", "x") + '\n'
        + "<category><pattern> HELLO\tTHERE </pattern><that>*</that><template>y</template></category>")
                                                        << "duplicate@3:1";
    QTest::newRow("same pattern, other topic or that") << aiml(hello + "<topic name=\"T\">" + hello + "</topic>"
        + "<category><pattern>HELLO</pattern><that>HI</that><template>x</template></category>")
                                                       << "";

    QTest::newRow("srai target missing") << aiml(cat("A", "<srai>GOODBYE</srai>")) << "srai-target@2:41";
    QTest::newRow("srai target short of a wildcard")
        << aiml(cat("A _", "x") + '\n' + cat("B", "<srai>a</srai>")) << "srai-target@3:41";
    QTest::newRow("srai with an element is not checked") << aiml(cat("A", "<srai>NOWHERE <star/></srai>")) << "";
    QTest::newRow("srai split at punctuation, as the bot splits it")
        << aiml(cat("WHAT'S UP", "x") + cat("B", "<srai>What s up</srai>")) << "pattern-syntax@2:11";
    QTest::newRow("srai normalised like input")
        << aiml(cat("HELLO THERE", "x") + cat("B", "<srai> Hello,\tthere! </srai>")) << "";

    QTest::newRow("empty template") << aiml(cat("A", "")) << "empty-template@2:31";
    QTest::newRow("blank template") << aiml(cat("A", "   ")) << "empty-template@2:31";
    QTest::newRow("template with a comment only") << aiml(cat("A", "<!-- later -->")) << "empty-template@2:31";
    QTest::newRow("template with an element only") << aiml(cat("A", "<br/>")) << "";
    QTest::newRow("empty srai") << aiml(cat("A", "<srai/>") + '\n' + cat("B", "<srai> </srai><srai>?!</srai>"))
                                << "srai-target@2:41 srai-target@3:41 srai-target@3:55";
}

void TestChecker::problems()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, expected);
    QCOMPARE(summary(checkDocument(document)), expected);
}

void TestChecker::messages()
{
    const std::vector<Problem> problems
        = checkDocument(aiml(cat("HELLO", "<srai>Hello, there</srai>") + '\n' + cat("HELLO", "<foo/>")));
    QCOMPARE(problems.size(), size_t(3));
    QCOMPARE(problems[0].message, QStringLiteral("no category matches the srai target \"HELLO THERE\""));
    QCOMPARE(problems[0].severity, Severity::Warning);
    QCOMPARE(problems[1].message,
        QStringLiteral("duplicate category: same pattern, that and topic as the category on line 2"));
    QCOMPARE(formatProblem(QStringLiteral("a%1.aiml"), problems[2]),
        QStringLiteral("a%1.aiml:3:45: warning: <foo> is not an AIML template element [unknown-element]"));

    // What the document says is quoted without its control characters: a problem is one line.
    const std::vector<Problem> named
        = checkDocument("<?xml version=\"1.0\" encoding=\"x\nerror: \x1b[31m\"?>\n" + aiml(cat("A", "x")));
    QVERIFY(!named.empty());
    QCOMPARE(named[0].message, QStringLiteral("unknown encoding \"x\\x0aerror: \\x1b[31m\""));

    const std::vector<Problem> taught = checkDocument(aiml(cat("A", "<learn>" + cat("B", "x") + "</learn>")));
    QCOMPARE(taught.size(), size_t(1));
    QCOMPARE(taught[0].severity, Severity::Warning);
    QVERIFY(taught[0].message.contains(QStringLiteral("<learn>")));

    const std::vector<Problem> broken = checkDocument("<aiml><category>");
    QCOMPARE(broken.size(), size_t(1));
    QCOMPARE(broken[0].severity, Severity::Error);
    QVERIFY(!broken[0].message.isEmpty());
    QCOMPARE(formatProblem(QStringLiteral("b.aiml"), broken[0]),
        QStringLiteral("b.aiml:1:17: error: %1 [not-well-formed]").arg(broken[0].message));
}

void TestChecker::lowerCaseOnlyWhenPatternsAreUpcased()
{
    const QByteArray document = aiml(cat("Hello", "x"));
    QCOMPARE(summary(checkDocument(document)), QStringLiteral("pattern-syntax@2:11"));
    CheckOptions options;
    options.upcasePatterns = false;
    QCOMPARE(summary(checkDocument(document, options)), QString());
}

void TestChecker::partsAgree_data()
{
    QTest::addColumn<QByteArray>("document");
    const QByteArray aimlTag = "<aiml>\n";
    const QByteArray first = cat("A", "<srai>D</srai><srai>nowhere</srai>") + '\n' + cat("B", "x") + '\n';
    const QByteArray second = cat("A", "y") + '\n' + cat("D!", "<srai>B</srai><foo/>") + '\n' + cat("B", "");
    QTest::newRow("duplicates and srais across the parts") << halves(aimlTag, first, second);
    QTest::newRow("an XML error in the second part") << halves(aimlTag, first, second + cat("E", "&") + cat("A", "z"));
    QTest::newRow("an XML error in the first part") << halves(aimlTag, cat("E", "&") + first, second);
    QTest::newRow("mismatched tag in the second part") << halves(aimlTag, first, second + "<category><pattern>F");
    QTest::newRow("everything in one topic") << halves(aimlTag + "<topic name=\"T\">", first, second + "</topic>");
    QTest::newRow("a category tag in a comment after the middle")
        << halves(aimlTag, first, "<!-- <category> -->" + second);
    QTest::newRow("prefixes and entities of the prolog")
        << halves("<!DOCTYPE aiml [<!ENTITY me \"Vessra\">]>\n<aiml xmlns:html=\"http://www.w3.org/1999/xhtml\">\n",
               first, cat("ME", "&me; <html:b>x</html:b>") + second);
    QTest::newRow("a category as the root") << halves("<category>", first, second + "</category>");
}

void TestChecker::partsAgree()
{
    QFETCH(QByteArray, document);
    QCOMPARE(described(checkInParts(document, true)), described(checkInParts(document, false)));
}

void TestChecker::corpus()
{
    const QDir corpus(QStringLiteral(VORREL_CORPUS_DIR "/free-aiml"));
    const QStringList files = corpus.entryList({ QStringLiteral("*.aiml") }, QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP("corpus not present");
    std::map<QString, int> byCode;
    for (const QString &name : files) {
        const QByteArray bytes = test::readFile(corpus.filePath(name));
        const std::vector<Problem> problems = checkInParts(bytes, false);
        QCOMPARE(described(checkInParts(bytes, true)), described(problems));
        const int lines = int(bytes.count('\n')) + 1;
        for (size_t i = 0; i < problems.size(); ++i) {
            const Problem &p = problems[i];
            ++byCode[p.code];
            // Every file is well-formed and in the encoding it declares, Latin-1 ones included.
            QVERIFY2(p.code != u"not-well-formed" && p.code != u"encoding", qPrintable(formatProblem(name, p)));
            QVERIFY2(p.line >= 1 && p.line <= lines && p.column >= 1, qPrintable(formatProblem(name, p)));
            if (i > 0)
                QVERIFY(std::pair(problems[i - 1].line, problems[i - 1].column) <= std::pair(p.line, p.column));
        }
    }
    QString counts;
    for (const auto &[code, count] : byCode)
        counts += QStringLiteral(" %1 %2").arg(code).arg(count);
    qInfo("%lld files:%s", static_cast<long long>(files.size()), qPrintable(counts));
}

void TestChecker::commandOutput()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("two.aiml"));
    QVERIFY(writeFile(file, aiml(cat("A!", "x") + '\n' + "<category><pattern>B</pattern></category>")));

    const Run all = runCheck({ file });
    QCOMPARE(all.code, kCheckFoundErrors);
    QCOMPARE(all.out,
        file + QStringLiteral(":2:11: warning: punctuation \"!\" in a pattern [pattern-syntax]\n") + file
            + QStringLiteral(":3:1: error: category without <template> [structure]\n"));
    QCOMPARE(all.err, QStringLiteral("1 file, 1 error, 1 warning\n"));

    CheckRequest quiet;
    quiet.errorsOnly = true;
    const Run errorsOnly = runCheck({ file }, quiet);
    QCOMPARE(errorsOnly.code, kCheckFoundErrors);
    QCOMPARE(errorsOnly.out, file + QStringLiteral(":3:1: error: category without <template> [structure]\n"));
    QCOMPARE(errorsOnly.err, QString());
}

// A file large enough to be read in two halves at once gives the problems its bytes give.
void TestChecker::commandReadsLargeFile()
{
    QByteArray body;
    for (int i = 0; body.size() < 5'000'000; ++i) {
        const QByteArray number = QByteArray::number(i);
        body += cat(
            "P" + number + (i % 1000 == 0 ? " \xc3\xbc" : ""), i % 3 == 0 ? "<srai>Q" + number + "</srai>" : "x");
        body += '\n';
    }
    const QByteArray document = aiml(body);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("large.aiml"));
    QVERIFY(writeFile(file, document));
    QString expected;
    const std::vector<Problem> problems = checkDocument(document);
    for (const Problem &p : problems)
        expected += formatProblem(file, p) + QLatin1Char('\n');
    QVERIFY(problems.size() > 20000);
    QCOMPARE(runCheck({ file }).out, expected);
}

// The JSON and SARIF outputs read back, problem by problem, for a file and standard input.
void TestChecker::commandFormats()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a \"b\" %20.aiml"));
    const QByteArray broken = aiml(cat("A!", "x") + '\n' + "<category><pattern>B</pattern></category>");
    const QByteArray piped = aiml(cat("C", "<srai>nowhere</srai>"));
    QVERIFY(writeFile(file, broken));
    const std::vector<std::pair<QString, std::vector<Problem>>> expected { { file, checkDocument(broken) },
        { QStringLiteral("-"), checkDocument(piped) } };

    for (const CheckFormat format : { CheckFormat::Json, CheckFormat::Sarif }) {
        CheckRequest request;
        request.format = format;
        const Run run = runCheck({ file, QStringLiteral("-") }, request, piped);
        QCOMPARE(run.code, kCheckFoundErrors);
        QCOMPARE(run.err, QStringLiteral("2 files, 1 error, 2 warnings\n"));
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(run.out.toUtf8(), &error);
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString() + run.out));
        QJsonArray results = json.array();
        QJsonArray rules;
        if (format == CheckFormat::Sarif) {
            const QJsonObject log = json.object();
            QCOMPARE(log[u"version"].toString(), QStringLiteral("2.1.0"));
            const QJsonObject sarifRun = log[u"runs"].toArray().at(0).toObject();
            QVERIFY(!sarifRun[u"tool"][u"driver"][u"name"].toString().isEmpty());
            QCOMPARE(sarifRun[u"columnKind"].toString(), QStringLiteral("unicodeCodePoints"));
            QCOMPARE(sarifRun[u"invocations"][0][u"executionSuccessful"].toBool(false), true);
            rules = sarifRun[u"tool"][u"driver"][u"rules"].toArray();
            QCOMPARE(rules.size(), problemCodes().size());
            results = sarifRun[u"results"].toArray();
        }
        qsizetype i = 0;
        for (const auto &[name, problems] : expected) {
            for (const Problem &p : problems) {
                QVERIFY(i < results.size());
                const QJsonObject r = results.at(i++).toObject();
                const QString severity
                    = p.severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
                if (format == CheckFormat::Json) {
                    QCOMPARE(r.keys(), QStringList({ "code", "column", "file", "line", "message", "severity" }));
                    QCOMPARE(r[u"file"].toString(), name);
                    QCOMPARE(r[u"line"].toInt(), p.line);
                    QCOMPARE(r[u"column"].toInt(), p.column);
                    QCOMPARE(r[u"severity"].toString(), severity);
                    QCOMPARE(r[u"code"].toString(), p.code);
                    QCOMPARE(r[u"message"].toString(), p.message);
                    continue;
                }
                QCOMPARE(r[u"ruleId"].toString(), p.code);
                QCOMPARE(rules.at(r[u"ruleIndex"].toInt(-1)).toObject()[u"id"].toString(), p.code);
                QVERIFY(
                    !rules.at(r[u"ruleIndex"].toInt()).toObject()[u"shortDescription"][u"text"].toString().isEmpty());
                QCOMPARE(r[u"level"].toString(), severity);
                QCOMPARE(r[u"message"][u"text"].toString(), p.message);
                const QJsonObject location = r[u"locations"][0][u"physicalLocation"].toObject();
                const QUrl uri(location[u"artifactLocation"][u"uri"].toString(), QUrl::StrictMode);
                QVERIFY(uri.isValid());
                QCOMPARE(uri.isLocalFile() ? uri.toLocalFile() : uri.path(), name);
                QCOMPARE(location[u"region"][u"startLine"].toInt(), p.line);
                QCOMPARE(location[u"region"][u"startColumn"].toInt(), p.column);
            }
        }
        QCOMPARE(i, results.size());
    }
}

void TestChecker::commandExitCodes_data()
{
    QTest::addColumn<QByteArrayList>("documents");
    QTest::addColumn<bool>("missingFileToo");
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<int>("code");

    const QByteArray clean = aiml(cat("A", "x"));
    const QByteArray warning = aiml(cat("A", ""));
    const QByteArray error = aiml("<category><template>x</template></category>");
    QTest::newRow("clean") << QByteArrayList { clean, clean } << false << QStringList() << kCheckPassed;
    QTest::newRow("warnings pass") << QByteArrayList { clean, warning } << false << QStringList() << kCheckPassed;
    QTest::newRow("an error in one file")
        << QByteArrayList { error, clean } << false << QStringList() << kCheckFoundErrors;
    QTest::newRow("unreadable wins over errors")
        << QByteArrayList { error } << true << QStringList() << kCheckUnreadable;
    QTest::newRow("a silenced error passes")
        << QByteArrayList { error, warning } << false << QStringList { "structure" } << kCheckPassed;
    QTest::newRow("unreadable alone") << QByteArrayList { clean } << true << QStringList() << kCheckUnreadable;
}

void TestChecker::commandExitCodes()
{
    QFETCH(QByteArrayList, documents);
    QFETCH(bool, missingFileToo);
    QFETCH(QStringList, disabled);
    QFETCH(int, code);
    QTemporaryDir dir;
    QStringList files;
    if (missingFileToo)
        files.append(dir.filePath(QStringLiteral("missing.aiml")));
    for (const QByteArray &document : documents) {
        files.append(dir.filePath(QStringLiteral("%1.aiml").arg(files.size())));
        QVERIFY(writeFile(files.back(), document));
    }
    CheckRequest request;
    request.disabled = disabled;
    const Run run = runCheck(files, request);
    QCOMPARE(run.code, code);
    QCOMPARE(run.err.contains(QStringLiteral("cannot read")), missingFileToo);
    for (const QString &silenced : disabled)
        QVERIFY(!run.out.contains(silenced));
}

void TestChecker::unreadableFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing"
                             << "No such file or directory";
    QTest::newRow("folder") << "folder"
                            << "Is a directory";
    QTest::newRow("link to a folder") << "link"
                                      << "Is a directory";
    QTest::newRow("over 1 GiB") << "huge"
                                << "The file is too large";
#ifdef Q_OS_UNIX
    QTest::newRow("FIFO") << "fifo"
                          << "Not a regular file";
    QTest::newRow("endless device") << "device"
                                    << "Not a regular file";
#endif
}

void TestChecker::unreadableFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString path = dir.filePath(kind);
    if (kind == u"folder") {
        QVERIFY(QDir(dir.path()).mkdir(kind));
    } else if (kind == u"link") {
        QVERIFY(QFile::link(dir.path(), path));
    } else if (kind == u"huge") {
        // Sparse: no disk space, and the size alone refuses it.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(Document::kLargestDocument + 1));
    } else if (kind == u"device") {
        path = QStringLiteral("/dev/zero");
    }
#ifdef Q_OS_UNIX
    if (kind == u"fifo")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    const Run run = runCheck({ path });
    QCOMPARE(run.code, kCheckUnreadable);
    QCOMPARE(run.out, QString());
    QCOMPARE(run.err,
        path + QStringLiteral(": cannot read: ") + reason + QStringLiteral("\n0 files, 0 errors, 0 warnings\n"));
}

void TestChecker::garbageIsAnErrorNotACrash_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("firstError");

    QByteArray random(1 << 20, Qt::Uninitialized);
    QRandomGenerator generator(7);
    generator.fillRange(reinterpret_cast<quint32 *>(random.data()), random.size() / 4);
    QTest::newRow("empty") << QByteArray() << "!not-well-formed@1:1";
    QTest::newRow("random bytes") << random << "!encoding@1:1";
    QTest::newRow("NUL bytes, 40 MB") << QByteArray(40 << 20, '\0') << "!not-well-formed@1:1";
    QTest::newRow("20,000 unclosed categories")
        << aiml(QByteArray("<category><pattern>A</pattern><template>x</template>\n").repeated(20000))
        << "!structure@3:1";
    QTest::newRow("NUL inside a category")
        << aiml(cat("A", QByteArray("x\0y", 3)) + '\n' + cat("A", "z")) << "!not-well-formed@2:42";
}

void TestChecker::garbageIsAnErrorNotACrash()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, firstError);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("garbage.aiml"));
    QVERIFY(writeFile(file, bytes));
    const Run run = runCheck({ file });
    QCOMPARE(run.code, kCheckFoundErrors);
    QVERIFY(run.err.startsWith(QStringLiteral("1 file, ")));
    const std::vector<Problem> problems = checkDocument(bytes);
    const auto error = std::find_if(
        problems.begin(), problems.end(), [](const Problem &p) { return p.severity == Severity::Error; });
    QVERIFY(error != problems.end());
    QCOMPARE(summary({ *error }), firstError);
    QVERIFY(run.out.startsWith(file + QLatin1Char(':')));
}

QTEST_APPLESS_MAIN(TestChecker)

#include "tst_checker.moc"
