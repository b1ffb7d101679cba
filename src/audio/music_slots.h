#pragma once

#include <array>
#include <string>
#include <string_view>

#include "data/errors.h"
#include "data/programfolder.h"
#include "ui/host.h"

namespace tervano::audio {

// One piece of the active set's music: the row of the sound panel "Ozvučení sady" and the file
// it replaces. The blanks inside the labels are part of the panel's text.
struct MusicSlot {
  std::string_view label;  // the row's caption
  std::string_view name;   // what the row is called where blanks would not read well
  std::string_view file;   // below the program folder; matched without regard to case
};

inline constexpr std::array<MusicSlot, 5> kMusicSlots = {{
    {"I     .ročník:", "I. ročník", "Tervano\\hdb\\1r.mid"},
    {"II    .ročník:", "II. ročník", "Tervano\\hdb\\2r.mid"},
    {"III   .ročník:", "III. ročník", "Tervano\\hdb\\3r.mid"},
    {"IV   .ročník:", "IV. ročník", "Tervano\\hdb\\4r.mid"},
    {"Konečný:", "Konečná skladba", "Tervano\\hdb\\Final.mid"},
}};

// A file that cannot become a piece of the set's music. The slot keeps its file.
class MusicFileError : public UserError {
 public:
  using UserError::UserError;
};

// The dialog in which a piece for the slot is chosen: MIDI files only, starting in the set's
// music folder.
ui::FileDialogOptions musicDialog(const ProgramFolder& folder, const MusicSlot& slot);

// Puts the chosen file in the slot's place. Only a file the music player can play is taken, and
// the slot's file is replaced in one step, so it is never left half written. Throws
// MusicFileError (or FileError) and leaves the slot as it was when the file is refused or the
// copy fails.
void replaceMusicSlot(const ProgramFolder& folder, const MusicSlot& slot,
                      const std::string& chosenFile);

}  // namespace tervano::audio
