#include "platform/qt/qt_widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QtGlobal>
#include <algorithm>

#include "platform/qt/address_typing.h"
#include "platform/qt/text_codec.h"

namespace platform::qt {

QColor Resolve(const Colour& c) { return Resolve(c, QApplication::palette()); }

QColor Resolve(const Colour& c, const QPalette& pal) {
  switch (c.system) {
    case Colour::System::None: return QColor(c.Red(), c.Green(), c.Blue());
    case Colour::System::Window: return pal.color(QPalette::Base);
    case Colour::System::WindowText: return pal.color(QPalette::Text);
    case Colour::System::BtnFace: return pal.color(QPalette::Button);
    case Colour::System::Light3D: return pal.color(QPalette::Midlight);
    case Colour::System::Highlight: return pal.color(QPalette::Highlight);
  }
  return pal.color(QPalette::Window);
}

// ---------------------------------------------------------------- edits

std::optional<std::string> TakeLineEdit(QLineEdit& line, std::string_view current) {
  const QString typed = line.text();
  const QString kept = WithoutControls(typed);
  if (kept != typed) {
    const int cursor = int(WithoutControls(typed.left(line.cursorPosition())).size());
    ShowLineText(line, kept);
    line.setCursorPosition(cursor);
  }
  return EncodeLike(kept, current);
}

void ShowLineText(QLineEdit& line, const QString& text) {
  if (line.text() == text) return;
  const int cursor = line.cursorPosition();
  const bool was = line.blockSignals(true);
  line.setText(text);
  line.blockSignals(was);
  line.setCursorPosition(std::min(cursor, int(text.size())));
}

void EditWidget::keyPressEvent(QKeyEvent* e) {
  const QString typed = e->text();
  if (typed.size() == 1 && typed[0].unicode() < 256 && onKey) {
    const char original = char(typed[0].unicode());
    char key = original;
    onKey(key);
    if (key == 0) {
      e->accept();
      return;
    }
    if (key != original) {
      QKeyEvent replaced(e->type(), e->key(), e->modifiers(), QString(QChar(uchar(key))));
      HandleKey(&replaced);
      e->setAccepted(replaced.isAccepted());
      return;
    }
  }
  HandleKey(e);
}

void EditWidget::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  // Leaving means moving to another control; a window losing activation (a
  // message box, another program) is not a leave.
  if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
  if (onLeave) onLeave();
}

AddressWidget::AddressWidget(QWidget* parent) : EditWidget(parent) {
  setDragEnabled(false);
  setAcceptDrops(false);
}

void AddressWidget::HandleKey(QKeyEvent* e) {
  AddressTyping t;
  t.text = Encode(text());
  if (t.text.size() != platform::AddressEdit::kEmpty.size())
    t.text = std::string(platform::AddressEdit::kEmpty);
  t.cursor = cursorPosition();
  if (hasSelectedText()) {
    t.selStart = selectionStart();
    t.selLength = int(selectedText().size());
  }
  bool changed = false;
  const auto mods = e->modifiers() & ~Qt::KeypadModifier;
  if (e->matches(QKeySequence::Paste)) {
    t.text = platform::AddressEdit::Place(Encode(QApplication::clipboard()->text().trimmed()));
    t.cursor = 0;
    changed = true;
  } else if (e->matches(QKeySequence::Cut)) {
    copy();
    changed = t.Delete();
  } else if (e->key() == Qt::Key_Backspace && mods == Qt::NoModifier) {
    changed = t.Backspace();
  } else if (e->key() == Qt::Key_Delete && mods == Qt::NoModifier) {
    changed = t.Delete();
  } else if (e->text().size() == 1 && e->text()[0].isPrint() &&
             !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
    changed = t.Type(char(e->text()[0].toLatin1()));
  } else {
    // Moving, selecting, copying and Enter behave as in any edit; every
    // other key that would edit the text freely is refused.
    switch (e->key()) {
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Home:
      case Qt::Key_End:
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Escape: QLineEdit::keyPressEvent(e); return;
      default:
        if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::SelectAll)) {
          QLineEdit::keyPressEvent(e);
          return;
        }
        e->accept();
        return;
    }
  }
  e->accept();
  if (changed && onEdit) onEdit(t.text, t.cursor);
}

