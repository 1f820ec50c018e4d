#pragma once
// Popup menus whose entries may carry a keyboard shortcut.
#include <functional>
#include <string>
#include <vector>

#include "control.h"

namespace platform {

/// Shortcut codes as the window descriptions store them: modifier bits plus a
/// virtual-key code.
namespace shortcut {
inline constexpr int kShift = 0x2000;
inline constexpr int kCtrl = 0x4000;
inline constexpr int kAlt = 0x8000;
inline constexpr int kDelete = 0x2E;
}  // namespace shortcut

class MenuItem : public Control {
 public:
  using Control::Control;
  int ShortCut() const { return shortcut_; }
  void SetShortCut(int code) { shortcut_ = code; }
  /// Runs onClick when enabled (hidden entries still answer their shortcut).
  void Click() {
    if (Enabled() && onClick) onClick();
  }
  std::function<void()> onClick;

 private:
  int shortcut_ = 0;
};

class PopupMenu : public Control {
 public:
  using Control::Control;
  /// The entries listed when the menu pops up: the visible ones.
  std::vector<MenuItem*> ListedItems() const;
  /// Runs the entry with this shortcut; false when none has it.
  bool ShortCut(int code);
};

}  // namespace platform
