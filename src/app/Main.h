#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <QStringList>

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
class QsciScintilla;

class TfrmNew;
class TfrmOptions;
class TAboutBox;
class TfrmReport;
class TfrmSelEdit;
class TStartUp;
class TpBar;

namespace vorrel {
class CategoryTable;
}

// The main window. It owns the open document: the category table, the preview text, the
// path line and the two document flags. Command handlers of each subsystem are defined in
// that subsystem's own source file.
class TMainForm final : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // --- shell (Main.cpp) ---
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
    // Selects the whole preview and gives it the face and size; later text takes them too.
    void applyPreviewFont(const QString &face, int pointSize);
    vorrel::CategoryTable *table() const { return m_table; }

    // --- document files, reader and writer (document/DocumentCommands.cpp) ---
    void FileNew();
    void FileOpenItemClick();
    void SpeedButton2Click();
    void FileSave();
    void FileSaveAs();
    void mnuCloseClick();
    void SaveLast();
    void LoadFile();
    void PourThemInto(const QByteArray &text);
    void mnuRefreshClick();
    void codeChange();
    // Puts a file's whole text into the preview (used by Open and Open Last).
    void loadPreviewFromFile(const QString &fileName);
    // Open after the open dialog: path line, preview, table, commands and flags.
    void openDocument(const QString &fileName);
    // The New Document dialog's OK: the document built from "template.dat".
    void newDocument(const QString &title, const QString &author, const QString &language);
    // The save question when the document has changed; false when the user cancels.
    bool maybeSave();
    // The preview's text as the bytes that Save writes.
    QByteArray previewBytes() const;
    // Replaces the preview's text.
    void setPreviewBytes(const QByteArray &bytes);

    // --- category commands (editing/CategoryCommands.cpp) ---
    void mnuCreateNewClick();
    void mnuSelEditClick();
    void mnuSelDeleteClick();
    void mnuCutClick();
    void EditCopy();
    void mnuPasteClick();
    // Called once at construction: the shortcuts that must win over the focused control.
    void setUpEditing();

    // --- conversation page (bot/BotCommands.cpp) ---
    void SayItClick();
    static QString Capitalize(const QString &text);
    // Called once at construction: Enter in `input` presses `SayIt`.
    void setUpConversation();

    // --- settings (prefs/OptionsCommands.cpp) ---
    void mnuOptionsClick();

    // --- report, printing and help (report/ReportCommands.cpp) ---
    void mnuReportClick();
    static int CountWords(const QString &text);
    void FilePrint();
    void FilePrintSetup();
    void HelpContentsItemClick();
    void SpeedButton9Click();
    void mnuTagsClick();
    void mnuTutorialClick();

    // --- About window (widgets/AboutCommands.cpp) ---
    void HelpAbout();

    // Document state.
    bool DocChanged = false;
    bool DocHasFile = false;

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
    QsciScintilla *code = nullptr;
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
    QAction *mnuCreateNew = nullptr;
    QAction *mnuSelEdit = nullptr;
    QAction *mnuSelDelete = nullptr;
    QAction *mnuCategories = nullptr;
    QAction *mnuPreview = nullptr;
    QAction *mnuDorvane = nullptr;
    QAction *mnuRefresh = nullptr;
    QAction *mnuReport = nullptr;
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

    // The printer the print dialogs and page set-up share.
    QPrinter printer;

    // Whether the preview holds UTF-8 (else 8-bit text); decided when text is loaded.
    bool previewIsUtf8 = true;

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void createControls();
    void createMenus();
    void createWindows();
    void connectCommands();
    void layoutControls();
    bool eventFilter(QObject *watched, QEvent *e) override;

    vorrel::CategoryTable *m_table = nullptr;
    QActionGroup *m_viewPageGroup = nullptr;
    bool m_destroyed = false;
};
