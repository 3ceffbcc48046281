// Cells kept as the document's bytes: the texts they show and the bytes they write back are
// those of cells kept as text, through reading, editing, copying and losing their source.

#include "TableRows.h"

#include "document/AimlReader.h"
#include "document/AimlWriter.h"
#include "document/CategoryRows.h"
#include "document/DocumentText.h"

#include <QTest>

using namespace vorrel;

namespace {

QByteArray documentWith(const QByteArray &cell)
{
    return "<aiml>\r\n<category>\r\n<pattern>" + cell + "</pattern>\r\n<that>" + cell + "</that>\r\n<template>\r\n"
        + cell + "\r\n</template>\r\n</category>\r\n</aiml>\r\n";
}

// The same rows with every cell held as text.
CategoryRows asTexts(const CategoryRows &rows)
{
    return test::categoryRows(test::textsOf(rows));
}

} // namespace

class TestCategoryRows final : public QObject
{
    Q_OBJECT

private slots:
    void bytesShowAndWriteAsTexts_data();
    void bytesShowAndWriteAsTexts();
    void ownBytesOutlivesTheSource();
    void editsSurviveCopiesAndSweeps();
};

void TestCategoryRows::bytesShowAndWriteAsTexts_data()
{
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<bool>("upcase");

    QTest::newRow("8-bit accents") << QByteArray("caf\xe9 \xff") << false << false;
    QTest::newRow("8-bit, folded") << QByteArray("caf\xe9 \xff") << false << true;
    QTest::newRow("UTF-8 accents") << QByteArray("caf\xc3\xa9 \xe2\x82\xac") << true << false;
    QTest::newRow("UTF-8, folded") << QByteArray("caf\xc3\xa9 x") << true << true;
    QTest::newRow("NUL inside, 8-bit") << QByteArray("a\0b", 3) << false << false;
    QTest::newRow("NUL inside, UTF-8") << QByteArray("a\0b", 3) << true << false;
    QTest::newRow("byte order marks") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf"
                                                    "a")
                                      << true << false;
    QTest::newRow("bare line feed") << QByteArray("one\ntwo\r\nthree") << true << false;
}

void TestCategoryRows::bytesShowAndWriteAsTexts()
{
    QFETCH(QByteArray, cell);
    QFETCH(bool, utf8);
    QFETCH(bool, upcase);
    const TextEncoding encoding = utf8 ? TextEncoding::Utf8 : TextEncoding::Latin1;
    ReadOptions options;
    options.encoding = encoding;
    options.upcase = upcase;
    const QByteArray document = documentWith(cell);
    CategoryRows read = readCategories(document, options);
    QCOMPARE(read.size(), 2);

    QByteArray folded = cell;
    if (upcase)
        upcaseAscii(folded);
    QCOMPARE(read.text(0, PatternColumn), decodeText(folded, encoding));
    QCOMPARE(read.text(0, ThatColumn), decodeText(cell, encoding));
    QCOMPARE(read.text(0, TemplateColumn), decodeText(cell, encoding));

    // Written back, bytes and texts give the same document, before and after an edit.
    CategoryRows texts = asTexts(read);
    QCOMPARE(refreshText(read, document, encoding).text, refreshText(texts, document, encoding).text);
    const QString edited = QStringLiteral("new \u00e9");
    read.setText(0, ThatColumn, edited);
    texts.setText(0, ThatColumn, edited);
    QCOMPARE(read.text(0, ThatColumn), edited);
    QCOMPARE(refreshText(read, document, encoding).text, refreshText(texts, document, encoding).text);
}

void TestCategoryRows::ownBytesOutlivesTheSource()
{
    QByteArray buffer = documentWith("caf\xc3\xa9") + documentWith("two\r\nlines");
    ReadOptions options;
    options.upcase = true;
    CategoryRows rows = readCategories(QByteArray::fromRawData(buffer.constData(), buffer.size()), options);
    const test::Rows before = test::textsOf(rows);
    const QByteArray written = refreshText(rows, "</aiml>", TextEncoding::Utf8).text;
    rows.ownBytes();
    buffer.fill('x');
    QCOMPARE(test::textsOf(rows), before);
    QCOMPARE(refreshText(rows, "</aiml>", TextEncoding::Utf8).text, written);
    // Once more does nothing.
    rows.ownBytes();
    QCOMPARE(test::textsOf(rows), before);
}

void TestCategoryRows::editsSurviveCopiesAndSweeps()
{
    const QByteArray document = documentWith("ONE") + documentWith("TWO") + documentWith("THREE");
    CategoryRows rows = readCategories(document, ReadOptions());
    QCOMPARE(rows.size(), 4);
    rows.setText(0, TemplateColumn, QStringLiteral("edited"));
    rows.copyRow(0, 1);
    rows.setText(0, TemplateColumn, QStringLiteral("edited again"));
    QCOMPARE(rows.text(1, TemplateColumn), QStringLiteral("edited"));
    QCOMPARE(rows.text(1, LabelColumn), QStringLiteral("1"));
    // Many edits of one cell drop the texts no cell refers to, and keep the others.
    for (int i = 0; i < 5000; ++i)
        rows.setText(2, ThatColumn, QString::number(i));
    QCOMPARE(rows.text(2, ThatColumn), QStringLiteral("4999"));
    QCOMPARE(rows.text(0, TemplateColumn), QStringLiteral("edited again"));
    QCOMPARE(rows.text(1, TemplateColumn), QStringLiteral("edited"));
    QCOMPARE(rows.text(2, PatternColumn), QStringLiteral("THREE"));
    rows.setText(2, ThatColumn, QString());
    QVERIFY(rows.isEmpty(2, ThatColumn));
}

QTEST_APPLESS_MAIN(TestCategoryRows)
#include "tst_categoryrows.moc"
