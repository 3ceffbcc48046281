// The main window's commands: each asks the document, the table, the preview or a dialog to act.

#include "app/Main.h"

#include "app/ProgressBar.h"
#include "base/Error.h"
#include "base/ProgramFiles.h"
#include "base/SafeWrite.h"
#include "bot/Matcher.h"
#include "bot/TableBot.h"
#include "document/AimlReader.h"
#include "document/AimlWriter.h"
#include "document/CategoryTable.h"
#include "document/CheckCommand.h"
#include "document/Checker.h"
#include "document/Document.h"
#include "document/TextSearch.h"
#include "document/ui/CheckPanel.h"
#include "document/ui/DocumentController.h"
#include "document/ui/New.h"
#include "document/ui/PreviewEditor.h"
#include "editing/CategoryEdit.h"
#include "editing/ui/FindDialog.h"
#include "editing/ui/SelEdit.h"
#include "prefs/RecentFiles.h"
#include "prefs/Settings.h"
#include "prefs/ui/Options.h"
#include "report/ReportCounts.h"
#include "report/ui/HelpDocuments.h"
#include "report/ui/Printing.h"
#include "report/ui/Report.h"
#include "widgets/ui/About1.h"
#include "widgets/ui/Credits.h"
#include "widgets/ui/ErrorBox.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>
#include <QTextDocument>
#include <QUndoStack>
#include <QWindow>

using namespace vorrel;

namespace {

QString passStatus(ReadPass pass)
{
    switch (pass) {
    case ReadPass::Patterns:
        return TMainForm::tr("Loading: Scanning patterns...");
    case ReadPass::Thats:
        return TMainForm::tr("Loading: Scanning that tags...");
    case ReadPass::Templates:
        return TMainForm::tr("Loading: Scanning templates...");
    }
    return {};
}

// The category shortcuts, F5 and F7 belong to the window, not to the control that has the focus:
// the preview and the cell editor would otherwise claim Ctrl+Del to delete a word.
class WindowShortcutsFirst final : public QObject
{
public:
    WindowShortcutsFirst(TMainForm *form, QList<QAction *> actions)
        : QObject(form), m_form(form), m_actions(std::move(actions))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
            return false;
        if (static_cast<QWidget *>(watched)->window() != m_form)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        for (const QAction *action : m_actions) {
            if (action->shortcut() == pressed) {
                // Refused: the shortcut map then runs the action instead of the control.
                event->ignore();
                return true;
            }
        }
        return false;
    }

private:
    TMainForm *m_form;
    QList<QAction *> m_actions;
};

