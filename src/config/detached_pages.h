#pragma once
// A set of the configuration fields of its own, on a page control that no
// window shows and no rule watches: the read-out kept for the review, a
// file's configuration before it goes onto the pages.
#include "config/config_pages.h"
#include "platform/ui/toolkit.h"

namespace config {

struct DetachedPages {
  platform::PageControl pageControl{nullptr, "PageControl1"};
  platform::TabSheet pstn{&pageControl, "Tab_PSTN"}, lan{&pageControl, "Tab_LAN"}, pc{&pageControl, "Tab_PC"},
      voip{&pageControl, "Tab_VoIP"}, service{&pageControl, "Tab_Service"},
      autoUpgrade{&pageControl, "Tab_Auto_upgrade"}, status{&pageControl, "Tab_Status_information"},
      about{&pageControl, "Tab_About"};
  ConfigPages pages{PageSlots{&pstn, &lan, &pc, &voip, &service, &autoUpgrade, &status, &about}};
};

}  // namespace config
