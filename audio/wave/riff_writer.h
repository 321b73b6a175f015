#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zelmora {

// Writes RIFF chunks into a growing byte image. A chunk's size is filled in
// when the chunk is closed, and odd-sized content gets its pad byte then.
// Chunks nest: close them in the reverse order of opening. A plain value:
// one thread at a time.
class TRiffWriter {
 public:
  // Opens a chunk; `id` must be four characters.
  void BeginChunk(std::string_view id);
  void EndChunk();

  void AppendFourCc(std::string_view id);
  void AppendLe16(std::uint16_t value);
  void AppendLe32(std::uint32_t value);
  void AppendBytes(std::span<const std::uint8_t> bytes);

  // The image written so far; every chunk must be closed.
  std::vector<std::uint8_t> Take();

 private:
  std::vector<std::uint8_t> image_;
  std::vector<std::size_t> openChunks_;  // offsets of the open chunks' ids
};

}  // namespace zelmora