// ---------------------------------------------------------------- panel

void PanelWidget::paintEvent(QPaintEvent* e) {
  QFrame::paintEvent(e);
  if (caption.isEmpty()) return;
  QPainter p(this);
  p.drawText(contentsRect(), Qt::AlignCenter, caption);
}

// ---------------------------------------------------------------- grid

namespace {

/// The draw-cell rule's canvas over a QPainter, clipped to the cell, its
/// system colours resolved against `palette`.
class PainterCanvas : public platform::Canvas {
 public:
  PainterCanvas(QPainter& p, const QPalette& palette) : p_(p), palette_(palette) {}
  int TextWidth(const std::string& text) override { return p_.fontMetrics().horizontalAdvance(Decode(text)); }
  void FillRect(const Rect& r) override {
    p_.fillRect(QRect(r.left, r.top, r.width, r.height), Resolve(brush, palette_));
  }
  void Rectangle(const Rect& r) override {
    if (r.width <= 0 || r.height <= 0) return;
    p_.setPen(QPen(Qt::black, 1));
    p_.setBrush(Resolve(brush, palette_));
    p_.drawRect(QRect(r.left, r.top, r.width - 1, r.height - 1));
    p_.setBrush(Qt::NoBrush);
  }
  void TextOut(int x, int y, const std::string& text) override {
    p_.setPen(Resolve(fontColour, palette_));
    p_.drawText(x, y + p_.fontMetrics().ascent(), Decode(text));
  }

 private:
  QPainter& p_;
  const QPalette& palette_;
};

constexpr int kLine = 1;  // grid line width

}  // namespace

GridWidget::GridWidget(StringGrid& grid, QWidget* parent) : QAbstractScrollArea(parent), grid_(grid) {
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFrameShape(QFrame::StyledPanel);
  verticalScrollBar()->setSingleStep(1);
}

int GridWidget::VisibleScrollRows() const {
  const int h = viewport()->height() - grid_.FixedRows() * (grid_.RowHeight() + kLine);
  return std::max(1, h / (grid_.RowHeight() + kLine));
}

void GridWidget::UpdateScrollRange() {
  const int scrollable = grid_.RowCount() - grid_.FixedRows();
  verticalScrollBar()->setRange(0, std::max(0, scrollable - VisibleScrollRows()));
  verticalScrollBar()->setPageStep(VisibleScrollRows());
}

void GridWidget::Refresh() {
  UpdateScrollRange();
  SyncEditor();
  viewport()->update();
}

QRect GridWidget::CellRect(int col, int row) const {
  if (col < 0 || col >= grid_.ColCount() || row < 0 || row >= grid_.RowCount()) return {};
  const int h = grid_.RowHeight();
  int y;
  if (row < grid_.FixedRows()) {
    y = row * (h + kLine);
  } else {
    const int shown = row - grid_.FixedRows() - verticalScrollBar()->value();
    if (shown < 0) return {};
    y = (grid_.FixedRows() + shown) * (h + kLine);
  }
  int x = 0;
  const auto& widths = grid_.ColWidths();
  for (int c = 0; c < col; ++c) x += (c < int(widths.size()) ? widths[size_t(c)] : 64) + kLine;
  const int w = col < int(widths.size()) ? widths[size_t(col)] : 64;
  return QRect(x, y, w, h);
}

std::pair<int, int> GridWidget::CellAt(const QPoint& p) const {
  for (int row = 0; row < grid_.RowCount(); ++row)
    for (int col = 0; col < grid_.ColCount(); ++col)
      if (CellRect(col, row).contains(p)) return {col, row};
  return {-1, -1};
}

QPalette GridWidget::CellPalette() const { return style()->standardPalette(); }

