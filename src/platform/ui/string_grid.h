#pragma once
// A grid of texts with fixed title rows and columns, painted cell by cell by
// a draw-cell rule onto an abstract canvas (a QPainter in the view, a
// recorder in tests).
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "control.h"

namespace platform {

/// What a draw-cell rule paints with. `brush` is the current fill colour.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual int TextWidth(const std::string& text) = 0;
  virtual void FillRect(const Rect& r) = 0;   // filled with `brush`
  virtual void Rectangle(const Rect& r) = 0;  // filled with `brush`, outlined by the pen
  virtual void TextOut(int x, int y, const std::string& text) = 0;  // in `fontColour`
  Colour brush = kWhite;
  Colour fontColour = kBlack;
};

struct CellState {
  bool selected = false;
  bool focused = false;
  bool fixed = false;
};

class StringGrid : public Control {
 public:
  StringGrid(Control* parent, std::string name, int cols = 5, int rows = 5);

  int ColCount() const { return cols_; }
  int RowCount() const { return int(cells_.size()); }
  /// Rows beyond a smaller count are dropped with their texts; new rows are empty.
  void SetRowCount(int rows);
  void AddRow() { SetRowCount(RowCount() + 1); }
  /// The text of cell (col, row); empty outside the grid.
  const std::string& Cell(int col, int row) const;
  /// Sets a cell's text; ignored outside the grid.
  void SetCell(int col, int row, std::string text);
  /// The rows, in order, whose cell in column `col` holds `text`. The grid
  /// keeps an index of the column last asked about and updates it with every
  /// change, so a lookup does not walk the rows. The result is a copy: the
  /// caller may change cells while it goes through it.
  std::vector<int> RowsWith(int col, const std::string& text);

  int FixedRows() const { return fixedRows_; }
  int FixedCols() const { return fixedCols_; }
  void SetFixed(int cols, int rows) { fixedCols_ = cols, fixedRows_ = rows; }
  bool IsFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
  bool Editable() const { return editable_; }
  void SetEditable(bool e) { editable_ = e; }

  const std::vector<int>& ColWidths() const { return colWidths_; }
  void SetColWidths(std::vector<int> w) { colWidths_ = std::move(w); }
  int RowHeight() const { return rowHeight_; }
  void SetRowHeight(int h) { rowHeight_ = h; }
  Colour FixedColour() const { return fixedColour_; }
  void SetFixedColour(Colour c) { fixedColour_ = c; }

  /// The current cell (the user's selection).
  int Col() const { return col_; }
  int Row() const { return row_; }
  void Select(int col, int row);

  /// Paints one cell: column, row, rectangle, state, canvas (brush preset).
  std::function<void(int col, int row, const Rect&, const CellState&, Canvas&)> onDrawCell;

 private:
  void Index(int row);
  void Unindex(int row);

  int cols_;
  std::vector<std::vector<std::string>> cells_;              // by row, then column
  int indexedCol_ = -1;                                      // none yet
  std::unordered_map<std::string, std::vector<int>> index_;  // text -> its rows, ascending
  int fixedRows_ = 1, fixedCols_ = 1;
  bool editable_ = false;
  std::vector<int> colWidths_;
  int rowHeight_ = 24;
  Colour fixedColour_ = Colour::Sys(Colour::System::BtnFace);
  int col_ = 1, row_ = 1;
};

}  // namespace platform
