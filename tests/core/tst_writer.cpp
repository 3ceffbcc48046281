#include "document/AimlReader.h"
#include "document/AimlWriter.h"
#include "document/DocumentText.h"

#include "TableRows.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace vorrel;
using vorrel::test::readFile;

using Cells = QList<QStringList>;

namespace {

// Table rows from [pattern, that, template] triples, labelled from "1".
CategoryRows rowsOf(const Cells &cells)
{
    test::Rows rows;
    for (const QStringList &c : cells)
        rows.append({ QString::number(rows.size() + 1), c.value(0), c.value(1), c.value(2) });
    return test::categoryRows(rows);
}

QByteArray lines(std::initializer_list<const char *> list)
{
    QByteArray out;
    for (const char *line : list)
        out += QByteArray(line) + "\r\n";
    return out;
}

QByteArray category(const char *pattern, const char *templ)
{
    return lines({ "<category>", (QByteArray("<pattern>") + pattern + "</pattern>").constData(), "<template>", templ,
        "</template>", "</category>", " " });
}

QByteArray lf(QByteArray crLf)
{
    return crLf.replace("\r\n", "\n");
}

} // namespace

class TestWriter final : public QObject
{
    Q_OBJECT

private slots:
    void refresh_data();
    void refresh();
    void documents_data();
    void documents();
    void refreshTwiceGivesTheSameText_data();
    void refreshTwiceGivesTheSameText();
    void headerEndsAtTheFirstCategoryTag_data();
    void headerEndsAtTheFirstCategoryTag();
    void headerRefreshedTwiceStaysTheSame_data();
    void headerRefreshedTwiceStaysTheSame();
    void corpusRefreshKeepsEveryCategoryOnce_data();
    void corpusRefreshKeepsEveryCategoryOnce();
    void failsWithoutCategoryOrClosingLine_data();
    void failsWithoutCategoryOrClosingLine();
    void cellsOutInTheDocumentsEncoding_data();
    void cellsOutInTheDocumentsEncoding();
    void readingWhatWasWrittenGivesTheTable();

    void utf8Validity_data();
    void utf8Validity();
    void lineEnds_data();
    void lineEnds();
    void asciiCase();
};

