#pragma once
// Splitting and trimming the text of script, console and configuration lines.
#include <string>
#include <string_view>
#include <vector>

namespace gwsim {

/// The blank-separated words of `s`.
std::vector<std::string> words(std::string_view s);

/// `s` without the leading and trailing characters found in `blanks`.
std::string trim(std::string_view s, std::string_view blanks = " ");

}  // namespace gwsim
