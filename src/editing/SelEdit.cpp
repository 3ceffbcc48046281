#include "editing/SelEdit.h"

TfrmSelEdit::TfrmSelEdit(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSelEdit"));
    setWindowTitle(QStringLiteral("Category"));
    resize(593, 384);
}
