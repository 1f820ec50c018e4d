// The two transports of the link: the serial port and the TCP client socket,
// the dialog's OK that opens one of them (with the serial probe), their
// open, close, connect, disconnect and error events, and their read events.
#include <algorithm>
#include <charconv>
#include <string>
#include <utility>

#include "devlink/connection.h"

namespace devlink {

namespace {

constexpr int kDefaultTcpPort = 514;
constexpr uint32_t kProbeFirstWaitMs = 100;
constexpr int kProbeEscapes = 10;

/// The port text as a decimal integer; anything else gives the default port.
int TcpPortNumber(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || stop != end) return kDefaultTcpPort;
  return value;
}

}  // namespace

void TF_Connection::SetUpTransports() {
  ComPort.SetBaudRate(comm::TBaudRate::br9600);
  ComPort.SetDataBits(comm::TDataBits::dbEight);
  ComPort.Parity().SetBits(comm::TParityBits::prNone);
  ComPort.SetStopBits(comm::TStopBits::sbOneStopBit);
  comm::TComFlowControl& flow = ComPort.FlowControl();
  flow.SetOutCTSFlow(false);
  flow.SetOutDSRFlow(false);
  flow.SetControlDTR(comm::TDTRFlowControl::dtrDisable);
  flow.SetControlRTS(comm::TRTSFlowControl::rtsDisable);
  flow.SetXonXoffOut(false);
  flow.SetXonXoffIn(false);
  ComPort.Buffer().SetInputSize(5118);
  ComPort.Buffer().SetOutputSize(5118);
  ComPort.SetEvents(comm::kAllComEvents);
  ComPort.OnAfterOpen = [this] { ComPortAfterOpen(); };
  ComPort.OnAfterClose = [this] { ComPortAfterClose(); };
  ComPort.OnRxChar = [this](int count) { ComPortRxChar(count); };

  ClientSocket.OnConnect = [this](comm::TClientWinSocket& s) { ClientSocketConnect(s); };
  ClientSocket.OnDisconnect = [this](comm::TClientWinSocket& s) { ClientSocketDisconnect(s); };
  ClientSocket.OnRead = [this](comm::TClientWinSocket& s) { ClientSocketRead(s); };
  ClientSocket.OnError = [this](comm::TClientWinSocket& s, comm::TErrorEvent e, int& code) {
    ClientSocketError(s, e, code);
  };

  CB_Serial.SetComPort(&ComPort);
  CB_Serial.SetComProperty(comm::TComProperty::cpPort);
  // A USB adapter plugged in after start is listed the next time the dialog
  // shows; the port chosen before stays chosen while it is present.
  onShow = [this] { CB_Serial.SetComProperty(comm::TComProperty::cpPort); };
  CB_Serial.onChange = [this] { platform::Guard([this] { CB_SerialChange(); }); };
  BB_Connect.onClick = [this] { platform::Guard([this] { BB_ConnectClick(); }); };

  serial_ = &serialTransport_;
  heldRead_.onTimer = [this] { ReadHeldBytes(); };
  tcp_ = &tcpTransport_;
}

void TF_Connection::TcpTransport::Write(std::string_view bytes) {
  if (holdDepth_ > 0)
    held_.append(bytes);
  else
    socket_.Socket().TransmitText(bytes);
}

void TF_Connection::TcpTransport::ReleaseWrites() {
  if (--holdDepth_ > 0 || held_.empty()) return;
  socket_.Socket().TransmitText(std::exchange(held_, std::string()));
}

void TF_Connection::CB_SerialChange() { ComPort.SetPort(CB_Serial.Text()); }

