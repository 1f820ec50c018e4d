// The link's parts joined: sends, the receive path's entry, the transports'
// events, the serial probe, and a link started in a given state.
#include "devlink/device_link.h"

#include "lang/language_file.h"
#include "platform/ui/delay.h"

namespace devlink {

namespace {

constexpr uint32_t kProbeFirstWaitMs = 100;
constexpr int kProbeEscapes = 10;

}  // namespace

DeviceLink::DeviceLink(LinkWindows& windows, config::ConfigPages& pages) : windows_(windows), pages_(pages) {
  pollLimit_.onTimer = [this] {
    pollLimit_.Stop();
    if (queue_.Running() == Conversation::Poll)
      End(Outcome::TimedOut, "the status did not end within " + std::to_string(kPollLimitMs / 1000) + " s");
  };
}

DeviceLink::~DeviceLink() = default;

void DeviceLink::SendGetData(std::string_view text) {
  reader_.StartCommand();
  windows_.Trace("Send_Message : " + std::string(text));
  if (transports_.Writable()) {
    queue_.Activity();
    transports_.Write(text);
  }
}

void DeviceLink::SendPutData(std::string_view text) {
  if (!transports_.Writable()) return;
  std::string line;
  line.reserve(text.size() + 1);
  line.append(text);
  line.push_back('\r');
  queue_.Activity();
  transports_.Write(line);
  windows_.Untraced(LinkWindows::Traffic::Sent, text);
}

void DeviceLink::Receive(std::string_view bytes, LineEnds) {
  queue_.Activity();
  const bool status = reader_.StatusMode();
  reader_.Receive(bytes);
  // The gatekeeper query follows the first chunk after a WAN status poll.
  if (status && statusFollowUp_) {
    statusFollowUp_ = false;
    Sending([this] {
      SendGetData("get-gatekeeper-status\r");
      SendGetData(" ");
      SendGetData(" ");
    });
  }
}

void DeviceLink::BytesReceived(std::string_view bytes, LineEnds ends) {
  windows_.Untraced(LinkWindows::Traffic::Received, bytes);
  Receive(bytes, ends);
}

void DeviceLink::StatusLine(std::string line) {
  const std::string trimmed(lang::TrimControls(line));
  platform::Memo& memo = pages_.M_State_Info;
  if (trimmed == "System Information") memo.Add(std::string());
  if (trimmed != "!START-TAG!" && trimmed != "!END-TAG!" && trimmed != "get-wan-status" &&
      trimmed != "get-gatekeeper-status")
    memo.Add(std::move(line));
  PollLine(trimmed);
}

void DeviceLink::TransportOpened(TransportKind kind) {
  closeAsked_ = readOutStopped_ = false;
  windows_.Trace("Connected...");
  if (kind == TransportKind::Tcp) {
    AllowSave(true);
    windows_.ShowTcpConnected();
  } else {
    windows_.ShowSerialConnected();
  }
}

void DeviceLink::TransportClosed(TransportKind) {
  windows_.Trace("Disconnected...");
  // Nothing more comes from this transport: no conversation waits for it,
  // and the status polling stops until the user chooses the page again.
  AllowSave(false);
  ConversationsClosed();
  windows_.ShowDisconnected();
}

void DeviceLink::AbandonOpen() {
  closeAsked_ = true;
  transports_.AbandonOpen();
}

bool DeviceLink::ProbeSerial(const std::function<bool()>& abandoned) {
  interpreter_.ClearProbe();
  SendGetData("\r");
  SendGetData("\r");
  SendGetData("end\r");
  SendGetData("exit\r");
  if (platform::DelayUntil(kProbeFirstWaitMs, abandoned)) return false;
  for (int i = 0; i < kProbeEscapes; ++i) SendGetData("\x1b");
  SendGetData("\r");
  SendGetData("?");
  // The answer to "?" takes longer than 100 ms on the wire at 9600 baud, so
  // the wait lasts until it has been interpreted, within a bound.
  platform::DelayUntil(kProbeWaitMs, [&] { return interpreter_.ProbeAnswered() || abandoned(); });
  return interpreter_.ProbeAnswered() && !abandoned();
}

void DeviceLink::QueryNext(std::string_view command) {
  if (queue_.Running() == Conversation::Typed) queue_.Become(Conversation::ReadOut);
  if (queue_.Running() == Conversation::ReadOut) awaited_ = std::string(command);
}

void DeviceLink::SendScript() {
  // The lines made when Save was pressed, exactly: what the pages hold now
  // may have changed since.
  Sending(
      [this] {
        const std::vector<std::string> script = saveScript_;
        size_t total = 0, sent = 0;
        for (const std::string& line : script) total += line.size() + 1;
        for (const std::string& line : script) {
          SendPutData(line);
          sent += line.size() + 1;
          windows_.ShowSaveProgress(int(sent * 100 / total));
        }
        interpreter_.Expect(Reply::Save);
        SendGetData("!END-TAG!\r");
      },
      false);
}

void DeviceLink::StartIn(const LinkState& s) {
  if (s.transport_) transports_.Choose(*s.transport_);
  if (s.reply_) interpreter_.Expect(*s.reply_);
  if (s.statusMode_) reader_.SetStatusMode(*s.statusMode_);
  if (s.followUpDue_) statusFollowUp_ = *s.followUpDue_;
  ReplyInterpreter::Counts& counts = interpreter_.CountsToStartFrom();
  if (s.tags_) std::tie(counts.StartTagCount, counts.EndTagCount) = *s.tags_;
  if (s.voip_) {
    counts.VoicePortRow = (*s.voip_)[0];
    counts.PotsPeerCount = (*s.voip_)[1];
    counts.PatternCount = (*s.voip_)[2];
  }
  if (s.addressesSeen_)
    counts.GatekeeperSeen = counts.SipServerSeen = counts.CallAgentSeen = *s.addressesSeen_;
  for (const auto& [slot, word] : s.words_) reader_.SetWord(slot, word);
  if (s.nextSlot_) reader_.StartAt(*s.nextSlot_);
}

}  // namespace devlink
