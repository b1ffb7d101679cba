#include "sets/contentsource.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "data/cp1250.h"
#include "data/errors.h"
#include "data/numbers.h"
#include "data/textfile.h"

namespace tervano::content {

namespace fs = std::filesystem;

namespace {

std::string trim(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r'))
    ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
    --e;
  return std::string(s.substr(b, e - b));
}

std::vector<std::string> readLines(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SourceError(path.string() + ": soubor nelze otevřít.");
  std::stringstream ss;
  ss << in.rdbuf();
  std::vector<std::string> lines;
  std::string line;
  std::istringstream split(ss.str());
  while (std::getline(split, line))
    lines.push_back(line);
  return lines;
}

class Reader {
 public:
  explicit Reader(const fs::path& path) : path_(path), lines_(readLines(path)) {}

  [[noreturn]] void fail(int line, const std::string& text) const {
    throw SourceError(path_.string() + ":" + std::to_string(line) + ": " + text);
  }

  // Calls back with (line number, trimmed text) for every line that is not empty or a comment.
  template <class F>
  void each(F&& f) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      const std::string t = trim(lines_[i]);
      if (t.empty() || t.front() == '#') continue;
      f(static_cast<int>(i + 1), t);
    }
  }

  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
  std::vector<std::string> lines_;
};

// "key: value" with the key in lower case; false when the line is not of that form.
bool keyValue(const std::string& line, std::string& key, std::string& value) {
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos) return false;
  key = cp1250::toLower(trim(line.substr(0, colon)));
  value = trim(line.substr(colon + 1));
  return true;
}

editor::Scoring parseScoring(const Reader& r, int line, const std::string& value, bool savePoint) {
  std::istringstream in(value);
  std::vector<int> v;
  std::string word;
  while (in >> word) {
    const auto n = tryParseInt(word);
    if (!n)
      r.fail(line, "„" + word + "“ není celé číslo (body: dobré slovo, špatné slovo, " +
                       "dobrá tajenka, špatná tajenka).");
    v.push_back(*n);
  }
  if (v.size() != 4)
    r.fail(line, "„body:“ chce čtyři čísla: za dobré slovo, za špatné slovo, za dobrou a za " +
                     std::string("špatnou tajenku."));
  return editor::Scoring{v[0], v[1], v[2], v[3], savePoint};
}

// "si[l]ver" -> "silver" with the index of the marked letter.
void parseAnswer(const Reader& r, int line, const std::string& text, std::string& answer,
                 std::optional<int>& index) {
  answer.clear();
  index.reset();
  if (text == "-") return;
  int letter = 0;
  std::size_t pos = 0;
  bool open = false;
  while (pos < text.size()) {
    const std::size_t start = pos;
    const char32_t cp = cp1250::nextCodePoint(text, pos);
    if (cp == '[') {
      if (open || index) r.fail(line, "Ve slově smí být označeno jen jedno písmeno tajenky.");
      open = true;
      index = letter;
      continue;
    }
    if (cp == ']') {
      if (!open || *index != letter - 1)
        r.fail(line, "Závorky mají obklopit právě jedno písmeno tajenky, např. si[l]ver.");
      open = false;
      continue;
    }
    answer.append(text, start, pos - start);
    ++letter;
  }
  if (open) r.fail(line, "Chybí zavírací závorka „]“.");
}

void finish(const Reader& r, SourceCrossword& c) {
  if (c.input.tajenka.empty()) r.fail(c.line, "Křížovce „" + c.theme + "“ chybí „tajenka:“.");
  if (c.input.answers.empty()) r.fail(c.line, "Křížovka „" + c.theme + "“ nemá žádné slovo.");
  if (std::none_of(c.input.tajenkaIndex.begin(), c.input.tajenkaIndex.end(),
                   [](const auto& i) { return i.has_value(); }))
    c.input.tajenkaIndex.clear();
}

std::vector<SourceCrossword> loadGrade(const fs::path& path) {
  Reader r(path);
  std::vector<SourceCrossword> out;
  editor::Scoring defaults;
  bool haveDefaults = false;
  r.each([&](int line, const std::string& t) {
    std::string key;
    std::string value;
    if (t.front() == '=') {
      if (!out.empty()) finish(r, out.back());
      SourceCrossword c;
      c.theme = trim(t.substr(1));
      if (c.theme.empty()) r.fail(line, "Za „=“ patří téma křížovky.");
      c.file = path.filename().string();
      c.line = line;
      if (!haveDefaults) r.fail(line, "Před první křížovkou chybí výchozí „body:“ souboru.");
      c.input.scoring = defaults;
      out.push_back(std::move(c));
      return;
    }
    const std::size_t bar = t.find('|');
    if (bar == std::string::npos && keyValue(t, key, value)) {
      if (out.empty()) {
        if (key != "body") r.fail(line, "Před první křížovkou smí stát jen „body:“.");
        defaults = parseScoring(r, line, value, false);
        haveDefaults = true;
        return;
      }
      SourceCrossword& c = out.back();
      if (!c.input.answers.empty()) r.fail(line, "Údaje křížovky patří před její slova: " + t);
      if (key == "tajenka") {
        c.input.tajenka = value;
      } else if (key == "body") {
        c.input.scoring = parseScoring(r, line, value, c.input.scoring.savePoint);
      } else if (key == "bod uložení") {
        if (value != "A" && value != "N") r.fail(line, "„bod uložení:“ je „A“ nebo „N“.");
        c.input.scoring.savePoint = value == "A";
      } else {
        r.fail(line, "Neznámý údaj „" + key + "“.");
      }
      return;
    }
    if (out.empty()) r.fail(line, "Slovo před první křížovkou (chybí „= téma“).");
    if (bar == std::string::npos && t != "-")
      r.fail(line, "Řádek slova má tvar „slovo | nápověda“ (mezera v tajence: „-“).");
    SourceCrossword& c = out.back();
    std::string answer;
    std::optional<int> index;
    parseAnswer(r, line, trim(t.substr(0, bar)), answer, index);
    c.input.answers.push_back(answer);
    c.input.clues.push_back(bar == std::string::npos ? "" : trim(t.substr(bar + 1)));
    c.input.tajenkaIndex.push_back(index);
  });
  if (!out.empty()) finish(r, out.back());
  return out;
}

}  // namespace

