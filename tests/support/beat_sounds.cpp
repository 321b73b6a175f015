#include "tests/support/beat_sounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <stdexcept>

#include "audio/bank/bank.h"
#include "audio/mixer.h"
#include "audio/voice_build/convert_for_voice.h"

namespace zelmora {
namespace {

// The program keeps a chosen sound's first 250 ms.
constexpr std::uint32_t kCutAfterMs = 250;
constexpr std::uint32_t kCutLengthMs = 10000;

constexpr double kFitSeconds = 0.030;
// The onset is where a beat first rises through a threshold, at most a few
// milliseconds after its samples begin.
constexpr double kEarliestStartSeconds = 0.004;
constexpr double kLatestStartSeconds = 0.001;
constexpr float kFullScale = 0.999F;

std::vector<float> MonoTemplate(TWave wave, int sampleRate) {
  TVoiceConversion converted = ConvertForVoice(wave, sampleRate);
  if (converted.Result != kSoundOk) {
    throw std::runtime_error("a built-in sound does not convert");
  }
  const std::vector<float>& frames = converted.Sample->Frames;
  std::vector<float> mono(frames.size() / 2);
  for (std::size_t i = 0; i < mono.size(); ++i) {
    mono[i] = 0.5F * (frames[2 * i] + frames[2 * i + 1]);
  }
  return mono;
}

std::vector<float> CutTemplate(int bankIndex, int sampleRate) {
  TWave wave = BankWave(bankIndex);
  wave.DeleteSpan(kCutAfterMs, kCutLengthMs);
  return MonoTemplate(std::move(wave), sampleRate);
}

float At(const std::vector<float>& samples, std::size_t i) {
  return i < samples.size() ? samples[i] : 0.0F;
}

using TVector = std::array<double, 3>;
using TMatrix = std::array<TVector, 3>;

// Solves g x = c by Gaussian elimination with partial pivoting; false when
// g is singular (nothing to fit in the window).
bool Solve(TMatrix g, TVector c, TVector& x) {
  for (std::size_t col = 0; col < 3; ++col) {
    std::size_t pivot = col;
    for (std::size_t row = col + 1; row < 3; ++row) {
      if (std::abs(g[row][col]) > std::abs(g[pivot][col])) {
        pivot = row;
      }
    }
    if (std::abs(g[pivot][col]) < 1e-12) {
      return false;
    }
    std::swap(g[col], g[pivot]);
    std::swap(c[col], c[pivot]);
    for (std::size_t row = col + 1; row < 3; ++row) {
      const double factor = g[row][col] / g[col][col];
      for (std::size_t k = col; k < 3; ++k) {
        g[row][k] -= factor * g[col][k];
      }
      c[row] -= factor * c[col];
    }
  }
  for (std::size_t col = 3; col-- > 0;) {
    double sum = c[col];
    for (std::size_t k = col + 1; k < 3; ++k) {
      sum -= g[col][k] * x[k];
    }
    x[col] = sum / g[col][col];
  }
  return true;
}

}  // namespace

TVoiceTemplates DefaultVoiceTemplates(int sampleRate) {
  return TVoiceTemplates{CutTemplate(kDefaultAccentSoundIndex, sampleRate),
                         CutTemplate(kDefaultRegularSoundIndex, sampleRate),
                         MonoTemplate(BellWave(), sampleRate)};
}

std::vector<TBeatSound> FitBeatSounds(std::span<const float> recording,
                                      std::span<const double> onsets,
                                      const TVoiceTemplates& templates, int sampleRate) {
  const std::array<const std::vector<float>*, 3> voices = {&templates.Accent, &templates.Regular,
                                                           &templates.Bell};
  std::vector<double> residual(recording.begin(), recording.end());
  const auto window = static_cast<std::size_t>(kFitSeconds * sampleRate);
  const auto earliest = static_cast<std::ptrdiff_t>(kEarliestStartSeconds * sampleRate);
  const auto latest = static_cast<std::ptrdiff_t>(kLatestStartSeconds * sampleRate);
  const auto size = static_cast<std::ptrdiff_t>(recording.size());

  std::vector<TBeatSound> beats;
  for (const double onset : onsets) {
    const auto around = static_cast<std::ptrdiff_t>(std::floor(onset));
    TBeatSound best;
    double bestExplained = -1.0;
    for (std::ptrdiff_t start = std::max<std::ptrdiff_t>(0, around - earliest);
         start <= around + latest && start < size; ++start) {
      TMatrix g{};
      TVector c{};
      for (std::size_t k = 0; k < window; ++k) {
        const auto i = static_cast<std::size_t>(start) + k;
        if (i >= recording.size()) {
          break;
        }
        if (std::abs(recording[i]) >= kFullScale) {
          continue;
        }
        const TVector v = {At(*voices[0], k), At(*voices[1], k), At(*voices[2], k)};
        for (std::size_t r = 0; r < 3; ++r) {
          c[r] += v[r] * residual[i];
          for (std::size_t col = 0; col < 3; ++col) {
            g[r][col] += v[r] * v[col];
          }
        }
      }
      TVector x{};
      if (!Solve(g, c, x)) {
        continue;
      }
      const double explained = x[0] * c[0] + x[1] * c[1] + x[2] * c[2];
      if (explained > bestExplained) {
        bestExplained = explained;
        best = TBeatSound{static_cast<double>(start), x[0], x[1], x[2]};
      }
    }
    // Take the fitted sounds out, so that their tails do not reach the
    // next beat's fit.
    const auto start = static_cast<std::size_t>(best.Start);
    const std::array<double, 3> amplitudes = {best.Accent, best.Regular, best.Bell};
    for (std::size_t v = 0; v < 3; ++v) {
      const std::vector<float>& voice = *voices[v];
      for (std::size_t k = 0; k < voice.size() && start + k < residual.size(); ++k) {
        residual[start + k] -= amplitudes[v] * voice[k];
      }
    }
    beats.push_back(best);
  }
  return beats;
}

}  // namespace zelmora
