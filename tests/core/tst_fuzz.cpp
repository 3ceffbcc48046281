// Bounded fuzzing of the parsers that take whatever a file or a user gives them: a few thousand
// inputs each, mutated from the corpus and from hostile shapes with a fixed seed, checked for
// the properties that hold on any input and for no input taking far longer than the others.
// A failing input is kept in the temporary folder for a closer look.

#include "CountOracle.h"
#include "bot/Interpreter.h"
#include "bot/TableBot.h"
#include "document/AimlReader.h"
#include "document/AimlWriter.h"
#include "document/Checker.h"
#include "document/DocumentText.h"
#include "prefs/IniProfile.h"
#include "prefs/IntText.h"
#include "report/ReportCounts.h"
#include "widgets/CreditsMarkup.h"

#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <array>
#include <climits>
#include <iterator>

using namespace vorrel;
using namespace vorrel::test;

namespace {

// Far above any input here (a few milliseconds at most): only a blow-up fails. Under the
// sanitizers, on a machine busy with other builds, a large corpus document comes near a second.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kSlowMs = 5000;
#else
constexpr qint64 kSlowMs = 1000;
#endif

// Tags and their broken forms, spliced in one by one or in runs.
const char *const kPieces[] = { "<category>", "</category>", "<pattern>", "</pattern>", "<that>", "</that>",
    "<template>", "</template>", "<CATEGORY>", "  <category>", "<category >", "<category/>", "</aiml>", "</AIML>\r\n",
    "\r\n</aiml>\r\n", "<aiml>", "<srai>", "<random>", "<think>", "<li>", "<!-- ", " -->", "<", "</", ">", "\r\n", "\n",
    "\r", "aiml version*", "&", "=", "[Font]", "\xc3\xa9", "\xe9", "\xef\xbb\xbf", "\xf0\x9f\x98\x80" };

// A small document and a settings file, for when the corpus is not there and to mix in.
const char kDocument[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<aiml version=\"1.0\">\r\n"
                         "<category>\r\n<pattern>HELLO *</pattern>\r\n<template>\r\nHi <star/>!\r\n</template>\r\n"
                         "</category>\r\n \r\n<category><pattern>YES</pattern><that>DO YOU</that>"
                         "<template><random><li>Good.</li><li><srai>OK</srai></li></random></template></category>\r\n"
                         "  <category>\r\n    <pattern>X</pattern>\r\n    <template><think>x</think></template>\r\n"
                         "  </category>\r\n</aiml>\r\n";
const char kSettings[] = "; settings\r\n[Font]\r\nName=Courier New\r\nSize=10\r\n\r\n[Preferences]\r\n"
                         "Upcase = 1\r\nLeft=$1F\r\nCaf\xc3\xa9=\xe9t\xe9\r\n[Window]\nTop=-3\rWidth=0x20";

// The position of the first category start tag as Refresh takes it, found another way.
qsizetype firstCategoryOrTopicTag(const QByteArray &text)
{
    static const QRegularExpression tag(
        QStringLiteral("<category[ \\t]*>|<topic[ \\t\\r\\n>]"), QRegularExpression::CaseInsensitiveOption);
    return QString::fromLatin1(text).indexOf(tag);
}

qsizetype categoryTags(const QByteArray &text)
{
    static const QRegularExpression tag(QStringLiteral("<category[ \\t]*>"), QRegularExpression::CaseInsensitiveOption);
    return QString::fromLatin1(text).count(tag);
}

// A line that is "</aiml>" in any letter case; a CR belongs to the line end only before a LF.
bool hasClosingLine(const QByteArray &text)
{
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (i + 1 < lines.size() && line.endsWith('\r'))
            line.chop(1);
        if (line.toLower() == "</aiml>")
            return true;
    }
    return false;
}

QString shown(std::optional<int> value)
{
    return value ? QString::number(*value) : QStringLiteral("no number");
}

// Lines as a settings file has them: ended by CR LF, a lone CR or a lone LF.
QList<QByteArray> settingsLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

bool isSubsequence(const QList<QByteArray> &part, const QList<QByteArray> &whole)
{
    qsizetype at = 0;
    for (const QByteArray &line : whole) {
        if (at < part.size() && line == part[at])
            ++at;
    }
    return at == part.size();
}

QString upcasedAscii(QString text)
{
    for (QChar &c : text) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return text;
}

// Inputs for one test: windows of the seed texts, mutated one to four times.
class Mutator final
{
public:
    Mutator(quint32 seed, QList<QByteArray> seeds) : m_random(seed), m_seeds(std::move(seeds)) { }

