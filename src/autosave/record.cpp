#include "autosave/record.h"

#include "data/records.h"

namespace tervano::autosave {

using namespace record;

TextList recordLines(const RecordValues& v) {
  TextList r{std::string(kSeparator), std::string(kStart), v.setNumber, v.grade, v.crossword, " ",
             std::string(kData)};
  for (int i = 0; i < kStateLines; ++i)
    r.append(v.gameState.get(i));
  r.append(v.trigger);
  r.append(std::string(kEnd));
  return r;
}

std::vector<RecordPlace> findRecords(const TextList& log) {
  const std::vector<std::string>& lines = log.lines();
  const int n = log.count();
  auto at = [&](int i) -> const std::string& { return lines[static_cast<std::size_t>(i)]; };
  std::vector<RecordPlace> found;
  int i = header::kLines;
  while (i < n) {
    if (at(i) != kStart) {
      ++i;
      continue;
    }
    RecordPlace r;
    r.start = i;
    const int last = i + kEndOffset;
    // A whole record: "<data1>" and "</>" in their places, a game state without blank lines, and
    // no marker among its own lines (only the trigger line, free text, may hold one): the lines
    // of broken records next to it are never taken for its own.
    auto whole = [&] {
      if (last >= n || at(last) != kEnd) return false;
      for (int k = 1; k < kTriggerOffset; ++k) {
        const std::string& line = at(i + k);
        if ((k == kDataOffset) != (line == kData) || line == kStart || line == kEnd) return false;
        if (k >= kStateOffset && line.find_first_not_of(' ') == std::string::npos) return false;
      }
      return true;
    };
    if (whole()) {
      r.end = last + 1;
      r.complete = true;
    } else {
      // A short or broken record ends at its own end marker, or where the next one starts.
      int j = i + 1;
      while (j < n && at(j) != kStart && at(j) != kEnd)
        ++j;
      if (j < n && at(j) == kEnd) {
        r.end = j + 1;
      } else {
        // Without an end marker it stops before the blank lines in front of whatever follows:
        // they are separators, whichever record they once belonged to.
        r.end = j;
        while (r.end - 1 > i && at(r.end - 1) == kSeparator)
          --r.end;
      }
    }
    found.push_back(r);
    i = r.end;
  }
  return found;
}

namespace {

// A line of the record; lines past a short record's end belong to the next one.
const std::string& lineOf(const TextList& log, const RecordPlace& r, int offset) {
  static const std::string none;
  return r.start + offset < r.end ? log.get(r.start + offset) : none;
}

}  // namespace

RecordValues readRecord(const TextList& log, const RecordPlace& r) {
  RecordValues v;
  v.setNumber = lineOf(log, r, kSetOffset);
  v.grade = lineOf(log, r, kGradeOffset);
  v.crossword = lineOf(log, r, kCrosswordOffset);
  for (int i = 0; i < kStateLines; ++i)
    v.gameState.append(lineOf(log, r, kStateOffset + i));
  v.trigger = lineOf(log, r, kTriggerOffset);
  return v;
}

std::string recordCaption(const TextList& log, const RecordPlace& r) {
  return lineOf(log, r, kSetOffset) + "/" + lineOf(log, r, kGradeOffset) + "/" +
         lineOf(log, r, kCrosswordOffset);
}

std::string_view recordTrigger(const TextList& log, const RecordPlace& r) {
  return lineOf(log, r, kTriggerOffset);
}

TextList exportedRecord(const TextList& log, const RecordPlace& r) {
  TextList out;
  for (int i = r.start + kStateOffset; i <= r.start + kEndOffset; ++i)
    out.append(log.get(i));
  out.set(saverec::kAnswerMarker, kNo);
  return out;
}

}  // namespace tervano::autosave
