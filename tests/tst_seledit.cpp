// The category dialog through its own controls: layout, keyboard, OK in both modes, and the
// AutoText insertions with their input box and error messages.

#include "MainFormFixture.h"
#include "TableRows.h"

#include "document/AimlReader.h"
#include "document/CategoryTable.h"
#include "document/DocumentController.h"
#include "editing/CategoryEdit.h"
#include "editing/SelEdit.h"
#include "widgets/ThemeColors.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

using namespace vorrel;
using namespace vorrel::test;

namespace {

// The table's document is a new one, whose lines end in LF.
QString lines(const QStringList &list)
{
    return list.join(QLatin1Char('\n'));
}

QStringList randomList(int items)
{
    QStringList list { QStringLiteral("<random>") };
    for (int i = 0; i < items; ++i)
        list << QStringLiteral("<li>..</li>");
    list << QStringLiteral("</random>");
    return list;
}

} // namespace

class TestSelEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsAndCaptions();
    void tagsStandAroundFields_data();
    void tagsStandAroundFields();
    void keyboardOrder();
    void okCreatesLabelledLastRow_data();
    void okCreatesLabelledLastRow();
    void okEditsOnlyEditRow();
    void okEmptiesFieldsCancelKeepsThem_data();
    void okEmptiesFieldsCancelKeepsThem();
    void enterInOneLineFieldsPressesOk_data();
    void enterInOneLineFieldsPressesOk();
    void enterInTemplateStartsNewLine();
    void editModeLoadsLineBreaksIntoTemplate();
    void srai_data();
    void srai();
    void autoTextMenuOffersSraiRandomAndGreyJavascript();
    void random_data();
    void random();
    void randomCancelAddsNothing();
    void autoTextIsOneStepOfTheBox();

private:
    // Shows the dialog without a modal loop of its own; the input box and error box still run theirs.
    void showDialog();
    // Chooses RANDOM and answers the input box; returns the text of the error box that the
    // answer is expected to bring up.
    QString answerRandom(const QString &answer, bool expectError);

    std::unique_ptr<DocumentController> m_document;
    CategoryTable *m_table = nullptr;
    std::unique_ptr<QCheckBox> m_upcase;
    std::unique_ptr<TfrmSelEdit> m_dialog;
};

void TestSelEdit::init()
{
    m_document = std::make_unique<DocumentController>();
    m_table = m_document->table();
    m_upcase = std::make_unique<QCheckBox>();
    m_upcase->setChecked(true);
    m_dialog = std::make_unique<TfrmSelEdit>();
    m_dialog->attach(m_document.get(), [this] { return m_upcase->isChecked(); });
}

void TestSelEdit::cleanup()
{
    m_dialog.reset();
    m_upcase.reset();
    m_document.reset();
}

