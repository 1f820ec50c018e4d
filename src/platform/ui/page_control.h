#pragma once
// A page control with its pages (tab sheets).
#include <functional>
#include <string>
#include <vector>

#include "control.h"

namespace platform {

class PageControl;

class TabSheet : public Control {
 public:
  TabSheet(PageControl* owner, std::string name);
  PageControl* Owner() const { return owner_; }
  int PageIndex() const;
  bool TabVisible() const { return tabVisible_; }
  /// Hiding the tab of the active page makes the next page with a visible tab
  /// the active one (a program choice: no change rule runs).
  void SetTabVisible(bool v);

 private:
  PageControl* owner_;
  bool tabVisible_ = true;
};

class PageControl : public Control {
 public:
  using Control::Control;
  const std::vector<TabSheet*>& Pages() const { return pages_; }
  TabSheet* ActivePage() const { return active_; }
  int ActivePageIndex() const { return active_ ? active_->PageIndex() : -1; }
  /// A page chosen by the program: runs no rule.
  void SetActivePage(TabSheet* page);
  /// A page chosen by the user: runs onChange when the page really changed.
  void UserSelect(TabSheet* page);
  std::function<void()> onChange;

 private:
  friend class TabSheet;
  void AddPage(TabSheet* p);
  TabSheet* NextVisibleAfter(const TabSheet* p) const;

  std::vector<TabSheet*> pages_;
  TabSheet* active_ = nullptr;
};

}  // namespace platform
