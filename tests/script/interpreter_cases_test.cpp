// Runs every script of tests/script/cases and compares what happened with the .expect file
// beside it (the format is described in cases/README).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "data/textfile.h"
#include "game_rig.h"

namespace tervano {
namespace {

namespace fs = std::filesystem;

struct Expectation {
  std::vector<ui::Answer> answers;
  std::vector<std::string> transcript;
  std::map<std::string, std::string> counters;
  std::map<std::string, bool> flags;
};

std::string unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'r') {
      out.push_back('\r');
      ++i;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

Expectation readExpectation(const fs::path& file) {
  Expectation e;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("answer ", 0) == 0) {
      const std::string a = line.substr(7);
      e.answers.push_back(a == "Retry"    ? ui::Answer::Retry
                          : a == "Cancel" ? ui::Answer::Cancel
                                          : ui::Answer::Ok);
    } else if (line.rfind("> ", 0) == 0) {
      e.transcript.push_back(unescape(line.substr(2)));
    } else if (line.rfind("= ", 0) == 0) {
      const std::size_t space = line.find(' ', 2);
      e.counters[line.substr(2, space - 2)] = line.substr(space + 1);
    } else if (line.rfind("flag ", 0) == 0) {
      const std::size_t space = line.find(' ', 5);
      e.flags[line.substr(5, space - 5)] = line.substr(space + 1) == "1";
    }
  }
  return e;
}

std::vector<fs::path> cases() {
  std::vector<fs::path> found;
  for (const auto& entry :
       fs::recursive_directory_iterator(fs::path(TERVANO_SOURCE_DIR) / "tests/script/cases"))
    if (entry.path().extension() == ".lsc") found.push_back(entry.path());
  std::sort(found.begin(), found.end());
  return found;
}

class ScriptCase : public ::testing::TestWithParam<fs::path> {};

TEST_P(ScriptCase, DoesWhatItsExpectationSays) {
  const fs::path script = GetParam();
  const Expectation expected = readExpectation(fs::path(script).replace_extension(".expect"));
  testing::GameRig rig;
  rig.play();
  for (auto a : expected.answers)
    rig.host.answer(a);
  rig.app->session().scriptBuffer = loadTextList(script);
  rig.app->invoke([&] { rig.app->interpreter().run(); });

  EXPECT_EQ(rig.boxesAndCues(), expected.transcript);
  EXPECT_EQ(rig.host.pendingAnswers(), 0u) << "answers left unused";
  const std::map<std::string, std::string_view> counterIds = {{"points", id::kPoints},
                                                              {"grade", id::kGrade},
                                                              {"crossword", id::kCrossword},
                                                              {"good", id::kGood},
                                                              {"bad", id::kBad}};
  for (const auto& [name, value] : expected.counters)
    EXPECT_EQ(rig.text(counterIds.at(name)), value) << name;
  for (const auto& [name, value] : expected.flags) {
    if (name == "errorPerLine") {
      EXPECT_EQ(rig.c().checked(id::kErrorPerLine), value);
    } else if (name == "showAnswers") {
      EXPECT_EQ(rig.app->session().showAnswersInErrors, value);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptCase, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<fs::path>& info) {
                           std::string name = info.param.parent_path().filename().string() + "_" +
                                              info.param.stem().string();
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
}  // namespace tervano
