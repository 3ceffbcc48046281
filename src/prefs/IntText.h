#pragma once

#include <QStringView>

#include <optional>

namespace vorrel {

// Whole-number reading as the settings and the RANDOM box expect it: optional leading
// blanks, an optional sign, then decimal digits or hexadecimal digits after "$", "x" or
// "0x". Anything else, trailing characters included, or a value outside 32 bits, is no number.
std::optional<int> strToInt(QStringView text);

} // namespace vorrel
