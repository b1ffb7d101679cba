#pragma once

#include <optional>
#include <string>
#include <string_view>

// Names of the set folders and the rule that makes a set number safe to become a folder name.
namespace tervano::sets {

inline constexpr const char* kActiveFolder = "tervano";
inline constexpr const char* kTemplateFolder = "tervanodef";
// Where a new set is copied before it gets its name.
inline constexpr const char* kWorkFolder = "tervanoTemp";
// Where a set being deleted goes first, so that the deletion cannot reach a set switched in
// meanwhile. No set name has this form ("tervano" + digits).
inline constexpr const char* kDeletionFolder = "tervanoMazani";

inline constexpr const char* kInstallScript = "install.bat";
inline constexpr const char* kCreateScript = "create.bat";
inline constexpr const char* kDeleteScript = "delsada.bat";

// The numbers the user may give to a set of their own; the maker's sets lie outside.
inline constexpr int kFirstUserSet = 30;
inline constexpr int kLastUserSet = 110;

// A set number as a descriptor holds it: decimal digits only (leading zeros kept, as the name is
// formed from the text), and within 32 bits. Anything else may not become part of a path.
bool isSetNumber(std::string_view text);

// "tervano" + number.
std::string setName(std::string_view number);

// The number of a set name ("tervano" + digits, the prefix in any letter case); nothing for
// "tervanodef", "tervano", "../x" and every other text.
std::optional<std::string> numberOfSetName(std::string_view name);

}  // namespace tervano::sets
