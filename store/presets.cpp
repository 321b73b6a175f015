#include "store/presets.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "core/error.h"

namespace zelmora {
namespace {

std::string Trimmed(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))
      .trimmed()
      .toStdString();
}

std::string Quoted(std::string_view name) {
  return "'" + std::string(name) + "'";
}

bool IsAllPresets(std::string_view setlist) {
  return Trimmed(setlist) == TPresetLibrary::kAllPresets;
}

[[noreturn]] void ThrowAllPresetsIsFixed() {
  throw TError(Quoted(TPresetLibrary::kAllPresets) +
               " always holds every preset and cannot be changed by hand");
}

// The item of that name (trimmed), or the end.
template <typename Items>
auto FindNamed(Items& items, std::string_view name) {
  const std::string wanted = Trimmed(name);
  return std::find_if(items.begin(), items.end(),
                      [&](const auto& item) { return item.Name == wanted; });
}

// The item of that name; throws TError when there is none.
template <typename Items>
auto& Named(Items& items, std::string_view name, std::string_view kind) {
  const auto found = FindNamed(items, name);
  if (found == items.end()) {
    throw TError("There is no " + std::string(kind) + " named " + Quoted(Trimmed(name)));
  }
  return *found;
}

auto& PresetNamed(auto& presets, std::string_view name) {
  return Named(presets, name, "preset");
}

auto& SetlistNamed(auto& setlists, std::string_view name) {
  return Named(setlists, name, "setlist");
}

// Moves the element at `from` to `to`, the others closing up.
template <typename T>
void Move(std::vector<T>& items, std::size_t from, std::size_t to) {
  if (from >= items.size() || to >= items.size()) {
    throw std::out_of_range("no such position in the setlist");
  }
  const auto at = [&items](std::size_t position) {
    return items.begin() + static_cast<std::ptrdiff_t>(position);
  };
  if (from < to) {
    std::rotate(at(from), at(from) + 1, at(to) + 1);
  } else {
    std::rotate(at(to), at(from), at(from) + 1);
  }
}

}  // namespace

std::string UnusedName(std::string_view wanted,
                       const std::function<bool(std::string_view name)>& taken) {
  const std::string base = Trimmed(wanted);
  std::string name = base;
  for (int number = 2; taken(name); ++number) {
    name = base + " (" + std::to_string(number) + ")";
  }
  return name;
}

const TPreset* TPresetLibrary::FindPreset(std::string_view name) const {
  const auto found = FindNamed(presets_, name);
  return found == presets_.end() ? nullptr : &*found;
}

bool TPresetLibrary::HasSetlist(std::string_view name) const {
  return IsAllPresets(name) || FindNamed(setlists_, name) != setlists_.end();
}

std::vector<std::string> TPresetLibrary::SetlistPresets(std::string_view setlist) const {
  if (!IsAllPresets(setlist)) {
    return SetlistNamed(setlists_, setlist).Presets;
  }
  std::vector<std::string> names;
  names.reserve(presets_.size());
  std::transform(presets_.begin(), presets_.end(), std::back_inserter(names),
                 [](const TPreset& preset) { return preset.Name; });
  return names;
}

const TPreset& TPresetLibrary::AddPreset(std::string_view name, TPresetSettings settings) {
  return presets_.emplace_back(TPreset{NewPresetName(name), std::move(settings)});
}

void TPresetLibrary::OverwritePreset(std::string_view name, const TPresetSettings& settings) {
  TPreset& preset = PresetNamed(presets_, name);
  for (const auto& [key, text] : settings) {
    preset.Settings.insert_or_assign(key, text);
  }
}

void TPresetLibrary::RenamePreset(std::string_view name, std::string_view newName) {
  TPreset& preset = PresetNamed(presets_, name);
  const std::string oldName = preset.Name;
  const std::string trimmed = Trimmed(newName);
  if (trimmed == oldName) {
    return;
  }
  preset.Name = NewPresetName(trimmed);
  for (TSetlist& setlist : setlists_) {
    std::replace(setlist.Presets.begin(), setlist.Presets.end(), oldName, preset.Name);
  }
  if (current_.Preset == oldName) {
    current_.Preset = preset.Name;
  }
}

void TPresetLibrary::DeletePreset(std::string_view name) {
  const std::string deleted = PresetNamed(presets_, name).Name;
  std::erase_if(presets_, [&](const TPreset& preset) { return preset.Name == deleted; });
  for (TSetlist& setlist : setlists_) {
    std::erase(setlist.Presets, deleted);
  }
  if (current_.Preset == deleted) {
    current_.Preset.clear();
  }
}