void TestSelEdit::showDialog()
{
    m_dialog->show();
    m_dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

QString TestSelEdit::answerRandom(const QString &answer, bool expectError)
{
    auto errorText = std::make_shared<QString>();
    whenModal(QStringLiteral("RANDOM"), [answer, expectError, errorText](QWidget *box) {
        auto *input = box->findChild<QLineEdit *>();
        QVERIFY(input);
        QVERIFY(input->text().isEmpty());
        QTest::keyClicks(input, answer);
        if (expectError) {
            whenModal(QStringLiteral("ErrorBox"), [errorText](QWidget *error) {
                *errorText = static_cast<QMessageBox *>(error)->text();
                static_cast<QMessageBox *>(error)->button(QMessageBox::Ok)->click();
            });
        }
        box->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    m_dialog->RANDOM1->trigger();
    return *errorText;
}

void TestSelEdit::controlsAndCaptions()
{
    TfrmSelEdit &d = *m_dialog;
    QCOMPARE(d.objectName(), QStringLiteral("frmSelEdit"));
    QCOMPARE(d.windowTitle(), QStringLiteral("Category"));
    QCOMPARE(d.Script->title(), QStringLiteral("Script"));
    QCOMPARE(d.Label1->text(), QStringLiteral("<category>"));
    QCOMPARE(d.Label4->text(), QStringLiteral("<template>"));
    QCOMPARE(d.Label5->text(), QStringLiteral("</template>"));
    QCOMPARE(d.Label2->text(), QStringLiteral("</category>"));
    QCOMPARE(
        d.Label3->text(), QStringLiteral("<pattern>") + QString(150, QLatin1Char(' ')) + QStringLiteral("</pattern>"));
    QCOMPARE(d.Label6->text(),
        QString(6, QLatin1Char(' ')) + QStringLiteral("<that>") + QString(151, QLatin1Char(' '))
            + QStringLiteral("</that>"));
    QCOMPARE(d.template_->objectName(), QStringLiteral("template"));
    QCOMPARE(d.cmdAutotext->text(), QStringLiteral("AutoText"));
    QCOMPARE(d.cmdOK->text(), QStringLiteral("OK"));
    QCOMPARE(d.cmdCancel->text(), QStringLiteral("Cancel"));
    QVERIFY(d.cmdOK->isDefault());
    QCOMPARE(d.randomBox->windowTitle(), QStringLiteral("RANDOM"));
    QCOMPARE(d.randomBox->labelText(), QStringLiteral("How many options you want to enter: "));
    const Theme theme = themeOf(d.palette());
    QCOMPARE(d.Label1->palette().color(QPalette::WindowText), tagColor(TagColor::Blue, theme));
    QCOMPARE(d.Label3->palette().color(QPalette::WindowText), tagColor(TagColor::Maroon, theme));
    QCOMPARE(d.Label6->palette().color(QPalette::WindowText), tagColor(TagColor::Purple, theme));
    QCOMPARE(d.Label4->palette().color(QPalette::WindowText), tagColor(TagColor::Green, theme));
    QCOMPARE(d.size(), QSize(593, 384));

    // The topic field in the bottom row's free stretch, between its tags.
    QCOMPARE(d.Label7->text(), QStringLiteral("<topic name=\""));
    QCOMPARE(d.Label8->text(), QStringLiteral("\">"));
    const QList<QWidget *> row { d.ToolBar1, d.Label7, d.txtTopic, d.Label8, d.cmdCancel, d.cmdOK };
    for (qsizetype i = 1; i < row.size(); ++i) {
        QVERIFY2(row[i - 1]->geometry().right() < row[i]->x(), qPrintable(row[i]->objectName()));
        QVERIFY(row[i]->geometry().top() >= d.Script->geometry().bottom());
        QVERIFY(row[i]->geometry().bottom() < d.height());
    }
    QCOMPARE(d.ToolBar1->geometry(), QRect(4, 348, 73, 33));
    QCOMPARE(d.cmdCancel->geometry(), QRect(412, 344, 81, 33));
    QVERIFY(d.txtTopic->width() >= 150);
}

void TestSelEdit::tagsStandAroundFields_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QColor>("color");
    QTest::newRow("pattern") << QStringLiteral("Label3") << QStringLiteral("txtPattern") << QColor(128, 0, 0);
    QTest::newRow("that") << QStringLiteral("Label6") << QStringLiteral("txtThat") << QColor(128, 0, 128);
}

void TestSelEdit::tagsStandAroundFields()
{
    QFETCH(QString, label);
    QFETCH(QString, field);
    QFETCH(QColor, color);
    showDialog();
    auto *l = m_dialog->findChild<QLabel *>(label);
    auto *f = m_dialog->findChild<QLineEdit *>(field);
    QVERIFY(l && f);
    QGroupBox *script = m_dialog->Script;
    const QImage image = script->grab().toImage();
    const qreal dpr = image.devicePixelRatio();
    // Ink of the label's colour, antialiased edges included, left and right of the field.
    auto isInk = [&color](QRgb px) {
        const QColor c(px);
        const int tint = std::min(color.red() ? c.red() : 255, color.blue() ? c.blue() : 255);
        return tint - c.green() > 40;
    };
    int left = 0;
    int right = 0;
    int under = 0;
    for (int y = l->y(); y < l->y() + l->height(); ++y) {
        for (int x = 0; x < script->width(); ++x) {
            if (!isInk(image.pixel(int(x * dpr), int(y * dpr))))
                continue;
            if (x < f->x())
                ++left;
            else if (x >= f->x() + f->width())
                ++right;
            else
                ++under;
        }
    }
    QVERIFY2(left > 20, qPrintable(QString::number(left)));
    QVERIFY2(right > 20, qPrintable(QString::number(right)));
    QCOMPARE(under, 0);
    // Both tags lie inside the group box.
    QVERIFY(l->x() >= 0 && l->geometry().right() < script->width());
    QVERIFY(f->geometry().top() <= l->geometry().center().y() && l->geometry().center().y() <= f->geometry().bottom());
}

void TestSelEdit::keyboardOrder()
{
    showDialog();
    m_dialog->txtPattern->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), m_dialog->txtPattern);
    const QList<QWidget *> order { m_dialog->txtThat, m_dialog->template_, m_dialog->cmdAutotext, m_dialog->txtTopic,
        m_dialog->cmdCancel, m_dialog->cmdOK, m_dialog->txtPattern };
    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void TestSelEdit::okCreatesLabelledLastRow_data()
{
    QTest::addColumn<bool>("upcase");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("that");
    QTest::addColumn<QString>("templ");
    QTest::addColumn<QString>("storedPattern");
    QTest::addColumn<QString>("storedTemplate");
    QTest::addColumn<bool>("crLfDocument");

    const auto row = [](const char *name, bool upcase, const QString &pattern, const char *that, const char *templ,
                         const QString &storedPattern, const char *storedTemplate, bool crLfDocument = false) {
        QTest::newRow(name) << upcase << pattern << QString::fromUtf8(that) << QString::fromUtf8(templ) << storedPattern
                            << QString::fromUtf8(storedTemplate) << crLfDocument;
    };
    row("upper-cased, that as typed", true, "what is your name", "hello", "My name is Vessra.", "WHAT IS YOUR NAME",
        "My name is Vessra.");
    row("accented letters stay", true, QStringLiteral("café *"), "", "x", QStringLiteral("CAFé *"), "x");
    row("only a to z change", true, QStringLiteral("àéÿ ß straße ǆ ı 9_#"), "", "",
        QStringLiteral("àéÿ ß STRAßE ǆ ı 9_#"), "");
    row("tag contents too", true, "my name is <bot name=\"x\"/>", "", "", "MY NAME IS <BOT NAME=\"X\"/>", "");
    row("box unticked", false, "Hello There", "", "t", "Hello There", "t");
    row("all empty", true, "", "", "", "", "");
    row("template lines as a new document's", true, "hi", "", "one\ntwo\n\nfour", "HI", "one\ntwo\n\nfour");
    row("template lines in a CR LF document", true, "hi", "", "one\ntwo\n\nfour", "HI", "one\r\ntwo\r\n\r\nfour", true);
    row("stray brackets kept", true, "a < b", "", "<think>x</think> >", "A < B", "<think>x</think> >");
}

void TestSelEdit::okCreatesLabelledLastRow()
{
    QFETCH(bool, upcase);
    QFETCH(QString, pattern);
    QFETCH(QString, that);
    QFETCH(QString, templ);
    QFETCH(QString, storedPattern);
    QFETCH(QString, storedTemplate);
    QFETCH(bool, crLfDocument);

    if (crLfDocument)
        m_table->assignRows(
            readCategories("<category><pattern>A</pattern><template>a</template></category>\r\n", ReadOptions()));
    else
        setRows(*m_table, { { "1", "A", "", "a" }, { "2", "", "", "" } });
    m_upcase->setChecked(upcase);
    m_dialog->editMode = QStringLiteral("create");
    showDialog();
    m_dialog->txtPattern->setText(pattern);
    m_dialog->txtThat->setText(that);
    m_dialog->template_->setPlainText(templ);
    QTest::mouseClick(m_dialog->cmdOK, Qt::LeftButton);

    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QVERIFY(!m_dialog->isVisible());
    const QList<QStringList> expected { { "1", "A", "", "a" }, { "2", "", "", "" },
        { "3", storedPattern, that, storedTemplate } };
    QCOMPARE(rowsOf(*m_table), expected);
    QCOMPARE(m_document->history()->count(), 1);
    QCOMPARE(m_document->history()->undoText(), QStringLiteral("Create Category"));
}

void TestSelEdit::okEditsOnlyEditRow()
{
    setRows(*m_table, { { "1", "A", "", "a" }, { "7", "B", "b", "bb" }, { "3", "C", "", "c" } });
    m_upcase->setChecked(false);
    m_dialog->editMode = QStringLiteral("edit");
    m_dialog->editRow = 2;
    showDialog();
    m_dialog->txtPattern->setText(QStringLiteral("new pattern"));
    m_dialog->txtThat->setText(QString());
    m_dialog->template_->setPlainText(QStringLiteral("line 1\nline 2"));
    m_dialog->txtTopic->setText(QStringLiteral("games"));
    QTest::mouseClick(m_dialog->cmdOK, Qt::LeftButton);

    const QList<QStringList> expected { { "1", "A", "", "a" }, { "7", "new pattern", "", "line 1\nline 2", "games" },
        { "3", "C", "", "c" } };
    QCOMPARE(rowsOf(*m_table), expected);
    QCOMPARE(m_document->history()->undoText(), QStringLiteral("Edit Category"));
    m_document->history()->undo();
    QCOMPARE(rowsOf(*m_table), (Rows { { "1", "A", "", "a" }, { "7", "B", "b", "bb" }, { "3", "C", "", "c" } }));
}

void TestSelEdit::okEmptiesFieldsCancelKeepsThem_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("kept");
    QTest::newRow("OK") << "ok" << false;
    QTest::newRow("Cancel") << "cancel" << true;
    QTest::newRow("Esc") << "esc" << true;
    QTest::newRow("close box") << "close" << true;
}

