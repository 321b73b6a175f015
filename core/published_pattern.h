#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace zelmora {

// Hands the beat pattern from the user-interface thread to the tick
// scheduler as a whole value: a reader gets either the complete old or the
// complete new pattern, never a mixture.
//
// Publish: user-interface thread. Snapshot: any thread, never the audio
// callback (it takes a short lock to copy a shared pointer).
class TPublishedPattern {
 public:
  using Snapshot_t = std::shared_ptr<const std::string>;

  TPublishedPattern();
  void Publish(std::string pattern);
  Snapshot_t Snapshot() const;

 private:
  mutable std::mutex mutex_;
  Snapshot_t current_;
};

}  // namespace zelmora
