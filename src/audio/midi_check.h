#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tervano::audio {

// Larger than any piece of game music; a bigger file is not worth holding in memory.
inline constexpr std::size_t kMaxMidiBytes = 8 * 1024 * 1024;

// The player starts a piece again as soon as it ends; one of next to no length would restart
// endlessly inside the audio callback and hang the sound device.
inline constexpr double kMinPieceSeconds = 0.1;

// True when the bytes are a well-formed Standard MIDI File worth handing to the synthesizer: a
// format 0 or 1 header with metrical timing, every announced track complete with well-formed
// events, and lasting at least kMinPieceSeconds. The player only reads a file when it starts
// playing, so a broken file must be caught before that. FluidSynth reads less than the standard
// allows (no longer headers, no foreign chunks), so the engine also lets it read the file.
bool isPlayableMidi(std::span<const std::uint8_t> data);

}  // namespace tervano::audio
