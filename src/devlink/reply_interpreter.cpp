// The reply interpreter: which reply is being read (from the echoed command
// word), the login answer, the model check, the query series' steps that are
// not field mappings, and the save handshake.
#include <array>
#include <string>

#include "config/address_checks.h"
#include "config/login_reset.h"
#include "devlink/reply_interpreter.h"

namespace devlink {

namespace {

struct Echo {
  std::string_view word;
  Reply state;
};

// Compared in this order; the first equal word selects the state.
constexpr std::array<Echo, 13> kEchoes = {{
    {"get-wan", Reply::Wan},
    {"get-lan", Reply::Lan},
    {"get-dns-server", Reply::Dns},
    {"get-auto-upgrade", Reply::AutoUpgrade},
    {"start-login", Reply::Login},
    {"get-service", Reply::Service},
    {"get-service-port", Reply::ServicePort},
    {"get-version", Reply::Version},
    {"get-model", Reply::Model},
    {"get-voip", Reply::Voip},
    {"get-gatekeeper-status", Reply::GatekeeperStatus},
    {"get-wan-status", Reply::WanStatus},
    {"get-pstn", Reply::Pstn},
}};

/// The query series: at the end of the reply read in `state`, `next` goes
/// out. It starts at the login's acceptance; the PSTN reply, never asked for
/// by the series, restarts it at the WAN query; the DNS reply ends it.
struct SeriesStep {
  Reply state;
  std::string_view next;  // empty: the series ends
};
constexpr std::array<SeriesStep, 11> kSeries = {{
    {Reply::Login, "get-model"},
    {Reply::Model, "get-wan"},
    {Reply::Wan, "get-lan"},
    {Reply::Lan, "get-auto-upgrade"},
    {Reply::AutoUpgrade, "get-service"},
    {Reply::Service, "get-service-port"},
    {Reply::ServicePort, "get-version"},
    {Reply::Version, "get-voip"},
    {Reply::Voip, "get-dns-server"},
    {Reply::Dns, {}},
    {Reply::Pstn, "get-wan"},
}};

constexpr std::string_view kEndTag = "!END-TAG!";
constexpr int kVersionBlanks = 6;
constexpr std::string_view kRefusedModel = "RN420";
constexpr std::string_view kRefusedText = "Access denied. Use Morvel S/W for RN420.";

}  // namespace

void ReplyInterpreter::ComPort_Encode_Parsing(const LineWords& w) {
  // A save's lines begin with the echo of "write-system": whatever comes
  // before it is the rest of an earlier reply (a status page the gateway
  // finishes), whose markers and echoes must not steer the save.
  if (user_.Running() == Conversation::Save && saveEchoPending_) {
    if (w[0] == "write-system") saveEchoPending_ = false;
    return;
  }
  for (const Echo& e : kEchoes) {
    if (w[0] == e.word) {
      state_ = e.state;
      if (e.state == Reply::Wan) probeAnswered_ = true;
      // However often the series runs, each VoIP reply fills the grid and
      // the address pairs from the start.
      if (e.state == Reply::Voip) StartVoipReply();
      break;
    }
  }
  // An echo that took the state out of save ends the save: no confirmation
  // will come.
  if (user_.Running() == Conversation::Save && state_ != Reply::Save) user_.Finish(Outcome::Refused, w[0]);
  const Reply state = state_;
  switch (state) {
    case Reply::Wan: MapWan(w); break;
    case Reply::Lan: MapLan(w); break;
    case Reply::Dns: MapDns(w); break;
    case Reply::AutoUpgrade: MapAutoUpgrade(w); break;
    case Reply::Service: MapService(w); break;
    case Reply::ServicePort: MapServicePort(w); break;
    case Reply::Login: LoginAnswer(w); break;
    case Reply::Version: MapVersion(w); break;
    case Reply::Model: ModelCheck(w); break;
    case Reply::Voip: MapVoip(w); break;
    case Reply::Save: SaveHandshake(w); break;
    case Reply::Pstn: MapPstn(w); break;
    default: break;  // 0, 15, 16 and unknown states read nothing
  }
  // A reply's end mark takes the series a step on; the login's step is
  // taken at its acceptance line instead. A typed line whose reply has no
  // step of its own has been answered.
  if (w[0] == kEndTag && state != Reply::Login && !SendNextQuery(state) &&
      user_.Running() == Conversation::Typed)
    user_.Finish(Outcome::Complete);
  // Six blanks after every line of the version reply, its echo included,
  // and after the next query on its end mark.
  if (state == Reply::Version)
    for (int i = 0; i < kVersionBlanks; ++i) user_.SendCommand(" ");
}

bool ReplyInterpreter::SendNextQuery(Reply state) {
  for (const SeriesStep& step : kSeries) {
    if (step.state != state) continue;
    const Conversation running = user_.Running();
    if (step.next.empty()) {
      // The series, and with it the read-out, is over.
      if (running == Conversation::ReadOut || running == Conversation::Typed) user_.Finish(Outcome::Complete);
      return true;
    }
    user_.QueryNext(step.next);
    user_.SendCommand(std::string(step.next) + "\r");
    return true;
  }
  return false;
}

void ReplyInterpreter::StartVoipReply() {
  StartVoipReadOut();
  heldPattern_.clear();
  config::ResetPhoneGrid(pages_);
  pages_.SG_VoIP_Phone_number.SetCell(2, 1, std::string());
}

void ReplyInterpreter::LoginAnswer(const LineWords& w) {
  if (w[0] != "Login") return;
  if (w[1] == "ok") {
    windows_.Trace("Login OK!!");
    windows_.CloseLogin();
    SendNextQuery(Reply::Login);
  } else if (w[1] == "incorrect") {
    windows_.Trace("Login Incorrect!!");
    // Nothing follows until the user tries again; the box is the outcome.
    user_.Finish(Outcome::Refused, "Login incorrect", true);
    platform::ShowMessageBox(windows_.Message(lang::Msg::IdOrPasswordIncorrect), "Error",
                             platform::Icon::Error);
    windows_.ShowLogin();
  }
}

void ReplyInterpreter::ModelCheck(const LineWords& w) {
  if (w[0] == "model") {
    int r = IndexOfStr(w[1], kRefusedModel);
    windows_.Trace("re : " + std::to_string(r));
    r = IndexOfStr(w[1], kRefusedModel);
    if (r == -1) {
      pages_.L_model.SetCaption(w[1]);
      windows_.ShowModelAccepted();
      user_.ModelAccepted();
    } else {
      // The series goes on behind the cover panel all the same.
      platform::ShowMessageBox(std::string(kRefusedText), "Error", platform::Icon::Error);
    }
  }
}

void ReplyInterpreter::SaveHandshake(const LineWords& w) {
  // Only a save the user asked for sends a script or shows its outcome.
  if (user_.Running() != Conversation::Save) return;
  if (w[0] == "!START-TAG!") {
    // The first is the echo of our marker; the second asks for the script.
    if (counts_.StartTagCount == 0)
      counts_.StartTagCount = 1;
    else if (counts_.StartTagCount == 1)
      user_.SendScript();
  } else if (w[0] == kEndTag) {
    if (counts_.EndTagCount == 0)
      counts_.EndTagCount = 1;
    else if (counts_.EndTagCount == 1)
      user_.Finish(Outcome::Complete);  // the confirmation box is the save's outcome
  }
}

ReplyInterpreter::ReplyInterpreter(ReplyUser& user, LinkWindows& windows, config::ConfigPages& pages)
    : user_(user), windows_(windows), pages_(pages) {}

void ReplyInterpreter::StartSave() {
  counts_.StartTagCount = 0;
  counts_.EndTagCount = 0;
  state_ = Reply::Save;
  saveEchoPending_ = true;
}

void ReplyInterpreter::StartVoipReadOut() {
  counts_.VoicePortRow = counts_.PotsPeerCount = counts_.PatternCount = 0;
  counts_.GatekeeperSeen = counts_.SipServerSeen = counts_.CallAgentSeen = false;
}

void ReplyInterpreter::ResetForConnect() {
  counts_.StartTagCount = 0;
  counts_.EndTagCount = 0;
  counts_.VoicePortRow = 0;
  counts_.PotsPeerCount = 0;
  counts_.PatternCount = 0;
}

int ReplyInterpreter::IndexOfStr(std::string_view text, std::string_view name) {
  const std::string_view prefix = text.substr(0, name.size());
  std::string line;
  line.reserve(prefix.size() + 3 + name.size());
  line.append(prefix).append(" : ").append(name);
  windows_.Trace(std::move(line));
  return prefix == name ? 0 : -1;
}

std::string ReplyInterpreter::NumberToken(std::string_view text, char delimiter) {
  return std::string(text.substr(0, text.find(delimiter)));
}

std::string ReplyInterpreter::Trim_Blank(std::string_view text) { return config::WithoutBlanks(text); }

}  // namespace devlink
