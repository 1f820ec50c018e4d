#include "choice.h"

#include <strings.h>
#include <algorithm>

namespace platform {

void CheckBox::SetChecked(bool c) {
  if (!Assign(checked_, c)) return;
  Notify(Prop::Checked);
  if (onClick) onClick();
}

RadioButton::RadioButton(Control* parent, std::string name, RadioSet* set)
    : Control(parent, std::move(name)), set_(set) {
  if (set_) set_->Add(*this);
}

void RadioButton::SetChecked(bool c) {
  if (!Assign(checked_, c)) return;
  Notify(Prop::Checked);
  if (!c) return;
  if (set_)
    for (RadioButton* other : set_->Members())
      if (other != this) other->SetChecked(false);
  if (onClick) onClick();
}

void RadioGroup::SetItems(std::vector<std::string> items) {
  if (!Assign(items_, std::move(items))) return;
  Notify(Prop::Items);
  if (itemIndex_ >= int(items_.size())) SetItemIndex(int(items_.size()) - 1);
}

void RadioGroup::SetItemText(int index, std::string text) {
  if (index < 0 || index >= int(items_.size())) return;
  if (Assign(items_[index], std::move(text))) Notify(Prop::Items);
}

void RadioGroup::SetItemIndex(int index) {
  index = std::clamp(index, -1, int(items_.size()) - 1);
  if (!Assign(itemIndex_, index)) return;
  Notify(Prop::ItemIndex);
  if (onClick) onClick();
}

void ComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  itemIndex_ = -1;
  Notify(Prop::Items);
}

void ComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= int(items_.size())) index = -1;
  if (Assign(itemIndex_, index)) Notify(Prop::ItemIndex);
}

std::string ComboBox::Text() const { return itemIndex_ < 0 ? std::string() : items_[itemIndex_]; }

int ComboBox::IndexOf(std::string_view text) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].size() == text.size() && strncasecmp(items_[i].data(), text.data(), text.size()) == 0)
      return int(i);
  return -1;
}

void ComboBox::SetText(std::string_view text) {
  const int i = IndexOf(text);
  if (i >= 0) SetItemIndex(i);
}

void ComboBox::UserChoose(int index) {
  SetItemIndex(index);
  if (onChange) onChange();
}

}  // namespace platform
