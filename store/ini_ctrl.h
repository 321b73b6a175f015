#pragma once

#include <optional>
#include <string>
#include <string_view>

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
// Reads fall back to the default when the value is missing or does not
// convert. Failures are TError with these messages:
//   "Invalid data type for '<name>'"  the stored value is not a text
//   "Failed to create key <section>"  the folder of the file cannot be made
//   "Failed to set data for '<name>'" the file cannot be written
class TLMDIniCtrl {
 public:
  // The settings are not owned and must outlive the store.
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

 private:
  std::string ResolveSection(std::string_view section);
  std::optional<std::string> ReadText(std::string_view section, std::string_view name);
  void WriteText(std::string_view section, std::string_view name, std::string_view text);
  bool MakeFolder() const;

  QSettings* settings_;
  std::string rememberedSection_;
};

}  // namespace zelmora