void TestWriter::refresh_data()
{
    QTest::addColumn<Cells>("cells");
    QTest::addColumn<QByteArray>("oldText");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray head = lines({ "<?xml version=\"1.0\"?>", "<aiml version=\"1.0\">" });
    const QByteArray hello = category("HELLO", "Hi there");

    QTest::newRow("header kept before the first category line")
        << Cells { { "HELLO", "", "Hi there" } } << head + lines({ "<category>", "<pattern>OLD</pattern>", "</aiml>" })
        << head + hello + "</aiml>\r\n";
    QTest::newRow("category on the first line: no header")
        << Cells { { "HELLO", "", "Hi there" } } << lines({ "<category>", "x", "</aiml>" }) << hello + "</aiml>\r\n";
    QTest::newRow("category line in capitals")
        << Cells { { "HELLO", "", "Hi there" } } << head + lines({ "<CATEGORY>", "</aiml>" })
        << head + hello + "</aiml>\r\n";
    QTest::newRow("category line in mixed case")
        << Cells { { "HELLO", "", "Hi there" } } << head + lines({ "<CateGory>" }) << head + hello + "</aiml>\r\n";
    QTest::newRow("template without category line")
        << Cells { { "", "", "" } } << head + lines({ "<!-- Author: A -->", "</aiml>" })
        << head + lines({ "<!-- Author: A -->" }) + category("", "") + "</aiml>\r\n";
    QTest::newRow("only the first closing line goes")
        << Cells { { "HELLO", "", "Hi there" } } << head + lines({ "</AIML>", "<!-- after -->", "</aiml>" })
        << head + lines({ "<!-- after -->", "</aiml>" }) + hello + "</aiml>\r\n";
    QTest::newRow("last line without line end")
        << Cells { { "HELLO", "", "Hi there" } } << head + "</aiml>\r\n<!-- end -->"
        << head + lines({ "<!-- end -->" }) + hello + "</aiml>\r\n";
    QTest::newRow("closing line without line end")
        << Cells { { "HELLO", "", "Hi there" } } << head + "</aiml>" << head + hello + "</aiml>\r\n";
    QTest::newRow("topics and comments after the header go")
        << Cells { { "HELLO", "", "Hi there" } }
        << head + lines({ "<category>", "</category>", "<topic name=\"X\">", "<!-- c -->", "</topic>", "</aiml>" })
        << head + hello + "</aiml>\r\n";

    QTest::newRow("that line") << Cells { { "YES", "DO YOU", "Good" } } << lines({ "</aiml>" })
                               << lines({ "<category>", "<pattern>YES</pattern>", "<that>DO YOU</that>", "<template>",
                                      "Good", "</template>", "</category>", " ", "</aiml>" });
    QTest::newRow("that of spaces is written")
        << Cells { { "YES", "  ", "Good" } } << lines({ "</aiml>" })
        << lines({ "<category>", "<pattern>YES</pattern>", "<that>  </that>", "<template>", "Good", "</template>",
               "</category>", " ", "</aiml>" });
    QTest::newRow("multi-line template") << Cells { { "A", "", "one\r\n  two\r\nthree" } } << lines({ "</aiml>" })
                                         << lines({ "<category>", "<pattern>A</pattern>", "<template>", "one", "  two",
                                                "three", "</template>", "</category>", " ", "</aiml>" });
    QTest::newRow("line feeds in a cell become CR LF")
        << Cells { { "A", "", "one\ntwo" } } << lines({ "</aiml>" })
        << lines({ "<category>", "<pattern>A</pattern>", "<template>", "one", "two", "</template>", "</category>", " ",
               "</aiml>" });
    QTest::newRow("nothing escaped") << Cells { { "A & B", "", "<srai>X</srai> < >" } } << lines({ "</aiml>" })
                                     << lines({ "<category>", "<pattern>A & B</pattern>", "<template>",
                                            "<srai>X</srai> < >", "</template>", "</category>", " ", "</aiml>" });
    QTest::newRow("blank rows are not written") << Cells { { "", "", "" }, { "B", "", "b" }, { " ", "\t", "\r\n" } }
                                                << lines({ "</aiml>" }) << category("B", "b") + "</aiml>\r\n";
    QTest::newRow("no rows") << Cells {} << lines({ "<a>", "</aiml>" }) << lines({ "<a>", "</aiml>" });
    // New lines end as the old text's first line does; kept lines as they did.
    QTest::newRow("LF lines: every line break in a cell as LF")
        << Cells { { "A", "", "one\r\ntwo\nthree" } } << lf(lines({ "<aiml>", "</aiml>" }))
        << lf(lines({ "<aiml>", "<category>", "<pattern>A</pattern>", "<template>", "one", "two", "three",
               "</template>", "</category>", " ", "</aiml>" }));
    QTest::newRow("LF header kept") << Cells { { "HELLO", "", "Hi there" } }
                                    << lf(head + lines({ "<category><pattern>A</pattern>", "</aiml>" }))
                                    << lf(head + hello + "</aiml>\r\n");
    QTest::newRow("mixed lines, LF first")
        << Cells { { "HELLO", "", "Hi there" } } << QByteArray("<aiml>\n<!-- x -->\r\n<category>\r\n</aiml>\r\n")
        << "<aiml>\n<!-- x -->\r\n" + lf(hello + "</aiml>\r\n");
    QTest::newRow("one line: LF") << Cells { { "HELLO", "", "Hi there" } }
                                  << QByteArray("<category><pattern>A</pattern></category>")
                                  << lf(hello + "</aiml>\r\n");
}

