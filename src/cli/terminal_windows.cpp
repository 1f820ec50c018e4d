#include "cli/terminal_windows.h"

#include "lang/fixed_texts.h"
#include "platform/ui/errors.h"

namespace cli {

namespace texts = lang::fixed;

lang::MessageTexts EnglishMessages() {
  lang::MessageTexts m;
  for (size_t i = 0; i < lang::kMessageKeys.size(); ++i)
    m.Set(lang::Msg(i), std::string(lang::kMessageKeys[i]));
  return m;
}

TerminalWindows::TerminalWindows(Terminal& terminal, devlink::ConnectionLog& log)
    : terminal_(terminal), log_(log), previous_(&platform::CurrentMessageBoxes()) {
  platform::InstallMessageBoxes(this);
}

TerminalWindows::~TerminalWindows() { platform::InstallMessageBoxes(previous_); }

std::optional<devlink::Ending> TerminalWindows::Ended(devlink::Conversation c) const {
  const auto found = endings_.find(c);
  if (found == endings_.end()) return std::nullopt;
  return found->second;
}

void TerminalWindows::Trace(std::string line) {
  // The queries of the read-out are its steps.
  constexpr std::string_view kSent = "Send_Message : get-";
  if (line.starts_with(kSent) && line.ends_with("\r"))
    Step(std::string(texts::kStepQuery) + line.substr(kSent.size() - 4, line.size() - kSent.size() + 3));
  log_.Trace(line);
}

void TerminalWindows::Untraced(Traffic way, std::string_view bytes) { log_.Untraced(way, bytes); }

void TerminalWindows::ShowSerialConnected() {
  log_.Begin();
  Step(texts::kStepConnected);
}

void TerminalWindows::ShowTcpConnected() {
  log_.Begin();
  Step(texts::kStepConnected);
}

void TerminalWindows::ShowDisconnected() { log_.End(); }

void TerminalWindows::CloseLogin() {
  loggedIn_ = true;
  Step(texts::kStepLoggedIn);
}

void TerminalWindows::ShowSaveProgress(int percent) {
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  Step(std::string(texts::kStepSaving) + std::to_string(percent) + "%");
}

void TerminalWindows::ShowRestarting() { Step(texts::kStepRestarting); }

platform::Answer TerminalWindows::Show(const platform::MessageBox& box) {
  // A box's lines are parted by CR.
  std::string text = box.text;
  for (char& c : text)
    if (c == '\r') c = ' ';
  Say(text);
  switch (box.buttons) {
    case platform::Buttons::Ok: return platform::Answer::Ok;
    case platform::Buttons::OkCancel: return platform::Answer::Cancel;
    case platform::Buttons::YesNo: return platform::Answer::No;
  }
  return platform::Answer::Ok;
}

void TerminalWindows::Say(std::string_view text) {
  terminal_.err << platform::ProgramTitle() << ": " << text << "\n" << std::flush;
}

void TerminalWindows::Step(std::string_view text) {
  if (terminal_.errIsTerminal) Say(text);
}

}  // namespace cli
