#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <stop_token>
#include <thread>

#include "core/beat_clicks.h"
#include "core/beat_show.h"
#include "core/practice_run.h"
#include "core/ticker_ports.h"

namespace zelmora {

class TConfig;
class TMetronome;

// One run of the beat loop on a thread of its own. Every beat lives on the
// output's frame grid: the next beat's frame is this one's plus 60 / Tempo
// times the output's frame rate, the fraction of a frame carried on, so
// every interval is exact in the output whatever its blocks, its callbacks
// or its timing reports do.
//
// What each pass does, in order, and how a stop, a tempo change and
// "Restart bar" cut its waits short: docs/design.md, "Beats on the
// output's frame grid". Tempo, pattern, levels and bell are read afresh
// every beat, the practice tools' settings at every bar's first beat
// (a subdivision's or a layer's at every beat).
class TTicker {
 public:
  struct TPorts {
    TConfig& config;
    std::atomic<std::uint8_t>& beatIndex;
    TBeatOutput& output;
    TTickerTime& time;
    TBeatHandOver& handOver;
  };

  // Thread: ui (through TMetronome)
  TTicker(TMetronome& metronome, TPorts ports);
  ~TTicker();  // requests stop and joins
  TTicker(const TTicker&) = delete;
  TTicker& operator=(const TTicker&) = delete;

  // Starts the thread (at raised priority where the platform allows).
  // Thread: ui
  void Start();
  // Asks the loop to end. Nothing of this run sounds any more that has not
  // begun to sound; does not wait. The run's starts are withdrawn on the
  // calling thread (TBeatOutput::Cancel).
  // Thread: ui, ticker
  void RequestStop();
  // Thread: any
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  // Thread: ui
  void Join();

  // Runs the loop on the calling thread, which is thereby the ticker
  // thread, until `stop` is requested (tests run it with a simulated clock
  // and a direct hand-over).
  // Thread: ticker
  void RunLoop(const std::stop_token& stop);

  // During the hand-over: shows the beat (or runs the change waiting for
  // the next bar), unless this ticker has been stopped meanwhile.
  // Thread: ui
  void SyncBeat(const TBeatShow& show);

  // How long a flash takes from the hand-over to the screen; the hand-over
  // comes that much before the beat is heard.
  static constexpr std::chrono::microseconds kDisplayDelay{1500};
  // How late a wake-up may come without making a beat late: each beat is
  // handed to the output this much before the output may render it.
  static constexpr std::chrono::milliseconds kWakeTolerance{50};

 private:
  struct TBeat {
    std::int64_t frame = 0;
    // The fraction of a frame carried to the next beat, exactly:
    // carried / per (per being the tempo it was worked out at).
    std::int64_t carried = 0;
    std::int64_t per = 1;
  };
  struct TShow {
    std::int64_t frame;
    TBeatShow beat;
  };
  // A subdivision or layer click of the beat being played, kept so that a
  // tempo changed during the beat moves it with the beat's new length. Each
  // has a tag of its own, so that it can be withdrawn alone.
  struct TPracticeClick {
    TVoiceRole voice = TVoiceRole::Subdivision;
    TBeatFraction fraction;
    std::int64_t frame = 0;
    int level = 0;
    std::uint64_t tag = 0;
  };
  // Three subdivisions and nine layer clicks at most in one beat.
  static constexpr int kMaxPracticeClicks = 12;
  // Two beats' sets of tags: the last beat's clicks may not all have
  // sounded when the next beat's are placed.
  static constexpr std::uint64_t kTagsPerTicker = 1 + 2 * kMaxPracticeClicks;

  // The levels and the voices of `beat`; returns the position played.
  int PlayBeat(const TBeat& beat);
  // The practice run's plan for the bar starting on `frame`.
  void StartBar(std::int64_t frame);
  // The subdivision and layer clicks of the beat at `position` of a bar of
  // `beatsInBar` beats; `voiced`: the beat itself sounds.
  void PlayPracticeClicks(const TBeat& beat, int position, int beatsInBar, bool voiced, int volume);
  void PlayPracticeClick(const TGridBeat& grid, TVoiceRole voice, TBeatFraction fraction,
                         int level);
  // After a tempo change during `beat`: its clicks still to come go to the
  // same fractions of its new length; one whose new place has gone by is
  // dropped, one that has begun to sound stays.
  void MovePracticeClicks(const TBeat& beat);
  // Withdraws every start of this run not yet begun.
  void CancelAll();
  void QueueShow(std::int64_t frame, const TBeatShow& show);
  void AdvanceIndex(int playedPosition);
  // The tempo the beats go at: the trainer's while it trains, the user's
  // otherwise (also the moment a tempo has been set by hand).
  std::int64_t BeatTempo() const;
  bool TempoSetByHandSinceBar() const;
  // The next beat after `beat` at the tempo now, no earlier than the
  // output can still take it.
  TBeat NextBeat(const TBeat& beat) const;
  TTickerTime::TimePoint HandOverTime(std::int64_t frame) const;
  TTickerTime::TimePoint ShowTime(std::int64_t frame) const;
  // Serves the display updates falling due and advances the index, until
  // it is time to hand `next` (recomputed on every wake-up) to the output.
  // Returns false when stopped.
  bool WaitForTurn(const TBeat& beat, TBeat& next, int playedPosition, const std::stop_token& stop);
  // Serves the display updates still queued, the run's last beat played.
  void ServeLastShows(const std::stop_token& stop);
  bool ShowNext(const std::stop_token& stop, TTickerTime::TimePoint deadline);

  TMetronome& metronome_;
  TPorts ports_;
  const std::uint64_t tag_;
  std::atomic<bool> finished_{false};
  // Its own stop source, not the thread's: a stop may be asked for (from
  // the loop itself, in tests) before the thread object has been stored.
  std::stop_source stop_;
  std::jthread thread_;
  // The display updates handed to the output but not yet shown, oldest
  // first (a beat is shown at most a few hundred ms after it is played).
  std::array<TShow, 8> shows_{};
  int showCount_ = 0;
  std::uint8_t indexAtBeat_ = 1;

  // The practice run: the bars since the start, and what this one is.
  TPracticeRun practice_;
  TBarPlan bar_;
  bool practising_ = false;
  int trainerTempo_ = 0;                  // while the trainer trains
  std::uint64_t handTempoCount_ = 0;      // TConfig::TempoSetByHand when the bar began
  std::int64_t practiceStartFrame_ = -1;  // the first bar after the count-in
  std::array<TPracticeClick, kMaxPracticeClicks> clicks_{};
  int clickCount_ = 0;
  std::int64_t clicksTempo_ = 0;    // the tempo the clicks were placed at
  std::uint64_t clickTagBase_ = 0;  // this beat's set of click tags
  bool ending_ = false;             // the run's last beat has been played
};

}  // namespace zelmora
