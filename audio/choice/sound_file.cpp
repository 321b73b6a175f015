#include "audio/choice/sound_file.h"

#include <cerrno>
#include <fstream>
#include <system_error>

#include "core/error.h"

namespace zelmora {
namespace {

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string FullPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(PathFromUtf8(path), error);
  return error ? path : Utf8FromPath(full);
}

// The reason a file could not be opened when the library left errno unset.
int GuessOpenError(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(path, error) ? EACCES : ENOENT;
}

}  // namespace

std::filesystem::path PathFromUtf8(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

bool SoundFileExists(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(PathFromUtf8(path), error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::vector<std::uint8_t> ReadSoundFile(const std::string& path) {
  const std::filesystem::path file = PathFromUtf8(path);
  std::error_code statusError;
  // A folder opens as a stream on some systems and only fails to read.
  if (std::filesystem::is_directory(file, statusError)) {
    throw TError(FileOpenErrorText(path, EISDIR));
  }
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    throw TError(FileOpenErrorText(path, errno != 0 ? errno : GuessOpenError(file)));
  }
  std::vector<std::uint8_t> bytes;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.insert(bytes.end(), buffer, buffer + in.gcount());
  }
  if (in.bad()) {
    throw TError(FileOpenErrorText(path, errno != 0 ? errno : EIO));
  }
  return bytes;
}

std::string FileOpenErrorText(const std::string& path, int error) {
  return "Cannot open file \"" + FullPath(path) + "\". " +
         std::error_code(error, std::generic_category()).message();
}

std::string MissingSoundFileText(const std::string& path) {
  return "File " + path + " not found!\r\rChoose another sound from preferences.";
}

}  // namespace zelmora
