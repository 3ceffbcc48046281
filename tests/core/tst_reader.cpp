#include "document/AimlReader.h"
#include "document/DocumentText.h"

#include "TableRows.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

#include <string>

using namespace vorrel;

using Rows = QList<QStringList>;

namespace {

// Expected table: the given [pattern, that, template] rows labelled from "1", then the
// empty row that reading always leaves after the last pattern.
Rows table(std::initializer_list<QStringList> filled, bool emptyRowAfter = true)
{
    Rows rows;
    for (const QStringList &r : filled)
        rows.append(QStringList { QString::number(rows.size() + 1), r.value(0), r.value(1), r.value(2) });
    if (emptyRowAfter)
        rows.append(QStringList { QString::number(rows.size() + 1), QString(), QString(), QString() });
    return rows;
}

Rows toRows(const CategoryRows &rows)
{
    return test::textsOf(rows);
}

// The passes written out plainly with std::string, every search from scratch, to hold the
// reader to on arbitrary input: templates paired by depth, the tags inside them left alone,
// each category's topic that of the last topic tag before it. Leading texts are not compared.
Rows referenceRead(const QByteArray &bytes, bool upcase, bool utf8 = false)
{
    const std::string text = bytes.toStdString();
    const auto npos = std::string::npos;
    auto cut = [&](size_t from, size_t to) { return to > from ? text.substr(from, to - from) : std::string(); };
    auto cell = [utf8](const std::string &s) {
        return decodeText(QByteArrayView(s.data(), static_cast<qsizetype>(s.size())),
            utf8 ? TextEncoding::Utf8 : TextEncoding::Latin1);
    };
    // Template pairs; those paired by depth hide what lies inside them.
    std::vector<std::pair<size_t, size_t>> templates;
    std::vector<std::pair<size_t, size_t>> hidden;
    for (size_t s = 0;;) {
        const size_t b = text.find("<template>", s);
        size_t e = text.find("</template>", s + 1);
        if (b == npos || e == npos)
            break;
        if (e > b) {
            size_t depth = 1;
            size_t at = b + 10;
            for (;;) {
                const size_t open = text.find("<template>", at);
                const size_t close = text.find("</template>", at);
                if (close == npos)
                    break;
                depth += open < close ? 1 : -1;
                at = open < close ? open + 10 : close + 11;
                if (depth == 0) {
                    e = close;
                    hidden.push_back({ b, e });
                    break;
                }
            }
        }
        templates.push_back({ b, e });
        s = e + 11;
    }
    auto find = [&](const std::string &tag, size_t from) {
        for (size_t at = text.find(tag, from); at != npos; at = text.find(tag, at + 1)) {
            if (std::none_of(hidden.begin(), hidden.end(), [at](auto h) { return at > h.first && at < h.second; }))
                return at;
        }
        return npos;
    };
    std::vector<std::array<std::string, 4>> cells(1);
    size_t s = 0;
    for (;;) {
        const size_t b = find("<pattern>", s);
        if (b == npos)
            break;
        const size_t e = find("</pattern>", s + 1);
        if (e == npos)
            break;
        std::string p = cut(b + 9, e);
        if (upcase) {
            for (char &c : p)
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 32);
        }
        cells.back()[0] = p;
        cells.emplace_back();
        s = e + 10;
    }
    size_t row = 0;
    s = 0;
    for (;;) {
        const size_t c = find("<category>", s);
        if (c == npos)
            break;
        const size_t d = find("</category>", s);
        if (d == npos)
            break;
        size_t topic = npos;
        for (size_t at = find("<topic name=\"", 0); at < c; at = find("<topic name=\"", at + 1))
            topic = at;
        size_t closed = npos;
        for (size_t at = find("</topic>", 0); at < c; at = find("</topic>", at + 1))
            closed = at;
        if (row < cells.size() && topic != npos && (closed == npos || closed < topic))
            cells[row][3] = cut(topic + 13, text.find('"', topic + 13));
        const size_t t = find("<that>", c);
        if (t != npos && t + 6 <= d && d > c) {
            const size_t u = find("</that>", c);
            if (u == npos || u + 7 > d)
                break;
            if (row < cells.size())
                cells[row][1] = cut(t + 6, u);
        }
        ++row;
        s = d + 5;
    }
    row = 0;
    for (const auto &[b, e] : templates) {
        std::string t = cut(b + 10, e);
        while (!t.empty() && static_cast<unsigned char>(t.front()) <= 32)
            t.erase(t.begin());
        while (!t.empty() && static_cast<unsigned char>(t.back()) <= 32)
            t.pop_back();
        if (row < cells.size())
            cells[row][2] = t;
        ++row;
    }
    Rows out;
    for (const auto &r : cells) {
        out.append(QStringList { QString::number(out.size() + 1), cell(r[0]), cell(r[1]), cell(r[2]), cell(r[3]) });
        if (out.back().back().isEmpty())
            out.back().removeLast();
    }
    return out;
}

} // namespace

