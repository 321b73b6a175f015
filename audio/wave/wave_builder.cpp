#include "audio/wave/wave_builder.h"

#include "audio/wave/byte_order.h"
#include "audio/wave/riff_reader.h"
#include "audio/wave/riff_writer.h"

namespace zelmora {

std::vector<std::uint8_t> MakePcmWave(std::uint16_t channels, std::uint32_t rate,
                                      std::uint16_t bits, const std::vector<std::uint8_t>& data,
                                      std::uint32_t formatChunkSize,
                                      const std::vector<std::uint8_t>& trailingChunks) {
  const auto blockAlign = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
  std::vector<std::uint8_t> record;
  AppendLe16(record, kWaveFormatPcm);
  AppendLe16(record, channels);
  AppendLe32(record, rate);
  AppendLe32(record, rate * blockAlign);
  AppendLe16(record, blockAlign);
  AppendLe16(record, bits);
  if (formatChunkSize >= kFormatRecordBaseBytes) {
    AppendLe16(record, static_cast<std::uint16_t>(formatChunkSize - kFormatRecordBaseBytes));
  }
  record.resize(formatChunkSize, 0);

  TRiffWriter out;
  out.BeginChunk("RIFF");
  out.AppendFourCc("WAVE");
  out.BeginChunk("fmt ");
  out.AppendBytes(record);
  out.EndChunk();
  out.BeginChunk("data");
  out.AppendBytes(data);
  out.EndChunk();
  out.AppendBytes(trailingChunks);
  out.EndChunk();
  return out.Take();
}

std::vector<std::uint8_t> MakeChunk(std::string_view id, const std::vector<std::uint8_t>& content) {
  TRiffWriter out;
  out.BeginChunk(id);
  out.AppendBytes(content);
  out.EndChunk();
  return out.Take();
}

}  // namespace zelmora
