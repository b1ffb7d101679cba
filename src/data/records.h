#pragma once

#include <string>
#include <vector>

#include "data/textlist.h"

namespace tervano {

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
inline constexpr const char* kScripts = "tervano\\script\\";
inline constexpr const char* kCues = "tervano\\hdb\\";
inline constexpr const char* kMusic = "Tervano\\hdb\\";
inline constexpr const char* kLanguages = "jazyky.ini";
inline constexpr const char* kHelpFile = "help\\hkriz.hlp";
inline constexpr const char* kHelpFolder = "help\\";
}  // namespace paths

}  // namespace tervano