void GridWidget::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  const QPalette cells = CellPalette();
  p.fillRect(viewport()->rect(), Resolve(grid_.Background(), cells));
  PainterCanvas canvas(p, cells);
  const QColor lineColour = cells.color(QPalette::Mid);
  for (int row = 0; row < grid_.RowCount(); ++row) {
    for (int col = 0; col < grid_.ColCount(); ++col) {
      const QRect r = CellRect(col, row);
      if (r.isEmpty() || r.top() > viewport()->height()) continue;
      CellState state;
      state.fixed = grid_.IsFixed(col, row);
      state.selected = !state.fixed && col == grid_.Col() && row == grid_.Row();
      state.focused = state.selected && hasFocus();
      canvas.brush = state.fixed      ? grid_.FixedColour()
                     : state.selected ? Colour::Sys(Colour::System::Highlight)
                                      : grid_.Background();
      canvas.fontColour = Colour::Sys(Colour::System::WindowText);
      const Rect cell{r.left(), r.top(), r.width(), r.height()};
      p.save();
      p.setClipRect(r);
      if (grid_.onDrawCell) {
        try {
          grid_.onDrawCell(col, row, cell, state, canvas);
        } catch (const std::exception& e) {
          qWarning("cell painting failed: %s", e.what());  // no message box from a paint
        }
      } else {
        canvas.FillRect(cell);
        canvas.TextOut(cell.left + 2, cell.top + 2, grid_.Cell(col, row));
      }
      p.restore();
      p.setPen(lineColour);
      p.drawLine(r.right() + 1, r.top(), r.right() + 1, r.bottom() + 1);
      p.drawLine(r.left(), r.bottom() + 1, r.right() + 1, r.bottom() + 1);
    }
  }
}

bool GridWidget::CellEditable(int col, int row) const {
  return grid_.Editable() && !grid_.IsFixed(col, row) && grid_.EffectivelyEnabled() && col >= 0 &&
         col < grid_.ColCount() && row >= 0 && row < grid_.RowCount();
}

bool GridWidget::StartEditing(bool selectAll) {
  const int col = grid_.Col(), row = grid_.Row();
  if (!CellEditable(col, row)) return false;
  if (!editor_) {
    editor_ = new QLineEdit(viewport());
    editor_->setObjectName(QString::fromStdString(grid_.Name() + "_editor"));
    editor_->setFrame(false);
    editor_->setPalette(CellPalette());
    QObject::connect(editor_, &QLineEdit::textEdited, editor_, [this] {
      const int c = editCol_, r = editRow_;
      if (const auto bytes = TakeLineEdit(*editor_, grid_.Cell(c, r)))
        platform::Guard([&] { grid_.SetCell(c, r, *bytes); });
      SyncEditor();
    });
    QObject::connect(editor_, &QLineEdit::returnPressed, editor_, [this] {
      CloseEditor();
      setFocus();
    });
    QObject::connect(editor_, &QLineEdit::editingFinished, editor_, [this] {
      if (editor_ && !editor_->hasFocus()) CloseEditor();
    });
  }
  editCol_ = col;
  editRow_ = row;
  editor_->setGeometry(CellRect(col, row));
  editor_->setText(Decode(grid_.Cell(col, row)));
  if (selectAll)
    editor_->selectAll();
  else
    editor_->end(false);
  editor_->show();
  editor_->setFocus();
  return true;
}

void GridWidget::CloseEditor() {
  if (!editor_ || editor_->isHidden()) return;
  editor_->hide();
  editCol_ = editRow_ = -1;
}

void GridWidget::SyncEditor() {
  if (!editor_ || editor_->isHidden()) return;
  if (!CellEditable(editCol_, editRow_)) {
    CloseEditor();
    return;
  }
  ShowLineText(*editor_, Decode(grid_.Cell(editCol_, editRow_)));
  editor_->setGeometry(CellRect(editCol_, editRow_));
  if (editor_->geometry().isEmpty()) CloseEditor();
}

void GridWidget::mousePressEvent(QMouseEvent* e) {
  setFocus();
  const auto [col, row] = CellAt(e->pos());
  if (col < 0 || grid_.IsFixed(col, row) || !grid_.EffectivelyEnabled()) return;
  CloseEditor();
  platform::Guard([&] { grid_.Select(col, row); });
}

void GridWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  const auto [col, row] = CellAt(e->pos());
  if (col == grid_.Col() && row == grid_.Row()) StartEditing(false);
}

