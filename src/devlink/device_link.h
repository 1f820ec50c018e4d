#pragma once
// The device link: the one conversation with the gateway, as the windows ask
// for it. It owns its parts (the transports, the line reader, the reply
// interpreter with the field mapping, the conversation queue) and joins them;
// what it needs from the windows it asks through LinkWindows.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_pages.h"
#include "devlink/conversation_queue.h"
#include "devlink/line_reader.h"
#include "devlink/link_record.h"
#include "devlink/link_state.h"
#include "devlink/link_windows.h"
#include "devlink/reply_interpreter.h"
#include "devlink/transports.h"
#include "platform/ui/timer.h"

namespace devlink {

/// How a status poll starts the memo: the user's choice of the status page
/// clears it; a tick of the polling timer also gives it one empty line.
enum class PollStart { PageChosen, Tick };

class DeviceLink : private TransportEvents, private LineUser, private ReplyUser {
 public:
  /// `windows` and `pages` must outlive the link.
  DeviceLink(LinkWindows& windows, config::ConfigPages& pages);
  ~DeviceLink();
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  // ---- Opening a transport, for the connection dialog's OK ----

  /// Opens the serial port and chooses it; the port's error is raised.
  void OpenSerial() { transports_.OpenSerial(); }
  /// Chooses TCP and starts a connection attempt to `host` (a dotted
  /// address, never looked up) and `port`; its outcome arrives as events.
  void ConnectTcp(const std::string& host, int port) { transports_.ConnectTcp(host, port); }
  bool TcpUp() const { return transports_.TcpUp(); }
  /// The attempt has failed (its error event or a disconnect).
  bool TcpFailed() const { return transports_.TcpFailed(); }
  /// Gives the opening up: the serial port closes, a TCP attempt is dropped.
  void AbandonOpen();
  /// The serial probe, on the open port: a CR, a CR, "end", "exit", then
  /// after a short pause ten escapes, a CR and "?". True when a line
  /// beginning with "get-wan" came back within kProbeWaitMs. `abandoned`
  /// ends it early (the port closed, the user gave up): nothing more goes out.
  bool ProbeSerial(const std::function<bool()>& abandoned);
  /// Whether the serial port is open, closing it (the program ending).
  bool SerialOpen() const { return transports_.SerialOpen(); }
  void CloseSerial() { transports_.CloseSerial(); }

  // ---- The conversation with the gateway, as the windows ask for it ----

  /// The conversation that runs. One runs at a time; the others wait in the
  /// order asked, the user's save and restart before polls. Each ends with
  /// one outcome, which the link shows (a save that did not complete says
  /// so in a box) and tells the windows (LinkWindows::ConversationEnded).
  Conversation Running() const override { return queue_.Running(); }
  /// Running or waiting.
  bool Asked(Conversation c) const { return queue_.Asked(c); }
  /// Connect pressed: the save and VoIP counters from the start, the phone
  /// grid back to one port row, parse mode; nothing runs or waits.
  void ResetForConnect();
  /// The login dialog's OK: the read-out. It empties the fields the read-out
  /// fills, resets the VoIP counters and flags, sends the login line and
  /// reads the answer as the login's, then the query series. Nothing while a
  /// login or read-out runs or waits. Save is held until it ends.
  void SendLogin(std::string_view id, std::string_view password);
  /// Back to parse mode, unless a poll's reply is still arriving: then its
  /// end (or its time limit) does it.
  void LeaveStatusMode();
  /// A save of `script`, the lines made when the user pressed Save: a lone
  /// CR, "write-system", "!START-TAG!", and those lines when the gateway asks
  /// for them; now, or once what runs has ended. Nothing while a save runs or
  /// waits. Its markers count only after the gateway has echoed
  /// "write-system", so lines of an earlier reply cannot pass for them.
  void BeginSave(std::vector<std::string> script);
  /// A status poll: "get-wan-status", then the gatekeeper status; now, or as
  /// soon as the conversation that runs has ended (a later ask replaces a
  /// waiting one). Nothing goes out while no transport is open.
  void Poll(PollStart start);
  /// A poll still waiting for its turn is no longer wanted.
  void CancelPoll() { queue_.Drop(Conversation::Poll); }
  /// Restart: parse mode, "reboot-system", the transport closed, and the
  /// windows' restart wait; once the save or read-out that runs or waits has
  /// ended. After a save that did not complete there is no reboot (its box
  /// says so). A failed write still closes the transport and is raised.
  void Reboot();
  /// Disconnect: over serial "end-morvel" and the port closed; over TCP the
  /// connection closed; nothing without a transport chosen. What runs or
  /// waits ends closed.
  void Disconnect();
  /// "end-morvel" when the serial port is open (the program closing).
  void SendEnd();
  /// A line typed in the debug window: sent as it is with a CR, once what
  /// runs has ended; its replies are read as WAN settings unless their echo
  /// selects another state. A reply that restarts the query series makes it
  /// a read-out from there; otherwise its end mark, an error line or a quiet
  /// gateway ends it.
  void SendTyped(std::string_view text);

  /// How long a conversation may hear nothing from the gateway before it
  /// ends timed out (a 9600-baud save never comes near it), and how long a
  /// typed line's reply may pause before the line counts as answered.
  void SetSilenceLimits(uint32_t limitMs, uint32_t quietMs) { queue_.SetSilenceLimits(limitMs, quietMs); }

  /// The link record, to read. Only the link's parts change it.
  LinkRecord Record() const { return LinkRecord(transports_, reader_, interpreter_, statusFollowUp_); }

