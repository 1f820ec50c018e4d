#pragma once
// The main window's page control with its eight pages and the fields laid
// into them, as the main window builds them.
#include <stdexcept>
#include <string>
#include <string_view>

#include "config/config_pages.h"
#include "platform/ui/toolkit.h"

namespace config::testing {

struct Pages {
  platform::PageControl pageControl{nullptr, "PageControl1"};
  platform::TabSheet pstn{&pageControl, "Tab_PSTN"};
  platform::TabSheet lan{&pageControl, "Tab_LAN"};
  platform::TabSheet pc{&pageControl, "Tab_PC"};
  platform::TabSheet voip{&pageControl, "Tab_VoIP"};
  platform::TabSheet service{&pageControl, "Tab_Service"};
  platform::TabSheet autoUpgrade{&pageControl, "Tab_Auto_upgrade"};
  platform::TabSheet status{&pageControl, "Tab_Status_information"};
  platform::TabSheet about{&pageControl, "Tab_About"};
  ConfigPages p{PageSlots{&pstn, &lan, &pc, &voip, &service, &autoUpgrade, &status, &about}};

  platform::Control& Named(std::string_view name) {
    platform::Control* c = pageControl.Find(name);
    if (!c) throw std::runtime_error("no control " + std::string(name));
    return *c;
  }
};

}  // namespace config::testing
