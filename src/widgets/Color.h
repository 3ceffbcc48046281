#pragma once

#include <cstdint>

namespace vorrel {

// A colour value: 0x00BBGGRR for an RGB colour (red in the lowest byte); with the top bit set,
// the low byte names a system colour that is looked up only when the colour is used.
using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0x80000000u;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15u;
inline constexpr TColor clWhite = 0x00FFFFFFu;

constexpr TColor rgbColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(TColor c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(TColor c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(TColor c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr bool isSystemColor(TColor c)
{
    return (c & kSystemColorFlag) != 0;
}

} // namespace vorrel
