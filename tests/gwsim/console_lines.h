#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gwsim/text_words.h"

namespace gwsim::test {

/// Splits console output into lines at CR, LF or CR LF (a trailing partial
/// line, such as a "-- more --" prompt, is kept as the last element).
inline std::vector<std::string> splitLines(std::string_view out) {
  std::vector<std::string> lines;
  std::string cur;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const char c = out[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(cur);
      cur.clear();
      if (c == '\r' && i + 1 < out.size() && out[i + 1] == '\n') ++i;
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

/// The lines whose first word is `first`, as word lists.
inline std::vector<std::vector<std::string>> linesStarting(const std::vector<std::string>& lines,
                                                           std::string_view first) {
  std::vector<std::vector<std::string>> out;
  for (const auto& l : lines) {
    auto w = words(l);
    if (!w.empty() && w[0] == first) out.push_back(w);
  }
  return out;
}

}  // namespace gwsim::test
