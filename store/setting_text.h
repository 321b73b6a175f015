#pragma once

#include <string>
#include <string_view>

namespace zelmora {

// The one text encoding of a stored setting, shared by the settings file
// and the presets so that a value means the same in both: integers as
// decimal text, flags as "1" or "0", texts up to their first NUL. Reading
// takes the number syntax of core/int_text.h, and a text that does not
// convert gives the fallback.
// Thread: any
std::string IntegerText(int value);
std::string FlagText(bool value);
std::string TextBeforeNul(std::string_view text);
int IntegerFromText(std::string_view text, int fallback);
// Any non-zero integer is true.
bool FlagFromText(std::string_view text, bool fallback);

}  // namespace zelmora
