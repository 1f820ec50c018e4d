#pragma once
// The device link: the one conversation with the gateway. It owns the link
// record, the serial port and the TCP client socket, sends, turns received
// bytes into lines and words, interprets the replies and maps them onto the
// configuration fields. The windows reach it through the verbs declared
// here; what it needs from them it asks through LinkWindows.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "comm/client_socket.h"
#include "comm/com_port.h"
#include "config/config_pages.h"
#include "devlink/conversation_queue.h"
#include "devlink/link_record.h"
#include "devlink/link_windows.h"
#include "platform/ui/toolkit.h"

namespace devlink {

/// One of the link's transports as the link writes to it. Errors of a write
/// propagate to the caller (the serial port raises; the socket's errors are
/// swallowed by its own error handler).
class LinkTransport {
 public:
  virtual ~LinkTransport() = default;
  virtual void Write(std::string_view bytes) = 0;
  /// Closes the transport; its close event follows. Nothing when closed.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
};

/// The transport bytes came from. Status lines end at CR, LF or CR LF on
/// both; the receive path is told which one all the same.
enum class LineEnds { Tcp, Serial };

/// How a status poll starts the memo: the user's choice of the status page
/// clears it; a tick of the polling timer also gives it one empty line.
enum class PollStart { PageChosen, Tick };

/// The words of one line as the reply interpreter reads them: a copy of the
/// first slots of `Tokens`, as many as any reply row looks at (word 5 is the
/// highest). Slots the line did not fill hold what an earlier line left there.
inline constexpr int kLineWords = 6;
using LineWords = std::array<std::string, kLineWords>;

/// The fields whose value the reply mapping reads back as one word: a blank
/// inside them would come back as the part before it.
std::vector<const platform::Control*> OneWordFields(const config::ConfigPages& pages);

class DeviceLink {
 public:
  /// `windows` and `pages` must outlive the link.
  DeviceLink(LinkWindows& windows, config::ConfigPages& pages);
  virtual ~DeviceLink();
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  // ---- Opening a transport, for the connection dialog's OK ----

  /// Opens the serial port and chooses it; the port's error is raised.
  void OpenSerial();
  /// Chooses TCP and starts a connection attempt to `host` (a dotted
  /// address, never looked up) and `port`; its outcome arrives as events.
  void ConnectTcp(const std::string& host, int port);
  bool TcpUp() const { return ClientSocket.Active(); }
  /// The attempt has failed (its error event or a disconnect).
  bool TcpFailed() const { return connectFailed_; }
  /// Gives the opening up: the serial port closes, a TCP attempt is dropped.
  void AbandonOpen();
  /// The serial probe's answer: cleared before the probe, set when a line
  /// beginning with "get-wan" has been interpreted.
  void ClearProbe() { record_.ProbeAnswered = false; }
  bool ProbeAnswered() const { return record_.ProbeAnswered; }
  /// Whether the serial port is open, closing it (the program ending).
  bool SerialOpen() const;
  void CloseSerial();

  // ---- The conversation with the gateway, as the windows ask for it ----

  /// The conversation that runs. One runs at a time; the others wait in the
  /// order asked, the user's save and restart before polls. Each ends with
  /// one outcome, which the link shows (a save that did not complete says
  /// so in a box) and tells the windows (LinkWindows::ConversationEnded).
  Conversation Running() const { return queue_.Running(); }
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
  void CancelPoll();
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

  /// The link record, to read (the debug window lists the words of the line
  /// being received). Only the link changes it.
  const LinkRecord& Record() const { return record_; }
  /// The record to change, for tests and tools that start the link in a
  /// given state.
  LinkRecord& TestRecord() { return record_; }

  /// Longest a status poll holds back a save that waits for it, when the
  /// gateway never ends the gatekeeper status (a page left at "-- more --").
  static constexpr int kPollLimitMs = 5000;
  /// Bytes taken from a transport in one read (the receive buffer's size).
  static constexpr int kReceiveBuffer = 20000;

  /// The serial port (9600 8N1, no flow control) and the TCP client socket.
  comm::TComPort ComPort;
  comm::TClientSocket ClientSocket;

  // Transport events: a trace line, then the main window's buttons.
  void ComPortAfterOpen();
  void ComPortAfterClose();
  void ClientSocketConnect(comm::TClientWinSocket& socket);
  void ClientSocketDisconnect(comm::TClientWinSocket& socket);
  /// Swallows every error the socket reports through its error event.
  void ClientSocketError(comm::TClientWinSocket& socket, comm::TErrorEvent event, int& errorCode);
  /// `count` bytes wait in the serial port's receive queue.
  void ComPortRxChar(int count);
  void ClientSocketRead(comm::TClientWinSocket& socket);

