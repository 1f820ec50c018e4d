#include "platform/qt/view.h"

#include <QApplication>
#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <map>
#include <vector>

#include "platform/qt/qt_widgets.h"
#include "platform/qt/text_codec.h"

namespace platform::qt {

// ---------------------------------------------------------------- look

namespace {

/// Fusion with "*" as the password character, as the windows show secrets.
class LookStyle : public QProxyStyle {
 public:
  LookStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* ret) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, ret);
  }
};

/// The windows are laid out in pixels for a small sans font: 11-pixel text
/// keeps the 13-pixel label rows and the seven tabs of a 510-pixel window.
constexpr int kFontPixels = 11;

}  // namespace

void ApplyLook(QApplication& app) {
  app.setStyle(new LookStyle);
  app.setPalette(app.style()->standardPalette());
  QFont font = app.font();
  font.setPixelSize(kFontPixels);
  app.setFont(font);
}

// ---------------------------------------------------------------- helpers

namespace {

QString Name(const Control& c) { return QString::fromStdString(c.Name()); }

QFont FontFor(const Font& f) {
  QFont q = QApplication::font();
  if (f.fixedPitch || f.family == "Terminal") {
    q = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    q.setPixelSize(kFontPixels);
  } else if (!f.family.empty()) {
    q.setFamily(Decode(f.family));
  }
  if (f.pixelHeight > 0) q.setPixelSize(f.pixelHeight);
  q.setBold(f.bold);
  return q;
}

/// A memo line as shown: the CR a traced line carries is not displayed, and
/// other control characters (the ESC key presses of the serial probe) show
/// as their Unicode control pictures rather than as empty boxes.
QString DisplayLine(const std::string& line) {
  QString s = Decode(line);
  s.remove(QLatin1Char('\r'));
  for (QChar& c : s) {
    if (c.unicode() < 0x20 && c != QLatin1Char('\t')) c = QChar(0x2400 + c.unicode());
    else if (c.unicode() == 0x7F) c = QChar(0x2421);
  }
  return s;
}

QString DisplayLines(const std::vector<std::string>& lines) {
  QStringList list;
  list.reserve(qsizetype(lines.size()));
  for (const auto& l : lines) list << DisplayLine(l);
  return list.join(QLatin1Char('\n'));
}

/// Applies `fn` to `w` with its signals blocked: program changes must not
/// look like user edits.
template <typename W, typename F>
void Quietly(W* w, F&& fn) {
  const bool was = w->blockSignals(true);
  fn();
  w->blockSignals(was);
}

int QtKeyOf(int vk) {
  if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
  if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
  if (vk >= 0x70 && vk <= 0x7B) return Qt::Key_F1 + (vk - 0x70);
  switch (vk) {
    case 0x2E: return Qt::Key_Delete;
    case 0x2D: return Qt::Key_Insert;
    case 0x08: return Qt::Key_Backspace;
    case 0x0D: return Qt::Key_Return;
    case 0x1B: return Qt::Key_Escape;
    case 0x20: return Qt::Key_Space;
    case 0x24: return Qt::Key_Home;
    case 0x23: return Qt::Key_End;
    default: return 0;
  }
}

}  // namespace

/// The Qt key combination of a stored shortcut code (modifier bits plus a
/// virtual-key code); an empty sequence for keys without a Qt equivalent.
QKeySequence KeySequenceOf(int code) {
  const int key = QtKeyOf(code & 0xFF);
  if (!key) return {};
  int mods = 0;
  if (code & shortcut::kCtrl) mods |= Qt::CTRL;
  if (code & shortcut::kShift) mods |= Qt::SHIFT;
  if (code & shortcut::kAlt) mods |= Qt::ALT;
  return QKeySequence(key | mods);
}

// ---------------------------------------------------------------- bindings

/// One control bound to its widget. Apply brings one changed property of
/// the control onto the widget; it never writes back to the control.
class Binding {
 public:
  Binding(FormView::Impl& view, Control& control, QWidget* widget)
      : view_(view), control_(control), widget_(widget) {
    widget_->setObjectName(Name(control));
  }
  virtual ~Binding() {
    if (observer_) control_.Unobserve(observer_);
  }
  void Attach() {
    observer_ = control_.Observe([this](Control&, Prop p) { Apply(p); });
  }
  Control& control() const { return control_; }
  QWidget* widget() const { return widget_; }

