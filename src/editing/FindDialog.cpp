#include "editing/FindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

TfrmFind::TfrmFind(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(tr("Find"));
    setModal(false);

    auto named = [](auto *widget, const char *name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    lblFind = named(new QLabel(tr("Fi&nd what:"), this), "lblFind");
    txtFind = named(new QLineEdit(this), "txtFind");
    lblFind->setBuddy(txtFind);
    lblReplace = named(new QLabel(tr("Re&place with:"), this), "lblReplace");
    txtReplace = named(new QLineEdit(this), "txtReplace");
    lblReplace->setBuddy(txtReplace);
    chkCase = named(new QCheckBox(tr("Match &case"), this), "chkCase");
    chkWholeWords = named(new QCheckBox(tr("&Whole words"), this), "chkWholeWords");
    chkRegExp = named(new QCheckBox(tr("Regular e&xpression"), this), "chkRegExp");
    cmdFindNext = named(new QPushButton(tr("&Find Next"), this), "cmdFindNext");
    cmdReplace = named(new QPushButton(tr("&Replace"), this), "cmdReplace");
    cmdReplaceAll = named(new QPushButton(tr("Replace &All"), this), "cmdReplaceAll");
    cmdClose = named(new QPushButton(tr("C&lose"), this), "cmdClose");
    cmdFindNext->setDefault(true);
    for (QPushButton *b : { cmdReplace, cmdReplaceAll, cmdClose })
        b->setAutoDefault(false);

    auto *fields = new QGridLayout;
    fields->addWidget(lblFind, 0, 0);
    fields->addWidget(txtFind, 0, 1);
    fields->addWidget(lblReplace, 1, 0);
    fields->addWidget(txtReplace, 1, 1);
    auto *boxes = new QVBoxLayout;
    for (QCheckBox *c : { chkCase, chkWholeWords, chkRegExp })
        boxes->addWidget(c);
    boxes->addStretch();
    fields->addLayout(boxes, 2, 1);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : { cmdFindNext, cmdReplace, cmdReplaceAll, cmdClose })
        buttons->addWidget(b);
    buttons->addStretch();
    auto *all = new QHBoxLayout(this);
    all->addLayout(fields, 1);
    all->addLayout(buttons);
    txtFind->setMinimumWidth(240);

    connect(cmdFindNext, &QPushButton::clicked, this, [this] { Q_EMIT findRequested(true); });
    connect(cmdReplace, &QPushButton::clicked, this, &TfrmFind::replaceRequested);
    connect(cmdReplaceAll, &QPushButton::clicked, this, &TfrmFind::replaceAllRequested);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    // The main window's keys for the next and the previous match work here as well.
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this,
        [this] { Q_EMIT findRequested(true); });
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this), &QShortcut::activated, this,
        [this] { Q_EMIT findRequested(false); });
}

vorrel::SearchOptions TfrmFind::options() const
{
    vorrel::SearchOptions o;
    o.text = txtFind->text();
    o.matchCase = chkCase->isChecked();
    o.wholeWords = chkWholeWords->isChecked();
    o.regExp = chkRegExp->isChecked();
    return o;
}

QString TfrmFind::replacement() const
{
    return txtReplace->text();
}

void TfrmFind::showFor(bool replacing, const QString &text)
{
    setWindowTitle(replacing ? tr("Replace") : tr("Find"));
    if (!text.isEmpty())
        txtFind->setText(text);
    show();
    raise();
    activateWindow();
    QLineEdit *field = replacing && !txtFind->text().isEmpty() ? txtReplace : txtFind;
    field->setFocus();
    field->selectAll();
}

void TfrmFind::setReplaceEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *> { lblReplace, txtReplace, cmdReplace, cmdReplaceAll })
        w->setEnabled(enabled);
}
