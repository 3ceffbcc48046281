// What the preview offers while tags are typed: the element list at "<", the end tag after a
// start tag's ">", the element "</" closes. The position is where "|" stands in each text.

#include "document/TagCompletion.h"

#include <QTest>

using namespace vorrel;

namespace {

const QList<QByteArray> kTemplateElements = { "bot", "condition", "date", "formal", "gender", "get", "gossip", "id",
    "input", "javascript", "learn", "lowercase", "person", "person2", "random", "sentence", "set", "size", "sr", "srai",
    "star", "system", "that", "thatstar", "think", "topicstar", "uppercase", "version" };

QByteArray textOf(const QByteArray &marked)
{
    return QByteArray(marked).remove(marked.indexOf('|'), 1);
}

} // namespace

class TestTagCompletion final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void elementsAllowed_data();
    void elementsAllowed();
    void startTagEnding_data();
    void startTagEnding();
    void openElement_data();
    void openElement();
};

void TestTagCompletion::elementsAllowed_data()
{
    QTest::addColumn<QByteArray>("marked");
    QTest::addColumn<QList<QByteArray>>("expected");

    QList<QByteArray> withItems = kTemplateElements;
    withItems.append("li");
    std::sort(withItems.begin(), withItems.end());
    const QList<QByteArray> inAiml = { "category", "topic" };
    const QList<QByteArray> inCategory = { "pattern", "template", "that" };

    QTest::newRow("empty text") << QByteArray("|") << QList<QByteArray> { "aiml" };
    QTest::newRow("after the declaration")
        << QByteArray("<?xml version=\"1.0\"?>\r\n|") << QList<QByteArray> { "aiml" };
    QTest::newRow("inside aiml") << QByteArray("<aiml version=\"1.0\">\r\n|") << inAiml;
    QTest::newRow("between categories") << QByteArray(
        "<aiml>\r\n<category><pattern>A</pattern><template>B</template></category>\r\n|")
                                        << inAiml;
    QTest::newRow("inside a topic") << QByteArray("<aiml><topic name=\"X\">|") << QList<QByteArray> { "category" };
    QTest::newRow("inside a category") << QByteArray("<aiml><category>\r\n|") << inCategory;
    QTest::newRow("after the pattern") << QByteArray("<aiml><category><pattern>HI</pattern>|") << inCategory;
    QTest::newRow("tag being typed") << QByteArray("<aiml><category><pat|") << inCategory;
    QTest::newRow("inside a pattern") << QByteArray("<aiml><category><pattern>HI |") << QList<QByteArray> { "bot" };
    QTest::newRow("inside the category's that")
        << QByteArray("<category><pattern>A</pattern><that>|") << QList<QByteArray> { "bot" };
    QTest::newRow("inside a template") << QByteArray("<category><pattern>A</pattern><template>Hi |")
                                       << kTemplateElements;
    QTest::newRow("nested in a template") << QByteArray("<template><think><set name=\"a\">|") << kTemplateElements;
    QTest::newRow("empty-element tags") << QByteArray("<template><star/><get name=\"x\"/>|") << kTemplateElements;
    QTest::newRow("closed elements") << QByteArray("<template><srai>X</srai>|") << kTemplateElements;
    QTest::newRow("inside random") << QByteArray("<template><random>|") << QList<QByteArray> { "li" };
    QTest::newRow("inside condition") << QByteArray("<template><condition name=\"x\">|") << withItems;
    QTest::newRow("inside an item") << QByteArray("<template><random><li>|") << kTemplateElements;
    QTest::newRow("tags in a comment") << QByteArray("<aiml>\r\n<!-- <category><template> -->\r\n|") << inAiml;
    QTest::newRow("inside a comment") << QByteArray("<aiml><!-- a <b> |") << QList<QByteArray> {};
    QTest::newRow("inside CDATA") << QByteArray("<template><![CDATA[ x |") << QList<QByteArray> {};
    QTest::newRow("after CDATA") << QByteArray("<aiml><![CDATA[<category>]]>|") << inAiml;
    QTest::newRow("quoted > in a value") << QByteArray("<aiml><topic name=\"A>B\">|")
                                         << QList<QByteArray> { "category" };
}

void TestTagCompletion::elementsAllowed()
{
    QFETCH(QByteArray, marked);
    QFETCH(QList<QByteArray>, expected);
    QCOMPARE(elementsAllowedAt(textOf(marked), marked.indexOf('|')), expected);
}

void TestTagCompletion::startTagEnding_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("start tag") << QByteArray("<aiml><template>") << QByteArray("template");
    QTest::newRow("attributes") << QByteArray("<get name=\"x\">") << QByteArray("get");
    QTest::newRow("quoted >") << QByteArray("<set name='a>b'>") << QByteArray("set");
    QTest::newRow("inside a quoted value") << QByteArray("<set name=\"a>") << QByteArray();
    QTest::newRow("end tag") << QByteArray("<template>x</template>") << QByteArray();
    QTest::newRow("empty element") << QByteArray("<star/>") << QByteArray();
    QTest::newRow("comment") << QByteArray("<!-- x -->") << QByteArray();
    QTest::newRow("declaration") << QByteArray("<?xml version=\"1.0\"?>") << QByteArray();
    QTest::newRow("> in text") << QByteArray("<template>a >") << QByteArray();
    QTest::newRow("tag in a comment") << QByteArray("<!-- <b>") << QByteArray();
    QTest::newRow("after a comment opener in CDATA")
        << QByteArray("<template><![CDATA[<!--]]><think>") << QByteArray("think");
}

void TestTagCompletion::startTagEnding()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, name);
    QCOMPARE(startTagEndingAt(text, text.size()), name);
}

void TestTagCompletion::openElement_data()
{
    QTest::addColumn<QByteArray>("marked");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("innermost") << QByteArray("<aiml><category><template>Hi |") << QByteArray("template");
    QTest::newRow("after an end tag") << QByteArray("<aiml><category><template>Hi</template>|")
                                      << QByteArray("category");
    QTest::newRow("before the text") << QByteArray("<aiml><category>|<template>") << QByteArray("category");
    QTest::newRow("nothing open") << QByteArray("<aiml></aiml>|") << QByteArray();
    QTest::newRow("an arrow in the text")
        << QByteArray("<aiml><!-- c --><category><template>x --> y |") << QByteArray("template");
    QTest::newRow("a CDATA opener in a comment")
        << QByteArray("<aiml><!-- <![CDATA[ --><category>|") << QByteArray("category");
}

void TestTagCompletion::openElement()
{
    QFETCH(QByteArray, marked);
    QFETCH(QByteArray, name);
    QCOMPARE(openElementAt(textOf(marked), marked.indexOf('|')), name);
}

QTEST_APPLESS_MAIN(TestTagCompletion)
#include "tst_tagcompletion.moc"
