#include "sets/runner.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <vector>

#include "data/cp1250.h"
#include "data/errors.h"
#include "data/file_ops.h"
#include "data/programfolder.h"
#include "data/textfile.h"

namespace tervano::sets {

namespace fs = std::filesystem;

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

// The words of a line: a word in double quotes may hold blanks.
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
      out.emplace_back(text.substr(i + 1, end - i - 1));
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

// The real entries of a folder that are files (no folders, no symbolic links), in name order.
std::vector<fs::path> filesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->symlink_status(ec).type() == fs::file_type::regular) files.push_back(it->path());
  std::sort(files.begin(), files.end());
  return files;
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
      : program_(canonical(limits.programFolder)),
        set_(canonical(limits.setFolder)),
        progress_(progress) {}

  void run(const std::vector<Command>& commands) {
    int total = 0;
    for (const Command& c : commands)
      if (c.kind == Command::Kind::Copy) total += filesToCopy(c.args[0]);
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
  static fs::path canonical(const fs::path& p) {
    std::error_code ec;
    fs::path c = fs::weakly_canonical(p, ec);
    return clean(ec ? p : c);
  }

  // True when p is the folder base or lies below it, symbolic links resolved.
  static bool within(const fs::path& p, const fs::path& base) {
    const fs::path c = canonical(p);
    auto ci = c.begin();
    for (auto bi = base.begin(); bi != base.end(); ++bi, ++ci)
      if (ci == c.end() || *ci != *bi) return false;
    return true;
  }

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

  int filesToCopy(const std::string& source) const {
    const auto p = place(source);
    if (!p) return 0;
    if (!isWildcard(*p)) return 1;
    return static_cast<int>(filesIn(p->parent_path()).size());
  }

  void copy(const std::string& source, const std::string& target) {
    const auto from = place(source);
    const auto to = place(target);
    if (!from || !to) throw Failure(at(line_) + "kopírování bez platné aktuální složky.");
    std::error_code ec;
    std::vector<fs::path> files;
    if (isWildcard(*from)) {
      if (!fs::is_directory(from->parent_path(), ec))
        throw Failure(at(line_) + "složka „" + from->parent_path().string() + "“ neexistuje.");
      files = filesIn(from->parent_path());
    } else {
      if (fs::symlink_status(*from, ec).type() != fs::file_type::regular)
        throw Failure(at(line_) + "soubor „" + from->string() + "“ neexistuje.");
      files.push_back(*from);
    }
    const bool intoFolder = fs::is_directory(*to, ec);
    if (!intoFolder && (files.size() != 1 || isWildcard(*from)))
      throw Failure(at(line_) + "cílová složka „" + to->string() + "“ neexistuje.");
    const fs::path folder = intoFolder ? *to : to->parent_path();
    if (!within(folder, program_))
      throw Failure(at(line_) + "„" + to->string() + "“ leží mimo složku programu.");
    for (const fs::path& file : files) {
      if (progress_.cancelled_) throw Failure("Práce byla přerušena.");
      const fs::path dest = intoFolder ? resolveCaseInsensitive(folder / file.filename()) : *to;
      if (!fs::equivalent(file, dest, ec)) copyAtomically(file, dest);
      ++progress_.done_;
    }
  }

  void cd(const std::string& arg) {
    std::error_code ec;
    if (arg == "..") {
      if (cwd_ && fs::is_directory(cwd_->parent_path(), ec))
        cwd_ = cwd_->parent_path();
      else
        cwd_.reset();
      return;
    }
    const auto p = place(arg);
    if (p && fs::is_directory(*p, ec))
      cwd_ = *p;
    else
      cwd_.reset();
  }

  void rd(const std::string& arg) {
    const auto p = place(arg);
    std::error_code ec;
    if (!p || fs::symlink_status(*p, ec).type() != fs::file_type::directory) return;
    if (!within(*p, set_)) return;
    fs::remove(*p, ec);  // only an empty folder goes
  }

  void erase(const std::string& arg) {
    const auto p = place(arg);
    if (!p) return;
    std::error_code ec;
    const fs::path folder = p->parent_path();
    if (!fs::is_directory(folder, ec) || !within(folder, set_)) return;
    if (isWildcard(*p)) {
      for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->symlink_status(ec).type() != fs::file_type::directory) fs::remove(it->path(), ec);
      return;
    }
    if (fs::symlink_status(*p, ec).type() != fs::file_type::directory) fs::remove(*p, ec);
  }

  fs::path program_;
  fs::path set_;
  RunProgress& progress_;
  std::optional<fs::path> cwd_;
  int line_ = 0;
};

void runCommandScript(const fs::path& script, const RunLimits& limits, RunProgress& progress) {
  try {
    const TextList lines = loadTextList(script);
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