    QByteArray next()
    {
        QByteArray input;
        switch (m_random.bounded(8)) {
        case 0: // nothing but bytes
            input = bytes(m_random.bounded(0, 2048));
            break;
        case 1: // one tag over and over: stray closing or unclosed opening tags
            input = QByteArray(piece()).repeated(m_random.bounded(1, 3000));
            break;
        default:
            input = window(pick());
            break;
        }
        const int steps = m_random.bounded(1, 5);
        for (int i = 0; i < steps; ++i)
            mutate(input);
        return input;
    }

    QRandomGenerator &random() { return m_random; }

private:
    const QByteArray &pick() { return m_seeds[m_random.bounded(m_seeds.size())]; }
    const char *piece() { return kPieces[m_random.bounded(int(std::size(kPieces)))]; }
    qsizetype at(const QByteArray &text) { return m_random.bounded(text.size() + 1); }

    QByteArray bytes(qsizetype size)
    {
        QByteArray out(size, Qt::Uninitialized);
        for (char &c : out)
            c = static_cast<char>(m_random.bounded(256));
        return out;
    }

    // Up to 8 KB of a seed, from anywhere in it.
    QByteArray window(const QByteArray &text)
    {
        const qsizetype size = std::min<qsizetype>(text.size(), m_random.bounded(64, 8192));
        return text.mid(m_random.bounded(text.size() - size + 1), size);
    }

    void mutate(QByteArray &text)
    {
        switch (m_random.bounded(12)) {
        case 0: // a few bytes changed
            for (int i = m_random.bounded(1, 9); i > 0 && !text.isEmpty(); --i)
                text[m_random.bounded(text.size())] = static_cast<char>(m_random.bounded(256));
            break;
        case 1:
            text.insert(at(text), piece());
            break;
        case 2: // a run of one tag
            text.insert(at(text), QByteArray(piece()).repeated(m_random.bounded(2, 300)));
            break;
        case 3: {
            const qsizetype from = at(text);
            text.remove(from, m_random.bounded(0, 512));
            break;
        }
        case 4: { // a stretch repeated
            const qsizetype from = at(text);
            const QByteArray stretch = text.mid(from, m_random.bounded(1, 512));
            text.insert(at(text), stretch.repeated(m_random.bounded(1, 4)));
            break;
        }
        case 5: { // the start of this and the end of another
            const QByteArray other = window(pick());
            text = text.first(at(text)) + other.sliced(m_random.bounded(other.size() + 1));
            break;
        }
        case 6:
            text.truncate(at(text));
            break;
        case 7:
            text.insert(at(text), QByteArray(m_random.bounded(1, 16), '\0'));
            break;
        case 8: // one long line
            text.insert(
                at(text), QByteArray(m_random.bounded(1000, 40000), static_cast<char>(m_random.bounded(32, 127))));
            break;
        case 9: { // cut inside a tag
            const qsizetype open = text.indexOf('<', at(text));
            if (open >= 0)
                text.truncate(open + m_random.bounded(1, 9));
            break;
        }
        case 10: // other line ends
            text.replace("\r\n", m_random.bounded(2) ? QByteArray("\n") : QByteArray("\r"));
            break;
        default: { // letter case flipped in a stretch
            const qsizetype from = at(text);
            const qsizetype to = std::min(text.size(), from + m_random.bounded(1, 64));
            for (qsizetype i = from; i < to; ++i) {
                if ((text[i] >= 'a' && text[i] <= 'z') || (text[i] >= 'A' && text[i] <= 'Z'))
                    text[i] = static_cast<char>(text[i] ^ 0x20);
            }
            break;
        }
        }
    }

    QRandomGenerator m_random;
    QList<QByteArray> m_seeds;
};

// Where a failing input goes, so that it can be run again by hand.
void keep(const char *test, const QByteArray &input)
{
    const QString fileName = QDir::temp().filePath(QStringLiteral("vorrel-fuzz-%1.bin").arg(QLatin1String(test)));
    if (test::writeFile(fileName, input))
        qWarning("failing input kept in %s", qPrintable(fileName));
}

} // namespace

class TestFuzz final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reader();
    void refresh();
    void iniProfile();
    void wholeNumbers();
    void reportCounts();
    void creditsMarkup();
    void checker();
    void interpreter();

