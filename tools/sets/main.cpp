// Writes the crossword sets and the program folder's own text lists of the delivered data tree
// from the readable sources in content/.
//   tervano-sets <content folder> <data tree folder>
#include <filesystem>
#include <iostream>

#include "data/errors.h"
#include "sets/contentsource.h"

namespace fs = std::filesystem;
using namespace tervano;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "použití: tervano-sets <složka content> <složka datatree>\n";
    return 2;
  }
  const fs::path content = argv[1];
  const fs::path tree = argv[2];
  try {
    for (const auto& dir : content::sourceSetFolders(content)) {
      const content::SourceSet set = content::loadSourceSet(dir);
      const content::FileMap files = content::renderSet(set);
      content::writeSet(files, tree / set.folder);
      std::size_t crosswords = 0;
      for (const auto& g : set.grades)
        crosswords += g.size();
      std::cout << set.folder << ": " << crosswords << " křížovek (" << set.language << ")\n";
    }
    if (fs::is_directory(content / "koren")) {
      const content::FileMap root = content::renderTextTree(content / "koren");
      content::writeFiles(root, tree);
      std::cout << "kořen: " << root.size() << " souborů\n";
    }
  } catch (const content::SourceError& e) {
    std::cerr << e.what() << "\n";
    return 1;
  } catch (const FileError& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
