#pragma once

// The scrolling credits' arithmetic: the line markup and the scroll steps. Nothing here needs
// a window, so tests call it directly.

#include "widgets/Color.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace vorrel {

// One credit line after its markup is read: what is shown and how. Styles and colour belong
// to the whole line, wherever their codes stood.
struct CreditLine
{
    QString text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    TColor color = 0;
};

// Reads a line's codes: "&&" is one "&", "&b", "&i", "&u" (either case) switch on a style,
// "&c" starts a colour "r,g,b" ended by ";" or the line's end; any other code is dropped.
// fontColor is the colour until a colour code says otherwise.
CreditLine parseCreditLine(QStringView line, TColor fontColor);

// The colour of a spec such as "255,0,0": three decimal components 0..255, blanks around
// each allowed. Anything else yields nothing, and the line keeps the colour it had.
std::optional<TColor> parseCreditColor(QStringView spec);

// The four style bits of a font.
struct CreditFontStyle
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    friend bool operator==(const CreditFontStyle &, const CreditFontStyle &) = default;
};

// The style a line is drawn in: bold replaces the credits font's whole style, italic and
// underline are added to what is there.
CreditFontStyle creditLineStyle(CreditFontStyle fontStyle, const CreditLine &line);

// Left edge of a line w pixels wide centred in a control W pixels wide; both halves truncate.
int creditLineX(int controlWidth, int textWidth);

// Blank rows above the first line of the still page.
inline constexpr int kCreditsTopMargin = 4;

// Top of line i on the still page.
int stillLineTop(int index, int lineHeight);

// Where the block starts when animation is switched on: one line below the bottom edge.
int animationStartOffset(int controlHeight, int lineHeight);

// A line an animated frame reaches, with the top of its row; visible unless it lies wholly
// above the top edge.
struct CreditRow
{
    int index = 0;
    int y = 0;
    bool visible = false;
};

// The lines an animated frame processes, in order: from the first, until a row ends below
// the bottom edge. The first line is always among them, wherever it stands.
QList<CreditRow> animatedRows(int scrollOffset, int lineHeight, int controlHeight, qsizetype lineCount);

// One step of the scroll timer.
struct CreditTick
{
    int scrollOffset = 0;
    bool passEnded = false;
};

// Moves the block up one pixel, or, once the last line's bottom has risen above the top edge,
// ends the pass and puts the first line's top back on the bottom edge without moving.
CreditTick scrollTick(int scrollOffset, qsizetype lineCount, int lineHeight, int controlHeight);

} // namespace vorrel