  /// Plugs in the transport used while `LinkMode` is `mode` (100 or 101).
  void SetTransport(int32_t mode, LinkTransport* transport);

  /// Sends `text` unchanged (callers put the CR in), traces it as
  /// "Send_Message : " + text and empties word slots 0 to 1023.
  void SendGetData(std::string_view text);
  /// Sends `text` followed by one CR; no trace line (the windows hear of it
  /// through Untraced), no change to the word table.
  void SendPutData(std::string_view text);

  /// Runs the receive algorithm over bytes that arrived on one transport.
  /// Message boxes and waits inside the interpreter may run a nested Receive
  /// on the same link state, so `bytes` must not point into a buffer that a
  /// nested receive event reuses.
  void Receive(std::string_view bytes, LineEnds ends);

  /// The reply interpreter: picks the reply state from word 0 and runs that
  /// state's handler on the same line.
  virtual void ComPort_Encode_Parsing(const LineWords& words);
  /// Sends the running save's script, then the save state and "!END-TAG!".
  /// A write that fails ends it at that line and the save with it.
  void ComPort_Decode_Parsing();
  /// The login reset's second step on the main window's fields.
  void ClearData();

  /// 0 when `text` begins with `name`, -1 otherwise; traces the comparison.
  int IndexOfStr(std::string_view text, std::string_view name);
  /// The part of `text` before the first `delimiter` (all of it when none).
  static std::string NumberToken(std::string_view text, char delimiter);
  /// `text` with every blank removed.
  static std::string Trim_Blank(std::string_view text);

 private:
  void ReceiveParsed(std::string_view bytes);
  void ReceiveStatus(std::string_view bytes, LineEnds ends);
  void StatusLine(std::string line);
  /// The words of the line just ended, up to `lastSlot`, one blank apart.
  std::string LineText(int lastSlot) const;
  void AppendToWord(std::string_view run);

  /// The query series' step at the end of the reply read in `state` (the
  /// login's acceptance for the login state): the next query, or the end of
  /// the read-out after the DNS reply; false for a state with no step.
  bool SendNextQuery(int32_t state);
  /// A VoIP reply begins: the grid, the peer counters and the address pairs
  /// from the start.
  void StartVoipReply();
  void LoginAnswer(const LineWords& w);
  void ModelCheck(const LineWords& w);
  void SaveHandshake(const LineWords& w);
  void MapWan(const LineWords& w);
  void MapLan(const LineWords& w);
  void MapDns(const LineWords& w);
  void MapAutoUpgrade(const LineWords& w);
  void MapService(const LineWords& w);
  void MapServicePort(const LineWords& w);
  void MapVersion(const LineWords& w);
  void MapVoip(const LineWords& w);
  void MapPstn(const LineWords& w);
  /// The rows of `state` that take one word into a text field.
  void TakeWords(int32_t state, const LineWords& w);

  // The conversations (conversation.cpp).
  void StartLogin(const std::string& line);
  void StartSave();
  void StartPoll(PollStart start);
  void StartRestart();
  void StartTyped(const std::string& line);
  /// Ends the running conversation with `outcome`: its looks are undone, what
  /// waited starts (unless `startNext` is false: the link has closed), and
  /// the outcome is shown. `shown`: the caller shows it (the login's refusal
  /// box, an error raised to the general error handler).
  void Finish(Outcome outcome, std::string reason = {}, bool shown = false, bool startNext = true);
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
  /// Tells a status line to the running poll: its end is the "!END-TAG!"
  /// after the gatekeeper status's echo.
  void PollLine(std::string_view trimmed);
  /// `BB_Save` as the transport and the model check allow it, held disabled
  /// while a read-out or a save runs or waits, and after a read-out that
  /// stopped, so a half-read configuration is never written.
  void AllowSave(bool allowed);
  void ApplySaveLook();
  /// The transport has closed: what runs and what waits end closed.
  void ConversationsClosed();
  /// Either transport has closed: the trace line and the idle looks.
  void ShowDisconnected();

  /// Writes of the two transports as the link sends through them.
  class SerialTransport : public LinkTransport {
   public:
    explicit SerialTransport(DeviceLink& link) : link_(link) {}
    void Write(std::string_view bytes) override { link_.WriteSerial(bytes); }
    void Close() override { link_.CloseSerialPort(); }
    bool IsOpen() const override { return link_.ComPort.Connected() && !link_.serialClosing_; }