private:
    void checkReader(const QByteArray &input, bool upcase);
    void checkRefresh(const QByteArray &input);
    void checkIniProfile(const QByteArray &input, QRandomGenerator &random);
    void checkReport(const QByteArray &input, TextEncoding encoding);
    void checkCreditLine(const QString &line, QRandomGenerator &random);

    QList<QByteArray> m_documents;
};

void TestFuzz::initTestCase()
{
    const QDir corpus(QStringLiteral(VORREL_CORPUS_DIR "/free-aiml"));
    for (const QString &name : corpus.entryList({ QStringLiteral("*.aiml") }, QDir::Files, QDir::Name))
        m_documents.append(test::readFile(corpus.filePath(name)));
    if (m_documents.isEmpty())
        qInfo("corpus not present: mutating the built-in document only");
    m_documents.append(kDocument);
}

void TestFuzz::checkReader(const QByteArray &input, bool upcase)
{
    ReadOptions options;
    options.upcase = upcase;
    options.encoding = TextEncoding::Latin1;
    options.firstLabel = QStringLiteral("R");
    QElapsedTimer clock;
    clock.start();
    const CategoryRows rows = readCategories(input, options);
    QVERIFY2(clock.elapsed() < kSlowMs, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));

    // Row 1 keeps its label; every pattern opens the next row, which the last one leaves empty.
    QVERIFY(!rows.empty());
    QCOMPARE(rows.text(0, LabelColumn), options.firstLabel);
    for (qsizetype r = 1; r < rows.size(); ++r)
        QCOMPARE(rows.text(r, LabelColumn), QString::number(r + 1));
    QVERIFY(rows.text(rows.size() - 1, PatternColumn).isEmpty());
    QVERIFY(rows.size() - 1 <= Hits(input, "</pattern>"));

    // Folding touches the patterns' a to z only; pairing does not depend on the encoding.
    options.upcase = !upcase;
    const CategoryRows other = readCategories(input, options);
    QCOMPARE(other.size(), rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        QCOMPARE(upcasedAscii(other.text(r, PatternColumn)), upcasedAscii(rows.text(r, PatternColumn)));
        QCOMPARE(other.text(r, ThatColumn), rows.text(r, ThatColumn));
        QCOMPARE(other.text(r, TemplateColumn), rows.text(r, TemplateColumn));
    }
    options.encoding = TextEncoding::Utf8;
    QCOMPARE(readCategories(input, options).size(), rows.size());
}

void TestFuzz::reader()
{
    Mutator inputs(0x5eed0001, m_documents);
    for (int i = 0; i < 3000; ++i) {
        const QByteArray input = inputs.next();
        checkReader(input, i % 2 == 0);
        if (QTest::currentTestFailed())
            return keep("reader", input);
    }
}

void TestFuzz::checkRefresh(const QByteArray &input)
{
    ReadOptions options;
    options.upcase = false;
    options.encoding = isValidUtf8(input) ? TextEncoding::Utf8 : TextEncoding::Latin1;
    const CategoryRows rows = readCategories(input, options);
    QElapsedTimer clock;
    clock.start();
    const RefreshResult result = refreshText(rows, input, options.encoding);
    QVERIFY2(clock.elapsed() < kSlowMs, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));

    const qsizetype tag = firstCategoryOrTopicTag(input);
    if (tag < 0 && !hasClosingLine(input)) {
        QVERIFY(!result.ok);
        QCOMPARE(result.errorString, QStringLiteral("List index out of bounds (-1)"));
        QVERIFY(result.text.isEmpty());
        return;
    }
    QVERIFY(result.ok);
    // New lines end as the input's first line does.
    const QByteArray eol = lineEndBytes(lineEndOf(input)).toByteArray();
    const QByteArray closing = "</aiml>" + eol;
    QVERIFY(result.text.endsWith(closing));

    // The categories follow once each: no old one is left in the header.
    const RefreshResult body = refreshText(rows, closing, options.encoding);
    QVERIFY(result.text.endsWith(body.text));
    // The bytes before the tag's line stay, and those before the tag on its line unless they
    // are only spaces and tabs.
    if (tag >= 0) {
        const qsizetype lineStart = input.lastIndexOf('\n', tag) + 1;
        const QByteArray before = input.sliced(lineStart, tag - lineStart);
        if (QByteArray(before).replace(' ', "").replace('\t', "").isEmpty())
            QCOMPARE(result.text, input.first(lineStart) + body.text);
        else
            QCOMPARE(result.text, input.first(tag) + eol + body.text);
    }
    QCOMPARE(categoryTags(result.text), categoryTags(body.text));

    QCOMPARE(refreshText(rows, result.text, options.encoding).text, result.text);
}

