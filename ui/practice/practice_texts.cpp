#include "ui/practice/practice_texts.h"

#include <cstdlib>

namespace zelmora {
namespace {

constexpr int kStraightSwing = 50;
constexpr int kTripletSwing = 67;  // two thirds of the pair, rounded

}  // namespace

QString LevelText(int hundredths) {
  const int rest = std::abs(hundredths % 100);
  const int decimals = rest == 0 ? 0 : (rest % 10 == 0 ? 1 : 2);
  return QStringLiteral("%1 dB").arg(hundredths / 100.0, 0, 'f', decimals);
}

QString SwingText(int percent) {
  QString text = QStringLiteral("%1%").arg(percent);
  if (percent == kStraightSwing) {
    text += QStringLiteral(" straight");
  } else if (percent == kTripletSwing) {
    text += QStringLiteral(" triplet");
  }
  return text;
}

}  // namespace zelmora
