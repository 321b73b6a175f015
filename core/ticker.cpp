#include "core/ticker.h"

#include <algorithm>

#include "core/beat_clicks.h"
#include "core/beat_pattern.h"
#include "core/config.h"
#include "core/metronome.h"
#include "core/thread_priority.h"
#include "core/wake_signal.h"

namespace zelmora {
namespace {

std::atomic<std::uint64_t> nextTag{1};

}  // namespace

TTicker::TTicker(TMetronome& metronome, TPorts ports)
    : metronome_(metronome), ports_(ports), tag_(nextTag.fetch_add(kTagsPerTicker)) {}

TTicker::~TTicker() {
  RequestStop();
  Join();
}

void TTicker::Start() {
  thread_ = std::jthread([this] {
    RaiseCurrentThreadPriority();
    RunLoop(stop_.get_token());
  });
}

void TTicker::RequestStop() {
  stop_.request_stop();
}

void TTicker::Join() {
  if (thread_.joinable()) {
    thread_.join();
  }
}

void TTicker::RunLoop(const std::stop_token& stop) {
  // Runs on the thread that asks for the stop, at that very moment: the
  // beats already handed to the output are withdrawn before they sound.
  const std::stop_callback withdraw(stop, [this] { CancelAll(); });
  if (!stop.stop_requested()) {
    ports_.output.Hold();
    handTempoCount_ = ports_.config.TempoSetByHand.load(std::memory_order_relaxed);
    // The first beat sounds at once.
    TBeat beat{ports_.output.EarliestFrame()};
    while (!stop.stop_requested()) {
      const int played = PlayBeat(beat);
      if (ending_) {
        ServeLastShows(stop);
        break;
      }
      TBeat next;
      if (!WaitForTurn(beat, next, played, stop)) {
        break;
      }
      // A wake-up later than the output can take shifts the grid; it never
      // plays a beat late.
      const std::int64_t earliest = ports_.output.EarliestFrame();
      if (next.frame < earliest) {
        next = {earliest};
      }
      beat = next;
    }
    // A start handed over just as the stop came is withdrawn here.
    CancelAll();
    ports_.output.Release();
  }
  finished_.store(true, std::memory_order_release);
}

int TTicker::PlayBeat(const TBeat& beat) {
  const TConfig& config = ports_.config;
  // The levels travel with the starts, so they apply to this beat's sound
  // and not to a voice still sounding from the one before.
  const int volume = config.Volume.load(std::memory_order_relaxed);
  const int bellLevel = RelativeLevel(volume, config.BellVolume.load(std::memory_order_relaxed));
  const int accentLevel = volume;
  const int regularLevel =
      RelativeLevel(volume, config.VolumeRegularDif.load(std::memory_order_relaxed));

  // The last beat's clicks are its own: a tempo change now moves none.
  clickCount_ = 0;
  const auto pattern = config.BeatPatternForPlayers();
  indexAtBeat_ = ports_.beatIndex.load(std::memory_order_acquire);
  // A bar shortened since the last beat starts over at its first beat.
  const int beatsInBar = PlayableLength(*pattern);
  int position = indexAtBeat_;
  if (position < 1 || position > beatsInBar) {
    position = 1;
  }

  if (trainerTempo_ != 0 && TempoSetByHandSinceBar()) {
    practice_.EndTrainer();
    trainerTempo_ = 0;
  }
  if (position == 1) {
    StartBar(beat.frame);
  }
  TBeatOutput& output = ports_.output;
  TBeatShow show{position};
  show.Practising = practising_;
  show.CountIn = bar_.CountIn;
  show.Bar = bar_.Bar;
  show.Silent = bar_.Silent;
  show.TrainerTempo = trainerTempo_;
  show.TrainerEndedByHand =
      practice_.TrainerEnded() && config.Practice.Trainer.load(std::memory_order_relaxed);
  show.HandTempoCount = handTempoCount_;
  if (practiceStartFrame_ >= 0) {
    show.PracticeMs = (beat.frame - practiceStartFrame_) * 1000 / output.FrameRate();
  }
  if (ending_) {
    // The run's end: the bell alone, and no stop withdraws it (tag 0).
    output.PlayVoiceAtFrame(TVoiceRole::Bell, beat.frame, bellLevel, 0);
    show.EndOfRun = true;
    QueueShow(beat.frame, show);
    return position;
  }

  if (!bar_.Silent) {
    const TBeatVoice voice = VoiceAt(*pattern, position);
    switch (voice) {
      case TBeatVoice::Accent:
        output.PlayVoiceAtFrame(TVoiceRole::Accent, beat.frame, accentLevel, tag_);
        break;
      case TBeatVoice::Regular:
        output.PlayVoiceAtFrame(TVoiceRole::Regular, beat.frame, regularLevel, tag_);
        break;
      case TBeatVoice::None:
        break;
    }
    if (config.Bell.load(std::memory_order_relaxed) && BellAt(*pattern, position)) {
      output.PlayVoiceAtFrame(TVoiceRole::Bell, beat.frame, bellLevel, tag_);
    }
    PlayPracticeClicks(beat, position, beatsInBar, voice != TBeatVoice::None, volume);
  }
  QueueShow(beat.frame, show);
  return position;
}

void TTicker::StartBar(std::int64_t frame) {
  const TPracticeSettings& settings = ports_.config.Practice;
  practising_ = PracticeToolsOn(settings);
  bar_ = practice_.NextBar(PracticeBarsOf(settings));
  trainerTempo_ = bar_.Tempo;
  handTempoCount_ = ports_.config.TempoSetByHand.load(std::memory_order_relaxed);
  if (bar_.Bar == 1 && practiceStartFrame_ < 0) {
    practiceStartFrame_ = frame;
  }
  const int minutes = settings.PracticeMinutes.load(std::memory_order_relaxed);
  const bool timeIsUp =
      practiceStartFrame_ >= 0 &&
      TPracticeRun::TimeIsUp(minutes, frame - practiceStartFrame_, ports_.output.FrameRate());
  ending_ = bar_.Stop || (bar_.Bar > 0 && timeIsUp);
}

void TTicker::PlayPracticeClicks(const TBeat& beat, int position, int beatsInBar, bool voiced,
                                 int volume) {
  const TPracticeSettings& settings = ports_.config.Practice;
  const int parts = settings.Subdivision.load(std::memory_order_relaxed);
  const int clicks = settings.LayerClicks.load(std::memory_order_relaxed);
  if (parts <= 1 && clicks == 0) {
    return;
  }
  clickTagBase_ = clickTagBase_ == tag_ + 1 ? tag_ + 1 + kMaxPracticeClicks : tag_ + 1;
  clicksTempo_ = BeatTempo();
  const TGridBeat grid{beat.frame, beat.carried, beat.per, clicksTempo_,
                       60LL * ports_.output.FrameRate()};
  if (voiced && parts > 1) {
    const int level =
        RelativeLevel(volume, settings.SubdivisionVolume.load(std::memory_order_relaxed));
    const int swing = settings.Swing.load(std::memory_order_relaxed);
    for (const TBeatFraction& fraction : SubdivisionFractions(parts, swing)) {
      PlayPracticeClick(grid, TVoiceRole::Subdivision, fraction, level);
    }
  }
  if (clicks > 0) {
    const int level = RelativeLevel(volume, settings.LayerVolume.load(std::memory_order_relaxed));
    for (const TBeatFraction& fraction : LayerFractions(clicks, beatsInBar, position - 1)) {
      PlayPracticeClick(grid, TVoiceRole::Layer, fraction, level);
    }
  }
}

void TTicker::PlayPracticeClick(const TGridBeat& grid, TVoiceRole voice, TBeatFraction fraction,
                                int level) {
  TPracticeClick& click = clicks_[static_cast<std::size_t>(clickCount_)];
  click = {voice, fraction, FrameInBeat(grid, fraction), level,
           clickTagBase_ + static_cast<std::uint64_t>(clickCount_)};
  ++clickCount_;
  ports_.output.PlayVoiceAtFrame(voice, click.frame, level, click.tag);
}

void TTicker::MovePracticeClicks(const TBeat& beat) {
  TBeatOutput& output = ports_.output;
  clicksTempo_ = BeatTempo();
  const TGridBeat grid{beat.frame, beat.carried, beat.per, clicksTempo_, 60LL * output.FrameRate()};
  const std::int64_t earliest = output.EarliestFrame();
  int kept = 0;
  for (int i = 0; i < clickCount_; ++i) {
    TPracticeClick click = clicks_[static_cast<std::size_t>(i)];
    if (click.frame >= earliest) {
      output.Cancel(click.tag);
      click.frame = FrameInBeat(grid, click.fraction);
      if (click.frame < earliest) {
        continue;
      }
      output.PlayVoiceAtFrame(click.voice, click.frame, click.level, click.tag);
    }
    clicks_[static_cast<std::size_t>(kept++)] = click;
  }
  clickCount_ = kept;
}

void TTicker::CancelAll() {
  for (std::uint64_t tag = tag_; tag < tag_ + kTagsPerTicker; ++tag) {
    ports_.output.Cancel(tag);
  }
}

void TTicker::QueueShow(std::int64_t frame, const TBeatShow& show) {
  if (showCount_ == static_cast<int>(shows_.size())) {
    // Cannot happen at any tempo and offset the program allows; should it,
    // the oldest update goes unshown rather than a newer one.
    std::rotate(shows_.begin(), shows_.begin() + 1, shows_.end());
    --showCount_;
  }
  shows_[showCount_++] = {frame, show};
}

void TTicker::AdvanceIndex(int playedPosition) {
  int next = playedPosition + 1;
  if (next > PlayableLength(*ports_.config.BeatPatternForPlayers())) {
    next = 1;
  }
  // Only this beat's own index moves on: a restart or a shorter bar set by
  // the user since the beat was played stands.
  std::uint8_t expected = indexAtBeat_;
  ports_.beatIndex.compare_exchange_strong(expected, static_cast<std::uint8_t>(next));
}

bool TTicker::TempoSetByHandSinceBar() const {
  return ports_.config.TempoSetByHand.load(std::memory_order_relaxed) != handTempoCount_;
}

std::int64_t TTicker::BeatTempo() const {
  if (trainerTempo_ != 0 && !TempoSetByHandSinceBar()) {
    return trainerTempo_;
  }
  // Before the settings are loaded the tempo is 0; never divide by it.
  return std::max(ports_.config.Tempo.load(std::memory_order_relaxed), TConfig::kMinTempo);
}

TTicker::TBeat TTicker::NextBeat(const TBeat& beat) const {
  // A beat lasts 60 * rate / tempo frames, in whole numbers: the fraction
  // is carried in units of 1 / tempo, so the grid never drifts.
  const std::int64_t tempo = BeatTempo();
  const std::int64_t perMinute = 60LL * ports_.output.FrameRate();
  // A fraction carried from another tempo is rounded down to this one's
  // units: less than a frame, once per change.
  const std::int64_t carried = beat.carried * tempo / beat.per + perMinute % tempo;
  TBeat next{beat.frame + perMinute / tempo + carried / tempo, carried % tempo, tempo};
  // A faster tempo acts at once: a beat whose frame has already gone by
  // comes at the earliest frame the output can still take.
  const std::int64_t earliest = ports_.output.EarliestFrame();
  if (next.frame < earliest) {
    next = {earliest};
  }
  return next;
}

TTickerTime::TimePoint TTicker::HandOverTime(std::int64_t frame) const {
  const TBeatOutput& output = ports_.output;
  // Earlier still when the beat is to be shown before that (a negative
  // visual offset): its display update is queued as its voices go out.
  return std::min(output.HeardAt(frame) - output.RenderLead() - kWakeTolerance, ShowTime(frame));
}

TTickerTime::TimePoint TTicker::ShowTime(std::int64_t frame) const {
  const auto offset =
      std::chrono::milliseconds(ports_.config.VisualOffset.load(std::memory_order_relaxed));
  return ports_.output.HeardAt(frame) - kDisplayDelay + offset;
}

bool TTicker::WaitForTurn(const TBeat& beat, TBeat& next, int playedPosition,
                          const std::stop_token& stop) {
  TWakeSignal& wake = ports_.config.ScheduleChanged;
  bool advanced = false;
  // Once a change for the next bar has run, this beat keeps the length it
  // had: the change acts from the bar's first beat.
  bool lengthKept = false;
  for (;;) {
    if (stop.stop_requested()) {
      return false;
    }
    // Everything is worked out afresh on every wake-up: the tempo, the
    // offset, and when frames are heard.
    const std::uint64_t seen = wake.Count();
    if (!lengthKept) {
      if (clickCount_ > 0 && BeatTempo() != clicksTempo_) {
        MovePracticeClicks(beat);
      }
      next = NextBeat(beat);
    }
    const auto handOverAt = HandOverTime(next.frame);
    const auto now = ports_.time.Now();
    if (showCount_ > 0 && ShowTime(shows_[0].frame) <= handOverAt) {
      const auto showAt = ShowTime(shows_[0].frame);
      if (now < showAt) {
        ports_.time.SleepUntil(showAt, stop, wake, seen);
        continue;
      }
      if (!ShowNext(stop, handOverAt)) {
        return false;
      }
      continue;
    }
    if (!advanced) {
      AdvanceIndex(playedPosition);
      advanced = true;
    }
    if (!lengthKept && metronome_.BarChangeWaiting() &&
        ports_.beatIndex.load(std::memory_order_acquire) == 1) {
      lengthKept = true;
      TBeatShow due;
      due.BarChangeDue = true;
      if (ports_.handOver.HandOver(*this, due, stop, handOverAt)) {
        // A new setup: its tempo is no tempo set by hand, and its trainer
        // starts from the bar it begins with.
        practice_.RestartTrainer();
        trainerTempo_ = 0;
        handTempoCount_ = ports_.config.TempoSetByHand.load(std::memory_order_relaxed);
      } else if (stop.stop_requested()) {
        return false;
      }
      continue;
    }
    if (now >= handOverAt) {
      return true;
    }
    ports_.time.SleepUntil(handOverAt, stop, wake, seen);
  }
}

bool TTicker::ShowNext(const std::stop_token& stop, TTickerTime::TimePoint deadline) {
  const TShow show = shows_[0];
  std::rotate(shows_.begin(), shows_.begin() + 1, shows_.end());
  --showCount_;
  return ports_.handOver.HandOver(*this, show.beat, stop, deadline) || !stop.stop_requested();
}

void TTicker::ServeLastShows(const std::stop_token& stop) {
  // No beat comes after them: each may wait for the user-interface thread
  // as long as a beat at the slowest tempo would.
  constexpr auto kPatience = std::chrono::seconds(3);
  TWakeSignal& wake = ports_.config.ScheduleChanged;
  while (showCount_ > 0 && !stop.stop_requested()) {
    const std::uint64_t seen = wake.Count();
    const auto showAt = ShowTime(shows_[0].frame);
    if (ports_.time.Now() < showAt) {
      ports_.time.SleepUntil(showAt, stop, wake, seen);
      continue;
    }
    if (!ShowNext(stop, showAt + kPatience)) {
      return;
    }
  }
}

void TTicker::SyncBeat(const TBeatShow& show) {
  if (stop_.stop_requested() || !metronome_.IsCurrent(*this)) {
    return;
  }
  if (show.BarChangeDue) {
    metronome_.RunBarChange();
    return;
  }
  metronome_.ShowBeat(show);
}

}  // namespace zelmora
