#include "ui/login_dialog.h"

#include "devlink/device_link.h"
#include "ui/layouts.h"
#include "ui/main_window.h"

namespace ui {

TF_Login::TF_Login()
    : Form("F_Login"),
      L_Login_ID(this, "L_Login_ID"),
      ED_ID(this, "ED_ID"),
      L_Password(this, "L_Password"),
      ED_Password(this, "ED_Password"),
      BB_OK(this, "BB_OK"),
      BB_Cancel(this, "BB_Cancel") {
  LayOutLoginDialog(*this);

  BB_OK.onClick = [this] { platform::Guard([this] { BB_OKClick(); }); };
  BB_Cancel.onClick = [this] { platform::Guard([this] { BB_CancelClick(); }); };
  ED_Password.onKeyPress = [this](char& key) { ED_PasswordKeyPress(key); };
}

void TF_Login::Wire(TF_morvel_config_main& main, devlink::DeviceLink& link) {
  main_ = &main;
  link_ = &link;
}

void TF_Login::BB_OKClick() {
  // A second OK (Enter pressed again) while the login waits for its answer
  // would run a second read-out in step with the first.
  if (link_->Asked(devlink::Conversation::ReadOut)) return;
  if (ED_ID.Text().empty() || ED_Password.Text().empty()) {
    platform::ShowMessageBox(main_->messages[lang::Msg::FillOutAll], "Warning", platform::Icon::Warning,
                             platform::Buttons::Ok);
    return;
  }
  link_->SendLogin(ED_ID.Text(), ED_Password.Text());
  main_->SetFocus(&main_->PageControl1);
  main_->PageControl1.SetActivePage(&main_->Tab_LAN);
}

void TF_Login::ED_PasswordKeyPress(char& key) {
  if (key == '\r') BB_OK.Click();
}

void TF_Login::BB_CancelClick() { Close(); }

}  // namespace ui