std::string TPresetLibrary::UnusedPresetName(std::string_view wanted) const {
  return UnusedName(wanted, [this](std::string_view name) { return FindPreset(name) != nullptr; });
}

void TPresetLibrary::AddSetlist(std::string_view name) {
  setlists_.push_back(TSetlist{NewSetlistName(name), {}});
}

void TPresetLibrary::RenameSetlist(std::string_view name, std::string_view newName) {
  if (IsAllPresets(name)) {
    throw TError(Quoted(kAllPresets) + " cannot be renamed");
  }
  TSetlist& setlist = SetlistNamed(setlists_, name);
  const std::string trimmed = Trimmed(newName);
  if (trimmed == setlist.Name) {
    return;
  }
  const std::string oldName = setlist.Name;
  setlist.Name = NewSetlistName(trimmed);
  if (current_.Setlist == oldName) {
    current_.Setlist = setlist.Name;
  }
}

void TPresetLibrary::DeleteSetlist(std::string_view name) {
  if (IsAllPresets(name)) {
    throw TError(Quoted(kAllPresets) + " cannot be deleted");
  }
  const std::string deleted = SetlistNamed(setlists_, name).Name;
  std::erase_if(setlists_, [&](const TSetlist& setlist) { return setlist.Name == deleted; });
  if (current_.Setlist == deleted) {
    current_.Setlist = kAllPresets;
  }
}

void TPresetLibrary::AddToSetlist(std::string_view setlist, std::string_view preset) {
  if (IsAllPresets(setlist)) {
    ThrowAllPresetsIsFixed();
  }
  TSetlist& list = SetlistNamed(setlists_, setlist);
  const std::string& name = PresetNamed(presets_, preset).Name;
  if (std::find(list.Presets.begin(), list.Presets.end(), name) != list.Presets.end()) {
    throw TError(Quoted(name) + " is already in " + Quoted(list.Name));
  }
  list.Presets.push_back(name);
}

void TPresetLibrary::RemoveFromSetlist(std::string_view setlist, std::string_view preset) {
  if (IsAllPresets(setlist)) {
    ThrowAllPresetsIsFixed();
  }
  TSetlist& list = SetlistNamed(setlists_, setlist);
  const std::string removed = Trimmed(preset);
  if (std::erase(list.Presets, removed) == 0) {
    throw TError(Quoted(removed) + " is not in " + Quoted(list.Name));
  }
  if (current_.Setlist == list.Name && current_.Preset == removed) {
    current_.Preset.clear();
  }
}

void TPresetLibrary::MoveInSetlist(std::string_view setlist, std::size_t from, std::size_t to) {
  if (IsAllPresets(setlist)) {
    Move(presets_, from, to);
  } else {
    Move(SetlistNamed(setlists_, setlist).Presets, from, to);
  }
}

std::string TPresetLibrary::UnusedSetlistName(std::string_view wanted) const {
  return UnusedName(wanted, [this](std::string_view name) { return HasSetlist(name); });
}

void TPresetLibrary::SetCurrent(std::string_view setlist, std::string_view preset) {
  const std::vector<std::string> names = SetlistPresets(setlist);
  TPresetPlace place{Trimmed(setlist), Trimmed(preset)};
  if (!place.Preset.empty() && std::find(names.begin(), names.end(), place.Preset) == names.end()) {
    throw TError(Quoted(place.Preset) + " is not in " + Quoted(place.Setlist));
  }
  current_ = std::move(place);
}

const TPreset* TPresetLibrary::Step(TPresetStep step) {
  const std::vector<std::string> names = SetlistPresets(current_.Setlist);
  if (names.empty()) {
    return nullptr;
  }
  const auto here = std::find(names.begin(), names.end(), current_.Preset);
  auto next = names.begin();
  if (here != names.end()) {
    if (step == TPresetStep::Next ? here + 1 == names.end() : here == names.begin()) {
      return nullptr;
    }
    next = step == TPresetStep::Next ? here + 1 : here - 1;
  }
  current_.Preset = *next;
  return FindPreset(current_.Preset);
}

std::string TPresetLibrary::NewPresetName(std::string_view name) const {
  std::string trimmed = Trimmed(name);
  if (trimmed.empty()) {
    throw TError("A preset needs a name");
  }
  if (FindPreset(trimmed) != nullptr) {
    throw TError("There is already a preset named " + Quoted(trimmed));
  }
  return trimmed;
}

std::string TPresetLibrary::NewSetlistName(std::string_view name) const {
  std::string trimmed = Trimmed(name);
  if (trimmed.empty()) {
    throw TError("A setlist needs a name");
  }
  if (HasSetlist(trimmed)) {
    throw TError("There is already a setlist named " + Quoted(trimmed));
  }
  return trimmed;
}

}  // namespace zelmora
