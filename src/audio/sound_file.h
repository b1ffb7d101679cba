#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tervano::audio {

// A plain file that holds no more than maxBytes; nullopt for anything else (missing, a folder, a
// FIFO or device node that would block the reader, too large, unreadable). A sound that cannot be
// read is silence, never an error box.
bool isPlainFile(const std::string& path);
std::optional<std::vector<std::uint8_t>> readSoundFile(const std::string& path,
                                                       std::uintmax_t maxBytes);

}  // namespace tervano::audio