  virtual void Apply(Prop p);
  /// Brings every property onto the widget (once, after building).
  virtual void ApplyAll() {
    for (Prop p : {Prop::Caption, Prop::Font, Prop::Colour, Prop::Enabled, Prop::Geometry, Prop::Visible})
      Apply(p);
  }
  /// The widget's size for a control laid at `r`: kinds whose captions must
  /// not be clipped grow to their content.
  virtual QSize SizeFor(const Rect& r) const { return QSize(r.width, r.height); }

 protected:
  FormView::Impl& view_;
  Control& control_;
  QWidget* widget_;
  int observer_ = 0;
};

struct FormView::Impl : QObject {
  explicit Impl(platform::Form& f) : form(f) {}

  platform::Form& form;
  FormWindow* window = nullptr;
  std::vector<std::unique_ptr<Binding>> bindings;
  std::map<const Control*, Binding*> byControl;
  std::vector<QShortcut*> shortcuts;
  bool placed = false;

  void Build(Control& c, QWidget* parentWidget);
  template <typename B, typename... A>
  B* Bind(A&&... args) {
    auto b = std::make_unique<B>(*this, std::forward<A>(args)...);
    B* raw = b.get();
    byControl[&raw->control()] = raw;
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
  bool eventFilter(QObject* watched, QEvent* e) override;
};

void Binding::Apply(Prop p) {
  switch (p) {
    case Prop::Visible:
      widget_->setVisible(control_.Visible());
      if (control_.Alignment() != Align::None && control_.Parent()) view_.Relayout(*control_.Parent());
      break;
    case Prop::Enabled:
      widget_->setEnabled(control_.Enabled());
      break;
    case Prop::Geometry:
      view_.Place(control_);
      break;
    case Prop::Font:
      if (control_.TextFont() != Font{}) widget_->setFont(FontFor(control_.TextFont()));
      view_.Place(control_);
      break;
    default:
      break;
  }
}

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
      default:
        clients.push_back(child);
        break;
    }
  }
  for (Control* child : clients) WidgetOf(*child)->setGeometry(free);
}

bool FormView::Impl::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::Resize: {
      auto* w = static_cast<QWidget*>(watched);
      const Control* c = nullptr;
      for (const auto& [control, binding] : byControl)
        if (binding->widget() == w) c = control;
      if (c) Relayout(const_cast<Control&>(*c));
      break;
    }
    case QEvent::FocusIn: {
      for (const auto& [control, binding] : byControl)
        if (binding->widget() == watched && control != &form) {
          form.SetFocus(const_cast<Control*>(control));
          break;
        }
      break;
    }
    case QEvent::ShortcutOverride: {
      // The window's menu shortcuts work anywhere in it, also where an edit
      // would take the keys for itself (Ctrl+Delete deletes a word there).
      auto* key = static_cast<QKeyEvent*>(e);
      const QKeySequence pressed(key->keyCombination());
      for (QShortcut* s : shortcuts)
        if (s->key() == pressed) return true;  // left unaccepted: the shortcut runs
      break;
    }
    default:
      break;
  }
  return false;
}

