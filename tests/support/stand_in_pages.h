#pragma once
// The main window's page control with its eight pages and the fields laid
// into them, as the main window builds them, on a throwaway page control,
// with a lookup by name for tests.
#include <stdexcept>
#include <string>
#include <string_view>

#include "config/detached_pages.h"

namespace testsupport {

struct StandInPages : config::DetachedPages {
  /// The control of that name anywhere on the pages; throws when there is none.
  platform::Control& Named(std::string_view name) {
    platform::Control* c = pageControl.Find(name);
    if (!c) throw std::runtime_error("no control " + std::string(name));
    return *c;
  }
};

}  // namespace testsupport