void TestFuzz::refresh()
{
    Mutator inputs(0x5eed0002, m_documents);
    for (int i = 0; i < 2000; ++i) {
        const QByteArray input = inputs.next();
        checkRefresh(input);
        if (QTest::currentTestFailed())
            return keep("refresh", input);
    }
}

void TestFuzz::checkIniProfile(const QByteArray &input, QRandomGenerator &random)
{
    QElapsedTimer clock;
    clock.start();
    IniProfile profile = IniProfile::fromBytes(input);
    const QByteArray unchanged = profile.toBytes();
    QVERIFY2(clock.elapsed() < kSlowMs, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));

    // Nothing written: every byte back as it was, line ends included.
    const QList<QByteArray> lines = settingsLines(input);
    QCOMPARE(unchanged, input);

    const QString sections[]
        = { QStringLiteral("Font"), QStringLiteral("preferences"), QStringLiteral("Window"), QStringLiteral("New") };
    const QString keys[] = { QStringLiteral("Size"), QStringLiteral("name"), QStringLiteral("Upcase"),
        QStringLiteral("Left"), QStringLiteral("Width"), QStringLiteral("K%1").arg(random.bounded(100)) };
    const QString section = sections[random.bounded(int(std::size(sections)))];
    const QString key = keys[random.bounded(int(std::size(keys)))];
    const QString missing = QStringLiteral("\x01missing");
    const bool existed = profile.readString(section, key, missing) != missing;
    (void)profile.readInteger(section, key, 0);
    (void)profile.readBool(section, key, true);

    // A line break never goes in.
    QVERIFY(!profile.writeString(section, key, QStringLiteral("a\nb")));
    QCOMPARE(profile.toBytes(), unchanged);

    const int number = static_cast<int>(random.generate());
    QVERIFY(profile.writeString(section, key, QString::number(number)));
    QCOMPARE(profile.readInteger(section, key, number ^ 1), number);
    QCOMPARE(profile.readString(section, key, missing), QString::number(number));

    // Lines not written come back byte for byte: one replaced, or one or two added.
    const QByteArray written = profile.toBytes();
    const QList<QByteArray> after = settingsLines(written);
    if (existed) {
        QCOMPARE(after.size(), lines.size());
        qsizetype changed = 0;
        for (qsizetype i = 0; i < lines.size(); ++i)
            changed += after[i] != lines[i];
        QVERIFY(changed <= 1);
    } else {
        QVERIFY(after.size() == lines.size() + 1 || after.size() == lines.size() + 2);
        QVERIFY(isSubsequence(lines, after));
    }
}

void TestFuzz::iniProfile()
{
    Mutator inputs(0x5eed0003, { kSettings, kSettings, kDocument });
    for (int i = 0; i < 3000; ++i) {
        const QByteArray input = inputs.next();
        checkIniProfile(input, inputs.random());
        if (QTest::currentTestFailed())
            return keep("ini", input);
    }
}

void TestFuzz::wholeNumbers()
{
    QRandomGenerator random(0x5eed0004);
    const QString alphabet = QStringLiteral(u" \t+-$xX0123456789abcdefABCDEFg\u00e9\u0660");
    for (int i = 0; i < 20000; ++i) {
        const int n = i < 4 ? std::array { INT_MIN, INT_MAX, 0, -1 }[i] : static_cast<int>(random.generate());
        const QString decimal = QString::number(n);
        QCOMPARE(shown(strToInt(decimal)), decimal);
        QCOMPARE(shown(strToInt(QString(random.bounded(1, 4), u' ') + decimal)), decimal);
        QCOMPARE(shown(strToInt(QStringLiteral("$") + QString::number(static_cast<quint32>(n), 16))), decimal);
        if (n >= 0) {
            QCOMPARE(shown(strToInt(QStringLiteral("+") + decimal)), decimal);
            QCOMPARE(shown(strToInt(QStringLiteral("0x") + QString::number(n, 16).toUpper())), decimal);
        }
        QCOMPARE(shown(strToInt(decimal + QLatin1Char('g'))), shown(std::nullopt));
        QCOMPARE(shown(strToInt(QString::number(qint64(INT_MAX) + 1 + random.bounded(1000)))), shown(std::nullopt));

        // Arbitrary text: an answer keeps through leading blanks and goes with a trailing letter.
        QString text;
        for (int k = random.bounded(0, 14); k > 0; --k)
            text += alphabet[random.bounded(alphabet.size())];
        QElapsedTimer clock;
        clock.start();
        const std::optional<int> value = strToInt(text);
        QVERIFY(clock.elapsed() < kSlowMs);
        if (value) {
            QCOMPARE(shown(strToInt(QLatin1Char(' ') + text)), shown(value));
            QCOMPARE(shown(strToInt(text + QLatin1Char('g'))), shown(std::nullopt));
        }
    }
    // One long line of digits and blanks.
    QCOMPARE(shown(strToInt(QString(100000, u' ') + QString(100000, u'9'))), shown(std::nullopt));
}

