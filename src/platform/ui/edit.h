#pragma once
// Single-line edit boxes: the plain (or secret) text edit and the masked
// dotted-address edit.
#include <functional>
#include <string>
#include <string_view>

#include "control.h"

namespace platform {

class Edit : public Control {
 public:
  Edit(Control* parent, std::string name);

  const std::string& Text() const { return text_; }
  /// Replaces the whole text (program or user); notifies Text on a change.
  virtual bool SetText(std::string_view text);

  /// 0 for a plain edit; otherwise the character shown for each character.
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c) { passwordChar_ = c; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool r);
  int MaxLength() const { return maxLength_; }  // 0: no limit
  void SetMaxLength(int n) { maxLength_ = n; }

  /// The input focus has left the edit.
  std::function<void()> onExit;
  /// A character typed into the edit; the handler may change it.
  std::function<void(char& key)> onKeyPress;

  void Exit() {
    if (onExit) onExit();
  }
  void KeyPress(char& key) {
    if (onKeyPress) onKeyPress(key);
  }

 protected:
  std::string text_;

 private:
  char passwordChar_ = 0;
  bool readOnly_ = false;
  int maxLength_ = 0;
};

/// The masked edit of an IPv4 address: always 15 characters, four groups of
/// three positions separated by literal dots; an unfilled position holds a
/// blank, so the empty field reads "   .   .   .   ".
class AddressEdit : public Edit {
 public:
  static constexpr std::string_view kEmpty = "   .   .   .   ";

  /// `mask` is the window description's edit mask, kept as given: typing
  /// follows the fixed layout above whatever it says.
  AddressEdit(Control* parent, std::string name, std::string mask = "999.999.999.999;1; ");

  /// Places `text` group by group: it is cut at its dots, each piece goes
  /// left-aligned into its group (first three characters kept, padded with
  /// blanks); missing groups stay blank. A position takes only a digit or a
  /// blank, as the mask does: any other character is stored as a blank.
  bool SetText(std::string_view text) override;

  /// True when the text is "   .   .   .   ".
  bool IsEmpty() const { return text_ == kEmpty; }
  const std::string& Mask() const { return mask_; }

  /// The 15-character text that placing `text` gives.
  static std::string Place(std::string_view text);

 private:
  std::string mask_;
};

}  // namespace platform
