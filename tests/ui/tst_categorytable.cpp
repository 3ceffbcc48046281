#include "document/AimlReader.h"
#include "document/CategoryTable.h"
#include "document/ui/CellDelegate.h"

#include "TableRows.h"

#include <QAbstractItemModelTester>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using vorrel::CategoryRows;
using vorrel::CategoryTable;

namespace {
QStringList labels(const CategoryTable &t)
{
    return t.column(0).mid(1);
}

CategoryTable *tableWithLabels(int rows, QObject *parent)
{
    auto *t = new CategoryTable(parent);
    t->setGridRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        t->setCell(0, r, QString::number(r));
        t->setCell(1, r, QStringLiteral("P%1").arg(r));
        t->setCell(3, r, QStringLiteral("T%1").arg(r));
    }
    return t;
}
} // namespace

class TestCategoryTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modelContract();
    void emptyTable();
    void rowCount_data();
    void rowCount();
    void grownRowsStartEmpty();
    void copyRowMovesLabel();
    void columnListsHeaderFirst();
    void resetKeepsRowOneLabel();
    void headerIsHeaderData();
    void labelColumnNotEditable();
    void assignRowsReplacesAll();
    void cellEditKeepsLineBreaks_data();
    void cellEditKeepsLineBreaks();
    void untouchedCellKeepsLoneLineFeeds();
    void editedCellKeepsNoBreakSpaces();
};

void TestCategoryTable::modelContract()
{
    CategoryTable t;
    QAbstractItemModelTester tester(&t, QAbstractItemModelTester::FailureReportingMode::QtTest);
    t.setGridRowCount(10);
    t.setCell(2, 5, QStringLiteral("x"));
    t.copyRow(5, 2);
    t.setGridRowCount(3);
    t.reset();
    CategoryRows four;
    four.resize(4);
    t.assignRows(four);
    t.setGridRowCount(1);
    QCOMPARE(t.gridRowCount(), 2);
}

void TestCategoryTable::emptyTable()
{
    CategoryTable t;
    QCOMPARE(t.gridRowCount(), 2);
    QCOMPARE(t.rowCount(), 1);
    QCOMPARE(t.columnCount(), 5);
    for (int c = 0; c < CategoryRows::kColumns; ++c) {
        QVERIFY(t.cell(c, 0).isEmpty());
        QVERIFY(t.cell(c, 1).isEmpty());
    }
    // Outside the grid reads as empty and writes go nowhere.
    t.setCell(1, 7, QStringLiteral("lost"));
    QVERIFY(t.cell(1, 7).isEmpty());
    QCOMPARE(t.gridRowCount(), 2);
}

void TestCategoryTable::rowCount_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("expected");
    QTest::newRow("grow") << 6 << 6;
    QTest::newRow("two") << 2 << 2;
    QTest::newRow("one is raised to two") << 1 << 2;
    QTest::newRow("zero is raised to two") << 0 << 2;
    QTest::newRow("large") << 100001 << 100001;
}

void TestCategoryTable::rowCount()
{
    QFETCH(int, set);
    QFETCH(int, expected);
    CategoryTable t;
    t.setGridRowCount(set);
    QCOMPARE(t.gridRowCount(), expected);
    QCOMPARE(t.rowCount(), expected - 1);
}

void TestCategoryTable::grownRowsStartEmpty()
{
    QObject owner;
    CategoryTable *t = tableWithLabels(10, &owner);
    t->setGridRowCount(3);
    t->setGridRowCount(11);
    QCOMPARE(t->cell(1, 2), QStringLiteral("P2"));
    for (int r = 3; r < 11; ++r)
        for (int c = 0; c < 4; ++c)
            QVERIFY(t->cell(c, r).isEmpty());
}

void TestCategoryTable::copyRowMovesLabel()
{
    QObject owner;
    CategoryTable *t = tableWithLabels(4, &owner);
    QSignalSpy changed(t, &CategoryTable::dataChanged);
    // Deleting row 2 the way the command does: every row below moves up, label and all.
    for (int r = 2; r < t->gridRowCount() - 1; ++r)
        t->copyRow(r + 1, r);
    t->setGridRowCount(t->gridRowCount() - 1);
    QCOMPARE(labels(*t), QStringList({ "1", "3", "4" }));
    QCOMPARE(t->cell(1, 2), QStringLiteral("P3"));
    QCOMPARE(t->cell(3, 3), QStringLiteral("T4"));
    QCOMPARE(changed.count(), 2);
}

void TestCategoryTable::columnListsHeaderFirst()
{
    QObject owner;
    CategoryTable *t = tableWithLabels(2, &owner);
    t->setCell(1, 0, QStringLiteral("<pattern>..</pattern>"));
    QCOMPARE(t->column(1), QStringList({ "<pattern>..</pattern>", "P1", "P2" }));
    QCOMPARE(t->column(2), QStringList({ "", "", "" }));
    QVERIFY(t->column(CategoryRows::kColumns).isEmpty());
}

void TestCategoryTable::resetKeepsRowOneLabel()
{
    QObject owner;
    CategoryTable *t = tableWithLabels(3, &owner);
    t->setCell(2, 1, QStringLiteral("that"));
    t->setCell(vorrel::LeadingTextColumn, 1, QStringLiteral("<!-- c -->"));
    t->setTrailingText(QStringLiteral("<!-- end -->"));
    t->reset();
    QCOMPARE(t->gridRowCount(), 2);
    QCOMPARE(t->cell(0, 1), QStringLiteral("1"));
    for (int c = 1; c < CategoryRows::kColumns; ++c)
        QVERIFY(t->cell(c, 1).isEmpty());
    QVERIFY(t->trailingText().isEmpty());
}

