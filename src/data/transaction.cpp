#include "data/transaction.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <set>

#include "data/concat.h"
#include "data/cp1250.h"
#include "data/programfolder.h"
#include "data/textfile.h"

namespace tervano {

namespace fs = std::filesystem;
using journal::Step;

namespace {

std::atomic<unsigned long> journalCounter{0};

constexpr const char* kUndoLater =
    "Část změny se nepodařilo vrátit; program ji vrátí při příštím spuštění.";
constexpr const char* kFinishLater = "Program změnu dokončí při příštím spuštění.";

fs::path normalRoot(const fs::path& root) {
  fs::path r = root.lexically_normal();
  if (!r.has_filename() && r != r.root_path()) r = r.parent_path();
  return r;
}

// True when `path` lies below `folder` (not the folder itself).
bool below(const fs::path& path, const fs::path& folder) {
  auto p = path.begin();
  for (auto f = folder.begin(); f != folder.end(); ++f, ++p)
    if (p == path.end() || *p != *f) return false;
  return p != path.end();
}

std::string folderErrorText(const fs::path& folder, int err) {
  return concat({"Složku „", folder.string(), "“ nelze vytvořit: ", systemErrorText(err), "."});
}

std::string journalErrorText(const fs::path& journal, int err) {
  return fileErrorText("Záznam o rozdělané změně nelze uložit", journal, err);
}

}  // namespace

std::string Transaction::describe(const Failed& failed, int err) {
  switch (failed.kind) {
    case Failed::File:
      return fileErrorText("Soubor nelze uložit", failed.path, err);
    case Failed::Folder:
      return folderErrorText(failed.path, err);
    case Failed::Rename:
      return fileErrorText("Nelze přejmenovat", failed.path, err);
    case Failed::Exchange:
      if (fileops::lacksExchange(err))
        return concat({"Nelze vyměnit „", failed.path.string(),
                       "“: systém souborů neumí vyměnit dvě složky najednou."});
      return fileErrorText("Nelze vyměnit", failed.path, err);
  }
  return {};
}

// --- staging ---

Transaction::Transaction(const ProgramFolder& folder, std::string label)
    : Transaction(folder.root(), std::move(label)) {
  folder_ = &folder;
}

Transaction::Transaction(fs::path root, std::string label) : root_(normalRoot(root)) {
  record_.label = std::move(label);
}

Transaction::~Transaction() {
  if (!finished_) discard();
}

void Transaction::discard() {
  finished_ = true;
  journal::Record staged = record_;
  staged.committed = false;
  journal::cleanUp(root_, staged);
}

std::string Transaction::relative(const fs::path& path) const {
  const fs::path normal = path.lexically_normal();
  if (!below(normal, root_))
    throw FileError(concat({"Cesta „", path.string(), "“ vede mimo složku programu."}));
  return normal.lexically_relative(root_).string();
}

ino_t Transaction::plannedId(const fs::path& path) const {
  const auto it = planned_.find(path.lexically_normal());
  return it != planned_.end() ? it->second : fileops::entryId(path);
}

fs::path Transaction::inNewFolder(const fs::path& path) const {
  const fs::path normal = path.lexically_normal();
  for (const auto& [target, staged] : newFolders_) {
    if (normal == target) return staged;
    if (below(normal, target)) return staged / normal.lexically_relative(target);
  }
  return {};
}

void Transaction::addStep(Step step, const fs::path& target, const fs::path& source) {
  planned_[target.lexically_normal()] = step.sourceId;
  planned_[source.lexically_normal()] = step.kind == Step::Kind::Move ? 0 : step.targetId;
  record_.steps.push_back(std::move(step));
}

void Transaction::save(std::string_view relativePath, const TextList& list) {
  if (folder_ == nullptr) throw std::logic_error("Transaction::save needs the program folder");
  saveTextList(folder_->resolve(relativePath), list);
  written_.emplace_back(relativePath);
}

void Transaction::saveTextList(const fs::path& target, const TextList& list) {
  std::string bytes;
  try {
    bytes = cp1250::encode(list.joined("\r\n"));
  } catch (const FileError& e) {
    throw FileError(std::string(e.what()) + "\rSoubor „" + target.string() + "“ nebyl uložen.");
  }
  replaceFile(target, bytes);
}

void Transaction::replaceFile(const fs::path& target, std::string_view bytes) {
  stage(target, bytes);
}

void Transaction::stage(const fs::path& target, std::string_view bytes) {
  auto failed = [&](int err) {
    return FileError(fileErrorText("Soubor nelze uložit", target, err));
  };
  if (const fs::path inside = inNewFolder(target); !inside.empty()) {
    // Inside a folder that appears with the commit: written in place, no step of its own.
    fileops::Fd fd;
    int err = fileops::createFile(inside, 0644, fd);
    if (err == 0 && !fileops::writeAll(fd.get(), bytes.data(), bytes.size())) err = errno;
    if (err == 0) err = fileops::flushFile(fd.get());
    if (err != 0) throw failed(err);
    return;
  }
  Step step;
  step.kind = Step::Kind::Replace;
  step.target = relative(target);
  step.stagedSource = true;
  fileops::FileReplacement file(target, replacementMode(target));
  if (file.error() != 0) throw failed(file.error());
  if (!fileops::writeAll(file.fd(), bytes.data(), bytes.size())) throw failed(errno);
  if (const int err = file.keep()) throw failed(err);
  step.source = relative(file.temporary());
  step.aside = relative(target.parent_path() / fileops::temporaryName());
  step.targetId = plannedId(target);
  step.sourceId = fileops::entryId(file.temporary());
  descriptions_.push_back({Failed::File, target});
  addStep(std::move(step), target, file.temporary());
}

fs::path Transaction::newFolder(const fs::path& target) {
  if (const fs::path inside = inNewFolder(target); !inside.empty()) {
    const int err = fileops::makeFolder(inside);
    if (err != 0 && err != EEXIST) throw FileError(folderErrorText(target, err));
    stagedFolders_.push_back(inside);
    return inside;
  }
  // The highest missing folder is the one that appears with the commit; those below it are made
  // inside it now.
  const fs::path normal = target.lexically_normal();
  fs::path top = normal;
  while (below(top.parent_path(), root_) && plannedId(top.parent_path()) == 0)
    top = top.parent_path();
  if (plannedId(top) != 0) throw FileError(folderErrorText(target, EEXIST));
  Step step;
  step.kind = Step::Kind::Move;
  step.target = relative(top);
  step.stagedSource = true;
  const fs::path staged = top.parent_path() / fileops::temporaryName();
  if (const int err = fileops::makeFolder(staged)) throw FileError(folderErrorText(target, err));
  step.source = relative(staged);
  step.sourceId = fileops::entryId(staged);
  descriptions_.push_back({Failed::Folder, top});
  addStep(std::move(step), top, staged);
  newFolders_.emplace_back(top, staged);
  stagedFolders_.push_back(staged);
  fs::path inside = staged;
  for (const fs::path& part : normal.lexically_relative(top)) {
    if (part == ".") break;
    inside /= part;
    if (const int err = fileops::makeFolder(inside)) throw FileError(folderErrorText(target, err));
    stagedFolders_.push_back(inside);
  }
  return inside;
}

void Transaction::move(const fs::path& from, const fs::path& to) {
  const ino_t id = plannedId(from);
  if (id == 0) throw FileError(fileErrorText("Nelze přejmenovat", from, ENOENT));
  if (plannedId(to) != 0) throw FileError(fileErrorText("Nelze přejmenovat na", to, EEXIST));
  Step step;
  step.kind = Step::Kind::Move;
  step.target = relative(to);
  step.source = relative(from);
  step.sourceId = id;
  descriptions_.push_back({Failed::Rename, from});
  addStep(std::move(step), to, from);
}

fs::path Transaction::moveAside(const fs::path& entry) {
  const fs::path aside = entry.lexically_normal().parent_path() / fileops::temporaryName();
  move(entry, aside);
  removeAfterCommit(aside);
  return aside;
}

void Transaction::exchange(const fs::path& a, const fs::path& b) {
  Step step;
  step.kind = Step::Kind::Exchange;
  step.target = relative(a);
  step.source = relative(b);
  step.targetId = plannedId(a);
  step.sourceId = plannedId(b);
  if (step.targetId == 0 || step.sourceId == 0)
    throw FileError(fileErrorText("Nelze vyměnit", step.targetId == 0 ? a : b, ENOENT));
  descriptions_.push_back({Failed::Exchange, a});
  addStep(std::move(step), a, b);
}

void Transaction::removeAfterCommit(const fs::path& entry) {
  record_.removals.push_back(relative(entry));
}

// --- commit ---

void Transaction::commit(Policy policy) {
  if (finished_) throw std::logic_error("Transaction committed twice");
  journal_ = root_ / concat({kJournalPrefix, std::to_string(fileops::processId()), "-",
                             std::to_string(journalCounter.fetch_add(1))});
  const bool finishing = policy == Policy::FinishOnceStarted;
  record_.committed = finishing;
  // What was written into new folders is on the disk before anything depends on it.
  for (const fs::path& folder : stagedFolders_)
    fileops::syncFolder(folder);
  if (const int err = journal::writeLocked(journal_, record_, lock_)) {
    discard();
    throw TransactionError(journalErrorText(journal_, err), true);
  }
  for (std::size_t i = 0; i < record_.steps.size(); ++i) {
    if (const int err = journal::apply(root_, record_.steps[i])) {
      fail(describe(descriptions_[i], err), i);
    }
  }
  bool durable = true;
  if (!finishing) {
    // Every step on the disk before the mark that says so.
    for (const fs::path& folder : journal::foldersOf(root_, record_))
      fileops::syncFolder(folder);
    if (const int err = journal::markCommitted(lock_))
      fail(journalErrorText(journal_, err), record_.steps.size());
    record_.committed = true;
    // A mark that may not be on the disk yet: the old files stay until a recovery has read it.
    durable = fileops::flushFile(lock_.get()) == 0;
  }
  finished_ = true;
  // Forward only from here; what fails now the next recovery finishes.
  if (durable && journal::cleanUp(root_, record_) == 0) fileops::removeFile(journal_);
  lock_ = fileops::Fd();
  if (folder_ != nullptr)
    for (const std::string& path : written_)
      folder_->wrote(path);
}

void Transaction::fail(const std::string& message, std::size_t stepsDone) {
  finished_ = true;
  if (record_.committed) {
    lock_ = fileops::Fd();
    throw TransactionError(concat({message, "\r", kFinishLater}), false);
  }
  bool undone = true;
  for (std::size_t i = stepsDone; i-- > 0;)
    undone = journal::undo(root_, record_.steps[i]) == 0 && undone;
  if (undone) {
    for (const fs::path& folder : journal::foldersOf(root_, record_))
      fileops::syncFolder(folder);
    // What is left now are temporaries of this process: a failed removal is for the sweep.
    journal::cleanUp(root_, record_);
    fileops::removeFile(journal_);
  }
  lock_ = fileops::Fd();
  throw TransactionError(undone ? message : concat({message, "\r", kUndoLater}), undone);
}

// --- recovery ---

std::string RecoveryReport::message() const {
  std::string text;
  auto line = [&](const std::string& l) {
    if (!text.empty()) text += "\r";
    text += l;
  };
  for (const std::string& label : undone)
    line(concat({"Přerušená změna „", label, "“ byla vrácena, soubory jsou v původním stavu."}));
  for (const std::string& label : finished)
    line(concat({"Přerušená změna „", label, "“ byla dokončena."}));
  for (const std::string& problem : problems)
    line(problem);
  return text;
}

namespace {

// What recovery must leave alone: the entries of journals it did not end, and the temporaries of
// processes whose journal it could not read.
struct Kept {
  std::set<fs::path> names;
  std::set<pid_t> owners;
};

void keep(const fs::path& root, const journal::Record& r, Kept& kept) {
  auto add = [&](std::string_view relative) {
    if (auto p = journal::place(root, relative)) kept.names.insert(*p);
  };
  for (const Step& s : r.steps) {
    add(s.target);
    add(s.source);
    if (!s.aside.empty()) add(s.aside);
  }
  for (const std::string& p : r.removals)
    add(p);
}

std::optional<pid_t> journalOwner(std::string_view name) {
  return fileops::temporaryOwner(
      concat({fileops::kTemporaryPrefix, name.substr(kJournalPrefix.size())}));
}

std::optional<std::string> readAll(int fd) {
  std::string text;
  char buffer[4096];
  while (text.size() < limits::kDataFile) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) return text;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return std::nullopt;
}

void recoverJournal(const fs::path& root, const std::string& name, RecoveryReport& report,
                    Kept& kept) {
  const fs::path path = root / name;
  fileops::Fd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) return;  // ended meanwhile
  const auto text = readAll(fd.get());
  const auto record = text ? journal::decode(*text) : std::nullopt;
  auto leave = [&] {
    if (record)
      keep(root, *record, kept);
    else if (const auto owner = journalOwner(name))
      kept.owners.insert(*owner);
  };
  // A live transaction holds the lock; so does the file that has just replaced this one.
  struct stat opened {
  }, named{};
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(fd.get(), &opened) != 0 ||
      ::lstat(path.c_str(), &named) != 0 || opened.st_ino != named.st_ino) {
    leave();
    return;
  }
  if (!record) {
    leave();
    report.problems.push_back(concat({"Záznam o rozdělané změně „", path.string(),
                                      "“ je poškozený; podle něj se nic nezměnilo."}));
    return;
  }
  int err = 0;
  if (record->committed) {
    for (const Step& s : record->steps)
      if (const int e = journal::redo(root, s); err == 0) err = e;
  } else {
    for (auto s = record->steps.rbegin(); s != record->steps.rend(); ++s)
      if (const int e = journal::undo(root, *s); err == 0) err = e;
  }
  if (err == 0) {
    for (const fs::path& folder : journal::foldersOf(root, *record))
      fileops::syncFolder(folder);
    err = journal::cleanUp(root, *record);
  }
  if (err == 0) err = fileops::removeFile(path);
  if (err != 0) {
    leave();
    report.problems.push_back(
        concat({"Přerušenou změnu „", record->label, "“ se nepodařilo ",
                record->committed ? "dokončit" : "vrátit", ": ", systemErrorText(err),
                ". Program to zkusí znovu při příštím spuštění."}));
    return;
  }
  (record->committed ? report.finished : report.undone).push_back(record->label);
}

