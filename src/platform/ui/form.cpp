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
Button* FirstDefault(Control& c) {
  if (auto* b = dynamic_cast<Button*>(&c); b && b->IsDefault() && b->Showing() && b->EffectivelyEnabled())
    return b;
  for (Control* child : c.Children())
    if (Button* b = FirstDefault(*child)) return b;
  return nullptr;
}
}  // namespace

bool Form::PressEnter() {
  Button* b = FirstDefault(*this);
  if (!b) return false;
  b->Click();
  return true;
}

bool Form::ShortCut(int code) { return popup_ && popup_->ShortCut(code); }

void Form::SetFocus(Control* c) {
  if (Assign(focused_, c)) Notify(Prop::Focus);
}

}  // namespace platform