namespace {

class LabelBinding : public Binding {
 public:
  LabelBinding(FormView::Impl& v, Control& c, QWidget* parent) : Binding(v, c, new QLabel(parent)) {
    label()->setTextFormat(Qt::PlainText);
    label()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }
  QLabel* label() const { return static_cast<QLabel*>(widget_); }
  void Apply(Prop p) override {
    if (p == Prop::Caption) {
      label()->setText(Decode(control_.Caption()));
      view_.Place(control_);
    }
    Binding::Apply(p);
  }
  QSize SizeFor(const Rect& r) const override {
    const QSize hint = label()->sizeHint();
    return QSize(std::max(r.width, hint.width()), std::max(r.height, hint.height()));
  }
};

class ButtonBinding : public Binding {
 public:
  ButtonBinding(FormView::Impl& v, Button& b, QWidget* parent) : Binding(v, b, new QPushButton(parent)), button_(b) {
    auto* w = static_cast<QPushButton*>(widget_);
    w->setAutoDefault(false);
    if (b.ButtonGlyph() == Button::Glyph::Ok) w->setIcon(w->style()->standardIcon(QStyle::SP_DialogOkButton));
    if (b.ButtonGlyph() == Button::Glyph::Abort) w->setIcon(w->style()->standardIcon(QStyle::SP_DialogCancelButton));
    QObject::connect(w, &QPushButton::clicked, w, [this] { Guard([this] { button_.Click(); }); });
  }
  void Apply(Prop p) override {
    auto* w = static_cast<QPushButton*>(widget_);
    if (p == Prop::Caption) w->setText(Decode(control_.Caption()));
    if (p == Prop::Default) w->setDefault(button_.IsDefault());
    Binding::Apply(p);
  }
  void ApplyAll() override {
    Apply(Prop::Default);
    Binding::ApplyAll();
  }

 private:
  Button& button_;
};

/// Panels and forms paint their own background colour; with the button
/// face (every control's default) they show the window's background.
void ApplyBackground(QWidget* w, const Colour& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, Resolve(c));
  w->setPalette(pal);
  w->setAutoFillBackground(c != Colour::Sys(Colour::System::BtnFace));
}

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

class ImageBinding : public Binding {
 public:
  ImageBinding(FormView::Impl& v, Image& i, QWidget* parent) : Binding(v, i, new QLabel(parent)), image_(i) {
    static_cast<QLabel*>(widget_)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }
  void Apply(Prop p) override {
    auto* w = static_cast<QLabel*>(widget_);
    if (p == Prop::Picture) {
      const Picture& pic = image_.Pixels();
      w->setScaledContents(image_.Stretch());
      if (pic.Empty()) {
        w->clear();
      } else {
        const QImage img(pic.rgb.data(), pic.width, pic.height, pic.width * 3, QImage::Format_RGB888);
        w->setPixmap(QPixmap::fromImage(img.copy()));
      }
    }
    Binding::Apply(p);
  }
  void ApplyAll() override {
    Apply(Prop::Picture);
    Binding::ApplyAll();
  }

 private:
  Image& image_;
};

class GaugeBinding : public Binding {
 public:
  GaugeBinding(FormView::Impl& v, Gauge& g, QWidget* parent) : Binding(v, g, new QProgressBar(parent)), gauge_(g) {
    static_cast<QProgressBar*>(widget_)->setTextVisible(false);
  }
  void Apply(Prop p) override {
    auto* w = static_cast<QProgressBar*>(widget_);
    if (p == Prop::Progress) {
      w->setRange(gauge_.Min(), gauge_.Max());
      w->setValue(gauge_.Progress());
    }
    Binding::Apply(p);
  }
  void ApplyAll() override {
    QPalette pal = widget_->palette();
    pal.setColor(QPalette::Highlight, Resolve(gauge_.ForeColour()));
    widget_->setPalette(pal);
    Apply(Prop::Progress);
    Binding::ApplyAll();
  }

 private:
  Gauge& gauge_;
};

class MemoBinding : public Binding {
 public:
  MemoBinding(FormView::Impl& v, Memo& m, QWidget* parent) : Binding(v, m, new QPlainTextEdit(parent)), memo_(m) {
    auto* w = edit();
    w->setLineWrapMode(QPlainTextEdit::NoWrap);
    w->setReadOnly(m.ReadOnly());
    QObject::connect(w, &QPlainTextEdit::textChanged, w, [this] {
      std::vector<std::string> lines;
      for (const QString& l : edit()->toPlainText().split(QLatin1Char('\n'))) lines.push_back(Encode(l));
      Guard([&] { memo_.SetLines(std::move(lines)); });
    });
  }
  QPlainTextEdit* edit() const { return static_cast<QPlainTextEdit*>(widget_); }
  void Apply(Prop p) override {
    auto* w = edit();
    switch (p) {
      case Prop::LineAdded:
        Quietly(w, [&] { w->appendPlainText(DisplayLine(memo_.Lines().back())); });
        break;
      case Prop::Lines: {
        const QString text = DisplayLines(memo_.Lines());
        if (w->toPlainText() != text) Quietly(w, [&] { w->setPlainText(text); });
        break;
      }
      case Prop::Colour: {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Base, Resolve(memo_.Background()));
        pal.setColor(QPalette::Text, Resolve(memo_.TextColour()));
        w->setPalette(pal);
        break;
      }
      default:
        break;
    }
    Binding::Apply(p);
  }
  void ApplyAll() override {
    Apply(Prop::Lines);
    Binding::ApplyAll();
  }

 private:
  Memo& memo_;
};

