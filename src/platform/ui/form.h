#pragma once
// A window: the root of a control tree.
#include <functional>
#include <string>

#include "control.h"

namespace platform {

class PopupMenu;

class Form : public Control {
 public:
  enum class Placement : uint8_t { Designed, ScreenCenter };
  enum class Border : uint8_t { Sizeable, FixedSingle, FixedDialog };

  /// Forms start hidden. `Geometry()` holds the client area (left and top
  /// are the screen position when the placement is Designed); the caption is
  /// the window's title.
  explicit Form(std::string name, std::string caption = {});

  /// Shows the window; onShow runs when it was hidden. A window already
  /// shown is brought to the front instead (it may lie behind another).
  void Show();
  /// Asks onCloseQuery; when closing may go on, runs onClose and hides the
  /// window. True when it closed.
  bool Close();

  /// Shows the window modally (the others take no input meanwhile) and waits
  /// through the installed modal forms (modal_form.h) until it has closed.
  ModalResult ShowModal();
  /// True while ShowModal runs.
  bool Modal() const { return modal_; }
  ModalResult Result() const { return result_; }
  /// A button's answer: recorded, and the window closed.
  void SetModalResult(ModalResult r);

  std::function<void()> onShow;
  std::function<void(bool& canClose)> onCloseQuery;
  std::function<void()> onClose;

  Placement WindowPlacement() const { return placement_; }
  void SetPlacement(Placement p) { placement_ = p; }
  Border BorderStyle() const { return border_; }
  void SetBorderStyle(Border b) { border_ = b; }
  bool StayOnTop() const { return stayOnTop_; }
  void SetStayOnTop(bool s) { stayOnTop_ = s; }
  /// True when `Geometry()` gives the outer size rather than the client area.
  bool OuterSize() const { return outerSize_; }
  void SetOuterSize(bool o) { outerSize_ = o; }

  /// Enter pressed in the window: presses the first default button that is
  /// showing and enabled. False when there is none.
  bool PressEnter();
  /// Escape pressed in the window: presses the first cancel button that is
  /// showing and enabled. False when there is none.
  bool PressEscape();
  /// A key combination pressed anywhere in the window: runs the popup menu
  /// entry that has it as its shortcut.
  bool ShortCut(int code);
  void SetPopupMenu(PopupMenu* m) { popup_ = m; }
  PopupMenu* Popup() const { return popup_; }

  /// The control that has the keyboard focus (null: the form itself).
  Control* Focused() const { return focused_; }
  void SetFocus(Control* c);

 private:
  Placement placement_ = Placement::Designed;
  Border border_ = Border::Sizeable;
  bool stayOnTop_ = false;
  bool outerSize_ = false;
  bool modal_ = false;
  ModalResult result_ = ModalResult::None;
  PopupMenu* popup_ = nullptr;
  Control* focused_ = nullptr;
};

}  // namespace platform
