#include "devlink/connection.h"

#include "config/address_checks.h"

namespace devlink {

using platform::Colour;

namespace {
constexpr Colour kDisabledEdit = Colour::Sys(Colour::System::Light3D);
constexpr Colour kEnabledEdit = Colour::Sys(Colour::System::Window);
}  // namespace

TF_Connection::TF_Connection()
    : Form("F_Connection"),
      GB_Serial(this, "GB_Serial"),
      RB_Serial(&GB_Serial, "RB_Serial"),
      L_port(&GB_Serial, "L_port"),
      CB_Serial(&GB_Serial, "CB_Serial"),
      GB_TCP(this, "GB_TCP"),
      RB_TCP(&GB_TCP, "RB_TCP"),
      L_Host(&GB_TCP, "L_Host"),
      ED_host(&GB_TCP, "ED_host"),
      L_TCP_port(&GB_TCP, "L_TCP_port"),
      ED_TCP(&GB_TCP, "ED_TCP"),
      P_Buttons(this, "P_Buttons"),
      BB_Connect(&P_Buttons, "BB_Connect"),
      BB_Cancel(&P_Buttons, "BB_Cancel") {
  RB_Serial.SetChecked(true);
  L_Host.SetEnabled(false);
  ED_host.SetEnabled(false);
  ED_host.SetBackground(kDisabledEdit);
  L_TCP_port.SetEnabled(false);
  ED_TCP.SetText("514");
  ED_TCP.SetEnabled(false);
  ED_TCP.SetBackground(kDisabledEdit);
  BB_Connect.SetDefault(true);

  RB_Serial.onClick = [this] { RB_SerialClick(); };
  RB_TCP.onClick = [this] { RB_TCPClick(); };
  BB_Cancel.onClick = [this] { platform::Guard([this] { BB_CancelClick(); }); };
  // Cancel, the close box or anything else that closes the dialog while its
  // OK still waits gives the attempt up.
  onClose = [this] {
    if (attempt_ == Attempt::Running) AbandonAttempt();
  };
  pollLimit_.onTimer = [this] {
    pollLimit_.Stop();
    End(Conversation::Poll);
  };
  SetUpTransports();
}

TF_Connection::~TF_Connection() {
  // The link ends with the program: no close event reaches the other windows.
  ComPort.OnAfterOpen = nullptr;
  ComPort.OnAfterClose = nullptr;
  ComPort.OnRxChar = nullptr;
  ClientSocket.OnConnect = nullptr;
  ClientSocket.OnDisconnect = nullptr;
  ClientSocket.OnRead = nullptr;
  ClientSocket.OnError = nullptr;
  try {
    ComPort.Close();
  } catch (...) {
  }
}

void TF_Connection::Wire(const LinkPeers& peers) { peers_ = peers; }

void TF_Connection::RB_SerialClick() {
  L_port.SetEnabled(true);
  CB_Serial.SetEnabled(true);
  RB_TCP.SetChecked(false);
  ED_host.SetEnabled(false);
  ED_TCP.SetEnabled(false);
  ED_host.SetBackground(kDisabledEdit);
  ED_TCP.SetBackground(kDisabledEdit);
  L_Host.SetEnabled(false);
  L_TCP_port.SetEnabled(false);
}

void TF_Connection::RB_TCPClick() {
  L_port.SetEnabled(false);
  CB_Serial.SetEnabled(false);
  RB_Serial.SetChecked(false);
  ED_host.SetEnabled(true);
  ED_TCP.SetEnabled(true);
  ED_host.SetBackground(kEnabledEdit);
  ED_TCP.SetBackground(kEnabledEdit);
  L_Host.SetEnabled(true);
  L_TCP_port.SetEnabled(true);
}

void TF_Connection::BB_CancelClick() { Close(); }

void TF_Connection::SetTransport(int32_t mode, LinkTransport* transport) {
  if (mode == kLinkSerial) serial_ = transport;
  if (mode == kLinkTcp) tcp_ = transport;
}

void TF_Connection::SendGetData(std::string_view text) {
  link.TokenIndex = 0;
  Trace("Send_Message : " + std::string(text));
  // Slots 0 to 1023 are emptied; the second half is left as it is.
  for (int i = 0; i < tokensFilled_; ++i) link.Tokens[i].clear();
  tokensFilled_ = 0;
  if (link.LinkMode == kLinkSerial && serial_) serial_->Write(text);
  if (link.LinkMode == kLinkTcp && tcp_) tcp_->Write(text);
}

void TF_Connection::SendPutData(std::string_view text) {
  LinkTransport* t = link.LinkMode == kLinkSerial ? serial_ : link.LinkMode == kLinkTcp ? tcp_ : nullptr;
  if (!t) return;
  std::string line;
  line.reserve(text.size() + 1);
  line.append(text);
  line.push_back('\r');
  t->Write(line);
}

int TF_Connection::IndexOfStr(std::string_view text, std::string_view name) {
  const std::string_view prefix = text.substr(0, name.size());
  std::string line;
  line.reserve(prefix.size() + 3 + name.size());
  line.append(prefix).append(" : ").append(name);
  Trace(std::move(line));
  return prefix == name ? 0 : -1;
}

std::string TF_Connection::NumberToken(std::string_view text, char delimiter) {
  return std::string(text.substr(0, text.find(delimiter)));
}

std::string TF_Connection::Message(lang::Msg m) const {
  return peers_.messages ? (*peers_.messages)[m] : std::string();
}

std::string TF_Connection::Trim_Blank(std::string_view text) { return config::WithoutBlanks(text); }

bool TF_Connection::SerialOpen() const { return serial_ && serial_->IsOpen(); }

void TF_Connection::CloseSerial() {
  if (serial_) serial_->Close();
}

void TF_Connection::CloseTcp() {
  if (tcp_) tcp_->Close();
}

void TF_Connection::Trace(std::string line) {
  if (peers_.trace) peers_.trace->Add(std::move(line));
}

}  // namespace devlink
