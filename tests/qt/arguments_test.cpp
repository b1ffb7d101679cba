// The command line reaches the program whole and Qt not at all: a Qt switch given to the
// program is an unsupported mode switch, never a change of Qt's behaviour.
#include <gtest/gtest.h>

#include <QApplication>
#include <string>
#include <vector>

#include "qt/arguments.h"

namespace {

struct CommandLine {
  std::vector<std::string> words;
  std::vector<char*> argv;
  explicit CommandLine(std::vector<std::string> w) : words(std::move(w)) {
    for (auto& word : words)
      argv.push_back(word.data());
    argv.push_back(nullptr);
  }
  int argc() const { return static_cast<int>(words.size()); }
};

TEST(ProgramArguments, QtSwitchesStayTheProgramsAndDoNotSteerQt) {
  CommandLine line({"tervano-hra", "-reverse"});
  tervano::qt::ProgramArguments arguments(line.argc(), line.argv.data());
  QApplication app(arguments.qtArgc(), arguments.qtArgv());
  EXPECT_EQ(arguments.list().get(1), "-reverse");
  EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);
  EXPECT_EQ(QApplication::arguments(), QStringList{"tervano-hra"});
}

TEST(ProgramArguments, AModeSwitchAfterAQtSwitchIsNotTheFirstArgument) {
  CommandLine line({"tervano-hra", "-style", "Fusion", "-EDITOR"});
  tervano::qt::ProgramArguments arguments(line.argc(), line.argv.data());
  EXPECT_EQ(arguments.list().get(1), "-style");
  EXPECT_EQ(arguments.list().get(3), "-EDITOR");
  EXPECT_EQ(arguments.qtArgc(), 1);
}

}  // namespace
