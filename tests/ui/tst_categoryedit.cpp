// The category commands on the main window: the table after create, edit and delete, the
// shortcuts against the focused control, and the clipboard commands on the preview.

#include "MainFormFixture.h"
#include "TableRows.h"

#include "app/Main.h"
#include "document/CategoryTable.h"
#include "document/Document.h"
#include "document/ui/PreviewEditor.h"
#include "editing/ui/SelEdit.h"
#include "prefs/ui/Options.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <Qsci/qsciscintilla.h>

using namespace vorrel;
using namespace vorrel::test;

namespace {

// The table reading leaves: three categories and the blank row after them.
Rows readTable()
{
    return { { "1", "HELLO", "", "Hi there" }, { "2", "BYE", "", "See you" }, { "3", "WHO", "", "Me" },
        { "4", "", "", "" } };
}

// What the dialog showed when it came up.
struct Shown
{
    QString editMode;
    QString pattern;
    QString that;
    QString templateText;
    QString topic;
};

} // namespace

class TestCategoryEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sequences_data();
    void sequences();
    void editLoadsTheCurrentRow();
    void editCancelThenCreateOffersTheLoadedCategory();
    void deleteLastRowLeavesItsTextAtTheEnd();
    void deleteRefusedAtOneRowAsksNothing();
    void deleteWithSeveralRowsSelectedTakesTheCurrentOne();
    void commandsLeaveThePreviewAlone();

    void shortcutsWinOverTheFocusedControl_data();
    void shortcutsWinOverTheFocusedControl();
    void shortcutsDoNothingWithoutDocument();
    void undoKeysReachOneHistory();

    void copyTakesThePreviewSelectionOnAnyPage();
    void copyWithoutSelectionCopiesNothing();
    void cutAndPasteChangeThePreview();
    void pasteWorksWithoutDocument();

private:
    void showActive();
    // Runs a command that opens the category dialog; fills the fields (unless `fields` is
    // empty) and presses `button`. Returns what the dialog showed when it came up.
    Shown throughDialog(QAction *command, const QStringList &fields, const QString &button);
    void deleteRow(int row, bool yes, bool *asked = nullptr);
    void makeCurrent(int row);

    ProgramDir m_dir { kQuietOpts };
    std::unique_ptr<TMainForm> m_form;
};

void TestCategoryEdit::init()
{
    QVERIFY(m_dir.isValid());
    m_form = startedMainForm();
    m_form->iButMenu(true);
    m_form->frmOptions->upcase->setChecked(false);
}

void TestCategoryEdit::cleanup()
{
    cancelModalWaits();
    m_form.reset();
}