// Ends an in-place cell edit, keeping what was typed, so that the command sees the table as
// the user sees it and the editor cannot later write its text into a row that has moved.
void finishCellEdit(QTableView *grid)
{
    QWidget *editor = grid->indexWidget(grid->currentIndex());
    if (!editor)
        return;
    QAbstractItemDelegate *delegate = grid->itemDelegate();
    Q_EMIT delegate->commitData(editor);
    Q_EMIT delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// Enter in the sentence box says the sentence instead of starting a new line.
class EnterPressesButton final : public QObject
{
public:
    EnterPressesButton(QPushButton *button, QObject *parent) : QObject(parent), m_button(button) { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_button->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPushButton *m_button;
};

} // namespace

// --- document files, reader and writer ---

namespace {

// The controller's questions, as the window's dialogs and message boxes.
class WindowQuestions final : public DocumentQuestions
{
public:
    explicit WindowQuestions(TMainForm *form) : m_form(form) { }

    Answer askSave() override
    {
        return threeWay("Confirm", TMainForm::tr("Do you wish to save changes to current document?"));
    }

    Answer askRegenerate() override
    {
        return threeWay("RegenerateConfirm",
            TMainForm::tr("The categories have changed since the text was last regenerated. "
                          "Regenerate the text before saving?"));
    }

    bool askReplaceReadOnly() override
    {
        QMessageBox box(QMessageBox::Question, TMainForm::tr("Confirm"),
            TMainForm::tr("The file is read-only. Replace it anyway?"), QMessageBox::Yes | QMessageBox::No, m_form);
        box.setObjectName(QStringLiteral("ReadOnlyConfirm"));
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    QString chooseFileToOpen() override { return chosen(m_form->od); }
    QString chooseFileToSave() override { return chosen(m_form->sd); }

private:
    // Yes, No and Cancel; closing the box counts as Cancel.
    Answer threeWay(const char *name, const QString &text)
    {
        QMessageBox box(QMessageBox::Question, TMainForm::tr("Confirm"), text,
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_form);
        box.setObjectName(QLatin1String(name));
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }

    static QString chosen(QFileDialog *dialog)
    {
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return {};
        return dialog->selectedFiles().constFirst();
    }

    TMainForm *m_form;
};

} // namespace

void TMainForm::setUpDocument()
{
    m_questions = std::make_unique<WindowQuestions>(this);
    m_controller->setQuestions(m_questions.get());
    m_controller->setUpcaseOnReading([this] { return frmOptions->upcase->isChecked(); });
    m_controller->setFinishEditing([this] { finishCellEdit(sg1); });
    connect(m_controller, &DocumentController::openStateChanged, this, &TMainForm::iButMenu);
    connect(document(), &Document::fileNameChanged, this, &TMainForm::rememberDocument);

    // Reading a document shows its passes in the progress window.
    connect(m_controller, &DocumentController::readingStarted, this, [this] {
        pBar->setStatus(tr("Allocating resources..."));
        pBar->setPosition(0);
        pBar->show();
        // A new window can be painted only once the window system has exposed it. Wait for that
        // briefly, user input excluded; from then on the window paints itself as it goes.
        QElapsedTimer exposing;
        exposing.start();
        while (pBar->windowHandle() && !pBar->windowHandle()->isExposed() && exposing.elapsed() < 200)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        pBar->repaint();
        tabs->setCursor(Qt::WaitCursor);
    });
    connect(m_controller, &DocumentController::readingProgress, this, [this](ReadPass pass, int steps, int categories) {
        if (steps == 0) {
            pBar->pb1->setMaximum(categories);
            pBar->setPosition(0);
            pBar->setStatus(passStatus(pass));
        } else {
            pBar->setPosition(steps);
        }
    });
    connect(m_controller, &DocumentController::readingFinished, this, [this] {
        pBar->setPosition(0);
        tabs->unsetCursor();
        pBar->close();
    });

    // Undo and Redo follow both histories and the page shown.
    QUndoStack *history = m_controller->history();
    for (auto changed : { &QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged })
        connect(history, changed, this, &TMainForm::updateUndoItems);
    for (auto changed : { &QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged })
        connect(history, changed, this, &TMainForm::updateUndoItems);
    connect(code, &PreviewEditor::undoStateChanged, this, &TMainForm::updateUndoItems);
    connect(tabs, &QTabWidget::currentChanged, this, &TMainForm::updateUndoItems);
}

void TMainForm::openDocument(const QString &fileName)
{
    m_controller->openFile(fileName);
}

bool TMainForm::openLastDocument()
{
    return m_controller->openLast();
}

void TMainForm::mnuReopenClick(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile()) {
        QStringList files = m_recentFiles;
        files.removeAll(fileName);
        setRecentFiles(files);
        QMessageBox box(QMessageBox::Warning, kAppTitle,
            tr("The document \"%1\" no longer exists. It has been removed from the list.").arg(fileName),
            QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("ReopenMissing"));
        box.exec();
        return;
    }
    m_controller->open(fileName);
}

void TMainForm::rememberDocument()
{
    // Closing keeps the flag of the document closed; New's title names no file.
    if (document()->isOpen() && document()->DocHasFile())
        setRecentFiles(withRecentFile(m_recentFiles, document()->fileName()));
}

void TMainForm::setRecentFiles(const QStringList &files)
{
    if (files != m_recentFiles) {
        m_recentFiles = files;
        // A settings folder that cannot be written costs only the list of the next run: not worth
        // a message at every opening.
        writeRecentFiles(settingsFile(QStringLiteral("opts.ini")), m_recentFiles, nullptr);
    }
    showRecentFiles();
}

void TMainForm::showRecentFiles()
{
    // The item chosen may be among those replaced, and still be sending its signal.
    const QList<QAction *> old = mnuReopen->actions();
    for (QAction *item : old) {
        mnuReopen->removeAction(item);
        item->deleteLater();
    }
    for (qsizetype i = 0; i < m_recentFiles.size(); ++i) {
        const QString file = m_recentFiles.at(i);
        QAction *item = mnuReopen->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QString(file).replace(QLatin1Char('&'), QLatin1String("&&"))));
        item->setObjectName(QStringLiteral("mnuReopen%1").arg(i + 1));
        item->setStatusTip(file);
        connect(item, &QAction::triggered, this, guarded(this, [this, file] { mnuReopenClick(file); }));
    }
    mnuReopen->menuAction()->setEnabled(!m_recentFiles.isEmpty());
}

