#pragma once

#include <QFont>
#include <QString>

namespace vorrel {

// The face every window is laid out for.
QString formFamily();

// The form face at `points`. Where the face is missing, every window gets the same
// stand-in, registered once as its substitute, so that all of them draw alike.
QFont formFont(int points);

// The same face given in pixels, for controls drawn to a pixel size.
QFont formFontPixels(int pixels);

} // namespace vorrel
