#pragma once
// The connection log: each connection's conversation with the gateway kept
// in a file of its own, named by the connection's start time, one
// timestamped line per event: the debug window's trace lines, the lines
// received and the lines sent without a trace line (the configuration
// script). Secrets are written as "***". The oldest files go once there are
// more than kMaxFiles or they hold more than kMaxBytes. A file that cannot
// be written stops only the log, and says so once through `report`.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "devlink/link_windows.h"

namespace devlink {

/// `line` with the secrets a console line carries written as "***": the
/// password of the login line ("start-login ID PASSWORD", also as the trace
/// shows it after "Send_Message : ") and whatever follows the word
/// "password" or "sip-password" (the PPPoE, PSTN, automatic upgrade,
/// gatekeeper and SIP passwords of the script and of the gateway's replies).
std::string MaskSecrets(std::string_view line);

/// A trace line as the log writes it (and the debug window saves it): the
/// CR that ends a line as sent left out, the secrets masked, control bytes
/// shown as \xNN, so that it stays one line of text.
std::string LoggedLine(std::string_view line);

class ConnectionLog {
 public:
  static constexpr size_t kMaxFiles = 50;
  static constexpr uintmax_t kMaxBytes = 20u * 1024 * 1024;
  /// A received line longer than this is written in pieces of this length
  /// (a peer that never ends a line must not grow memory).
  static constexpr size_t kMaxLineBytes = 64 * 1024;

  /// $XDG_STATE_HOME/morvel_config, or ~/.local/state/morvel_config when
  /// XDG_STATE_HOME is not set to an absolute path.
  static std::filesystem::path DefaultDir();

  /// The files go into `dir`, made (owner only) when the first connection
  /// starts. `report` receives the one line that says a file could not be
  /// written.
  ConnectionLog(std::filesystem::path dir, std::function<void(std::string)> report);
  ~ConnectionLog();
  ConnectionLog(const ConnectionLog&) = delete;
  ConnectionLog& operator=(const ConnectionLog&) = delete;

  /// A transport has connected: a new file, which begins with the trace line
  /// that came just before (the transport's "Connected...").
  void Begin();
  /// The transport has disconnected: a received line still open is written
  /// and the file closed.
  void End();

  /// A line of the debug window's trace. Outside a connection only the last
  /// one is kept, for Begin.
  void Trace(std::string_view line);
  /// Bytes as they came from the gateway; each line is written when it ends
  /// (at CR, LF or CR LF).
  void Received(std::string_view bytes);
  /// A line sent without a trace line, without its CR.
  void Sent(std::string_view line);
  /// The traffic no trace line shows, as the windows hear of it: Received
  /// or Sent by its way.
  void Untraced(LinkWindows::Traffic way, std::string_view bytes);

  /// The file of the running connection, or of the last one; empty before
  /// the first.
  const std::filesystem::path& File() const { return path_; }

 private:
  void Write(std::string_view kind, std::string_view text);
  void WriteReceivedLine();
  /// Opens a new file named by the local time; false when it cannot.
  bool Open();
  /// Removes the oldest files beyond the limits, with `room` bytes more to
  /// be written, never the open one; counts the bytes of the others.
  void Prune(uintmax_t room = 0);
  /// Stops the log for this connection, saying why once.
  void Fail(const std::string& what, int error);

  std::filesystem::path dir_;
  std::function<void(std::string)> report_;
  std::FILE* file_ = nullptr;
  std::filesystem::path path_;
  uintmax_t bytes_ = 0;       ///< written to the open file
  uintmax_t otherBytes_ = 0;  ///< held by the other files when last pruned
  std::string lastTrace_;     ///< the last trace line outside a connection
  std::string received_;      ///< the received line not yet ended
  bool afterCr_ = false;      ///< the last received byte was a CR
};

}  // namespace devlink
