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
  for (int r = rows; r < RowCount(); ++r) Unindex(r);
  const int before = RowCount();
  cells_.resize(rows, std::vector<std::string>(cols_));
  for (int r = before; r < rows; ++r) Index(r);
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
  if (cells_[row][col] == text) return;
  if (col == indexedCol_) Unindex(row);
  cells_[row][col] = std::move(text);
  if (col == indexedCol_) Index(row);
  Notify(Prop::Cells);
}

std::vector<int> StringGrid::RowsWith(int col, const std::string& text) {
  if (col < 0 || col >= cols_) return {};
  if (col != indexedCol_) {
    index_.clear();
    indexedCol_ = col;
    for (int r = 0; r < RowCount(); ++r) Index(r);
  }
  auto it = index_.find(text);
  return it == index_.end() ? std::vector<int>() : it->second;
}

void StringGrid::Index(int row) {
  if (indexedCol_ < 0) return;
  std::vector<int>& rows = index_[cells_[row][indexedCol_]];
  rows.insert(std::lower_bound(rows.begin(), rows.end(), row), row);
}

void StringGrid::Unindex(int row) {
  if (indexedCol_ < 0) return;
  auto it = index_.find(cells_[row][indexedCol_]);
  if (it == index_.end()) return;
  std::vector<int>& rows = it->second;
  const auto at = std::lower_bound(rows.begin(), rows.end(), row);
  if (at != rows.end() && *at == row) rows.erase(at);
  if (rows.empty()) index_.erase(it);
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
