#include "tests/fuzz/meter_seeds.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace zelmora {
namespace {

std::string Groups(std::string_view group, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    text += (i == 0 ? "" : "+") + std::string(group);
  }
  return text;
}

}  // namespace

std::vector<TTextSeed> MakeMeterSeeds() {
  using namespace std::string_literals;
  const std::vector<std::string> texts = {
      "4",
      "3+2",
      "2+2",
      "1",
      "0",
      "0+3",
      "3+",
      " 3",
      "3 ",
      "$A",
      "0x1f",
      "X10",
      "-0",
      "03",
      "abc",
      "",
      "+",
      "+3",
      "3++2",
      "256",
      "-1",
      "2147483647",
      "4294967296",
      "9999999999",
      "255+255",
      "3\0+2"s,
      Groups("1", 99),
      Groups("1", 100),
      Groups("255", 99) + "+",
  };
  std::vector<TTextSeed> seeds;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    seeds.push_back({"meter-" + std::to_string(i), texts[i]});
  }
  return seeds;
}

}  // namespace zelmora
