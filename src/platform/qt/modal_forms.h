#pragma once
// Modal windows of the desktop program: a nested event loop until they close.
#include "platform/ui/modal_form.h"

namespace platform::qt {

/// Runs the event loop while the form is shown; its view makes the window
/// application-modal, so only it takes input meanwhile.
class QtModalForms : public platform::ModalForms {
 public:
  void Run(platform::Form& form) override;
};

}  // namespace platform::qt
