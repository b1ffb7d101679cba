#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "program_folder.h"
#include "ui/ids.h"

namespace tervano::testing {

// The script editor started on a set of its own, driven as the user drives it: the event box, the
// script text, the command list, the data panel and the chooser's boxes with "Potvrď".
struct ScriptRig : Rig {
  explicit ScriptRig(std::array<int, 4> counts = {3, 3, 3, 3}) {
    dir.makeSet(counts);
    start("-SCRIPTEDITOR");
    host.clear();
  }

  app::Application& a() { return *app; }
  const std::string& status() const { return text(id::kDataStatus); }
  const TextList& script() const { return app->session().scriptBuffer; }

  // An event picked from the event box's list.
  void pick(const std::string& event) {
    app->dispatch({app::Event::Kind::Select, id::kScriptEvent, event});
  }
  // The whole script text after a change by the user.
  void type(const std::string& text) { app->edit(id::kScriptText, text); }
  void doubleClick(int item) {
    app->dispatch({app::Event::Kind::DoubleClick, id::kScriptCommands, {}, item});
  }
  // The grade and crossword typed into the chooser's boxes, and "Potvrď".
  void confirm(const std::string& grade, const std::string& crossword) {
    app->dispatch({app::Event::Kind::Select, id::kChooserGrade, grade});
    app->dispatch({app::Event::Kind::Edit, id::kChooserCrossword, crossword});
    app->click(id::kChooserConfirm);
  }
  std::string scriptBytes(const std::string& name) const {
    return dir.readBytes("tervano/script/" + name);
  }
  bool hasScript(const std::string& name) const { return dir.exists("tervano/script/" + name); }

  // Every file below the program folder with its bytes, for "nothing changed".
  std::map<std::string, std::string> snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.root()))
      if (e.is_regular_file()) {
        const std::string rel = std::filesystem::relative(e.path(), dir.root()).string();
        files[rel] = dir.readBytes(rel);
      }
    return files;
  }
};

}  // namespace tervano::testing
