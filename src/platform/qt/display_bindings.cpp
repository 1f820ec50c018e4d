// Bindings of the controls that show the program's output: labels, images,
// gauges and memos.
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <algorithm>
#include <climits>

#include "platform/qt/binding.h"
#include "platform/qt/picture_pixmap.h"
#include "platform/qt/qt_widgets.h"
#include "platform/qt/text_codec.h"

namespace platform::qt {

namespace {

/// A memo line as shown: the CR a traced line carries is not displayed, and
/// other control characters (the ESC key presses of the serial probe) show
/// as their Unicode control pictures rather than as empty boxes.
QString DisplayLine(const std::string& line) {
  QString s = Decode(line);
  s.remove(QLatin1Char('\r'));
  for (QChar& c : s) {
    if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
      c = QChar(0x2400 + c.unicode());
    else if (c.unicode() == 0x7F)
      c = QChar(0x2421);
  }
  return s;
}

QString DisplayLines(const MemoLines& lines) {
  QStringList list;
  list.reserve(qsizetype(lines.size()));
  for (const auto& l : lines) list << DisplayLine(l);
  return list.join(QLatin1Char('\n'));
}

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
  QSize SizeFor(const Rect& r) const override { return GrownToContent(r); }
};

class ImageBinding : public Binding {
 public:
  ImageBinding(FormView::Impl& v, Image& i, QWidget* parent)
      : Binding(v, i, new QLabel(parent), {Prop::Picture}), image_(i) {
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
        w->setPixmap(PixmapOf(pic));
      }
    }
    Binding::Apply(p);
  }

 private:
  Image& image_;
};

class GaugeBinding : public Binding {
 public:
  GaugeBinding(FormView::Impl& v, Gauge& g, QWidget* parent)
      : Binding(v, g, new QProgressBar(parent), {Prop::Progress}), gauge_(g) {
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
    Binding::ApplyAll();
  }

 private:
  Gauge& gauge_;
};

class MemoBinding : public Binding {
 public:
  MemoBinding(FormView::Impl& v, Memo& m, QWidget* parent)
      : Binding(v, m, new QPlainTextEdit(parent), {Prop::Lines}), memo_(m) {
    auto* w = edit();
    w->setLineWrapMode(QPlainTextEdit::NoWrap);
    w->setReadOnly(m.ReadOnly());
    // The widget drops its oldest lines with the memo's.
    w->setMaximumBlockCount(int(std::min<size_t>(m.MaxLines(), size_t(INT_MAX))));
    // Tab goes on to the next control: a memo must not hold the keyboard.
    w->setTabChangesFocus(true);
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
        // An empty document shows one empty line and takes an appended line
        // in its place: after a memo whose only line is empty, the whole
        // text goes in, so the widget's lines stay the memo's.
        if (memo_.Lines().size() > 1 && w->document()->isEmpty())
          Apply(Prop::Lines);
        else
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
      default: break;
    }
    Binding::Apply(p);
  }

 private:
  Memo& memo_;
};

}  // namespace

Binding* BindDisplay(FormView::Impl& view, Control& c, QWidget* parent) {
  if (dynamic_cast<Label*>(&c)) return view.Bind<LabelBinding>(c, parent);
  if (auto* image = dynamic_cast<Image*>(&c)) return view.Bind<ImageBinding>(*image, parent);
  if (auto* gauge = dynamic_cast<Gauge*>(&c)) return view.Bind<GaugeBinding>(*gauge, parent);
  if (auto* memo = dynamic_cast<Memo*>(&c)) return view.Bind<MemoBinding>(*memo, parent);
  return nullptr;
}

}  // namespace platform::qt
