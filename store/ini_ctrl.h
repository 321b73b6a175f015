#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QSettings;

namespace zelmora {

// Named text values in sections (QSettings groups). Integers are kept as
// decimal text and flags as "1" or "0", so every value stays a plain text
// that can be read and edited by hand; texts are UTF-8.
//
// An empty section name means the last non-empty one given to any
// operation, or "Common" when none has been given yet.
//
// Each operation stands on its own: a write is on disk (or in the registry)
// before it returns, so the write that fails is the one that reports it.
// Between BeginUpdate and EndUpdate the writes are collected instead and
// reach the file together in EndUpdate, which replaces the whole file at
// once: afterwards it holds every one of them or none, also when the
// program is killed half-way.
//
// Reads fall back to the default when the value is missing or does not
// convert. Failures are TError with these messages:
//   "Invalid data type for '<name>'"  the stored value is not a text
//   "Failed to create key <section>"  the folder of the file cannot be made
//   "Failed to set data for '<name>'" the file cannot be written (in an
//                                     update: the first value of it)
//
// User-interface thread only.
// The message of a stored value that is not a text.
std::string InvalidDataTypeText(std::string_view name);

class TLMDIniCtrl {
 public:
  // The settings are not owned and must outlive the store. They are only
  // read through; the store writes the file itself (see Replace).
  explicit TLMDIniCtrl(QSettings* settings) : settings_(settings) {}

  int ReadInteger(std::string_view section, std::string_view name, int defaultValue);
  // Any non-zero integer is true.
  bool ReadBool(std::string_view section, std::string_view name, bool defaultValue);
  // The text up to its first NUL.
  std::string ReadString(std::string_view section, std::string_view name,
                         std::string_view defaultValue);

  void WriteInteger(std::string_view section, std::string_view name, int value);
  void WriteBool(std::string_view section, std::string_view name, bool value);
  // Only the part before a NUL is written: no more could be read back.
  void WriteString(std::string_view section, std::string_view name, std::string_view value);

  void BeginUpdate();
  // Writes what was collected since BeginUpdate; on a failure none of it is
  // written, and it is dropped.
  void EndUpdate();

 private:
  struct TPendingValue {
    std::string Section;
    std::string Name;
    std::string Text;
  };

  std::string ResolveSection(std::string_view section);
  std::optional<std::string> ReadText(std::string_view section, std::string_view name);
  void WriteText(std::string_view section, std::string_view name, std::string_view text);
  void WritePending();
  void Replace(const std::vector<TPendingValue>& values);
  bool MakeFolder() const;

  QSettings* settings_;
  std::string rememberedSection_;
  bool updating_ = false;
  std::vector<TPendingValue> pending_;
  // What this store has written, "Section/Name" to text: it is what the
  // file holds now, whatever the settings object read from it before.
  std::map<std::string, std::string> written_;
};

}  // namespace zelmora
