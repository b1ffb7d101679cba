#include "sets/names.h"

#include "data/numbers.h"
#include "data/programfolder.h"

namespace tervano::sets {

bool isSetNumber(std::string_view text) {
  return isDigits(text) && tryParseInt(text).has_value();
}

std::string setName(std::string_view number) {
  return std::string(kActiveFolder) + std::string(number);
}

std::optional<std::string> numberOfSetName(std::string_view name) {
  const std::string_view prefix = kActiveFolder;
  if (name.size() <= prefix.size() || !sameNameIgnoringCase(name.substr(0, prefix.size()), prefix))
    return std::nullopt;
  const std::string_view number = name.substr(prefix.size());
  if (!isSetNumber(number)) return std::nullopt;
  return std::string(number);
}

}  // namespace tervano::sets
