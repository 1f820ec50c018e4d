#pragma once
// One visit of a gateway from the command line: the same link, connection
// dialog and configuration pages the window runs, with the terminal's
// windows. It connects through the dialog's controls and OK, logs in, reads
// out, and waits for each conversation's outcome.
#include <functional>
#include <string>

#include "cli/arguments.h"
#include "cli/exit_status.h"
#include "cli/terminal_windows.h"
#include "config/changes.h"
#include "config/configuration_file.h"
#include "config/detached_pages.h"
#include "devlink/connection.h"
#include "devlink/connection_log.h"
#include "devlink/device_link.h"
#include "ui/main_window.h"

namespace cli {

class Session {
 public:
  explicit Session(Terminal& terminal);
  ~Session();

  /// Opens the target, logs in with `id` and `password` and reads the
  /// gateway out: Ok once the read-out is complete and the model accepted.
  ExitStatus Visit(const Target& target, const std::string& id, const std::string& password);
  /// Asks for the conversation `c` through `ask` (a verb of the link) and
  /// waits for its outcome; the status it gives.
  ExitStatus Run(devlink::Conversation c, const std::function<void()>& ask);
  /// Waits for the outcome of `c`, asked before (and not ended since it was
  /// last forgotten: TerminalWindows::Forget).
  ExitStatus Wait(devlink::Conversation c);
  /// Keeps the pages as the read-out left them, for Changes.
  void KeepReadOut();
  /// The fields changed since KeepReadOut, as the review before Save lists them.
  std::vector<config::Change> Changes() const;
  /// Fills the pages from the configuration file at `path`, as the window's
  /// Import does: whole or not at all. A file of another model than the
  /// gateway's is refused unless `otherModel`. FileRejected, said, otherwise.
  ExitStatus Import(const std::string& path, bool otherModel);
  /// Save's checks on the pages: ChecksFailed, said, when one fails.
  ExitStatus CheckBeforeWriting();
  /// Disconnect, as the window's button does it.
  void Close();

  /// The pages with the main window's captions and rules (no window shows).
  config::ConfigPages& Pages() { return form_.pages; }
  devlink::DeviceLink& Link() { return link_; }
  TerminalWindows& Windows() { return windows_; }

 private:
  /// OK of the connection dialog with `target` chosen: true once the login
  /// can follow.
  bool Open(const Target& target);

  Terminal& terminal_;
  ui::TF_morvel_config_main form_;
  config::DetachedPages readOut_;
  devlink::ConnectionLog log_;
  TerminalWindows windows_;
  devlink::DeviceLink link_{windows_, form_.pages};
  devlink::TF_Connection connection_{link_, windows_};
};

}  // namespace cli