class TestReader final : public QObject
{
    Q_OBJECT

private slots:
    void hits_data();
    void hits();
    void hasThat_data();
    void hasThat();
    void read_data();
    void read();
    void firstLabelSurvivesTheReset();
    void encodings_data();
    void encodings();
    void progressReportsEveryPass();
    void randomBytesMatchThePlainReading_data();
    void randomBytesMatchThePlainReading();
    void hostileTextMatchesThePlainReading_data();
    void hostileTextMatchesThePlainReading();
    void strayTagsStayLinear_data();
    void strayTagsStayLinear();
};

void TestReader::hits_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("what");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty text") << QByteArray() << QByteArray("<category>") << 0;
    QTest::newRow("none") << QByteArray("<pattern>HI</pattern>") << QByteArray("<category>") << 0;
    QTest::newRow("two") << QByteArray("<category>x</category><category>") << QByteArray("<category>") << 2;
    QTest::newRow("case counts") << QByteArray("<CATEGORY><Category>") << QByteArray("<category>") << 0;
    QTest::newRow("not overlapping") << QByteArray("aaaaa") << QByteArray("aa") << 2;
    QTest::newRow("at the very end") << QByteArray("xx<that>") << QByteArray("<that>") << 1;
    QTest::newRow("inside words") << QByteArray("a<category>b<category>c") << QByteArray("<category>") << 2;
    QTest::newRow("empty search") << QByteArray("abc") << QByteArray() << 0;
    QTest::newRow("longer than text") << QByteArray("<cat") << QByteArray("<category>") << 0;
}

void TestReader::hits()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, what);
    QFETCH(int, expected);
    QCOMPARE(Hits(text, what), expected);
}

void TestReader::hasThat_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("expected");

    QTest::newRow("plain") << QByteArray("<category><that>X</that>") << true;
    QTest::newRow("opening only") << QByteArray("<that>") << true;
    QTest::newRow("closing only") << QByteArray("</that>") << false;
    QTest::newRow("upper case") << QByteArray("<THAT>X</THAT>") << false;
    QTest::newRow("self-closing") << QByteArray("<that/>") << false;
    QTest::newRow("with attribute") << QByteArray("<that index=\"1\">") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestReader::hasThat()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, expected);
    QCOMPARE(HasThat(text), expected);
}

