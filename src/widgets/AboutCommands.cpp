#include "app/Main.h"

#include "widgets/About1.h"

// Placeholder until the About window is built.
void TMainForm::HelpAbout()
{
    AboutBox->exec();
}
