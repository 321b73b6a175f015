#include "audio/wave/riff_writer.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <utility>

#include "audio/wave/byte_order.h"

namespace zelmora {

void TRiffWriter::BeginChunk(std::string_view id) {
  openChunks_.push_back(image_.size());
  AppendFourCc(id);
  AppendLe32(0);
}

void TRiffWriter::EndChunk() {
  assert(!openChunks_.empty());
  const std::size_t at = openChunks_.back();
  openChunks_.pop_back();
  const std::size_t contentBytes = image_.size() - at - 8;
  // A size field has 32 bits; a larger chunk cannot be described, and none of
  // our images comes near that, so saturate rather than wrap.
  constexpr std::size_t kMaxSize = std::numeric_limits<std::uint32_t>::max();
  WriteLe32(image_, at + 4, static_cast<std::uint32_t>(std::min(contentBytes, kMaxSize)));
  if (contentBytes % 2 != 0) {
    image_.push_back(0);
  }
}

void TRiffWriter::AppendFourCc(std::string_view id) {
  assert(id.size() == 4);
  for (char c : id) {
    image_.push_back(static_cast<std::uint8_t>(c));
  }
}

void TRiffWriter::AppendLe16(std::uint16_t value) {
  zelmora::AppendLe16(image_, value);
}

void TRiffWriter::AppendLe32(std::uint32_t value) {
  zelmora::AppendLe32(image_, value);
}

void TRiffWriter::AppendBytes(std::span<const std::uint8_t> bytes) {
  image_.insert(image_.end(), bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> TRiffWriter::Take() {
  assert(openChunks_.empty());
  return std::exchange(image_, {});
}

}  // namespace zelmora
