#pragma once

class QWidget;

namespace vorrel {

// Centres a window on the screen of its owner (or its own), not over the owner: the
// program's dialogs all open in the middle of the desktop.
void centreOnScreen(QWidget *window);

} // namespace vorrel
