// How the conversations end: one outcome each, shown to the user and told
// to the windows; what waited starts, or ends closed with the transport.
#include <algorithm>
#include <exception>
#include <utility>

#include "devlink/conversation_names.h"
#include "devlink/device_link.h"
#include "lang/fixed_texts.h"

namespace devlink {

void DeviceLink::Sending(const std::function<void()>& sends, bool raise) {
  try {
    sends();
  } catch (...) {
    // A raised error is shown by the general error handler: the outcome then
    // needs no box of its own.
    End(Outcome::Closed, lang::fixed::LinkFailed(ErrorText(std::current_exception())), raise);
    if (raise) throw;
  }
}

void DeviceLink::GatewayRefused(const std::string& line) {
  switch (queue_.Running()) {
    case Conversation::ReadOut:
    case Conversation::Typed: End(Outcome::Refused, line); break;
    case Conversation::Save:
      if (!interpreter_.SaveEchoPending()) End(Outcome::Refused, line);
      break;
    default: break;
  }
}

void DeviceLink::Silent() {
  const uint32_t limit = queue_.SilenceLimit();
  switch (queue_.Running()) {
    case Conversation::Typed: End(Outcome::Complete); break;  // its reply has ended
    case Conversation::ReadOut: End(Outcome::TimedOut, awaited_); break;
    case Conversation::Save:
    case Conversation::Poll: End(Outcome::TimedOut, lang::fixed::GatewaySilent(limit)); break;
    default: break;
  }
}

void DeviceLink::End(Outcome outcome, std::string reason, bool shown, bool startNext) {
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
    if (!(outcome == Outcome::Refused && shown)) interpreter_.Expect(Reply::None);
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
  if (c == Conversation::Poll) {
    pollLimit_.Stop();
    statusFollowUp_ = false;  // a late status chunk is no reason to query on
  }
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
  End(Outcome::Closed, why, false, false);
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
