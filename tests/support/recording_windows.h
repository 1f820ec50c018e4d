#pragma once
// The windows as the device link sees them, for the link's tests and the
// benchmarks: the main window's pages on a throwaway page control, and a
// record of what the link asked of the other windows.
#include <string>
#include <vector>

#include "devlink/link_windows.h"
#include "lang/message_texts.h"
#include "platform/ui/toolkit.h"
#include "stand_in_pages.h"

namespace testsupport {

struct RecordingWindows : StandInPages, devlink::LinkWindows {
  platform::Memo trace{nullptr, "Display"};
  lang::MessageTexts messages;
  bool connected = false;
  bool restartEnabled = false;
  bool saveEnabled = false;
  bool pagesCovered = true;
  bool loginShown = false;
  bool restarting = false;
  std::vector<devlink::Ending> endings;

  RecordingWindows() {
    for (size_t i = 0; i < lang::kMessageKeys.size(); ++i)
      messages.Set(lang::Msg(i), std::string(lang::kMessageKeys[i]));
  }

  void Trace(std::string line) override { trace.Add(std::move(line)); }
  std::string Message(lang::Msg m) const override { return messages[m]; }
  void ShowSerialConnected() override { connected = true; }
  void ShowTcpConnected() override { connected = restartEnabled = true; }
  void ShowDisconnected() override { connected = restartEnabled = false; }
  void ShowModelAccepted() override {
    pagesCovered = false;
    restartEnabled = true;
  }
  void EnableSave(bool enabled) override { saveEnabled = enabled; }
  void ShowLogin() override { loginShown = true; }
  void CloseLogin() override { loginShown = false; }
  void ShowSaveProgress(int) override {}
  void HideSaveProgress() override {}
  void ShowRestarting() override { restarting = true; }
  void ConversationEnded(const devlink::Ending& e) override { endings.push_back(e); }
};

/// Holds the windows for a class that derives from the link: as its first
/// base, they exist before the link is built.
struct WithRecordingWindows {
  RecordingWindows windows;
};

}  // namespace testsupport
