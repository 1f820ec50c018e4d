#pragma once
// The widget classes the view builds. Internal to the view: they hold no
// state of their own beyond what the bound control gives them.
#include <QAbstractScrollArea>
#include <QFrame>
#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/toolkit.h"

class QPainter;

namespace platform::qt {

/// Resolves a toolkit colour against `palette`: a system colour by the role
/// it plays (the window colour is the base of edits and lists, the window
/// text colour the text on it), a fixed colour as it is.
QColor Resolve(const Colour& colour, const QPalette& palette);
/// The same against the application's palette.
QColor Resolve(const Colour& colour);

/// A user's edit of a single-line text that its control holds as `current`:
/// control characters are dropped from `line` at once (the cursor keeps its
/// place among the rest), and the text is encoded like `current`. The bytes
/// for the control, or nothing when the edit is refused; either way the
/// caller then shows the control's text again.
std::optional<std::string> TakeLineEdit(QLineEdit& line, std::string_view current);
/// Shows `text` in `line` when it shows something else, with its signals
/// blocked; the cursor stays where it was, or goes to the end of a shorter text.
void ShowLineText(QLineEdit& line, const QString& text);

/// A single-line edit that hands every typed character to a hook first (the
/// control's key-press rule) and reports leaving it.
class EditWidget : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  /// A typed character; the hook may change it or set it to 0 to drop it.
  std::function<void(char& key)> onKey;
  /// The focus moved to another control of the window.
  std::function<void()> onLeave;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  /// The key after the hook: a plain edit lets QLineEdit handle it.
  virtual void HandleKey(QKeyEvent* e) { QLineEdit::keyPressEvent(e); }
};

/// The masked dotted-address edit: overwrite typing in four groups of three
/// positions; every edit is reported as the whole new 15-character text.
class AddressWidget : public EditWidget {
 public:
  explicit AddressWidget(QWidget* parent);
  /// The user changed the text; `cursor` is where the cursor goes after it.
  std::function<void(const std::string& text, int cursor)> onEdit;

 protected:
  void HandleKey(QKeyEvent* e) override;
};

/// A panel: a plain frame that shows its caption centred, if any.
class PanelWidget : public QFrame {
 public:
  using QFrame::QFrame;
  QString caption;

 protected:
  void paintEvent(QPaintEvent* e) override;
};

/// The owner-drawn string grid: cells painted by the control's draw-cell
/// rule through a QPainter canvas, fixed rows that stay on top while the
/// other rows scroll, an in-place editor for editable cells.
class GridWidget : public QAbstractScrollArea {
 public:
  GridWidget(StringGrid& grid, QWidget* parent);
  /// Repaints and updates the scroll range after a change of the control.
  void Refresh();
  /// Closes the editor when its cell is gone or no longer editable, and
  /// shows the cell's text in it otherwise.
  void SyncEditor();
  /// The rectangle of cell (col, row) in viewport coordinates (empty when
  /// scrolled out of view).
  QRect CellRect(int col, int row) const;
  /// The cell at a viewport point, or (-1, -1).
  std::pair<int, int> CellAt(const QPoint& p) const;
  QLineEdit* Editor() const { return editor_; }
  /// The palette the cells are drawn with: the style's standard (light)
  /// one, whatever the application's, since the draw-cell rule writes its
  /// text in a fixed black.
  QPalette CellPalette() const;
  /// Opens the editor on the current cell when it may be edited.
  bool StartEditing(bool selectAll);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  bool CellEditable(int col, int row) const;
  void CloseEditor();
  void UpdateScrollRange();
  int VisibleScrollRows() const;

  StringGrid& grid_;
  QLineEdit* editor_ = nullptr;
  int editCol_ = -1, editRow_ = -1;
};

/// A top-level window of a form: closing goes through the form (which may
/// refuse), Enter presses the form's default button and Escape its cancel
/// button, Ctrl+Tab turns the window's pages from anywhere in it, Tab passes
/// over what a shown panel covers, the context menu lists the popup menu's
/// visible entries.
class FormWindow : public QWidget {
 public:
  FormWindow(platform::Form& form, QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  bool focusNextPrevChild(bool next) override;

 private:
  platform::Form& form_;
};

}  // namespace platform::qt
