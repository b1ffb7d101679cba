#include "sets/command_script.h"

#include "data/concat.h"
#include "data/cp1250.h"
#include "data/file_ops.h"
#include "data/programfolder.h"
#include "data/textfile.h"
#include "sets/errors.h"
#include "sets/names.h"

namespace tervano::sets {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCrosswordFiles[] = {"k.mk", "k.lk", "k.vk", "k.nk"};

std::string crosswordFolder(int grade, int number) {
  return concat({"r", std::to_string(grade), "/k", std::to_string(number)});
}

bool plainInScript(char32_t cp) {
  if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0)) return false;
  return cp != '"' && cp != '%' && cp1250::representable(cp);
}

}  // namespace

std::string escapeForScript(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    // A malformed sequence reads as U+FFFD, which code page 1250 cannot hold: escaped byte by byte.
    const char32_t cp = cp1250::nextCodePoint(bytes, pos);
    const std::string_view span = bytes.substr(start, pos - start);
    if (plainInScript(cp)) {
      out += span;
      continue;
    }
    for (const char ch : span) {
      const auto byte = static_cast<unsigned char>(ch);
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return out;
}

std::optional<std::string> unescapeFromScript(std::string_view text) {
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const int hi = i + 1 < text.size() ? hex(text[i + 1]) : -1;
    const int lo = i + 2 < text.size() ? hex(text[i + 2]) : -1;
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return out;
}

std::string quotedPath(const fs::path& path, bool trailingSlash) {
  std::string text = path.generic_string();
  while (text.size() > 1 && text.back() == '/')
    text.pop_back();
  if (trailingSlash && text != "/") text.push_back('/');
  if (text.size() > kLongestPath)
    throw SetError(concat({"Cestu „", text.substr(0, 200), "…“ nelze použít: je delší než ",
                           std::to_string(kLongestPath), " bajtů. Nic se nezměnilo."}));
  return concat({"\"", escapeForScript(text), "\""});
}

TextList copyScript(std::string_view firstLine, const fs::path& from, const fs::path& to,
                    const std::array<int, 4>& counts) {
  // "copy "<from>/sub/*.*" "<to>/sub"": every file of one folder of the set.
  auto files = [](const fs::path& folder) {
    std::string q = quotedPath(folder, true);
    q.insert(q.size() - 1, "*.*");
    return q;
  };
  auto line = [&](const std::string& sub) {
    return concat({"copy ", files(from / sub), " ", quotedPath(to / sub, false)});
  };
  TextList script;
  script.append(std::string(firstLine));
  script.append(concat({"copy ", files(from), " ", quotedPath(to, true)}));
  for (const char* sub : {"script", "hdb", "def", "sur"})
    script.append(line(sub));
  for (int g = 1; g <= 4; ++g)
    for (int n = 1; n <= counts[static_cast<std::size_t>(g - 1)]; ++n)
      script.append(line(crosswordFolder(g, n)));
  script.append(line("r5/k0"));
  return script;
}

TextList deletionScript(const fs::path& set, const fs::path& program) {
  auto in = [&](const char* sub, bool slash) { return quotedPath(set / sub, slash); };
  TextList s;
  s.append("cd " + in("hdb", true));
  s.append("erase *.*");
  s.append("cd " + in("script", true));
  s.append("erase *.*");
  s.append("cd " + in("sur", true));
  s.append("erase *.*");
  s.append("cd " + in("def", true));
  s.append("erase *.*");
  s.append("rd " + in("def", false));
  s.append("erase *.*");
  s.append("cd ..");
  s.append("erase *.*");
  for (const char* sub : {"hdb", "def", "sur", "script"})
    s.append("rd " + in(sub, false));
  s.append("cd ..");
  s.append("cd ..");
  s.append("rd " + quotedPath(set, true));
  s.append("cd ..");
  s.append("erase " + quotedPath(program / kDeleteScript, false));
  return s;
}

void checkScriptSize(const TextList& script) {
  std::uintmax_t bytes = 0;
  for (const std::string& line : script.lines())
    bytes += line.size() + 2;
  if (bytes > limits::kDataFile)
    throw SetError(
        "Příkazový skript by byl delší, než program dokáže přečíst: cesta ke složce programu je "
        "příliš dlouhá. Nic se nezměnilo.");
}

std::array<int, 4> crosswordCounts(const fs::path& set) {
  std::array<int, 4> counts{};
  for (int g = 1; g <= 4; ++g) {
    const fs::path list = resolveCaseInsensitive(set / "sur" / (std::to_string(g) + ".cbx"));
    const int count = loadTextList(list, limits::kDataFile).count();
    if (count > kMostCrosswords)
      throw SetError(
          concat({"Seznam křížovek „", list.string(), "“ jich pro ročník ", std::to_string(g),
                  " uvádí ", std::to_string(count), "; ročník jich může mít nejvýš ",
                  std::to_string(kMostCrosswords), ". Nic se nezměnilo."}));
    counts[std::size_t(g - 1)] = count;
  }
  return counts;
}

void makeSetFolders(const fs::path& set, const std::array<int, 4>& counts) {
  auto make = [](const fs::path& folder) {
    const int err = fileops::makeFolder(folder);
    std::error_code ec;
    if (err != 0 && !(err == EEXIST && fs::is_directory(fs::symlink_status(folder, ec))))
      throw FileError(fileErrorText("Složku nelze vytvořit", folder, err));
  };
  for (const char* sub : {"r1", "r2", "r3", "r4", "r5", "sur", "def", "hdb", "script"})
    make(set / sub);
  for (int g = 1; g <= 4; ++g)
    for (int n = 1; n <= counts[std::size_t(g - 1)]; ++n)
      make(set / crosswordFolder(g, n));
  make(set / "r5" / "k0");
}

std::vector<std::string> missingSetFiles(const fs::path& set, const std::array<int, 4>& counts) {
  std::vector<std::string> missing;
  auto need = [&](const std::string& relative) {
    std::error_code ec;
    if (fs::symlink_status(resolveCaseInsensitive(set / relative), ec).type() !=
        fs::file_type::regular)
      missing.push_back(relative);
  };
  need("Tervano.ini");
  for (int g = 1; g <= 4; ++g)
    need(concat({"sur/", std::to_string(g), ".cbx"}));
  auto crossword = [&](const std::string& folder) {
    for (const char* file : kCrosswordFiles)
      need(concat({folder, "/", file}));
  };
  for (int g = 1; g <= 4; ++g)
    for (int n = 1; n <= counts[std::size_t(g - 1)]; ++n)
      crossword(crosswordFolder(g, n));
  crossword("r5/k0");
  return missing;
}

}  // namespace tervano::sets
