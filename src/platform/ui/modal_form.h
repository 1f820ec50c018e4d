#pragma once
// Modal windows wait through one interface, as message boxes do: a nested
// event loop in the program, a scripted double in tests that acts on the
// window while it is open and records every window shown.
#include <deque>
#include <functional>
#include <vector>

namespace platform {

class Form;

class ModalForms {
 public:
  virtual ~ModalForms() = default;
  /// `form` has just been shown modally: returns once it has closed.
  virtual void Run(Form& form) = 0;
};

/// Installs the program-wide modal forms; null restores the default, which
/// presses the window's default button at once, as a user pressing Enter
/// would, and closes the window when that did not.
void InstallModalForms(ModalForms* forms);
ModalForms& CurrentModalForms();

/// The test double: installs itself for its lifetime; each window shown gets
/// the next queued action (the default's Enter when none is queued) and is
/// closed afterwards if it is still open.
class ScriptedModalForms : public ModalForms {
 public:
  using Action = std::function<void(Form&)>;
  ScriptedModalForms();
  ~ScriptedModalForms() override;

  void Queue(Action a) { actions_.push_back(std::move(a)); }
  const std::vector<Form*>& Shown() const { return shown_; }

  void Run(Form& form) override;

 private:
  std::deque<Action> actions_;
  std::vector<Form*> shown_;
  ModalForms* previous_;
};

}  // namespace platform
