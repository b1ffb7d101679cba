#include "tree.h"

#include <algorithm>
#include <stdexcept>

namespace tervano::testing {

namespace fs = std::filesystem;

const std::vector<content::SourceSet>& sourceSets() {
  static const std::vector<content::SourceSet> sets = [] {
    std::vector<content::SourceSet> out;
    for (const auto& dir : content::sourceSetFolders(kContent))
      out.push_back(content::loadSourceSet(dir));
    return out;
  }();
  return sets;
}

const content::SourceSet& sourceSet(const std::string& folder) {
  for (const auto& s : sourceSets())
    if (s.folder == folder) return s;
  throw std::runtime_error("no source set for " + folder);
}

std::vector<std::string> filesBelow(const fs::path& dir) {
  std::vector<std::string> out;
  if (!fs::is_directory(dir)) return out;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) out.push_back(fs::relative(e.path(), dir).generic_string());
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace tervano::testing