void TestReader::read_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("upcase");
    QTest::addColumn<Rows>("expected");

    const QByteArray three = "<aiml>\r\n"
                             "<category>\r\n<pattern>ONE</pattern>\r\n<template>First</template>\r\n</category>\r\n"
                             "<category>\r\n<pattern>TWO</pattern>\r\n<that>FIRST</that>\r\n"
                             "<template>Second</template>\r\n</category>\r\n"
                             "<category>\r\n<pattern>THREE</pattern>\r\n<template>Third</template>\r\n</category>\r\n"
                             "</aiml>\r\n";
    QTest::newRow("three categories, one that")
        << three << true << table({ { "ONE", "", "First" }, { "TWO", "FIRST", "Second" }, { "THREE", "", "Third" } });

    const QByteArray lower = "<category><pattern>hello world</pattern><template>x</template></category>";
    QTest::newRow("upcase ticked") << lower << true << table({ { "HELLO WORLD", "", "x" } });
    QTest::newRow("upcase cleared") << lower << false << table({ { "hello world", "", "x" } });
    QTest::newRow("pattern spaces kept") << QByteArray("<pattern>  hi there </pattern><template>x</template>") << false
                                         << table({ { "  hi there ", "", "x" } });
    QTest::newRow("upcase only ascii letters")
        << QByteArray("<pattern>a1_z{}`~@[</pattern>") << true << table({ { "A1_Z{}`~@[", "", "" } });

    QTest::newRow("template trimmed") << QByteArray("<pattern>A</pattern><template>\r\n  Hi there\r\n</template>")
                                      << true << table({ { "A", "", "Hi there" } });
    QTest::newRow("template controls trimmed")
        << QByteArray("<pattern>A</pattern><template>\t\x01\x1f Hi \x7f\x0b\x20</template>") << true
        << table({ { "A", "", "Hi \x7f" } });
    QTest::newRow("two-line template") << QByteArray(
        "<pattern>A</pattern><template>\r\n  Line one\r\n  Line two\r\n</template>")
                                       << true << table({ { "A", "", "Line one\r\n  Line two" } });
    QTest::newRow("that not trimmed, not upcased")
        << QByteArray("<category><pattern>a</pattern><that> yes </that><template>t</template></category>") << true
        << table({ { "A", " yes ", "t" } });
    QTest::newRow("inner markup kept") << QByteArray(
        "<pattern>A</pattern><template><srai>B <star/></srai> &amp;</template>")
                                       << true << table({ { "A", "", "<srai>B <star/></srai> &amp;" } });

    QTest::newRow("pattern in a comment shifts patterns")
        << QByteArray("<!-- <pattern>OLD</pattern> -->\r\n"
                      "<category><pattern>ONE</pattern><template>1</template></category>\r\n"
                      "<category><pattern>TWO</pattern><template>2</template></category>\r\n")
        << true << table({ { "OLD", "", "1" }, { "ONE", "", "2" }, { "TWO", "", "" } });
    QTest::newRow("category without pattern shifts patterns")
        << QByteArray("<category><template>1</template></category>"
                      "<category><pattern>TWO</pattern><template>2</template></category>")
        << true << table({ { "TWO", "", "1" }, { "", "", "2" } }, false);

    QTest::newRow("upper-case tags") << QByteArray(
        "<CATEGORY><PATTERN>A</PATTERN><THAT>B</THAT><TEMPLATE>C</TEMPLATE></CATEGORY>")
                                     << true << table({});
    QTest::newRow("tags with attributes or spaces")
        << QByteArray("<category ><pattern x=\"1\">A</pattern><template >C</template></category>") << true << table({});
    QTest::newRow("empty text") << QByteArray() << true << table({});
    QTest::newRow("no tags") << QByteArray("just some words\r\n") << true << table({});
    QTest::newRow("empty cells") << QByteArray("<category><pattern></pattern><template></template></category>") << true
                                 << table({ { "", "", "" } });

    // The closing tag is looked for from one past the search start.
    QTest::newRow("closing pattern at the start is skipped")
        << QByteArray("</pattern><pattern>X</pattern>") << true << table({ { "X", "", "" } });
    QTest::newRow("closing template at the start is skipped")
        << QByteArray("</template><template>T</template><pattern>A</pattern>") << true << table({ { "A", "", "T" } });
    QTest::newRow("stray closing pattern gives an empty cell")
        << QByteArray("x</pattern><pattern>A</pattern><template>1</template>") << true
        << table({ { "", "", "1" }, { "A", "", "" } });
    QTest::newRow("stray closing template gives an empty cell")
        << QByteArray("<pattern>A</pattern><pattern>B</pattern>x</template><template>1</template>") << true
        << table({ { "A", "", "" }, { "B", "", "1" } });
    QTest::newRow("stray closing category gives no that")
        << QByteArray("<pattern>A</pattern><pattern>B</pattern></category><category><that>T</that></category>") << true
        << table({ { "A", "", "" }, { "B", "T", "" } });
    QTest::newRow("closing that before opening gives an empty that")
        << QByteArray("<pattern>A</pattern><pattern>B</pattern>"
                      "<category></that><that>X</category><category><that>Y</that></category>")
        << true << table({ { "A", "", "" }, { "B", "Y", "" } });

    QTest::newRow("unclosed pattern ends the pattern pass")
        << QByteArray("<pattern>A</pattern><template>1</template><pattern>B<template>2</template>") << true
        << table({ { "A", "", "1" }, { "", "", "2" } }, false);
    QTest::newRow("template runs to the first closing tag")
        << QByteArray("<pattern>A</pattern><template>1<pattern>B</pattern><template>2</template>") << true
        << table({ { "A", "", "1<pattern>B</pattern><template>2" }, { "B", "", "" } });
    QTest::newRow("unclosed template ends the template pass")
        << QByteArray("<pattern>A</pattern><pattern>B</pattern><template>1</template><template>2") << true
        << table({ { "A", "", "1" }, { "B", "", "" } });
    QTest::newRow("nested category reads the first that") << QByteArray(
        "<pattern>A</pattern><pattern>B</pattern><category><that>X</that>"
        "<category><that>Y</that></category>") << true << table({ { "A", "X", "" }, { "B", "", "" } });
    QTest::newRow("category left open at the end")
        << QByteArray("<pattern>A</pattern><category><that>X</that>") << true << table({ { "A", "", "" } });
    QTest::newRow("unclosed that ends the that pass") << QByteArray(
        "<pattern>A</pattern><pattern>B</pattern><pattern>C</pattern>"
        "<category><that>X</that></category><category><that>Y</category>"
        "<category><that>Z</that></category>") << true << table({ { "A", "X", "" }, { "B", "", "" }, { "C", "", "" } });

    QTest::newRow("that outside its category is not read")
        << QByteArray("<pattern>A</pattern><pattern>B</pattern>"
                      "<category></category><that>OUT</that><category></category>")
        << true << table({ { "A", "", "" }, { "B", "", "" } });
    QTest::newRow("self-closing that in a template does not count")
        << QByteArray("<category><pattern>A</pattern><template><that/></template></category>") << true
        << table({ { "A", "", "<that/>" } });
    QTest::newRow("more templates than rows are dropped")
        << QByteArray("<pattern>A</pattern><template>1</template><template>2</template><template>3</template>") << true
        << table({ { "A", "", "1" }, { "", "", "2" } }, false);
    QTest::newRow("more categories than rows are dropped") << QByteArray(
        "<category><that>1</that></category><category><that>2</that></category>"
        "<category><that>3</that></category>") << true << table({ { "", "1", "" } }, false);
    QTest::newRow("multi-line pattern kept")
        << QByteArray("<pattern>A\r\nB</pattern>") << true << table({ { "A\r\nB", "", "" } });
}

