#include "data/journal.h"

#include <sys/file.h>
#include <unistd.h>

#include <charconv>
#include <set>

#include "data/concat.h"

namespace tervano::journal {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "tervano-journal 1";
constexpr std::string_view kEnd = "end\n";
constexpr std::string_view kCommit = "commit\n";

const char* kindWord(Step::Kind kind) {
  switch (kind) {
    case Step::Kind::Replace:
      return "replace";
    case Step::Kind::Move:
      return "move";
    case Step::Kind::Exchange:
      return "exchange";
  }
  return "";
}

std::vector<std::string_view> wordsOf(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    const std::size_t end = std::min(line.find(' ', i), line.size());
    if (end > i) words.push_back(line.substr(i, end - i));
    i = end + 1;
  }
  return words;
}

std::optional<ino_t> idOf(std::string_view word) {
  unsigned long long value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return static_cast<ino_t>(value);
}

}  // namespace

std::string encodeName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(name.size());
  for (const char ch : name) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte <= 0x20 || byte == 0x7F || byte == '%') {
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0xF]);
    } else {
      out.push_back(ch);
    }
  }
  return out;
}

std::optional<std::string> decodeName(std::string_view word) {
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '%') {
      out.push_back(word[i]);
      continue;
    }
    const int hi = i + 1 < word.size() ? hex(word[i + 1]) : -1;
    const int lo = i + 2 < word.size() ? hex(word[i + 2]) : -1;
    if (hi < 0 || lo < 0) return std::nullopt;
    out.push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  return out;
}

std::string encode(const Record& r) {
  auto id = [](ino_t v) { return std::to_string(static_cast<unsigned long long>(v)); };
  std::string out = concat({kHeader, "\nlabel ", encodeName(r.label), "\n"});
  for (const Step& s : r.steps) {
    out += concat({kindWord(s.kind), " ", encodeName(s.target), " ", encodeName(s.source)});
    if (s.kind == Step::Kind::Replace) out += concat({" ", encodeName(s.aside)});
    out += concat({" ", id(s.targetId), " ", id(s.sourceId)});
    if (s.kind == Step::Kind::Move) out += s.stagedSource ? " staged" : " kept";
    out += "\n";
  }
  for (const std::string& p : r.removals)
    out += concat({"remove ", encodeName(p), "\n"});
  out += kEnd;
  if (r.committed) out += kCommit;
  return out;
}

std::optional<Record> decode(std::string_view text) {
  // After "end" only the commit mark may follow; a mark cut short by a crash was never made.
  const std::size_t end = text.rfind(concat({"\n", kEnd}));
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view mark = text.substr(end + 1 + kEnd.size());
  if (!kCommit.starts_with(mark)) return std::nullopt;
  std::vector<std::string_view> lines;
  const std::string_view body = text.substr(0, end + 1);
  for (std::size_t i = 0; i < body.size();) {
    const std::size_t eol = body.find('\n', i);
    lines.push_back(body.substr(i, eol - i));
    i = eol + 1;
  }
  if (lines.size() < 2 || lines.front() != kHeader) return std::nullopt;
  Record r;
  r.committed = mark == kCommit;
  const auto label = wordsOf(lines[1]);
  if (label.size() != 2 || label[0] != "label") return std::nullopt;
  auto name = decodeName(label[1]);
  if (!name) return std::nullopt;
  r.label = *name;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    const auto w = wordsOf(lines[i]);
    if (w.empty()) return std::nullopt;
    if (w[0] == "remove") {
      if (w.size() != 2) return std::nullopt;
      auto p = decodeName(w[1]);
      if (!p) return std::nullopt;
      r.removals.push_back(*p);
      continue;
    }
    Step s;
    std::size_t wanted = 0;
    if (w[0] == "replace") {
      s.kind = Step::Kind::Replace;
      s.stagedSource = true;
      wanted = 6;
    } else if (w[0] == "move") {
      s.kind = Step::Kind::Move;
      wanted = 6;
    } else if (w[0] == "exchange") {
      s.kind = Step::Kind::Exchange;
      wanted = 5;
    } else {
      return std::nullopt;
    }
    if (w.size() != wanted) return std::nullopt;
    auto target = decodeName(w[1]);
    auto source = decodeName(w[2]);
    std::size_t at = 3;
    if (s.kind == Step::Kind::Replace) {
      auto aside = decodeName(w[at++]);
      if (!aside) return std::nullopt;
      s.aside = *aside;
    }
    auto targetId = idOf(w[at]);
    auto sourceId = idOf(w[at + 1]);
    if (!target || !source || !targetId || !sourceId) return std::nullopt;
    if (s.kind == Step::Kind::Move) {
      if (w[5] != "staged" && w[5] != "kept") return std::nullopt;
      s.stagedSource = w[5] == "staged";
    }
    s.target = *target;
    s.source = *source;
    s.targetId = *targetId;
    s.sourceId = *sourceId;
    r.steps.push_back(std::move(s));
  }
  return r;
}

std::optional<fs::path> place(const fs::path& root, std::string_view relative) {
  const fs::path p(relative);
  if (relative.empty() || p.is_absolute()) return std::nullopt;
  for (const fs::path& part : p)
    if (part == ".." || part == ".") return std::nullopt;
  return root / p;
}

