#pragma once

#include <vector>

#include "data/records.h"
#include "data/textlist.h"

namespace tervano::qt {

// The command line split between the program and Qt. Qt reads switches of its own (-reverse,
// -style, -platform ...) and removes them from what it is given: the program's mode must see
// every argument as typed, and no argument may steer Qt, so Qt gets the program's name alone.
class ProgramArguments {
 public:
  ProgramArguments(int argc, char** argv) : list_(buildArgumentList(argc, argv)) {
    qtArgv_.push_back(argc > 0 ? argv[0] : nullptr);
    qtArgv_.push_back(nullptr);
  }

  // Every argument as given: line 0 the program, line 1 the mode switch.
  const TextList& list() const { return list_; }
  // For QApplication, which keeps references to both for its whole life.
  int& qtArgc() { return qtArgc_; }
  char** qtArgv() { return qtArgv_.data(); }

 private:
  TextList list_;
  int qtArgc_ = 1;
  std::vector<char*> qtArgv_;
};

}  // namespace tervano::qt
