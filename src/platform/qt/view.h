#pragma once
// The Qt Widgets view of the control toolkit: builds real widgets from a
// control tree and binds the two both ways.
//
// A user's edit or click sets the control (which runs its rule) through the
// general error handler; a change the program makes to a control reaches the
// widget through the control's change notification. The controls are the
// only source of truth: a widget never keeps a value the control does not
// have. Every widget's objectName is its control's name.
#include <memory>
#include <string_view>

class QApplication;
class QWidget;

namespace platform {
class Control;
class Form;
}  // namespace platform

namespace platform::qt {

/// Sets the application's look: the Fusion style with the desktop's palette
/// (Fusion's own where the desktop gives none), "*" as the password
/// character and a default font whose metrics suit the windows' pixel
/// layouts. Call once after creating the QApplication, before rendering.
void ApplyLook(QApplication& app);

/// One window: the top-level widget of a form and the widgets of its
/// controls. The form must outlive its view.
class FormView {
 public:
  explicit FormView(platform::Form& form);
  ~FormView();
  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

  /// The top-level window.
  QWidget* Window() const;
  /// The widget that shows `control`, or null when it has none (menus,
  /// controls of another form).
  QWidget* WidgetOf(const platform::Control& control) const;
  /// The widget of the control named `name` in this window, or null.
  QWidget* WidgetNamed(std::string_view name) const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform::qt