class EditBinding : public Binding {
 public:
  EditBinding(FormView::Impl& v, Edit& e, EditWidget* w) : Binding(v, e, w), edit_(e) {
    if (e.PasswordChar()) w->setEchoMode(QLineEdit::Password);
    if (e.MaxLength() > 0) w->setMaxLength(e.MaxLength());
    w->onKey = [this](char& key) { Guard([&] { edit_.KeyPress(key); }); };
    w->onLeave = [this] { Guard([this] { edit_.Exit(); }); };
  }
  EditBinding(FormView::Impl& v, Edit& e, QWidget* parent) : EditBinding(v, e, new EditWidget(parent)) {
    QObject::connect(line(), &QLineEdit::textEdited, line(), [this](const QString& text) {
      Guard([&] { edit_.SetText(Encode(text)); });
      Apply(Prop::Text);  // the rule may have changed it again
    });
  }
  EditWidget* line() const { return static_cast<EditWidget*>(widget_); }
  void Apply(Prop p) override {
    auto* w = line();
    switch (p) {
      case Prop::Text: {
        const QString text = Decode(edit_.Text());
        if (w->text() != text) {
          const int cursor = w->cursorPosition();
          Quietly(w, [&] { w->setText(text); });
          w->setCursorPosition(std::min(cursor, int(text.size())));
        }
        break;
      }
      case Prop::ReadOnly:
        w->setReadOnly(edit_.ReadOnly());
        break;
      case Prop::Colour: {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Base, Resolve(edit_.Background()));
        w->setPalette(pal);
        break;
      }
      default:
        break;
    }
    Binding::Apply(p);
  }
  void ApplyAll() override {
    Apply(Prop::Text);
    Apply(Prop::ReadOnly);
    Binding::ApplyAll();
  }

 protected:
  Edit& edit_;
};

class AddressBinding : public EditBinding {
 public:
  AddressBinding(FormView::Impl& v, AddressEdit& e, QWidget* parent) : EditBinding(v, e, new AddressWidget(parent)) {
    auto* w = static_cast<AddressWidget*>(widget_);
    w->onEdit = [this, &e](const std::string& text, int cursor) {
      // Through the control's placing rule, so the text stays a dotted one.
      Guard([&] { e.SetText(text); });
      Apply(Prop::Text);
      line()->setCursorPosition(cursor);
    };
    // Edits that bypass the keys (the context menu's paste, undo) are
    // placed the same way and shown as the control has them.
    QObject::connect(w, &QLineEdit::textEdited, w, [this, &e](const QString& text) {
      Guard([&] { e.SetText(Encode(text)); });
      Apply(Prop::Text);
    });
  }
};

class CheckBinding : public Binding {
 public:
  CheckBinding(FormView::Impl& v, CheckBox& c, QWidget* parent) : Binding(v, c, new QCheckBox(parent)), check_(c) {
    auto* w = static_cast<QCheckBox*>(widget_);
    QObject::connect(w, &QCheckBox::clicked, w, [this](bool checked) {
      Guard([&] { check_.SetChecked(checked); });
      Apply(Prop::Checked);
    });
  }
  void Apply(Prop p) override {
    auto* w = static_cast<QCheckBox*>(widget_);
    if (p == Prop::Caption) {
      w->setText(Decode(control_.Caption()));
      view_.Place(control_);
    }
    if (p == Prop::Checked && w->isChecked() != check_.Checked()) Quietly(w, [&] { w->setChecked(check_.Checked()); });
    Binding::Apply(p);
  }
  void ApplyAll() override {
    Apply(Prop::Checked);
    Binding::ApplyAll();
  }
  QSize SizeFor(const Rect& r) const override {
    return QSize(std::max(r.width, widget_->sizeHint().width()), std::max(r.height, widget_->sizeHint().height()));
  }

