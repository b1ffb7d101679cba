#include "data/records.h"

#include "data/programfolder.h"

namespace tervano {

TextList defaultSaveRecord() {
  return {kNo, "0", "1", "1", "0", "0", kNo, kNo, "1", kYes, kYes, kNo};
}

void saveDescriptor(const ProgramFolder& folder, const TextList& descriptor) {
  if (!descriptor.empty()) folder.save(paths::kDescriptor, descriptor);
}

TextList buildArgumentList(int argc, const char* const* argv) {
  TextList list;
  for (int i = 0; i < argc; ++i)
    list.append(argv[i] ? argv[i] : "");
  return list;
}

TextList buildArgumentList(const std::vector<std::string>& args) {
  return TextList(args);
}

}  // namespace tervano
