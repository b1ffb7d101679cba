#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "data/textlist.h"

namespace tervano {

// Lines of a crossword's configuration file k.nk.
namespace konf {
inline constexpr int kPointsPerGood = 0;
inline constexpr int kPointsPerBad = 1;
inline constexpr int kGoodTajenka = 2;
inline constexpr int kBadTajenka = 3;
inline constexpr int kSavePoint = 4;
inline constexpr int kWordCount = 5;
inline constexpr int kLines = 6;
}  // namespace konf

// "tervano\r<grade>\k<crossword>\" for decimal grade and crossword texts. Texts that are not
// plain decimal digits (scripts may put any text into the counters) give no folder: no file
// outside the crossword tree can be reached through a counter.
std::optional<std::string> crosswordFolder(std::string_view grade, std::string_view crossword);

// "tervano\script\" + grade + crossword + event + ".lsc", under the same rule.
std::optional<std::string> crosswordScriptPath(std::string_view grade, std::string_view crossword,
                                               std::string_view event);

}  // namespace tervano
