#pragma once

#include "document/DocumentText.h"

#include <QMainWindow>
#include <QPrinter>
#include <QStringList>

#include <memory>

class QAction;
class QActionGroup;
class QFileDialog;
class QFrame;
class QLabel;
class QMenu;
class QPageSetupDialog;
class QPlainTextEdit;
class QPrintDialog;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableView;
class QTimer;
class QToolButton;

class TfrmFind;
class TfrmNew;
class TfrmOptions;
class TAboutBox;
class TfrmReport;
class TfrmSelEdit;
class TStartUp;
class TpBar;

namespace vorrel {
class CategoryTable;
class CheckPanel;
class Document;
class DocumentController;
class DocumentQuestions;
class PreviewEditor;
class SpareWidthColumn;
struct Settings;
class TableBot;
} // namespace vorrel

// The main window. It wires the document's controller, the category table, the preview and the
// dialogs together: its handlers ask them to act, and it asks the controller's questions.
// Construction and the shell's handlers are in Main.cpp, the commands in MainCommands.cpp.
class TMainForm final : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // --- shell ---
    void FormCreate();
    void FormDestroy();
    void ShowHint(const QString &longHint);
    void Timer1Timer();
    void iButMenu(bool enabled);
    void tabsChange(int NewTab);
    void mnuCategoriesClick();
    void mnuPreviewClick();
    void mnuDorvaneClick();
    void FileExit();
    // Grid row of the current cell; 1 or more.
    int currentRow() const;
    // A file named on the command line: the start-up routine opens it instead of showing the
    // welcome window.
    void openAtStart(const QString &fileName);
    vorrel::DocumentController *controller() const { return m_controller; }
    vorrel::CategoryTable *table() const;
    vorrel::Document *document() const;

    // --- document files, reader and writer ---
    void FileNew();
    void FileOpenItemClick();
    void FileSave();
    void FileSaveAs();
    void mnuCloseClick();
    void SaveLast();
    void mnuRefreshClick();
    // Check Document: the preview's text checked, its problems listed below the notebook.
    void mnuCheckClick();
    // The Preview page with the cursor at a problem's line and column (1-based, characters).
    void showProblemAt(int line, int column);
    // Open without the save question, as after the open dialog.
    void openDocument(const QString &fileName);
    // Open Last: true when "last.dat" names a file and it was opened.
    bool openLastDocument();
    // A document of File > Reopen: the save question, then the file; one that is gone leaves the
    // list with a message.
    void mnuReopenClick(const QString &fileName);

    // --- category commands ---
    void mnuCreateNewClick();
    void mnuSelEditClick();
    void mnuSelDeleteClick();
    void mnuCutClick();
    void EditCopy();
    void mnuPasteClick();

    // --- editing the preview: undo, find and replace, lines ---
    void EditUndo();
    void EditRedo();
    void EditFind();
    void EditFindNext();
    void EditFindPrevious();
    void EditReplace();
    void EditGoToLine();
    // The Find window's buttons. On the Categories page finding goes through the table's
    // cells; anywhere else through the preview.
    void findClick(bool forward);
    void replaceClick();
    void replaceAllClick();
    // Undo and Redo act on the table's history, or on the preview's on the Preview page; they
    // say what they would undo or redo, and are on while there is something.
    void updateUndoItems();

    // --- conversation page ---
    void SayItClick();
    static QString Capitalize(const QString &text);
    // Interpret AIML toggled: the new state is written to opts.ini at once, or taken back.
    void mnuInterpretClick();
    vorrel::TableBot *bot() const;
    // Whole Folder toggled: stored at once, as Interpret AIML is.
    void mnuFolderClick();
    // Find in Files: the find window's text in the *.aiml files of the document's folder, listed
    // below the notebook.
    void mnuFindInFilesClick();
    // The place of a line listed below the notebook: in the open document, or in another file,
    // opened after the save question.
    void showFileAt(const QString &fileName, int line, int column);

    // --- settings ---
    void mnuOptionsClick();

    // --- report, printing and help ---
    void mnuReportClick();
    static int CountWords(const QString &text);
    void FilePrint();
    void FilePrintSetup();
    void HelpContentsItemClick();
    void mnuTagsClick();
    void mnuTutorialClick();

    // --- About window ---
    void HelpAbout();

    // Controls, by their form names.
    QFrame *SpeedBar = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton3 = nullptr;
    QToolButton *SpeedButton4 = nullptr;
    QToolButton *SpeedButton7 = nullptr;
    QToolButton *SpeedButton9 = nullptr;
    QToolButton *SpeedButton10 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *path = nullptr;
    QTabWidget *tabs = nullptr;
    QTableView *sg1 = nullptr;
    vorrel::PreviewEditor *code = nullptr;
    // Hidden until the first check.
    vorrel::CheckPanel *checkList = nullptr;
    QPlainTextEdit *log = nullptr;
    QFrame *Panel1 = nullptr;
    QPlainTextEdit *input = nullptr;
    QPushButton *SayIt = nullptr;
    QStatusBar *StatusLine = nullptr;
    QFileDialog *od = nullptr;
    QFileDialog *sd = nullptr;
    QPrintDialog *PrintDialog = nullptr;
    QPageSetupDialog *PrintSetupDialog = nullptr;
    QTimer *Timer1 = nullptr;

    // Menus and their items.
    QMenu *mnuFile = nullptr;
    QMenu *mnuReopen = nullptr;
    QMenu *mnuEdit = nullptr;
    QMenu *mnuAIML = nullptr;
    QMenu *mnuCategory = nullptr;
    QMenu *mnuViewPage = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *FileNewItem = nullptr;
    QAction *FileOpenItem = nullptr;
    QAction *FileSaveItem = nullptr;
    QAction *FileSaveAsItem = nullptr;
    QAction *mnuClose = nullptr;
    QAction *FilePrintItem = nullptr;
    QAction *FilePrintSetupItem = nullptr;
    QAction *FileExitItem = nullptr;
    QAction *mnuCut = nullptr;
    QAction *EditCopyItem = nullptr;
    QAction *mnuPaste = nullptr;
    QAction *EditUndoItem = nullptr;
    QAction *EditRedoItem = nullptr;
    QAction *EditFindItem = nullptr;
    QAction *EditFindNextItem = nullptr;
    QAction *EditFindPreviousItem = nullptr;
    QAction *EditReplaceItem = nullptr;
    QAction *EditGoToLineItem = nullptr;
    QAction *mnuCreateNew = nullptr;
    QAction *mnuSelEdit = nullptr;
    QAction *mnuSelDelete = nullptr;
    QAction *mnuCategories = nullptr;
    QAction *mnuPreview = nullptr;
    QAction *mnuDorvane = nullptr;
    QAction *mnuRefresh = nullptr;
    QAction *mnuReport = nullptr;
    QAction *mnuCheck = nullptr;
    QAction *mnuInterpret = nullptr;
    QAction *mnuFolder = nullptr;
    QAction *mnuFindInFiles = nullptr;
    QAction *mnuOptions = nullptr;
    QAction *HelpContentsItem = nullptr;
    QAction *mnuTags = nullptr;
    QAction *mnuTutorial = nullptr;
    QAction *HelpAboutItem = nullptr;

    // The other windows, created once after this one, in this order.
    TfrmNew *frmNew = nullptr;
    TfrmOptions *frmOptions = nullptr;
    TAboutBox *AboutBox = nullptr;
    TfrmReport *frmReport = nullptr;
    TfrmSelEdit *frmSelEdit = nullptr;
    TStartUp *StartUp = nullptr;
    TpBar *pBar = nullptr;
    TfrmFind *frmFind = nullptr;

    // The printer the print dialogs and page set-up share.
    QPrinter printer;

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void createControls();
    void createMenus();
    void createWindows();
    void connectCommands();
    void connectWindows();
    void setUpDocument();
    void setUpEditing();
    void setUpConversation();
    void layoutControls();
    // The preview's font, comment style and tag completion as the settings have them.
    void applyEditorSettings(const vorrel::Settings &settings);
    bool eventFilter(QObject *watched, QEvent *e) override;

    // Whether Undo and Redo act on the table's history rather than the preview's.
    bool undoesTable() const;
    // Whether the bot and the check take in the other files of the document's folder.
    bool wholeFolder() const;
    // The bot as the settings have it now: its properties, and the folder or not.
    void prepareBot();
    // A ticked item of the AIML menu stored under `key` at once, or its tick taken back.
    void storeSwitch(QAction *item, const QString &key);
    // The document's file goes first in the Reopen list, which is stored at once.
    void rememberDocument();
    void setRecentFiles(const QStringList &files);
    void showRecentFiles();

    vorrel::DocumentController *m_controller = nullptr;
    std::unique_ptr<vorrel::DocumentQuestions> m_questions;
    QActionGroup *m_viewPageGroup = nullptr;
    vorrel::SpareWidthColumn *m_templateWidth = nullptr;
    QString m_fileAtStart;
    // What File > Reopen lists, newest first.
    QStringList m_recentFiles;
    bool m_destroyed = false;
};
