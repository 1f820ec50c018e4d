// The reply interpreter: which reply is being read (from the echoed command
// word), the login answer, the model check, the query series' steps that are
// not field mappings, and the save handshake.
#include <array>
#include <string>

#include "config/login_reset.h"
#include "devlink/device_link.h"

namespace devlink {

namespace {

struct Echo {
  std::string_view word;
  int32_t state;
};

// Compared in this order; the first equal word selects the state.
constexpr std::array<Echo, 13> kEchoes = {{
    {"get-wan", reply::kWan},
    {"get-lan", reply::kLan},
    {"get-dns-server", reply::kDns},
    {"get-auto-upgrade", reply::kAutoUpgrade},
    {"start-login", reply::kLogin},
    {"get-service", reply::kService},
    {"get-service-port", reply::kServicePort},
    {"get-version", reply::kVersion},
    {"get-model", reply::kModel},
    {"get-voip", reply::kVoip},
    {"get-gatekeeper-status", reply::kGatekeeperStatus},
    {"get-wan-status", reply::kWanStatus},
    {"get-pstn", reply::kPstn},
}};

/// The query series: at the end of the reply read in `state`, `next` goes
/// out. It starts at the login's acceptance; the PSTN reply, never asked for
/// by the series, restarts it at the WAN query; the DNS reply ends it.
struct SeriesStep {
  int32_t state;
  std::string_view next;  // empty: the series ends
};
constexpr std::array<SeriesStep, 11> kSeries = {{
    {reply::kLogin, "get-model"},
    {reply::kModel, "get-wan"},
    {reply::kWan, "get-lan"},
    {reply::kLan, "get-auto-upgrade"},
    {reply::kAutoUpgrade, "get-service"},
    {reply::kService, "get-service-port"},
    {reply::kServicePort, "get-version"},
    {reply::kVersion, "get-voip"},
    {reply::kVoip, "get-dns-server"},
    {reply::kDns, {}},
    {reply::kPstn, "get-wan"},
}};

constexpr std::string_view kEndTag = "!END-TAG!";
constexpr int kVersionBlanks = 6;
constexpr std::string_view kRefusedModel = "RN420";
constexpr std::string_view kRefusedText = "Access denied. Use Morvel S/W for RN420.";

}  // namespace

void DeviceLink::ComPort_Encode_Parsing(const LineWords& w) {
  // A save's lines begin with the echo of "write-system": whatever comes
  // before it is the rest of an earlier reply (a status page the gateway
  // finishes), whose markers and echoes must not steer the save.
  if (queue_.Running() == Conversation::Save && saveEchoPending_) {
    if (w[0] == "write-system") saveEchoPending_ = false;
    return;
  }
  for (const Echo& e : kEchoes) {
    if (w[0] == e.word) {
      record_.ReplyState = e.state;
      if (e.state == reply::kWan) record_.ProbeAnswered = true;
      // However often the series runs, each VoIP reply fills the grid and
      // the address pairs from the start.
      if (e.state == reply::kVoip) StartVoipReply();
      break;
    }
  }
  // An echo that took the state out of save ends the save: no confirmation
  // will come.
  if (queue_.Running() == Conversation::Save && record_.ReplyState != reply::kSave)
    Finish(Outcome::Refused, w[0]);
  const int32_t state = record_.ReplyState;
  switch (state) {
    case reply::kWan: MapWan(w); break;
    case reply::kLan: MapLan(w); break;
    case reply::kDns: MapDns(w); break;
    case reply::kAutoUpgrade: MapAutoUpgrade(w); break;
    case reply::kService: MapService(w); break;
    case reply::kServicePort: MapServicePort(w); break;
    case reply::kLogin: LoginAnswer(w); break;
    case reply::kVersion: MapVersion(w); break;
    case reply::kModel: ModelCheck(w); break;
    case reply::kVoip: MapVoip(w); break;
    case reply::kSave: SaveHandshake(w); break;
    case reply::kPstn: MapPstn(w); break;
    default: break;  // 0, 15, 16 and unknown states read nothing
  }
  // A reply's end mark takes the series a step on; the login's step is
  // taken at its acceptance line instead. A typed line whose reply has no
  // step of its own has been answered.
  if (w[0] == kEndTag && state != reply::kLogin && !SendNextQuery(state) &&
      queue_.Running() == Conversation::Typed)
    Finish(Outcome::Complete);
  // Six blanks after every line of the version reply, its echo included,
  // and after the next query on its end mark.
  if (state == reply::kVersion)
    Sending([this] {
      for (int i = 0; i < kVersionBlanks; ++i) SendGetData(" ");
    });
}

bool DeviceLink::SendNextQuery(int32_t state) {
  for (const SeriesStep& step : kSeries) {
    if (step.state != state) continue;
    const Conversation running = queue_.Running();
    if (step.next.empty()) {
      // The series, and with it the read-out, is over.
      if (running == Conversation::ReadOut || running == Conversation::Typed) Finish(Outcome::Complete);
      return true;
    }
    // A typed line whose reply restarts the series is a read-out from here.
    if (running == Conversation::Typed) queue_.Become(Conversation::ReadOut);
    if (queue_.Running() == Conversation::ReadOut) awaited_ = std::string(step.next);
    // A query that cannot be written ends the read-out with the error's own
    // box; the transport's close after it then has nothing left to report.
    Sending([&] { SendGetData(std::string(step.next) + "\r"); });
    return true;
  }
  return false;
}

void DeviceLink::StartVoipReply() {
  record_.StartVoipReadOut();
  record_.HeldPattern.clear();
  platform::StringGrid& grid = pages_.SG_VoIP_Phone_number;
  grid.SetRowCount(2);  // the title row and one port row, which the first port reuses
  grid.SetCell(2, 1, std::string());
}

void DeviceLink::LoginAnswer(const LineWords& w) {
  if (w[0] != "Login") return;
  if (w[1] == "ok") {
    windows_.Trace("Login OK!!");
    windows_.CloseLogin();
    SendNextQuery(reply::kLogin);
  } else if (w[1] == "incorrect") {
    windows_.Trace("Login Incorrect!!");
    // Nothing follows until the user tries again; the box is the outcome.
    Finish(Outcome::Refused, "Login incorrect", true);
    platform::ShowMessageBox(windows_.Message(lang::Msg::IdOrPasswordIncorrect), "Error",
                             platform::Icon::Error);
    windows_.ShowLogin();
  }
}

void DeviceLink::ModelCheck(const LineWords& w) {
  if (w[0] == "model") {
    int r = IndexOfStr(w[1], kRefusedModel);
    windows_.Trace("re : " + std::to_string(r));
    r = IndexOfStr(w[1], kRefusedModel);
    if (r == -1) {
      pages_.L_model.SetCaption(w[1]);
      windows_.ShowModelAccepted();
      AllowSave(true);
    } else {
      // The series goes on behind the cover panel all the same.
      platform::ShowMessageBox(std::string(kRefusedText), "Error", platform::Icon::Error);
    }
  }
}

void DeviceLink::SaveHandshake(const LineWords& w) {
  // Only a save the user asked for sends a script or shows its outcome.
  if (queue_.Running() != Conversation::Save) return;
  if (w[0] == "!START-TAG!") {
    // The first is the echo of our marker; the second asks for the script.
    if (record_.StartTagCount == 0)
      record_.StartTagCount = 1;
    else if (record_.StartTagCount == 1)
      ComPort_Decode_Parsing();
  } else if (w[0] == kEndTag) {
    if (record_.EndTagCount == 0)
      record_.EndTagCount = 1;
    else if (record_.EndTagCount == 1)
      Finish(Outcome::Complete);  // the confirmation box is the save's outcome
  }
}

void DeviceLink::ComPort_Decode_Parsing() {
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
        record_.ReplyState = reply::kSave;
        SendGetData("!END-TAG!\r");
      },
      false);
}

void DeviceLink::ClearData() { config::ClearData(pages_); }

}  // namespace devlink
