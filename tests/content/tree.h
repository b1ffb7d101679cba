#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "sets/contentsource.h"

namespace tervano::testing {

// The delivered data tree and the sources it is generated from.
inline const std::filesystem::path kTree = TERVANO_DATA_TREE;
inline const std::filesystem::path kContent = std::filesystem::path(TERVANO_SOURCE_DIR) / "content";

// The three set folders of the tree: the active set, the template and the installation medium.
inline const char* const kSetFolders[] = {"tervano", "tervanodef", "instalace-nemcina"};

// Every set of content/, loaded once.
const std::vector<content::SourceSet>& sourceSets();
const content::SourceSet& sourceSet(const std::string& folder);

// Files below a folder, as paths relative to it with "/".
std::vector<std::string> filesBelow(const std::filesystem::path& dir);

}  // namespace tervano::testing
