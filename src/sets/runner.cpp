#include "sets/runner.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "data/errors.h"
#include "data/file_ops.h"
#include "data/programfolder.h"
#include "data/textfile.h"
#include "sets/command_script.h"

namespace tervano::sets {

namespace fs = std::filesystem;

// --- the hand-over of questions ---

void RunProgress::cancel() {
  cancelled_ = true;
  const std::lock_guard lock(mutex_);
  if (question_) answer_ = false;
  answered_.notify_all();
}

std::optional<fs::path> RunProgress::question() const {
  const std::lock_guard lock(mutex_);
  return answer_ ? std::nullopt : question_;
}

void RunProgress::answer(bool yes) {
  const std::lock_guard lock(mutex_);
  if (!question_) return;
  answer_ = yes;
  answered_.notify_all();
}

bool RunProgress::ask(const fs::path& folder) {
  std::unique_lock lock(mutex_);
  if (cancelled_) return false;
  question_ = folder;
  answer_.reset();
  answered_.wait(lock, [&] { return answer_.has_value(); });
  const bool yes = *answer_ && !cancelled_;
  question_.reset();
  answer_.reset();
  return yes;
}

namespace {

// Ends a run with a Czech reason.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Command {
  enum class Kind { Echo, Copy, Cd, Rd, Erase };
  Kind kind = Kind::Echo;
  std::vector<std::string> args;
  int line = 0;
};

std::string lowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string at(int line) {
  return "Řádek " + std::to_string(line) + " skriptu: ";
}

// The words of a line: a word in double quotes may hold blanks, and its escapes are read back.
std::vector<std::string> words(std::string_view text, int line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
      ++i;
    if (i == text.size()) break;
    if (text[i] == '"') {
      const std::size_t end = text.find('"', i + 1);
      if (end == std::string_view::npos) throw Failure(at(line) + "chybí uzavírací uvozovky.");
      auto word = unescapeFromScript(text.substr(i + 1, end - i - 1));
      if (!word) throw Failure(at(line) + "za znakem % mají stát dvě šestnáctkové číslice.");
      out.push_back(std::move(*word));
      i = end + 1;
    } else {
      std::size_t end = i;
      while (end < text.size() && text[end] != ' ' && text[end] != '\t')
        ++end;
      out.emplace_back(text.substr(i, end - i));
      i = end;
    }
  }
  return out;
}

std::optional<Command> parse(const std::string& text, int line) {
  std::vector<std::string> w = words(text, line);
  if (w.empty()) return std::nullopt;
  const std::string name = lowerAscii(w.front());
  Command c;
  c.line = line;
  if (name == "echo") return c;  // the rest of the line is only shown by other shells
  std::size_t wanted = 1;
  if (name == "copy") {
    c.kind = Command::Kind::Copy;
    wanted = 2;
  } else if (name == "cd") {
    c.kind = Command::Kind::Cd;
  } else if (name == "rd") {
    c.kind = Command::Kind::Rd;
  } else if (name == "erase") {
    c.kind = Command::Kind::Erase;
  } else {
    throw Failure(at(line) + "neznámý příkaz „" + w.front() + "“.");
  }
  c.args.assign(w.begin() + 1, w.end());
  if (c.args.size() != wanted)
    throw Failure(at(line) + "příkaz „" + w.front() + "“ má mít " +
                  (wanted == 1 ? "jeden parametr." : "dva parametry."));
  return c;
}

// A path without "." and "..", and without a trailing separator.
fs::path clean(const fs::path& p) {
  fs::path n = p.lexically_normal();
  if (!n.has_filename() && n != n.root_path()) n = n.parent_path();
  return n;
}

bool isWildcard(const fs::path& p) {
  const std::string name = p.filename().string();
  return name == "*.*" || name == "*";
}

fs::file_type typeOf(const fs::path& p) {
  std::error_code ec;
  return fs::symlink_status(p, ec).type();
}

// True when p is base or lies below it, by the words of the paths.
bool within(const fs::path& p, const fs::path& base) {
  auto pi = p.begin();
  for (auto bi = base.begin(); bi != base.end(); ++bi, ++pi)
    if (pi == p.end() || *pi != *bi) return false;
  return true;
}

