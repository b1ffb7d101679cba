#include "data/textlist.h"

namespace tervano {

namespace {
const std::string kEmpty;
}

TextList TextList::fromText(std::string_view text) {
  TextList list;
  const std::size_t n = text.size();
  std::size_t start = 0;
  while (start < n) {
    std::size_t end = start;
    while (end < n && text[end] != '\r' && text[end] != '\n')
      ++end;
    if (end == n) {
      list.lines_.emplace_back(text.substr(start));
      break;
    }
    list.lines_.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < n && text[start] == '\n') ++start;
  }
  return list;
}

const std::string& TextList::get(int index) const {
  if (index < 0 || index >= count()) return kEmpty;
  return lines_[static_cast<std::size_t>(index)];
}

void TextList::set(int index, std::string value) {
  if (index < 0 || index >= count()) return;
  lines_[static_cast<std::size_t>(index)] = std::move(value);
}

void TextList::removeAt(int index) {
  if (index < 0 || index >= count()) return;
  lines_.erase(lines_.begin() + index);
}

std::string TextList::joined(std::string_view lineEnd) const {
  std::size_t size = 0;
  for (const auto& l : lines_)
    size += l.size() + lineEnd.size();
  std::string out;
  out.reserve(size);
  for (const auto& l : lines_) {
    out += l;
    out += lineEnd;
  }
  return out;
}

}  // namespace tervano
