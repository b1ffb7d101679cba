#include "data/records.h"

namespace tervano {

TextList defaultSaveRecord() {
  return {"N", "0", "1", "1", "0", "0", "N", "N", "1", "A", "A", "N"};
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
