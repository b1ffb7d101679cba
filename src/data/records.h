#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/textlist.h"

namespace tervano {

// The switch letters of every record and configuration file: "A" (ano, yes) and "N" (ne, no).
inline constexpr const char* kYes = "A";
inline constexpr const char* kNo = "N";
inline std::string yesNo(bool on) {
  return on ? kYes : kNo;
}

// The twelve-line game record stored by saved games and autosave records.
namespace saverec {
inline constexpr int kMusic = 0;
inline constexpr int kPoints = 1;
inline constexpr int kGrade = 2;
inline constexpr int kCrossword = 3;
inline constexpr int kGood = 4;
inline constexpr int kBad = 5;
inline constexpr int kSound = 6;
inline constexpr int kAnswerMarker = 7;
inline constexpr int kVersion = 8;
inline constexpr int kErrorPerLine = 9;
inline constexpr int kShowAnswers = 10;
inline constexpr int kScriptsDisabled = 11;
inline constexpr int kLines = 12;
}  // namespace saverec

TextList defaultSaveRecord();

// Lines of the set descriptor (tervano\Tervano.ini).
namespace desc {
inline constexpr int kGradeCountFirst = 1;  // lines 1 to 4: crosswords of grades I to IV
inline constexpr int kGrades = 5;
inline constexpr int kSetNumber = 6;
inline constexpr int kLanguage = 7;
}  // namespace desc

// Line 0 is the program path, line 1 the first switch ("" for the main application).
TextList buildArgumentList(int argc, const char* const* argv);
TextList buildArgumentList(const std::vector<std::string>& args);

// Relative paths of the data tree, written as the game writes them; resolution ignores case.
namespace paths {
inline constexpr const char* kDescriptor = "tervano\\Tervano.ini";
inline constexpr const char* kSavedGames = "Data\\kriz\\";
inline constexpr const char* kAutosaveLog = "data\\kriz\\automatické uložení.kra";
inline constexpr const char* kExportedRecord = "Data\\kriz\\~automatické uložení.kr1";
// The saved game delivered with the tree, from which a first game starts.
inline constexpr const char* kNewGameSave = "Data\\kriz\\Nová hra.kr1";
inline constexpr const char* kScripts = "tervano\\script\\";
inline constexpr const char* kCues = "tervano\\hdb\\";
inline constexpr const char* kMusic = "Tervano\\hdb\\";
inline constexpr const char* kLanguages = "jazyky.ini";
inline constexpr const char* kHelpFile = "help\\hkriz.hlp";
inline constexpr const char* kHelpFolder = "help\\";
inline constexpr const char* kGradeList = "tervano\\sur\\r.cbx";
inline constexpr const char* kCrosswordLists = "tervano\\sur\\";
inline constexpr const char* kSetList = "sady.ini";
inline constexpr const char* kSelection = "Tervano.ini";
}  // namespace paths

// "tervano\sur\" + grade + ".cbx": the crossword list of a grade.
inline std::string crosswordListPath(std::string_view grade) {
  return std::string(paths::kCrosswordLists) + std::string(grade) + ".cbx";
}

class ProgramFolder;
// Writes the active set's descriptor back. One that was never loaded (empty) is not written:
// it would wipe the set's own.
void saveDescriptor(const ProgramFolder& folder, const TextList& descriptor);

}  // namespace tervano