   private:
    DeviceLink& link_;
  };
  /// Writes to the serial port, which waits while the line is busy (about
  /// 1 ms a byte at 9600 baud) with the windows kept painting. Bytes that
  /// arrive meanwhile stay in the port until the write's caller is done, so
  /// no reply is interpreted between the lines of the handler that sends.
  void WriteSerial(std::string_view bytes);
  /// Closes the port; nothing it hands over while closing is read.
  void CloseSerialPort();
  /// Reads what arrived during serial writes, once no pass or write runs.
  void ReadHeldBytes();
  /// While a received chunk is interpreted, the writes its lines cause are
  /// gathered and go out in one send when the chunk is done (the six blanks
  /// after each version line, a whole configuration script): the same bytes
  /// in the same order in one system call. Send errors go to the socket's
  /// error event, so gathering delays no report.
  class TcpTransport : public LinkTransport {
   public:
    explicit TcpTransport(comm::TClientSocket& socket) : socket_(socket) {}
    void Write(std::string_view bytes) override;
    /// Sends what is gathered first: a close inside a pass (a restart that
    /// follows a save) must not lose "reboot-system".
    void Close() override;
    bool IsOpen() const override { return socket_.Active(); }
    /// Gathers writes until the matching ReleaseWrites (calls may nest).
    void HoldWrites() { ++holdDepth_; }
    void ReleaseWrites();

   private:
    comm::TClientSocket& socket_;
    int holdDepth_ = 0;
    std::string held_;
  };

  void SetUpTransports();
  /// The transport `LinkMode` chooses; null with none chosen (or none set).
  LinkTransport* ChosenTransport() const;
  /// One read from the serial port / the socket into the receive path.
  void ReadSerial(int count);
  /// False when nothing could be read.
  bool ReadTcp();
  /// Reads what arrived while a receive pass was running, until nothing waits.
  void ReadDeferred();
  /// Clears what an error left deferred, re-arming the socket's reads.
  void AbandonDeferred();

  LinkWindows& windows_;
  config::ConfigPages& pages_;
  LinkRecord record_;
  SerialTransport serialTransport_{*this};
  TcpTransport tcpTransport_{ClientSocket};
  /// A receive pass is running: a read event nested in it (inside a message
  /// box or the script writer) leaves its bytes waiting and sets its flag, and
  /// the outer pass reads them when it is done, so lines keep arrival order.
  bool receiving_ = false;
  /// A serial write is waiting for the line: read events leave their bytes
  /// in the port, and heldRead_ reads them once the sending handler is done
  /// (a zero-interval tick, so it runs when the event loop next runs freely).
  bool serialWriting_ = false;
  platform::Timer heldRead_{"heldRead", 0};
  bool serialDeferred_ = false;
  bool tcpDeferred_ = false;
  /// The TCP connection attempt has failed (its error event or a disconnect).
  bool connectFailed_ = false;

  ConversationQueue queue_{[this] { Silent(); }};
  /// The running or waiting save's lines, made when Save was pressed.
  std::vector<std::string> saveScript_;
  /// The running save has not yet seen the gateway echo "write-system".
  bool saveEchoPending_ = false;
  /// The command whose reply the read-out waits for, for its time-out.
  std::string awaited_;
  /// The running poll has seen the gatekeeper status's echo.
  bool gatekeeperStatusSeen_ = false;
  bool saveAllowed_ = false;
  /// The last read-out of this connection stopped before its end.
  bool readOutStopped_ = false;
  /// The user asked for the transport to close (Disconnect, Restart, an
  /// abandoned opening): its close reports no read-out as stopped.
  bool closeAsked_ = false;
  /// The serial port is closing: what it still hands over is not read, and
  /// nothing more is written.
  bool serialClosing_ = false;
  /// The last status byte was a CR: an LF right after it ends no line.
  bool statusAfterCr_ = false;
  platform::Timer pollLimit_{"pollLimit", kPollLimitMs};
  /// One past the highest slot of the table's first half that the receive
  /// path has filled since SendGetData last emptied that half: the slots from
  /// here to the half's end are empty already, so emptying skips them (a line
  /// rarely has more than a few words; a send empties 1024 slots).
  int tokensFilled_ = 0;
  LinkTransport* serial_ = nullptr;
  LinkTransport* tcp_ = nullptr;
};

}  // namespace devlink
