#pragma once
// The main window's page control with its eight pages and the fields laid
// into them, as the main window builds them, on a throwaway page control.
#include <stdexcept>
#include <string>
#include <string_view>

#include "config/config_pages.h"
#include "platform/ui/toolkit.h"

namespace testsupport {

struct StandInPages {
  platform::PageControl pageControl{nullptr, "PageControl1"};
  platform::TabSheet pstn{&pageControl, "Tab_PSTN"}, lan{&pageControl, "Tab_LAN"}, pc{&pageControl, "Tab_PC"},
      voip{&pageControl, "Tab_VoIP"}, service{&pageControl, "Tab_Service"},
      autoUpgrade{&pageControl, "Tab_Auto_upgrade"}, status{&pageControl, "Tab_Status_information"},
      about{&pageControl, "Tab_About"};
  config::ConfigPages pages{
      config::PageSlots{&pstn, &lan, &pc, &voip, &service, &autoUpgrade, &status, &about}};

  /// The control of that name anywhere on the pages; throws when there is none.
  platform::Control& Named(std::string_view name) {
    platform::Control* c = pageControl.Find(name);
    if (!c) throw std::runtime_error("no control " + std::string(name));
    return *c;
  }
};

}  // namespace testsupport
