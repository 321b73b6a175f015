#include "store/setting_text.h"

#include "core/int_text.h"

namespace zelmora {

std::string IntegerText(int value) {
  return std::to_string(value);
}

std::string FlagText(bool value) {
  return value ? "1" : "0";
}

std::string TextBeforeNul(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

int IntegerFromText(std::string_view text, int fallback) {
  return TextToInt32(text).value_or(fallback);
}

bool FlagFromText(std::string_view text, bool fallback) {
  return IntegerFromText(text, fallback ? 1 : 0) != 0;
}

}  // namespace zelmora
