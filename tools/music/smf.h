#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tervano::music {

// A tiny standard-MIDI-file writer: events are collected per track in any order and written
// sorted by time, with delta times, running status and a final end-of-track.
class Track {
 public:
  explicit Track(std::string name = "") : name_(std::move(name)) {}

  // A note that overlaps an earlier one of the same key and channel cuts that one short: a
  // device has one voice per key, and the earlier note's end would otherwise silence this one.
  void note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);
  void program(std::uint32_t tick, int channel, int program);
  void control(std::uint32_t tick, int channel, int controller, int value);
  void tempo(std::uint32_t tick, int bpm);
  void timeSignature(std::uint32_t tick, int numerator, int denominatorPower);
  // Turns every note of the channels off (controller 123) at the tick: a looping player that
  // jumps back to the start never leaves a note hanging.
  void allNotesOff(std::uint32_t tick, const std::vector<int>& channels);

  // The chunk "MTrk" with its events; notes that would sound past `endTick` are cut there,
  // and the end-of-track stands at `endTick` (or after the last event when that is later).
  std::string chunk(std::uint32_t endTick) const;

 private:
  struct Event {
    std::uint32_t tick;
    int order;  // at one tick: controls and programs, then note-offs, then note-ons
    std::uint32_t seq;
    std::string bytes;  // status byte first
  };
  struct Note {
    std::uint32_t tick;
    std::uint32_t length;
    int channel;
    int key;
    int velocity;
  };
  void add(std::uint32_t tick, int order, std::string bytes);
  std::vector<Event> noteEvents(std::uint32_t endTick) const;

  std::string name_;
  std::vector<Event> events_;
  std::vector<Note> notes_;
  std::uint32_t seq_ = 0;
};

// Format 1 file: the header chunk and the tracks. `division` is ticks per quarter note.
std::string smfFile(const std::vector<Track>& tracks, int division, std::uint32_t endTick);

}  // namespace tervano::music
