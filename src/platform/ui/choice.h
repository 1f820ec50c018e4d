#pragma once
// Controls that hold a choice: check box, radio button with its set, radio
// group and drop-down list.
//
// Rules run on value changes, whoever makes them: a check box's onClick on
// every change, a radio button's when it becomes checked, a radio group's when
// its chosen item changes. Setting the value a control already has runs nothing.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "control.h"

namespace platform {

class CheckBox : public Control {
 public:
  using Control::Control;
  bool Checked() const { return checked_; }
  /// Changes the state and runs onClick when it really changed.
  void SetChecked(bool c);
  /// A user's click: toggles.
  void Click() { SetChecked(!checked_); }
  std::function<void()> onClick;

 private:
  bool checked_ = false;
};

class RadioButton;

/// The radio buttons that exclude one another. Membership is explicit, never
/// an accident of sharing a parent.
class RadioSet {
 public:
  void Add(RadioButton& b) { members_.push_back(&b); }
  const std::vector<RadioButton*>& Members() const { return members_; }

 private:
  std::vector<RadioButton*> members_;
};

class RadioButton : public Control {
 public:
  RadioButton(Control* parent, std::string name, RadioSet* set = nullptr);
  bool Checked() const { return checked_; }
  /// Checking unchecks the other members of the set (they run nothing), then
  /// runs onClick; unchecking runs nothing.
  void SetChecked(bool c);
  /// A user's click: checks.
  void Click() { SetChecked(true); }
  std::function<void()> onClick;

 private:
  bool checked_ = false;
  RadioSet* set_;
};

/// A framed set of items of which one (or none, -1) is chosen.
class RadioGroup : public Control {
 public:
  using Control::Control;
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  /// Replaces one item's text; the chosen item stays.
  void SetItemText(int index, std::string text);
  int ItemIndex() const { return itemIndex_; }
  /// Chooses an item (clamped to -1 .. count-1); runs onClick on a change.
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int c) { columns_ = c; }
  std::function<void()> onClick;

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  int columns_ = 1;
};

/// A pick-only drop-down list.
class ComboBox : public Control {
 public:
  using Control::Control;
  const std::vector<std::string>& Items() const { return items_; }
  /// Replaces the list; the choice is cleared.
  void SetItems(std::vector<std::string> items);
  int ItemIndex() const { return itemIndex_; }
  /// Chooses an entry by the program (-1: none); no change event.
  void SetItemIndex(int index);
  /// The chosen entry's text, or empty when none is chosen.
  std::string Text() const;
  /// Chooses the entry equal to `text` without regard to case; nothing when
  /// there is none.
  void SetText(std::string_view text);
  /// A user's choice: chooses the entry and runs onChange.
  void UserChoose(int index);
  std::function<void()> onChange;

  /// Index of the entry equal to `text` without regard to case, or -1.
  int IndexOf(std::string_view text) const;

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

}  // namespace platform