 private:
  CheckBox& check_;
};

class RadioBinding : public Binding {
 public:
  RadioBinding(FormView::Impl& v, RadioButton& r, QWidget* parent) : Binding(v, r, new QRadioButton(parent)), radio_(r) {
    auto* w = static_cast<QRadioButton*>(widget_);
    // Exclusion comes from the control's radio set, never from parentage.
    w->setAutoExclusive(false);
    QObject::connect(w, &QRadioButton::clicked, w, [this] {
      Guard([this] { radio_.Click(); });
      Apply(Prop::Checked);
    });
  }
  void Apply(Prop p) override {
    auto* w = static_cast<QRadioButton*>(widget_);
    if (p == Prop::Caption) {
      w->setText(Decode(control_.Caption()));
      view_.Place(control_);
    }
    if (p == Prop::Checked && w->isChecked() != radio_.Checked()) Quietly(w, [&] { w->setChecked(radio_.Checked()); });
    Binding::Apply(p);
  }
  void ApplyAll() override {
    Apply(Prop::Checked);
    Binding::ApplyAll();
  }
  QSize SizeFor(const Rect& r) const override {
    return QSize(std::max(r.width, widget_->sizeHint().width()), std::max(r.height, widget_->sizeHint().height()));
  }

 private:
  RadioButton& radio_;
};

class RadioGroupBinding : public Binding {
 public:
  RadioGroupBinding(FormView::Impl& v, RadioGroup& g, QWidget* parent) : Binding(v, g, new QGroupBox(parent)), group_(g) {
    widget_->setAutoFillBackground(true);
  }
  void Apply(Prop p) override {
    auto* box = static_cast<QGroupBox*>(widget_);
    switch (p) {
      case Prop::Caption:
        box->setTitle(Decode(control_.Caption()));
        break;
      case Prop::Items:
        Rebuild();
        break;
      case Prop::ItemIndex:
        for (int i = 0; i < int(radios_.size()); ++i) {
          QRadioButton* r = radios_[size_t(i)];
          if (r->isChecked() != (i == group_.ItemIndex())) Quietly(r, [&] { r->setChecked(i == group_.ItemIndex()); });
        }
        break;
      case Prop::Geometry:
        Binding::Apply(p);
        LayItems();
        return;
      default:
        break;
    }
    Binding::Apply(p);
  }
  void ApplyAll() override {
    Rebuild();
    Binding::ApplyAll();
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
      radios_[size_t(i)]->setGeometry(left + col * colWidth, top + row * rowHeight + (rowHeight - h) / 2, colWidth - 2, h);
    }
  }

  RadioGroup& group_;
  std::vector<QRadioButton*> radios_;
};

class ComboBinding : public Binding {
 public:
  ComboBinding(FormView::Impl& v, ComboBox& c, QWidget* parent) : Binding(v, c, new QComboBox(parent)), combo_(c) {
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
  void ApplyAll() override {
    Apply(Prop::Items);
    Binding::ApplyAll();
  }

 private:
  ComboBox& combo_;
};

class PageControlBinding : public Binding {
 public:
  PageControlBinding(FormView::Impl& v, PageControl& pc, QWidget* parent)
      : Binding(v, pc, new QTabWidget(parent)), pages_(pc) {
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
      if (index >= 0 && tabs()->currentIndex() != index) Quietly(tabs(), [&] { tabs()->setCurrentIndex(index); });
    }
    Binding::Apply(p);
  }
  void ApplyAll() override {
    Apply(Prop::ActivePage);
    Binding::ApplyAll();
  }

 private:
  PageControl& pages_;
};