void TestReader::read()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, upcase);
    QFETCH(Rows, expected);
    ReadOptions options;
    options.upcase = upcase;
    options.encoding = TextEncoding::Utf8;
    QCOMPARE(toRows(readCategories(text, options)), expected);
}

void TestReader::firstLabelSurvivesTheReset()
{
    ReadOptions options;
    options.firstLabel = QStringLiteral("7");
    const Rows rows = toRows(readCategories("<pattern>A</pattern><pattern>B</pattern>", options));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0][0], QStringLiteral("7"));
    QCOMPARE(rows[1][0], QStringLiteral("2"));
    QCOMPARE(rows[2][0], QStringLiteral("3"));
}

void TestReader::encodings_data()
{
    QTest::addColumn<QByteArray>("cellBytes");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<bool>("upcase");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("utf-8 accents keep their case")
        << QByteArray("caf\xc3\xa9 \xc3\xa0 b") << true << true << QStringLiteral(u"CAF\u00e9 \u00e0 B");
    QTest::newRow("8-bit accents keep their case")
        << QByteArray("caf\xe9 \xff b") << false << true << QStringLiteral(u"CAF\u00e9 \u00ff B");
    QTest::newRow("8-bit bytes as characters")
        << QByteArray("\x80\x9f\xa0") << false << false << QStringLiteral(u"\u0080\u009f\u00a0");
    QTest::newRow("utf-8 four bytes") << QByteArray("\xf0\x9f\x98\x80") << true << true
                                      << QString::fromUtf8("\xf0\x9f\x98\x80");
    QTest::newRow("byte order marks kept") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf"
                                                         "a")
                                           << true << false << QStringLiteral(u"\ufeff\ufeffa");
    QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << true << false << QStringView(u"a\0b", 3).toString();
}

