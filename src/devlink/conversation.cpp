// One conversation with the gateway at a time: the read-out, a save and a
// status poll each run from their first line to the reply that ends them.
// A save or a poll asked for meanwhile waits and starts as soon as the
// running one has ended. The windows ask through the verbs here and never set
// the link record themselves.
#include <exception>
#include <utility>

#include "config/login_reset.h"
#include "devlink/device_link.h"

namespace devlink {

namespace {
constexpr int kGridRows = 2;  // the title row and one port row
}  // namespace

void DeviceLink::ResetForConnect() {
  record_.StartTagCount = 0;
  record_.EndTagCount = 0;
  pages_.SG_VoIP_Phone_number.SetRowCount(kGridRows);
  record_.VoicePortRow = 0;
  record_.PotsPeerCount = 0;
  record_.PatternCount = 0;
  record_.StatusMode = false;
  record_.StatusFollowUp = false;
  ConversationsClosed();
}

void DeviceLink::SendLogin(std::string_view id, std::string_view password) {
  record_.StartVoipReadOut();
  config::ClearLoginFields(pages_);  // the grid back to one port row among them
  // A new login supersedes whatever ran: its replies are the ones to read.
  saveWaiting_ = false;
  pollWaiting_.reset();
  Begin(Conversation::ReadOut);
  std::string line = "start-login ";
  line.append(id).append(" ").append(password).append("\r");
  SendGetData(line);
  ClearData();
  // Read the answer as the login's even before its echo arrives.
  record_.ReplyState = reply::kLogin;
}

void DeviceLink::LeaveStatusMode() {
  if (conversation_ != Conversation::Poll) record_.StatusMode = false;
}

void DeviceLink::BeginSave() {
  saveWaiting_ = true;
  StartWaiting();
}

void DeviceLink::Poll(PollStart start) {
  pollWaiting_ = start;
  StartWaiting();
}

void DeviceLink::CancelPoll() { pollWaiting_.reset(); }

void DeviceLink::Reboot() {
  record_.StatusMode = false;
  std::exception_ptr failed;
  try {
    SendGetData("reboot-system\r");
  } catch (...) {
    failed = std::current_exception();
  }
  if (LinkTransport* t = ChosenTransport()) t->Close();
  if (failed) std::rethrow_exception(failed);
}

void DeviceLink::Disconnect() {
  if (record_.LinkMode == kLinkSerial) SendGetData("end-morvel\r");
  if (LinkTransport* t = ChosenTransport()) t->Close();
}

void DeviceLink::SendEnd() {
  if (SerialOpen()) SendGetData("end-morvel\r");
}

void DeviceLink::SendTyped(std::string_view text) {
  SendGetData(std::string(text) + "\r");
  record_.ReplyState = reply::kWan;
}

void DeviceLink::Begin(Conversation c) {
  conversation_ = c;
  ApplySaveLook();
  if (c == Conversation::Save) ShowSaveProgress(0);
}

void DeviceLink::End(Conversation c) {
  if (conversation_ != c) return;
  conversation_ = Conversation::None;
  pollLimit_.Stop();
  if (c == Conversation::Save) windows_.HideSaveProgress();
  ApplySaveLook();
  StartWaiting();
}

void DeviceLink::StartWaiting() {
  if (conversation_ != Conversation::None) return;
  // The user's save goes before a poll.
  if (std::exchange(saveWaiting_, false)) {
    StartSave();
  } else if (pollWaiting_) {
    const PollStart start = *pollWaiting_;
    pollWaiting_.reset();
    StartPoll(start);
  }
}

void DeviceLink::StartSave() {
  record_.StatusMode = false;
  record_.StartTagCount = 0;
  record_.EndTagCount = 0;
  record_.ReplyState = reply::kSave;
  saveEchoPending_ = true;
  Begin(Conversation::Save);
  try {
    SendGetData("\r");
    SendGetData("write-system\r");
    SendGetData("!START-TAG!\r");
  } catch (...) {
    End(Conversation::Save);  // the gateway got no whole request: nothing to wait for
    throw;
  }
}

void DeviceLink::StartPoll(PollStart start) {
  LinkTransport* t = ChosenTransport();
  if (!t || !t->IsOpen()) return;
  platform::Memo& memo = pages_.M_State_Info;
  memo.Clear();
  if (start == PollStart::Tick) memo.Add(std::string());
  record_.StatusMode = true;
  record_.StatusFollowUp = true;
  gatekeeperStatusSeen_ = false;
  Begin(Conversation::Poll);
  pollLimit_.Start();
  try {
    SendGetData("get-wan-status\r");
  } catch (...) {
    End(Conversation::Poll);
    throw;
  }
}

void DeviceLink::PollLine(std::string_view trimmed) {
  if (conversation_ != Conversation::Poll) return;
  if (trimmed == "get-gatekeeper-status")
    gatekeeperStatusSeen_ = true;
  else if (trimmed == "!END-TAG!" && gatekeeperStatusSeen_)
    End(Conversation::Poll);
}

void DeviceLink::AllowSave(bool allowed) {
  saveAllowed_ = allowed;
  ApplySaveLook();
}

void DeviceLink::ApplySaveLook() {
  windows_.EnableSave(saveAllowed_ && conversation_ != Conversation::ReadOut);
}

void DeviceLink::ConversationsClosed() {
  saveWaiting_ = false;
  pollWaiting_.reset();
  End(conversation_);
}

}  // namespace devlink
