#pragma once
// The windows as the device link sees them, on a terminal: progress as one
// line per step on standard error when that is a terminal, message boxes as
// messages there (questions answered with their safe choice: No, Cancel),
// the trace and the traffic in the connection log, and how each
// conversation ended, for the run to turn into its exit status.
#include <map>
#include <optional>

#include "cli/terminal.h"
#include "devlink/connection_log.h"
#include "devlink/link_windows.h"
#include "lang/message_texts.h"
#include "platform/ui/message_box.h"

namespace cli {

/// The message texts with their English defaults (the command line reads no
/// language file).
lang::MessageTexts EnglishMessages();

class TerminalWindows : public devlink::LinkWindows, public platform::MessageBoxes {
 public:
  /// Installs itself as the program's message boxes for its lifetime.
  TerminalWindows(Terminal& terminal, devlink::ConnectionLog& log);
  ~TerminalWindows() override;

  /// The connection dialog's OK reached the login.
  bool Connected() const { return connected_; }
  /// The gateway answered the login with "Login ok".
  bool LoggedIn() const { return loggedIn_; }
  bool ModelAccepted() const { return modelAccepted_; }
  /// How the last conversation of kind `c` ended, if one has since Forget(c).
  std::optional<devlink::Ending> Ended(devlink::Conversation c) const;
  void Forget(devlink::Conversation c) { endings_.erase(c); }

  // LinkWindows
  void Trace(std::string line) override;
  std::string Message(lang::Msg m) const override { return messages_[m]; }
  void ShowSerialConnected() override;
  void ShowTcpConnected() override;
  void ShowDisconnected() override;
  void ShowModelAccepted() override { modelAccepted_ = true; }
  void EnableSave(bool) override {}
  void ShowLogin() override { connected_ = true; }
  void CloseLogin() override;
  void ShowSaveProgress(int percent) override;
  void HideSaveProgress() override {}
  void ShowRestarting() override;
  void ConversationEnded(const devlink::Ending& ending) override { endings_[ending.conversation] = ending; }
  void Untraced(Traffic way, std::string_view bytes) override;

  // MessageBoxes
  platform::Answer Show(const platform::MessageBox& box) override;

  /// A line of its own on standard error, always.
  void Say(std::string_view text);

 private:
  void Step(std::string_view text);

  Terminal& terminal_;
  devlink::ConnectionLog& log_;
  platform::MessageBoxes* previous_;
  lang::MessageTexts messages_ = EnglishMessages();
  bool connected_ = false;
  bool loggedIn_ = false;
  bool modelAccepted_ = false;
  int lastPercent_ = -1;
  std::map<devlink::Conversation, devlink::Ending> endings_;
};

}  // namespace cli