// The first entry from base down to p (base included) that is no real folder: a link, a file or
// nothing. Empty when base and every folder down to p are real folders, so that nothing reached
// through p lies outside base.
fs::path firstNotFolder(const fs::path& base, const fs::path& p) {
  fs::path here = base;
  if (typeOf(here) != fs::file_type::directory) return here;
  for (const fs::path& part : p.lexically_relative(base)) {
    if (part == ".") continue;
    here /= part;
    if (typeOf(here) != fs::file_type::directory) return here;
  }
  return {};
}

bool realFoldersDown(const fs::path& base, const fs::path& p) {
  return within(p, base) && firstNotFolder(base, p).empty();
}

// The entries of a folder that are not folders, in name order; `regular` tells which are files.
struct Entry {
  fs::path path;
  bool regular;
};
std::vector<Entry> nonFolders(const fs::path& folder) {
  std::vector<Entry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const auto type = it->symlink_status(ec).type();
    if (type != fs::file_type::directory)
      entries.push_back({it->path(), type == fs::file_type::regular});
  }
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.path < b.path; });
  return entries;
}

// Copies a file through a temporary file beside the target and a rename, so the target is either
// the old or the new file, never half of one. A symbolic link in the target's place is replaced,
// not written through, and a link at the source is not followed.
void copyAtomically(const fs::path& from, const fs::path& to) {
  if (const int err = fileops::copyFile(from, to))
    throw Failure("Soubor „" + from.string() + "“ nelze zkopírovat do „" + to.string() +
                  "“: " + systemErrorText(err) + ".");
}

}  // namespace

class Runner {
 public:
  Runner(const RunLimits& limits, RunProgress& progress)
      : program_(clean(limits.programFolder)),
        set_(clean(limits.setFolder)),
        source_(limits.sourceFolder.empty() ? fs::path() : clean(limits.sourceFolder)),
        confirm_(limits.confirmEraseAll),
        progress_(progress) {}

  void run(const std::vector<Command>& commands) {
    int total = 0;
    for (const Command& c : commands)
      if (c.kind == Command::Kind::Copy)
        total += static_cast<int>(sources(c.args[0], false).size());
    progress_.total_ = total;
    for (const Command& c : commands) {
      line_ = c.line;
      switch (c.kind) {
        case Command::Kind::Echo:
          break;
        case Command::Kind::Copy:
          copy(c.args[0], c.args[1]);
          break;
        case Command::Kind::Cd:
          cd(c.args[0]);
          break;
        case Command::Kind::Rd:
          rd(c.args[0]);
          break;
        case Command::Kind::Erase:
          erase(c.args[0]);
          break;
      }
    }
  }

 private:
  // An absolute argument, or one relative to the current folder; nothing without a current
  // folder. Letter case is not significant.
  std::optional<fs::path> place(const std::string& arg) const {
    fs::path p(arg);
    if (p.is_relative()) {
      if (!cwd_) return std::nullopt;
      p = *cwd_ / p;
    }
    const bool wildcard = isWildcard(p);
    fs::path folder = clean(wildcard ? p.parent_path() : p);
    folder = resolveCaseInsensitive(folder);
    return wildcard ? folder / p.filename() : folder;
  }

  std::string shown(const fs::path& p) const {
    return source_.empty() ? p.string() : p.lexically_relative(source_).generic_string();
  }

  // The files a copy's source names. What it passes over (entries that are no files, a link in
  // place of a folder) is reported when `report` is set; a source that cannot be read fails.
  std::vector<fs::path> sources(const std::string& source, bool report) {
    const auto from = place(source);
    if (!from) {
      if (!report) return {};
      throw Failure(at(line_) + "kopírování bez platné aktuální složky.");
    }
    const fs::path folder = from->parent_path();
    auto fail = [&](const std::string& why) -> std::vector<fs::path> {
      if (report) throw Failure(at(line_) + why);
      return {};
    };
    if (!source_.empty()) {
      if (!within(folder, source_))
        return fail("„" + folder.string() + "“ leží mimo složku „" + source_.string() + "“.");
      if (const fs::path stop = firstNotFolder(source_, folder); !stop.empty()) {
        if (typeOf(stop) != fs::file_type::symlink || stop == source_)
          return fail("složka „" + folder.string() + "“ neexistuje.");
        // Behind a link lies something else than the medium: passed over.
        if (report) skip(stop);
        return {};
      }
    } else if (typeOf(folder) != fs::file_type::directory) {
      return fail("složka „" + folder.string() + "“ neexistuje.");
    }
    std::vector<fs::path> files;
    if (isWildcard(*from)) {
      for (const Entry& e : nonFolders(folder))
        if (e.regular)
          files.push_back(e.path);
        else if (report)
          skip(e.path);
    } else if (typeOf(*from) == fs::file_type::regular) {
      files.push_back(*from);
    } else if (typeOf(*from) == fs::file_type::not_found ||
               typeOf(*from) == fs::file_type::directory) {
      return fail("soubor „" + from->string() + "“ neexistuje.");
    } else if (report) {
      skip(*from);
    }
    return files;
  }

