#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelmora {

// Converts a text to a signed 32-bit integer by the one number syntax used
// for meter groups and stored settings: leading blanks, an optional sign,
// then decimal digits or hexadecimal digits after "$", "x", "X", "0x" or
// "0X". Nothing may follow the digits. Returns nothing when the text does
// not convert or its value does not fit 32 bits.
// Thread: any
std::optional<std::int32_t> TextToInt32(std::string_view text);

}  // namespace zelmora