class TabSheetBinding : public Binding {
 public:
  TabSheetBinding(FormView::Impl& v, TabSheet& t, QTabWidget* tabs) : Binding(v, t, new QWidget), sheet_(t), tabs_(tabs) {
    Quietly(tabs_, [&] { tabs_->addTab(widget_, QString()); });
    // The page in the window's colour, as the groups on it are.
    widget_->setAutoFillBackground(true);
  }
  void Apply(Prop p) override {
    const int index = tabs_->indexOf(widget_);
    switch (p) {
      case Prop::Caption:
        tabs_->setTabText(index, Decode(control_.Caption()));
        break;
      case Prop::TabVisible:
        Quietly(tabs_, [&] { tabs_->setTabVisible(index, sheet_.TabVisible()); });
        break;
      case Prop::Enabled:
        widget_->setEnabled(control_.Enabled());
        break;
      default:
        break;  // the tab widget places and shows its pages
    }
  }
  void ApplyAll() override {
    Apply(Prop::Caption);
    Apply(Prop::TabVisible);
    Apply(Prop::Enabled);
  }

 private:
  TabSheet& sheet_;
  QTabWidget* tabs_;
};

class GridBinding : public Binding {
 public:
  GridBinding(FormView::Impl& v, StringGrid& g, QWidget* parent) : Binding(v, g, new GridWidget(g, parent)) {}
  void Apply(Prop p) override {
    switch (p) {
      case Prop::Cells: case Prop::RowCount: case Prop::Selection: case Prop::Colour: case Prop::Enabled:
        static_cast<GridWidget*>(widget_)->Refresh();
        break;
      default:
        break;
    }
    Binding::Apply(p);
  }
};

/// Containers without a kind of their own.
class PlainBinding : public Binding {
 public:
  PlainBinding(FormView::Impl& v, Control& c, QWidget* parent) : Binding(v, c, new QWidget(parent)) {}
};

class FormBinding : public Binding {
 public:
  FormBinding(FormView::Impl& v, platform::Form& f, FormWindow* w) : Binding(v, f, w), form_(f) {
    Qt::WindowFlags flags = Qt::Window;
    if (f.BorderStyle() != platform::Form::Border::Sizeable)
      flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (f.StayOnTop()) flags |= Qt::WindowStaysOnTopHint;
    w->setWindowFlags(flags);
  }
  void Apply(Prop p) override {
    switch (p) {
      case Prop::Caption:
        widget_->setWindowTitle(Decode(control_.Caption()));
        break;
      case Prop::Visible:
        if (control_.Visible()) {
          const bool first = !view_.placed;
          if (first) PlaceOnScreen();
          widget_->show();
          if (first && form_.OuterSize()) FitFrame();
          if (QGuiApplication::platformName() != QLatin1String("offscreen")) widget_->raise();
          widget_->activateWindow();
          Apply(Prop::Focus);
        } else {
          widget_->hide();
        }
        break;
      case Prop::Geometry: {
        const Rect& r = control_.Geometry();
        if (form_.BorderStyle() != platform::Form::Border::Sizeable) widget_->setFixedSize(r.width, r.height);
        else widget_->resize(r.width, r.height);
        break;
      }
      case Prop::Focus:
        if (Control* c = form_.Focused())
          if (QWidget* w = view_.WidgetOf(*c); w && !w->hasFocus()) w->setFocus();
        break;
      case Prop::Colour:
        ApplyBackground(widget_, control_.Background());
        break;
      case Prop::Enabled:
        widget_->setEnabled(control_.Enabled());
        break;
      default:
        break;
    }
  }

 private:
  /// The first showing places the window: centred on the screen, or at its
  /// designed position kept within the screen.
  void PlaceOnScreen() {
    view_.placed = true;
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
};

}  // namespace

