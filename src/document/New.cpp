#include "document/New.h"

#include "widgets/FormFont.h"
#include "widgets/WindowPlacement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmNew::TfrmNew(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmNew"));
    setWindowTitle(tr("New Document"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint);
    setFont(vorrel::formFont(8));
    setFixedSize(357, 176);

    auto field = [this](QLabel *&label, const char *labelName, const QString &caption, int top, QLineEdit *&edit,
                     const char *editName, const QString &text) {
        label = new QLabel(caption, this);
        label->setObjectName(QLatin1String(labelName));
        label->move(4, top);
        label->adjustSize();
        edit = new QLineEdit(text, this);
        edit->setObjectName(QLatin1String(editName));
        edit->setGeometry(4, top + 16, 349, 21);
        label->setBuddy(edit);
    };
    field(Label1, "Label1", tr("Title:"), 4, txtTitle, "txtTitle", QStringLiteral("NewDocument"));
    field(Label2, "Label2", tr("Author:"), 48, txtAuthor, "txtAuthor", QStringLiteral("AUTHOR1"));
    field(Label3, "Label3", tr("Language:"), 92, txtLanguage, "txtLanguage", QStringLiteral("LANG"));

    cmdCancel = new QPushButton(tr("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(92, 136, 81, 33);
    cmdCancel->setAutoDefault(false);
    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(200, 136, 81, 33);
    cmdOK->setDefault(true);

    setTabOrder(txtTitle, txtAuthor);
    setTabOrder(txtAuthor, txtLanguage);
    setTabOrder(txtLanguage, cmdCancel);
    setTabOrder(cmdCancel, cmdOK);

    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    // The dialog closes whatever building the document comes to; an error is shown after.
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        accept();
        cmdOKClick();
    });
}

void TfrmNew::cmdOKClick()
{
    Q_EMIT newDocumentRequested(txtTitle->text(), txtAuthor->text(), txtLanguage->text());
}

void TfrmNew::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    vorrel::centreOnScreen(this);
}
