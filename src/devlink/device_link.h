#pragma once
// The device link: the one conversation with the gateway. It owns the link
// record, the serial port and the TCP client socket, sends, turns received
// bytes into lines and words, interprets the replies and maps them onto the
// configuration fields. The windows reach it through the verbs declared
// here; what it needs from them it asks through LinkWindows.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "comm/client_socket.h"
#include "comm/com_port.h"
#include "config/config_pages.h"
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

/// How a transport ends lines in status mode: TCP lines end at CR (LF never
/// stored); serial lines end at LF (a CR before it is cut off).
enum class LineEnds { Tcp, Serial };

/// The exchanges with the gateway. One runs at a time: a save or a status
/// poll asked for while another runs waits, and starts when that one ends.
enum class Conversation {
  None,
  ReadOut,  ///< from the login line to the end of the DNS reply
  Save,     ///< from "write-system" to the second "!END-TAG!" echo, or an echo that leaves the save state
  Poll,     ///< from "get-wan-status" to the end of the gatekeeper status, at most kPollLimitMs
};

/// How a status poll starts the memo: the user's choice of the status page
/// clears it; a tick of the polling timer also gives it one empty line.
enum class PollStart { PageChosen, Tick };

/// The words of one line as the reply interpreter reads them: a copy of the
/// first slots of `Tokens`, as many as any reply row looks at (word 5 is the
/// highest). Slots the line did not fill hold what an earlier line left there.
inline constexpr int kLineWords = 6;
using LineWords = std::array<std::string, kLineWords>;

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

  Conversation Running() const { return conversation_; }
  /// Connect pressed: the save and VoIP counters from the start, the phone
  /// grid back to one port row, parse mode; nothing runs or waits.
  void ResetForConnect();
  /// The login dialog's OK: empties the fields the read-out fills, resets the
  /// VoIP counters and flags, sends the login line and reads the answer as
  /// the login's. The read-out runs from here; Save is held until it ends.
  void SendLogin(std::string_view id, std::string_view password);
  /// Back to parse mode, unless a poll's reply is still arriving: then its
  /// end (or its time limit) does it.
  void LeaveStatusMode();
  /// The save handshake: a lone CR, "write-system", "!START-TAG!"; now, or
  /// as soon as the conversation that runs has ended. Its markers count only
  /// after the gateway has echoed "write-system", so lines of an earlier
  /// reply cannot pass for them.
  void BeginSave();
  /// A status poll: "get-wan-status", then the gatekeeper status; now, or as
  /// soon as the conversation that runs has ended (a later ask replaces a
  /// waiting one). Nothing goes out while no transport is open.
  void Poll(PollStart start);
  /// A poll still waiting for its turn is no longer wanted.
  void CancelPoll();
  /// Restart: parse mode, "reboot-system", the transport closed. A failed
  /// write still closes the transport, and is raised afterwards.
  void Reboot();
  /// Disconnect: over serial "end-morvel" and the port closed; over TCP the
  /// connection closed; nothing without a transport chosen.
  void Disconnect();
  /// "end-morvel" when the serial port is open (the program closing).
  void SendEnd();
  /// A line typed in the debug window: sent as it is with a CR; its replies
  /// are read as WAN settings unless their echo selects another state.
  void SendTyped(std::string_view text);

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
  /// Sends the configuration script, then the save state and "!END-TAG!".
  /// A write that raises ends it at that line.
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
  void AppendToWord(std::string_view run);

  /// The query series' step at the end of the reply read in `state` (the
  /// login's acceptance for the login state): the next query, or the end of
  /// the read-out after the DNS reply; nothing for other states.
  void SendNextQuery(int32_t state);
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

  void Begin(Conversation c);
  /// Ends `c` if it is the one running, then starts what waited for it.
  void End(Conversation c);
  void StartWaiting();
  void StartSave();
  void StartPoll(PollStart start);
  /// Tells a status line to the running poll: its end is the "!END-TAG!"
  /// after the gatekeeper status's echo.
  void PollLine(std::string_view trimmed);
  /// `BB_Save` as the transport and the model check allow it, held disabled
  /// while a read-out runs, so a half-read configuration is never written.
  void AllowSave(bool allowed);
  void ApplySaveLook();
  /// Nothing runs or waits any more (a transport closed, Connect pressed):
  /// the running conversation ends, the waiting ones are dropped.
  void ConversationsClosed();
  /// Either transport has closed: the trace line and the idle looks.
  void ShowDisconnected();

  /// Writes of the two transports as the link sends through them.
  class SerialTransport : public LinkTransport {
   public:
    explicit SerialTransport(DeviceLink& link) : link_(link) {}
    void Write(std::string_view bytes) override { link_.WriteSerial(bytes); }
    void Close() override { link_.ComPort.Close(); }
    bool IsOpen() const override { return link_.ComPort.Connected(); }

   private:
    DeviceLink& link_;
  };
  /// Writes to the serial port, which waits while the line is busy (about
  /// 1 ms a byte at 9600 baud) with the windows kept painting. Bytes that
  /// arrive meanwhile stay in the port until the write's caller is done, so
  /// no reply is interpreted between the lines of the handler that sends.
  void WriteSerial(std::string_view bytes);
  /// Reads what arrived during serial writes, once no pass or write runs.
  void ReadHeldBytes();
  /// A save over serial has sent `percent` of its script; the windows show
  /// it (over TCP it is over too soon to be worth showing). They hide it
  /// when the save ends.
  void ShowSaveProgress(int percent);
  /// While a received chunk is interpreted, the writes its lines cause are
  /// gathered and go out in one send when the chunk is done (the six blanks
  /// after each version line, a whole configuration script): the same bytes
  /// in the same order in one system call. Send errors go to the socket's
  /// error event, so gathering delays no report.
  class TcpTransport : public LinkTransport {
   public:
    explicit TcpTransport(comm::TClientSocket& socket) : socket_(socket) {}
    void Write(std::string_view bytes) override;
    void Close() override { socket_.Close(); }
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

  Conversation conversation_ = Conversation::None;
  bool saveWaiting_ = false;
  std::optional<PollStart> pollWaiting_;
  /// The running save has not yet seen the gateway echo "write-system".
  bool saveEchoPending_ = false;
  /// The running poll has seen the gatekeeper status's echo.
  bool gatekeeperStatusSeen_ = false;
  bool saveAllowed_ = false;
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