void TestWriter::refresh()
{
    QFETCH(Cells, cells);
    QFETCH(QByteArray, oldText);
    QFETCH(QByteArray, expected);
    const RefreshResult result = refreshText(rowsOf(cells), oldText, TextEncoding::Utf8);
    QVERIFY(result.ok);
    QCOMPARE(result.text, expected);
    QVERIFY(result.errorString.isEmpty());
}

void TestWriter::documents_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<test::Rows>("rows");
    QTest::addColumn<QByteArray>("refreshed");

    const auto cat = [](const char *pattern, const char *templ) {
        return QByteArray("<category><pattern>") + pattern + "</pattern><template>" + templ
            + "</template></category>\r\n";
    };
    const QByteArray head = "<aiml>\r\n";
    const QByteArray end = "</aiml>\r\n";
    const QByteArray one = category("ONE", "1");
    const QByteArray two = category("TWO", "2");
    const QByteArray three = category("THREE", "3");

    QTest::newRow("topic around the first category")
        << head + "<topic name=\"A\">\r\n" + cat("ONE", "1") + "</topic>\r\n" + cat("TWO", "2") + end
        << test::Rows { { "1", "ONE", "", "1", "A" }, { "2", "TWO", "", "2" }, { "3", "", "", "" } }
        << head + "<topic name=\"A\">\r\n" + one + "</topic>\r\n" + two + end;
    QTest::newRow("topic around the middle ones, split by a comment")
        << head + cat("ONE", "1") + "<topic name=\"B\">" + cat("TWO", "2")
            + "</topic>\r\n<!-- c -->\r\n<topic name=\"B\">" + cat("THREE", "3") + "</topic>\r\n" + cat("FOUR", "4")
            + end
        << test::Rows { { "1", "ONE", "", "1" }, { "2", "TWO", "", "2", "B" },
               { "3", "THREE", "", "3", "B", "<!-- c -->" }, { "4", "FOUR", "", "4" }, { "5", "", "", "" } }
        << head + one + "<topic name=\"B\">\r\n" + two + "<!-- c -->\r\n" + three + "</topic>\r\n"
            + category("FOUR", "4") + end;
    QTest::newRow("topic around the last, its name escaped")
        << head + cat("ONE", "1") + "<topic name='X &amp; \"Y\" &lt;'>" + cat("TWO", "<topicstar/>") + "</topic>\r\n"
            + end
        << test::Rows { { "1", "ONE", "", "1" }, { "2", "TWO", "", "<topicstar/>", "X & \"Y\" <" },
               { "3", "", "", "" } }
        << head + one + "<topic name=\"X &amp; &quot;Y&quot; &lt;\">\r\n" + category("TWO", "<topicstar/>")
            + "</topic>\r\n" + end;
    const char *taught = "<learn><category><pattern>B</pattern><that>T</that><template>b</template></category></learn>";
    QTest::newRow("categories taught in templates stay there")
        << head + cat("A", taught) + cat("C", "c") + end
        << test::Rows { { "1", "A", "", taught }, { "2", "C", "", "c" }, { "3", "", "", "" } }
        << head + category("A", taught) + category("C", "c") + end;
    QTest::newRow("comments ride with the category after them")
        << head + "<!-- head -->\r\n" + cat("ONE", "1") + "\r\n<!-- a -->\r\n\r\n<!-- b -->\r\n" + cat("TWO", "2")
            + "<!-- last -->\r\n" + end + "<!-- after -->\r\n"
        << test::Rows { { "1", "ONE", "", "1" }, { "2", "TWO", "", "2", "", "<!-- a -->\r\n\r\n<!-- b -->" },
               { "3", "", "", "" } }
        << head + "<!-- head -->\r\n" + one + "<!-- a -->\r\n\r\n<!-- b -->\r\n" + two
            + "<!-- last -->\r\n<!-- after -->\r\n" + end;
    // The first category written begins with a tag, so that the next refresh's header ends there.
    QTest::newRow("text before the first category, after a topic tag")
        << head + "<topic name=\"A\">\r\n<!-- a -->\r\n" + cat("ONE", "1") + "</topic>" + end
        << test::Rows { { "1", "ONE", "", "1", "A", "<!-- a -->" }, { "2", "", "", "" } }
        << head + "<topic name=\"A\">\r\n<!-- a -->\r\n" + one + "</topic>\r\n" + end;
    QTest::newRow("text at the head of a category")
        << head + "<category>\r\n<!-- h1 -->\r\n<pattern>ONE</pattern><template>1</template></category>\r\n"
            + "<category><!-- h2 --><pattern>TWO</pattern><template>2</template></category>\r\n" + end
        << test::Rows { { "1", "ONE", "", "1", "", "<!-- h1 -->" }, { "2", "TWO", "", "2", "", "<!-- h2 -->" },
               { "3", "", "", "" } }
        << head + "<category>\r\n<!-- h1 -->\r\n" + one.sliced(12) + "<!-- h2 -->\r\n" + two + end;
    QTest::newRow("no half of a comment a literal tag cuts")
        << head + cat("ONE", "1") + "<!-- about <category> tags -->\r\n" + cat("TWO", "2") + end
        << test::Rows { { "1", "ONE", "", "1" }, { "2", "TWO", "", "2" }, { "3", "", "", "" } }
        << head + one + two + end;
    QTest::newRow("blank rows are not written")
        << head + cat("ONE", "1") + cat("", " ") + "<!-- b -->" + cat(" ", "") + cat("TWO", "2") + end
        << test::Rows { { "1", "ONE", "", "1" }, { "2", "", "", "" }, { "3", " ", "", "", "", "<!-- b -->" },
               { "4", "TWO", "", "2" }, { "5", "", "", "" } }
        << head + one + "<!-- b -->\r\n" + two + end;
    QTest::newRow("LF lines, the text around the categories kept as it is")
        << lf(head) + "<!-- a -->\r\n" + lf(cat("ONE", "1")) + "<!-- b\r\n -->\n"
            + lf(cat("TWO", "2")).replace(">2<", ">2\r\nmore<") + "<!-- end -->\r\n" + lf(end)
        << test::Rows { { "1", "ONE", "", "1" }, { "2", "TWO", "", "2\r\nmore", "", "<!-- b\r\n -->" },
               { "3", "", "", "" } }
        << lf(head) + "<!-- a -->\r\n" + lf(one) + "<!-- b\r\n -->\n" + lf(category("TWO", "2\r\nmore"))
            + "<!-- end -->\n" + lf(end);
    QTest::newRow("only blank rows: the last is written")
        << head + cat("", "") + end << test::Rows { { "1", "", "", "" }, { "2", "", "", "" } }
        << head + category("", "") + end;
}

