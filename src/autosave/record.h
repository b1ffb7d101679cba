#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/textlist.h"

// One home for the layout of an autosave record: the game appends records in it, the manager
// finds, lists and exports them by it.
namespace tervano::autosave {

// Header lines of the log.
namespace header {
inline constexpr int kEnabled = 0;
inline constexpr int kLimit = 1;
inline constexpr int kCount = 2;
inline constexpr int kTrigger = 3;
inline constexpr int kLines = 4;
}  // namespace header

// A record is a separator line " " followed by the lines from "<>" to "</>". The offsets are
// counted from the "<>" line.
namespace record {
inline constexpr std::string_view kSeparator = " ";
inline constexpr std::string_view kStart = "<>";
inline constexpr std::string_view kData = "<data1>";
inline constexpr std::string_view kEnd = "</>";
inline constexpr int kSetOffset = 1;
inline constexpr int kGradeOffset = 2;
inline constexpr int kCrosswordOffset = 3;
inline constexpr int kBlankOffset = 4;
inline constexpr int kDataOffset = 5;
inline constexpr int kStateOffset = 6;  // the twelve lines of the game state
inline constexpr int kStateLines = 12;
inline constexpr int kTriggerOffset = kStateOffset + kStateLines;
inline constexpr int kEndOffset = kTriggerOffset + 1;
}  // namespace record

// Lines appended for one record: the separator and the lines from "<>" to "</>".
inline constexpr int kRecordLines = record::kEndOffset + 2;

// What one record holds.
struct RecordValues {
  std::string setNumber, grade, crossword;
  TextList gameState;  // the twelve lines in the layout of a saved game
  std::string trigger;
  bool operator==(const RecordValues&) const = default;
};

// The lines of one record for the given state, as AUTOSAVE appends them.
TextList recordLines(const RecordValues& values);

// Where one record of the log lies.
struct RecordPlace {
  int start = 0;  // its "<>" line
  int end = 0;    // one past its last line: past its "</>", or where the next record begins
  // The lines from "<>" to "</>" with "<data1>" in its place: only such a record holds a whole
  // game state.
  bool complete = false;
};

// The records of a log in file order. The header lines never belong to one, and the lines of a
// complete record are never taken for the start of another (a trigger text typed as "<>").
std::vector<RecordPlace> findRecords(const TextList& log);

// What a complete record holds.
RecordValues readRecord(const TextList& log, const RecordPlace& record);

// "set/grade/crossword", as the list names the record.
std::string recordCaption(const TextList& log, const RecordPlace& record);

// The trigger line of a record; "" when a short record ends before it.
std::string_view recordTrigger(const TextList& log, const RecordPlace& record);

// The record as a saved game: the game state, the trigger line and "</>", with the answer marker
// "N" (no answer area belongs to it). Only for a complete record.
TextList exportedRecord(const TextList& log, const RecordPlace& record);

}  // namespace tervano::autosave
