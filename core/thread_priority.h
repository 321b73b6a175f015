#pragma once

namespace zelmora {

// What a thread that asks for a raised priority does. The output's thread
// ranks above the beat scheduler: the scheduler polls the clock at the end
// of every beat, and must never keep the output from filling its buffer.
enum class TThreadUse { BeatScheduler, AudioOutput };

// Asks for a raised scheduling priority for the calling thread in the way
// the platform allows without special rights; carries on silently when
// refused. Returns whether it was granted.
bool RaiseCurrentThreadPriority(TThreadUse use);

}  // namespace zelmora