// Each document read, refreshed, refreshed again from the same rows, and read and refreshed
// again: the rows, then the text, and then no byte changes.
void TestWriter::documents()
{
    QFETCH(QByteArray, text);
    QFETCH(test::Rows, rows);
    QFETCH(QByteArray, refreshed);
    const CategoryRows read = readCategories(text, ReadOptions());
    QCOMPARE(test::textsOf(read), rows);
    const QByteArray written = refreshText(read, text, TextEncoding::Utf8).text;
    QCOMPARE(written, refreshed);
    QCOMPARE(refreshText(read, written, TextEncoding::Utf8).text, written);
    QCOMPARE(refreshText(readCategories(written, ReadOptions()), written, TextEncoding::Utf8).text, written);
}

void TestWriter::refreshTwiceGivesTheSameText_data()
{
    refresh_data();
}

void TestWriter::refreshTwiceGivesTheSameText()
{
    QFETCH(Cells, cells);
    QFETCH(QByteArray, oldText);
    const RefreshResult first = refreshText(rowsOf(cells), oldText, TextEncoding::Utf8);
    QVERIFY(first.ok);
    const RefreshResult second = refreshText(rowsOf(cells), first.text, TextEncoding::Utf8);
    QVERIFY(second.ok);
    QCOMPARE(second.text, first.text);
}

