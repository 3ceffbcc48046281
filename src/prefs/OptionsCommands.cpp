#include "app/Main.h"

#include "prefs/Options.h"

void TMainForm::mnuOptionsClick()
{
    frmOptions->exec();
}
