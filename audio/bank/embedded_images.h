#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zelmora::bank_data {

// A built-in sample as compiled into the program: its name and its complete
// RIFF WAVE image. The definitions are generated at build time by
// bank_generator.
struct TEmbeddedImage {
  std::string_view name;
  std::span<const std::uint8_t> bytes;
};

inline constexpr int kEmbeddedBankCount = 25;

extern const TEmbeddedImage kBankImages[kEmbeddedBankCount];
extern const TEmbeddedImage kClickImage;
extern const TEmbeddedImage kBellImage;

}  // namespace zelmora::bank_data
