#include "ui/login_dialog.h"

#include "link/connection.h"
#include "ui/main_window.h"

namespace ui {

TF_Login::TF_Login()
    : Form("F_Login", "Login"),
      L_Login_ID(this, "L_Login_ID"),
      ED_ID(this, "ED_ID"),
      L_Password(this, "L_Password"),
      ED_Password(this, "ED_Password"),
      BB_OK(this, "BB_OK"),
      BB_Cancel(this, "BB_Cancel") {
  SetGeometry({0, 0, 192, 95});
  SetBorderStyle(Border::FixedDialog);
  SetPlacement(Placement::ScreenCenter);
  SetStayOnTop(true);

  L_Login_ID.SetCaption("Login ID");
  L_Login_ID.SetGeometry({9, 12, 0, 0});
  ED_ID.SetGeometry({70, 9, 107, 19});
  L_Password.SetCaption("Password");
  L_Password.SetGeometry({9, 37, 0, 0});
  ED_Password.SetGeometry({70, 34, 107, 19});
  ED_Password.SetPasswordChar('*');
  BB_OK.SetCaption("&Ok");
  BB_OK.SetGeometry({41, 62, 69, 25});
  BB_Cancel.SetCaption("&Cancel");
  BB_Cancel.SetGeometry({109, 62, 69, 25});

  BB_OK.onClick = [this] { platform::Guard([this] { BB_OKClick(); }); };
  BB_Cancel.onClick = [this] { platform::Guard([this] { BB_CancelClick(); }); };
  ED_Password.onKeyPress = [this](char& key) { ED_PasswordKeyPress(key); };
}

void TF_Login::Wire(TF_morvel_config_main& main, devlink::TF_Connection& connection) {
  main_ = &main;
  connection_ = &connection;
}

void TF_Login::BB_OKClick() {
  if (ED_ID.Text().empty() || ED_Password.Text().empty()) {
    platform::ShowMessageBox(main_->messages[lang::Msg::FillOutAll], "Warning", platform::Icon::Warning,
                             platform::Buttons::Ok);
    return;
  }
  connection_->SendLogin(ED_ID.Text(), ED_Password.Text());
  main_->SetFocus(&main_->PageControl1);
  main_->PageControl1.SetActivePage(&main_->Tab_LAN);
}

void TF_Login::ED_PasswordKeyPress(char& key) {
  if (key == '\r') BB_OK.Click();
}

void TF_Login::BB_CancelClick() { Close(); }

}  // namespace ui
