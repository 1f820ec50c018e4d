// The transports: setting up the port and the socket, opening and closing
// them, their events, and their read events in arrival order.
#include "devlink/transports.h"

#include <algorithm>
#include <utility>

namespace devlink {

Transports::Transports(TransportEvents& events) : events_(events) {
  SetUpPort();
  SetUpSocket();
  heldRead_.onTimer = [this] { ReadHeldBytes(); };
}

Transports::~Transports() {
  // The link ends with the program: no close event reaches the windows.
  port_.OnAfterOpen = nullptr;
  port_.OnAfterClose = nullptr;
  port_.OnRxChar = nullptr;
  socket_.OnConnect = nullptr;
  socket_.OnDisconnect = nullptr;
  socket_.OnRead = nullptr;
  socket_.OnError = nullptr;
  try {
    port_.Close();
  } catch (...) {
  }
}

void Transports::SetUpPort() {
  port_.SetBaudRate(comm::TBaudRate::br9600);
  port_.SetDataBits(comm::TDataBits::dbEight);
  port_.Parity().SetBits(comm::TParityBits::prNone);
  port_.SetStopBits(comm::TStopBits::sbOneStopBit);
  comm::TComFlowControl& flow = port_.FlowControl();
  flow.SetOutCTSFlow(false);
  flow.SetOutDSRFlow(false);
  flow.SetControlDTR(comm::TDTRFlowControl::dtrDisable);
  flow.SetControlRTS(comm::TRTSFlowControl::rtsDisable);
  flow.SetXonXoffOut(false);
  flow.SetXonXoffIn(false);
  port_.Buffer().SetInputSize(5118);
  port_.Buffer().SetOutputSize(5118);
  port_.SetEvents(comm::kAllComEvents);
  port_.OnAfterOpen = [this] { events_.TransportOpened(TransportKind::Serial); };
  port_.OnAfterClose = [this] { events_.TransportClosed(TransportKind::Serial); };
  port_.OnRxChar = [this](int count) { ComPortRxChar(count); };
}

void Transports::SetUpSocket() {
  socket_.OnConnect = [this](comm::TClientWinSocket&) { events_.TransportOpened(TransportKind::Tcp); };
  socket_.OnDisconnect = [this](comm::TClientWinSocket&) { ReportClosed(TransportKind::Tcp); };
  socket_.OnRead = [this](comm::TClientWinSocket&) { ClientSocketRead(); };
  // Every error the socket reports is swallowed here; a failed attempt is noted.
  socket_.OnError = [this](comm::TClientWinSocket&, comm::TErrorEvent event, int& errorCode) {
    if (event == comm::TErrorEvent::eeConnect) connectFailed_ = true;
    errorCode = 0;
  };
}

void Transports::TcpTransport::Write(std::string_view bytes) {
  if (holdDepth_ > 0)
    held_.append(bytes);
  else
    socket_.Socket().TransmitText(bytes);
}

void Transports::TcpTransport::ReleaseWrites() {
  if (--holdDepth_ > 0 || held_.empty()) return;
  socket_.Socket().TransmitText(std::exchange(held_, std::string()));
}

void Transports::TcpTransport::Close() {
  if (!held_.empty() && socket_.Active()) socket_.Socket().TransmitText(std::exchange(held_, std::string()));
  held_.clear();
  socket_.Close();
}

LinkTransport* Transports::Current() const {
  switch (chosen_) {
    case TransportKind::Serial: return serial_;
    case TransportKind::Tcp: return tcp_;
    case TransportKind::None: break;
  }
  return nullptr;
}

void Transports::Plug(TransportKind kind, LinkTransport* transport) {
  if (kind == TransportKind::Serial) serial_ = transport;
  if (kind == TransportKind::Tcp) tcp_ = transport;
}

void Transports::ReportClosed(TransportKind kind) {
  if (kind == TransportKind::Tcp) connectFailed_ = true;
  events_.TransportClosed(kind);
}

void Transports::OpenSerial() {
  port_.Open();
  chosen_ = TransportKind::Serial;
}

void Transports::ConnectTcp(const std::string& host, int port) {
  chosen_ = TransportKind::Tcp;
  socket_.SetAddress(host);
  socket_.SetPort(port);
  connectFailed_ = false;
  socket_.Open();
}

bool Transports::TcpUp() const { return socket_.Active(); }

void Transports::AbandonOpen() {
  if (chosen_ == TransportKind::Serial)
    CloseSerialPort();
  else if (chosen_ == TransportKind::Tcp)
    socket_.Abandon();  // a connection that would come up later never does
}

bool Transports::SerialOpen() const { return serial_ && serial_->IsOpen(); }

void Transports::CloseSerial() {
  if (serial_) serial_->Close();
}

bool Transports::ChosenOpen() const {
  LinkTransport* t = Current();
  return t && t->IsOpen();
}

void Transports::Write(std::string_view bytes) {
  if (LinkTransport* t = Current()) t->Write(bytes);
}

void Transports::CloseChosen() {
  if (LinkTransport* t = Current()) t->Close();
}

void Transports::SetSerialPortName(const std::string& name) { port_.SetPort(name); }
std::string Transports::SerialPortName() const { return port_.Port(); }
void Transports::BindPortList(comm::TComComboBox& list) { list.SetComPort(&port_); }
int Transports::TcpPort() const { return socket_.Port(); }

bool Transports::Drained() {
  const bool tcpIdle = !socket_.Active() || socket_.Socket().ReceiveBytes(nullptr, -1) == 0;
  const bool serialIdle = !port_.Connected() || port_.PendingInputCount() == 0;
  return tcpIdle && serialIdle;
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

void Transports::ComPortRxChar(int count) {
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

void Transports::ClientSocketRead() {
  if (receiving_) {
    tcpDeferred_ = true;  // unread, so the socket reports no further reads
    return;
  }
  auto onEnd = [this] { AbandonDeferred(); };
  PassScope pass(receiving_, onEnd);
  ReadTcp();
  ReadDeferred();
}

void Transports::ReadSerial(int count) {
  char buffer[kReceiveBuffer];
  const int n = port_.ReadBytes(buffer, std::min(count, kReceiveBuffer));
  if (n <= 0) return;
  events_.BytesReceived(std::string_view(buffer, size_t(n)), LineEnds::Serial);
}

bool Transports::ReadTcp() {
  char buffer[kReceiveBuffer];
  const int n = socket_.Socket().ReceiveBytes(buffer, kReceiveBuffer);
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
  events_.BytesReceived(std::string_view(buffer, size_t(n)), LineEnds::Tcp);
  return true;
}

void Transports::ReadDeferred() {
  while (serialDeferred_ || tcpDeferred_) {
    if (tcpDeferred_) {
      tcpDeferred_ = false;
      while (ReadTcp()) {
      }
    }
    if (serialDeferred_) {
      serialDeferred_ = false;
      while (port_.Connected()) {
        const int waiting = port_.PendingInputCount();
        if (waiting <= 0) break;
        ReadSerial(waiting);
      }
    }
  }
}

void Transports::AbandonDeferred() {
  // Only left set when an error ended the pass. A socket that was not read
  // reports no further reads until it is: an empty read re-arms it. The
  // serial port reports again when more bytes arrive.
  serialDeferred_ = false;
  if (std::exchange(tcpDeferred_, false)) {
    char none;
    socket_.Socket().ReceiveBytes(&none, 0);
  }
}

}  // namespace devlink
