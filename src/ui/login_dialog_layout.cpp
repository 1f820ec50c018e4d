// The login dialog's layout: a small fixed dialog above the other windows,
// the ID and the masked password over OK and Cancel.
#include "platform/ui/layout.h"
#include "ui/layouts.h"
#include "ui/login_dialog.h"

namespace ui {

void LayOutLoginDialog(TF_Login& w) {
  platform::ApplyLayout({
      {w, 0, 0, 192, 95, "Login"},
      {w.L_Login_ID, 9, 12, 0, 0, "Login ID"},
      {w.ED_ID, 70, 9, 107, 19},
      {w.L_Password, 9, 37, 0, 0, "Password"},
      {w.ED_Password, 70, 34, 107, 19},
      {w.BB_OK, 41, 62, 69, 25, "&Ok"},
      {w.BB_Cancel, 109, 62, 69, 25, "&Cancel"},
  });
  w.SetBorderStyle(platform::Form::Border::FixedDialog);
  w.SetPlacement(platform::Form::Placement::ScreenCenter);
  w.SetStayOnTop(true);
  w.ED_Password.SetPasswordChar('*');
  w.BB_Cancel.SetCancel(true);
  platform::NameInputs({{w.L_Login_ID, w.ED_ID}, {w.L_Password, w.ED_Password}});
}

}  // namespace ui
