#pragma once
// The command line's words as a request: the subcommand, its operands and
// options. The password is never one of them.
#include <string>
#include <variant>
#include <vector>

#include "cli/target.h"

namespace cli {

enum class Command { Help, Read, Diff, Apply, Status };

struct Arguments {
  Command command = Command::Help;
  Target target;
  std::string file;    ///< diff, apply: the configuration file
  std::string output;  ///< read: where the file goes; empty: standard output
  std::string login;
  std::string passwordFile;
  bool restart = false;
  bool otherModel = false;
  bool json = false;
  bool showSecrets = false;
};

struct UsageError {
  std::string text;
};

/// True when `word` (the program's first argument) asks for the command
/// line rather than the window: a subcommand or a request for help. The
/// window's own options (Qt's "-platform vnc") begin with "-".
bool IsCommandLine(const std::string& word);

/// Parses the words after the program's name.
std::variant<Arguments, UsageError> ParseArguments(const std::vector<std::string>& words);

}  // namespace cli
