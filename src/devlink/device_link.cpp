// The link's two ways to talk to the gateway and its small text operations.
#include "devlink/device_link.h"

#include "config/address_checks.h"

namespace devlink {

DeviceLink::DeviceLink(LinkWindows& windows, config::ConfigPages& pages) : windows_(windows), pages_(pages) {
  pollLimit_.onTimer = [this] {
    pollLimit_.Stop();
    if (queue_.Running() == Conversation::Poll)
      Finish(Outcome::TimedOut,
             "the status did not end within " + std::to_string(kPollLimitMs / 1000) + " s");
  };
  SetUpTransports();
}

DeviceLink::~DeviceLink() {
  // The link ends with the program: no close event reaches the windows.
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

void DeviceLink::SetTransport(int32_t mode, LinkTransport* transport) {
  if (mode == kLinkSerial) serial_ = transport;
  if (mode == kLinkTcp) tcp_ = transport;
}

LinkTransport* DeviceLink::ChosenTransport() const {
  if (record_.LinkMode == kLinkSerial) return serial_;
  if (record_.LinkMode == kLinkTcp) return tcp_;
  return nullptr;
}

void DeviceLink::SendGetData(std::string_view text) {
  record_.TokenIndex = 0;
  windows_.Trace("Send_Message : " + std::string(text));
  // Slots 0 to 1023 are emptied; the second half is left as it is.
  for (int i = 0; i < tokensFilled_; ++i) record_.Tokens[i].clear();
  tokensFilled_ = 0;
  if (LinkTransport* t = ChosenTransport()) {
    queue_.Activity();
    t->Write(text);
  }
}

void DeviceLink::SendPutData(std::string_view text) {
  LinkTransport* t = ChosenTransport();
  if (!t) return;
  std::string line;
  line.reserve(text.size() + 1);
  line.append(text);
  line.push_back('\r');
  queue_.Activity();
  t->Write(line);
  windows_.Untraced(LinkWindows::Traffic::Sent, text);
}

int DeviceLink::IndexOfStr(std::string_view text, std::string_view name) {
  const std::string_view prefix = text.substr(0, name.size());
  std::string line;
  line.reserve(prefix.size() + 3 + name.size());
  line.append(prefix).append(" : ").append(name);
  windows_.Trace(std::move(line));
  return prefix == name ? 0 : -1;
}

std::string DeviceLink::NumberToken(std::string_view text, char delimiter) {
  return std::string(text.substr(0, text.find(delimiter)));
}

std::string DeviceLink::Trim_Blank(std::string_view text) { return config::WithoutBlanks(text); }

}  // namespace devlink
