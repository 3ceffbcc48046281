#include "app/Main.h"

#include "app/ProgressBar.h"
#include "app/Splash.h"
#include "app/ToolIcons.h"
#include "base/ProgramFiles.h"
#include "bot/TableBot.h"
#include "document/CategoryTable.h"
#include "document/Document.h"
#include "document/ui/CellDelegate.h"
#include "document/ui/CheckPanel.h"
#include "document/ui/DocumentController.h"
#include "document/ui/GridLook.h"
#include "document/ui/New.h"
#include "document/ui/PreviewEditor.h"
#include "document/ui/SpareWidthColumn.h"
#include "editing/ui/FindDialog.h"
#include "editing/ui/SelEdit.h"
#include "prefs/IniProfile.h"
#include "prefs/RecentFiles.h"
#include "prefs/Settings.h"
#include "prefs/ui/Options.h"
#include "report/ui/Report.h"
#include "widgets/ui/About1.h"
#include "widgets/ui/ErrorBox.h"
#include "widgets/ui/FormFont.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>

using namespace vorrel;

namespace {

// A hint "short|long": the tool tip before the bar, the status-line text after it.
void applyHint(QAction *action, const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

// Tall enough for five problems and the summary.
constexpr int kCheckPanelHeight = 132;

// The AIML documents among what is dragged over the window.
QStringList droppedDocuments(const QMimeData *data)
{
    QStringList files;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QLatin1String(".aiml"), Qt::CaseInsensitive))
            files.append(url.toLocalFile());
    }
    return files;
}

// The path line names the document, or says in the user's language that there is none.
QString pathLineText(const QString &fileName)
{
    return fileName == Document::kNoDocument ? TMainForm::tr("(None)") : fileName;
}

void setEnabledDeep(QMenu *menu, bool enabled)
{
    menu->menuAction()->setEnabled(enabled);
    const auto actions = menu->actions();
    for (QAction *a : actions) {
        a->setEnabled(enabled);
        if (a->menu())
            setEnabledDeep(a->menu(), enabled);
    }
}

} // namespace

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(kMainCaption);
    // A fixed border with system menu and minimise button, but no maximise button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
        | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFont(formFont(8));
    resize(644, 609);
    setAcceptDrops(true);

    m_controller = new DocumentController(this);
    // The menus' actions first: the tool buttons serve them.
    createMenus();
    createControls();
    connectCommands();
    FormCreate();
    createWindows();
    connectWindows();
    setUpDocument();
    setUpEditing();
    setUpConversation();
    Timer1->start();
}

TMainForm::~TMainForm()
{
    FormDestroy();
    // The document goes with the window's children; nothing of it reaches back to the window then.
    disconnect(m_controller, nullptr, this, nullptr);
    disconnect(m_controller->history(), nullptr, this, nullptr);
    m_controller->setQuestions(nullptr);
}

CategoryTable *TMainForm::table() const
{
    return m_controller->table();
}

Document *TMainForm::document() const
{
    return m_controller->document();
}

TableBot *TMainForm::bot() const
{
    return m_controller->bot();
}