void TMainForm::FileNew()
{
    if (!m_controller->maybeSave())
        return;
    frmNew->exec();
}

void TMainForm::FileOpenItemClick()
{
    m_controller->open();
}

void TMainForm::FileSave()
{
    m_controller->save();
}

void TMainForm::FileSaveAs()
{
    m_controller->saveAs();
}

void TMainForm::mnuCloseClick()
{
    m_controller->close();
}

void TMainForm::SaveLast()
{
    m_controller->saveLast();
}

void TMainForm::mnuRefreshClick()
{
    m_controller->refresh();
}

// --- document check ---

void TMainForm::mnuCheckClick()
{
    CheckOptions options;
    options.upcasePatterns = frmOptions->upcase->isChecked();
    options.properties = frmOptions->botProperties();
    // The bytes the file would hold: a UTF-16 document is checked as UTF-16, so its declaration
    // agrees, while lines and characters stay those of the preview.
    const QByteArray bytes = fileBytes(code->bytes(), document()->encoding());
    checkList->showProblems(
        wholeFolder() ? checkInFolder(bytes, document()->fileName(), options) : checkDocument(bytes, options));
    if (checkList->isHidden()) {
        checkList->show();
        layoutControls();
    }
}

void TMainForm::showProblemAt(int line, int column)
{
    mnuPreviewClick();
    const int lineIndex = std::clamp(line - 1, 0, std::max(code->lines() - 1, 0));
    // QScintilla counts a line's index in characters, as the checker counts columns; past the
    // line's end it would run on into the next line.
    int lastLine = 0;
    int lineLength = 0;
    code->lineIndexFromPosition(
        int(code->SendScintilla(QsciScintilla::SCI_GETLINEENDPOSITION, lineIndex)), &lastLine, &lineLength);
    code->setCursorPosition(lineIndex, std::clamp(column - 1, 0, lineLength));
    code->setFocus();
}

// --- category commands ---

void TMainForm::mnuCreateNewClick()
{
    finishCellEdit(sg1);
    frmSelEdit->editMode = QStringLiteral("create");
    // The fields show what they last held: nothing after an OK, the last texts after a Cancel;
    // the topic is the current row's, as a new category mostly joins its neighbours' topic.
    frmSelEdit->txtTopic->setText(table()->cell(TopicColumn, currentRow()));
    frmSelEdit->exec();
}

