// The binding of the string grid: the owner-drawn grid widget repaints on
// every change of the control that it shows.
#include "platform/qt/binding.h"
#include "platform/qt/qt_widgets.h"

namespace platform::qt {

namespace {

class GridBinding : public Binding {
 public:
  GridBinding(FormView::Impl& v, StringGrid& g, QWidget* parent) : Binding(v, g, new GridWidget(g, parent)) {}
  void Apply(Prop p) override {
    switch (p) {
      case Prop::Cells:
      case Prop::RowCount:
      case Prop::Selection:
      case Prop::Colour:
      case Prop::Enabled: static_cast<GridWidget*>(widget_)->Refresh(); break;
      default: break;
    }
    Binding::Apply(p);
  }
};

}  // namespace

Binding* BindGrid(FormView::Impl& view, Control& c, QWidget* parent) {
  if (auto* grid = dynamic_cast<StringGrid*>(&c)) return view.Bind<GridBinding>(*grid, parent);
  return nullptr;
}

}  // namespace platform::qt