void TMainForm::createControls()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    setCentralWidget(central);
    central->installEventFilter(this);

    SpeedBar = new QFrame(central);
    SpeedBar->setObjectName(QStringLiteral("SpeedBar"));
    SpeedBar->setFrameShape(QFrame::StyledPanel);
    // Each button serves its menu item's action, enabled state and all; its tip is its own.
    struct ButtonSpec
    {
        QToolButton *TMainForm::*member;
        const char *name;
        int left;
        QAction *TMainForm::*action;
        ToolGlyph glyph;
        const char *tip;
    };
    // The tips are the buttons' short hints; lupdate finds them here and the loop translates them.
    const ButtonSpec buttons[] = {
        { &TMainForm::SpeedButton1, "SpeedButton1", 8, &TMainForm::FileNewItem, ToolGlyph::New, QT_TR_NOOP("New") },
        { &TMainForm::SpeedButton2, "SpeedButton2", 32, &TMainForm::FileOpenItem, ToolGlyph::Open, QT_TR_NOOP("Open") },
        { &TMainForm::SpeedButton3, "SpeedButton3", 56, &TMainForm::FileSaveItem, ToolGlyph::Save, QT_TR_NOOP("Save") },
        { &TMainForm::SpeedButton4, "SpeedButton4", 84, &TMainForm::FilePrintItem, ToolGlyph::Print,
            QT_TR_NOOP("Print") },
        { &TMainForm::SpeedButton7, "SpeedButton7", 112, &TMainForm::EditCopyItem, ToolGlyph::Copy,
            QT_TR_NOOP("Copy") },
        { &TMainForm::SpeedButton9, "SpeedButton9", 140, &TMainForm::HelpContentsItem, ToolGlyph::Help,
            QT_TR_NOOP("Help Contents") },
        { &TMainForm::SpeedButton10, "SpeedButton10", 164, &TMainForm::HelpAboutItem, ToolGlyph::About,
            QT_TR_NOOP("About") },
    };
    for (const ButtonSpec &spec : buttons) {
        QAction *action = this->*spec.action;
        action->setIcon(toolIcon(spec.glyph));
        action->setIconVisibleInMenu(false);
        // Menus show no tool tips, so the button's short hint can be the action's.
        action->setToolTip(tr(spec.tip));
        auto *button = new QToolButton(SpeedBar);
        button->setObjectName(QLatin1String(spec.name));
        button->setDefaultAction(action);
        button->setGeometry(spec.left, 4, 25, 25);
        button->setAutoRaise(true);
        button->setIconSize(QSize(18, 18));
        button->setFocusPolicy(Qt::NoFocus);
        button->installEventFilter(this);
        // Named after the menu item, as Qt does from the action; the status-line hint says more.
        button->setAccessibleDescription(action->statusTip());
        this->*spec.member = button;
    }

    Label1 = new QLabel(tr("Current Document:"), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    path = new QLabel(central);
    path->setObjectName(QStringLiteral("path"));
    path->setFrameStyle(QFrame::Box | QFrame::Plain);
    path->setTextFormat(Qt::PlainText);

    tabs = new QTabWidget(central);
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->tabBar()->setFont(formFont(8));

    sg1 = new QTableView;
    sg1->setObjectName(QStringLiteral("sg1"));
    sg1->setModel(table());
    sg1->setItemDelegate(new CellDelegate(sg1));
    applyGridLook(sg1, font());
    sg1->verticalHeader()->hide();
    sg1->verticalHeader()->setMinimumSectionSize(2);
    sg1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    sg1->horizontalHeader()->setHighlightSections(false);
    sg1->setWordWrap(false);
    sg1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    sg1->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    tabs->addTab(sg1, tr("Categories"));
    sg1->viewport()->installEventFilter(this);
    // Long templates, not an empty strip, in a wide window.
    m_templateWidth = new SpareWidthColumn(sg1, TemplateColumn);

    code = m_controller->preview();
    tabs->addTab(code, tr("Preview"));
    code->viewport()->installEventFilter(this);

    auto *vessra = new QWidget;
    vessra->setObjectName(QStringLiteral("Vessra"));
    vessra->installEventFilter(this);
    log = new QPlainTextEdit(vessra);
    log->setObjectName(QStringLiteral("log"));
    log->setReadOnly(true);
    log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log->setFont(formFont(10));
    log->setAccessibleName(tr("Conversation"));
    Panel1 = new QFrame(vessra);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    input = new QPlainTextEdit(vessra);
    input->setObjectName(QStringLiteral("input"));
    input->setFont(formFont(10));
    input->setAccessibleName(tr("Your sentence"));
    SayIt = new QPushButton(tr("Say it"), vessra);
    SayIt->setObjectName(QStringLiteral("SayIt"));
    tabs->addTab(vessra, tr("Vessra"));
    tabs->setCurrentIndex(1);

    checkList = new CheckPanel(central);
    checkList->hide();

    StatusLine = new QStatusBar(this);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setSizeGripEnabled(false);
    StatusLine->setFixedHeight(23);
    setStatusBar(StatusLine);

    const QString filter = tr("AIML Files (*.aiml)");
    od = new QFileDialog(this);
    od->setObjectName(QStringLiteral("od"));
    od->setOption(QFileDialog::DontUseNativeDialog);
    od->setAcceptMode(QFileDialog::AcceptOpen);
    od->setFileMode(QFileDialog::ExistingFile);
    od->setNameFilter(filter);
    sd = new QFileDialog(this);
    sd->setObjectName(QStringLiteral("sd"));
    sd->setOption(QFileDialog::DontUseNativeDialog);
    sd->setAcceptMode(QFileDialog::AcceptSave);
    sd->setFileMode(QFileDialog::AnyFile);
    sd->setNameFilter(filter);

    PrintDialog = new QPrintDialog(&printer, this);
    PrintDialog->setObjectName(QStringLiteral("PrintDialog"));
    PrintSetupDialog = new QPageSetupDialog(&printer, this);
    PrintSetupDialog->setObjectName(QStringLiteral("PrintSetupDialog"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    Timer1->setSingleShot(true);

    layoutControls();
}

void TMainForm::createMenus()
{
    auto item = [this](QMenu *menu, QAction *TMainForm::*member, const char *name, const QString &caption,
                    const QString &hint, const QKeySequence &shortcut = QKeySequence()) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        if (!hint.isEmpty())
            applyHint(action, hint);
        if (!shortcut.isEmpty())
            action->setShortcut(shortcut);
        menu->addAction(action);
        this->*member = action;
    };
    auto menu = [this](QMenu *parentMenu, QMenu *TMainForm::*member, const char *name, const QString &caption) {
        QMenu *m = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        this->*member = m;
    };

    menu(nullptr, &TMainForm::mnuFile, "mnuFile", tr("&File"));
    item(mnuFile, &TMainForm::FileNewItem, "FileNewItem", tr("&New"), tr("Create a new file"),
        QKeySequence(Qt::CTRL | Qt::Key_N));
    item(mnuFile, &TMainForm::FileOpenItem, "FileOpenItem", tr("&Open..."), tr("Open an existing file"),
        QKeySequence(Qt::CTRL | Qt::Key_O));
    menu(mnuFile, &TMainForm::mnuReopen, "mnuReopen", tr("R&eopen"));
    // Filled from opts.ini at start-up.
    mnuReopen->menuAction()->setEnabled(false);
    item(mnuFile, &TMainForm::FileSaveItem, "FileSaveItem", tr("&Save"), tr("Save current file"),
        QKeySequence(Qt::CTRL | Qt::Key_S));
    item(mnuFile, &TMainForm::FileSaveAsItem, "FileSaveAsItem", tr("Save &As..."),
        tr("Save current file under a new name"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    item(mnuFile, &TMainForm::mnuClose, "mnuClose", tr("C&lose"), QString(), QKeySequence(Qt::CTRL | Qt::Key_W));
    mnuFile->addSeparator();
    item(mnuFile, &TMainForm::FilePrintItem, "FilePrintItem", tr("&Print"), tr("Print current file"),
        QKeySequence(Qt::CTRL | Qt::Key_P));
    item(mnuFile, &TMainForm::FilePrintSetupItem, "FilePrintSetupItem", tr("P&rint Setup..."),
        tr("Change printer setup"));
    mnuFile->addSeparator();
    item(mnuFile, &TMainForm::FileExitItem, "FileExitItem", tr("E&xit"), tr("Exit this application"),
        QKeySequence(Qt::CTRL | Qt::Key_Q));

    menu(nullptr, &TMainForm::mnuEdit, "mnuEdit", tr("&Edit"));
    item(mnuEdit, &TMainForm::EditUndoItem, "EditUndoItem", tr("&Undo"),
        tr("Undo the last change to the categories, or to the text on the Preview page"),
        QKeySequence(Qt::CTRL | Qt::Key_Z));
    item(mnuEdit, &TMainForm::EditRedoItem, "EditRedoItem", tr("&Redo"), tr("Redo the last change undone"));
    EditRedoItem->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
    mnuEdit->addSeparator();
    item(mnuEdit, &TMainForm::mnuCut, "mnuCut", tr("Cu&t"), QString());
    item(mnuEdit, &TMainForm::EditCopyItem, "EditCopyItem", tr("&Copy"), tr("Copy selected item to clipboard"));
    item(mnuEdit, &TMainForm::mnuPaste, "mnuPaste", tr("&Paste"), QString());
    mnuEdit->addSeparator();
    item(mnuEdit, &TMainForm::EditFindItem, "EditFindItem", tr("&Find..."),
        tr("Find text in the preview, or in the table on the Categories page"), QKeySequence(Qt::CTRL | Qt::Key_F));
    item(mnuEdit, &TMainForm::EditFindNextItem, "EditFindNextItem", tr("Find &Next"),
        tr("Find the next occurrence of the text"), QKeySequence(Qt::Key_F3));
    item(mnuEdit, &TMainForm::EditFindPreviousItem, "EditFindPreviousItem", tr("Find Pre&vious"),
        tr("Find the previous occurrence of the text"), QKeySequence(Qt::SHIFT | Qt::Key_F3));
    item(mnuEdit, &TMainForm::EditReplaceItem, "EditReplaceItem", tr("R&eplace..."), tr("Replace text in the preview"),
        QKeySequence(Qt::CTRL | Qt::Key_H));
    item(mnuEdit, &TMainForm::mnuFindInFiles, "mnuFindInFiles", tr("Find in F&iles..."),
        tr("Find the text in every AIML file of the document's folder"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    mnuEdit->addSeparator();
    item(mnuEdit, &TMainForm::EditGoToLineItem, "EditGoToLineItem", tr("&Go to Line..."),
        tr("Go to a line of the preview"), QKeySequence(Qt::CTRL | Qt::Key_G));

    menu(nullptr, &TMainForm::mnuAIML, "mnuAIML", tr("&AIML"));
    menu(mnuAIML, &TMainForm::mnuCategory, "mnuCategory", tr("&Category"));
    item(mnuCategory, &TMainForm::mnuCreateNew, "mnuCreateNew", tr("Create &New"), tr("Create a new category"),
        QKeySequence(Qt::Key_F1));
    item(mnuCategory, &TMainForm::mnuSelEdit, "mnuSelEdit", tr("&Edit Selected"), tr("Edit the selected category"),
        QKeySequence(Qt::Key_F2));
    item(mnuCategory, &TMainForm::mnuSelDelete, "mnuSelDelete", tr("&Delete Selected"),
        tr("Delete the selected category"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    menu(mnuAIML, &TMainForm::mnuViewPage, "mnuViewPage", tr("&View Page"));
    item(mnuViewPage, &TMainForm::mnuCategories, "mnuCategories", tr("&Categories"), tr("Go to the categories page"));
    item(mnuViewPage, &TMainForm::mnuPreview, "mnuPreview", tr("&Preview"), tr("Go to the Preview page"));
    item(mnuViewPage, &TMainForm::mnuDorvane, "mnuDorvane", tr("&Vessra"), tr("Go to Vessra page"));
    item(mnuAIML, &TMainForm::mnuRefresh, "mnuRefresh", tr("&Refresh Document"), tr("Refresh the Preview page"),
        QKeySequence(Qt::Key_F5));
    item(mnuAIML, &TMainForm::mnuReport, "mnuReport", tr("&General Report"),
        tr("Get a general report of the current AIML file"));
    item(mnuAIML, &TMainForm::mnuCheck, "mnuCheck", tr("Check &Document"),
        tr("Check the document for errors and warnings"), QKeySequence(Qt::Key_F7));
    item(mnuAIML, &TMainForm::mnuInterpret, "mnuInterpret", tr("&Interpret AIML"),
        tr("Answer on the Vessra page as an AIML interpreter would"));
    mnuInterpret->setCheckable(true);
    item(mnuAIML, &TMainForm::mnuFolder, "mnuFolder", tr("Whole &Folder"),
        tr("With Interpret AIML, answer and check with every AIML file of the document's folder"));
    mnuFolder->setCheckable(true);
    mnuAIML->addSeparator();
    item(mnuAIML, &TMainForm::mnuOptions, "mnuOptions", tr("&Options"), tr("View and edit AIML Vorrel preferences"));

    menu(nullptr, &TMainForm::mnuHelp, "mnuHelp", tr("&Help"));
    item(mnuHelp, &TMainForm::HelpContentsItem, "HelpContentsItem", tr("Help &Topics"),
        tr("Display the help contents screen"));
    item(mnuHelp, &TMainForm::mnuTags, "mnuTags", tr("AIML Ta&gs"),
        tr("Launch the AIML tags file as provided by the ALICE AI Foundation"));
    item(mnuHelp, &TMainForm::mnuTutorial, "mnuTutorial", tr("AIML T&utorial"),
        tr("Launch the AIML tutorial distributed with AIML Vorrel"));
    mnuHelp->addSeparator();
    item(mnuHelp, &TMainForm::HelpAboutItem, "HelpAboutItem", tr("&About..."), tr("Show program information"));

    m_viewPageGroup = new QActionGroup(this);
    m_viewPageGroup->setExclusive(true);
    for (QAction *a : { mnuCategories, mnuPreview, mnuDorvane }) {
        a->setCheckable(true);
        m_viewPageGroup->addAction(a);
    }
    mnuCategories->setChecked(true);
}

void TMainForm::connectCommands()
{
    auto on = [this](QAction *action, void (TMainForm::*handler)()) {
        connect(action, &QAction::triggered, this, guarded(this, [this, handler] { (this->*handler)(); }));
    };
    on(FileNewItem, &TMainForm::FileNew);
    on(FileOpenItem, &TMainForm::FileOpenItemClick);
    on(FileSaveItem, &TMainForm::FileSave);
    on(FileSaveAsItem, &TMainForm::FileSaveAs);
    on(mnuClose, &TMainForm::mnuCloseClick);
    on(FilePrintItem, &TMainForm::FilePrint);
    on(FilePrintSetupItem, &TMainForm::FilePrintSetup);
    on(FileExitItem, &TMainForm::FileExit);
    on(mnuCut, &TMainForm::mnuCutClick);
    on(EditCopyItem, &TMainForm::EditCopy);
    on(mnuPaste, &TMainForm::mnuPasteClick);
    on(EditUndoItem, &TMainForm::EditUndo);
    on(EditRedoItem, &TMainForm::EditRedo);
    on(EditFindItem, &TMainForm::EditFind);
    on(EditFindNextItem, &TMainForm::EditFindNext);
    on(EditFindPreviousItem, &TMainForm::EditFindPrevious);
    on(EditReplaceItem, &TMainForm::EditReplace);
    on(EditGoToLineItem, &TMainForm::EditGoToLine);
    on(mnuCreateNew, &TMainForm::mnuCreateNewClick);
    on(mnuSelEdit, &TMainForm::mnuSelEditClick);
    on(mnuSelDelete, &TMainForm::mnuSelDeleteClick);
    on(mnuCategories, &TMainForm::mnuCategoriesClick);
    on(mnuPreview, &TMainForm::mnuPreviewClick);
    on(mnuDorvane, &TMainForm::mnuDorvaneClick);
    on(mnuRefresh, &TMainForm::mnuRefreshClick);
    on(mnuReport, &TMainForm::mnuReportClick);
    on(mnuCheck, &TMainForm::mnuCheckClick);
    on(mnuInterpret, &TMainForm::mnuInterpretClick);
    on(mnuFolder, &TMainForm::mnuFolderClick);
    on(mnuFindInFiles, &TMainForm::mnuFindInFilesClick);
    on(mnuOptions, &TMainForm::mnuOptionsClick);
    on(HelpContentsItem, &TMainForm::HelpContentsItemClick);
    on(mnuTags, &TMainForm::mnuTagsClick);
    on(mnuTutorial, &TMainForm::mnuTutorialClick);
    on(HelpAboutItem, &TMainForm::HelpAbout);

    connect(SayIt, &QAbstractButton::clicked, this, guarded(this, [this] { SayItClick(); }));

    connect(tabs, &QTabWidget::currentChanged, this, guarded(this, [this] { tabsChange(tabs->currentIndex()); }));
    connect(Timer1, &QTimer::timeout, this, guarded(this, [this] { Timer1Timer(); }));
    connect(document(), &Document::fileNameChanged, path,
        [this](const QString &fileName) { path->setText(pathLineText(fileName)); });
    connect(checkList, &CheckPanel::problemActivated, this,
        [this](int line, int column) { runCommand(this, [&] { showProblemAt(line, column); }); });
    connect(checkList, &CheckPanel::fileLineActivated, this, [this](const QString &file, int line, int column) {
        runCommand(this, [&] { showFileAt(file, line, column); });
    });
}

void TMainForm::createWindows()
{
    frmNew = new TfrmNew(this);
    frmOptions = new TfrmOptions(this);
    AboutBox = new TAboutBox(this);
    frmReport = new TfrmReport(this);
    frmSelEdit = new TfrmSelEdit(this);
    StartUp = new TStartUp(this);
    pBar = new TpBar(this);
    frmFind = new TfrmFind(this);
}

void TMainForm::connectWindows()
{
    connect(frmNew, &TfrmNew::newDocumentRequested, this,
        [this](const QString &title, const QString &author, const QString &language) {
            runCommand(this, [&] { m_controller->newDocument(title, author, language); });
        });
    // The welcome window's links; an error shows over it, which stays up when nothing opened.
    connect(StartUp, &TStartUp::newRequested, this, guarded(this, [this] { FileNew(); }));
    connect(StartUp, &TStartUp::openRequested, this, guarded(this, [this] { FileOpenItemClick(); }));
    connect(StartUp, &TStartUp::openLastRequested, this, guarded(StartUp, [this] { openLastDocument(); }));
    connect(StartUp, &TStartUp::helpRequested, this, guarded(this, [this] { HelpContentsItemClick(); }));
    connect(m_controller, &DocumentController::documentOpened, StartUp, &QWidget::close);
    connect(frmOptions, &TfrmOptions::settingsStored, this,
        [this](const Settings &settings) { applyEditorSettings(settings); });
    connect(frmOptions, &TfrmOptions::defaultFontChosen, this, [this](const QString &face, int pointSize) {
        // The editor's own font, for all of its text at once; nothing is selected.
        QFont font = code->font();
        font.setFamily(face);
        if (pointSize > 0)
            font.setPointSize(pointSize);
        code->setTextFont(font);
    });
    connect(frmFind, &TfrmFind::findRequested, this,
        [this](bool forward) { runCommand(this, [&] { findClick(forward); }); });
    connect(frmFind, &TfrmFind::replaceRequested, this, guarded(this, [this] { replaceClick(); }));
    connect(frmFind, &TfrmFind::replaceAllRequested, this, guarded(this, [this] { replaceAllClick(); }));
    // Nothing is replaced in the table.
    connect(tabs, &QTabWidget::currentChanged, frmFind, [this](int page) { frmFind->setReplaceEnabled(page != 0); });
}

void TMainForm::applyEditorSettings(const Settings &settings)
{
    code->setItalicComments(settings.italicComments);
    // Only the first item asks for it; neither item chosen means none.
    code->setTagCompletion(settings.codeCompletion == 0);
    code->applyFont(settings.fontName, settings.fontSize);
}

void TMainForm::layoutControls()
{
    QWidget *client = centralWidget();
    const int w = client->width();
    const int h = client->height();
    SpeedBar->setGeometry(0, 0, w, 33);
    Label1->move(4, 38);
    Label1->adjustSize();
    // At the design size the path line and the notebook end 7 pixels short of the right edge.
    path->setGeometry(96, 36, std::max(w - 96 - 7, 50), 17);
    // The check panel, once shown, takes the bottom of the client area from the notebook.
    const int panel = checkList->isHidden() ? 0 : kCheckPanelHeight + 4;
    const int tabsHeight = std::max(h - 56 - 2 - panel, 50);
    tabs->setGeometry(4, 56, std::max(w - 4 - 7, 50), tabsHeight);
    if (panel > 0)
        checkList->setGeometry(4, 56 + tabsHeight + 4, std::max(w - 4 - 7, 50), kCheckPanelHeight);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *e)
{
    // A document dropped on the preview or the grid opens like one dropped on the window,
    // rather than going in as text.
    if ((e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove || e->type() == QEvent::Drop)
        && (watched == code->viewport() || watched == sg1->viewport())) {
        auto *drop = static_cast<QDropEvent *>(e);
        if (droppedDocuments(drop->mimeData()).size() == 1) {
            if (e->type() == QEvent::Drop)
                dropEvent(drop);
            else
                drop->acceptProposedAction();
            return true;
        }
    }
    if (e->type() == QEvent::Resize) {
        if (watched == centralWidget()) {
            layoutControls();
        } else if (watched->objectName() == QLatin1String("Vessra")) {
            auto *page = static_cast<QWidget *>(watched);
            const int w = page->width();
            const int h = page->height();
            log->setGeometry(0, 0, w, std::max(h - 108, 0));
            Panel1->setGeometry(0, h - 105, std::max(w - 4, 0), 105);
            input->setGeometry(8, h - 101, std::max(w - 316, 20), 97);
            SayIt->setGeometry(w - 301, h - 97, 289, 89);
        }
    } else if ((e->type() == QEvent::Enter || e->type() == QEvent::StatusTip) && qobject_cast<QToolButton *>(watched)) {
        // Tool buttons have no long hint, though their actions have: the status line goes blank.
        ShowHint(QString());
        return e->type() == QEvent::StatusTip;
    }
    return QMainWindow::eventFilter(watched, e);
}

bool TMainForm::event(QEvent *e)
{
    if (e->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent *>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TMainForm::closeEvent(QCloseEvent *e)
{
    // Unsaved work is not thrown away: the save question first, and a failed or cancelled
    // save keeps the program running.
    bool mayClose = false;
    runCommand(this, [this, &mayClose] { mayClose = m_controller->maybeSave(); });
    e->setAccepted(mayClose);
}

void TMainForm::openAtStart(const QString &fileName)
{
    m_fileAtStart = QFileInfo(fileName).absoluteFilePath();
}

void TMainForm::dragEnterEvent(QDragEnterEvent *e)
{
    if (droppedDocuments(e->mimeData()).size() == 1)
        e->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *e)
{
    const QStringList files = droppedDocuments(e->mimeData());
    if (files.size() != 1)
        return;
    e->acceptProposedAction();
    const QString fileName = files.constFirst();
    // Dropped before the start-up routine ran, it would be shut again by it: the routine opens
    // it instead, as a file named on the command line.
    if (Timer1->isActive()) {
        openAtStart(fileName);
        return;
    }
    // Like Open: the save question first, then the file.
    runCommand(this, [this, fileName] { m_controller->open(fileName); });
}

void TMainForm::FormCreate()
{
    document()->setDocChanged(false);
}

void TMainForm::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (document()->isOpen())
        runCommand(nullptr, [this] { SaveLast(); });
}

void TMainForm::ShowHint(const QString &longHint)
{
    if (longHint.isEmpty())
        StatusLine->clearMessage();
    else
        StatusLine->showMessage(longHint);
}

void TMainForm::Timer1Timer()
{
    const IniProfile opts = IniProfile::load(settingsFile(QStringLiteral("opts.ini")));
    const Settings settings = readSettings(opts);
    mnuInterpret->setChecked(readInterpret(opts));
    mnuFolder->setChecked(readWholeFolder(opts));
    frmOptions->showBotProperties(readBotProperties(opts));
    m_recentFiles = readRecentFiles(opts);
    showRecentFiles();
    applyEditorSettings(settings);
    frmOptions->showSettings(settings);
    od->setDirectory(dialogStartFolder(frmOptions->txtDir->text()));
    sd->setDirectory(dialogStartFolder(frmOptions->txtDir->text()));

    table()->setCell(LabelColumn, 0, tr("Categories"));
    table()->setCell(PatternColumn, 0, QStringLiteral("<pattern>..</pattern>"));
    table()->setCell(ThatColumn, 0, QStringLiteral("<that>..</that>"));
    table()->setCell(TemplateColumn, 0, QStringLiteral("<template>..</template>"));
    table()->setCell(TopicColumn, 0, QStringLiteral("<topic>"));
    table()->setCell(LabelColumn, 1, QStringLiteral("1"));
    m_templateWidth->setWidths({ 65, 250, 250, 250, 120 });

    iButMenu(false);
    updateUndoItems();
    path->setText(pathLineText(Document::kNoDocument));
    if (!m_fileAtStart.isEmpty())
        runCommand(this, [this] { openDocument(m_fileAtStart); });
    else if (frmOptions->dialog->isChecked())
        StartUp->show();
    Timer1->stop();
}

void TMainForm::iButMenu(bool enabled)
{
    for (QAction *a : { FileSaveItem, FileSaveAsItem, mnuClose, FilePrintItem, FilePrintSetupItem, EditCopyItem,
             EditFindItem, EditFindNextItem, EditFindPreviousItem, EditReplaceItem, EditGoToLineItem, mnuFindInFiles })
        a->setEnabled(enabled);
    if (!enabled && frmFind)
        frmFind->hide();
    setEnabledDeep(mnuAIML, enabled);
    tabs->setEnabled(enabled);
}

void TMainForm::tabsChange(int NewTab)
{
    switch (NewTab) {
    case 0:
        mnuCategories->setChecked(true);
        break;
    case 1:
        mnuPreview->setChecked(true);
        break;
    case 2:
        mnuDorvane->setChecked(true);
        break;
    default:
        break;
    }
}

namespace {
// The menu item's caption less its access letter is the page's.
void showPageByCaption(QTabWidget *tabs, const QString &itemCaption)
{
    const QString caption = QString(itemCaption).remove(QLatin1Char('&'));
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) == caption) {
            tabs->setCurrentIndex(i);
            return;
        }
    }
}
} // namespace

void TMainForm::mnuCategoriesClick()
{
    mnuCategories->setChecked(true);
    showPageByCaption(tabs, mnuCategories->text());
}

void TMainForm::mnuPreviewClick()
{
    mnuPreview->setChecked(true);
    showPageByCaption(tabs, mnuPreview->text());
}

void TMainForm::mnuDorvaneClick()
{
    mnuDorvane->setChecked(true);
    showPageByCaption(tabs, mnuDorvane->text());
}

void TMainForm::FileExit()
{
    close();
}

int TMainForm::currentRow() const
{
    const QModelIndex current = sg1->currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}
