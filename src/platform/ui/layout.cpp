#include "layout.h"

#include <string>

namespace platform {

void ApplyLayout(std::initializer_list<LayoutRow> rows) {
  for (const LayoutRow& r : rows) {
    r.control.SetGeometry(Rect{r.left, r.top, r.width, r.height});
    r.control.SetAlign(r.align);
    if (!r.caption.empty()) r.control.SetCaption(std::string(r.caption));
  }
}

void NameInputs(std::initializer_list<NameRow> rows) {
  for (const NameRow& r : rows) r.input.SetNamedBy(&r.caption);
}

}  // namespace platform
