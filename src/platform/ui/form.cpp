#include "form.h"

#include "menu.h"
#include "widgets.h"

namespace platform {

Form::Form(std::string name, std::string caption) : Control(nullptr, std::move(name)) {
  SetVisible(false);
  SetCaption(std::move(caption));
}

void Form::Show() {
  if (!SetVisible(true)) {
    Notify(Prop::Front);
    return;
  }
  if (onShow) onShow();
}

bool Form::Close() {
  bool canClose = true;
  if (onCloseQuery) onCloseQuery(canClose);
  if (!canClose) return false;
  if (onClose) onClose();
  Hide();
  return true;
}

namespace {
/// The first button below `c` that is showing, enabled and has `role`.
Button* FirstButton(Control& c, bool (Button::*role)() const) {
  if (auto* b = dynamic_cast<Button*>(&c); b && (b->*role)() && b->Showing() && b->EffectivelyEnabled())
    return b;
  for (Control* child : c.Children())
    if (Button* b = FirstButton(*child, role)) return b;
  return nullptr;
}

bool PressFirst(Control& c, bool (Button::*role)() const) {
  Button* b = FirstButton(c, role);
  if (!b) return false;
  b->Click();
  return true;
}
}  // namespace

bool Form::PressEnter() { return PressFirst(*this, &Button::IsDefault); }

bool Form::PressEscape() { return PressFirst(*this, &Button::IsCancel); }

bool Form::ShortCut(int code) { return popup_ && popup_->ShortCut(code); }

void Form::SetFocus(Control* c) {
  if (Assign(focused_, c)) Notify(Prop::Focus);
}

}  // namespace platform