void TMainForm::mnuSelEditClick()
{
    finishCellEdit(sg1);
    frmSelEdit->editMode = QStringLiteral("edit");
    frmSelEdit->editRow = currentRow();
    frmSelEdit->txtPattern->setText(table()->cell(PatternColumn, frmSelEdit->editRow));
    frmSelEdit->txtThat->setText(table()->cell(ThatColumn, frmSelEdit->editRow));
    frmSelEdit->setTemplateText(table()->cell(TemplateColumn, frmSelEdit->editRow));
    frmSelEdit->txtTopic->setText(table()->cell(TopicColumn, frmSelEdit->editRow));
    frmSelEdit->exec();
}

void TMainForm::mnuSelDeleteClick()
{
    // The last remaining row is never deleted, and nobody is asked about it.
    if (table()->gridRowCount() == 2)
        return;
    finishCellEdit(sg1);
    QMessageBox confirm(QMessageBox::Question, tr("Confirm"), tr("Are you sure you want to delete this category?"),
        QMessageBox::Yes | QMessageBox::No, this);
    confirm.setObjectName(QStringLiteral("DeleteConfirm"));
    confirm.setDefaultButton(QMessageBox::Yes);
    if (confirm.exec() != QMessageBox::Yes)
        return;
    m_controller->deleteCategory(currentRow());
}

void TMainForm::mnuCutClick()
{
    code->cut();
}

void TMainForm::EditCopy()
{
    code->copy();
}

void TMainForm::mnuPasteClick()
{
    code->paste();
}

// --- editing the preview: undo, find and replace, lines ---

namespace {

QString notFoundMessage(const QString &text)
{
    return TMainForm::tr("Cannot find \"%1\"").arg(text);
}

// Looked up when shown, once the translations are installed.
QString badExpression()
{
    return TMainForm::tr("The regular expression is not valid");
}

QString unwritable()
{
    return TMainForm::tr("The replacement has characters this 8-bit document cannot hold");
}

QString searchStopped()
{
    return TMainForm::tr("Search stopped");
}

} // namespace

bool TMainForm::undoesTable() const
{
    // The Vessra page answers from the table, so its Undo is the table's too.
    return tabs->currentIndex() != tabs->indexOf(code);
}

void TMainForm::updateUndoItems()
{
    const QUndoStack *history = m_controller->history();
    const bool onTable = undoesTable();
    const bool canUndo = onTable ? history->canUndo() : code->isUndoAvailable();
    const bool canRedo = onTable ? history->canRedo() : code->isRedoAvailable();
    const QString undoText = onTable && canUndo ? history->undoText() : QString();
    const QString redoText = onTable && canRedo ? history->redoText() : QString();
    EditUndoItem->setText(undoText.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undoText));
    EditRedoItem->setText(redoText.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(redoText));
    EditUndoItem->setEnabled(canUndo);
    EditRedoItem->setEnabled(canRedo);
}

void TMainForm::EditUndo()
{
    if (undoesTable()) {
        // Typing still in a cell becomes the step taken back.
        finishCellEdit(sg1);
        m_controller->history()->undo();
    } else {
        code->undo();
    }
    updateUndoItems();
}

void TMainForm::EditRedo()
{
    if (undoesTable()) {
        finishCellEdit(sg1);
        m_controller->history()->redo();
    } else {
        code->redo();
    }
    updateUndoItems();
}

namespace {

// A selection of the preview on one line is what the author most likely wants to look for.
QString searchTextFrom(const PreviewEditor &code)
{
    const QString selected = code.selectedText();
    return selected.contains(QLatin1Char('\n')) ? QString() : selected;
}

} // namespace

void TMainForm::EditFind()
{
    frmFind->showFor(false, tabs->currentIndex() == 0 ? QString() : searchTextFrom(*code));
}

void TMainForm::EditReplace()
{
    frmFind->showFor(true, searchTextFrom(*code));
}

void TMainForm::EditFindNext()
{
    findClick(true);
}

void TMainForm::EditFindPrevious()
{
    findClick(false);
}

