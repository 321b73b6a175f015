#include "core/int_text.h"

#include <limits>

namespace zelmora {
namespace {

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value < base ? value : -1;
}

}  // namespace

std::optional<std::int32_t> TextToInt32(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  int base = 10;
  const std::string_view rest = text.substr(pos);
  if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    base = 16;
    pos += 1;
  } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    pos += 2;
  }
  if (pos >= text.size()) {
    return std::nullopt;
  }
  // The magnitude of the most negative value is one more than the largest
  // positive one, so accumulate in 64 bits and check against the sign.
  const std::int64_t limit =
      negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
               : std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const int digit = DigitValue(text[pos], base);
    if (digit < 0) {
      return std::nullopt;
    }
    magnitude = magnitude * base + digit;
    if (magnitude > limit) {
      return std::nullopt;
    }
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace zelmora
