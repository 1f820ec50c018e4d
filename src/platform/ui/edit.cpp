#include "edit.h"

namespace platform {

Edit::Edit(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetBackground(Colour::Sys(Colour::System::Window));
}

bool Edit::SetText(std::string_view text) {
  if (text_ == text) return false;
  text_.assign(text);
  Notify(Prop::Text);
  return true;
}

void Edit::SetReadOnly(bool r) {
  if (Assign(readOnly_, r)) Notify(Prop::ReadOnly);
}

AddressEdit::AddressEdit(Control* parent, std::string name, std::string mask)
    : Edit(parent, std::move(name)), mask_(std::move(mask)) {
  text_ = std::string(kEmpty);
  SetMaxLength(int(kEmpty.size()));
  Font f;
  f.fixedPitch = true;
  SetFont(f);
}

std::string AddressEdit::Place(std::string_view text) {
  std::string out(kEmpty);
  size_t group = 0;
  size_t pos = 0;  // position within the current piece
  for (char c : text) {
    if (c == '.') {
      if (++group == 4) break;
      pos = 0;
      continue;
    }
    if (pos < 3) {
      const bool digit = c >= '0' && c <= '9';
      out[group * 4 + pos] = digit ? c : ' ';
    }
    ++pos;
  }
  return out;
}

bool AddressEdit::SetText(std::string_view text) { return Edit::SetText(Place(text)); }

}  // namespace platform