  /// Sends `text` unchanged (callers put the CR in), traces it as
  /// "Send_Message : " + text and empties word slots 0 to 1023.
  void SendGetData(std::string_view text);
  /// Sends `text` followed by one CR; no trace line (the windows hear of it
  /// through Untraced), no change to the word table.
  void SendPutData(std::string_view text);

  /// Runs the receive path over bytes that arrived on one transport (the
  /// transports call it; tests and fuzz targets feed it directly). Message
  /// boxes inside the interpreter may run a nested Receive on the same
  /// state, so `bytes` must not point into a buffer a nested receive reuses.
  void Receive(std::string_view bytes, LineEnds ends);
  /// Puts the link in `state` (tests, benchmarks, fuzz targets).
  void StartIn(const LinkState& state);
  /// The transports, for the port list's binding and the port's name, and
  /// for tests that plug their own in.
  Transports& Transport() { return transports_; }

  /// Longest a status poll holds back a save that waits for it, when the
  /// gateway never ends the gatekeeper status (a page left at "-- more --").
  static constexpr int kPollLimitMs = 5000;
  /// Bytes taken from a transport in one read (the receive buffer's size).
  static constexpr int kReceiveBuffer = Transports::kReceiveBuffer;
  /// Longest the probe waits for the gateway's answer to "?".
  static constexpr uint32_t kProbeWaitMs = 2000;

 private:
  // TransportEvents: a trace line, then the main window's buttons.
  void TransportOpened(TransportKind kind) override;
  void TransportClosed(TransportKind kind) override;
  void BytesReceived(std::string_view bytes, LineEnds ends) override;
  // LineUser.
  void ErrorLine(const std::string& text) override { GatewayRefused(text); }
  void WordsLine(const LineWords& words) override { interpreter_.ComPort_Encode_Parsing(words); }
  void StatusLine(std::string line) override;
  // ReplyUser.
  /// A reply's send that cannot be written ends the running conversation
  /// with the error's own box: the close that follows has nothing to report.
  void SendCommand(std::string_view text) override {
    Sending([&] { SendGetData(text); });
  }
  void Finish(Outcome outcome, std::string reason = {}, bool shown = false) override {
    End(outcome, std::move(reason), shown);
  }
  void QueryNext(std::string_view command) override;
  void ModelAccepted() override { AllowSave(true); }
  /// Sends the running save's script, then the save state and "!END-TAG!".
  /// A write that fails ends it at that line and the save with it.
  void SendScript() override;

  // The conversations (conversation.cpp).
  void StartLogin(const std::string& line);
  void StartSave();
  void StartPoll(PollStart start);
  void StartRestart();
  void StartTyped(const std::string& line);
  /// Tells a status line to the running poll: its end is the "!END-TAG!"
  /// after the gatekeeper status's echo.
  void PollLine(std::string_view trimmed);

  // How conversations end (conversation_endings.cpp).
  /// Ends the running conversation with `outcome`: its looks are undone, what
  /// waited starts (unless `startNext` is false: the link has closed), and
  /// the outcome is shown. `shown`: the caller shows it (the login's refusal
  /// box, an error raised to the general error handler).
  void End(Outcome outcome, std::string reason = {}, bool shown = false, bool startNext = true);
  /// What a finished conversation leaves for its report.
  struct Notes {
    bool restartFollows = false;  ///< a restart waited behind a complete save
    bool restartDropped = false;  ///< a restart waited behind a save that failed
    bool shown = false;
  };
  /// The looks a conversation put up, taken down before what waits starts.
  void Settle(Conversation c);
  /// The outcome shown: a trace line, the windows told, the boxes of a save
  /// and of a read-out that stopped.
  void Report(const Ending& e, const Notes& notes);
  /// The silence limit has passed with nothing from the gateway.
  void Silent();
  /// Runs sends for the running conversation: a write that fails ends it
  /// closed, and the error is raised on unless `raise` is false (a save's
  /// own box says why it failed).
  void Sending(const std::function<void()>& sends, bool raise = true);
  /// A gateway line beginning with "%" while a conversation waits for it.
  void GatewayRefused(const std::string& line);
  /// `BB_Save` as the transport and the model check allow it, held disabled
  /// while a read-out or a save runs or waits, and after a read-out that
  /// stopped, so a half-read configuration is never written.
  void AllowSave(bool allowed);
  void ApplySaveLook();
  /// The transport has closed: what runs and what waits end closed.
  void ConversationsClosed();

  LinkWindows& windows_;
  config::ConfigPages& pages_;
  Transports transports_{*this};
  LineReader reader_{*this};
  ReplyInterpreter interpreter_{*this, windows_, pages_};
  ConversationQueue queue_{[this] { Silent(); }};
  /// The running or waiting save's lines, made when Save was pressed.
  std::vector<std::string> saveScript_;
  /// The command whose reply the read-out waits for, for its time-out.
  std::string awaited_;
  /// The running poll's gatekeeper query goes out after the next chunk.
  bool statusFollowUp_ = false;
  /// The running poll has seen the echo of its gatekeeper query.
  bool gatekeeperEchoSeen_ = false;
  bool saveAllowed_ = false;
  /// The last read-out of this connection stopped before its end.
  bool readOutStopped_ = false;
  /// The user asked for the transport to close (Disconnect, Restart, an
  /// abandoned opening): its close reports no read-out as stopped.
  bool closeAsked_ = false;
  platform::Timer pollLimit_{"pollLimit", kPollLimitMs};
};

}  // namespace devlink
