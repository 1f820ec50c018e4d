#pragma once
// The parts of the Qt view that its binding families share: the binding of
// one control to its widget, the window's bindings, and small helpers.
// Internal to the view.
#include <QObject>
#include <QSize>
#include <QString>
#include <initializer_list>
#include <map>
#include <memory>
#include <vector>

#include "platform/qt/view.h"
#include "platform/ui/toolkit.h"

class QFont;
class QShortcut;

namespace platform::qt {

class FormWindow;

/// One control bound to its widget. Apply brings one changed property of
/// the control onto the widget; it never writes back to the control.
class Binding {
 public:
  /// `kindProps`: the properties of the control's kind that ApplyAll brings
  /// onto the widget before the ones every control has.
  Binding(FormView::Impl& view, Control& control, QWidget* widget,
          std::initializer_list<Prop> kindProps = {});
  virtual ~Binding();
  /// Starts following the control's changes.
  void Attach();
  Control& control() const { return control_; }
  QWidget* widget() const { return widget_; }

  /// The properties every control has: visibility, enabling, geometry, font.
  virtual void Apply(Prop p);
  /// Brings every property onto the widget (once, after building): the
  /// kind's, then the common ones.
  virtual void ApplyAll();
  /// The widget's size for a control laid at `r`: kinds whose captions must
  /// not be clipped grow to their content.
  virtual QSize SizeFor(const Rect& r) const { return QSize(r.width, r.height); }

 protected:
  /// `r`'s size, grown to the widget's size hint so its caption shows whole.
  QSize GrownToContent(const Rect& r) const;

  FormView::Impl& view_;
  Control& control_;
  QWidget* widget_;
  std::vector<Prop> kindProps_;
  int observer_ = 0;
};

struct FormView::Impl : QObject {
  explicit Impl(platform::Form& f) : form(f) {}

  platform::Form& form;
  FormWindow* window = nullptr;
  std::vector<std::unique_ptr<Binding>> bindings;
  std::map<const Control*, Binding*> byControl;
  /// The bindings by their widgets, for the widgets' events.
  std::map<const QObject*, Binding*> byWidget;
  std::vector<QShortcut*> shortcuts;
  /// The captions observed for the names of the inputs they name.
  std::vector<std::pair<Control*, int>> captionObservers;

  /// Binds `c` and, below its widget, its children.
  void Build(Control& c, QWidget* parentWidget);
  template <typename B, typename... A>
  B* Bind(A&&... args) {
    auto b = std::make_unique<B>(*this, std::forward<A>(args)...);
    B* raw = b.get();
    byControl[&raw->control()] = raw;
    byWidget[raw->widget()] = raw;
    raw->widget()->installEventFilter(this);
    bindings.push_back(std::move(b));
    return raw;
  }
  QWidget* WidgetOf(const Control& c) const {
    auto it = byControl.find(&c);
    return it == byControl.end() ? nullptr : it->second->widget();
  }
  /// Lays the control's widget at its geometry, or lays out its parent's
  /// aligned children when it is aligned.
  void Place(Control& c);
  /// Docks the aligned children of `container` (Top, Bottom, Left, Right,
  /// then Client takes the rest), as the window descriptions lay them.
  void Relayout(Control& container);

  // What keyboard and screen-reader users need beyond the bindings
  // (keyboard_access.cpp).

  /// Gives every input its name for screen readers: a label beside it
  /// becomes its buddy; another caption that names it (a check box, a group,
  /// a page) or its own spoken name becomes its accessible name, following
  /// the caption's changes.
  void NameInputs();
  /// The Tab order follows the control tree, as the windows declare their
  /// controls in reading order; the widgets a binding makes inside its own
  /// (a radio group's items, a page control's tabs) take its place.
  void OrderTabs();
  /// Every push button gets a mnemonic (Alt and a letter): the one its
  /// caption gives ("&OK"), or else the first letter of its caption that no
  /// other button of the window has.
  void AssignMnemonics();
  bool eventFilter(QObject* watched, QEvent* e) override;
};

// The binding families. Each binds a control of one of its kinds under
// `parent` and returns its binding, or returns null for other kinds.

/// Edits, the address edit and drop-down lists.
Binding* BindTextInput(FormView::Impl& view, Control& c, QWidget* parent);
/// Push buttons, check boxes, radio buttons and radio groups.
Binding* BindButton(FormView::Impl& view, Control& c, QWidget* parent);
/// Panels, group boxes, page controls and their tab sheets.
Binding* BindContainer(FormView::Impl& view, Control& c, QWidget* parent);
/// Labels, images, gauges and memos.
Binding* BindDisplay(FormView::Impl& view, Control& c, QWidget* parent);
/// String grids.
Binding* BindGrid(FormView::Impl& view, Control& c, QWidget* parent);
/// Any other control: a plain widget that holds its children.
Binding* BindPlain(FormView::Impl& view, Control& c, QWidget* parent);
/// The form itself, shown by its top-level window.
Binding* BindForm(FormView::Impl& view, platform::Form& form, FormWindow* window);
/// Menus have no widget: a popup menu's entries become the window's
/// keyboard shortcuts. True when `c` is a menu or a menu entry.
bool BindMenu(FormView::Impl& view, Control& c);

// Helpers.

/// The control's name as the widget's objectName.
QString Name(const Control& c);
/// The Qt font of a toolkit font, on the application's look.
QFont FontFor(const Font& f);
/// Panels and forms paint their own background colour; with the button
/// face (every control's default) they show the window's background.
void ApplyBackground(QWidget* w, const Colour& c);

/// Applies `fn` to `w` with its signals blocked: program changes must not
/// look like user edits.
template <typename W, typename F>
void Quietly(W* w, F&& fn) {
  const bool was = w->blockSignals(true);
  fn();
  w->blockSignals(was);
}

}  // namespace platform::qt
