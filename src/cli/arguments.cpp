#include "cli/arguments.h"

#include <array>
#include <string_view>

namespace cli {

namespace {

struct Subcommand {
  std::string_view name;
  Command command;
  int operands;  ///< FILE and TARGET, or TARGET alone
};
constexpr std::array<Subcommand, 4> kSubcommands = {{
    {"read", Command::Read, 1},
    {"diff", Command::Diff, 2},
    {"apply", Command::Apply, 2},
    {"status", Command::Status, 1},
}};

bool IsHelp(std::string_view w) { return w == "-h" || w == "--help" || w == "help"; }

}  // namespace

bool IsCommandLine(const std::string& word) {
  if (IsHelp(word)) return true;
  // Anything that is not an option is meant as a subcommand, known or not.
  return !word.empty() && word[0] != '-';
}

std::variant<Arguments, UsageError> ParseArguments(const std::vector<std::string>& words) {
  Arguments a;
  if (words.empty() || IsHelp(words[0])) return a;
  const Subcommand* sub = nullptr;
  for (const Subcommand& s : kSubcommands)
    if (s.name == words[0]) sub = &s;
  if (!sub) return UsageError{"unknown subcommand \"" + words[0] + "\""};
  a.command = sub->command;

  std::vector<std::string> operands;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= words.size()) return false;
      into = words[++i];
      return true;
    };
    bool ok = true;
    if (IsHelp(w)) {
      a.command = Command::Help;
      return a;
    } else if (w == "--login") {
      ok = value(a.login);
    } else if (w == "--password-file") {
      ok = value(a.passwordFile);
    } else if ((w == "-o" || w == "--output") && a.command == Command::Read) {
      ok = value(a.output);
    } else if (w == "--restart" && a.command == Command::Apply) {
      a.restart = true;
    } else if (w == "--other-model" && a.command == Command::Apply) {
      a.otherModel = true;
    } else if (w == "--json" && a.command != Command::Apply) {
      a.json = true;
    } else if (w == "--show-secrets") {
      a.showSecrets = true;
    } else if (w == "--password") {
      return UsageError{
          "the password is never given on the command line; set MORVEL_PASSWORD or use "
          "--password-file"};
    } else if (w.size() > 1 && w[0] == '-') {
      return UsageError{"unknown option \"" + w + "\" for " + words[0]};
    } else {
      operands.push_back(w);
    }
    if (!ok) return UsageError{"option " + w + " needs a value"};
  }
  if (int(operands.size()) != sub->operands)
    return UsageError{words[0] + (sub->operands == 2 ? " takes FILE and TARGET" : " takes TARGET")};
  if (sub->operands == 2) a.file = operands[0];
  const auto target = ParseTarget(operands.back());
  if (!target) return UsageError{"\"" + operands.back() + "\" is neither tcp:HOST[:PORT] nor serial:DEVICE"};
  a.target = *target;
  if (a.login.empty()) return UsageError{"--login ID is required"};
  return a;
}

}  // namespace cli
