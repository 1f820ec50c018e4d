// The two transports of the link: the serial port and the TCP client socket,
// opening them for the connection dialog, their open, close, connect,
// disconnect and error events, and their read events.
#include <algorithm>
#include <string>
#include <utility>

#include "devlink/device_link.h"

namespace devlink {

void DeviceLink::SetUpTransports() {
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

  serial_ = &serialTransport_;
  heldRead_.onTimer = [this] { ReadHeldBytes(); };
  tcp_ = &tcpTransport_;
}

void DeviceLink::TcpTransport::Write(std::string_view bytes) {
  if (holdDepth_ > 0)
    held_.append(bytes);
  else
    socket_.Socket().TransmitText(bytes);
}

void DeviceLink::TcpTransport::ReleaseWrites() {
  if (--holdDepth_ > 0 || held_.empty()) return;
  socket_.Socket().TransmitText(std::exchange(held_, std::string()));
}

void DeviceLink::TcpTransport::Close() {
  if (!held_.empty() && socket_.Active()) socket_.Socket().TransmitText(std::exchange(held_, std::string()));
  held_.clear();
  socket_.Close();
}

void DeviceLink::OpenSerial() {
  ComPort.Open();
  record_.LinkMode = kLinkSerial;
}

void DeviceLink::ConnectTcp(const std::string& host, int port) {
  record_.LinkMode = kLinkTcp;
  ClientSocket.SetAddress(host);
  ClientSocket.SetPort(port);
  connectFailed_ = false;
  ClientSocket.Open();
}

void DeviceLink::AbandonOpen() {
  closeAsked_ = true;
  if (record_.LinkMode == kLinkSerial)
    CloseSerialPort();
  else if (record_.LinkMode == kLinkTcp)
    ClientSocket.Abandon();  // a connection that would come up later never does
}

bool DeviceLink::SerialOpen() const { return serial_ && serial_->IsOpen(); }

void DeviceLink::CloseSerial() {
  if (serial_) serial_->Close();
}

void DeviceLink::ComPortAfterOpen() {
  closeAsked_ = readOutStopped_ = false;
  windows_.Trace("Connected...");
  windows_.ShowSerialConnected();
}

void DeviceLink::ComPortAfterClose() { ShowDisconnected(); }

void DeviceLink::ShowDisconnected() {
  windows_.Trace("Disconnected...");
  // Nothing more comes from this transport: no conversation waits for it,
  // and the status polling stops until the user chooses the page again.
  AllowSave(false);
  ConversationsClosed();
  windows_.ShowDisconnected();
}

void DeviceLink::ClientSocketConnect(comm::TClientWinSocket&) {
  closeAsked_ = readOutStopped_ = false;
  windows_.Trace("Connected...");
  AllowSave(true);
  windows_.ShowTcpConnected();
}

void DeviceLink::ClientSocketDisconnect(comm::TClientWinSocket&) {
  connectFailed_ = true;
  ShowDisconnected();
}

void DeviceLink::ClientSocketError(comm::TClientWinSocket&, comm::TErrorEvent event, int& errorCode) {
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

void DeviceLink::ComPortRxChar(int count) {
  if (serialClosing_) return;  // what a closing port still hands over is not read
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

void DeviceLink::ClientSocketRead(comm::TClientWinSocket&) {
  if (receiving_) {
    tcpDeferred_ = true;  // unread, so the socket reports no further reads
    return;
  }
  auto onEnd = [this] { AbandonDeferred(); };
  PassScope pass(receiving_, onEnd);
  ReadTcp();
  ReadDeferred();
}

void DeviceLink::ReadSerial(int count) {
  char buffer[kReceiveBuffer];
  const int n = ComPort.ReadBytes(buffer, std::min(count, kReceiveBuffer));
  if (n <= 0) return;
  windows_.Untraced(LinkWindows::Traffic::Received, std::string_view(buffer, size_t(n)));
  Receive(std::string_view(buffer, size_t(n)), LineEnds::Serial);
}

bool DeviceLink::ReadTcp() {
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
  windows_.Untraced(LinkWindows::Traffic::Received, std::string_view(buffer, size_t(n)));
  Receive(std::string_view(buffer, size_t(n)), LineEnds::Tcp);
  return true;
}

void DeviceLink::ReadDeferred() {
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

void DeviceLink::AbandonDeferred() {
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
