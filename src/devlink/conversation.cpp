// One conversation with the gateway at a time: the read-out, a save and a
// status poll each run from their first line to the reply that ends them.
// A save or a poll asked for meanwhile waits and starts as soon as the
// running one has ended. The windows ask through the verbs here and never set
// the link record themselves.
#include <exception>
#include <utility>

#include "config/login_reset.h"
#include "devlink/connection.h"

namespace devlink {

namespace {
constexpr int kGridRows = 2;  // the title row and one port row
}  // namespace

void TF_Connection::ResetForConnect() {
  link.StartTagCount = 0;
  link.EndTagCount = 0;
  if (peers_.pages) peers_.pages->SG_VoIP_Phone_number.SetRowCount(kGridRows);
  link.VoicePortRow = 0;
  link.PotsPeerCount = 0;
  link.PatternCount = 0;
  link.StatusMode = false;
  link.StatusFollowUp = false;
  ConversationsClosed();
}

void TF_Connection::SendLogin(std::string_view id, std::string_view password) {
  if (peers_.pages) peers_.pages->SG_VoIP_Phone_number.SetRowCount(kGridRows);
  link.StartVoipReadOut();
  if (peers_.pages) config::ClearLoginFields(*peers_.pages);
  // A new login supersedes whatever ran: its replies are the ones to read.
  saveWaiting_ = false;
  pollWaiting_.reset();
  Begin(Conversation::ReadOut);
  std::string line = "start-login ";
  line.append(id).append(" ").append(password).append("\r");
  SendGetData(line);
  ClearData();
  // Read the answer as the login's even before its echo arrives.
  link.ReplyState = reply::kLogin;
}

void TF_Connection::LeaveStatusMode() {
  if (conversation_ != Conversation::Poll) link.StatusMode = false;
}

void TF_Connection::BeginSave() {
  saveWaiting_ = true;
  StartWaiting();
}

void TF_Connection::Poll(PollStart start) {
  pollWaiting_ = start;
  StartWaiting();
}

void TF_Connection::CancelPoll() { pollWaiting_.reset(); }

void TF_Connection::Reboot() {
  link.StatusMode = false;
  std::exception_ptr failed;
  try {
    SendGetData("reboot-system\r");
  } catch (...) {
    failed = std::current_exception();
  }
  if (link.LinkMode == kLinkSerial)
    CloseSerial();
  else if (link.LinkMode == kLinkTcp)
    CloseTcp();
  if (failed) std::rethrow_exception(failed);
}

void TF_Connection::Disconnect() {
  if (link.LinkMode == kLinkSerial) {
    SendGetData("end-morvel\r");
    CloseSerial();
  } else if (link.LinkMode == kLinkTcp) {
    CloseTcp();
  }
}

void TF_Connection::SendEnd() {
  if (SerialOpen()) SendGetData("end-morvel\r");
}

void TF_Connection::SendTyped(std::string_view text) {
  SendGetData(std::string(text) + "\r");
  link.ReplyState = reply::kWan;
}

void TF_Connection::Begin(Conversation c) {
  conversation_ = c;
  saveEchoPending_ = false;
  ApplySaveLook();
  if (c == Conversation::Save) ShowSaveProgress(0);
}

void TF_Connection::End(Conversation c) {
  if (conversation_ != c) return;
  conversation_ = Conversation::None;
  saveEchoPending_ = false;
  pollLimit_.Stop();
  HideSaveProgress();
  ApplySaveLook();
  StartWaiting();
}

void TF_Connection::StartWaiting() {
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

void TF_Connection::StartSave() {
  link.StatusMode = false;
  link.StartTagCount = 0;
  link.EndTagCount = 0;
  link.ReplyState = reply::kSave;
  Begin(Conversation::Save);
  saveEchoPending_ = true;
  try {
    SendGetData("\r");
    SendGetData("write-system\r");
    SendGetData("!START-TAG!\r");
  } catch (...) {
    End(Conversation::Save);  // the gateway got no whole request: nothing to wait for
    throw;
  }
}

void TF_Connection::StartPoll(PollStart start) {
  LinkTransport* t = link.LinkMode == kLinkSerial ? serial_ : link.LinkMode == kLinkTcp ? tcp_ : nullptr;
  if (!t || !t->IsOpen()) return;
  if (peers_.pages) {
    platform::Memo& memo = peers_.pages->M_State_Info;
    memo.Clear();
    if (start == PollStart::Tick) memo.Add(std::string());
  }
  link.StatusMode = true;
  link.StatusFollowUp = true;
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

void TF_Connection::PollLine(std::string_view trimmed) {
  if (conversation_ != Conversation::Poll) return;
  if (trimmed == "get-gatekeeper-status")
    gatekeeperStatusSeen_ = true;
  else if (trimmed == "!END-TAG!" && gatekeeperStatusSeen_)
    End(Conversation::Poll);
}

void TF_Connection::AllowSave(bool allowed) {
  saveAllowed_ = allowed;
  ApplySaveLook();
}

void TF_Connection::ApplySaveLook() {
  if (peers_.save) peers_.save->SetEnabled(saveAllowed_ && conversation_ != Conversation::ReadOut);
}

void TF_Connection::ConversationsClosed() {
  conversation_ = Conversation::None;
  saveWaiting_ = false;
  pollWaiting_.reset();
  saveEchoPending_ = false;
  pollLimit_.Stop();
  HideSaveProgress();
}

}  // namespace devlink
