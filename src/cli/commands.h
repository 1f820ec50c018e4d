#pragma once
// The subcommands, each a visit of one gateway that ends with an exit status.
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/exit_status.h"
#include "cli/terminal.h"

namespace cli {

/// The export file of the read-out, or its fields as JSON.
ExitStatus Read(const Arguments& a, const std::string& password, Terminal& t);
/// The fields where the gateway differs from the file.
ExitStatus Diff(const Arguments& a, const std::string& password, Terminal& t);
/// The file's configuration saved on the gateway, then a restart if asked.
ExitStatus Apply(const Arguments& a, const std::string& password, Terminal& t);
/// One status poll.
ExitStatus Status(const Arguments& a, const std::string& password, Terminal& t);

/// The whole command line after the program's name: parses it, takes the
/// password, runs the subcommand. Runs on a QCoreApplication.
int Run(const std::vector<std::string>& words, Terminal& t);

}  // namespace cli
