#include "prefs/Options.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TfrmOptions::TfrmOptions(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(409, 269);

    auto place = [this](QWidget *w, const char *name, int x, int y) {
        w->setObjectName(QLatin1String(name));
        w->move(x, y);
        Q_UNUSED(this);
    };

    Label1 = new QLabel(QStringLiteral("Preview font:"), this);
    place(Label1, "Label1", 8, 8);
    fontname = new QLabel(QStringLiteral("Lucida Console"), this);
    place(fontname, "fontname", 8, 28);
    fontname->resize(189, 17);
    fontsize = new QLabel(QStringLiteral("10"), this);
    place(fontsize, "fontsize", 204, 28);
    fontsize->resize(85, 17);
    cmdChange = new QPushButton(QStringLiteral("Change"), this);
    place(cmdChange, "cmdChange", 296, 28);
    cmdChange->resize(105, 21);
    Label2 = new QLabel(QStringLiteral("Initial Directory:"), this);
    place(Label2, "Label2", 8, 52);
    txtDir = new QLineEdit(QStringLiteral("C:\\"), this);
    place(txtDir, "txtDir", 8, 68);
    txtDir->resize(329, 21);
    txtDir->setReadOnly(true);
    cmdBrowse = new QPushButton(QStringLiteral("Browse..."), this);
    place(cmdBrowse, "cmdBrowse", 344, 68);
    cmdBrowse->resize(61, 21);

    codeComp = new QGroupBox(QStringLiteral("Code Completion (AutoText)"), this);
    place(codeComp, "codeComp", 8, 96);
    codeComp->resize(393, 61);
    m_limited = new QRadioButton(QStringLiteral("Limited code completion"), codeComp);
    m_limited->move(8, 18);
    m_none = new QRadioButton(QStringLiteral("No code completion"), codeComp);
    m_none->move(8, 38);
    m_codeCompItems = new QButtonGroup(this);
    m_codeCompItems->addButton(m_limited, 0);
    m_codeCompItems->addButton(m_none, 1);
    m_limited->setChecked(true);

    comments = new QCheckBox(QStringLiteral("Make comments italics"), this);
    place(comments, "comments", 8, 164);
    dialog = new QCheckBox(QStringLiteral("Show Welcome dialog at startup"), this);
    place(dialog, "dialog", 8, 188);
    upcase = new QCheckBox(QStringLiteral("Automatically uppercase patterns"), this);
    place(upcase, "upcase", 8, 212);

    cmdDefaults = new QPushButton(QStringLiteral("Set to defaults"), this);
    place(cmdDefaults, "cmdDefaults", 8, 232);
    cmdDefaults->resize(81, 33);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    place(cmdCancel, "cmdCancel", 224, 232);
    cmdCancel->resize(81, 33);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    place(cmdOK, "cmdOK", 320, 232);
    cmdOK->resize(81, 33);
    cmdOK->setDefault(true);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    fonts = new QFontDialog(this);
    fonts->setObjectName(QStringLiteral("fonts"));
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
}