void TestSelEdit::okEmptiesFieldsCancelKeepsThem()
{
    QFETCH(QString, how);
    QFETCH(bool, kept);
    m_dialog->editMode = QStringLiteral("create");
    showDialog();
    m_dialog->txtPattern->setText(QStringLiteral("p"));
    m_dialog->txtThat->setText(QStringLiteral("t"));
    m_dialog->template_->setPlainText(QStringLiteral("x\ny"));
    m_dialog->txtTopic->setText(QStringLiteral("z"));
    m_dialog->template_->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), m_dialog->template_);
    if (how == QLatin1String("ok"))
        QTest::mouseClick(m_dialog->cmdOK, Qt::LeftButton);
    else if (how == QLatin1String("cancel"))
        QTest::mouseClick(m_dialog->cmdCancel, Qt::LeftButton);
    else if (how == QLatin1String("esc"))
        QTest::keyClick(m_dialog->template_, Qt::Key_Escape);
    else
        m_dialog->close();

    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(kept ? QDialog::Rejected : QDialog::Accepted));
    QCOMPARE(m_dialog->txtPattern->text(), kept ? QStringLiteral("p") : QString());
    QCOMPARE(m_dialog->txtThat->text(), kept ? QStringLiteral("t") : QString());
    QCOMPARE(m_dialog->templateText(), kept ? QStringLiteral("x\ny") : QString());
    QCOMPARE(m_dialog->txtTopic->text(), kept ? QStringLiteral("z") : QString());
    QCOMPARE(m_table->gridRowCount(), kept ? 2 : 3);
    if (!kept) {
        // The next showing starts typing in the pattern field.
        showDialog();
        QTRY_COMPARE(QApplication::focusWidget(), m_dialog->txtPattern);
    }
}

