// Bindings of the controls that hold others: panels, group boxes, page
// controls with their tab sheets, and plain containers.
#include <QGroupBox>
#include <QKeyEvent>
#include <QTabBar>
#include <QTabWidget>

#include "platform/qt/binding.h"
#include "platform/qt/qt_widgets.h"
#include "platform/qt/text_codec.h"

namespace platform::qt {

namespace {

class PanelBinding : public Binding {
 public:
  PanelBinding(FormView::Impl& v, Control& c, QWidget* parent) : Binding(v, c, new PanelWidget(parent)) {}
  void Apply(Prop p) override {
    if (p == Prop::Caption) {
      static_cast<PanelWidget*>(widget_)->caption = Decode(control_.Caption());
      widget_->update();
    }
    if (p == Prop::Colour) ApplyBackground(widget_, control_.Background());
    Binding::Apply(p);
  }
};

class GroupBinding : public Binding {
 public:
  GroupBinding(FormView::Impl& v, Control& c, QWidget* parent) : Binding(v, c, new QGroupBox(parent)) {
    // Opaque, so that groups laid at one place hide the ones beneath.
    widget_->setAutoFillBackground(true);
  }
  void Apply(Prop p) override {
    if (p == Prop::Caption) static_cast<QGroupBox*>(widget_)->setTitle(Decode(control_.Caption()));
    Binding::Apply(p);
  }
};

/// Ctrl+Tab and Ctrl+Shift+Tab turn to the next or the previous page whose
/// tab shows: QTabWidget's own turn to hidden ones too.
class PagesWidget : public QTabWidget {
 public:
  using QTabWidget::QTabWidget;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    const bool tabKey = e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab;
    if (!tabKey || !(e->modifiers() & Qt::ControlModifier)) return QTabWidget::keyPressEvent(e);
    const bool back = e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier);
    for (int step = 1; step < count(); ++step) {
      const int page = (currentIndex() + (back ? count() - step : step)) % count();
      if (isTabVisible(page) && isTabEnabled(page)) {
        setCurrentIndex(page);
        break;
      }
    }
    e->accept();
  }
};

class PageControlBinding : public Binding {
 public:
  PageControlBinding(FormView::Impl& v, PageControl& pc, QWidget* parent)
      : Binding(v, pc, new PagesWidget(parent), {Prop::ActivePage}), pages_(pc) {
    auto* w = tabs();
    w->setUsesScrollButtons(false);
    w->tabBar()->setExpanding(false);
    w->tabBar()->setElideMode(Qt::ElideNone);
    QObject::connect(w, &QTabWidget::currentChanged, w, [this](int index) {
      // Only a user's choice gets here: program changes block the signal.
      if (index < 0 || index >= int(pages_.Pages().size())) return;
      TabSheet* page = pages_.Pages()[size_t(index)];
      Guard([&] { pages_.UserSelect(page); });
      Apply(Prop::ActivePage);
    });
  }
  QTabWidget* tabs() const { return static_cast<QTabWidget*>(widget_); }
  void Apply(Prop p) override {
    if (p == Prop::ActivePage) {
      const int index = pages_.ActivePageIndex();
      if (index >= 0 && tabs()->currentIndex() != index)
        Quietly(tabs(), [&] { tabs()->setCurrentIndex(index); });
    }
    Binding::Apply(p);
  }

 private:
  PageControl& pages_;
};

class TabSheetBinding : public Binding {
 public:
  TabSheetBinding(FormView::Impl& v, TabSheet& t, QTabWidget* tabs)
      : Binding(v, t, new QWidget, {Prop::TabVisible}), sheet_(t), tabs_(tabs) {
    Quietly(tabs_, [&] { tabs_->addTab(widget_, QString()); });
    // The page in the window's colour, as the groups on it are.
    widget_->setAutoFillBackground(true);
  }
  void Apply(Prop p) override {
    const int index = tabs_->indexOf(widget_);
    switch (p) {
      case Prop::Caption: tabs_->setTabText(index, Decode(control_.Caption())); break;
      case Prop::TabVisible: Quietly(tabs_, [&] { tabs_->setTabVisible(index, sheet_.TabVisible()); }); break;
      case Prop::Enabled: widget_->setEnabled(control_.Enabled()); break;
      default: break;  // the tab widget places and shows its pages
    }
  }

 private:
  TabSheet& sheet_;
  QTabWidget* tabs_;
};

/// Containers without a kind of their own.
class PlainBinding : public Binding {
 public:
  PlainBinding(FormView::Impl& v, Control& c, QWidget* parent) : Binding(v, c, new QWidget(parent)) {}
};

}  // namespace

Binding* BindContainer(FormView::Impl& view, Control& c, QWidget* parent) {
  if (dynamic_cast<Panel*>(&c)) return view.Bind<PanelBinding>(c, parent);
  if (dynamic_cast<GroupBox*>(&c)) return view.Bind<GroupBinding>(c, parent);
  if (auto* pages = dynamic_cast<PageControl*>(&c)) return view.Bind<PageControlBinding>(*pages, parent);
  if (auto* sheet = dynamic_cast<TabSheet*>(&c))
    return view.Bind<TabSheetBinding>(*sheet, qobject_cast<QTabWidget*>(parent));
  return nullptr;
}

Binding* BindPlain(FormView::Impl& view, Control& c, QWidget* parent) {
  return view.Bind<PlainBinding>(c, parent);
}

}  // namespace platform::qt
