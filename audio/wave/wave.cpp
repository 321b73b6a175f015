#include "audio/wave/wave.h"

#include <filesystem>
#include <fstream>
#include <utility>

namespace zelmora {

TWave::TWave(std::vector<std::uint8_t> image) : image_(std::move(image)) {}

bool TWave::LoadFromFile(const std::string& path) {
  // A directory opens as a stream on some systems and then reads as empty.
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return false;
  }
  std::vector<std::uint8_t> bytes;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.insert(bytes.end(), buffer, buffer + in.gcount());
  }
  if (in.bad()) {
    return false;
  }
  SetImage(std::move(bytes));
  return true;
}

void TWave::SetImage(std::vector<std::uint8_t> image) {
  image_ = std::move(image);
  stale_ = true;
}

void TWave::SetImage(std::span<const std::uint8_t> bytes) {
  SetImage(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

const std::optional<TWaveLayout>& TWave::Layout() const {
  if (stale_) {
    layout_ = ParseWave(image_);
    stale_ = false;
  }
  return layout_;
}

bool TWave::IsValid() const {
  return Layout().has_value();
}

std::vector<std::uint8_t> TWave::FormatRecord() const {
  const auto& layout = Layout();
  return layout ? layout->formatRecord : std::vector<std::uint8_t>{};
}

std::optional<TWaveFormat> TWave::Format() const {
  const auto& layout = Layout();
  return layout ? std::optional<TWaveFormat>(layout->format) : std::nullopt;
}

std::optional<std::size_t> TWave::SampleData() const {
  const auto& layout = Layout();
  return layout ? std::optional<std::size_t>(layout->dataOffset) : std::nullopt;
}

std::uint32_t TWave::SampleBytes() const {
  const auto& layout = Layout();
  return layout ? layout->declaredDataBytes : 0;
}

std::span<const std::uint8_t> TWave::PresentData() const {
  const auto& layout = Layout();
  if (!layout) {
    return {};
  }
  return std::span<const std::uint8_t>(image_).subspan(layout->dataOffset,
                                                       layout->presentDataBytes);
}

std::uint64_t TWave::DurationMs() const {
  const auto& layout = Layout();
  if (!layout || layout->format.nAvgBytesPerSec == 0) {
    return 0;
  }
  // Everything is unsigned, so half up is half away from zero; the operands
  // stay below 2^45, far inside 64 bits.
  const std::uint64_t rate = layout->format.nAvgBytesPerSec;
  return (2000 * std::uint64_t{layout->declaredDataBytes} + rate) / (2 * rate);
}

std::uint64_t TWave::BytesForMs(std::uint32_t ms) const {
  const auto& layout = Layout();
  if (!layout) {
    return 0;
  }
  // Below 2^64 even for the largest rate and time.
  const std::uint64_t bytes = (std::uint64_t{layout->format.nAvgBytesPerSec} * ms + 500) / 1000;
  const std::uint64_t frame = layout->format.nBlockAlign;
  return frame == 0 ? bytes : bytes - bytes % frame;
}

}  // namespace zelmora