void TestSelEdit::enterInOneLineFieldsPressesOk_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::newRow("pattern, Return") << "txtPattern" << int(Qt::Key_Return);
    QTest::newRow("that, Return") << "txtThat" << int(Qt::Key_Return);
    QTest::newRow("topic, Enter") << "txtTopic" << int(Qt::Key_Enter);
    QTest::newRow("pattern, keypad Enter") << "txtPattern" << int(Qt::Key_Enter);
}

void TestSelEdit::enterInOneLineFieldsPressesOk()
{
    QFETCH(QString, field);
    QFETCH(int, key);
    m_upcase->setChecked(true);
    m_dialog->editMode = QStringLiteral("create");
    showDialog();
    auto *edit = m_dialog->findChild<QLineEdit *>(field);
    edit->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), edit);
    QTest::keyClicks(edit, QStringLiteral("hi there"));
    QTest::keyClick(edit, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);

    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_table->gridRowCount(), 3);
    const int column = field == QLatin1String("txtPattern") ? PatternColumn
        : field == QLatin1String("txtThat")                 ? ThatColumn
                                                            : TopicColumn;
    QCOMPARE(m_table->cell(column, 2), column == 1 ? QStringLiteral("HI THERE") : QStringLiteral("hi there"));
}

void TestSelEdit::enterInTemplateStartsNewLine()
{
    m_dialog->editMode = QStringLiteral("create");
    showDialog();
    m_dialog->template_->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), m_dialog->template_);
    QTest::keyClicks(m_dialog->template_, QStringLiteral("one"));
    QTest::keyClick(m_dialog->template_, Qt::Key_Return);
    QTest::keyClicks(m_dialog->template_, QStringLiteral("two"));

    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_table->gridRowCount(), 2);
    QCOMPARE(m_dialog->templateText(), QStringLiteral("one\ntwo"));
    QTest::mouseClick(m_dialog->cmdOK, Qt::LeftButton);
    QCOMPARE(m_table->cell(3, 2), QStringLiteral("one\ntwo"));
}

