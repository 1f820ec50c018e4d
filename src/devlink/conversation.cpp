// The conversations with the gateway as the windows ask for them: the read-
// out, a save, a status poll, a restart and a typed line. Each waits its turn
// in the queue, runs alone and ends with one outcome, which is shown here.
#include <algorithm>
#include <exception>
#include <utility>

#include "config/login_reset.h"
#include "devlink/conversation_names.h"
#include "devlink/device_link.h"
#include "lang/fixed_texts.h"

namespace devlink {

void DeviceLink::ResetForConnect() {
  interpreter_.ResetForConnect();
  config::ResetPhoneGrid(pages_);
  reader_.SetStatusMode(false);
  statusFollowUp_ = false;
  ConversationsClosed();
}

// ---- The read-out ----

void DeviceLink::SendLogin(std::string_view id, std::string_view password) {
  if (queue_.Asked(Conversation::ReadOut)) return;  // one login at a time
  std::string line = "start-login ";
  line.append(id).append(" ").append(password).append("\r");
  queue_.Ask(Conversation::ReadOut, [this, line] { StartLogin(line); });
  ApplySaveLook();
}

void DeviceLink::StartLogin(const std::string& line) {
  reader_.SetStatusMode(false);  // the answers are read by the interpreter
  interpreter_.StartVoipReadOut();
  config::ClearLoginFields(pages_);  // the grid back to one port row among them
  readOutStopped_ = false;
  awaited_ = "start-login";
  ApplySaveLook();
  Sending([&] { SendGetData(line); });
  config::ClearData(pages_);
  // Read the answer as the login's even before its echo arrives.
  interpreter_.Expect(Reply::Login);
}

// ---- The save ----

void DeviceLink::LeaveStatusMode() {
  if (queue_.Running() != Conversation::Poll) reader_.SetStatusMode(false);
}

void DeviceLink::BeginSave(std::vector<std::string> script) {
  if (queue_.Asked(Conversation::Save)) return;
  saveScript_ = std::move(script);
  windows_.ShowSaveProgress(0);  // the pages take no edits from here
  queue_.Ask(Conversation::Save, [this] { StartSave(); });
  ApplySaveLook();
}

void DeviceLink::StartSave() {
  reader_.SetStatusMode(false);
  interpreter_.StartSave();
  Sending(
      [this] {
        SendGetData("\r");
        SendGetData("write-system\r");
        SendGetData("!START-TAG!\r");
      },
      false);
}

// ---- Status polls ----

void DeviceLink::Poll(PollStart start) {
  if (!transports_.ChosenOpen()) return;
  queue_.Ask(Conversation::Poll, [this, start] { StartPoll(start); });
}

void DeviceLink::StartPoll(PollStart start) {
  if (!transports_.ChosenOpen()) {
    End(Outcome::Closed, lang::fixed::LinkClosed());
    return;
  }
  platform::Memo& memo = pages_.M_State_Info;
  memo.Clear();
  if (start == PollStart::Tick) memo.Add(std::string());
  reader_.SetStatusMode(true);
  statusFollowUp_ = true;
  gatekeeperEchoSeen_ = false;
  pollLimit_.Start();
  Sending([this] { SendGetData("get-wan-status\r"); });
}

void DeviceLink::PollLine(std::string_view trimmed) {
  if (queue_.Running() != Conversation::Poll) return;
  if (trimmed == "get-gatekeeper-status")
    gatekeeperEchoSeen_ = true;
  else if (trimmed == "!END-TAG!" && gatekeeperEchoSeen_)
    End(Outcome::Complete);
  else if (trimmed.starts_with('%'))
    End(Outcome::Refused, std::string(trimmed));
}

// ---- Restart, disconnect, typed lines ----

void DeviceLink::Reboot() {
  if (queue_.Asked(Conversation::Restart)) return;
  queue_.Ask(Conversation::Restart, [this] { StartRestart(); });
}

void DeviceLink::StartRestart() {
  reader_.SetStatusMode(false);
  std::exception_ptr failed;
  try {
    SendGetData("reboot-system\r");
  } catch (...) {
    failed = std::current_exception();
  }
  // Nothing follows a reboot: what still waits ends with the link.
  std::deque<Conversation> dropped = queue_.TakeWaiting();
  if (failed)
    End(Outcome::Closed, lang::fixed::LinkFailed(ErrorText(failed)), true);  // raised below
  else
    End(Outcome::Complete);
  for (Conversation c : dropped) Report({c, Outcome::Closed, lang::fixed::LinkClosed()}, {});
  closeAsked_ = true;
  // The wait starts even when the gateway could not be told: the transport
  // is closed all the same, and the error is shown after.
  transports_.CloseChosen();
  windows_.ShowRestarting();
  if (failed) std::rethrow_exception(failed);
}

void DeviceLink::Disconnect() {
  closeAsked_ = true;
  if (transports_.Chosen() == TransportKind::Serial) SendGetData("end-morvel\r");
  transports_.CloseChosen();
}

void DeviceLink::SendEnd() {
  if (SerialOpen()) SendGetData("end-morvel\r");
}

void DeviceLink::SendTyped(std::string_view text) {
  std::string line(text);
  line += '\r';
  queue_.Ask(Conversation::Typed, [this, line] { StartTyped(line); });
}

void DeviceLink::StartTyped(const std::string& line) {
  reader_.SetStatusMode(false);
  Sending([&] { SendGetData(line); });
  interpreter_.Expect(Reply::Wan);
  if (!transports_.ChosenOpen()) End(Outcome::Closed, lang::fixed::LinkClosed());
}

}  // namespace devlink
