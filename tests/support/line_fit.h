#pragma once

#include <span>

namespace zelmora {

struct TLine {
  double Intercept = 0.0;
  double Slope = 0.0;
};

// Least-squares line y = Intercept + Slope * x; needs at least two distinct
// x (a flat zero line otherwise).
TLine FitLine(std::span<const double> x, std::span<const double> y);

}  // namespace zelmora
