#pragma once
// What a run of the command line writes to and reads from: its two output
// streams, whether the error stream is a terminal (progress goes there
// only then), the clock of the file header, and the environment.
#include <ctime>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace cli {

struct Terminal {
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal = false;
  std::function<std::time_t()> clock = [] { return std::time(nullptr); };
  /// A variable of the environment, nothing when it is not set.
  std::function<std::optional<std::string>(const char*)> env;
};

}  // namespace cli
