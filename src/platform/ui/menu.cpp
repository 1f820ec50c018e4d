#include "menu.h"

namespace platform {

std::vector<MenuItem*> PopupMenu::ListedItems() const {
  std::vector<MenuItem*> items;
  for (Control* c : Children())
    if (auto* item = dynamic_cast<MenuItem*>(c); item && item->Visible()) items.push_back(item);
  return items;
}

bool PopupMenu::ShortCut(int code) {
  for (Control* c : Children())
    if (auto* item = dynamic_cast<MenuItem*>(c); item && item->ShortCut() == code && item->Enabled()) {
      item->Click();
      return true;
    }
  return false;
}

}  // namespace platform
