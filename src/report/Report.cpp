#include "report/Report.h"

TfrmReport::TfrmReport(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("General Report"));
    resize(300, 300);
}
