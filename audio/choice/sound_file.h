#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zelmora {

// WAV files chosen by the user. Paths are UTF-8 texts, as the settings store
// and the file dialog give them; a relative path is taken from the current
// directory.

std::filesystem::path PathFromUtf8(const std::string& path);

// Whether a file, not a folder, is at the path.
bool SoundFileExists(const std::string& path);

// The whole file, as it is. Throws TError with FileOpenErrorText when the
// file cannot be opened or read.
std::vector<std::uint8_t> ReadSoundFile(const std::string& path);

// "Cannot open file "<full path>". <the system's text for error>"
std::string FileOpenErrorText(const std::string& path, int error);

// Shown at start-up when the stored sound file has gone.
std::string MissingSoundFileText(const std::string& path);

}  // namespace zelmora