void TestWriter::headerEndsAtTheFirstCategoryTag_data()
{
    QTest::addColumn<QByteArray>("oldText");
    QTest::addColumn<QByteArray>("header");

    const QByteArray head = lines({ "<?xml version=\"1.0\"?>", "<aiml version=\"1.0\">" });
    const QByteArray old = lines({ "<pattern>OLD</pattern>", "<template>old</template>", "</category>", "</aiml>" });

    QTest::newRow("line that is the tag, as before") << head + lines({ "<category>" }) + old << head;
    QTest::newRow("that line in capitals") << head + lines({ "<CATEGORY>" }) + old << head;
    QTest::newRow("indented tag") << head + lines({ "  <category>" }) + old << head;
    QTest::newRow("tab-indented tag") << head + lines({ "\t <category>" }) + old << head;
    QTest::newRow("tag sharing its line with the pattern")
        << head + lines({ "<category><pattern>OLD</pattern>", "</category>", "</aiml>" }) << head;
    QTest::newRow("indented tag sharing its line")
        << head + lines({ "  <category><pattern>OLD</pattern>", "</aiml>" }) << head;
    QTest::newRow("blank after the tag") << head + lines({ "<category> " }) + old << head;
    QTest::newRow("mixed case") << head + lines({ "<CaTeGoRy><pattern>OLD</pattern>" }) + old << head;
    QTest::newRow("blanks inside the tag") << head + lines({ "<category \t>" }) + old << head;
    QTest::newRow("blank line before the tag")
        << head + lines({ "", "<category><pattern>OLD</pattern>" }) + old << head + lines({ "" });
    QTest::newRow("text before the tag on its line")
        << lines({ "<?xml version=\"1.0\"?>", "<aiml><category><pattern>OLD</pattern>" }) + old
        << lines({ "<?xml version=\"1.0\"?>", "<aiml>" });
    QTest::newRow("text before the tag keeps its blanks")
        << lines({ "  <!-- x -->\t<category>" }) + old << lines({ "  <!-- x -->\t" });
    QTest::newRow("tag first in the text")
        << QByteArray("<category><pattern>A</pattern></category>\r\n") << QByteArray();
    QTest::newRow("lone CR line ends make one line")
        << QByteArray("<aiml>\r<category>\r<pattern>A</pattern>\r</aiml>\r") << QByteArray("<aiml>\r\r\n");
    // Literal: a tag in a comment counts, even before a line that is the tag.
    QTest::newRow("tag in a comment first")
        << head + lines({ "<!-- <category> -->", "<category>" }) + old << head + lines({ "<!-- " });
    QTest::newRow("not tags, closing line")
        << head + lines({ "<categoryx>", "<category/>", "<category", ">", "<categor>", "</aiml>", "<!-- end -->" })
        << head + lines({ "<categoryx>", "<category/>", "<category", ">", "<categor>", "<!-- end -->" });
    QTest::newRow("no tag, closing line in capitals")
        << head + lines({ "<!-- Author: A -->", "</AIML>" }) << head + lines({ "<!-- Author: A -->" });
    QTest::newRow("8-bit bytes before the tag kept")
        << QByteArray("<!-- caf\xe9 --><category>\r\n") << QByteArray("<!-- caf\xe9 -->\r\n");
}

// Whatever the old text looked like, the new one is its header and then the categories.
void TestWriter::headerEndsAtTheFirstCategoryTag()
{
    QFETCH(QByteArray, oldText);
    QFETCH(QByteArray, header);
    const RefreshResult result = refreshText(rowsOf({ { "HELLO", "", "Hi there" } }), oldText, TextEncoding::Utf8);
    QVERIFY(result.ok);
    QCOMPARE(result.text, header + category("HELLO", "Hi there") + "</aiml>\r\n");
}