void TestFuzz::checkReport(const QByteArray &input, TextEncoding encoding)
{
    QElapsedTimer clock;
    clock.start();
    const ReportFigures f = computeReport(input, encoding);
    QVERIFY2(clock.elapsed() < kSlowMs, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));

    QVERIFY(f.words >= 0 && f.characters >= 0 && f.categories >= 0 && f.randoms >= 0 && f.srais >= 0 && f.thinks >= 0);
    QVERIFY(f.version.startsWith(QStringLiteral("AIML ")));
    // The one-pass figures against the plain counts.
    QCOMPARE(f.words, countWords(input));
    QCOMPARE(f.categories, countTag(input, "<category>", 12));
    QCOMPARE(f.randoms, countTag(input, "<random>", 8));
    QCOMPARE(f.srais, countTag(input, "<srai>", 6));
    QCOMPARE(f.thinks, countTag(input, "<think>", 7));

    // Characters as decoded, line ends as many as they hold.
    const bool utf8 = encoding == TextEncoding::Utf8;
    if (utf8 && !isValidUtf8(input))
        return;
    QCOMPARE(f.characters, decodeText(input, utf8 ? TextEncoding::Utf8 : TextEncoding::Latin1).toUcs4().size());
}

void TestFuzz::reportCounts()
{
    Mutator inputs(0x5eed0005, m_documents);
    for (int i = 0; i < 3000; ++i) {
        const QByteArray input = inputs.next();
        checkReport(input, TextEncoding::Latin1);
        if (!QTest::currentTestFailed())
            checkReport(input, TextEncoding::Utf8);
        if (QTest::currentTestFailed())
            return keep("report", input);
    }
}

void TestFuzz::checkCreditLine(const QString &line, QRandomGenerator &random)
{
    const TColor font = rgbColor(random.bounded(256), random.bounded(256), random.bounded(256));
    QElapsedTimer clock;
    clock.start();
    const CreditLine parsed = parseCreditLine(line, font);
    QVERIFY(clock.elapsed() < kSlowMs);
    QVERIFY(parsed.text.size() <= line.size());
    if (!line.contains(u'&')) {
        QCOMPARE(parsed.text, line);
        QCOMPARE(parsed.color, font);
        QVERIFY(!parsed.bold && !parsed.italic && !parsed.underline);
    }

    // Any text comes back through "&&", with nothing switched on.
    const CreditLine escaped = parseCreditLine(QString(line).replace(u'&', QStringLiteral("&&")), font);
    QCOMPARE(escaped.text, line);
    QCOMPARE(escaped.color, font);
    QVERIFY(!escaped.bold && !escaped.italic && !escaped.underline);

    // A colour and styles before it: the text stays, the line takes the colour.
    const int r = random.bounded(256);
    const int g = random.bounded(256);
    const int b = random.bounded(256);
    const QString spec = QStringLiteral(" %1,%2 ,\t%3").arg(r).arg(g).arg(b);
    const CreditLine coloured = parseCreditLine(
        QStringLiteral("&b&c") + spec + u';' + QString(line).replace(u'&', QStringLiteral("&&")) + QStringLiteral("&i"),
        font);
    QCOMPARE(coloured.text, line);
    QCOMPARE(coloured.color, rgbColor(r, g, b));
    QVERIFY(coloured.bold && coloured.italic && !coloured.underline);

    // Blanks around a whole colour setting change nothing, whatever the setting.
    const QString tail = line.sliced(random.bounded(line.size() + 1));
    QVERIFY(parseCreditColor(QStringLiteral(" ") + tail + QStringLiteral("\t")) == parseCreditColor(tail));
}

