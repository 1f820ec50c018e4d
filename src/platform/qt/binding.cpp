#include "platform/qt/binding.h"

#include <QEvent>
#include <QKeyEvent>
#include <QShortcut>
#include <QWidget>
#include <algorithm>

#include "platform/qt/qt_widgets.h"

namespace platform::qt {

QString Name(const Control& c) { return QString::fromStdString(c.Name()); }

void ApplyBackground(QWidget* w, const Colour& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, Resolve(c));
  w->setPalette(pal);
  w->setAutoFillBackground(c != Colour::Sys(Colour::System::BtnFace));
}

// ---------------------------------------------------------------- Binding

Binding::Binding(FormView::Impl& view, Control& control, QWidget* widget,
                 std::initializer_list<Prop> kindProps)
    : view_(view), control_(control), widget_(widget), kindProps_(kindProps) {
  widget_->setObjectName(Name(control));
}

Binding::~Binding() {
  if (observer_) control_.Unobserve(observer_);
}

void Binding::Attach() {
  observer_ = control_.Observe([this](Control&, Prop p) { Apply(p); });
}

void Binding::Apply(Prop p) {
  switch (p) {
    case Prop::Visible:
      widget_->setVisible(control_.Visible());
      if (control_.Alignment() != Align::None && control_.Parent()) view_.Relayout(*control_.Parent());
      break;
    case Prop::Enabled: widget_->setEnabled(control_.Enabled()); break;
    case Prop::Geometry: view_.Place(control_); break;
    case Prop::Font:
      if (control_.TextFont() != Font{}) widget_->setFont(FontFor(control_.TextFont()));
      view_.Place(control_);
      break;
    default: break;
  }
}

void Binding::ApplyAll() {
  for (Prop p : kindProps_) Apply(p);
  for (Prop p : {Prop::Caption, Prop::Font, Prop::Colour, Prop::Enabled, Prop::Geometry, Prop::Visible})
    Apply(p);
}

QSize Binding::GrownToContent(const Rect& r) const {
  const QSize hint = widget_->sizeHint();
  return QSize(std::max(r.width, hint.width()), std::max(r.height, hint.height()));
}

// ---------------------------------------------------------------- layout

void FormView::Impl::Place(Control& c) {
  auto it = byControl.find(&c);
  if (it == byControl.end()) return;
  if (c.Alignment() != Align::None) {
    if (c.Parent()) Relayout(*c.Parent());
    return;
  }
  const Rect& r = c.Geometry();
  const QSize size = it->second->SizeFor(r);
  it->second->widget()->setGeometry(r.left, r.top, size.width(), size.height());
}

void FormView::Impl::Relayout(Control& container) {
  QWidget* w = WidgetOf(container);
  if (!w) return;
  QRect free = w->contentsRect();
  std::vector<Control*> clients;
  for (Control* child : container.Children()) {
    QWidget* cw = WidgetOf(*child);
    if (!cw || child->Alignment() == Align::None || !child->Visible()) continue;
    const Rect& g = child->Geometry();
    switch (child->Alignment()) {
      case Align::Top:
        cw->setGeometry(free.left(), free.top(), free.width(), g.height);
        free.setTop(free.top() + g.height);
        break;
      case Align::Bottom:
        cw->setGeometry(free.left(), free.bottom() + 1 - g.height, free.width(), g.height);
        free.setBottom(free.bottom() - g.height);
        break;
      case Align::Left:
        cw->setGeometry(free.left(), free.top(), g.width, free.height());
        free.setLeft(free.left() + g.width);
        break;
      case Align::Right:
        cw->setGeometry(free.right() + 1 - g.width, free.top(), g.width, free.height());
        free.setRight(free.right() - g.width);
        break;
      default: clients.push_back(child); break;
    }
  }
  for (Control* child : clients) WidgetOf(*child)->setGeometry(free);
}

// ---------------------------------------------------------------- events

bool FormView::Impl::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::Resize:
      if (auto it = byWidget.find(watched); it != byWidget.end()) Relayout(it->second->control());
      break;
    case QEvent::FocusIn:
      if (auto it = byWidget.find(watched); it != byWidget.end() && &it->second->control() != &form)
        form.SetFocus(&it->second->control());
      break;
    case QEvent::ShortcutOverride: {
      // The window's menu shortcuts work anywhere in it, also where an edit
      // would take the keys for itself (Ctrl+Delete deletes a word there).
      auto* key = static_cast<QKeyEvent*>(e);
      const QKeySequence pressed(key->keyCombination());
      for (QShortcut* s : shortcuts)
        if (s->key() == pressed) return true;  // left unaccepted: the shortcut runs
      break;
    }
    default: break;
  }
  return false;
}

}  // namespace platform::qt
