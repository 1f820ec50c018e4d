#pragma once
// A window's layout as a table: one row per control, naming it once, with
// where it lies in its parent, its designed caption and how it fills its
// parent. Looks beyond these (fonts, colours, password characters, grid
// metrics) follow the table as plain setter calls.
#include <initializer_list>
#include <string_view>

#include "control.h"

namespace platform {

struct LayoutRow {
  Control& control;
  int left, top, width, height;
  std::string_view caption = {};  ///< empty: the control keeps its caption
  Align align = Align::None;
};

/// Gives each row's control its geometry, alignment and (when the row has
/// one) its caption, in the order of the rows.
void ApplyLayout(std::initializer_list<LayoutRow> rows);

/// An input and the control whose caption names it for screen readers: the
/// label beside it, or the check box, group or page it stands for.
struct NameRow {
  Control& caption;
  Control& input;
};

void NameInputs(std::initializer_list<NameRow> rows);

}  // namespace platform
