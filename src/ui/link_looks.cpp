// The main window's looks as the device link asks for them: the button bar
// after a transport opens or closes and after the model check, Save held or
// released, the login dialog, the trace, and a serial save's progress on the
// cover's strip. The trace, the link's traffic and the transport's opening
// and closing also go to the connection log.
#include <utility>

#include "devlink/connection_log.h"
#include "ui/debug_window.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"

namespace ui {

void TF_morvel_config_main::Trace(std::string line) {
  log_->Trace(line);
  debug_->Display.Add(std::move(line));
}

void TF_morvel_config_main::Untraced(Traffic way, std::string_view bytes) { log_->Untraced(way, bytes); }

std::string TF_morvel_config_main::Message(lang::Msg m) const { return messages[m]; }

void TF_morvel_config_main::ShowSerialConnected() {
  log_->Begin();
  BB_Connect.Hide();
  BB_Disconnect.Show();
}

void TF_morvel_config_main::ShowTcpConnected() {
  log_->Begin();
  BB_Restart.SetEnabled(true);
  BB_Connect.Hide();
  BB_Disconnect.Show();
}

void TF_morvel_config_main::ShowDisconnected() {
  // The polling stops until the user chooses the status page again; the
  // read-out belonged to the connection.
  T_State_Info.Stop();
  readOut_.reset();
  BB_Restart.SetEnabled(false);
  BB_Connect.Show();
  BB_Disconnect.Hide();
  log_->End();
}

void TF_morvel_config_main::ShowModelAccepted() {
  P_main.Hide();
  BB_Restart.SetEnabled(true);
}

void TF_morvel_config_main::EnableSave(bool enabled) {
  saveAllowed_ = enabled;
  ApplySaveLook();
}

void TF_morvel_config_main::ShowLogin() { login_->Show(); }

void TF_morvel_config_main::CloseLogin() { login_->Close(); }

void TF_morvel_config_main::ShowSaveProgress(int percent) {
  if (!std::exchange(saveProgressShown_, true)) {
    coverWasHidden_ = !P_main.Visible();
    P_main.Show();
    P_State.Show();
  }
  Gauge1.SetProgress(percent);
}

void TF_morvel_config_main::ShowRestarting() { StartRestartWait(); }

void TF_morvel_config_main::ConversationEnded(const devlink::Ending& ending) {
  if (ending.conversation == devlink::Conversation::ReadOut && ending.outcome == devlink::Outcome::Complete)
    KeepReadOut();
}

void TF_morvel_config_main::HideSaveProgress() {
  if (!std::exchange(saveProgressShown_, false)) return;
  P_State.Hide();
  if (coverWasHidden_) P_main.Hide();
}

}  // namespace ui
