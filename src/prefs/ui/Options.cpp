#include "prefs/ui/Options.h"

#include "base/ProgramFiles.h"
#include "prefs/IniProfile.h"
#include "prefs/IntText.h"
#include "widgets/ui/ErrorBox.h"
#include "widgets/ui/FormFont.h"
#include "widgets/ui/ThemeColors.h"
#include "widgets/ui/WindowPlacement.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

using namespace vorrel;

namespace {

int pointSizeOf(const QFont &font)
{
    // A font given in pixels has no point size of its own; ask what it comes out as.
    return font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
}

QLabel *staticText(QWidget *parent, const QString &text, const char *name, const QRect &place)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(place);
    return label;
}

QLabel *caption(QWidget *parent, const QString &text, const char *name, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

// A flat button with blue text, the theme's blue, readable on a dark window too; like a tool
// button it takes no focus from a click, but Tab reaches it.
QPushButton *flatButton(QWidget *parent, const QString &text, const char *name, const QRect &place)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    useTagColor(button, TagColor::Blue, QPalette::ButtonText);
    button->setGeometry(place);
    return button;
}

QPushButton *pushButton(QWidget *parent, const QString &text, const char *name, const QRect &place)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    return button;
}

QCheckBox *checkBox(QWidget *parent, const QString &text, const char *name, int x, int y)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->move(x, y);
    box->adjustSize();
    return box;
}

// The pages' tabs take this much above the settings' own layout.
constexpr int kButtonsTop = 232 + 34;

} // namespace

TfrmOptions::TfrmOptions(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(tr("Options"));
    // The pixel layout below is drawn for this face and size.
    setFont(formFont(8));
    setFixedSize(409, kButtonsTop + 37);

    createControls();
    setTabOrderChain();
    connectCommands();
}

void TfrmOptions::createControls()
{
    // The seven settings keep their places on the first page; the buttons stay below the pages.
    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    pages->setGeometry(0, 0, 409, kButtonsTop - 2);
    // Ctrl+Tab turns the pages; Tab keeps to the settings' own order.
    pages->tabBar()->setFocusPolicy(Qt::NoFocus);
    tsGeneral = new QWidget;
    tsGeneral->setObjectName(QStringLiteral("tsGeneral"));
    pages->addTab(tsGeneral, tr("General"));
    QWidget *page = tsGeneral;

    Label1 = caption(page, tr("Preview font:"), "Label1", 8, 8);
    fontname = staticText(page, QStringLiteral("Lucida Console"), "fontname", QRect(8, 28, 189, 17));
    fontsize = staticText(page, QStringLiteral("10"), "fontsize", QRect(204, 28, 85, 17));
    cmdChange = flatButton(page, tr("Change"), "cmdChange", QRect(296, 28, 105, 21));
    Label2 = caption(page, tr("Initial Directory:"), "Label2", 8, 52);
    txtDir = new QLineEdit(QStringLiteral("C:\\"), page);
    txtDir->setObjectName(QStringLiteral("txtDir"));
    txtDir->setReadOnly(true);
    txtDir->setGeometry(8, 68, 329, 21);
    Label2->setBuddy(txtDir);
    cmdBrowse = flatButton(page, tr("Browse..."), "cmdBrowse", QRect(344, 68, 61, 21));

    codeComp = new QGroupBox(tr("Code Completion (AutoText)"), page);
    codeComp->setObjectName(QStringLiteral("codeComp"));
    codeComp->setGeometry(8, 96, 393, 61);
    m_limited = new QRadioButton(tr("Limited code completion"), codeComp);
    m_limited->setObjectName(QStringLiteral("codeComp0"));
    m_limited->setGeometry(8, 18, 377, 17);
    m_none = new QRadioButton(tr("No code completion"), codeComp);
    m_none->setObjectName(QStringLiteral("codeComp1"));
    m_none->setGeometry(8, 38, 377, 17);
    m_codeCompItems = new QButtonGroup(this);
    m_codeCompItems->addButton(m_limited, 0);
    m_codeCompItems->addButton(m_none, 1);
    m_limited->setChecked(true);

    comments = checkBox(page, tr("Make comments italics"), "comments", 8, 164);
    dialog = checkBox(page, tr("Show Welcome dialog at startup"), "dialog", 8, 188);
    upcase = checkBox(page, tr("Automatically uppercase patterns"), "upcase", 8, 212);

    createBotPage();

    cmdDefaults = pushButton(this, tr("Set to defaults"), "cmdDefaults", QRect(8, kButtonsTop, 81, 33));
    cmdCancel = pushButton(this, tr("Cancel"), "cmdCancel", QRect(224, kButtonsTop, 81, 33));
    cmdOK = pushButton(this, tr("OK"), "cmdOK", QRect(320, kButtonsTop, 81, 33));
    cmdOK->setDefault(true);

    fonts = new QFontDialog(this);
    fonts->setObjectName(QStringLiteral("fonts"));
    fonts->setOption(QFontDialog::DontUseNativeDialog);
    fonts->setOption(QFontDialog::ScalableFonts);
    // The font box lists real faces only: it opens on the face the form font comes out as.
    m_lastFont = formFont(8);
    m_lastFont.setFamily(QFontInfo(m_lastFont).family());

    m_folderBrowser = new QFileDialog(this);
    m_folderBrowser->setObjectName(QStringLiteral("folderBrowser"));
    m_folderBrowser->setWindowTitle(tr("Select Initial Directory..."));
    m_folderBrowser->setOption(QFileDialog::DontUseNativeDialog);
    m_folderBrowser->setOption(QFileDialog::ShowDirsOnly);
    m_folderBrowser->setFileMode(QFileDialog::Directory);
    m_folderBrowser->setAcceptMode(QFileDialog::AcceptOpen);

    updateCodeCompFocus();
}

