#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/beat_pattern.h"

namespace zelmora {

// What one beat of the meter constructor's grid holds: a mark in the Acc
// row, a mark in the Ord row, or neither (a silent beat).
enum class TGridMark { Silent, Ordinary, Accent };

// The rows of the grid: a header with the beat numbers, then the two rows of
// marks.
enum class TGridRow { Number = 0, Acc = 1, Ord = 2 };

// The bar being edited in the meter constructor, one column per beat. It
// never has fewer than one column, so a bar without beats is shown as one
// silent beat. It is the grid's content; the pattern built from it is what
// the settings object receives.
class TBeatColumns {
 public:
  // The players step through at most this many beats, so the constructor
  // does not grow a bar beyond it (a longer bar from the meter box is shown
  // and can be shortened).
  static constexpr int kMaxColumns = kMaxPlayableBeats;
  // Remove leaves at least this many beats.
  static constexpr int kMinColumnsAfterRemove = 2;

  TBeatColumns() : marks_(1, TGridMark::Silent) {}

  // "X" is accented, "x" ordinary, anything else silent. An empty pattern
  // gives one silent column.
  static TBeatColumns FromPattern(std::string_view pattern);

  int Count() const { return static_cast<int>(marks_.size()); }
  TGridMark Mark(int column) const { return marks_.at(static_cast<std::size_t>(column)); }

  // The text of a cell: the beat number in the header row, "X" or " " in
  // the Acc row, "x" or " " in the Ord row.
  std::string CellText(int column, TGridRow row) const;

  // A click on a mark row: a mark there is taken away (the beat falls
  // silent); otherwise the beat gets that row's mark, replacing the other.
  // The header row holds no marks and is left alone.
  void Toggle(int column, TGridRow row);

  bool CanAdd() const { return Count() < kMaxColumns; }
  // Appends an ordinary beat; returns false at the limit.
  bool Add();
  bool CanRemove() const { return Count() > kMinColumnsAfterRemove; }
  // Drops the last beat; returns false when two or fewer are left.
  bool Remove();

  // The beat pattern: "X", "x" or "-" per column.
  std::string Pattern() const;
  // The meter text of the bar, as the settings object derives it from the
  // pattern.
  std::string MeterText() const;

 private:
  std::vector<TGridMark> marks_;
};

}  // namespace zelmora
