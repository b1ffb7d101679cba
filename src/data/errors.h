#pragma once

#include <stdexcept>
#include <string>

namespace tervano {

// A text that should hold a 32-bit integer but does not. The text mirrors the runtime message
// players of the original game know: "'abc' is not a valid integer value".
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const std::string& offending)
      : std::runtime_error("'" + offending + "' is not a valid integer value"),
        offending_(offending) {}
  const std::string& offending() const { return offending_; }

 private:
  std::string offending_;
};

// A file that cannot be read, written, renamed or encoded. The message is Czech and shown as is.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tervano