Kept recoverJournals(const fs::path& root, RecoveryReport& report) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.starts_with(kJournalPrefix)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  Kept kept;
  for (const std::string& name : names)
    recoverJournal(root, name, report, kept);
  return kept;
}

// The folders below the program folder where the program writes: the sets and the saved games.
bool ownFolder(const std::string& name) {
  std::string lower;
  for (char c : name)
    lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  return lower.starts_with("tervano") || lower == "data";
}

bool digits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Earlier versions set a deleted crossword aside in its grade folder as
// ".smazana-k<number>-<pid>" and removed it at the end; a kill in between left it for good.
std::optional<pid_t> oldDeletionOwner(const fs::path& entry) {
  constexpr std::string_view kPrefix = ".smazana-k";
  const std::string name = entry.filename().string();
  const std::string grade = entry.parent_path().filename().string();
  if (!name.starts_with(kPrefix) || grade.size() < 2 || (grade[0] != 'r' && grade[0] != 'R') ||
      !digits(std::string_view(grade).substr(1)))
    return std::nullopt;
  const std::string_view rest = std::string_view(name).substr(kPrefix.size());
  const auto dash = rest.find('-');
  if (dash == std::string_view::npos || !digits(rest.substr(0, dash)) ||
      !digits(rest.substr(dash + 1)) || rest.size() - dash - 1 > 9)
    return std::nullopt;
  return static_cast<pid_t>(std::stol(std::string(rest.substr(dash + 1))));
}

