// The conversations with the gateway as the windows ask for them: the read-
// out, a save, a status poll, a restart and a typed line. Each waits its turn
// in the queue, runs alone and ends with one outcome, which is shown here.
#include <algorithm>
#include <exception>
#include <utility>

#include "config/login_reset.h"
#include "devlink/device_link.h"
#include "lang/fixed_texts.h"

namespace devlink {

namespace {

constexpr int kGridRows = 2;  // the title row and one port row

std::string_view NameOf(Conversation c) {
  switch (c) {
    case Conversation::ReadOut: return "Read-out";
    case Conversation::Save: return "Save";
    case Conversation::Poll: return "Status poll";
    case Conversation::Restart: return "Restart";
    case Conversation::Typed: return "Typed line";
    case Conversation::None: break;
  }
  return "Conversation";
}

std::string_view NameOf(Outcome o) {
  switch (o) {
    case Outcome::Complete: return "complete";
    case Outcome::Refused: return "refused";
    case Outcome::TimedOut: return "timed out";
    case Outcome::Closed: return "closed";
  }
  return "";
}

std::string ErrorText(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& x) {
    return x.what();
  } catch (...) {
    return "write failed";
  }
}

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

// ---- The read-out ----

void DeviceLink::SendLogin(std::string_view id, std::string_view password) {
  if (queue_.Asked(Conversation::ReadOut)) return;  // one login at a time
  std::string line = "start-login ";
  line.append(id).append(" ").append(password).append("\r");
  queue_.Ask(Conversation::ReadOut, [this, line] { StartLogin(line); });
  ApplySaveLook();
}

void DeviceLink::StartLogin(const std::string& line) {
  record_.StatusMode = false;  // the answers are read by the interpreter
  record_.StartVoipReadOut();
  config::ClearLoginFields(pages_);  // the grid back to one port row among them
  readOutStopped_ = false;
  awaited_ = "start-login";
  ApplySaveLook();
  Sending([&] { SendGetData(line); });
  ClearData();
  // Read the answer as the login's even before its echo arrives.
  record_.ReplyState = reply::kLogin;
}

// ---- The save ----

void DeviceLink::LeaveStatusMode() {
  if (queue_.Running() != Conversation::Poll) record_.StatusMode = false;
}

void DeviceLink::BeginSave(std::vector<std::string> script) {
  if (queue_.Asked(Conversation::Save)) return;
  saveScript_ = std::move(script);
  windows_.ShowSaveProgress(0);  // the pages take no edits from here
  queue_.Ask(Conversation::Save, [this] { StartSave(); });
  ApplySaveLook();
}

void DeviceLink::StartSave() {
  record_.StatusMode = false;
  record_.StartTagCount = 0;
  record_.EndTagCount = 0;
  record_.ReplyState = reply::kSave;
  saveEchoPending_ = true;
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
  LinkTransport* t = ChosenTransport();
  if (!t || !t->IsOpen()) return;
  queue_.Ask(Conversation::Poll, [this, start] { StartPoll(start); });
}

void DeviceLink::CancelPoll() { queue_.Drop(Conversation::Poll); }

void DeviceLink::StartPoll(PollStart start) {
  LinkTransport* t = ChosenTransport();
  if (!t || !t->IsOpen()) {
    Finish(Outcome::Closed, lang::fixed::LinkClosed());
    return;
  }
  platform::Memo& memo = pages_.M_State_Info;
  memo.Clear();
  if (start == PollStart::Tick) memo.Add(std::string());
  record_.StatusMode = true;
  record_.StatusFollowUp = true;
  gatekeeperStatusSeen_ = false;
  pollLimit_.Start();
  Sending([this] { SendGetData("get-wan-status\r"); });
}

void DeviceLink::PollLine(std::string_view trimmed) {
  if (queue_.Running() != Conversation::Poll) return;
  if (trimmed == "get-gatekeeper-status")
    gatekeeperStatusSeen_ = true;
  else if (trimmed == "!END-TAG!" && gatekeeperStatusSeen_)
    Finish(Outcome::Complete);
  else if (trimmed.starts_with('%'))
    Finish(Outcome::Refused, std::string(trimmed));
}

// ---- Restart, disconnect, typed lines ----

void DeviceLink::Reboot() {
  if (queue_.Asked(Conversation::Restart)) return;
  queue_.Ask(Conversation::Restart, [this] { StartRestart(); });
}

void DeviceLink::StartRestart() {
  record_.StatusMode = false;
  std::exception_ptr failed;
  try {
    SendGetData("reboot-system\r");
  } catch (...) {
    failed = std::current_exception();
  }
  // Nothing follows a reboot: what still waits ends with the link.
  std::deque<Conversation> dropped = queue_.TakeWaiting();
  if (failed)
    Finish(Outcome::Closed, lang::fixed::LinkFailed(ErrorText(failed)), true);  // raised below
  else
    Finish(Outcome::Complete);
  for (Conversation c : dropped) Report({c, Outcome::Closed, lang::fixed::LinkClosed()}, {});
  closeAsked_ = true;
  // The wait starts even when the gateway could not be told: the transport
  // is closed all the same, and the error is shown after.
  if (LinkTransport* t = ChosenTransport()) t->Close();
  windows_.ShowRestarting();
  if (failed) std::rethrow_exception(failed);
}

void DeviceLink::Disconnect() {
  closeAsked_ = true;
  if (record_.LinkMode == kLinkSerial) SendGetData("end-morvel\r");
  if (LinkTransport* t = ChosenTransport()) t->Close();
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
  record_.StatusMode = false;
  Sending([&] { SendGetData(line); });
  record_.ReplyState = reply::kWan;
  LinkTransport* t = ChosenTransport();
  if (!t || !t->IsOpen()) Finish(Outcome::Closed, lang::fixed::LinkClosed());
}

// ---- Endings ----

void DeviceLink::Sending(const std::function<void()>& sends, bool raise) {
  try {
    sends();
  } catch (...) {
    // A raised error is shown by the general error handler: the outcome then
    // needs no box of its own.
    Finish(Outcome::Closed, lang::fixed::LinkFailed(ErrorText(std::current_exception())), raise);
    if (raise) throw;
  }
}

void DeviceLink::GatewayRefused(const std::string& line) {
  switch (queue_.Running()) {
    case Conversation::ReadOut:
    case Conversation::Typed: Finish(Outcome::Refused, line); break;
    case Conversation::Save:
      if (!saveEchoPending_) Finish(Outcome::Refused, line);
      break;
    default: break;
  }
}

void DeviceLink::Silent() {
  const uint32_t limit = queue_.SilenceLimit();
  switch (queue_.Running()) {
    case Conversation::Typed: Finish(Outcome::Complete); break;  // its reply has ended
    case Conversation::ReadOut: Finish(Outcome::TimedOut, awaited_); break;
    case Conversation::Save:
    case Conversation::Poll: Finish(Outcome::TimedOut, lang::fixed::GatewaySilent(limit)); break;
    default: break;
  }
}

void DeviceLink::Finish(Outcome outcome, std::string reason, bool shown, bool startNext) {
  const Conversation c = queue_.Running();
  if (c == Conversation::None) return;
  Notes notes;
  notes.shown = shown;
  if (c == Conversation::Save) {
    if (outcome == Outcome::Complete)
      notes.restartFollows = queue_.Waiting(Conversation::Restart);
    else
      notes.restartDropped = queue_.Drop(Conversation::Restart);
  }
  if (c == Conversation::ReadOut && outcome != Outcome::Complete) {
    readOutStopped_ = true;
    // The rest of a stopped reply is read as nothing, so its end mark does
    // not take the series on. A refused login stays ready for the next try.
    if (!(outcome == Outcome::Refused && shown)) record_.ReplyState = reply::kNone;
  }
  Settle(c);
  const Ending ending{c, outcome, std::move(reason)};
  // What waited starts now, before the box: it need not wait for the user.
  std::exception_ptr failed;
  try {
    queue_.End(startNext);
  } catch (...) {
    failed = std::current_exception();
  }
  ApplySaveLook();
  Report(ending, notes);
  if (failed) std::rethrow_exception(failed);
}

void DeviceLink::Settle(Conversation c) {
  if (c == Conversation::Save) {
    saveScript_.clear();
    windows_.HideSaveProgress();
  }
  if (c == Conversation::Poll) pollLimit_.Stop();
}

void DeviceLink::Report(const Ending& e, const Notes& notes) {
  namespace fixed = lang::fixed;
  if (e.outcome != Outcome::Complete)
    windows_.Trace(fixed::NotCompleteTrace(NameOf(e.conversation), NameOf(e.outcome), e.reason));
  windows_.ConversationEnded(e);
  if (notes.shown) return;
  const uint32_t limit = queue_.SilenceLimit();
  if (e.conversation == Conversation::Save) {
    if (e.outcome == Outcome::Complete) {
      const std::string second =
          notes.restartFollows ? fixed::RestartFollows() : windows_.Message(lang::Msg::PleaseRestart);
      platform::ShowMessageBox(windows_.Message(lang::Msg::SaveComplete) + "\r" + second, "OK",
                               platform::Icon::Information);
      return;
    }
    std::string why = e.outcome == Outcome::Refused    ? fixed::GatewayRefused(e.reason)
                      : e.outcome == Outcome::TimedOut ? e.reason
                      : e.reason.empty()               ? fixed::LinkClosed()
                                                       : e.reason;
    platform::ShowMessageBox(fixed::SaveFailed(why, notes.restartDropped), "Error", platform::Icon::Error);
  } else if (e.conversation == Conversation::ReadOut && e.outcome != Outcome::Complete) {
    if (e.outcome == Outcome::Closed && e.reason.empty()) return;  // the user closed the link
    std::string text;
    if (e.outcome == Outcome::TimedOut)
      text = e.reason == "start-login" ? fixed::LoginUnanswered(limit)
                                       : fixed::ReadOutStopped(fixed::ReplyNeverEnded(e.reason, limit));
    else
      text =
          fixed::ReadOutStopped(e.outcome == Outcome::Refused ? fixed::GatewayRefused(e.reason) : e.reason);
    platform::ShowMessageBox(text, "Error", platform::Icon::Error);
  } else if (e.conversation == Conversation::Poll && e.outcome == Outcome::TimedOut) {
    pages_.M_State_Info.Add(fixed::StatusStopped());
  }
}

void DeviceLink::AllowSave(bool allowed) {
  saveAllowed_ = allowed;
  ApplySaveLook();
}

void DeviceLink::ApplySaveLook() {
  windows_.EnableSave(saveAllowed_ && !readOutStopped_ && !queue_.Asked(Conversation::ReadOut) &&
                      !queue_.Asked(Conversation::Save));
}

void DeviceLink::ConversationsClosed() {
  // A close the user asked for ends what runs without a reason to show.
  const std::string why = std::exchange(closeAsked_, false) ? std::string() : lang::fixed::LinkClosed();
  Finish(Outcome::Closed, why, false, false);
  // What waited never began: each ends closed too. A restart behind a save
  // is named in the save's box.
  std::deque<Conversation> dropped = queue_.TakeWaiting();
  const bool saveDropped = std::find(dropped.begin(), dropped.end(), Conversation::Save) != dropped.end();
  const bool restartDropped =
      std::find(dropped.begin(), dropped.end(), Conversation::Restart) != dropped.end();
  for (Conversation c : dropped) {
    if (c == Conversation::Restart && saveDropped) continue;
    Settle(c);
    Report({c, Outcome::Closed, why.empty() ? lang::fixed::LinkClosed() : why},
           {false, c == Conversation::Save && restartDropped, false});
  }
  ApplySaveLook();
}

}  // namespace devlink