void TestCategoryEdit::showActive()
{
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

Shown TestCategoryEdit::throughDialog(QAction *command, const QStringList &fields, const QString &button)
{
    auto shown = std::make_shared<Shown>();
    whenModal(QStringLiteral("frmSelEdit"), [fields, button, shown](QWidget *modal) {
        auto *d = static_cast<TfrmSelEdit *>(modal);
        *shown
            = Shown { d->editMode, d->txtPattern->text(), d->txtThat->text(), d->templateText(), d->txtTopic->text() };
        if (fields.size() == 3) {
            d->txtPattern->setText(fields[0]);
            d->txtThat->setText(fields[1]);
            d->template_->setPlainText(fields[2]);
        }
        d->findChild<QPushButton *>(button)->click();
    });
    command->trigger();
    return *shown;
}

void TestCategoryEdit::deleteRow(int row, bool yes, bool *asked)
{
    makeCurrent(row);
    auto seen = std::make_shared<bool>(false);
    whenModal(QStringLiteral("DeleteConfirm"), [yes, seen](QWidget *modal) {
        auto *box = static_cast<QMessageBox *>(modal);
        *seen = box->text() == QLatin1String("Are you sure you want to delete this category?")
            && box->standardButtons() == (QMessageBox::Yes | QMessageBox::No);
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    m_form->mnuSelDelete->trigger();
    cancelModalWaits();
    if (asked)
        *asked = *seen;
    else
        QVERIFY(*seen);
}

void TestCategoryEdit::makeCurrent(int row)
{
    m_form->sg1->setCurrentIndex(m_form->table()->index(row - 1, 1));
    QCOMPARE(m_form->currentRow(), row);
}

void TestCategoryEdit::sequences_data()
{
    QTest::addColumn<Rows>("start");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<Rows>("end");

    // Steps: "create P|T|M" (OK), "cancel-create P|T|M", "edit ROW P|T|M" (OK),
    // "cancel-edit ROW P|T|M", "delete ROW yes|no", "cell ROW COLUMN TEXT" (typed into the grid),
    // "undo WHAT" and "redo WHAT" (Edit > Undo or Redo, which must say "&Undo WHAT").
    QTest::newRow("delete row 2, then create") << readTable() << QStringList { "delete 2 yes", "create NEW|that|tmpl" }
                                               << Rows { { "1", "HELLO", "", "Hi there" }, { "3", "WHO", "", "Me" },
                                                      { "4", "", "", "" }, { "4", "NEW", "that", "tmpl" } };
    QTest::newRow("delete the blank last row")
        << readTable() << QStringList { "delete 4 yes" }
        << Rows { { "1", "HELLO", "", "Hi there" }, { "2", "BYE", "", "See you" }, { "3", "WHO", "", "Me" } };
    QTest::newRow("delete row 1 moves the labels up")
        << readTable() << QStringList { "delete 1 yes" }
        << Rows { { "2", "BYE", "", "See you" }, { "3", "WHO", "", "Me" }, { "4", "", "", "" } };
    QTest::newRow("No leaves the table") << readTable() << QStringList { "delete 2 no" } << readTable();
    QTest::newRow("new document, create goes below the blank row")
        << Rows { { "1", "", "", "" } } << QStringList { "create HI|||Hello" }
        << Rows { { "1", "", "", "" }, { "2", "HI", "", "|Hello" } };
    QTest::newRow("create after reading")
        << readTable() << QStringList { "create X|Y|Z" }
        << Rows { { "1", "HELLO", "", "Hi there" }, { "2", "BYE", "", "See you" }, { "3", "WHO", "", "Me" },
               { "4", "", "", "" }, { "5", "X", "Y", "Z" } };
    QTest::newRow("cancelled create adds nothing")
        << readTable() << QStringList { "cancel-create X|Y|Z" } << readTable();
    QTest::newRow("edit keeps the label")
        << Rows { { "1", "A", "", "a" }, { "9", "B", "b", "b" } } << QStringList { "edit 2 BB||line1\nline2" }
        << Rows { { "1", "A", "", "a" }, { "9", "BB", "", "line1\nline2" } };
    QTest::newRow("cancelled edit changes nothing")
        << readTable() << QStringList { "cancel-edit 2 X|Y|Z" } << readTable();
    QTest::newRow("deleting down to one row, then create")
        << Rows { { "1", "A", "", "a" }, { "2", "B", "", "b" } } << QStringList { "delete 1 yes", "create C||c" }
        << Rows { { "2", "B", "", "b" }, { "2", "C", "", "c" } };
    // What stood before a deleted category goes on before the next one.
    const Rows commented { { "1", "A", "", "a", "", "<!-- a -->" }, { "2", "B", "", "b", "T", "<!-- b -->" },
        { "3", "C", "", "c" } };
    QTest::newRow("delete hands the text before it on")
        << commented << QStringList { "delete 1 yes", "delete 2 yes" }
        << Rows { { "2", "B", "", "b", "T", "<!-- a -->\n<!-- b -->" } };
    // Each command is one step of the table's history; Undo puts back exactly what was there.
    QTest::newRow("delete undone: the row and its text come back")
        << commented << QStringList { "delete 1 yes", "undo Delete Category" } << commented;
    QTest::newRow("delete undone and redone: the labels skip again")
        << readTable() << QStringList { "delete 2 yes", "undo Delete Category", "redo Delete Category" }
        << Rows { { "1", "HELLO", "", "Hi there" }, { "3", "WHO", "", "Me" }, { "4", "", "", "" } };
    QTest::newRow("every command undone in turn")
        << readTable()
        << QStringList { "create X||x", "edit 1 H||h", "delete 3 yes", "cell 2 4 games", "undo Edit Cell",
               "undo Delete Category", "undo Edit Category", "undo Create Category", "redo Create Category",
               "undo Create Category" }
        << readTable();
    QTest::newRow("a later append repeats a shown label")
        << readTable() << QStringList { "delete 2 yes", "create A||a", "create B||b" }
        << Rows { { "1", "HELLO", "", "Hi there" }, { "3", "WHO", "", "Me" }, { "4", "", "", "" },
               { "4", "A", "", "a" }, { "5", "B", "", "b" } };
}

void TestCategoryEdit::sequences()
{
    QFETCH(Rows, start);
    QFETCH(QStringList, steps);
    QFETCH(Rows, end);

    setRows(*m_form->table(), start);
    for (const QString &step : steps) {
        const QStringList words = step.split(QLatin1Char(' '));
        const QString &verb = words[0];
        if (verb.endsWith(QLatin1String("create"))) {
            const QStringList fields = words.mid(1).join(QLatin1Char(' ')).split(QLatin1Char('|'));
            // "HI|||Hello" means an empty that and the template "|Hello".
            const QStringList three { fields.value(0), fields.value(1), fields.mid(2).join(QLatin1Char('|')) };
            const Shown shown
                = throughDialog(m_form->mnuCreateNew, three, verb == QLatin1String("create") ? "cmdOK" : "cmdCancel");
            QCOMPARE(shown.editMode, QStringLiteral("create"));
        } else if (verb.endsWith(QLatin1String("edit"))) {
            const int row = words[1].toInt();
            makeCurrent(row);
            const QStringList fields = words.mid(2).join(QLatin1Char(' ')).split(QLatin1Char('|'));
            const QString before = m_form->table()->cell(1, row);
            const Shown shown
                = throughDialog(m_form->mnuSelEdit, fields, verb == QLatin1String("edit") ? "cmdOK" : "cmdCancel");
            QCOMPARE(shown.editMode, QStringLiteral("edit"));
            QCOMPARE(shown.pattern, before);
            QCOMPARE(m_form->frmSelEdit->editRow, row);
        } else if (verb == QLatin1String("cell")) {
            const QModelIndex cell = m_form->table()->index(words[1].toInt() - 1, words[2].toInt());
            QVERIFY(m_form->table()->setData(cell, words.mid(3).join(QLatin1Char(' '))));
        } else if (verb == QLatin1String("undo") || verb == QLatin1String("redo")) {
            // The table's history is the one on the Categories page.
            m_form->mnuCategoriesClick();
            QAction *item = verb == QLatin1String("undo") ? m_form->EditUndoItem : m_form->EditRedoItem;
            QCOMPARE(item->text(), QLatin1Char('&') + step.at(0).toUpper() + step.mid(1));
            QVERIFY(item->isEnabled());
            item->trigger();
        } else {
            deleteRow(words[1].toInt(), words[2] == QLatin1String("yes"));
        }
    }
    QCOMPARE(rowsOf(*m_form->table()), end);
}

void TestCategoryEdit::editLoadsTheCurrentRow()
{
    setRows(*m_form->table(),
        { { "1", "HELLO", "", "a", "chat" }, { "2", "HOW ARE YOU", "ok", "Fine\r\nthanks", "health" } });
    makeCurrent(2);
    const Shown shown = throughDialog(m_form->mnuSelEdit, {}, QStringLiteral("cmdCancel"));
    QCOMPARE(shown.pattern, QStringLiteral("HOW ARE YOU"));
    QCOMPARE(shown.that, QStringLiteral("ok"));
    QCOMPARE(shown.templateText, QStringLiteral("Fine\nthanks"));
    QCOMPARE(shown.topic, QStringLiteral("health"));
    QCOMPARE(m_form->frmSelEdit->template_->blockCount(), 2);

    // Create New starts with the current row's topic; the category still goes last.
    makeCurrent(1);
    const Shown created = throughDialog(m_form->mnuCreateNew, { "NEW", "", "n" }, QStringLiteral("cmdOK"));
    QCOMPARE(created.topic, QStringLiteral("chat"));
    QCOMPARE(rowsOf(*m_form->table()).back(), (QStringList { "3", "NEW", "", "n", "chat" }));
}

void TestCategoryEdit::editCancelThenCreateOffersTheLoadedCategory()
{
    setRows(*m_form->table(), readTable());
    m_form->frmOptions->upcase->setChecked(true);
    makeCurrent(2);
    throughDialog(m_form->mnuSelEdit, {}, QStringLiteral("cmdCancel"));
    const Shown shown = throughDialog(m_form->mnuCreateNew, {}, QStringLiteral("cmdOK"));
    QCOMPARE(shown.editMode, QStringLiteral("create"));
    QCOMPARE(shown.pattern, QStringLiteral("BYE"));
    QCOMPARE(shown.templateText, QStringLiteral("See you"));
    Rows expected = readTable();
    expected << QStringList { "5", "BYE", "", "See you" };
    QCOMPARE(rowsOf(*m_form->table()), expected);
    // OK emptied the fields: the next Create New starts blank.
    const Shown next = throughDialog(m_form->mnuCreateNew, {}, QStringLiteral("cmdCancel"));
    QCOMPARE(next.pattern, QString());
    QCOMPARE(next.templateText, QString());
}

void TestCategoryEdit::deleteLastRowLeavesItsTextAtTheEnd()
{
    setRows(*m_form->table(), { { "1", "A", "", "a" }, { "2", "B", "", "b", "", "<!-- b -->" } });
    m_form->table()->setTrailingText(QStringLiteral("<!-- end -->"));
    deleteRow(2, true);
    QCOMPARE(rowsOf(*m_form->table()), (Rows { { "1", "A", "", "a" } }));
    QCOMPARE(m_form->table()->trailingText(), QStringLiteral("<!-- b -->\n<!-- end -->"));
    m_form->mnuCategoriesClick();
    m_form->EditUndoItem->trigger();
    QCOMPARE(rowsOf(*m_form->table()), (Rows { { "1", "A", "", "a" }, { "2", "B", "", "b", "", "<!-- b -->" } }));
    QCOMPARE(m_form->table()->trailingText(), QStringLiteral("<!-- end -->"));
}

void TestCategoryEdit::deleteRefusedAtOneRowAsksNothing()
{

    setRows(*m_form->table(), { { "1", "ONLY", "", "row" } });
    bool asked = true;
    deleteRow(1, true, &asked);
    QVERIFY(!asked);
    QCOMPARE(rowsOf(*m_form->table()), (Rows { { "1", "ONLY", "", "row" } }));
}

void TestCategoryEdit::deleteWithSeveralRowsSelectedTakesTheCurrentOne()
{
    setRows(*m_form->table(), readTable());
    QTableView *grid = m_form->sg1;
    const QModelIndex top = m_form->table()->index(0, 1);
    const QModelIndex current = m_form->table()->index(2, 2);
    grid->setCurrentIndex(current);
    grid->selectionModel()->select(QItemSelection(top, current), QItemSelectionModel::ClearAndSelect);
    // Three rows, two columns each.
    QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 6);
    auto answered = std::make_shared<bool>(false);
    whenModal(QStringLiteral("DeleteConfirm"), [answered](QWidget *modal) {
        *answered = true;
        static_cast<QMessageBox *>(modal)->button(QMessageBox::Yes)->click();
    });
    m_form->mnuSelDelete->trigger();
    QVERIFY(*answered);
    QCOMPARE(rowsOf(*m_form->table()),
        (Rows { { "1", "HELLO", "", "Hi there" }, { "2", "BYE", "", "See you" }, { "4", "", "", "" } }));
}

void TestCategoryEdit::commandsLeaveThePreviewAlone()
{
    setRows(*m_form->table(), readTable());
    m_form->code->setText(QStringLiteral("<aiml>\r\n</aiml>\r\n"));
    m_form->document()->setDocChanged(false);
    const QByteArray before = previewBytes(*m_form);
    throughDialog(m_form->mnuCreateNew, { "NEW", "", "x" }, QStringLiteral("cmdOK"));
    makeCurrent(1);
    throughDialog(m_form->mnuSelEdit, { "EDITED", "", "y" }, QStringLiteral("cmdOK"));
    deleteRow(2, true);
    QCOMPARE(previewBytes(*m_form), before);
    QVERIFY(!m_form->document()->DocChanged());
    QCOMPARE(m_form->table()->cell(1, 1), QStringLiteral("EDITED"));
}

void TestCategoryEdit::shortcutsWinOverTheFocusedControl_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("modal");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("rowGone");

    const auto row = [](const char *name, const char *place, Qt::Key key, Qt::KeyboardModifiers modifiers,
                         const char *modal, const char *answer, bool rowGone) {
        QTest::newRow(name) << QString::fromUtf8(place) << int(key) << static_cast<int>(modifiers.toInt())
                            << QString::fromUtf8(modal) << QString::fromUtf8(answer) << rowGone;
    };
    row("Ctrl+Del in the preview, No", "preview", Qt::Key_Delete, Qt::ControlModifier, "DeleteConfirm", "No", false);
    row("Ctrl+Del in the preview, Yes", "preview", Qt::Key_Delete, Qt::ControlModifier, "DeleteConfirm", "Yes", true);
    row("Ctrl+Del in a cell being edited, No", "cell", Qt::Key_Delete, Qt::ControlModifier, "DeleteConfirm", "No",
        false);
    row("Ctrl+Del in a cell being edited, Yes", "cell", Qt::Key_Delete, Qt::ControlModifier, "DeleteConfirm", "Yes",
        true);
    row("F1 in the preview", "preview", Qt::Key_F1, Qt::NoModifier, "frmSelEdit", "cmdCancel", false);
    row("F2 in a cell being edited", "cell", Qt::Key_F2, Qt::NoModifier, "frmSelEdit", "cmdCancel", false);
    row("F1 on the grid", "grid", Qt::Key_F1, Qt::NoModifier, "frmSelEdit", "cmdCancel", false);
}

void TestCategoryEdit::shortcutsWinOverTheFocusedControl()
{
    QFETCH(QString, place);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, modal);
    QFETCH(QString, answer);
    QFETCH(bool, rowGone);

    setRows(*m_form->table(), readTable());
    showActive();
    const QString previewText = QStringLiteral("hello world");
    m_form->code->setText(previewText);
    makeCurrent(2);
    if (place == QLatin1String("preview")) {
        m_form->tabs->setCurrentIndex(1);
        m_form->code->setFocus();
        m_form->code->setCursorPosition(0, 0);
        QTRY_VERIFY(m_form->code->hasFocus());
    } else {
        m_form->tabs->setCurrentIndex(0);
        m_form->sg1->setFocus();
        QTRY_VERIFY(m_form->sg1->hasFocus());
        if (place == QLatin1String("cell")) {
            m_form->sg1->edit(m_form->sg1->currentIndex());
            QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cellEditor"));
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" more"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        }
    }
    QWidget *target = QApplication::focusWidget();
    QVERIFY(target && target->window() == m_form.get());

    auto shown = std::make_shared<Shown>();
    whenModal(modal, [answer, shown](QWidget *w) {
        shown->editMode = w->objectName();
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            box->button(answer == QLatin1String("Yes") ? QMessageBox::Yes : QMessageBox::No)->click();
        } else {
            shown->pattern = static_cast<TfrmSelEdit *>(w)->txtPattern->text();
            w->findChild<QPushButton *>(answer)->click();
        }
    });
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_COMPARE(shown->editMode, modal);

    // The key went to the command, not to the control: no text was deleted anywhere.
    QCOMPARE(m_form->code->text(), previewText);
    const Rows rows = rowsOf(*m_form->table());
    QCOMPARE(rows.size(), rowGone ? 3 : 4);
    if (rowGone) {
        QCOMPARE(rows[1], (QStringList { "3", "WHO", "", "Me" }));
    } else if (place == QLatin1String("cell")) {
        // The command ended the cell edit first, keeping what was typed, whole.
        QCOMPARE(m_form->table()->cell(1, 2), QStringLiteral("BYE more"));
        QVERIFY(!m_form->sg1->indexWidget(m_form->sg1->currentIndex()));
        if (key == Qt::Key_F2)
            QCOMPARE(shown->pattern, QStringLiteral("BYE more"));
    } else {
        QCOMPARE(rows, readTable());
    }
}

