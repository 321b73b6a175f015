#include "audio/bank/bank.h"

#include <string>

#include "audio/bank/embedded_images.h"

namespace zelmora {

static_assert(kBankCount == bank_data::kEmbeddedBankCount);

namespace {

bool InBank(int index) {
  return index >= 0 && index < kBankCount;
}

TWave WaveOf(std::span<const std::uint8_t> image) {
  TWave wave;
  wave.SetImage(image);
  return wave;
}

}  // namespace

int BankCount() {
  return kBankCount;
}

std::string_view BankName(int index) {
  return InBank(index) ? bank_data::kBankImages[index].name : std::string_view{};
}

std::span<const std::uint8_t> BankImage(int index) {
  return InBank(index) ? bank_data::kBankImages[index].bytes : std::span<const std::uint8_t>{};
}

TWave BankWave(int index) {
  return WaveOf(BankImage(index));
}

void FillBankCollection(TWaveCollection& collection) {
  collection.Waves.clear();
  for (int i = 0; i < kBankCount; ++i) {
    collection.Waves.push_back({std::string(BankName(i)), BankWave(i)});
  }
}

std::span<const std::uint8_t> ClickImage() {
  return bank_data::kClickImage.bytes;
}

std::span<const std::uint8_t> BellImage() {
  return bank_data::kBellImage.bytes;
}

TWave ClickWave() {
  return WaveOf(ClickImage());
}

TWave BellWave() {
  return WaveOf(BellImage());
}

}  // namespace zelmora
