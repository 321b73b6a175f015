#include "core/beat_pattern.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/error.h"
#include "core/int_text.h"

namespace zelmora {
namespace {

// Converts and range-checks one group; groupNumber is 1-based.
std::uint8_t ParseGroup(std::string_view text, int groupNumber) {
  const std::optional<std::int32_t> value = TextToInt32(text);
  if (!value) {
    throw TError("'" + std::string(text) + "' is not a valid integer value");
  }
  // The value is checked before the number of groups.
  if (*value < 0 || *value > kMaxGroupSize || groupNumber > kMaxMeterGroups) {
    throw TError("Range check error");
  }
  return static_cast<std::uint8_t>(*value);
}

}  // namespace

std::string MeterTextToPattern(std::string_view meterText) {
  std::vector<std::uint8_t> groups;
  std::string_view rest = meterText;
  for (std::size_t plus = rest.find('+'); plus != std::string_view::npos; plus = rest.find('+')) {
    groups.push_back(ParseGroup(rest.substr(0, plus), static_cast<int>(groups.size()) + 1));
    rest.remove_prefix(plus + 1);
  }
  if (!rest.empty()) {
    groups.push_back(ParseGroup(rest, static_cast<int>(groups.size()) + 1));
  }

  std::string pattern;
  for (const std::uint8_t size : groups) {
    pattern += 'X';
    if (size >= 2) {
      pattern.append(size - 1u, 'x');
    }
  }
  return pattern;
}

std::string PatternToMeterText(std::string_view pattern) {
  std::string text;
  long count = 1;
  for (std::size_t i = 1; i < pattern.size(); ++i) {
    if (pattern[i] == 'X') {
      text += std::to_string(count) + '+';
      count = 1;
    } else {
      ++count;
    }
  }
  return text + std::to_string(count);
}

int PlayableLength(std::string_view pattern) {
  return static_cast<int>(std::min<std::size_t>(pattern.size(), kMaxPlayableBeats));
}

TBeatVoice VoiceAt(std::string_view pattern, int beatIndex) {
  const int length = PlayableLength(pattern);
  if (beatIndex < 1 || beatIndex > length) {
    return TBeatVoice::None;
  }
  if (length == 1) {
    return TBeatVoice::Regular;
  }
  switch (pattern[static_cast<std::size_t>(beatIndex - 1)]) {
    case 'X':
      return TBeatVoice::Accent;
    case 'x':
      return TBeatVoice::Regular;
    default:
      return TBeatVoice::None;
  }
}

bool BellAt(std::string_view pattern, int beatIndex) {
  return beatIndex == 1 && PlayableLength(pattern) >= 2;
}

}  // namespace zelmora