void TestCategoryEdit::shortcutsDoNothingWithoutDocument()
{
    setRows(*m_form->table(), readTable());
    m_form->iButMenu(false);
    showActive();
    QVERIFY(!m_form->EditCopyItem->isEnabled());
    QVERIFY(!m_form->SpeedButton7->isEnabled());
    auto opened = std::make_shared<int>(0);
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : m_form.get();
    for (const QKeyCombination keys : { QKeyCombination(Qt::Key_F1), QKeyCombination(Qt::Key_F2),
             QKeyCombination(Qt::ControlModifier, Qt::Key_Delete) }) {
        whenModal(QStringLiteral("frmSelEdit"), [opened](QWidget *w) {
            ++*opened;
            static_cast<QDialog *>(w)->reject();
        });
        whenModal(QStringLiteral("DeleteConfirm"), [opened](QWidget *w) {
            ++*opened;
            static_cast<QDialog *>(w)->reject();
        });
        QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
        QTest::qWait(100);
        cancelModalWaits();
    }
    QCOMPARE(*opened, 0);
    QCOMPARE(rowsOf(*m_form->table()), readTable());
}

// Ctrl+Z in a cell being edited takes back the typing there, and leaves the table's steps alone.
void TestCategoryEdit::undoKeysReachOneHistory()
{
    setRows(*m_form->table(), readTable());
    showActive();
    m_form->tabs->setCurrentIndex(0);
    makeCurrent(2);
    m_form->table()->setData(m_form->sg1->currentIndex(), QStringLiteral("BYE NOW"));
    m_form->sg1->setFocus();
    m_form->sg1->edit(m_form->sg1->currentIndex());
    QTRY_VERIFY(QApplication::focusWidget() && QApplication::focusWidget()->objectName() == u"cellEditor");
    QWidget *editor = QApplication::focusWidget();
    QTest::keyClicks(editor, QStringLiteral(" more"));
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(m_form->table()->cell(PatternColumn, 2), QStringLiteral("BYE NOW"));
    QVERIFY(!m_form->EditRedoItem->isEnabled());
}

