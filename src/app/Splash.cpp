#include "app/Splash.h"

TStartUp::TStartUp(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("StartUp"));
    setWindowTitle(QStringLiteral("Welcome to Cendaro AIML Vorrel 3.0"));
    resize(433, 249);
}