void TestSelEdit::editModeLoadsLineBreaksIntoTemplate()
{
    m_dialog->setTemplateText(QStringLiteral("a\r\nb\r\n\r\nc"));
    QCOMPARE(m_dialog->template_->blockCount(), 4);
    QCOMPARE(m_dialog->template_->document()->findBlockByNumber(3).text(), QStringLiteral("c"));
    QCOMPARE(m_dialog->templateText(), QStringLiteral("a\nb\n\nc"));
    // A no-break space is a character of its own, not a blank.
    const QString nbsp = QStringLiteral("a\u00A0b");
    m_dialog->setTemplateText(nbsp);
    QCOMPARE(m_dialog->templateText(), nbsp);
}

void TestSelEdit::srai_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("times");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty") << "" << 1 << "<srai></srai>";
    QTest::newRow("twice") << "X" << 2 << "<srai><srai>X</srai></srai>";
    QTest::newRow("several lines") << "first\r\nlast" << 1 << "<srai>first\nlast</srai>";
    QTest::newRow("final line break") << "x\r\n" << 1 << "<srai>x\n</srai>";
}

void TestSelEdit::srai()
{
    QFETCH(QString, before);
    QFETCH(int, times);
    QFETCH(QString, after);
    showDialog();
    m_dialog->setTemplateText(before);
    for (int i = 0; i < times; ++i)
        m_dialog->SRAI1->trigger();
    QCOMPARE(m_dialog->templateText(), after);
    QCOMPARE(m_table->gridRowCount(), 2);
}

