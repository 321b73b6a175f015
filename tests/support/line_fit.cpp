#include "tests/support/line_fit.h"

#include <cstddef>

namespace zelmora {

TLine FitLine(std::span<const double> x, std::span<const double> y) {
  const std::size_t n = x.size() < y.size() ? x.size() : y.size();
  if (n < 2) {
    return {};
  }
  // About the means, since the values (nanoseconds, frame numbers) are large.
  double mx = 0.0;
  double my = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    mx += x[i];
    my += y[i];
  }
  mx /= static_cast<double>(n);
  my /= static_cast<double>(n);
  double sxx = 0.0;
  double sxy = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    sxx += (x[i] - mx) * (x[i] - mx);
    sxy += (x[i] - mx) * (y[i] - my);
  }
  if (sxx == 0.0) {
    return {};
  }
  const double slope = sxy / sxx;
  return {my - slope * mx, slope};
}

}  // namespace zelmora
