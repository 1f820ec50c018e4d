#pragma once
// The review before Save: every field changed since the read-out, and on
// request the exact lines that will go out. Save sends them; Cancel sends
// nothing and leaves the pages as they are.
#include <string>
#include <vector>

#include "config/changes.h"
#include "platform/ui/toolkit.h"

namespace ui {

class TF_Review : public platform::Form {
 public:
  TF_Review();

  platform::Label L_Changes;
  platform::Memo M_Changes;
  platform::CheckBox CK_Reveal;
  platform::CheckBox CK_Lines;
  platform::Label L_Lines;
  platform::Memo M_Lines;
  platform::Button BB_Save;
  platform::Button BB_Cancel;

  /// Shows what a save of `now` changes since `readOut` and the `lines` it
  /// sends, modally, secrets as dots; true when the user chose Save. The
  /// lines shown once secrets are revealed are `lines` exactly.
  bool Confirm(const config::ConfigPages& readOut, const config::ConfigPages& now,
               const std::vector<std::string>& lines);

  void CK_RevealClick();
  void CK_LinesClick();

 private:
  std::vector<config::Change> changes_;
  std::vector<std::string> lines_;
  std::vector<std::string> maskedLines_;
};

}  // namespace ui
