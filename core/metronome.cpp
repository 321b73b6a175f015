#include "core/metronome.h"

#include <algorithm>
#include <utility>

#include "core/config.h"

namespace zelmora {

TMetronome::TMetronome(TConfig& config, TTransport& transport, TBeatOutput& output,
                       TTickerTime& time, TBeatHandOver& handOver)
    : config_(config), transport_(transport), output_(output), time_(time), handOver_(handOver) {}

TMetronome::~TMetronome() {
  Shutdown();
}

void TMetronome::StartStop() {
  ReapFinished();
  if (transport_.Running.load()) {
    Stop();
  } else {
    Start();
  }
}

void TMetronome::Start() {
  transport_.Running = true;
  transport_.BeatIndex = 1;
  views_.ForEach([](TMetronomeView& view) { view.MetronomeStarted(); });
  auto ticker = std::make_unique<TTicker>(
      *this, TTicker::TPorts{config_, transport_.BeatIndex, output_, time_, handOver_});
  current_ = ticker.get();
  tickers_.push_back(std::move(ticker));
  current_->Start();
}

void TMetronome::Stop() {
  transport_.Running = false;
  if (current_ != nullptr) {
    current_->RequestStop();
    current_ = nullptr;
  }
  views_.ForEach([](TMetronomeView& view) { view.MetronomeStopped(); });
  RunBarChange();
}

void TMetronome::ChangeAtNextBar(std::function<void()> change) {
  barChange_ = std::move(change);
  barChangeWaiting_.store(true, std::memory_order_release);
  if (!transport_.Running.load()) {
    RunBarChange();
    return;
  }
  // The ticker may be asleep already past the bar's last beat: it must run
  // the change before the next bar is due, not find it then.
  config_.ScheduleChanged.Notify();
}

void TMetronome::RunBarChange() {
  if (!barChangeWaiting_.exchange(false, std::memory_order_acq_rel)) {
    return;
  }
  // Taken out first: the change may itself ask for another.
  const std::function<void()> change = std::exchange(barChange_, nullptr);
  if (change) {
    change();
  }
}

void TMetronome::RestartBar() {
  transport_.BeatIndex = 1;
  config_.ScheduleChanged.Notify();
}

void TMetronome::StopForHide() {
  if (transport_.Running.load()) {
    Stop();
  }
}

void TMetronome::Shutdown() {
  StopForHide();
  for (auto& ticker : tickers_) {
    ticker->RequestStop();
  }
  // A stopped ticker's sleeps and its hand-over end at once.
  for (auto& ticker : tickers_) {
    ticker->Join();
  }
  tickers_.clear();
  current_ = nullptr;
}

void TMetronome::ShowBeat(const TBeatShow& beat) {
  // Through the setter, so that the display and the fader follow, as the
  // bar it starts is heard.
  if (beat.TrainerTempo != 0 &&
      config_.TempoSetByHand.load(std::memory_order_relaxed) == beat.HandTempoCount) {
    config_.SetTempo(beat.TrainerTempo, TConfig::TTempoChange::ByTrainer);
  }
  views_.ForEach([&beat](TMetronomeView& view) { view.BeatHeard(beat); });
  if (beat.EndOfRun && transport_.Running.load()) {
    Stop();
  }
}

void TMetronome::ReapFinished() {
  std::erase_if(tickers_, [this](const std::unique_ptr<TTicker>& ticker) {
    return ticker.get() != current_ && ticker->Finished();
  });
}

}  // namespace zelmora