void TestWriter::headerRefreshedTwiceStaysTheSame_data()
{
    headerEndsAtTheFirstCategoryTag_data();
}

void TestWriter::headerRefreshedTwiceStaysTheSame()
{
    QFETCH(QByteArray, oldText);
    const auto rows = rowsOf({ { "A", "", "a" }, { "B", "THAT", "b" } });
    const RefreshResult first = refreshText(rows, oldText, TextEncoding::Utf8);
    QVERIFY(first.ok);
    const RefreshResult second = refreshText(rows, first.text, TextEncoding::Utf8);
    QVERIFY(second.ok);
    QCOMPARE(second.text, first.text);
}

void TestWriter::corpusRefreshKeepsEveryCategoryOnce_data()
{
    QTest::addColumn<QString>("fileName");
    const QDir corpus(QStringLiteral(VORREL_CORPUS_DIR "/free-aiml"));
    const QStringList files = corpus.entryList({ QStringLiteral("*.aiml") }, QDir::Files, QDir::Name);
    for (const QString &name : files)
        QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    if (files.isEmpty())
        QTest::newRow("no corpus") << QString();
}

// Every corpus document as the editor holds it: Refresh of the table just read writes each
// category once, templates' own included, keeps the header's bytes and the file's line ends;
// reading the result gives the table again, and refreshing it changes nothing.
void TestWriter::corpusRefreshKeepsEveryCategoryOnce()
{
    QFETCH(QString, fileName);
    if (fileName.isEmpty())
        QSKIP("corpus not present");
    const QByteArray text = readFile(fileName);
    QVERIFY(!text.isEmpty());
    ReadOptions options;
    options.upcase = false;
    options.encoding = isValidUtf8(text) ? TextEncoding::Utf8 : TextEncoding::Latin1;
    const CategoryRows rows = readCategories(text, options);
    const RefreshResult refreshed = refreshText(rows, text, options.encoding);
    QVERIFY(refreshed.ok);
    // The corpus has files of either line end, none mixed.
    const bool crLf = text.contains("\r\n");
    QVERIFY(refreshed.text.endsWith(crLf ? "</aiml>\r\n" : "</aiml>\n"));
    QCOMPARE(refreshed.text.count("\r\n"), crLf ? refreshed.text.count('\n') : 0);

    // One tag per row but the empty last one, besides those that templates teach with <learn>.
    qsizetype taught = 0;
    for (const QStringList &row : test::textsOf(rows))
        taught += row[TemplateColumn].count(QStringLiteral("<category>"), Qt::CaseInsensitive);
    QCOMPARE(refreshed.text.toLower().count("<category>"), qsizetype(rows.size()) - 1 + taught);

    // The header: all before the first tag's line, whatever stood there before.
    const qsizetype tag = firstCategoryOrTopicTag(text);
    QVERIFY(tag >= 0);
    const qsizetype lineStart = text.lastIndexOf('\n', tag) + 1;
    const RefreshResult body = refreshText(rows, crLf ? "</aiml>\r\n" : "</aiml>\n", options.encoding);
    QCOMPARE(refreshed.text, text.first(lineStart) + body.text);

    const CategoryRows again = readCategories(refreshed.text, options);
    QCOMPARE(test::textsOf(again), test::textsOf(rows));
    QCOMPARE(refreshText(rows, refreshed.text, options.encoding).text, refreshed.text);
    qInfo("%s: %lld rows, header %lld bytes", qPrintable(QFileInfo(fileName).fileName()), rows.size(),
        static_cast<long long>(refreshed.text.size() - body.text.size()));
}

void TestWriter::failsWithoutCategoryOrClosingLine_data()
{
    QTest::addColumn<QByteArray>("oldText");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("closing tag on a longer line") << QByteArray("<aiml></aiml>\r\n");
    QTest::newRow("line break inside the tag") << lines({ "<aiml>", "<category", ">", "  </aiml>" });
    QTest::newRow("empty-element category") << QByteArray("<aiml><category/></aiml>");
}

