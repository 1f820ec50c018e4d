#include "gwsim/text_words.h"

#include <sstream>

namespace gwsim {

std::vector<std::string> words(std::string_view s) {
  std::vector<std::string> out;
  std::istringstream in{std::string(s)};
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

std::string trim(std::string_view s, std::string_view blanks) {
  const auto b = s.find_first_not_of(blanks);
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(blanks) - b + 1));
}

}  // namespace gwsim
