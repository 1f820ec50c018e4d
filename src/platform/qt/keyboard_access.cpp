// What keyboard and screen-reader users need beyond the bindings: each
// input's name, the Tab order, the push buttons' mnemonics.
#include <QLabel>
#include <QPushButton>
#include <QSet>

#include "platform/qt/binding.h"
#include "platform/qt/qt_widgets.h"
#include "platform/qt/text_codec.h"

namespace platform::qt {

namespace {

/// Where the mnemonic letter of `caption` stands (after a single "&"), or -1.
qsizetype MnemonicAt(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&')) continue;
    if (caption[i + 1] != QLatin1Char('&')) return i + 1;
    ++i;  // "&&" is an "&" of the text
  }
  return -1;
}

/// A caption as a name: without its mnemonic marks and outer blanks.
QString SpokenCaption(const Control& c) {
  QString text = Decode(c.Caption());
  if (const qsizetype at = MnemonicAt(text); at > 0) text.remove(at - 1, 1);
  return text.replace(QStringLiteral("&&"), QStringLiteral("&")).trimmed();
}

}  // namespace

void FormView::Impl::NameInputs() {
  for (auto& b : bindings) {
    Control& input = b->control();
    QWidget* widget = b->widget();
    if (!input.SpokenName().empty()) widget->setAccessibleName(Decode(input.SpokenName()));
    Control* caption = input.NamedBy();
    if (!caption) continue;
    auto* label = qobject_cast<QLabel*>(WidgetOf(*caption));
    if (label && dynamic_cast<Label*>(caption) && label->parentWidget() == widget->parentWidget()) {
      label->setBuddy(widget);  // the name follows the label's text
      continue;
    }
    widget->setAccessibleName(SpokenCaption(*caption));
    captionObservers.emplace_back(caption, caption->Observe([widget](Control& c, Prop p) {
      if (p == Prop::Caption) widget->setAccessibleName(SpokenCaption(c));
    }));
  }
}

void FormView::Impl::OrderTabs() {
  std::vector<QWidget*> chain;
  auto add = [&chain](QWidget* w) {
    // A widget whose focus goes to another one is left to that one.
    if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()) chain.push_back(w);
  };
  for (auto& b : bindings) {
    QWidget* w = b->widget();
    if (w == window) continue;
    add(w);
    for (QWidget* inner : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (!byWidget.count(inner)) add(inner);
  }
  for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void FormView::Impl::AssignMnemonics() {
  std::vector<std::pair<QPushButton*, QString>> buttons;
  QSet<QChar> taken;
  for (auto& b : bindings) {
    auto* push = qobject_cast<QPushButton*>(b->widget());
    if (!push) continue;
    const QString caption = Decode(b->control().Caption());
    if (const qsizetype at = MnemonicAt(caption); at >= 0) taken.insert(caption[at].toLower());
    buttons.emplace_back(push, caption);
  }
  for (auto& [push, caption] : buttons) {
    QString text = caption;
    for (qsizetype i = 0; MnemonicAt(caption) < 0 && i < caption.size(); ++i) {
      const QChar letter = caption[i].toLower();
      if (!letter.isLetterOrNumber() || taken.contains(letter)) continue;
      taken.insert(letter);
      text.insert(i, QLatin1Char('&'));
      break;
    }
    if (push->text() != text) push->setText(text);
  }
}

}  // namespace platform::qt
