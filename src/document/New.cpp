#include "document/New.h"

TfrmNew::TfrmNew(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmNew"));
    setWindowTitle(QStringLiteral("New Document"));
    resize(357, 176);
}
