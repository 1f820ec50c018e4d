#include "form.h"

#include "menu.h"
#include "modal_form.h"
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

ModalResult Form::ShowModal() {
  result_ = ModalResult::None;
  modal_ = true;
  Show();
  try {
    CurrentModalForms().Run(*this);
  } catch (...) {
    modal_ = false;
    Hide();
    throw;
  }
  modal_ = false;
  Hide();
  return result_ == ModalResult::None ? ModalResult::Cancel : result_;
}

void Form::SetModalResult(ModalResult r) {
  result_ = r;
  if (r != ModalResult::None) Close();
}

namespace {
/// The first button, depth first, that `pick` chooses and that can be pressed.
Button* FirstButton(Control& c, bool (Button::*pick)() const) {
  if (auto* b = dynamic_cast<Button*>(&c); b && (b->*pick)() && b->Showing() && b->EffectivelyEnabled())
    return b;
  for (Control* child : c.Children())
    if (Button* b = FirstButton(*child, pick)) return b;
  return nullptr;
}

bool Press(Button* b) {
  if (!b) return false;
  b->Click();
  return true;
}
}  // namespace

bool Form::PressEnter() { return Press(FirstButton(*this, &Button::IsDefault)); }

bool Form::PressEscape() { return Press(FirstButton(*this, &Button::IsCancel)); }

bool Form::ShortCut(int code) { return popup_ && popup_->ShortCut(code); }

void Form::SetFocus(Control* c) {
  if (Assign(focused_, c)) Notify(Prop::Focus);
}

}  // namespace platform
