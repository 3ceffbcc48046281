#pragma once

#include <QIcon>

namespace vorrel {

enum class ToolGlyph { New, Open, Save, Print, Copy, Help, About };

// The tool bar's own glyphs, with a distinct greyed image for the disabled state.
QIcon toolIcon(ToolGlyph glyph);

} // namespace vorrel