void TestSelEdit::autoTextMenuOffersSraiRandomAndGreyJavascript()
{
    QCOMPARE(m_dialog->cmdAutotext->menu(), m_dialog->PopupMenu1);
    const QList<QAction *> items = m_dialog->PopupMenu1->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[0]->text(), QStringLiteral("&SRAI"));
    QCOMPARE(items[1]->text(), QStringLiteral("&RANDOM"));
    QCOMPARE(items[2]->text(), QStringLiteral("&JAVASCRIPT"));
    QVERIFY(items[0]->isEnabled() && items[1]->isEnabled());
    QVERIFY(!items[2]->isEnabled());

    showDialog();
    m_dialog->setTemplateText(QStringLiteral("X"));
    // Clicking the button drops the menu down; JAVASCRIPT cannot be chosen, SRAI can.
    auto chosen = std::make_shared<bool>(false);
    QTimer::singleShot(0, m_dialog.get(), [this, chosen] {
        QMenu *menu = m_dialog->PopupMenu1;
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(m_dialog->JAVASCRIPT1).center());
        QVERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(m_dialog->SRAI1).center());
        *chosen = true;
    });
    QTest::mouseClick(m_dialog->cmdAutotext, Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY(*chosen);
    QTRY_COMPARE(m_dialog->templateText(), QStringLiteral("<srai>X</srai>"));
}

void TestSelEdit::random_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("error");

    const QString notANumber = QStringLiteral("'%1' is not a valid integer value.");
    const auto row
        = [](const char *name, const char *before, const char *answer, const QString &after, const QString &error) {
              QTest::newRow(name) << QString::fromUtf8(before) << QString::fromUtf8(answer) << after << error;
          };
    row("3 on empty", "", "3", lines(randomList(3)), "");
    row("0", "", "0", lines(randomList(0)), "");
    row("-2", "", "-2", lines(randomList(0)), "");
    row("hexadecimal $2", "", "$2", lines(randomList(2)), "");
    row("no final line break", "Hi", "3", "Hi\n" + lines(randomList(3)), "");
    row("final line break", "Hi\r\n", "1", "Hi\n" + lines(randomList(1)), "");
    row("three", "Hi", "three", "Hi", notANumber.arg("three"));
    row("empty answer", "Hi", "", "Hi", notANumber.arg(""));
    row("trailing letters", "", "3x", "", notANumber.arg("3x"));
    row("largest count", "", "10000", lines(randomList(10000)), "");
}

void TestSelEdit::random()
{
    QFETCH(QString, before);
    QFETCH(QString, answer);
    QFETCH(QString, after);
    QFETCH(QString, error);
    showDialog();
    m_dialog->setTemplateText(before);
    const QString shown = answerRandom(answer, !error.isEmpty());
    QCOMPARE(shown, error);
    QCOMPARE(m_dialog->templateText(), after);
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_table->gridRowCount(), 2);
}

void TestSelEdit::randomCancelAddsNothing()
{
    showDialog();
    m_dialog->setTemplateText(QStringLiteral("Hi"));
    whenModal(QStringLiteral("RANDOM"), [](QWidget *box) {
        QTest::keyClicks(box->findChild<QLineEdit *>(), QStringLiteral("3"));
        box->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
    });
    m_dialog->RANDOM1->trigger();
    QCOMPARE(m_dialog->templateText(), QStringLiteral("Hi"));

    // A count past the bound is refused with a message that names it, and adds nothing.
    const QString shown = answerRandom(QStringLiteral("10001"), true);
    QVERIFY2(shown.contains(QStringLiteral("10001")) && shown.contains(QString::number(kMaxRandomOptions)),
        qPrintable(shown));
    QCOMPARE(m_dialog->templateText(), QStringLiteral("Hi"));
    QVERIFY(answerRandom(QStringLiteral("2147483647"), true).contains(QStringLiteral("2147483647")));
    QCOMPARE(m_dialog->templateText(), QStringLiteral("Hi"));
}

void TestSelEdit::autoTextIsOneStepOfTheBox()
{
    showDialog();
    m_dialog->template_->setFocus();
    QTest::keyClicks(m_dialog->template_, QStringLiteral("Hi"));
    m_dialog->SRAI1->trigger();
    QCOMPARE(m_dialog->templateText(), QStringLiteral("<srai>Hi</srai>"));
    // The box's own Undo takes the insertion back whole, and the table has no step.
    QTest::keyClick(m_dialog->template_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_dialog->templateText(), QStringLiteral("Hi"));
    QCOMPARE(m_document->history()->count(), 0);
}

QTEST_MAIN(TestSelEdit)
#include "tst_seledit.moc"
