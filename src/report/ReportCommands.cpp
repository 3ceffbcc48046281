#include "app/Main.h"

// Placeholders until the report, printing and help commands are built.
void TMainForm::mnuReportClick() { }
int TMainForm::CountWords(const QString &) { return 0; }
void TMainForm::FilePrint() { }
void TMainForm::FilePrintSetup() { }
void TMainForm::HelpContentsItemClick() { }
void TMainForm::SpeedButton9Click() { }
void TMainForm::mnuTagsClick() { }
void TMainForm::mnuTutorialClick() { }
