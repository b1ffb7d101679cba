#pragma once

#include <stdexcept>
#include <string>

namespace tervano {

// A text that should hold a 32-bit integer but does not. The text mirrors the runtime message
// players of the original game know: "'abc' is not a valid integer value".
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const std::string& offending)
      : std::runtime_error("'" + visible(offending) + "' is not a valid integer value"),
        offending_(offending) {}
  const std::string& offending() const { return offending_; }

 private:
  // The message is read as a C string: a NUL byte from a damaged file would cut it to "'".
  // It is shown as the symbol for NUL instead.
  static std::string visible(const std::string& text) {
    std::string out;
    for (char c : text)
      out += c == '\0' ? std::string("\u2400") : std::string(1, c);
    return out;
  }

  std::string offending_;
};

// A file that cannot be read, written, renamed or encoded. The message is Czech and shown as is.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tervano
