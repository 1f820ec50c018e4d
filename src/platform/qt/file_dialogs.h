#pragma once
// File dialogs of the desktop program, shown as the platform's QFileDialog.
#include "platform/ui/file_dialog.h"

namespace platform::qt {

/// Shows each dialog modally over the active window; its own event loop
/// keeps the program's events flowing.
class QtFileDialogs : public platform::FileDialogs {
 public:
  std::optional<std::string> Choose(const platform::FileDialog& dialog) override;
};

}  // namespace platform::qt
