#include "cli/session.h"

#include "config/script_table.h"
#include "config/script_writer.h"
#include "lang/fixed_texts.h"
#include "platform/ui/delay.h"
#include "platform/ui/errors.h"

namespace cli {

namespace texts = lang::fixed;
using devlink::Conversation;

namespace {

/// Longest a conversation is waited for; the link's own silence limit ends
/// every one long before, so this only keeps a fault from hanging the run.
constexpr uint32_t kLongestWaitMs = 10 * 60 * 1000;

}  // namespace

Session::Session(Terminal& terminal)
    : terminal_(terminal),
      log_(devlink::ConnectionLog::DefaultDir(), [this](std::string line) { windows_.Say(line); }),
      windows_(terminal, log_) {}

Session::~Session() {
  // The link's own closing events still reach the windows.
  link_.CloseSerial();
}

bool Session::Open(const Target& target) {
  devlink::TF_Connection& d = connection_;
  if (target.kind == Target::Kind::Tcp) {
    const auto address = DottedAddress(target.host);
    if (!address) {
      windows_.Say(texts::UnknownHost(target.host));
      return false;
    }
    d.RB_TCP.Click();
    d.ED_host.SetText(*address);
    d.ED_TCP.SetText(std::to_string(target.port));
  } else {
    d.RB_Serial.Click();
    int index = d.CB_Serial.IndexOf(target.device);
    if (index < 0 && target.device.find('/') != std::string::npos) {
      // A path the port list does not hold (a pseudo-terminal, a by-id link).
      std::vector<std::string> names = d.CB_Serial.Items();
      names.push_back(target.device);
      d.CB_Serial.SetPortNames(std::move(names));
      index = d.CB_Serial.IndexOf(target.device);
    }
    if (index < 0) {
      windows_.Say(texts::UnknownPort(target.device));
      return false;
    }
    d.CB_Serial.UserChoose(index);
  }
  d.BB_Connect.Click();
  if (!windows_.Connected()) connection_.Close();
  return windows_.Connected();
}

ExitStatus Session::Visit(const Target& target, const std::string& id, const std::string& password) {
  link_.ResetForConnect();  // as the window's Connect does, which shows the dialog
  connection_.Show();
  if (!Open(target)) return ExitStatus::CannotConnect;
  const ExitStatus read = Run(Conversation::ReadOut, [&] { link_.SendLogin(id, password); });
  if (read == ExitStatus::GatewayRefused && !windows_.LoggedIn()) return ExitStatus::LoginRefused;
  if (read != ExitStatus::Ok) return read;
  return windows_.ModelAccepted() ? ExitStatus::Ok : ExitStatus::ModelRefused;
}

ExitStatus Session::Run(Conversation c, const std::function<void()>& ask) {
  windows_.Forget(c);
  platform::Guard(ask);  // a write that fails is said, and the outcome follows
  return Wait(c);
}

ExitStatus Session::Wait(Conversation c) {
  platform::DelayUntil(kLongestWaitMs, [&] { return windows_.Ended(c).has_value(); });
  const auto ended = windows_.Ended(c);
  return ended ? StatusOf(ended->outcome) : ExitStatus::GatewaySilent;
}

void Session::KeepReadOut() { config::CopyScriptFields(form_.pages, readOut_.pages); }

std::vector<config::Change> Session::Changes() const {
  return config::ChangesSince(readOut_.pages, form_.pages);
}

ExitStatus Session::Import(const std::string& path, bool otherModel) {
  auto read = config::ImportFile(path, form_.pages, EnglishMessages());
  if (const auto* failed = std::get_if<config::ImportFailure>(&read)) {
    windows_.Say(failed->text);
    return ExitStatus::FileRejected;
  }
  const config::ImportedFile& file = std::get<config::ImportedFile>(read);
  const std::string& gateway = form_.pages.L_model.Caption();
  if (!otherModel && !file.model.empty() && file.model != gateway) {
    windows_.Say(texts::OtherModel(file.model, gateway));
    return ExitStatus::FileRejected;
  }
  config::CopyScriptFields(file.fields->pages, form_.pages);
  return ExitStatus::Ok;
}

ExitStatus Session::CheckBeforeWriting() {
  const auto refused =
      config::CheckBeforeWriting(form_.pages, devlink::OneWordFields(form_.pages), EnglishMessages(),
                                 [this](std::string line) { windows_.Trace(std::move(line)); });
  if (!refused) return ExitStatus::Ok;
  if (!refused->text.empty()) windows_.Say(refused->text);
  return ExitStatus::ChecksFailed;
}

void Session::Close() {
  // After a restart the transport is closed already: nothing is sent.
  if (link_.TcpUp() || link_.SerialOpen()) platform::Guard([this] { link_.Disconnect(); });
  // The socket's close event, so the log ends its file.
  platform::DelayUntil(1000, [&] { return !link_.TcpUp() && !link_.SerialOpen(); });
}

}  // namespace cli