void TF_Connection::BB_ConnectClick() {
  // OK pressed again while the probe or the connect waits does nothing.
  if (attempt_ != Attempt::None) return;
  struct Running {
    Attempt& attempt;
    ~Running() { attempt = Attempt::None; }
  } running{attempt_};
  attempt_ = Attempt::Running;
  if (RB_Serial.Checked()) {
    ComPort.Open();  // its error ends the handler; after-open has run when it returns
    link.LinkMode = kLinkSerial;
    const bool answered = Comport_Connected();
    if (AttemptAbandoned()) return;
    if (answered) {
      attempt_ = Attempt::None;  // done: closing the dialog now abandons nothing
      Close();
      if (peers_.login) peers_.login->Show();
    } else {
      platform::ShowMessageBox(Message(lang::Msg::CannotConnectEquipment), "Error", platform::Icon::Error);
    }
  } else if (RB_TCP.Checked()) {
    if (ED_host.Text().empty() || ED_TCP.Text().empty()) {
      platform::ShowMessageBox(Message(lang::Msg::InputHostName), "Warning", platform::Icon::Warning);
      return;
    }
    link.LinkMode = kLinkTcp;
    ClientSocket.SetAddress(ED_host.Text());
    ClientSocket.SetPort(TcpPortNumber(ED_TCP.Text()));
    connectFailed_ = false;
    ClientSocket.Open();
    // Ends as soon as the attempt has an outcome; a slow network still gets
    // its time, where a fixed short wait would report a live gateway absent.
    platform::DelayUntil(kConnectWaitMs,
                         [this] { return ClientSocket.Active() || connectFailed_ || AttemptAbandoned(); });
    if (AttemptAbandoned()) return;
    if (ClientSocket.Active()) {
      attempt_ = Attempt::None;
      Close();
      if (peers_.login) peers_.login->Show();
    } else {
      platform::ShowMessageBox(Message(lang::Msg::CannotConnectHost), "Error", platform::Icon::Error);
    }
  }
}

void TF_Connection::AbandonAttempt() {
  attempt_ = Attempt::Abandoned;
  if (link.LinkMode == kLinkSerial)
    ComPort.Close();
  else if (link.LinkMode == kLinkTcp)
    ClientSocket.Abandon();
}

bool TF_Connection::Comport_Connected() {
  link.ProbeAnswered = false;
  SendGetData("\r");
  SendGetData("\r");
  SendGetData("end\r");
  SendGetData("exit\r");
  // A port closed meanwhile (Cancel, Disconnect, the device gone) ends the
  // probe: nothing more is written to it.
  if (platform::DelayUntil(kProbeFirstWaitMs, [this] { return AttemptAbandoned(); })) return false;
  for (int i = 0; i < kProbeEscapes; ++i) SendGetData("\x1b");
  SendGetData("\r");
  SendGetData("?");
  // The answer to "?" takes longer than 100 ms on the wire at 9600 baud, so
  // the wait lasts until it has been interpreted, within a bound.
  platform::DelayUntil(kProbeWaitMs, [this] { return link.ProbeAnswered || AttemptAbandoned(); });
  return link.ProbeAnswered && !AttemptAbandoned();
}

void TF_Connection::ComPortAfterOpen() {
  Trace("Connected...");
  if (peers_.connect) peers_.connect->Hide();
  if (peers_.disconnect) peers_.disconnect->Show();
}

void TF_Connection::ComPortAfterClose() {
  // The port closing under a running probe ends that attempt.
  if (attempt_ == Attempt::Running && link.LinkMode == kLinkSerial) attempt_ = Attempt::Abandoned;
  ShowDisconnected();
}

void TF_Connection::ShowDisconnected() {
  Trace("Disconnected...");
  // Nothing more comes from this transport: no conversation waits for it,
  // and the status polling stops until the user chooses the page again.
  ConversationsClosed();
  if (peers_.polling) peers_.polling->Stop();
  if (peers_.restart) peers_.restart->SetEnabled(false);
  AllowSave(false);
  if (peers_.connect) peers_.connect->Show();
  if (peers_.disconnect) peers_.disconnect->Hide();
}

