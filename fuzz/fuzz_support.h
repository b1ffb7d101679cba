// Shared by the fuzz targets: how a broken rule ends a run, small reference parsers written
// from the file formats, and a picture of the program folder to prove what was not written.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/cp1250.h"

namespace tervano::fuzz {

// What a target prints beside a broken rule (a transcript, say); set per input.
inline std::function<void()>& context() {
  static std::function<void()> print;
  return print;
}

[[noreturn]] inline void violated(const std::string& rule) {
  std::fprintf(stderr, "rule broken: %s\n", rule.c_str());
  if (context()) context()();
  std::abort();
}

inline void require(bool ok, const std::string& rule) {
  if (!ok) violated(rule);
}

// Every line ending (CR LF, CR or LF) becomes LF and a last line gets one.
inline std::string normalisedLines(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  if (!out.empty() && out.back() != '\n') out.push_back('\n');
  return out;
}

// The lines of a data file as the format defines them: code page 1250, any line ending.
inline std::vector<std::string> fileLines(std::string_view bytes) {
  const std::string text = normalisedLines(cp1250::decode(bytes));
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  return lines;
}

inline std::string line(const std::vector<std::string>& lines, std::size_t i) {
  return i < lines.size() ? lines[i] : std::string();
}

// A game number: optional sign, decimal digits only, 32 bits.
inline std::optional<std::int32_t> referenceInt(std::string_view s) {
  if (!s.empty() && s.front() == '+') {
    s.remove_prefix(1);
    if (s.empty() || s.front() < '0' || s.front() > '9') return std::nullopt;
  }
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, 10);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

// The input cut at the record separator byte into at most `parts` pieces; missing pieces are
// absent, so a target can keep its sound default for them.
inline std::vector<std::string> splitInput(std::string_view input, std::size_t parts) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (out.size() + 1 < parts) {
    const std::size_t cut = input.find('\x1e', start);
    if (cut == std::string_view::npos) break;
    out.emplace_back(input.substr(start, cut - start));
    start = cut + 1;
  }
  out.emplace_back(input.substr(start));
  return out;
}

// Every file below a folder with its bytes.
inline std::map<std::string, std::string> snapshot(const std::filesystem::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
    if (!e.is_regular_file()) continue;
    std::ifstream in(e.path(), std::ios::binary);
    files[std::filesystem::relative(e.path(), root).string()] =
        std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

// The texts a conversion error and a file error can show (the file errors are Czech and name
// the file or the character).
inline bool conversionErrorText(std::string_view text) {
  constexpr std::string_view tail = "' is not a valid integer value";
  return text.size() >= tail.size() + 1 && text.front() == '\'' &&
         text.substr(text.size() - tail.size()) == tail;
}

inline bool fileErrorText(std::string_view text) {
  for (std::string_view start :
       {"Soubor nelze otevřít „", "Soubor nelze přečíst „", "Soubor nelze uložit „", "Soubor „",
        "Znak „", "Cesta „", "Křížovku ročníku „"})
    if (text.substr(0, start.size()) == start) return true;
  return false;
}

inline bool startsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

}  // namespace tervano::fuzz