void TestCategoryTable::headerIsHeaderData()
{
    CategoryTable t;
    QSignalSpy spy(&t, &CategoryTable::headerDataChanged);
    t.setCell(3, 0, QStringLiteral("<template>..</template>"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(t.headerData(3, Qt::Horizontal).toString(), QStringLiteral("<template>..</template>"));
    QCOMPARE(t.rowCount(), 1);
    QVERIFY(t.cell(3, 1).isEmpty());
}

void TestCategoryTable::labelColumnNotEditable()
{
    CategoryTable t;
    QVERIFY(!(t.flags(t.index(0, 0)) & Qt::ItemIsEditable));
    for (int c = 1; c < CategoryTable::kColumns; ++c)
        QVERIFY(t.flags(t.index(0, c)) & Qt::ItemIsEditable);
    QVERIFY(!t.setData(t.index(0, 0), QStringLiteral("9")));
    QVERIFY(t.setData(t.index(0, 1), QStringLiteral("HELLO")));
    QCOMPARE(t.cell(1, 1), QStringLiteral("HELLO"));
    QVERIFY(t.setData(t.index(0, vorrel::TopicColumn), QStringLiteral("games")));
    QCOMPARE(t.cell(vorrel::TopicColumn, 1), QStringLiteral("games"));
}

void TestCategoryTable::assignRowsReplacesAll()
{
    QObject owner;
    CategoryTable *t = tableWithLabels(5, &owner);
    CategoryRows rows = vorrel::test::categoryRows(
        { { QStringLiteral("1"), QStringLiteral("A"), QString(), QStringLiteral("B") }, { QStringLiteral("2") } });
    QSignalSpy reset(t, &CategoryTable::modelReset);
    t->assignRows(std::move(rows));
    QCOMPARE(reset.count(), 1);
    QCOMPARE(t->gridRowCount(), 3);
    QCOMPARE(t->cell(1, 1), QStringLiteral("A"));
    QVERIFY(t->cell(1, 2).isEmpty());
    t->assignRows({});
    QCOMPARE(t->gridRowCount(), 2);
}

void TestCategoryTable::cellEditKeepsLineBreaks_data()
{
    QTest::addColumn<QByteArray>("eol");
    QTest::newRow("LF document") << QByteArray("\n");
    QTest::newRow("CR LF document") << QByteArray("\r\n");
}

// Lines typed into a cell end as the document's do.
void TestCategoryTable::cellEditKeepsLineBreaks()
{
    QFETCH(QByteArray, eol);
    CategoryTable t;
    t.assignRows(vorrel::readCategories(
        "<category><pattern>A</pattern><template>line one" + eol + "line two</template>" + eol, {}));
    QTableView view;
    view.setModel(&t);
    vorrel::CellDelegate delegate;
    view.setItemDelegate(&delegate);
    const QModelIndex index = t.index(0, 3);
    // The grid shows the cell on one line.
    QVERIFY(!t.data(index, Qt::DisplayRole).toString().contains(QLatin1Char('\n')));

    QWidget *editor = delegate.createEditor(view.viewport(), QStyleOptionViewItem(), index);
    auto *box = qobject_cast<QPlainTextEdit *>(editor);
    QVERIFY(box);
    delegate.setEditorData(editor, index);
    QCOMPARE(box->toPlainText(), QStringLiteral("line one\nline two"));
    box->appendPlainText(QStringLiteral("line three"));
    delegate.setModelData(editor, &t, index);
    QCOMPARE(t.cell(3, 1), QString::fromLatin1("line one" + eol + "line two" + eol + "line three"));
    delete editor;
}

void TestCategoryTable::untouchedCellKeepsLoneLineFeeds()
{
    CategoryTable t;
    const QString mixed = QStringLiteral("a\nb\r\nc");
    t.setCell(1, 1, mixed);
    vorrel::CellDelegate delegate;
    QWidget parent;
    const QModelIndex index = t.index(0, 1);
    QWidget *editor = delegate.createEditor(&parent, QStyleOptionViewItem(), index);
    delegate.setEditorData(editor, index);
    delegate.setModelData(editor, &t, index);
    QCOMPARE(t.cell(1, 1), mixed);
}

void TestCategoryTable::editedCellKeepsNoBreakSpaces()
{
    CategoryTable t;
    t.setCell(3, 1, QStringLiteral("caf\u00e9\u00a0au lait"));
    vorrel::CellDelegate delegate;
    QWidget parent;
    const QModelIndex index = t.index(0, 3);
    QWidget *editor = delegate.createEditor(&parent, QStyleOptionViewItem(), index);
    delegate.setEditorData(editor, index);
    static_cast<QPlainTextEdit *>(editor)->appendPlainText(QStringLiteral("more"));
    delegate.setModelData(editor, &t, index);
    QCOMPARE(t.cell(3, 1), QStringLiteral("caf\u00e9\u00a0au lait\nmore"));
}

QTEST_MAIN(TestCategoryTable)
#include "tst_categorytable.moc"
