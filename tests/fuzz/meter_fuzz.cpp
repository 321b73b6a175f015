// Fuzz target for the meter notation: any bytes as the text typed into the
// meter box. The text gives a bar or one of the notation's two errors; a bar
// holds accents and regular beats only, within the groups' limits, and its
// own meter text gives it back. The meter box applies the same result.
// Besides the sanitizers' checks it aborts when one of these fails.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/beat_pattern.h"
#include "core/config.h"
#include "core/error.h"
#include "core/int_text.h"
#include "core/meter_box.h"
#include "core/transport.h"

namespace {

using zelmora::TConfig;
using zelmora::TError;

void Fail(int line) {
  std::fprintf(stderr, "meter fuzz check failed at line %d\n", line);
  std::abort();
}

// A macro for the line number: clang 14 has no std::source_location.
#define REQUIRE(condition) ((condition) ? void() : Fail(__LINE__))

constexpr std::string_view kRangeError = "Range check error";
constexpr std::string_view kNotANumber = "' is not a valid integer value";

// The pattern, or the message of the error the text gives.
struct TParsed {
  std::optional<std::string> Pattern;
  std::string Message;
};

TParsed Parse(std::string_view text) {
  try {
    return {zelmora::MeterTextToPattern(text), {}};
  } catch (const TError& error) {
    return {std::nullopt, error.what()};
  }
}

// Whether the message is the "not a number" of one of the text's groups,
// and that group is no number. The message is a C string: a group holding a
// NUL is named up to it.
bool NamesGroupOf(std::string_view text, std::string_view message) {
  for (std::size_t start = 0;; ++start) {
    const std::size_t plus = text.find('+', start);
    const std::string_view group = text.substr(start, plus - start);
    const std::string named = "'" + std::string(group) + std::string(kNotANumber);
    if (message == named.c_str() && !zelmora::TextToInt32(group)) {
      return true;
    }
    if (plus == std::string_view::npos) {
      return false;
    }
    start = plus;
  }
}

// Either error of the notation.
void CheckMessage(std::string_view text, std::string_view message) {
  REQUIRE(message == kRangeError || NamesGroupOf(text, message));
}

void CheckPattern(const std::string& pattern) {
  constexpr std::size_t kLongest = std::size_t{zelmora::kMaxMeterGroups} * zelmora::kMaxGroupSize;
  REQUIRE(pattern.size() <= kLongest);
  REQUIRE(pattern.find_first_not_of("Xx") == std::string::npos);
  // Every group begins with its accent.
  REQUIRE(pattern.empty() || pattern.front() == 'X');
  REQUIRE(std::count(pattern.begin(), pattern.end(), 'X') <= zelmora::kMaxMeterGroups);

  const std::string meterText = zelmora::PatternToMeterText(pattern);
  if (pattern.empty()) {
    REQUIRE(meterText == "1");  // a bar without beats has no meter text of its own
    return;
  }
  const TParsed again = Parse(meterText);
  REQUIRE(again.Pattern == pattern);
}

// The meter box with a bar of four under way at its third beat.
void CheckMeterBox(std::string_view text, const TParsed& parsed) {
  constexpr std::uint8_t kBeat = 3;
  TConfig config;
  zelmora::TTransport transport;
  config.SetBeatPattern("Xxxx");
  transport.BeatIndex = kBeat;
  config.Controls.scmbMeterNum->SetValue(std::string(text));
  try {
    zelmora::ApplyMeterBoxChange(config, transport);
  } catch (const TError& error) {
    REQUIRE(!parsed.Pattern && error.what() == parsed.Message);
    REQUIRE(config.BeatPattern == "Xxxx" && transport.BeatIndex == kBeat);
    REQUIRE(config.Controls.slblTimeSignNum->Value() == "4");
    REQUIRE(config.MeterText == text);
    return;
  }
  REQUIRE(parsed.Pattern == config.BeatPattern);
  REQUIRE(config.MeterText == text);
  // The box keeps the user's own way of writing the bar.
  REQUIRE(config.Controls.scmbMeterNum->Value() == text);
  REQUIRE(config.Controls.slblTimeSignNum->Value() == std::to_string(config.BeatPattern.size()));
  const std::uint8_t expectedBeat = config.BeatPattern.size() < kBeat ? 1 : kBeat;
  REQUIRE(transport.BeatIndex == expectedBeat);
}

// Any text taken as a pattern still has a meter text: group sizes and "+".
void CheckAnyPatternText(std::string_view pattern) {
  const std::string meterText = zelmora::PatternToMeterText(pattern);
  REQUIRE(!meterText.empty() && meterText.find_first_not_of("0123456789+") == std::string::npos);
  REQUIRE(meterText.front() != '+' && meterText.back() != '+');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  const TParsed parsed = Parse(text);
  if (parsed.Pattern) {
    CheckPattern(*parsed.Pattern);
  } else {
    CheckMessage(text, parsed.Message);
  }
  CheckMeterBox(text, parsed);
  CheckAnyPatternText(text);
  return 0;
}