void TestReader::encodings()
{
    QFETCH(QByteArray, cellBytes);
    QFETCH(bool, utf8);
    QFETCH(bool, upcase);
    QFETCH(QString, pattern);
    ReadOptions options;
    options.encoding = utf8 ? TextEncoding::Utf8 : TextEncoding::Latin1;
    options.upcase = upcase;
    const QByteArray text = "<category><pattern>" + cellBytes + "</pattern><that>" + cellBytes + "</that><template>"
        + cellBytes + "</template></category>";
    const CategoryRows rows = readCategories(text, options);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.text(0, PatternColumn), pattern);
    // Thats and templates are never folded: as stored, as the pattern is when nothing is folded.
    const QString asStored = !upcase ? pattern : utf8 ? QString::fromUtf8(cellBytes) : QString::fromLatin1(cellBytes);
    QCOMPARE(rows.text(0, ThatColumn), asStored);
    QCOMPARE(rows.text(0, TemplateColumn), asStored);
}

void TestReader::progressReportsEveryPass()
{
    QByteArray text;
    const int count = 2 * kReadProgressInterval + 10;
    for (int i = 0; i < count; ++i)
        text += "<category><pattern>P</pattern><template>T</template></category>\r\n";
    QList<QPair<int, int>> calls;
    const auto rows = readCategories(text, ReadOptions(), [&calls, count](ReadPass pass, int steps, int categories) {
        calls.append({ static_cast<int>(pass), steps });
        QCOMPARE(categories, count);
    });
    QCOMPARE(rows.size(), size_t(count + 1));
    QList<QPair<int, int>> expected;
    for (ReadPass pass : { ReadPass::Patterns, ReadPass::Thats, ReadPass::Templates }) {
        expected.append({ static_cast<int>(pass), 0 });
        expected.append({ static_cast<int>(pass), kReadProgressInterval });
        expected.append({ static_cast<int>(pass), 2 * kReadProgressInterval });
    }
    QCOMPARE(calls, expected);
}

void TestReader::randomBytesMatchThePlainReading_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("tagsOnly");
    for (quint32 seed = 1; seed <= 40; ++seed)
        QTest::addRow("tags %u", seed) << seed << true;
    for (quint32 seed = 1; seed <= 10; ++seed)
        QTest::addRow("bytes %u", seed) << seed << false;
}

