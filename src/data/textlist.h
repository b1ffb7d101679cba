#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tervano {

// The form of every data file and record: an ordered list of lines counted from 0. Reading beyond
// the end gives "", writing beyond the end does nothing; the list never grows by accident.
class TextList {
 public:
  TextList() = default;
  TextList(std::initializer_list<std::string> lines) : lines_(lines) {}
  explicit TextList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  // Splits text at CR, LF or CR LF. A last line without an ending counts; a final line ending
  // does not start another line, so "a\r\nb\r\n" holds two lines.
  static TextList fromText(std::string_view text);

  int count() const { return static_cast<int>(lines_.size()); }
  bool empty() const { return lines_.empty(); }
  const std::string& get(int index) const;
  void set(int index, std::string value);
  void append(std::string line) { lines_.push_back(std::move(line)); }
  void clear() { lines_.clear(); }
  void removeAt(int index);

  // Lines joined by the given separator, each followed by it (as a file holds them).
  std::string joined(std::string_view lineEnd = "\r\n") const;

  const std::vector<std::string>& lines() const { return lines_; }
  std::vector<std::string>& lines() { return lines_; }

  bool operator==(const TextList&) const = default;

 private:
  std::vector<std::string> lines_;
};

}  // namespace tervano
