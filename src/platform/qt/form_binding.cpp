// The binding of a form to its top-level window: title, showing and first
// placement on the screen, size, focus, background.
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "platform/qt/binding.h"
#include "platform/qt/qt_widgets.h"
#include "platform/qt/text_codec.h"

namespace platform::qt {

namespace {

class FormBinding : public Binding {
 public:
  FormBinding(FormView::Impl& v, platform::Form& f, FormWindow* w) : Binding(v, f, w), form_(f) {
    Qt::WindowFlags flags = Qt::Window;
    if (f.BorderStyle() != platform::Form::Border::Sizeable)
      flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
               Qt::WindowCloseButtonHint;
    if (f.StayOnTop()) flags |= Qt::WindowStaysOnTopHint;
    w->setWindowFlags(flags);
  }
  void Apply(Prop p) override {
    switch (p) {
      case Prop::Caption: widget_->setWindowTitle(Decode(control_.Caption())); break;
      case Prop::Visible:
        if (control_.Visible()) {
          const bool first = !placed_;
          if (first) PlaceOnScreen();
          // A window shown modally keeps input from the others while it is open.
          widget_->setWindowModality(form_.Modal() ? Qt::ApplicationModal : Qt::NonModal);
          widget_->show();
          if (first && form_.OuterSize()) FitFrame();
          Apply(Prop::Front);
        } else {
          widget_->hide();
        }
        break;
      case Prop::Front:
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) widget_->raise();
        widget_->activateWindow();
        Apply(Prop::Focus);
        break;
      case Prop::Geometry: {
        const Rect& r = control_.Geometry();
        if (form_.BorderStyle() != platform::Form::Border::Sizeable)
          widget_->setFixedSize(r.width, r.height);
        else
          widget_->resize(r.width, r.height);
        break;
      }
      case Prop::Focus:
        if (Control* c = form_.Focused())
          if (QWidget* w = view_.WidgetOf(*c); w && !w->hasFocus()) w->setFocus();
        break;
      case Prop::Colour: ApplyBackground(widget_, control_.Background()); break;
      case Prop::Enabled: widget_->setEnabled(control_.Enabled()); break;
      default: break;
    }
  }

 private:
  /// The first showing places the window: centred on the screen, or at its
  /// designed position kept within the screen.
  void PlaceOnScreen() {
    placed_ = true;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect avail = screen->availableGeometry();
    const Rect& r = control_.Geometry();
    QSize size(r.width, r.height);
    if (form_.OuterSize()) size = size.boundedTo(avail.size());
    if (form_.WindowPlacement() == platform::Form::Placement::ScreenCenter) {
      widget_->move(avail.center() - QPoint(size.width() / 2, size.height() / 2));
    } else {
      const int x = std::clamp(r.left, avail.left(), std::max(avail.left(), avail.right() - size.width()));
      const int y = std::clamp(r.top, avail.top(), std::max(avail.top(), avail.bottom() - size.height()));
      widget_->move(x, y);
      if (form_.OuterSize() && size.height() != r.height) widget_->resize(size);
    }
  }

  /// A window whose designed size is its outer size loses the frame the
  /// window manager puts around it, once the frame is known.
  void FitFrame() {
    QTimer::singleShot(0, widget_, [w = widget_] {
      const QSize frame = w->frameGeometry().size() - w->size();
      if (frame.width() > 0 || frame.height() > 0) w->resize(w->size() - frame);
    });
  }

  platform::Form& form_;
  bool placed_ = false;
};

}  // namespace

Binding* BindForm(FormView::Impl& view, platform::Form& form, FormWindow* window) {
  return view.Bind<FormBinding>(form, window);
}

}  // namespace platform::qt
