#include "music/smf.h"

#include <algorithm>
#include <stdexcept>

namespace tervano::music {

namespace {

char byte(int v) {
  return static_cast<char>(v & 0xFF);
}

void putVarLen(std::string& out, std::uint32_t v) {
  char buf[5];
  int n = 0;
  buf[n++] = byte(v & 0x7F);
  while ((v >>= 7) != 0)
    buf[n++] = byte(0x80 | (v & 0x7F));
  while (n > 0)
    out.push_back(buf[--n]);
}

void putBE(std::string& out, std::uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i)
    out.push_back(byte(static_cast<int>(v >> (8 * i))));
}

void checkChannel(int channel) {
  if (channel < 0 || channel > 15) throw std::invalid_argument("MIDI channel out of range");
}

int data(int v) {
  return std::clamp(v, 0, 127);
}

}  // namespace

void Track::add(std::uint32_t tick, int order, std::string bytes) {
  events_.push_back(Event{tick, order, seq_++, std::move(bytes)});
}

void Track::note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
  checkChannel(channel);
  if (length == 0) return;
  notes_.push_back(Note{tick, length, channel, data(key), std::clamp(velocity, 1, 127)});
}

std::vector<Track::Event> Track::noteEvents(std::uint32_t endTick) const {
  std::vector<Note> notes = notes_;
  std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
    if (a.channel != b.channel) return a.channel < b.channel;
    if (a.key != b.key) return a.key < b.key;
    return a.tick < b.tick;
  });
  std::vector<Event> out;
  std::uint32_t seq = seq_;
  for (std::size_t i = 0; i < notes.size(); ++i) {
    Note n = notes[i];
    if (i + 1 < notes.size() && notes[i + 1].channel == n.channel && notes[i + 1].key == n.key &&
        notes[i + 1].tick < n.tick + n.length)
      n.length = notes[i + 1].tick - n.tick;
    // Nothing sounds past the end: the loop starts again there.
    if (n.tick >= endTick) continue;
    n.length = std::min(n.length, endTick - n.tick);
    if (n.length == 0) continue;
    const char on = byte(0x90 | n.channel);
    out.push_back(Event{n.tick, 2, seq++, std::string{on, byte(n.key), byte(n.velocity)}});
    // A note-on with velocity 0 is a note-off that shares the running status of the note-ons.
    out.push_back(Event{n.tick + n.length, 1, seq++, std::string{on, byte(n.key), 0}});
  }
  return out;
}

void Track::program(std::uint32_t tick, int channel, int program) {
  checkChannel(channel);
  add(tick, 0, std::string{byte(0xC0 | channel), byte(data(program))});
}

void Track::control(std::uint32_t tick, int channel, int controller, int value) {
  checkChannel(channel);
  add(tick, 0, std::string{byte(0xB0 | channel), byte(data(controller)), byte(data(value))});
}

void Track::tempo(std::uint32_t tick, int bpm) {
  const std::uint32_t usPerQuarter = 60000000u / static_cast<std::uint32_t>(bpm);
  std::string e{byte(0xFF), byte(0x51), byte(3)};
  putBE(e, usPerQuarter, 3);
  add(tick, 0, e);
}

void Track::timeSignature(std::uint32_t tick, int numerator, int denominatorPower) {
  add(tick, 0,
      std::string{byte(0xFF), byte(0x58), byte(4), byte(numerator), byte(denominatorPower),
                  byte(24), byte(8)});
}

void Track::allNotesOff(std::uint32_t tick, const std::vector<int>& channels) {
  for (int ch : channels) {
    checkChannel(ch);
    add(tick, 3, std::string{byte(0xB0 | ch), byte(123), 0});
  }
}

std::string Track::chunk(std::uint32_t endTick) const {
  std::vector<Event> sorted = events_;
  const std::vector<Event> notes = noteEvents(endTick);
  sorted.insert(sorted.end(), notes.begin(), notes.end());
  std::sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    if (a.order != b.order) return a.order < b.order;
    return a.seq < b.seq;
  });
  std::string body;
  if (!name_.empty()) {
    body.push_back(0);
    body += {byte(0xFF), byte(0x03)};
    putVarLen(body, static_cast<std::uint32_t>(name_.size()));
    body += name_;
  }
  std::uint32_t now = 0;
  int running = -1;
  for (const Event& e : sorted) {
    putVarLen(body, e.tick - now);
    now = e.tick;
    const int status = static_cast<unsigned char>(e.bytes[0]);
    if (status >= 0xF0) {
      body += e.bytes;
      running = -1;  // a meta event cancels running status
    } else if (status == running) {
      body.append(e.bytes, 1);
    } else {
      body += e.bytes;
      running = status;
    }
  }
  putVarLen(body, std::max(endTick, now) - now);
  body += {byte(0xFF), byte(0x2F), 0};
  std::string out = "MTrk";
  putBE(out, static_cast<std::uint32_t>(body.size()), 4);
  return out + body;
}

std::string smfFile(const std::vector<Track>& tracks, int division, std::uint32_t endTick) {
  std::string out = "MThd";
  putBE(out, 6, 4);
  putBE(out, 1, 2);
  putBE(out, static_cast<std::uint32_t>(tracks.size()), 2);
  putBE(out, static_cast<std::uint32_t>(division), 2);
  for (const Track& t : tracks)
    out += t.chunk(endTick);
  return out;
}

}  // namespace tervano::music
