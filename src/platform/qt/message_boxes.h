#pragma once
// Message boxes of the desktop program, shown as QMessageBox dialogs.
#include "platform/ui/message_box.h"

namespace platform::qt {

/// Shows each box modally (its own event loop keeps the program's events
/// flowing) over the active window. A box closed without a button answers
/// with its refusing button (Cancel, No) or OK for a plain box.
class QtMessageBoxes : public platform::MessageBoxes {
 public:
  platform::Answer Show(const platform::MessageBox& box) override;
};

}  // namespace platform::qt
