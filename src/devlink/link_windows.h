#pragma once
// What the device link needs from the windows above it. The link declares it
// and includes no window; the main window implements it, tests record it.
#include <string>
#include <string_view>

#include "devlink/conversation_queue.h"
#include "lang/message_texts.h"

namespace devlink {

class LinkWindows {
 public:
  virtual ~LinkWindows() = default;

  /// One line for the debug window's trace.
  virtual void Trace(std::string line) = 0;
  /// A message text of the language file.
  virtual std::string Message(lang::Msg m) const = 0;

  /// The serial port has opened: Disconnect in place of Connect.
  virtual void ShowSerialConnected() = 0;
  /// The TCP connection is up: Restart enabled, Disconnect in place of Connect.
  virtual void ShowTcpConnected() = 0;
  /// A transport has closed: Restart disabled, Connect back in place of
  /// Disconnect, the status polling stopped.
  virtual void ShowDisconnected() = 0;
  /// The gateway's model is accepted: the pages uncovered, Restart enabled.
  virtual void ShowModelAccepted() = 0;
  /// Whether Save can be pressed. The link alone decides: it holds Save off
  /// while a read-out runs.
  virtual void EnableSave(bool enabled) = 0;

  virtual void ShowLogin() = 0;
  virtual void CloseLogin() = 0;

  /// A save has been asked for (`percent` 0) or has sent `percent` of its
  /// script (at 9600 baud it takes seconds): the pages take no edits until
  /// it ends.
  virtual void ShowSaveProgress(int percent) = 0;
  /// The save has ended, whatever its outcome; nothing when no progress is
  /// shown.
  virtual void HideSaveProgress() = 0;
  /// "reboot-system" has gone (or could not go) and the transport is closed:
  /// the wait before the gateway can be reached again.
  virtual void ShowRestarting() = 0;
  /// A conversation has ended; the link has already shown what the user
  /// must know of it.
  virtual void ConversationEnded(const Ending& ending) = 0;

  /// The link's traffic that no trace line shows, for the connection log:
  /// `Received`, bytes as they came from a transport, before the receive
  /// path reads them; `Sent`, a line that went out through SendPutData (the
  /// configuration script's), without its CR.
  enum class Traffic { Received, Sent };
  virtual void Untraced(Traffic /*way*/, std::string_view /*bytes*/) {}
};

}  // namespace devlink
