#include "devlink/connection.h"

#include <charconv>
#include <string>

namespace devlink {

using platform::Colour;

namespace {

constexpr Colour kDisabledEdit = Colour::Sys(Colour::System::Light3D);
constexpr Colour kEnabledEdit = Colour::Sys(Colour::System::Window);

/// The port text as a decimal integer; anything else gives the default port.
int TcpPortNumber(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || stop != end) return TF_Connection::kDefaultTcpPort;
  return value;
}

}  // namespace

TF_Connection::TF_Connection(DeviceLink& link, LinkWindows& windows)
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
      BB_Cancel(&P_Buttons, "BB_Cancel"),
      link_(link),
      windows_(windows) {
  RB_Serial.SetChecked(true);
  ShowTransportChoice(true);
  ED_TCP.SetText(std::to_string(kDefaultTcpPort));
  BB_Connect.SetDefault(true);

  link_.Transport().BindPortList(CB_Serial);
  CB_Serial.SetComProperty(comm::TComProperty::cpPort);

  RB_Serial.onClick = [this] { RB_SerialClick(); };
  RB_TCP.onClick = [this] { RB_TCPClick(); };
  CB_Serial.onChange = [this] { platform::Guard([this] { CB_SerialChange(); }); };
  BB_Connect.onClick = [this] { platform::Guard([this] { BB_ConnectClick(); }); };
  BB_Cancel.onClick = [this] { platform::Guard([this] { BB_CancelClick(); }); };
  // A USB adapter plugged in after start is listed the next time the dialog
  // shows; the port chosen before stays chosen while it is present.
  onShow = [this] { CB_Serial.SetComProperty(comm::TComProperty::cpPort); };
  // Cancel, the close box or anything else that closes the dialog while its
  // OK still waits gives the attempt up.
  onClose = [this] {
    if (attempt_ == Attempt::Running) AbandonAttempt();
  };
}

void TF_Connection::RB_SerialClick() { ShowTransportChoice(true); }

void TF_Connection::RB_TCPClick() { ShowTransportChoice(false); }

void TF_Connection::ShowTransportChoice(bool serial) {
  const Colour hostFields = serial ? kDisabledEdit : kEnabledEdit;
  L_port.SetEnabled(serial);
  CB_Serial.SetEnabled(serial);
  (serial ? RB_TCP : RB_Serial).SetChecked(false);
  ED_host.SetEnabled(!serial);
  ED_TCP.SetEnabled(!serial);
  ED_host.SetBackground(hostFields);
  ED_TCP.SetBackground(hostFields);
  L_Host.SetEnabled(!serial);
  L_TCP_port.SetEnabled(!serial);
}

void TF_Connection::BB_CancelClick() { Close(); }

void TF_Connection::CB_SerialChange() { link_.Transport().SetSerialPortName(CB_Serial.Text()); }

void TF_Connection::BB_ConnectClick() {
  // OK pressed again while the probe or the connect waits does nothing.
  if (attempt_ != Attempt::None) return;
  struct Running {
    Attempt& attempt;
    ~Running() { attempt = Attempt::None; }
  } running{attempt_};
  attempt_ = Attempt::Running;
  if (RB_Serial.Checked()) {
    link_.OpenSerial();  // its error ends the handler; after-open has run when it returns
    const bool answered = Comport_Connected();
    if (AttemptAbandoned()) return;
    if (answered) {
      attempt_ = Attempt::None;  // done: closing the dialog now abandons nothing
      Close();
      windows_.ShowLogin();
    } else {
      platform::ShowMessageBox(windows_.Message(lang::Msg::CannotConnectEquipment), "Error",
                               platform::Icon::Error);
    }
  } else if (RB_TCP.Checked()) {
    if (ED_host.Text().empty() || ED_TCP.Text().empty()) {
      platform::ShowMessageBox(windows_.Message(lang::Msg::InputHostName), "Warning",
                               platform::Icon::Warning);
      return;
    }
    link_.ConnectTcp(ED_host.Text(), TcpPortNumber(ED_TCP.Text()));
    // Ends as soon as the attempt has an outcome; a slow network still gets
    // its time, where a fixed short wait would report a live gateway absent.
    platform::DelayUntil(connectWaitMs_,
                         [this] { return link_.TcpUp() || link_.TcpFailed() || AttemptAbandoned(); });
    if (AttemptAbandoned()) return;
    if (link_.TcpUp()) {
      attempt_ = Attempt::None;
      Close();
      windows_.ShowLogin();
    } else {
      // Given up: a connection the kernel would still make later must never
      // show as connected without a login.
      link_.AbandonOpen();
      platform::ShowMessageBox(windows_.Message(lang::Msg::CannotConnectHost), "Error",
                               platform::Icon::Error);
    }
  }
}

bool TF_Connection::AttemptAbandoned() const {
  const bool serialGone = link_.Transport().Chosen() == TransportKind::Serial && !link_.SerialOpen();
  return attempt_ == Attempt::Abandoned || (attempt_ == Attempt::Running && serialGone);
}

void TF_Connection::AbandonAttempt() {
  attempt_ = Attempt::Abandoned;
  link_.AbandonOpen();
}

bool TF_Connection::Comport_Connected() {
  // A port closed meanwhile (Cancel, Disconnect, the device gone) ends the
  // probe: nothing more is written to it.
  return link_.ProbeSerial([this] { return AttemptAbandoned(); });
}

}  // namespace devlink
