#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tervano {

// Joins the pieces in order. Written as appends on purpose: with optimisation on, g++ 12 reports
// a false -Wrestrict inside `"literal" + std::string&&`, which fails a Release build.
inline std::string concat(std::initializer_list<std::string_view> pieces) {
  std::size_t size = 0;
  for (std::string_view p : pieces)
    size += p.size();
  std::string out;
  out.reserve(size);
  for (std::string_view p : pieces)
    out.append(p);
  return out;
}

}  // namespace tervano
