#include "audio/music_slots.h"

#include <cstdint>
#include <filesystem>
#include <span>

#include "audio/midi_check.h"
#include "data/records.h"
#include "data/textfile.h"

namespace tervano::audio {

namespace fs = std::filesystem;

ui::FileDialogOptions musicDialog(const ProgramFolder& folder, const MusicSlot& slot) {
  ui::FileDialogOptions o;
  o.title = "Ozvučení sady: " + std::string(slot.name);
  o.filters = {{"Skladba MIDI", {"*.mid", "*.midi"}}};
  o.initialFolder = folder.resolve(paths::kMusic).string();
  o.mustExist = true;
  return o;
}

void replaceMusicSlot(const ProgramFolder& folder, const MusicSlot& slot,
                      const std::string& chosenFile) {
  const fs::path source = fs::path(chosenFile);
  const std::string shown = source.filename().string();
  std::error_code ec;
  // Not a folder, a device or a pipe: reading one of those could block the program.
  if (!fs::is_regular_file(source, ec))
    throw MusicFileError("Soubor „" + shown + "“ nelze použít jako skladbu sady.\rSkladba „" +
                         std::string(slot.name) + "“ zůstala beze změny.");
  std::string bytes;
  try {
    bytes = readFileBytes(source, kMaxMidiBytes);
  } catch (const FileError& e) {
    throw MusicFileError(std::string(e.what()) + "\rSkladba „" + std::string(slot.name) +
                         "“ zůstala beze změny.");
  }
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  if (!isPlayableMidi(std::span(data, bytes.size())))
    throw MusicFileError("Soubor „" + shown +
                         "“ není skladba MIDI, kterou umí program přehrát.\rSkladba „" +
                         std::string(slot.name) + "“ zůstala beze změny.");
  try {
    writeFileAtomic(folder.resolve(slot.file), bytes);
  } catch (const FileError& e) {
    throw FileError(std::string(e.what()) + "\rSkladba „" + std::string(slot.name) +
                    "“ zůstala beze změny.");
  }
}

}  // namespace tervano::audio