void TestWriter::failsWithoutCategoryOrClosingLine()
{
    QFETCH(QByteArray, oldText);
    const RefreshResult result = refreshText(rowsOf({ { "A", "", "B" } }), oldText, TextEncoding::Utf8);
    QVERIFY(!result.ok);
    QCOMPARE(result.errorString, QStringLiteral("List index out of bounds (-1)"));
    QVERIFY(result.text.isEmpty());
}

void TestWriter::cellsOutInTheDocumentsEncoding_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("utf-8") << QStringLiteral(u"caf\u00e9") << true << QByteArray("caf\xc3\xa9");
    QTest::newRow("8-bit") << QStringLiteral(u"caf\u00e9") << false << QByteArray("caf\xe9");
    QTest::newRow("8-bit has no euro") << QStringLiteral(u"\u20ac5") << false << QByteArray("?5");
    QTest::newRow("NUL") << QStringView(u"a\0b", 3).toString() << true << QByteArray("a\0b", 3);
}

void TestWriter::cellsOutInTheDocumentsEncoding()
{
    QFETCH(QString, cell);
    QFETCH(bool, utf8);
    QFETCH(QByteArray, bytes);
    // The header's bytes are kept as they are, whatever the encoding.
    const QByteArray head = "<!-- \xe9\xc3 -->\r\n";
    const RefreshResult result = refreshText(
        rowsOf({ { cell, cell, cell } }), head + "</aiml>", utf8 ? TextEncoding::Utf8 : TextEncoding::Latin1);
    QVERIFY(result.ok);
    QCOMPARE(result.text,
        head + "<category>\r\n<pattern>" + bytes + "</pattern>\r\n<that>" + bytes + "</that>\r\n<template>\r\n" + bytes
            + "\r\n</template>\r\n</category>\r\n \r\n</aiml>\r\n");
}

void TestWriter::readingWhatWasWrittenGivesTheTable()
{
    const Cells cells { { "HELLO *", "", "Hi <star/>" },
        { "YES", "DO YOU LIKE IT", "Good.\r\n<think><set name=\"x\">1</set></think>" }, { "SPACES", "  ", "x" },
        { "", "", "" } };
    const RefreshResult written = refreshText(rowsOf(cells), "<aiml>\r\n</aiml>\r\n", TextEncoding::Utf8);
    QVERIFY(written.ok);
    ReadOptions options;
    options.upcase = false;
    const CategoryRows read = readCategories(written.text, options);
    // The blank last row is not written; reading leaves one again.
    QCOMPARE(read.size(), cells.size());
    for (int r = 0; r < cells.size(); ++r) {
        for (int c = 0; c < 3; ++c)
            QCOMPARE(read.text(r, c + 1), cells[r][c]);
    }
}

void TestWriter::utf8Validity_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("ascii") << QByteArray("<aiml>\r\n</aiml>\r\n") << true;
    QTest::newRow("NUL") << QByteArray("a\0b", 3) << true;
    QTest::newRow("two bytes") << QByteArray("caf\xc3\xa9") << true;
    QTest::newRow("three bytes") << QByteArray("\xe2\x82\xac") << true;
    QTest::newRow("four bytes") << QByteArray("\xf0\x9f\x98\x80") << true;
    QTest::newRow("highest") << QByteArray("\xf4\x8f\xbf\xbf") << true;
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf<aiml>") << true;
    QTest::newRow("long ascii then accent") << QByteArray(1000, 'a') + "\xc3\xa9" << true;
    QTest::newRow("8-bit accent") << QByteArray("caf\xe9") << false;
    QTest::newRow("8-bit accent after long ascii") << QByteArray(1001, 'a') + "\xe9" << false;
    QTest::newRow("lone continuation") << QByteArray("\x80") << false;
    QTest::newRow("overlong two bytes") << QByteArray("\xc0\xaf") << false;
    QTest::newRow("overlong three bytes") << QByteArray("\xe0\x80\xaf") << false;
    QTest::newRow("overlong four bytes") << QByteArray("\xf0\x80\x80\xaf") << false;
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
    QTest::newRow("truncated at the end") << QByteArray("ab\xe2\x82") << false;
    QTest::newRow("continuation missing") << QByteArray("\xc3(") << false;
    QTest::newRow("F5") << QByteArray("\xf5\x80\x80\x80") << false;
}