void sweep(const fs::path& root, const Kept& kept, RecoveryReport& report) {
  std::vector<fs::path> doomed;
  std::error_code ec;
  // True for a temporary (removed when no live process owns it): nothing below it is looked at.
  auto temporary = [&](const fs::path& p) {
    const auto owner = fileops::temporaryOwner(p.filename().string());
    if (!owner) return false;
    if (!kept.owners.contains(*owner) && !kept.names.contains(p) && !fileops::processAlive(*owner))
      doomed.push_back(p);
    return true;
  };
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    if (temporary(it->path())) continue;
    if (it->symlink_status(ec).type() != fs::file_type::directory ||
        !ownFolder(it->path().filename().string()))
      continue;
    std::error_code inner;
    for (fs::recursive_directory_iterator
             r(it->path(), fs::directory_options::skip_permission_denied, inner),
         rend;
         !inner && r != rend; r.increment(inner)) {
      if (temporary(r->path())) {
        r.disable_recursion_pending();
        continue;
      }
      // In a grade folder of a set: the set folder's child's child.
      if (r.depth() != 1) continue;
      if (const auto owner = oldDeletionOwner(r->path())) {
        r.disable_recursion_pending();
        if (!fileops::processAlive(*owner)) doomed.push_back(r->path());
      }
    }
  }
  for (const fs::path& p : doomed)
    if (fileops::removeTree(p) == 0) ++report.temporariesRemoved;
}

}  // namespace

RecoveryReport recoverAtStart(const fs::path& root) {
  RecoveryReport report;
  const Kept kept = recoverJournals(normalRoot(root), report);
  sweep(normalRoot(root), kept, report);
  return report;
}

RecoveryReport recoverBeforeCommand(const fs::path& root) {
  RecoveryReport report;
  recoverJournals(normalRoot(root), report);
  return report;
}

}  // namespace tervano