void TfrmOptions::createBotPage()
{
    tsBot = new QWidget;
    tsBot->setObjectName(QStringLiteral("tsBot"));
    pages->addTab(tsBot, tr("Bot"));
    botProps = new QTableWidget(0, 2, tsBot);
    botProps->setObjectName(QStringLiteral("botProps"));
    botProps->setHorizontalHeaderLabels({ tr("Name"), tr("Value") });
    botProps->setAccessibleName(tr("Bot properties"));
    botProps->horizontalHeader()->setStretchLastSection(true);
    botProps->setColumnWidth(0, 120);
    botProps->verticalHeader()->hide();
    botProps->setGeometry(8, 8, 385, 196);
    auto *hint = new QLabel(tr("What <bot name=\"...\"/> gives. A row without a name is left out."), tsBot);
    hint->setTextFormat(Qt::PlainText);
    hint->setObjectName(QStringLiteral("botHint"));
    hint->setGeometry(8, 208, 385, 17);
    connect(botProps, &QTableWidget::itemChanged, this, [this] { keepEmptyLastRow(); });
    keepEmptyLastRow();
}

void TfrmOptions::keepEmptyLastRow()
{
    const int rows = botProps->rowCount();
    const auto filled = [this](int row) {
        const QTableWidgetItem *name = botProps->item(row, 0);
        const QTableWidgetItem *value = botProps->item(row, 1);
        return (name && !name->text().isEmpty()) || (value && !value->text().isEmpty());
    };
    if (rows == 0 || filled(rows - 1))
        botProps->insertRow(rows);
}

BotProperties TfrmOptions::botProperties() const
{
    BotProperties properties;
    for (const QString &name : properties.names())
        properties.remove(name);
    for (int row = 0; row < botProps->rowCount(); ++row) {
        const QTableWidgetItem *name = botProps->item(row, 0);
        const QTableWidgetItem *value = botProps->item(row, 1);
        if (name && !name->text().trimmed().isEmpty())
            properties.set(name->text(), value ? value->text() : QString());
    }
    return properties;
}

void TfrmOptions::showBotProperties(const BotProperties &properties)
{
    const QSignalBlocker quiet(botProps);
    botProps->setRowCount(0);
    for (const QString &name : properties.names()) {
        const int row = botProps->rowCount();
        botProps->insertRow(row);
        botProps->setItem(row, 0, new QTableWidgetItem(name));
        botProps->setItem(row, 1, new QTableWidgetItem(properties.value(name)));
    }
    keepEmptyLastRow();
}

void TfrmOptions::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateTagColors(this);
}