void TF_Connection::ClientSocketConnect(comm::TClientWinSocket&) {
  Trace("Connected...");
  AllowSave(true);
  if (peers_.restart) peers_.restart->SetEnabled(true);
  if (peers_.connect) peers_.connect->Hide();
  if (peers_.disconnect) peers_.disconnect->Show();
}

void TF_Connection::ClientSocketDisconnect(comm::TClientWinSocket&) {
  connectFailed_ = true;
  ShowDisconnected();
}

void TF_Connection::ClientSocketError(comm::TClientWinSocket&, comm::TErrorEvent event, int& errorCode) {
  if (event == comm::TErrorEvent::eeConnect) connectFailed_ = true;
  errorCode = 0;
}

namespace {
/// Marks a receive pass as running for the lifetime of the object.
template <typename OnEnd>
class PassScope {
 public:
  PassScope(bool& running, OnEnd onEnd) : running_(running), onEnd_(onEnd) { running_ = true; }
  ~PassScope() {
    running_ = false;
    onEnd_();
  }
  PassScope(const PassScope&) = delete;
  PassScope& operator=(const PassScope&) = delete;

 private:
  bool& running_;
  OnEnd onEnd_;
};
}  // namespace

void TF_Connection::ComPortRxChar(int count) {
  if (receiving_ || serialWriting_) {
    serialDeferred_ = true;  // the bytes wait in the port until the pass or write is done
    return;
  }
  auto onEnd = [this] { AbandonDeferred(); };
  PassScope pass(receiving_, onEnd);
  ReadSerial(count);
  // Bytes that came in while this pass ran (the gateway answers a query the
  // interpreter sent) are reported by the port again once this event returns.
  ReadDeferred();
}

void TF_Connection::ClientSocketRead(comm::TClientWinSocket&) {
  if (receiving_) {
    tcpDeferred_ = true;  // unread, so the socket reports no further reads
    return;
  }
  auto onEnd = [this] { AbandonDeferred(); };
  PassScope pass(receiving_, onEnd);
  ReadTcp();
  ReadDeferred();
}

void TF_Connection::ReadSerial(int count) {
  char buffer[kReceiveBuffer];
  const int n = ComPort.ReadBytes(buffer, std::min(count, kReceiveBuffer));
  if (n > 0) Receive(std::string_view(buffer, size_t(n)), LineEnds::Serial);
}

bool TF_Connection::ReadTcp() {
  char buffer[kReceiveBuffer];
  const int n = ClientSocket.Socket().ReceiveBytes(buffer, kReceiveBuffer);
  if (n <= 0) return false;
  struct HeldWrites {
    TcpTransport& tcp;
    explicit HeldWrites(TcpTransport& t) : tcp(t) { tcp.HoldWrites(); }
    ~HeldWrites() {
      try {
        tcp.ReleaseWrites();
      } catch (...) {  // the interpreter's own error, if any, is the one to report
      }
    }
  } held(tcpTransport_);
  Receive(std::string_view(buffer, size_t(n)), LineEnds::Tcp);
  return true;
}

void TF_Connection::ReadDeferred() {
  while (serialDeferred_ || tcpDeferred_) {
    if (tcpDeferred_) {
      tcpDeferred_ = false;
      while (ReadTcp()) {
      }
    }
    if (serialDeferred_) {
      serialDeferred_ = false;
      while (ComPort.Connected()) {
        const int waiting = ComPort.PendingInputCount();
        if (waiting <= 0) break;
        ReadSerial(waiting);
      }
    }
  }
}

void TF_Connection::AbandonDeferred() {
  // Only left set when an error ended the pass. A socket that was not read
  // reports no further reads until it is: an empty read re-arms it. The
  // serial port reports again when more bytes arrive.
  serialDeferred_ = false;
  if (std::exchange(tcpDeferred_, false)) {
    char none;
    ClientSocket.Socket().ReceiveBytes(&none, 0);
  }
}

}  // namespace devlink
