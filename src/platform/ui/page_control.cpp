#include "page_control.h"

#include <algorithm>

namespace platform {

TabSheet::TabSheet(PageControl* owner, std::string name) : Control(owner, std::move(name)), owner_(owner) {
  owner_->AddPage(this);
}

int TabSheet::PageIndex() const {
  const auto& pages = owner_->Pages();
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TabSheet::SetTabVisible(bool v) {
  if (!Assign(tabVisible_, v)) return;
  Notify(Prop::TabVisible);
  if (!v && owner_->ActivePage() == this) owner_->SetActivePage(owner_->NextVisibleAfter(this));
}

void PageControl::AddPage(TabSheet* p) {
  pages_.push_back(p);
  if (!active_) active_ = p;
}

TabSheet* PageControl::NextVisibleAfter(const TabSheet* p) const {
  const int n = int(pages_.size());
  const int start = p->PageIndex();
  for (int k = 1; k < n; ++k) {
    TabSheet* candidate = pages_[(start + k) % n];
    if (candidate->TabVisible()) return candidate;
  }
  return nullptr;
}

void PageControl::SetActivePage(TabSheet* page) {
  if (Assign(active_, page)) Notify(Prop::ActivePage);
}

void PageControl::UserSelect(TabSheet* page) {
  if (!Assign(active_, page)) return;
  Notify(Prop::ActivePage);
  if (onChange) onChange();
}

}  // namespace platform
