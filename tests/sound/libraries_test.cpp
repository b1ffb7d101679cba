// The libraries the program opens at run time, as the Debian package sees them: each file the
// program opens belongs to a package the package depends on, and the one line said when ALSA's
// default device cannot be opened names the packages it recommends.
#include "sound/libraries.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "sound/audio_engine.h"

namespace tervano::sound {
namespace {

// The value of a variable in the CPack configuration the build wrote; nothing without one.
std::optional<std::string> cpackValue(const std::string& variable) {
  std::ifstream in(TERVANO_CPACK_CONFIG);
  if (!in) return std::nullopt;
  std::stringstream text;
  text << in.rdbuf();
  std::smatch match;
  const std::string all = text.str();
  if (!std::regex_search(all, match, std::regex("set\\(" + variable + " \"([^\"]*)\"\\)"))) {
    return std::nullopt;
  }
  return match[1].str();
}

// The package names of a Debian relationship field, alternatives and versions aside.
std::set<std::string> packagesOf(const std::string& field) {
  std::set<std::string> names;
  std::smatch match;
  const std::regex name("(^|[,|])\\s*([a-z0-9][a-z0-9+.-]+)");
  for (auto it = field.cbegin(); std::regex_search(it, field.cend(), match, name);
       it = match[0].second) {
    names.insert(match[2].str());
  }
  return names;
}

// The package dpkg says holds the file; empty when it cannot tell.
std::string owner(const std::string& file) {
  std::FILE* pipe = popen(("dpkg-query -S '" + file + "' 2>/dev/null").c_str(), "r");
  if (!pipe) return "";
  char line[512] = {};
  const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
  pclose(pipe);
  if (!read) return "";
  const std::string text = line;
  return text.substr(0, text.find_first_of(":,"));
}

TEST(SoundLibraries, TheDebianPackageDependsOnEveryLibraryTheProgramOpens) {
  const auto depends = cpackValue("CPACK_DEBIAN_PACKAGE_DEPENDS");
  if (!depends) GTEST_SKIP() << "no Debian package configured in this build";
  if (std::system("dpkg-query --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no dpkg";
  const std::set<std::string> packages = packagesOf(*depends);
  for (const char* name : {alsaLibraryName(), fluidLibraryName()}) {
    SCOPED_TRACE(name);
    void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << "not installed";
    link_map* map = nullptr;
    ASSERT_EQ(dlinfo(handle, RTLD_DI_LINKMAP, &map), 0);
    // Through the links (/lib to /usr/lib, the SONAME to the file): the path dpkg knows.
    const std::string file = std::filesystem::canonical(map->l_name).string();
    dlclose(handle);
    const std::string package = owner(file);
    ASSERT_FALSE(package.empty()) << file << " belongs to no package";
    EXPECT_TRUE(packages.count(package))
        << file << " is in " << package << ", which the package does not depend on: " << *depends;
  }
}

TEST(SoundLibraries, TheSilenceLineNamesThePackagesTheDebianPackageRecommends) {
  const auto recommends = cpackValue("CPACK_DEBIAN_PACKAGE_RECOMMENDS");
  if (!recommends) GTEST_SKIP() << "no Debian package configured in this build";
  const std::set<std::string> packages = packagesOf(*recommends);
  ASSERT_EQ(packages, (std::set<std::string>{"pipewire-alsa", "libasound2-plugins"}));
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const std::string& package : packages) {
    EXPECT_EXIT(
        {
          setenv("TERVANO_AUDIO_DRIVER", "alsa", 1);
          setenv("AUDIODEV", "tervano_no_such_card", 1);
          AudioEngine engine;
          std::exit(0);
        },
        ::testing::ExitedWithCode(0), ::testing::ContainsRegex(" " + package + "[ .]"));
  }
}

}  // namespace
}  // namespace tervano::sound
