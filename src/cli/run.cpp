// The command line as a whole: the words parsed, the password taken, the
// subcommand run, its exit status returned.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <variant>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "lang/fixed_texts.h"
#include "platform/ui/errors.h"

namespace cli {

namespace texts = lang::fixed;

namespace {

void PrintHelp(std::ostream& out) {
  out << texts::kHelp;
  for (ExitStatus s : kExitStatuses)
    out << "  " << int(s) << (int(s) < 10 ? "   " : "  ") << ExitText(s) << "\n";
}

/// A login ID or password that would change the login line: a blank splits
/// its words, a control character (CR, LF) ends it and starts a command.
bool ChangesTheLine(const std::string& s) {
  for (unsigned char c : s)
    if (c <= ' ' || c == 0x7f) return true;
  return false;
}

struct Secret {
  std::string value;
  std::string missing;  ///< why there is none; empty when there is one
};

/// The password: the first line of --password-file (without its line end),
/// or MORVEL_PASSWORD.
Secret Password(const Arguments& a, Terminal& t) {
  if (!a.passwordFile.empty()) {
    // Any readable file: a pipe too (--password-file <(pass show gateway)).
    std::ifstream in(a.passwordFile, std::ios::binary);
    std::string line;
    if (!in || (!std::getline(in, line) && !in.eof()))
      return {{}, std::string(texts::kCannotRead) + a.passwordFile + ": " + std::strerror(errno)};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return {line, {}};
  }
  if (auto value = t.env("MORVEL_PASSWORD")) return {*value, {}};
  return {{}, std::string(texts::kNoPassword)};
}

int Usage(Terminal& t, const std::string& why) {
  t.err << platform::ProgramTitle() << ": " << why << "\n"
        << platform::ProgramTitle() << " --help lists the "
        << "subcommands and options.\n";
  return int(ExitStatus::Usage);
}

}  // namespace

int Run(const std::vector<std::string>& words, Terminal& t) {
  auto parsed = ParseArguments(words);
  if (const auto* wrong = std::get_if<UsageError>(&parsed)) return Usage(t, wrong->text);
  const Arguments& a = std::get<Arguments>(parsed);
  if (a.command == Command::Help) {
    PrintHelp(t.out);
    return int(ExitStatus::Ok);
  }
  const Secret password = Password(a, t);
  if (!password.missing.empty()) return Usage(t, password.missing);
  const std::string& pw = password.value;
  if (ChangesTheLine(a.login) || ChangesTheLine(pw)) return Usage(t, std::string(texts::kControlInLogin));
  switch (a.command) {
    case Command::Read: return int(Read(a, pw, t));
    case Command::Diff: return int(Diff(a, pw, t));
    case Command::Apply: return int(Apply(a, pw, t));
    case Command::Status: return int(Status(a, pw, t));
    case Command::Help: break;
  }
  return int(ExitStatus::Usage);
}

}  // namespace cli
