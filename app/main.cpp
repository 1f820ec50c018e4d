// morvel_config: with a subcommand, the command line on QtCore; without one,
// the window, a program of its own beside it that this one becomes (exec),
// so that no run of the command line loads QtWidgets.
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "platform/ui/errors.h"

namespace {

/// The window's program: beside this one in the build tree, under the
/// library-executables folder once installed.
std::filesystem::path WindowProgram() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::filesystem::path dir = self.parent_path();
  const std::filesystem::path beside = dir / MORVEL_WINDOW_NAME;
  if (std::filesystem::exists(beside, ec)) return beside;
  return (dir / MORVEL_WINDOW_FROM_BIN / MORVEL_WINDOW_NAME).lexically_normal();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && cli::IsCommandLine(argv[1])) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    QCoreApplication app(argc, argv);
    platform::SetProgramTitle(platform::TitleFromPath(argv[0]));
    cli::Terminal terminal{std::cout, std::cerr, isatty(STDERR_FILENO) == 1,
                           [] { return std::time(nullptr); },
                           [](const char* name) -> std::optional<std::string> {
                             const char* value = std::getenv(name);
                             if (!value) return std::nullopt;
                             return std::string(value);
                           }};
    return cli::Run(words, terminal);
  }
  const std::string window = WindowProgram().string();
  execv(window.c_str(), argv);  // the window keeps this program's name and arguments
  std::cerr << platform::TitleFromPath(argv[0]) << ": cannot start the window " << window << ": "
            << std::strerror(errno) << "\n";
  return 127;
}