void FormView::Impl::Build(Control& c, QWidget* parentWidget) {
  Binding* b = nullptr;
  QWidget* childParent = nullptr;
  if (auto* pc = dynamic_cast<PageControl*>(&c)) {
    b = Bind<PageControlBinding>(*pc, parentWidget);
  } else if (auto* sheet = dynamic_cast<TabSheet*>(&c)) {
    b = Bind<TabSheetBinding>(*sheet, qobject_cast<QTabWidget*>(parentWidget));
  } else if (auto* address = dynamic_cast<AddressEdit*>(&c)) {
    b = Bind<AddressBinding>(*address, parentWidget);
  } else if (auto* edit = dynamic_cast<Edit*>(&c)) {
    b = Bind<EditBinding>(*edit, parentWidget);
  } else if (auto* button = dynamic_cast<Button*>(&c)) {
    b = Bind<ButtonBinding>(*button, parentWidget);
  } else if (dynamic_cast<Label*>(&c)) {
    b = Bind<LabelBinding>(c, parentWidget);
  } else if (dynamic_cast<Panel*>(&c)) {
    b = Bind<PanelBinding>(c, parentWidget);
  } else if (auto* group = dynamic_cast<RadioGroup*>(&c)) {
    b = Bind<RadioGroupBinding>(*group, parentWidget);
  } else if (dynamic_cast<GroupBox*>(&c)) {
    b = Bind<GroupBinding>(c, parentWidget);
  } else if (auto* image = dynamic_cast<Image*>(&c)) {
    b = Bind<ImageBinding>(*image, parentWidget);
  } else if (auto* gauge = dynamic_cast<Gauge*>(&c)) {
    b = Bind<GaugeBinding>(*gauge, parentWidget);
  } else if (auto* memo = dynamic_cast<Memo*>(&c)) {
    b = Bind<MemoBinding>(*memo, parentWidget);
  } else if (auto* check = dynamic_cast<CheckBox*>(&c)) {
    b = Bind<CheckBinding>(*check, parentWidget);
  } else if (auto* radio = dynamic_cast<RadioButton*>(&c)) {
    b = Bind<RadioBinding>(*radio, parentWidget);
  } else if (auto* combo = dynamic_cast<ComboBox*>(&c)) {
    b = Bind<ComboBinding>(*combo, parentWidget);
  } else if (auto* grid = dynamic_cast<StringGrid*>(&c)) {
    b = Bind<GridBinding>(*grid, parentWidget);
  } else if (dynamic_cast<PopupMenu*>(&c)) {
    for (Control* entry : c.Children()) {
      auto* item = dynamic_cast<MenuItem*>(entry);
      if (!item || !item->ShortCut()) continue;
      const QKeySequence keys = KeySequenceOf(item->ShortCut());
      if (keys.isEmpty()) continue;
      auto* s = new QShortcut(keys, window, nullptr, nullptr, Qt::WindowShortcut);
      s->setObjectName(Name(*item));
      QObject::connect(s, &QShortcut::activated, s, [item] { Guard([item] { item->Click(); }); });
      shortcuts.push_back(s);
    }
    return;
  } else if (dynamic_cast<MenuItem*>(&c)) {
    return;
  } else {
    b = Bind<PlainBinding>(c, parentWidget);
  }
  childParent = b->widget();
  for (Control* child : c.Children()) Build(*child, childParent);
}

// ---------------------------------------------------------------- FormView

FormView::FormView(platform::Form& form) : impl_(std::make_unique<Impl>(form)) {
  Impl& v = *impl_;
  v.window = new FormWindow(form);
  auto* top = v.Bind<FormBinding>(form, v.window);
  for (Control* child : form.Children()) v.Build(*child, v.window);
  // Everything exists now: bring the controls' state onto the widgets, the
  // window last (showing it when the form is visible), then follow changes.
  for (auto& b : v.bindings)
    if (b.get() != top) b->ApplyAll();
  for (Prop p : {Prop::Caption, Prop::Colour, Prop::Enabled, Prop::Geometry}) top->Apply(p);
  v.Relayout(form);
  for (auto& b : v.bindings) b->Attach();
  top->Apply(Prop::Visible);
}

FormView::~FormView() {
  impl_->bindings.clear();  // stop observing before the widgets go
  delete impl_->window;
}

platform::Form& FormView::Form() const { return impl_->form; }
QWidget* FormView::Window() const { return impl_->window; }
QWidget* FormView::WidgetOf(const Control& c) const { return impl_->WidgetOf(c); }
QWidget* FormView::WidgetNamed(std::string_view name) const {
  Control* c = impl_->form.Find(name);
  return c ? impl_->WidgetOf(*c) : nullptr;
}

}  // namespace platform::qt
