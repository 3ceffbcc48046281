#include "app/Main.h"

#include "widgets/About1.h"
#include "widgets/Credits.h"

void TMainForm::HelpAbout()
{
    // Each showing starts the credits again from below the bottom edge; closing stops them.
    AboutBox->sc1->setAnimate(true);
    AboutBox->exec();
}
