#include "ui/meter/beat_columns.h"

namespace zelmora {

TBeatColumns TBeatColumns::FromPattern(std::string_view pattern) {
  TBeatColumns columns;
  if (pattern.empty()) {
    return columns;
  }
  columns.marks_.clear();
  columns.marks_.reserve(pattern.size());
  for (const char beat : pattern) {
    columns.marks_.push_back(beat == 'X'   ? TGridMark::Accent
                             : beat == 'x' ? TGridMark::Ordinary
                                           : TGridMark::Silent);
  }
  return columns;
}

std::string TBeatColumns::CellText(int column, TGridRow row) const {
  switch (row) {
    case TGridRow::Number:
      return std::to_string(column + 1);
    case TGridRow::Acc:
      return Mark(column) == TGridMark::Accent ? "X" : " ";
    case TGridRow::Ord:
      return Mark(column) == TGridMark::Ordinary ? "x" : " ";
  }
  return " ";
}

void TBeatColumns::Toggle(int column, TGridRow row) {
  TGridMark& mark = marks_.at(static_cast<std::size_t>(column));
  if (row == TGridRow::Acc) {
    mark = mark == TGridMark::Accent ? TGridMark::Silent : TGridMark::Accent;
  } else if (row == TGridRow::Ord) {
    mark = mark == TGridMark::Ordinary ? TGridMark::Silent : TGridMark::Ordinary;
  }
}

bool TBeatColumns::Add() {
  if (!CanAdd()) {
    return false;
  }
  marks_.push_back(TGridMark::Ordinary);
  return true;
}

bool TBeatColumns::Remove() {
  if (!CanRemove()) {
    return false;
  }
  marks_.pop_back();
  return true;
}

std::string TBeatColumns::Pattern() const {
  std::string pattern;
  pattern.reserve(marks_.size());
  for (const TGridMark mark : marks_) {
    pattern += mark == TGridMark::Accent ? 'X' : mark == TGridMark::Ordinary ? 'x' : '-';
  }
  return pattern;
}

std::string TBeatColumns::MeterText() const {
  // Silent and ordinary beats lengthen the current group; beats before the
  // first accent form a group of their own.
  std::string text;
  int count = 0;
  for (const TGridMark mark : marks_) {
    if (mark == TGridMark::Accent) {
      if (count != 0) {
        text += std::to_string(count) + '+';
      }
      count = 1;
    } else {
      ++count;
    }
  }
  return text + std::to_string(count);
}

}  // namespace zelmora
