#include "app/Main.h"

// Placeholders until the conversation page is built.
void TMainForm::SayItClick() { }
QString TMainForm::Capitalize(const QString &text) { return text; }
void TMainForm::setUpConversation() { }