SourceSet loadSourceSet(const fs::path& dir) {
  SourceSet set;
  Reader r(dir / "sada.txt");
  r.each([&](int line, const std::string& t) {
    std::string key;
    std::string value;
    if (!keyValue(t, key, value)) r.fail(line, "Očekáván řádek „údaj: hodnota“.");
    if (key == "složka")
      set.folder = value;
    else if (key == "název")
      set.title = value;
    else if (key == "číslo")
      set.number = value;
    else if (key == "jazyk")
      set.language = value;
    else if (key == "popis")
      set.description = value;
    else
      r.fail(line, "Neznámý údaj „" + key + "“.");
  });
  if (set.folder.empty() || set.title.empty() || set.language.empty() || set.description.empty())
    r.fail(1, "Chybí některý z údajů složka, název, jazyk, popis.");
  if (!isDigits(set.number)) r.fail(1, "„číslo:“ sady musí být číslo.");
  for (int g = 0; g < 5; ++g) {
    set.grades[static_cast<std::size_t>(g)] =
        loadGrade(dir / ("r" + std::to_string(g + 1) + ".txt"));
  }
  if (set.grades[kEndMarkerIndex].size() != 1)
    throw SourceError((dir / "r5.txt").string() + ": koncová křížovka má být právě jedna.");
  return set;
}

std::vector<fs::path> sourceSetFolders(const fs::path& contentDir) {
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(contentDir))
    if (e.is_directory() && fs::exists(e.path() / "sada.txt")) out.push_back(e.path());
  std::sort(out.begin(), out.end());
  return out;
}

namespace {

std::string listBytes(const TextList& list) {
  return cp1250::encode(list.joined("\r\n"));
}

void put(FileMap& files, const std::string& path, const TextList& list) {
  files[path] = listBytes(list);
}

}  // namespace

FileMap renderSet(const SourceSet& set) {
  FileMap files;
  TextList descriptor{set.title};
  for (int g = 0; g < 4; ++g)
    descriptor.append(std::to_string(set.grades[static_cast<std::size_t>(g)].size()));
  descriptor.append("4");
  descriptor.append(set.number);
  descriptor.append(set.language);
  put(files, "Tervano.ini", descriptor);
  put(files, "sur/r.cbx", TextList{"1", "2", "3", "4"});
  for (int g = 0; g < 5; ++g) {
    const auto& crosswords = set.grades[static_cast<std::size_t>(g)];
    TextList list;
    for (std::size_t n = 0; n < crosswords.size(); ++n) {
      const SourceCrossword& c = crosswords[n];
      const std::string number = g == kEndMarkerIndex ? "0" : std::to_string(n + 1);
      list.append(number);
      editor::CrosswordFiles built;
      try {
        built = editor::buildCrossword(c.input);
      } catch (const editor::LayoutError& e) {
        throw SourceError(c.file + ":" + std::to_string(c.line) + ": křížovka „" + c.theme +
                          "“: " + e.what());
      }
      std::string folder = "r";  // appends: g++ 12 warns falsely on "literal" + string&&
      folder.append(std::to_string(g + 1)).append("/k").append(number).append("/");
      put(files, folder + "k.mk", built.map);
      put(files, folder + "k.lk", built.legend);
      put(files, folder + "k.vk", built.solution);
      put(files, folder + "k.nk", built.konf);
    }
    if (g < 4) put(files, "sur/" + std::to_string(g + 1) + ".cbx", list);
  }
  // The script editor's scratch file; it also keeps the folder in the repository.
  files["script/BEZEJMENA.lsc"] = "";
  put(files, "def/popis.txt", TextList{set.description});
  return files;
}

FileMap renderTextTree(const fs::path& dir) {
  FileMap files;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (!e.is_regular_file()) continue;
    const std::string text = readFileBytes(e.path());
    files[fs::relative(e.path(), dir).generic_string()] = listBytes(TextList::fromText(text));
  }
  return files;
}

void writeFiles(const FileMap& files, const fs::path& target) {
  for (const auto& [relative, bytes] : files) {
    const fs::path p = target / relative;
    fs::create_directories(p.parent_path());
    writeFileAtomic(p, bytes);
  }
}

void writeSet(const FileMap& files, const fs::path& target) {
  for (const char* generated : {"sur", "r1", "r2", "r3", "r4", "r5"})
    fs::remove_all(target / generated);
  writeFiles(files, target);
}

}  // namespace tervano::content
