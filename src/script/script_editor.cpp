#include "script/script_editor.h"

#include <algorithm>
#include <array>

#include "data/cp1250.h"
#include "data/events.h"
#include "data/file_ops.h"
#include "data/numbers.h"
#include "data/records.h"
#include "data/textfile.h"
#include "data/texts.h"
#include "script/interpreter.h"
#include "ui/ids/script_panel.h"
#include "ui/recovery.h"

namespace tervano::script {

namespace fs = std::filesystem;

namespace {

using G = CommandGroup;

// The editor lists the groups in the order of the language's reference, except that
// "cross.retry" comes before the two questions about overwriting a saved game.
constexpr std::array kEditorGroups = {G::Game,     G::Help,  G::Application, G::Settings,
                                      G::Counters, G::Check, G::Errors,      G::Warnings,
                                      G::Infos,    G::Retry, G::AskOverwrite};

constexpr const char* kProgramWide[] = {event::kProgramStart, event::kProgramEnd, event::kGameStart,
                                        event::kGameEnd};

constexpr const char* kScratchNote =
    "\rPracovní kopie skriptu (BEZEJMENA.lsc) se neukládá, dokud tato chyba trvá.\r"
    "Tato zpráva se do té doby znovu neukáže.";

std::string scriptPath(std::string_view name) {
  return std::string(paths::kScripts) + std::string(name);
}

}  // namespace

std::vector<std::string> commandList() {
  const std::vector<CommandName> names = commandNames();
  std::vector<std::string> items;
  for (G group : kEditorGroups) {
    if (!items.empty()) items.emplace_back();
    for (const CommandName& c : names)
      if (c.group == group) items.emplace_back(c.name);
  }
  return items;
}

bool isProgramWideEvent(std::string_view event) {
  return std::any_of(std::begin(kProgramWide), std::end(kProgramWide),
                     [&](const char* e) { return event == e; });
}

bool fitsInFileName(std::string_view text) {
  if (text.find("..") != std::string_view::npos) return false;
  return std::none_of(text.begin(), text.end(), [](char ch) {
    const auto u = static_cast<unsigned char>(ch);
    return ch == '/' || ch == '\\' || u < 0x20 || u == 0x7F;
  });
}

ScriptEditor::ScriptEditor(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder,
                           Session& session)
    : controls_(controls), host_(host), folder_(folder), session_(session) {}

void ScriptEditor::declare(ui::Controls& c) {
  ui::Control panel;
  panel.visible = false;
  c.declare(id::kScriptPanel, panel);
  ui::Control events;
  for (const char* e : event::kAll)
    events.lines.append(e);
  c.declare(id::kScriptEvent, events);
  c.declare(id::kScriptText);
  ui::Control commands;
  commands.lines = TextList(commandList());
  c.declare(id::kScriptCommands, commands);
  ui::Control remove;
  remove.text = "Smazání skriptu";
  c.declare(id::kScriptDelete, remove);
  ui::Control save;
  save.text = "Ulož";
  save.visible = false;
  c.declare(id::kScriptSave, save);
}

void ScriptEditor::setUp() {
  controls_.setVisible(id::kScriptPanel, true);
  show({});
}

const std::string& ScriptEditor::event() const {
  return controls_.text(id::kScriptEvent);
}

void ScriptEditor::show(TextList lines) {
  controls_.setLines(id::kScriptText, lines);
  session_.scriptBuffer = std::move(lines);
}

void ScriptEditor::chooseEvent(const std::string& chosen) {
  controls_.setText(id::kScriptEvent, chosen);
  controls_.setEnabled(id::kScriptEvent, false);
  show({});
  // A typed event that could not be a file name has no script to load.
  if (!fitsInFileName(chosen)) return;
  const std::string own = scriptPath(chosen + ".lsc");
  if (folder_.isFile(own)) show(folder_.load(own, limits::kDataFile));
  if (chosen != event::kCrosswordStart && chosen != event::kCrosswordEnd) return;
  const std::string perCrossword =
      scriptPath(toText(grade_) + toText(crossword_) + chosen + ".lsc");
  if (folder_.isFile(perCrossword)) show(folder_.load(perCrossword, limits::kDataFile));
}

void ScriptEditor::edit(TextList lines) {
  show(std::move(lines));
  if (event().empty()) saveScratch();
  controls_.setEnabled(id::kScriptEvent, false);
}

bool ScriptEditor::appendCommand(int index) {
  const TextList& items = controls_.lines(id::kScriptCommands);
  if (index < 0 || index >= items.count()) return false;
  TextList lines = session_.scriptBuffer;
  lines.append(items.get(index));
  edit(std::move(lines));
  return true;
}

void ScriptEditor::saveScratch() {
  try {
    folder_.save(scriptPath(kScratchScript), session_.scriptBuffer);
    scratchFailing_ = false;
  } catch (const FileError& e) {
    if (scratchFailing_) return;
    scratchFailing_ = true;
    ui::showError(host_, std::string(e.what()) + kScratchNote);
  }
}

bool ScriptEditor::saveProgramWide() {
  if (!programWide()) {
    ui::showWarning(host_, text::kAssignScript);
    return false;
  }
  saveScript(scriptPath(event() + ".lsc"));
  controls_.setEnabled(id::kScriptEvent, true);
  return true;
}

void ScriptEditor::saveUnder(const std::string& grade, const std::string& crossword) {
  // The parts are joined without separators: each must be what it claims to be, or the name
  // would lead elsewhere.
  if (!isDigits(grade) || !isDigits(crossword))
    throw ScriptFileError("Ročník a křížovka musí být zadány číslicemi.\rSkript nebyl uložen.");
  if (!fitsInFileName(event()))
    throw ScriptFileError("Název události „" + event() +
                          "“ nesmí obsahovat oddělovač složek (\\ nebo /), dvě tečky za sebou ani "
                          "řídicí znaky.\rSkript nebyl uložen.");
  saveScript(scriptPath(grade + crossword + event() + ".lsc"));
  controls_.setEnabled(id::kScriptEvent, true);
}

void ScriptEditor::saveScript(const std::string& path) {
  // A change that another instance left half done is ended first.
  ui::recoverBeforeCommand(host_, folder_);
  // One file, replaced in one step: a failure or a kill leaves the old script whole.
  try {
    folder_.save(path, session_.scriptBuffer);
  } catch (const FileError& e) {
    throw FileError(std::string(e.what()) + "\rSkript nebyl uložen, žádný soubor se nezměnil.");
  }
}

void ScriptEditor::chooseCrossword(const std::string& grade, const std::string& crossword) {
  crossword_ = parseInt(crossword);
  grade_ = parseInt(grade);
  controls_.setText(id::kScriptEvent, "");
}

void ScriptEditor::clear() {
  show({});
  controls_.setText(id::kScriptEvent, "");
  controls_.setEnabled(id::kScriptEvent, true);
}

fs::path ScriptEditor::scriptFolder() const {
  return folder_.resolve(paths::kScripts);
}

void ScriptEditor::deleteScript() {
  ui::FileDialogOptions o;
  o.title = "Smaž skript";
  o.filters = {{"Skript", {"*.LSC"}}};
  o.initialFolder = scriptFolder().string();
  o.mustExist = true;
  const auto chosen = host_.openFile(o);
  if (!chosen) return;
  ui::recoverBeforeCommand(host_, folder_);

  // Only a script of this set: a regular ".lsc" file right in the script folder. A link, a
  // folder, a saved game or a file elsewhere stays where it is.
  const fs::path file(*chosen);
  std::error_code ec;
  const auto status = fs::symlink_status(file, ec);
  std::string extension = cp1250::toLower(file.extension().string());
  const fs::path parent = fs::canonical(file.parent_path(), ec);
  const bool inFolder = !ec && parent == fs::canonical(scriptFolder(), ec) && !ec;
  if (!fs::is_regular_file(status) || extension != ".lsc" || !inFolder)
    throw ScriptFileError("Soubor „" + file.filename().string() +
                          "“ nebyl smazán.\rSmazat lze jen skript (soubor s příponou .lsc) ze "
                          "složky skriptů aktivní sady:\r" +
                          scriptFolder().string());
  // Removed as what it is now: had it become a link meanwhile, the link would go, not its target.
  if (const int err = fileops::removeFile(file))
    throw FileError("Skript „" + file.filename().string() +
                    "“ nelze smazat: " + systemErrorText(err) + ".");
}

}  // namespace tervano::script