void TestCategoryEdit::copyTakesThePreviewSelectionOnAnyPage()
{
    setRows(*m_form->table(), readTable());
    showActive();
    m_form->code->setText(QStringLiteral("alpha beta\r\ngamma"));
    m_form->code->selectAll(true);
    m_form->tabs->setCurrentIndex(0);
    makeCurrent(1);
    m_form->sg1->setFocus();
    QTRY_VERIFY(m_form->sg1->hasFocus());

    QApplication::clipboard()->setText(QStringLiteral("before"));
    m_form->EditCopyItem->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("alpha beta\r\ngamma"));

    m_form->code->setSelection(0, 6, 0, 10);
    m_form->tabs->setCurrentIndex(2);
    QTest::mouseClick(m_form->SpeedButton7, Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("beta"));
}

void TestCategoryEdit::copyWithoutSelectionCopiesNothing()
{
    m_form->code->setText(QStringLiteral("alpha"));
    m_form->code->setCursorPosition(0, 2);
    QVERIFY(!m_form->code->hasSelectedText());
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    m_form->EditCopyItem->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
}

void TestCategoryEdit::cutAndPasteChangeThePreview()
{
    m_form->code->setText(QStringLiteral("alpha beta"));
    m_form->document()->setDocChanged(false);
    m_form->code->setSelection(0, 0, 0, 6);
    m_form->mnuCut->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("alpha "));
    QCOMPARE(m_form->code->text(), QStringLiteral("beta"));
    QVERIFY(m_form->document()->DocChanged());

    m_form->document()->setDocChanged(false);
    m_form->code->setCursorPosition(0, 4);
    m_form->mnuPaste->trigger();
    QCOMPARE(m_form->code->text(), QStringLiteral("betaalpha "));
    QVERIFY(m_form->document()->DocChanged());

    // Paste replaces the selection.
    QApplication::clipboard()->setText(QStringLiteral("X"));
    m_form->code->setSelection(0, 0, 0, 4);
    m_form->mnuPaste->trigger();
    QCOMPARE(m_form->code->text(), QStringLiteral("Xalpha "));
}

void TestCategoryEdit::pasteWorksWithoutDocument()
{
    m_form->iButMenu(false);
    QVERIFY(m_form->mnuPaste->isEnabled());
    QVERIFY(m_form->mnuCut->isEnabled());
    m_form->document()->setDocChanged(false);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    m_form->mnuPaste->trigger();
    QCOMPARE(m_form->code->text(), QStringLiteral("pasted"));
    QVERIFY(m_form->document()->DocChanged());
}

QTEST_MAIN(TestCategoryEdit)
#include "tst_categoryedit.moc"
