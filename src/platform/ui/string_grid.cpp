#include "string_grid.h"

#include <algorithm>

namespace platform {

StringGrid::StringGrid(Control* parent, std::string name, int cols, int rows)
    : Control(parent, std::move(name)), cols_(std::max(cols, 1)) {
  cells_.assign(std::max(rows, 1), std::vector<std::string>(cols_));
  colWidths_.assign(cols_, 64);
  SetBackground(Colour::Sys(Colour::System::Window));
}

void StringGrid::SetRowCount(int rows) {
  rows = std::max(rows, 1);
  if (rows == RowCount()) return;
  cells_.resize(rows, std::vector<std::string>(cols_));
  row_ = std::min(row_, rows - 1);
  Notify(Prop::RowCount);
}

const std::string& StringGrid::Cell(int col, int row) const {
  static const std::string kNone;
  if (col < 0 || col >= cols_ || row < 0 || row >= RowCount()) return kNone;
  return cells_[row][col];
}

void StringGrid::SetCell(int col, int row, std::string text) {
  if (col < 0 || col >= cols_ || row < 0 || row >= RowCount()) return;
  if (Assign(cells_[row][col], std::move(text))) Notify(Prop::Cells);
}

void StringGrid::Select(int col, int row) {
  col = std::clamp(col, 0, cols_ - 1);
  row = std::clamp(row, 0, RowCount() - 1);
  if (col == col_ && row == row_) return;
  col_ = col;
  row_ = row;
  Notify(Prop::Selection);
}

}  // namespace platform
