#include "app/ProgressBar.h"

TpBar::TpBar(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("pBar"));
    setWindowTitle(QStringLiteral("Progress"));
    resize(300, 80);
}
