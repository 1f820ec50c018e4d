#pragma once
// The device link object: the connection dialog `F_Connection`, which also
// holds the link record, sends to the gateway, turns received bytes into lines
// and words, and interprets the replies.
//
// What other folders use of it is declared here; the link's own folder may add
// private members and helpers freely.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "comm/client_socket.h"
#include "comm/com_combo_box.h"
#include "comm/com_port.h"
#include "config/config_pages.h"
#include "lang/message_texts.h"
#include "link/link_record.h"
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

/// The other windows' controls that the link drives. The program wires them
/// at start-up, tests wire stand-ins; all must be set before bytes arrive.
struct LinkPeers {
  platform::Memo* trace = nullptr;      // the debug window's `Display`
  platform::Form* login = nullptr;      // `F_Login`
  platform::Panel* cover = nullptr;     // `P_main`
  platform::Button* save = nullptr;     // `BB_Save`
  platform::Button* restart = nullptr;  // `BB_Restart`
  platform::Button* connect = nullptr;  // `BB_Connect` of the main window
  platform::Button* disconnect = nullptr;
  config::ConfigPages* pages = nullptr; // the fields, `L_model`, `L_version`, `M_State_Info`
  const lang::MessageTexts* messages = nullptr;
};

/// The words of one line as the reply interpreter reads them: a copy of the
/// first slots of `Tokens`, as many as any reply row looks at (word 5 is the
/// highest). Slots the line did not fill hold what an earlier line left there.
inline constexpr int kLineWords = 6;
using LineWords = std::array<std::string, kLineWords>;

class TF_Connection : public platform::Form {
 public:
  TF_Connection();
  ~TF_Connection() override;

  // The dialog's controls, in their frames.
  platform::GroupBox GB_Serial;
  platform::RadioButton RB_Serial;
  platform::Label L_port;
  comm::TComComboBox CB_Serial;
  platform::GroupBox GB_TCP;
  platform::RadioButton RB_TCP;
  platform::Label L_Host;
  platform::Edit ED_host;
  platform::Label L_TCP_port;
  platform::Edit ED_TCP;
  platform::Panel P_Buttons;
  platform::Button BB_Connect;
  platform::Button BB_Cancel;

  /// The two radios sit in different frames, so each one's rule unchecks the
  /// other and sets which fields can be used.
  void RB_SerialClick();
  void RB_TCPClick();
  void BB_CancelClick();
  /// The chosen port becomes the serial port's name (an open port reopens).
  void CB_SerialChange();
  /// Opens the chosen transport; on success the login dialog follows.
  void BB_ConnectClick();
  /// The serial probe: true when a line beginning with "get-wan" came back.
  bool Comport_Connected();

  // Transport events: a trace line, then the main window's buttons.
  void ComPortAfterOpen();
  void ComPortAfterClose();
  /// Either transport has closed: the trace line and the idle button bar.
  void ShowDisconnected();
  void ClientSocketConnect(comm::TClientWinSocket& socket);
  void ClientSocketDisconnect(comm::TClientWinSocket& socket);
  /// Swallows every error the socket reports through its error event.
  void ClientSocketError(comm::TClientWinSocket& socket, comm::TErrorEvent event, int& errorCode);
  /// `count` bytes wait in the serial port's receive queue.
  void ComPortRxChar(int count);
  void ClientSocketRead(comm::TClientWinSocket& socket);

  /// Bytes taken from a transport in one read (the receive buffer's size).
  static constexpr int kReceiveBuffer = 20000;
  /// Longest the probe waits for the gateway's answer to "?", and the TCP
  /// connect for the connection; both end as soon as the outcome is known.
  static constexpr uint32_t kProbeWaitMs = 2000;
  static constexpr uint32_t kConnectWaitMs = 5000;

  /// The serial port (9600 8N1, no flow control) and the TCP client socket.
  comm::TComPort ComPort;
  comm::TClientSocket ClientSocket;

  void Wire(const LinkPeers& peers);
  const LinkPeers& Peers() const { return peers_; }

  /// The link record; other windows set some of its fields directly.
  LinkRecord link;

  /// Plugs in the transport used while `LinkMode` is `mode` (100 or 101).
  void SetTransport(int32_t mode, LinkTransport* transport);

  /// Sends `text` unchanged (callers put the CR in), traces it as
  /// "Send_Message : " + text and empties word slots 0 to 1023.
  void SendGetData(std::string_view text);
  /// Sends `text` followed by one CR; no trace, no change to the word table.
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

  /// The transports as the main window drives them: whether the serial port
  /// is open, closing the serial port, closing the TCP connection (and making
  /// the socket inactive). Each does nothing when no such transport is set.
  bool SerialOpen() const;
  void CloseSerial();
  void CloseTcp();

  /// Appends one line to the trace.
  void Trace(std::string line);

 private:
  void ReceiveParsed(std::string_view bytes);
  void ReceiveStatus(std::string_view bytes, LineEnds ends);
  void StatusLine(std::string line);
  void AppendToWord(std::string_view run);
  /// A message text of the language file; empty when none is wired.
  std::string Message(lang::Msg m) const;

  void LoginAnswer(const LineWords& w);
  void ModelCheck(const LineWords& w);
  void SaveHandshake(const LineWords& w);
  void MapWan(const LineWords& w);
  void MapLan(const LineWords& w);
  void MapDns(const LineWords& w);
  void MapAutoUpgrade(const LineWords& w);
  void AutoUpgradeFields(config::ConfigPages& p, const LineWords& w);
  void MapService(const LineWords& w);
  void MapServicePort(const LineWords& w);
  void MapVersion(const LineWords& w);
  void MapVoip(const LineWords& w);
  void MapPstn(const LineWords& w);

  /// Writes of the two transports as the link sends through them.
  class SerialTransport : public LinkTransport {
   public:
    explicit SerialTransport(comm::TComPort& port) : port_(port) {}
    void Write(std::string_view bytes) override { port_.WriteText(bytes); }
    void Close() override { port_.Close(); }
    bool IsOpen() const override { return port_.Connected(); }

   private:
    comm::TComPort& port_;
  };
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
  /// One read from the serial port / the socket into the receive path.
  void ReadSerial(int count);
  /// False when nothing could be read.
  bool ReadTcp();
  /// Reads what arrived while a receive pass was running, until nothing waits.
  void ReadDeferred();
  /// Clears what an error left deferred, re-arming the socket's reads.
  void AbandonDeferred();

  LinkPeers peers_;
  SerialTransport serialTransport_{ComPort};
  TcpTransport tcpTransport_{ClientSocket};
  /// A receive pass is running: a read event nested in it (inside a message
  /// box or the script writer) leaves its bytes waiting and sets its flag, and
  /// the outer pass reads them when it is done, so lines keep arrival order.
  bool receiving_ = false;
  bool serialDeferred_ = false;
  bool tcpDeferred_ = false;
  /// The TCP connection attempt has failed (its error event or a disconnect).
  bool connectFailed_ = false;
  /// One past the highest slot of the table's first half that the receive
  /// path has filled since SendGetData last emptied that half: the slots from
  /// here to the half's end are empty already, so emptying skips them (a line
  /// rarely has more than a few words; a send empties 1024 slots).
  int tokensFilled_ = 0;
  LinkTransport* serial_ = nullptr;
  LinkTransport* tcp_ = nullptr;
};

}  // namespace devlink