  void skip(const fs::path& entry) {
    const std::string name = shown(entry);
    if (std::find(progress_.skipped_.begin(), progress_.skipped_.end(), name) ==
        progress_.skipped_.end())
      progress_.skipped_.push_back(name);
  }

  void copy(const std::string& source, const std::string& target) {
    const auto to = place(target);
    if (!to) throw Failure(at(line_) + "kopírování bez platné aktuální složky.");
    const std::vector<fs::path> files = sources(source, true);
    const bool intoFolder = typeOf(*to) == fs::file_type::directory;
    const bool wildcard = isWildcard(fs::path(source).filename());
    if (!intoFolder && (files.size() > 1 || wildcard) && typeOf(*to) != fs::file_type::symlink)
      throw Failure(at(line_) + "cílová složka „" + to->string() + "“ neexistuje.");
    const fs::path folder = intoFolder ? *to : to->parent_path();
    // Written only into real folders of the program folder: never through a link out of it.
    if (!realFoldersDown(program_, folder))
      throw Failure(at(line_) + "„" + to->string() + "“ leží mimo složku programu.");
    for (const fs::path& file : files) {
      if (progress_.cancelled_) throw Failure("Práce byla přerušena.");
      const fs::path dest = intoFolder ? resolveCaseInsensitive(folder / file.filename()) : *to;
      std::error_code ec;
      if (!fs::equivalent(file, dest, ec)) copyAtomically(file, dest);
      ++progress_.done_;
    }
  }

  void cd(const std::string& arg) {
    if (arg == "..") {
      if (cwd_ && typeOf(cwd_->parent_path()) == fs::file_type::directory)
        cwd_ = cwd_->parent_path();
      else
        cwd_.reset();
      return;
    }
    const auto p = place(arg);
    std::error_code ec;
    if (p && fs::is_directory(*p, ec))
      cwd_ = *p;
    else
      cwd_.reset();
  }

  void rd(const std::string& arg) {
    const auto p = place(arg);
    if (!p || !realFoldersDown(set_, *p)) return;
    // A console keeps its current folder: it cannot be removed while it is current.
    if (cwd_ && within(*cwd_, *p)) return;
    fileops::removeEmptyFolder(*p);  // a folder that still holds something stays
  }

  void erase(const std::string& arg) {
    const auto p = place(arg);
    if (!p) return;
    const fs::path folder = p->parent_path();
    if (!realFoldersDown(set_, folder)) return;
    if (!isWildcard(*p)) {
      if (typeOf(*p) != fs::file_type::directory) fileops::removeFile(*p);
      return;
    }
    if (confirm_ && !confirm_(folder)) {
      if (progress_.cancelled_) throw Failure("Práce byla přerušena.");
      progress_.declined_.push_back(folder);
      return;
    }
    for (const Entry& e : nonFolders(folder))
      fileops::removeFile(e.path);  // a link goes as a link
  }

  fs::path program_;
  fs::path set_;
  fs::path source_;
  std::function<bool(const fs::path&)> confirm_;
  RunProgress& progress_;
  std::optional<fs::path> cwd_;
  int line_ = 0;
};

void runCommandScript(const fs::path& script, const RunLimits& limits, RunProgress& progress) {
  try {
    const TextList lines = loadTextList(script, limits::kDataFile);
    std::vector<Command> commands;
    for (int i = 0; i < lines.count(); ++i)
      if (auto c = parse(lines.get(i), i + 1)) commands.push_back(std::move(*c));
    Runner(limits, progress).run(commands);
  } catch (const Failure& e) {
    progress.error_ = e.what();
  } catch (const UserError& e) {
    progress.error_ = e.what();
  } catch (const std::exception& e) {
    progress.error_ = std::string("Chyba při práci se soubory: ") + e.what();
  }
  progress.finished_.store(true, std::memory_order_release);
}

}  // namespace tervano::sets
