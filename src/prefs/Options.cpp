#include "prefs/Options.h"
#include "app/WindowPlacement.h"

#include "app/ErrorBox.h"
#include "app/Main.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The named face where it is installed, else the sans-serif face the system puts in its place.
QFont sansSerif(const QString &family, int points)
{
    QFont font(family, points);
    font.setStyleHint(QFont::SansSerif);
    font.setFamily(QFontInfo(font).family());
    return font;
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

// A flat button with blue text that, like a tool button, never takes the focus.
QPushButton *flatButton(QWidget *parent, const QString &text, const char *name, const QRect &place)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, QColor(0, 0, 255));
    button->setPalette(palette);
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

} // namespace

TfrmOptions::TfrmOptions(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    // The pixel layout below is drawn for this face and size.
    setFont(sansSerif(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(409, 269);

    createControls();
    setTabOrderChain();
    connectCommands();
}

void TfrmOptions::createControls()
{
    Label1 = caption(this, QStringLiteral("Preview font:"), "Label1", 8, 8);
    fontname = staticText(this, QStringLiteral("Lucida Console"), "fontname", QRect(8, 28, 189, 17));
    fontsize = staticText(this, QStringLiteral("10"), "fontsize", QRect(204, 28, 85, 17));
    cmdChange = flatButton(this, QStringLiteral("Change"), "cmdChange", QRect(296, 28, 105, 21));
    Label2 = caption(this, QStringLiteral("Initial Directory:"), "Label2", 8, 52);
    txtDir = new QLineEdit(QStringLiteral("C:\\"), this);
    txtDir->setObjectName(QStringLiteral("txtDir"));
    txtDir->setReadOnly(true);
    txtDir->setGeometry(8, 68, 329, 21);
    cmdBrowse = flatButton(this, QStringLiteral("Browse..."), "cmdBrowse", QRect(344, 68, 61, 21));

    codeComp = new QGroupBox(QStringLiteral("Code Completion (AutoText)"), this);
    codeComp->setObjectName(QStringLiteral("codeComp"));
    codeComp->setGeometry(8, 96, 393, 61);
    m_limited = new QRadioButton(QStringLiteral("Limited code completion"), codeComp);
    m_limited->setObjectName(QStringLiteral("codeComp0"));
    m_limited->setGeometry(8, 18, 377, 17);
    m_none = new QRadioButton(QStringLiteral("No code completion"), codeComp);
    m_none->setObjectName(QStringLiteral("codeComp1"));
    m_none->setGeometry(8, 38, 377, 17);
    m_codeCompItems = new QButtonGroup(this);
    m_codeCompItems->addButton(m_limited, 0);
    m_codeCompItems->addButton(m_none, 1);
    m_limited->setChecked(true);

    comments = checkBox(this, QStringLiteral("Make comments italics"), "comments", 8, 164);
    dialog = checkBox(this, QStringLiteral("Show Welcome dialog at startup"), "dialog", 8, 188);
    upcase = checkBox(this, QStringLiteral("Automatically uppercase patterns"), "upcase", 8, 212);

    cmdDefaults = pushButton(this, QStringLiteral("Set to defaults"), "cmdDefaults", QRect(8, 232, 81, 33));
    cmdCancel = pushButton(this, QStringLiteral("Cancel"), "cmdCancel", QRect(224, 232, 81, 33));
    cmdOK = pushButton(this, QStringLiteral("OK"), "cmdOK", QRect(320, 232, 81, 33));
    cmdOK->setDefault(true);

    fonts = new QFontDialog(this);
    fonts->setObjectName(QStringLiteral("fonts"));
    fonts->setOption(QFontDialog::DontUseNativeDialog);
    fonts->setOption(QFontDialog::ScalableFonts);
    m_lastFont = sansSerif(QStringLiteral("MS Sans Serif"), 8);

    m_folderBrowser = new QFileDialog(this);
    m_folderBrowser->setObjectName(QStringLiteral("folderBrowser"));
    m_folderBrowser->setWindowTitle(QStringLiteral("Select Initial Directory..."));
    m_folderBrowser->setOption(QFileDialog::DontUseNativeDialog);
    m_folderBrowser->setOption(QFileDialog::ShowDirsOnly);
    m_folderBrowser->setFileMode(QFileDialog::Directory);
    m_folderBrowser->setAcceptMode(QFileDialog::AcceptOpen);

    updateCodeCompFocus();
}

void TfrmOptions::setTabOrderChain()
{
    const QList<QWidget *> order
        = { m_limited, m_none, cmdOK, cmdCancel, comments, cmdDefaults, txtDir, dialog, upcase };
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TfrmOptions::connectCommands()
{
    using vorrel::guarded;
    connect(m_codeCompItems, &QButtonGroup::idToggled, this, [this] { updateCodeCompFocus(); });
    connect(cmdChange, &QPushButton::clicked, this, guarded(this, [this] { cmdChangeClick(); }));
    connect(cmdBrowse, &QPushButton::clicked, this, guarded(this, [this] { cmdBrowseClick(); }));
    connect(cmdDefaults, &QPushButton::clicked, this, guarded(this, [this] { cmdDefaultsClick(); }));
    // The dialog closes with OK even when storing the settings failed.
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        vorrel::runCommand(this, [this] { cmdOKClick(); });
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

TMainForm *TfrmOptions::mainForm() const
{
    return qobject_cast<TMainForm *>(parentWidget());
}

void TfrmOptions::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        vorrel::centreOnScreen(this);
        // The first showing starts in the code-completion choice, first in the tab order.
        if (!focusWidget()) {
            QAbstractButton *first = m_codeCompItems->checkedButton();
            (first ? first : m_limited)->setFocus();
        }
    }
    QDialog::setVisible(visible);
}
