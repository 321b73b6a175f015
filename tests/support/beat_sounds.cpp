#include "tests/support/beat_sounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <stdexcept>

#include "audio/bank/bank.h"
#include "audio/choice/sound_cut.h"
#include "audio/mixer.h"
#include "audio/voice_build/convert_for_voice.h"
#include "tests/support/onsets.h"

namespace zelmora {
namespace {

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
  CutChosenSound(wave);
  return MonoTemplate(std::move(wave), sampleRate);
}

float At(const std::vector<float>& samples, std::size_t i) {
  return i < samples.size() ? samples[i] : 0.0F;
}

constexpr std::size_t kMostVoices = 5;
using TVector = std::array<double, kMostVoices>;
using TMatrix = std::array<TVector, kMostVoices>;

// Solves the first n rows and columns of g x = c by Gaussian elimination
// with partial pivoting; false when g is singular (nothing to fit in the
// window).
bool Solve(TMatrix g, TVector c, std::size_t n, TVector& x) {
  for (std::size_t col = 0; col < n; ++col) {
    std::size_t pivot = col;
    for (std::size_t row = col + 1; row < n; ++row) {
      if (std::abs(g[row][col]) > std::abs(g[pivot][col])) {
        pivot = row;
      }
    }
    if (std::abs(g[pivot][col]) < 1e-12) {
      return false;
    }
    std::swap(g[col], g[pivot]);
    std::swap(c[col], c[pivot]);
    for (std::size_t row = col + 1; row < n; ++row) {
      const double factor = g[row][col] / g[col][col];
      for (std::size_t k = col; k < n; ++k) {
        g[row][k] -= factor * g[col][k];
      }
      c[row] -= factor * c[col];
    }
  }
  for (std::size_t col = n; col-- > 0;) {
    double sum = c[col];
    for (std::size_t k = col + 1; k < n; ++k) {
      sum -= g[col][k] * x[k];
    }
    x[col] = sum / g[col][col];
  }
  return true;
}

// Fits sounds one onset at a time and takes each out of what is left of
// the recording.
class TSoundFitter {
 public:
  TSoundFitter(std::span<const float> recording, const TVoiceTemplates& templates, int sampleRate)
      : recording_(recording),
        residual_(recording.begin(), recording.end()),
        window_(static_cast<std::size_t>(kFitSeconds * sampleRate)),
        earliest_(static_cast<std::ptrdiff_t>(kEarliestStartSeconds * sampleRate)),
        latest_(static_cast<std::ptrdiff_t>(kLatestStartSeconds * sampleRate)) {
    const std::array<TFitVoice, kMostVoices> all = {{
        {&templates.Accent, &TBeatSound::Accent},
        {&templates.Regular, &TBeatSound::Regular},
        {&templates.Bell, &TBeatSound::Bell},
        {&templates.Subdivision, &TBeatSound::Subdivision},
        {&templates.Layer, &TBeatSound::Layer},
    }};
    for (const TFitVoice& voice : all) {
      if (!voice.Samples->empty()) {
        voices_[count_++] = voice;
      }
    }
  }

  std::span<const float> Residual() const { return residual_; }

  TBeatSound FitAndRemove(double onset) {
    const auto around = static_cast<std::ptrdiff_t>(std::floor(onset));
    const auto size = static_cast<std::ptrdiff_t>(recording_.size());
    TBeatSound best;
    TVector bestAmplitudes{};
    double bestExplained = -1.0;
    for (std::ptrdiff_t start = std::max<std::ptrdiff_t>(0, around - earliest_);
         start <= around + latest_ && start < size; ++start) {
      TVector x{};
      const double explained = Fit(static_cast<std::size_t>(start), x);
      if (explained > bestExplained) {
        bestExplained = explained;
        bestAmplitudes = x;
        best.Start = static_cast<double>(start);
      }
    }
    // Take the fitted sounds out, so that their tails do not reach the
    // next beat's fit.
    const auto start = static_cast<std::size_t>(best.Start);
    for (std::size_t v = 0; v < count_; ++v) {
      best.*voices_[v].Amplitude = bestAmplitudes[v];
      const std::vector<float>& samples = *voices_[v].Samples;
      for (std::size_t k = 0; k < samples.size() && start + k < residual_.size(); ++k) {
        residual_[start + k] -= static_cast<float>(bestAmplitudes[v] * samples[k]);
      }
    }
    return best;
  }

 private:
  struct TFitVoice {
    const std::vector<float>* Samples;
    double TBeatSound::*Amplitude;
  };

  // The amplitudes of the voices starting on `start` (into x) and how much
  // of the window they explain; -1 when nothing can be fitted there.
  double Fit(std::size_t start, TVector& x) const {
    TMatrix g{};
    TVector c{};
    for (std::size_t k = 0; k < window_ && start + k < recording_.size(); ++k) {
      const std::size_t i = start + k;
      if (std::abs(recording_[i]) >= kFullScale) {
        continue;
      }
      TVector v{};
      for (std::size_t r = 0; r < count_; ++r) {
        v[r] = At(*voices_[r].Samples, k);
      }
      for (std::size_t r = 0; r < count_; ++r) {
        c[r] += v[r] * residual_[i];
        for (std::size_t col = 0; col < count_; ++col) {
          g[r][col] += v[r] * v[col];
        }
      }
    }
    if (!Solve(g, c, count_, x)) {
      return -1.0;
    }
    double explained = 0.0;
    for (std::size_t r = 0; r < count_; ++r) {
      explained += x[r] * c[r];
    }
    return explained;
  }

  std::span<const float> recording_;
  std::vector<float> residual_;
  std::size_t window_;
  std::ptrdiff_t earliest_;
  std::ptrdiff_t latest_;
  std::array<TFitVoice, kMostVoices> voices_{};
  std::size_t count_ = 0;
};

}  // namespace

TVoiceTemplates DefaultVoiceTemplates(int sampleRate) {
  return TVoiceTemplates{CutTemplate(kDefaultAccentSoundIndex, sampleRate),
                         CutTemplate(kDefaultRegularSoundIndex, sampleRate),
                         MonoTemplate(BellWave(), sampleRate),
                         {},
                         {}};
}

TVoiceTemplates PracticeVoiceTemplates(int sampleRate) {
  TVoiceTemplates templates = DefaultVoiceTemplates(sampleRate);
  templates.Subdivision = CutTemplate(kDefaultSubdivisionSoundIndex, sampleRate);
  templates.Layer = CutTemplate(kDefaultLayerSoundIndex, sampleRate);
  return templates;
}

std::vector<TBeatSound> FitBeatSounds(std::span<const float> recording,
                                      std::span<const double> onsets,
                                      const TVoiceTemplates& templates, int sampleRate) {
  TSoundFitter fitter(recording, templates, sampleRate);
  std::vector<TBeatSound> beats;
  for (const double onset : onsets) {
    beats.push_back(fitter.FitAndRemove(onset));
  }
  return beats;
}

std::vector<TBeatSound> FindBeatSounds(std::span<const float> recording,
                                       const TVoiceTemplates& templates, int sampleRate,
                                       float threshold, int holdoffFrames) {
  TSoundFitter fitter(recording, templates, sampleRate);
  std::vector<TBeatSound> beats;
  std::size_t from = 1;
  while (const auto onset = NextOnset(fitter.Residual(), from, threshold)) {
    beats.push_back(fitter.FitAndRemove(onset->Frame));
    from = onset->Above + static_cast<std::size_t>(std::max(holdoffFrames, 1));
  }
  return beats;
}

}  // namespace zelmora
