#include "sets/command_script.h"

#include "data/concat.h"
#include "data/programfolder.h"
#include "data/textfile.h"
#include "sets/errors.h"
#include "sets/names.h"

namespace tervano::sets {

namespace fs = std::filesystem;

std::string quotedPath(const fs::path& path, bool trailingSlash) {
  std::string text = path.generic_string();
  if (text.find('"') != std::string::npos)
    throw SetError("Cestu „" + text + "“ nelze použít: obsahuje uvozovky.");
  while (text.size() > 1 && text.back() == '/')
    text.pop_back();
  if (trailingSlash && text != "/") text.push_back('/');
  return "\"" + text + "\"";
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
    return "copy " + files(from / sub) + " " + quotedPath(to / sub, false);
  };
  TextList script;
  script.append(std::string(firstLine));
  script.append("copy " + files(from) + " " + quotedPath(to, true));
  for (const char* sub : {"script", "hdb", "def", "sur"})
    script.append(line(sub));
  for (int g = 1; g <= 4; ++g)
    for (int n = 1; n <= counts[static_cast<std::size_t>(g - 1)]; ++n)
      script.append(line(concat({"r", std::to_string(g), "/k", std::to_string(n)})));
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

std::array<int, 4> crosswordCounts(const fs::path& set) {
  std::array<int, 4> counts{};
  for (int g = 1; g <= 4; ++g)
    counts[std::size_t(g - 1)] =
        loadTextList(resolveCaseInsensitive(set / "sur" / (std::to_string(g) + ".cbx"))).count();
  return counts;
}

void makeSetFolders(const fs::path& set, const std::array<int, 4>& counts) {
  std::error_code ec;
  fs::create_directory(set, ec);
  for (const char* sub : {"r1", "r2", "r3", "r4", "r5", "sur", "def", "hdb", "script"})
    fs::create_directory(set / sub, ec);
  for (int g = 1; g <= 4; ++g)
    for (int n = 1; n <= counts[std::size_t(g - 1)]; ++n)
      fs::create_directory(
          set / concat({"r", std::to_string(g)}) / concat({"k", std::to_string(n)}), ec);
  fs::create_directory(set / "r5" / "k0", ec);
}

}  // namespace tervano::sets
