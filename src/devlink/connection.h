#pragma once
// The connection dialog `F_Connection`: the user chooses the serial port or
// TCP/IP and presses OK; the dialog asks the device link to open that
// transport (probing a serial gateway) and, once it answers, closes and shows
// the login dialog. It holds only its controls and their rules.
#include <cstdint>

#include "comm/com_combo_box.h"
#include "devlink/device_link.h"
#include "devlink/link_windows.h"
#include "platform/ui/toolkit.h"

namespace devlink {

class TF_Connection : public platform::Form {
 public:
  /// `link` and `windows` must outlive the dialog.
  TF_Connection(DeviceLink& link, LinkWindows& windows);

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

  /// Longest the probe waits for the gateway's answer to "?", and the TCP
  /// connect for the connection; both end as soon as the outcome is known.
  static constexpr uint32_t kProbeWaitMs = DeviceLink::kProbeWaitMs;
  static constexpr uint32_t kConnectWaitMs = 5000;
  /// The gateway's console port, the port field's start value.
  static constexpr int kDefaultTcpPort = 514;
  /// How long OK waits for a TCP connection (kConnectWaitMs unless changed).
  void SetConnectWait(uint32_t ms) { connectWaitMs_ = ms; }

 private:
  /// OK's attempt to open a transport runs until its outcome is known.
  /// Cancel, the close box, Disconnect or the port closing abandon it: no
  /// message and no login dialog follow.
  enum class Attempt { None, Running, Abandoned };
  /// Abandoned by the user, or the serial port closed under the probe.
  bool AttemptAbandoned() const;
  void AbandonAttempt();
  /// The serial port's fields usable and the TCP fields not, or the reverse;
  /// the other radio unchecked (the two sit in different frames).
  void ShowTransportChoice(bool serial);

  DeviceLink& link_;
  LinkWindows& windows_;
  Attempt attempt_ = Attempt::None;
  uint32_t connectWaitMs_ = kConnectWaitMs;
};

}  // namespace devlink