void TMainForm::findClick(bool forward)
{
    const SearchOptions options = frmFind->options();
    if (options.text.isEmpty()) {
        EditFind();
        return;
    }
    if (tabs->currentIndex() == 0) {
        finishCellEdit(sg1);
        const QModelIndex current = sg1->currentIndex();
        const std::optional<CellMatch> match = findCell(*table(), current.isValid() ? current.row() + 1 : 1,
            current.isValid() ? current.column() : LabelColumn, options, forward);
        if (!match) {
            ShowHint(cellExpression(options).isValid() ? notFoundMessage(options.text) : badExpression());
            return;
        }
        const QModelIndex found = table()->index(match->row - 1, match->column);
        sg1->setCurrentIndex(found);
        sg1->scrollTo(found);
        if (!match->wrapped)
            ShowHint(QString());
        else
            ShowHint(forward ? tr("Passed the last cell; found from the first")
                             : tr("Passed the first cell; found from the last"));
        return;
    }
    mnuPreviewClick();
    switch (code->find(options, forward)) {
    case PreviewEditor::FindResult::Found:
        ShowHint(QString());
        break;
    case PreviewEditor::FindResult::Wrapped:
        ShowHint(forward ? tr("Passed the end of the text; found from the start")
                         : tr("Passed the start of the text; found from the end"));
        break;
    case PreviewEditor::FindResult::NotFound:
        ShowHint(notFoundMessage(options.text));
        break;
    case PreviewEditor::FindResult::BadExpression:
        ShowHint(badExpression());
        break;
    case PreviewEditor::FindResult::Stopped:
        ShowHint(searchStopped());
        break;
    case PreviewEditor::FindResult::Unwritable:
        break;
    }
}

void TMainForm::replaceClick()
{
    const SearchOptions options = frmFind->options();
    if (options.text.isEmpty() || tabs->currentIndex() == 0)
        return;
    mnuPreviewClick();
    const PreviewEditor::FindResult result = code->replace(options, frmFind->replacement());
    if (result == PreviewEditor::FindResult::NotFound)
        ShowHint(notFoundMessage(options.text));
    else if (result == PreviewEditor::FindResult::BadExpression)
        ShowHint(badExpression());
    else if (result == PreviewEditor::FindResult::Unwritable)
        ShowHint(unwritable());
    else if (result == PreviewEditor::FindResult::Stopped)
        ShowHint(searchStopped());
    else
        ShowHint(QString());
}

void TMainForm::replaceAllClick()
{
    const SearchOptions options = frmFind->options();
    if (options.text.isEmpty() || tabs->currentIndex() == 0)
        return;
    mnuPreviewClick();
    const int count = code->replaceAll(options, frmFind->replacement());
    if (count == PreviewEditor::kBadExpression)
        ShowHint(badExpression());
    else if (count == PreviewEditor::kUnwritable)
        ShowHint(unwritable());
    else if (count == PreviewEditor::kStopped)
        ShowHint(tr("Replace All stopped; nothing was replaced"));
    else if (count == PreviewEditor::kTooLarge)
        ShowHint(tr("Nothing was replaced: the text would grow too large"));
    else if (count == 0)
        ShowHint(notFoundMessage(options.text));
    else
        ShowHint(count == 1 ? tr("Replaced 1 occurrence") : tr("Replaced %1 occurrences").arg(count));
}

void TMainForm::EditGoToLine()
{
    QInputDialog box(this);
    box.setObjectName(QStringLiteral("GoToLine"));
    box.setWindowTitle(tr("Go to Line"));
    box.setInputMode(QInputDialog::IntInput);
    box.setIntRange(1, code->lineCount());
    box.setIntValue(code->currentLine());
    box.setLabelText(tr("Line number (1 - %1):").arg(code->lineCount()));
    if (box.exec() != QDialog::Accepted)
        return;
    mnuPreviewClick();
    code->goToLine(box.intValue());
    code->setFocus();
}

