#include "data/crossword.h"

#include "data/numbers.h"
#include "data/records.h"

namespace tervano {

std::optional<std::string> crosswordFolder(std::string_view grade, std::string_view crossword) {
  if (!isDigits(grade) || !isDigits(crossword)) return std::nullopt;
  return "tervano\\r" + std::string(grade) + "\\k" + std::string(crossword) + "\\";
}

std::optional<std::string> crosswordScriptPath(std::string_view grade, std::string_view crossword,
                                               std::string_view event) {
  if (!isDigits(grade) || !isDigits(crossword)) return std::nullopt;
  return std::string(paths::kScripts) + std::string(grade) + std::string(crossword) +
         std::string(event) + ".lsc";
}

}  // namespace tervano