// Arbitrary text, dense in tags and their broken forms, read as the passes are written.
void TestReader::randomBytesMatchThePlainReading()
{
    QFETCH(quint32, seed);
    QFETCH(bool, tagsOnly);
    QRandomGenerator random(seed);
    const char *pieces[] = { "<category>", "</category>", "<pattern>", "</pattern>", "<that>", "</that>", "<template>",
        "</template>", "x", " ", "\r\n", "ab", "<", ">", "</", "<that/>", "<topic name=\"T\">", "</topic>" };
    QByteArray text;
    const int length = random.bounded(0, 400);
    for (int i = 0; i < length; ++i) {
        if (tagsOnly || random.bounded(4) == 0)
            text += pieces[random.bounded(int(std::size(pieces)))];
        else
            text += static_cast<char>(random.bounded(256));
    }
    for (bool upcase : { false, true }) {
        ReadOptions options;
        options.encoding = TextEncoding::Latin1;
        options.upcase = upcase;
        QCOMPARE(test::textsOf(readCategories(text, options), TopicColumn + 1), referenceRead(text, upcase));
    }
}

void TestReader::hostileTextMatchesThePlainReading_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 60; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

// Runs of one tag, stray closing tags before far opening ones, cut tags and fillers around
// the length the search looks at directly before handing over to the C library.
void TestReader::hostileTextMatchesThePlainReading()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    const QByteArray tags[] = { "<category>", "</category>", "<pattern>", "</pattern>", "<that>", "</that>",
        "<template>", "</template>", "<topic name=\"T\">", "</topic>" };
    const QByteArray odd[] = { "</patter", "<templat", "</category", "<that", "<", "</", QByteArray(1, '\0'),
        "\xc3\xa9", "\xc3", "\xef\xbb\xbf", "ab", "\r\n" };
    QByteArray text;
    const int runs = random.bounded(1, 40);
    for (int i = 0; i < runs; ++i) {
        switch (random.bounded(4)) {
        case 0: // one tag many times over
            text += tags[random.bounded(int(std::size(tags)))].repeated(random.bounded(1, 60));
            break;
        case 1: // filler near the direct look's length
            text += QByteArray(random.bounded(50, 80), static_cast<char>('a' + random.bounded(26)));
            break;
        case 2:
            text += odd[random.bounded(int(std::size(odd)))];
            break;
        default:
            text += tags[random.bounded(int(std::size(tags)))];
            break;
        }
    }
    for (bool utf8 : { false, true }) {
        for (bool upcase : { false, true }) {
            ReadOptions options;
            options.encoding = utf8 ? TextEncoding::Utf8 : TextEncoding::Latin1;
            options.upcase = upcase;
            QCOMPARE(test::textsOf(readCategories(text, options), TopicColumn + 1), referenceRead(text, upcase, utf8));
        }
    }
}

void TestReader::strayTagsStayLinear_data()
{
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<QByteArray>("last");
    QTest::addColumn<int>("rows");
    const int copies = (4 << 20) / 11;
    // Every closing tag but the first pairs with the one opening tag at the very end, each a row.
    QTest::newRow("closing patterns") << QByteArray("</pattern>\n") << QByteArray("<pattern>") << copies;
    QTest::newRow("closing templates") << QByteArray("</template>") << QByteArray("<template>") << 1;
    QTest::newRow("closing categories") << QByteArray("</category>") << QByteArray("<category>") << 1;
    QTest::newRow("opening tags") << QByteArray("<category>\n") << QByteArray() << 1;
    QTest::newRow("opening templates") << QByteArray("<template>\n") << QByteArray("</template>") << 1;
    QTest::newRow("topic tags never ended") << QByteArray("<topic \n") << QByteArray("<category></category>") << 1;
}

void TestReader::strayTagsStayLinear()
{
    // 4 MB of tags without their partners. A reading that searches the text again for every
    // tag takes hours on this; a linear one takes milliseconds, so the bound only catches that.
    QFETCH(QByteArray, piece);
    QFETCH(QByteArray, last);
    QFETCH(int, rows);
    const QByteArray text = piece.repeated((4 << 20) / 11) + last;
    QElapsedTimer clock;
    clock.start();
    const CategoryRows read = readCategories(text, ReadOptions());
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    QCOMPARE(qsizetype(read.size()), qsizetype(rows));
}

QTEST_APPLESS_MAIN(TestReader)
#include "tst_reader.moc"
