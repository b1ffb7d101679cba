#include "audio/sound_file.h"

#include <filesystem>
#include <fstream>

namespace tervano::audio {

bool isPlainFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

std::optional<std::vector<std::uint8_t>> readSoundFile(const std::string& path,
                                                       std::uintmax_t maxBytes) {
  if (!isPlainFile(path)) return std::nullopt;
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > maxBytes) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace tervano::audio
