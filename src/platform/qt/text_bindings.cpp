// Bindings of the controls that take typed text or a chosen entry: edits,
// the masked address edit and drop-down lists.
#include <QAbstractItemView>
#include <QComboBox>

#include "platform/qt/binding.h"
#include "platform/qt/qt_widgets.h"
#include "platform/qt/text_codec.h"

namespace platform::qt {

namespace {

class EditBinding : public Binding {
 public:
  EditBinding(FormView::Impl& v, Edit& e, EditWidget* w)
      : Binding(v, e, w, {Prop::Text, Prop::ReadOnly}), edit_(e) {
    if (e.PasswordChar()) w->setEchoMode(QLineEdit::Password);
    if (e.MaxLength() > 0) w->setMaxLength(e.MaxLength());
    w->onKey = [this](char& key) { Guard([&] { edit_.KeyPress(key); }); };
    w->onLeave = [this] { Guard([this] { edit_.Exit(); }); };
    // Every edit goes through the control, whose rule may change it again;
    // the address edit places edits that bypass its keys (the context
    // menu's paste, undo) the same way. A refused edit is undone here.
    QObject::connect(w, &QLineEdit::textEdited, w, [this] {
      if (const auto bytes = TakeLineEdit(*line(), edit_.Text())) Guard([&] { edit_.SetText(*bytes); });
      Apply(Prop::Text);
    });
  }
  EditBinding(FormView::Impl& v, Edit& e, QWidget* parent) : EditBinding(v, e, new EditWidget(parent)) {}
  EditWidget* line() const { return static_cast<EditWidget*>(widget_); }
  void Apply(Prop p) override {
    auto* w = line();
    switch (p) {
      case Prop::Text: ShowLineText(*w, Decode(edit_.Text())); break;
      case Prop::ReadOnly: w->setReadOnly(edit_.ReadOnly()); break;
      case Prop::Colour: {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Base, Resolve(edit_.Background()));
        w->setPalette(pal);
        break;
      }
      default: break;
    }
    Binding::Apply(p);
  }

 protected:
  Edit& edit_;
};

class AddressBinding : public EditBinding {
 public:
  AddressBinding(FormView::Impl& v, AddressEdit& e, QWidget* parent)
      : EditBinding(v, e, new AddressWidget(parent)) {
    static_cast<AddressWidget*>(widget_)->onEdit = [this](const std::string& text, int cursor) {
      // Through the control's placing rule, so the text stays a dotted one.
      Guard([&] { edit_.SetText(text); });
      Apply(Prop::Text);
      line()->setCursorPosition(cursor);
    };
  }
};

class ComboBinding : public Binding {
 public:
  ComboBinding(FormView::Impl& v, ComboBox& c, QWidget* parent)
      : Binding(v, c, new QComboBox(parent), {Prop::Items}), combo_(c) {
    auto* w = static_cast<QComboBox*>(widget_);
    QObject::connect(w, &QComboBox::activated, w, [this](int index) {
      Guard([&] { combo_.UserChoose(index); });
      Apply(Prop::ItemIndex);
    });
  }
  void Apply(Prop p) override {
    auto* w = static_cast<QComboBox*>(widget_);
    if (p == Prop::Items) {
      Quietly(w, [&] {
        w->clear();
        for (const auto& item : combo_.Items()) w->addItem(Decode(item));
        w->setCurrentIndex(combo_.ItemIndex());
      });
      // Long port names (/dev/serial/by-id/...) show whole in the list.
      w->view()->setMinimumWidth(w->view()->sizeHintForColumn(0) + 8);
    }
    if (p == Prop::ItemIndex && w->currentIndex() != combo_.ItemIndex())
      Quietly(w, [&] { w->setCurrentIndex(combo_.ItemIndex()); });
    if (p == Prop::Items || p == Prop::ItemIndex) w->setToolTip(w->currentText());
    Binding::Apply(p);
  }

 private:
  ComboBox& combo_;
};

}  // namespace

Binding* BindTextInput(FormView::Impl& view, Control& c, QWidget* parent) {
  if (auto* address = dynamic_cast<AddressEdit*>(&c)) return view.Bind<AddressBinding>(*address, parent);
  if (auto* edit = dynamic_cast<Edit*>(&c)) return view.Bind<EditBinding>(*edit, parent);
  if (auto* combo = dynamic_cast<ComboBox*>(&c)) return view.Bind<ComboBinding>(*combo, parent);
  return nullptr;
}

}  // namespace platform::qt
