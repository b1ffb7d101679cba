#pragma once

#include <stdexcept>
#include <string>

#include "data/concat.h"

namespace tervano {

// An error a user can cause (a number typed or stored where it does not fit, a file that is
// missing, a crossword that cannot be laid out, a set that cannot be installed). It ends the
// command that raised it with an error box showing what(); the steps already done stay done.
class UserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A text that should hold a 32-bit integer but does not. The text mirrors the runtime message
// players of the original game know: "'abc' is not a valid integer value".
class ConversionError : public UserError {
 public:
  explicit ConversionError(const std::string& offending)
      : UserError(concat({"'", visible(offending), "' is not a valid integer value"})),
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
class FileError : public UserError {
 public:
  using UserError::UserError;
};

}  // namespace tervano
