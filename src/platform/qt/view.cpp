#include "platform/qt/view.h"

#include "platform/qt/binding.h"
#include "platform/qt/qt_widgets.h"

namespace platform::qt {

void FormView::Impl::Build(Control& c, QWidget* parentWidget) {
  if (BindMenu(*this, c)) return;
  Binding* b = nullptr;
  for (auto bind : {BindTextInput, BindButton, BindContainer, BindDisplay, BindGrid})
    if ((b = bind(*this, c, parentWidget))) break;
  if (!b) b = BindPlain(*this, c, parentWidget);
  for (Control* child : c.Children()) Build(*child, b->widget());
}

FormView::FormView(platform::Form& form) : impl_(std::make_unique<Impl>(form)) {
  Impl& v = *impl_;
  v.window = new FormWindow(form);
  Binding* top = BindForm(v, form, v.window);
  for (Control* child : form.Children()) v.Build(*child, v.window);
  // Everything exists now: bring the controls' state onto the widgets, the
  // window last (showing it when the form is visible), then follow changes.
  for (auto& b : v.bindings)
    if (b.get() != top) b->ApplyAll();
  for (Prop p : {Prop::Caption, Prop::Colour, Prop::Enabled, Prop::Geometry}) top->Apply(p);
  v.Relayout(form);
  v.NameInputs();
  v.OrderTabs();
  v.AssignMnemonics();
  for (auto& b : v.bindings) b->Attach();
  top->Apply(Prop::Visible);
}

FormView::~FormView() {
  // Stop observing before the widgets go, and leave nothing for the events
  // sent while the window is deleted to reach.
  for (auto& [caption, id] : impl_->captionObservers) caption->Unobserve(id);
  impl_->byControl.clear();
  impl_->byWidget.clear();
  impl_->shortcuts.clear();
  impl_->bindings.clear();
  delete impl_->window;
}

QWidget* FormView::Window() const { return impl_->window; }
QWidget* FormView::WidgetOf(const Control& c) const { return impl_->WidgetOf(c); }
QWidget* FormView::WidgetNamed(std::string_view name) const {
  Control* c = impl_->form.Find(name);
  return c ? impl_->WidgetOf(*c) : nullptr;
}

}  // namespace platform::qt
