#pragma once
// The login dialog: takes the gateway's login ID and password, prepares the
// main window for the read-out and sends the login line. It stays open after
// OK; the reply interpreter closes it when the gateway accepts the login.
#include "platform/ui/toolkit.h"

namespace devlink {
class DeviceLink;
}

namespace ui {

class TF_morvel_config_main;

class TF_Login : public platform::Form {
 public:
  TF_Login();

  void Wire(TF_morvel_config_main& main, devlink::DeviceLink& link);

  platform::Label L_Login_ID;
  platform::Edit ED_ID;
  platform::Label L_Password;
  platform::Edit ED_Password;
  platform::Button BB_OK;
  platform::Button BB_Cancel;

  void BB_OKClick();
  /// Enter in the password box presses OK; the character goes on unchanged.
  void ED_PasswordKeyPress(char& key);
  void BB_CancelClick();

 private:
  TF_morvel_config_main* main_ = nullptr;
  devlink::DeviceLink* link_ = nullptr;
};

}  // namespace ui
