// Bindings of the controls the user clicks: push buttons, check boxes, radio
// buttons and radio groups.
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>

#include "platform/qt/binding.h"
#include "platform/qt/text_codec.h"

namespace platform::qt {

namespace {

class ButtonBinding : public Binding {
 public:
  ButtonBinding(FormView::Impl& v, Button& b, QWidget* parent)
      : Binding(v, b, new QPushButton(parent), {Prop::Default}), button_(b) {
    auto* w = static_cast<QPushButton*>(widget_);
    w->setAutoDefault(false);
    if (b.ButtonGlyph() == Button::Glyph::Ok) w->setIcon(w->style()->standardIcon(QStyle::SP_DialogOkButton));
    if (b.ButtonGlyph() == Button::Glyph::Abort)
      w->setIcon(w->style()->standardIcon(QStyle::SP_DialogCancelButton));
    QObject::connect(w, &QPushButton::clicked, w, [this] { Guard([this] { button_.Click(); }); });
  }
  void Apply(Prop p) override {
    auto* w = static_cast<QPushButton*>(widget_);
    if (p == Prop::Caption) view_.AssignMnemonics();  // the captions with their mnemonics
    if (p == Prop::Default) w->setDefault(button_.IsDefault());
    Binding::Apply(p);
  }

 private:
  Button& button_;
};

/// A user's click on the widget of a check box: the state the widget
/// toggled to.
void Press(CheckBox& box, bool checked) { box.SetChecked(checked); }
/// A user's click on the widget of a radio button only ever checks it; the
/// button's set unchecks the others.
void Press(RadioButton& radio, bool) { radio.Click(); }

/// A check box or radio button (`C`): a captioned button, never clipped,
/// whose checked state is the control's.
template <typename C>
class CheckableBinding : public Binding {
 public:
  CheckableBinding(FormView::Impl& v, C& c, QAbstractButton* w)
      : Binding(v, c, w, {Prop::Checked}), checkable_(c) {
    QObject::connect(w, &QAbstractButton::clicked, w, [this](bool checked) {
      Guard([&] { Press(checkable_, checked); });
      Apply(Prop::Checked);
    });
  }
  QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget_); }
  void Apply(Prop p) override {
    auto* w = button();
    if (p == Prop::Caption) {
      w->setText(Decode(control_.Caption()));
      view_.Place(control_);
    }
    if (p == Prop::Checked && w->isChecked() != checkable_.Checked())
      Quietly(w, [&] { w->setChecked(checkable_.Checked()); });
    Binding::Apply(p);
  }
  QSize SizeFor(const Rect& r) const override { return GrownToContent(r); }

 private:
  C& checkable_;
};

class RadioGroupBinding : public Binding {
 public:
  RadioGroupBinding(FormView::Impl& v, RadioGroup& g, QWidget* parent)
      : Binding(v, g, new QGroupBox(parent), {Prop::Items}), group_(g) {
    widget_->setAutoFillBackground(true);
  }
  void Apply(Prop p) override {
    auto* box = static_cast<QGroupBox*>(widget_);
    switch (p) {
      case Prop::Caption: box->setTitle(Decode(control_.Caption())); break;
      case Prop::Items: Rebuild(); break;
      case Prop::ItemIndex:
        for (int i = 0; i < int(radios_.size()); ++i) {
          QRadioButton* r = radios_[size_t(i)];
          if (r->isChecked() != (i == group_.ItemIndex()))
            Quietly(r, [&] { r->setChecked(i == group_.ItemIndex()); });
        }
        break;
      case Prop::Geometry:
        Binding::Apply(p);
        LayItems();
        return;
      default: break;
    }
    Binding::Apply(p);
  }

 private:
  void Rebuild() {
    const auto& items = group_.Items();
    if (radios_.size() == items.size()) {
      for (size_t i = 0; i < items.size(); ++i) radios_[i]->setText(Decode(items[i]));
    } else {
      // Later: the list may change inside one of these buttons' own click.
      for (QRadioButton* r : radios_) {
        r->hide();
        r->deleteLater();
      }
      radios_.clear();
      for (size_t i = 0; i < items.size(); ++i) {
        auto* r = new QRadioButton(Decode(items[i]), widget_);
        r->setObjectName(Name(control_) + QStringLiteral("_item%1").arg(i));
        r->setAutoExclusive(false);
        const int index = int(i);
        QObject::connect(r, &QRadioButton::clicked, r, [this, index] {
          Guard([&] { group_.SetItemIndex(index); });
          Apply(Prop::ItemIndex);
        });
        r->show();
        radios_.push_back(r);
      }
      view_.OrderTabs();
    }
    Apply(Prop::ItemIndex);
    LayItems();
  }
  /// Items fill the frame in columns of equal width, rows evenly spaced.
  void LayItems() {
    if (radios_.empty()) return;
    const int columns = std::max(1, group_.Columns());
    const int rows = (int(radios_.size()) + columns - 1) / columns;
    const QRect frame = widget_->rect();
    const int top = widget_->fontMetrics().height() + 2;
    const int left = 8;
    const int colWidth = (frame.width() - left - 4) / columns;
    const int rowHeight = std::max(1, (frame.height() - top - 4) / rows);
    for (int i = 0; i < int(radios_.size()); ++i) {
      const int col = i / rows, row = i % rows;
      const int h = radios_[size_t(i)]->sizeHint().height();
      radios_[size_t(i)]->setGeometry(left + col * colWidth, top + row * rowHeight + (rowHeight - h) / 2,
                                      colWidth - 2, h);
    }
  }

  RadioGroup& group_;
  std::vector<QRadioButton*> radios_;
};

}  // namespace

Binding* BindButton(FormView::Impl& view, Control& c, QWidget* parent) {
  if (auto* button = dynamic_cast<Button*>(&c)) return view.Bind<ButtonBinding>(*button, parent);
  if (auto* check = dynamic_cast<CheckBox*>(&c))
    return view.Bind<CheckableBinding<CheckBox>>(*check, new QCheckBox(parent));
  if (auto* radio = dynamic_cast<RadioButton*>(&c)) {
    auto* w = new QRadioButton(parent);
    // Exclusion comes from the control's radio set, never from parentage.
    w->setAutoExclusive(false);
    return view.Bind<CheckableBinding<RadioButton>>(*radio, w);
  }
  if (auto* group = dynamic_cast<RadioGroup*>(&c)) return view.Bind<RadioGroupBinding>(*group, parent);
  return nullptr;
}

}  // namespace platform::qt