void TMainForm::setUpEditing()
{
    frmSelEdit->attach(m_controller, [this] { return frmOptions->upcase->isChecked(); });
    qApp->installEventFilter(
        new WindowShortcutsFirst(this, { mnuCreateNew, mnuSelEdit, mnuSelDelete, mnuRefresh, mnuCheck }));
}

// --- conversation page ---

void TMainForm::SayItClick()
{
    // The box's text exactly as typed or pasted, its line breaks as the cells' are.
    const QString sentence = cellTextFromRaw(input->document()->toRawText(), table()->rows().lineEnd());
    QString reply;
    if (mnuInterpret->isChecked()) {
        prepareBot();
        BotAnswer answer = bot()->respond(sentence);
        // The interpreter's own letter case; its line breaks and runs of blanks as one blank.
        reply = answer.text.simplified();
        const bool ownRow = answer.file.isEmpty();
        // Among the folder's files, the document's own is named too.
        if (ownRow && wholeFolder())
            answer.file = document()->fileName();
        ShowHint(describeAnswer(answer));
        if (answer.row > 0 && ownRow) {
            const int column = std::max(sg1->currentIndex().column(), 0);
            sg1->setCurrentIndex(table()->index(answer.row - 1, column));
        }
    } else {
        reply = Capitalize(botReply(*table(), sentence));
    }
    // One append for the three lines keeps a long transcript cheap to extend.
    log->appendPlainText(
        tr("You: ") + Capitalize(sentence) + QLatin1Char('\n') + tr("Vessra: ") + reply + QLatin1Char('\n'));
    // The sentence stays for Enter to say again, selected so that typing replaces it.
    input->selectAll();
    input->setFocus();
}

QString TMainForm::Capitalize(const QString &text)
{
    return capitalize(text);
}

void TMainForm::mnuInterpretClick()
{
    storeSwitch(mnuInterpret, kInterpretKey);
}

void TMainForm::setUpConversation()
{
    SayIt->setDefault(true);
    input->installEventFilter(new EnterPressesButton(SayIt, this));
}

// --- settings ---

void TMainForm::mnuOptionsClick()
{
    frmOptions->exec();
}

// --- report, printing and help ---

void TMainForm::mnuReportClick()
{
    // One reading of the preview as it stands; the table is not consulted.
    frmReport->showFigures(computeReport(code->bytes(), document()->encoding()));
    frmReport->exec();
}

int TMainForm::CountWords(const QString &text)
{
    return static_cast<int>(countWords(QStringView(text)));
}

void TMainForm::FilePrint()
{
    // Whole documents only; printing to a file stays, since a PDF file is often the only printer.
    PrintDialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (PrintDialog->exec() != QDialog::Accepted)
        return;
    const int copies = printer.copyCount();
    if (copies <= 0)
        return;
    // Paper shows the text alone, without the line numbers beside it.
    const int numbers = code->marginWidth(0);
    code->setMarginWidth(0, 0);
    const auto restore = qScopeGuard([this, numbers] { code->setMarginWidth(0, numbers); });
    printCopies(printer, *code, printJobName(document()->fileName()), copies);
}

void TMainForm::FilePrintSetup()
{
    // The dialog works on the shared printer, so its choice is what later printing uses.
    PrintSetupDialog->exec();
}

void TMainForm::HelpContentsItemClick()
{
    openProgramDocument(this, kHelpFile, kHelpFailure);
}

void TMainForm::mnuTagsClick()
{
    openProgramDocument(this, kTagsFile, kTagsFailure);
}

void TMainForm::mnuTutorialClick()
{
    openProgramDocument(this, kTutorialFile, kTutorialFailure);
}

// --- About window ---

void TMainForm::HelpAbout()
{
    // Each showing starts the credits again from below the bottom edge; closing stops them.
    AboutBox->sc1->setAnimate(true);
    AboutBox->exec();
}
