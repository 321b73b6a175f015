#include "tempo/standard_tempos.h"

#include <algorithm>

namespace zelmora {

int StandardTempoAtOrAbove(int tempo) {
  const auto it = std::lower_bound(StandardTempos.begin(), StandardTempos.end(), tempo);
  return it == StandardTempos.end() ? tempo : *it;
}

int StandardTempoAtOrBelow(int tempo) {
  const auto it = std::upper_bound(StandardTempos.begin(), StandardTempos.end(), tempo);
  return it == StandardTempos.begin() ? tempo : *(it - 1);
}

}  // namespace zelmora