void GridWidget::keyPressEvent(QKeyEvent* e) {
  if (!grid_.EffectivelyEnabled()) return QAbstractScrollArea::keyPressEvent(e);
  int col = grid_.Col(), row = grid_.Row();
  switch (e->key()) {
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_F2: StartEditing(false); return;
    default: {
      if (editor_ && !editor_->isHidden()) {
        QApplication::sendEvent(editor_, e);
        return;
      }
      const QString typed = e->text();
      if (typed.size() == 1 && typed[0].isPrint() && StartEditing(true)) {
        QApplication::sendEvent(editor_, e);
        return;
      }
      return QAbstractScrollArea::keyPressEvent(e);
    }
  }
  col = std::clamp(col, grid_.FixedCols(), grid_.ColCount() - 1);
  row = std::clamp(row, grid_.FixedRows(), grid_.RowCount() - 1);
  platform::Guard([&] { grid_.Select(col, row); });
  // Keep the current row in view.
  const int first = grid_.FixedRows() + verticalScrollBar()->value();
  if (row < first)
    verticalScrollBar()->setValue(row - grid_.FixedRows());
  else if (row >= first + VisibleScrollRows())
    verticalScrollBar()->setValue(row - grid_.FixedRows() - VisibleScrollRows() + 1);
}

void GridWidget::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateScrollRange();
}

void GridWidget::scrollContentsBy(int, int) {
  SyncEditor();
  viewport()->update();
}

// ---------------------------------------------------------------- window

FormWindow::FormWindow(platform::Form& form, QWidget* parent) : QWidget(parent, Qt::Window), form_(form) {}

namespace {

/// Another widget lies over the middle of `w` (the cover over the pages).
bool Covered(QWidget* window, QWidget* w) {
  const QWidget* top = window->childAt(w->mapTo(window, w->rect().center()));
  return top && top != w && !w->isAncestorOf(top);
}

}  // namespace

bool FormWindow::focusNextPrevChild(bool next) {
  // As Qt's own walk, without moving the focus through the widgets passed
  // over (leaving an edit runs its exit rule).
  QWidget* from = focusWidget() ? focusWidget() : this;
  for (QWidget* w = from;;) {
    w = next ? w->nextInFocusChain() : w->previousInFocusChain();
    if (w == from) return false;
    const bool takes = w->window() == this && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() &&
                       w->isEnabled() && !w->focusProxy();
    if (takes && !Covered(this, w)) {
      w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
}

void FormWindow::closeEvent(QCloseEvent* e) {
  // The control decides: its close query may refuse; when it closes, the
  // form hides itself and the view follows.
  e->ignore();
  platform::Guard([this] { form_.Close(); });
}

void FormWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    // Enter on a focused push button presses that button, as on a dialog.
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
      button->click();
      return;
    }
    bool pressed = false;
    platform::Guard([&] { pressed = form_.PressEnter(); });
    if (pressed) return;
  }
  if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
    bool pressed = false;
    platform::Guard([&] { pressed = form_.PressEscape(); });
    if (pressed) return;
  }
  // Ctrl+Tab from outside the pages (the button bar) turns them too; inside,
  // the page control has taken it already.
  const bool pageKey = e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab;
  if (pageKey && (e->modifiers() & Qt::ControlModifier)) {
    auto* pages = findChild<QTabWidget*>();
    if (pages && pages->isVisible() && pages->isEnabled() && !Covered(this, pages)) {
      QCoreApplication::sendEvent(pages, e);
      return;
    }
  }
  QWidget::keyPressEvent(e);
}

void FormWindow::contextMenuEvent(QContextMenuEvent* e) {
  platform::PopupMenu* popup = form_.Popup();
  if (!popup) return;
  const auto items = popup->ListedItems();
  if (items.empty()) return;  // a menu of hidden entries shows nothing
  QMenu menu(this);
  for (platform::MenuItem* item : items) {
    QAction* a = menu.addAction(Decode(item->Caption()));
    a->setObjectName(QString::fromStdString(item->Name()));
    a->setEnabled(item->Enabled());
    QObject::connect(a, &QAction::triggered, a, [item] { platform::Guard([item] { item->Click(); }); });
  }
  menu.exec(e->globalPos());
}

}  // namespace platform::qt
