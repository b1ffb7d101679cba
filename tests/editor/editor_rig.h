#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/modes/editing.h"
#include "program_folder.h"
#include "ui/ids.h"

namespace tervano::testing {

// The crossword editor started on a set of its own, driven as the user drives it: the data
// panel, the chooser's boxes and "Potvrď", the areas and the spin boxes.
struct EditorRig : Rig {
  explicit EditorRig(std::array<int, 4> counts = {3, 3, 3, 3}, const std::string& below = "",
                     TempProgram::Where where = TempProgram::Where::Disk)
      : Rig(below, where) {
    dir.makeSet(counts);
    start("-EDITOR");
    host.clear();
  }

  app::Application& a() { return *app; }
  const std::string& status() const { return text(id::kDataStatus); }

  // The grade and crossword typed into the chooser's boxes.
  void choose(const std::string& grade, const std::string& crossword) {
    app->dispatch({app::Event::Kind::Select, id::kChooserGrade, grade});
    app->dispatch({app::Event::Kind::Edit, id::kChooserCrossword, crossword});
  }
  // "Načíst", the boxes, "Potvrď".
  void load(const std::string& grade, const std::string& crossword) {
    app->click(id::kDataLoad);
    choose(grade, crossword);
    app->click(id::kChooserConfirm);
  }
  // "Uložit", the boxes, "Potvrď".
  void saveAs(const std::string& grade, const std::string& crossword) {
    app->click(id::kDataSave);
    choose(grade, crossword);
    app->click(id::kChooserConfirm);
  }
  void type(const char* area, const std::string& text) { app->edit(area, text); }
  void spin(const char* spinBox, int value) {
    app->dispatch({app::Event::Kind::Edit, spinBox, {}, value});
  }

  // Every file below the program folder with its bytes, for "nothing changed".
  std::map<std::string, std::string> snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.root()))
      if (e.is_regular_file())
        files[std::filesystem::relative(e.path(), dir.root()).string()] =
            dir.readBytes(std::filesystem::relative(e.path(), dir.root()).string());
    return files;
  }
  // The four files of a crossword, for comparing folders.
  std::vector<std::string> crossword(const std::string& folder) const {
    std::vector<std::string> bytes;
    for (auto f : {"k.mk", "k.lk", "k.vk", "k.nk"})
      bytes.push_back(dir.exists(folder + "/" + f) ? dir.readBytes(folder + "/" + f) : "<none>");
    return bytes;
  }
};

}  // namespace tervano::testing