void TestWriter::utf8Validity()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QCOMPARE(isValidUtf8(bytes), valid);
    // Whatever passes must come back unchanged through the cells.
    if (valid)
        QCOMPARE(encodeText(decodeText(bytes, TextEncoding::Utf8), TextEncoding::Utf8), bytes);
}

void TestWriter::lineEnds_data()
{
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("crLf");
    QTest::addColumn<QByteArray>("lf");
    QTest::addColumn<LineEnd>("firstLine");
    QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray() << LineEnd::Lf;
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n") << QByteArray("a\nb\n")
                          << LineEnd::CrLf;
    QTest::newRow("lf") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n") << QByteArray("a\nb\n") << LineEnd::Lf;
    QTest::newRow("lf first") << QByteArray("\nx") << QByteArray("\r\nx") << QByteArray("\nx") << LineEnd::Lf;
    QTest::newRow("mixed, crlf first") << QByteArray("a\r\nb\nc") << QByteArray("a\r\nb\r\nc") << QByteArray("a\nb\nc")
                                       << LineEnd::CrLf;
    QTest::newRow("mixed, lf first") << QByteArray("a\nb\r\nc") << QByteArray("a\r\nb\r\nc") << QByteArray("a\nb\nc")
                                     << LineEnd::Lf;
    // A lone CR ends a line too, and an LF written after it would make a CR LF.
    QTest::newRow("lone cr kept") << QByteArray("a\rb\r") << QByteArray("a\rb\r") << QByteArray("a\rb\r")
                                  << LineEnd::CrLf;
    QTest::newRow("lone cr first, then lf")
        << QByteArray("a\rb\n") << QByteArray("a\rb\r\n") << QByteArray("a\rb\n") << LineEnd::CrLf;
    QTest::newRow("cr cr lf") << QByteArray("a\r\r\n") << QByteArray("a\r\r\n") << QByteArray("a\r\n") << LineEnd::CrLf;
    QTest::newRow("lf cr") << QByteArray("a\n\rb") << QByteArray("a\r\n\rb") << QByteArray("a\n\rb") << LineEnd::Lf;
    QTest::newRow("NUL kept") << QByteArray("a\0\nb", 4) << QByteArray("a\0\r\nb", 5) << QByteArray("a\0\nb", 4)
                              << LineEnd::Lf;
}

void TestWriter::lineEnds()
{
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, crLf);
    QFETCH(QByteArray, lf);
    QFETCH(LineEnd, firstLine);
    QCOMPARE(withLineEnds(in, LineEnd::CrLf), crLf);
    QCOMPARE(withLineEnds(in, LineEnd::Lf), lf);
    QCOMPARE(lineEndOf(in), firstLine);
}

void TestWriter::asciiCase()
{
    QByteArray bytes("abc xyz \xe9\xff AZ{`@[");
    upcaseAscii(bytes);
    QCOMPARE(bytes, QByteArray("ABC XYZ \xe9\xff AZ{`@["));
    QVERIFY(equalsIgnoringAsciiCase("</AiMl>", "</aiml>"));
    QVERIFY(!equalsIgnoringAsciiCase("</aiml> ", "</aiml>"));
    QVERIFY(!equalsIgnoringAsciiCase("\xe9", "\xc9"));
    QVERIFY(!equalsIgnoringAsciiCase("[", "{"));
}

QTEST_APPLESS_MAIN(TestWriter)
#include "tst_writer.moc"
