#include "app/Main.h"

// Placeholders until the category commands are built.
void TMainForm::mnuCreateNewClick() { }
void TMainForm::mnuSelEditClick() { }
void TMainForm::mnuSelDeleteClick() { }
void TMainForm::mnuCutClick() { }
void TMainForm::EditCopy() { }
void TMainForm::mnuPasteClick() { }
void TMainForm::setUpEditing() { }
