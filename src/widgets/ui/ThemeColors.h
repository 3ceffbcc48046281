#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace vorrel {

// The colours the program draws text in itself, in two sets: one for light desktop themes, one
// for dark ones, each readable on its background. The welcome window keeps its designed colours.

// The relative luminance of a colour, 0 for black to 1 for white, and the contrast of two
// colours, 1 to 21, as the Web Content Accessibility Guidelines define them.
double relativeLuminance(const QColor &color);
double contrastRatio(const QColor &a, const QColor &b);

// The least contrast of every text colour of a set against its background.
inline constexpr double kLeastContrast = 4.5;

// Dark when the palette's base colour is darker than the grey on which black and white text
// contrast equally.
enum class Theme { Light, Dark };
Theme themeOf(const QPalette &palette);

// The preview's paper and a colour for each kind of text on it.
struct PreviewColors
{
    QColor paper;
    QColor text;
    QColor tag;
    QColor attribute;
    QColor value;
    QColor comment;
    QColor entity;
    QColor declaration;
    QColor cdata;
    QColor error;
    QColor caret;
    // The line numbers and the strip they stand on.
    QColor lineNumber;
    QColor margin;
};
const PreviewColors &previewColors(Theme theme);

// The category dialog's tags, in the colours the form names, each in a shade for the theme.
enum class TagColor { Blue, Maroon, Purple, Green };
QColor tagColor(TagColor color, Theme theme);

// Gives the widget's text (`role`: WindowText for a label, ButtonText for a button) the tag
// colour for its window's theme. A theme whose window is far from its base in lightness keeps
// its own text colour instead, since the shade would not be readable there.
void useTagColor(QWidget *widget, TagColor color, QPalette::ColorRole role = QPalette::WindowText);
// The same again for every widget under `window` given a tag colour, after its palette changed.
void updateTagColors(QWidget *window);

} // namespace vorrel