namespace {

using fileops::entryId;

struct Places {
  fs::path target, source, aside;
};

std::optional<Places> placesOf(const fs::path& root, const Step& s) {
  auto t = place(root, s.target);
  auto src = place(root, s.source);
  if (!t || !src) return std::nullopt;
  Places p{*t, *src, {}};
  if (s.kind == Step::Kind::Replace) {
    auto a = place(root, s.aside);
    if (!a) return std::nullopt;
    p.aside = *a;
  }
  return p;
}

// Where the file system cannot exchange two files: the old file keeps a second name first (or,
// where even that is impossible, moves to it), then the new file takes the target's name.
int replaceWithoutExchange(const Places& p) {
  const int linked = fileops::hardLink(p.target, p.aside);
  if (linked != 0) {
    if (const int moved = fileops::renameOver(p.target, p.aside)) return moved;
  }
  return fileops::renameOver(p.source, p.target);
}

}  // namespace

int apply(const fs::path& root, const Step& s) {
  const auto p = placesOf(root, s);
  if (!p) return EINVAL;
  if (entryId(p->target) != s.targetId || entryId(p->source) != s.sourceId) return ESTALE;
  switch (s.kind) {
    case Step::Kind::Replace: {
      if (s.targetId == 0) return fileops::rename(p->source, p->target);
      const int err = fileops::exchange(p->target, p->source);
      return fileops::lacksExchange(err) ? replaceWithoutExchange(*p) : err;
    }
    case Step::Kind::Move:
      return fileops::rename(p->source, p->target);
    case Step::Kind::Exchange:
      return fileops::exchange(p->target, p->source);
  }
  return EINVAL;
}

int undo(const fs::path& root, const Step& s) {
  const auto p = placesOf(root, s);
  if (!p) return EINVAL;
  const ino_t now = entryId(p->target);
  switch (s.kind) {
    case Step::Kind::Replace: {
      if (now == s.targetId) return 0;
      // Something neither old nor new: not this step's to touch.
      if (now != s.sourceId && now != 0) return 0;
      if (s.targetId == 0) return fileops::renameOver(p->target, p->source);
      for (const fs::path& old : {p->source, p->aside})
        if (entryId(old) == s.targetId) return fileops::renameOver(old, p->target);
      return now == 0 ? ENOENT : 0;
    }
    case Step::Kind::Move:
      return now == s.sourceId ? fileops::rename(p->target, p->source) : 0;
    case Step::Kind::Exchange:
      if (now == s.sourceId && entryId(p->source) == s.targetId)
        return fileops::exchange(p->target, p->source);
      return 0;
  }
  return EINVAL;
}

int redo(const fs::path& root, const Step& s) {
  const auto p = placesOf(root, s);
  if (!p) return EINVAL;
  const ino_t now = entryId(p->target);
  if (now == s.sourceId) return 0;
  if (entryId(p->source) != s.sourceId) return 0;  // gone on: a later step or cleanup took it
  switch (s.kind) {
    case Step::Kind::Replace:
      return fileops::renameOver(p->source, p->target);
    case Step::Kind::Move:
      return fileops::rename(p->source, p->target);
    case Step::Kind::Exchange:
      return now == s.targetId ? fileops::exchange(p->target, p->source) : 0;
  }
  return EINVAL;
}

int cleanUp(const fs::path& root, const Record& r) {
  int first = 0;
  auto remove = [&](std::string_view relative) {
    const auto p = place(root, relative);
    if (!p || entryId(*p) == 0) return;
    const int err = fileops::removeTree(*p);
    if (first == 0) first = err;
  };
  for (const Step& s : r.steps) {
    if (s.kind == Step::Kind::Replace) {
      // The staged name holds a file (or the link it replaced), never a folder.
      if (const auto p = place(root, s.source)) {
        const int err = fileops::removeFile(*p);
        if (first == 0) first = err;
      }
      remove(s.aside);
    } else if (s.stagedSource) {
      remove(s.source);
    }
  }
  if (r.committed)
    for (const std::string& p : r.removals)
      remove(p);
  return first;
}

std::vector<fs::path> foldersOf(const fs::path& root, const Record& r) {
  std::set<fs::path> folders;
  for (const Step& s : r.steps)
    for (const std::string* name : {&s.target, &s.source})
      if (auto p = place(root, *name)) folders.insert(p->parent_path());
  return {folders.begin(), folders.end()};
}

int writeLocked(const fs::path& path, const Record& record, fileops::Fd& lock) {
  const fs::path folder = path.parent_path();
  const fs::path temp = folder / fileops::temporaryName();
  fileops::Fd fd;
  if (const int err = fileops::createFile(temp, 0644, fd)) return err;
  ::flock(fd.get(), LOCK_EX);
  const std::string text = encode(record);
  int err = fileops::writeAll(fd.get(), text.data(), text.size()) ? 0 : errno;
  if (err == 0) err = fileops::flushFile(fd.get());
  if (err == 0) err = fileops::renameOver(temp, path);
  if (err != 0) {
    fd = fileops::Fd();
    fileops::removeFile(temp);
    return err;
  }
  fileops::syncFolder(folder);
  lock = std::move(fd);
  return 0;
}

int markCommitted(const fileops::Fd& journal) {
  return fileops::append(journal.get(), kCommit);
}

}  // namespace tervano::journal