void TfrmOptions::setTabOrderChain()
{
    const QList<QWidget *> order = { cmdChange, txtDir, cmdBrowse, m_limited, m_none, comments, dialog, upcase,
        botProps, cmdDefaults, cmdCancel, cmdOK };
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TfrmOptions::connectCommands()
{
    connect(m_codeCompItems, &QButtonGroup::idToggled, this, [this] { updateCodeCompFocus(); });
    connect(cmdChange, &QPushButton::clicked, this, guarded(this, [this] { cmdChangeClick(); }));
    connect(cmdBrowse, &QPushButton::clicked, this, guarded(this, [this] { cmdBrowseClick(); }));
    connect(cmdDefaults, &QPushButton::clicked, this, guarded(this, [this] { cmdDefaultsClick(); }));
    // The dialog closes with OK even when storing the settings failed.
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        runCommand(this, [this] { cmdOKClick(); });
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmOptions::codeCompIndex() const
{
    return m_codeCompItems->checkedId();
}

void TfrmOptions::setCodeCompIndex(int index)
{
    if (index > 1)
        index = 1;
    if (index < -1)
        index = -1;
    if (index >= 0) {
        m_codeCompItems->button(index)->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button by itself.
    m_codeCompItems->setExclusive(false);
    m_limited->setChecked(false);
    m_none->setChecked(false);
    m_codeCompItems->setExclusive(true);
    updateCodeCompFocus();
}

void TfrmOptions::updateCodeCompFocus()
{
    QAbstractButton *stop = m_codeCompItems->checkedButton();
    if (!stop)
        stop = m_limited;
    for (QAbstractButton *item : { static_cast<QAbstractButton *>(m_limited), static_cast<QAbstractButton *>(m_none) })
        item->setFocusPolicy(item == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TfrmOptions::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        centreOnScreen(this);
        // The first showing starts in the code-completion choice, first in the tab order.
        if (!focusWidget()) {
            QAbstractButton *first = m_codeCompItems->checkedButton();
            (first ? first : m_limited)->setFocus();
        }
    }
    QDialog::setVisible(visible);
}

Settings TfrmOptions::settings() const
{
    Settings s;
    s.fontName = fontname->text();
    s.fontSize = strToInt(fontsize->text()).value_or(0);
    s.codeCompletion = codeCompIndex();
    s.italicComments = comments->isChecked();
    s.initialDir = txtDir->text();
    s.showWelcome = dialog->isChecked();
    s.upcasePatterns = upcase->isChecked();
    return s;
}

void TfrmOptions::showSettings(const Settings &s)
{
    fontname->setText(s.fontName);
    fontsize->setText(QString::number(s.fontSize));
    setCodeCompIndex(s.codeCompletion);
    comments->setChecked(s.italicComments);
    txtDir->setText(s.initialDir);
    dialog->setChecked(s.showWelcome);
    upcase->setChecked(s.upcasePatterns);
}

void TfrmOptions::cmdChangeClick()
{
    fonts->setCurrentFont(m_lastFont);
    if (fonts->exec() != QDialog::Accepted)
        return;
    m_lastFont = fonts->selectedFont();
    fontname->setText(m_lastFont.family());
    fontsize->setText(QString::number(pointSizeOf(m_lastFont)));
}

void TfrmOptions::cmdBrowseClick()
{
    const QString current = txtDir->text();
    const QFileInfo folder(current);
    m_folderBrowser->setDirectory(!current.isEmpty() && folder.isDir() ? folder.absoluteFilePath() : QDir::rootPath());
    if (m_folderBrowser->exec() != QDialog::Accepted)
        return;
    const QStringList chosen = m_folderBrowser->selectedFiles();
    if (!chosen.isEmpty())
        txtDir->setText(QDir::toNativeSeparators(chosen.first()));
}

void TfrmOptions::cmdDefaultsClick()
{
    const Settings s = readDefaults(IniProfile::load(programFile(QStringLiteral("defs.dat"))), settings());
    Q_EMIT defaultFontChosen(s.fontName, s.fontSize);
    showSettings(s);
}

void TfrmOptions::cmdOKClick()
{
    const std::optional<int> size = strToInt(fontsize->text());
    if (!size)
        throw VorrelError(tr("'%1' is not a valid integer value").arg(fontsize->text()));
    Settings s = settings();
    s.fontSize = *size;
    const QString file = settingsFile(QStringLiteral("opts.ini"));
    // The whole file is replaced once, every other line kept, so that it never holds half of
    // one OK and half of another.
    QString reason;
    std::optional<IniProfile> profile = IniProfile::loadForWriting(file, &reason);
    if (profile && (!writeSettings(*profile, s) || !writeBotProperties(*profile, botProperties()))) {
        reason = tr("A value holds a line break or starts or ends with a blank");
        profile.reset();
    }
    if (!profile || !profile->save(file, &reason))
        throw VorrelError(unableToWrite(file, reason));
    Q_EMIT settingsStored(s);
}