void TestFuzz::creditsMarkup()
{
    QRandomGenerator random(0x5eed0006);
    const QString seeds[] = { QStringLiteral("&c255,0,0;&b&uAIML Vorrel"), QStringLiteral("&u&c0,255,255;Website"),
        QStringLiteral("Plain text & more"), QStringLiteral("12, 34 ,56"), QString() };
    const QString codes[] = { QStringLiteral("&"), QStringLiteral("&&"), QStringLiteral("&b"), QStringLiteral("&I"),
        QStringLiteral("&c"), QStringLiteral("&C1,2,3;"), QStringLiteral("&c999,0,0;"), QStringLiteral(";"),
        QStringLiteral(","), QStringLiteral(" "), QStringLiteral("\t"), QStringLiteral("256"), QStringLiteral("0"),
        QStringLiteral(u"\u00e9"), QString(QChar(0xd800)), QString(QChar(0)), QStringLiteral("&x") };
    for (int i = 0; i < 5000; ++i) {
        QString line = seeds[random.bounded(int(std::size(seeds)))];
        for (int k = random.bounded(0, 12); k > 0; --k) {
            const qsizetype at = random.bounded(line.size() + 1);
            switch (random.bounded(4)) {
            case 0:
                line.insert(at, codes[random.bounded(int(std::size(codes)))]);
                break;
            case 1:
                line.insert(at, QChar(static_cast<char16_t>(random.bounded(0x10000))));
                break;
            case 2:
                line.remove(at, random.bounded(1, 8));
                break;
            default:
                line.insert(at, QString(random.bounded(1, 2000), QChar(u'0' + random.bounded(10))));
                break;
            }
        }
        checkCreditLine(line, random);
        if (QTest::currentTestFailed())
            return keep("credits", line.toUtf8());
    }
}

void TestFuzz::checker()
{
    Mutator inputs(0x5eed0007, m_documents);
    for (int i = 0; i < 1500; ++i) {
        const QByteArray input = inputs.next();
        QElapsedTimer clock;
        clock.start();
        // Every third input is read in two parts at once.
        CheckOptions options;
        options.upcasePatterns = i % 2 == 0;
        options.parallelFrom = i % 3 == 0 ? 0 : -1;
        const std::vector<Problem> problems = checkDocument(input, options);
        QVERIFY2(clock.elapsed() < kSlowMs, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
        // Every problem points into the document, in order, with a code and a message. A lone CR
        // ends a line too, as in XML and in the preview.
        const qsizetype lines = input.count('\n') + input.count('\r') - input.count("\r\n") + 1;
        int line = 0;
        int column = 0;
        for (const Problem &p : problems) {
            QVERIFY(p.line >= 1 && p.line <= lines && p.column >= 1);
            QVERIFY(p.line > line || (p.line == line && p.column >= column));
            QVERIFY(!p.code.isEmpty() && !p.message.isEmpty());
            line = p.line;
            column = p.column;
        }
        if (QTest::currentTestFailed())
            return keep("checker", input);
    }
}

void TestFuzz::interpreter()
{
    // Tables read from mutated documents, asked what their own patterns and some junk say.
    Mutator inputs(0x5eed0008, m_documents);
    Interpreter bot;
    bot.seed(8);
    for (int i = 0; i < 300; ++i) {
        const QByteArray input = inputs.next();
        ReadOptions options;
        options.encoding = isValidUtf8(input) ? TextEncoding::Utf8 : TextEncoding::Latin1;
        std::vector<BotCategory> rows = botCategories(readCategories(input, options));
        QStringList said;
        for (size_t r = 0; r < rows.size() && said.size() < 6; r += 1 + rows.size() / 6)
            said.append(QString(rows[r].pattern).replace(QLatin1Char('*'), QStringLiteral("x y")));
        said.append(QString::fromLatin1(input.left(200)));
        const int count = static_cast<int>(rows.size());
        bot.setCategories(std::move(rows));
        for (const QString &sentence : said) {
            QElapsedTimer clock;
            clock.start();
            const BotAnswer answer = bot.respond(sentence);
            QVERIFY2(clock.elapsed() < kSlowMs, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
            QVERIFY(answer.row == -1 || (answer.row >= 1 && answer.row <= count));
            // Each sentence's reply is cut at the limit; the replies are joined by blanks.
            const qsizetype sentences = sentence.count(QRegularExpression(QStringLiteral("[.!?;]"))) + 1;
            QVERIFY(answer.text.size() <= sentences * (Interpreter::kMaxTemplateOutput + 1));
        }
        if (QTest::currentTestFailed())
            return keep("interpreter", input);
    }
}

QTEST_APPLESS_MAIN(TestFuzz)
#include "tst_fuzz.moc"
