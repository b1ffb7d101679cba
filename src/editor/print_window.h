#pragma once

#include <optional>
#include <string>

#include "data/programfolder.h"
#include "data/session.h"
#include "editor/worksheet.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::editor {

// The crossword open in the editor, with its unsaved edits.
struct OpenCrossword {
  CrosswordFiles files;
  int grade = 1;
  int number = 0;  // 0: not saved yet
  bool unsaved = false;
};

// The window "Tisk a export křížovek": which crosswords (the open one, its grade or the whole
// set), whether each gets its key, what that makes and what is odd about it, and the outputs.
// The pages are drawn by a WorksheetOutput the view provides.
class PrintWindow {
 public:
  PrintWindow(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder,
              const Session& session);

  static void declare(ui::Controls& controls);

  // Shows the window. "Tato křížovka" is offered only with a crossword open; the scope the user
  // chose last stays chosen while it is offered, otherwise the open crossword, else "Celý
  // ročník".
  void open(std::optional<OpenCrossword> current);
  void close();
  // The user's choice; "Tato křížovka" without a crossword open changes nothing.
  void choose(Scope scope);
  void setKeys(bool keys);

  // The three outputs. A null output (no view) is refused with a Czech message.
  void print(WorksheetOutput* output);
  void preview(WorksheetOutput* output);
  void savePdf(WorksheetOutput* output);
  // The scope as iPuz: "Tato křížovka" into one file the user names, a grade or the set into a
  // folder the user chooses, one file r<grade>k<number>.ipuz per crossword. Existing files are
  // replaced only after a question. Each file is written whole or not at all; the status says
  // what was written, the warnings which crossword was left out and why.
  void saveIpuz();

  Scope scope() const;
  const WorksheetJob& job() const { return job_; }
  // "<set> - 1. ročník s řešením.pdf": the set's name and the scope.
  std::string defaultFileName() const;

 private:
  // Checks the scope's radio button and collects its crosswords.
  void select(Scope scope);
  // Reads the scope's crosswords again and shows what they make.
  void collect();
  int grade() const;
  WorksheetOutput& usable(WorksheetOutput* output) const;
  // The folder a file dialog starts in: the last one used, else the home folder.
  std::string startFolder() const;
  void saveIpuzFile();
  void saveIpuzFolder();

  ui::Controls& controls_;
  ui::Host& host_;
  const ProgramFolder& folder_;
  const Session& session_;
  std::optional<OpenCrossword> current_;
  std::optional<Scope> userChoice_;
  WorksheetJob job_;
  std::string lastFolder_;
};

}  // namespace tervano::editor
