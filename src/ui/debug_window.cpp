#include "ui/debug_window.h"

#include <algorithm>

#include "link/connection.h"

namespace ui {

using platform::Align;

TF_Debug::TF_Debug()
    : Form("F_Debug", "Debug"),
      Display(this, "Display"),
      Panel2(this, "Panel2"),
      Edit1(&Panel2, "Edit1"),
      Button2(&Panel2, "Button2"),
      Button1(&Panel2, "Button1"),
      Button3(&Panel2, "Button3") {
  SetOuterSize(true);
  SetGeometry({1022, 72, 258, 914});
  SetPlacement(Placement::Designed);
  SetBorderStyle(Border::Sizeable);

  Display.SetAlign(Align::Client);
  Display.SetGeometry({0, 0, 258, 914 - 60});
  Display.SetReadOnly(false);
  Panel2.SetAlign(Align::Bottom);
  Panel2.SetGeometry({0, 914 - 60, 258, 60});
  Edit1.SetGeometry({8, 8, 161, 21});
  Button2.SetCaption("..");
  Button2.SetGeometry({170, 8, 28, 25});
  Button1.SetCaption("Clear");
  Button1.SetGeometry({200, 8, 45, 25});
  Button3.SetCaption("argv[..] Show");
  Button3.SetGeometry({152, 36, 93, 22});

  Button1.onClick = [this] { platform::Guard([this] { Button1Click(); }); };
  Button2.onClick = [this] { platform::Guard([this] { Button2Click(); }); };
  Button3.onClick = [this] { platform::Guard([this] { Button3Click(); }); };
}

void TF_Debug::Button1Click() { Display.Clear(); }

void TF_Debug::Button2Click() { connection_->SendTyped(Edit1.Text()); }

void TF_Debug::Button3Click() {
  const devlink::LinkRecord& link = connection_->link;
  if (link.TokenIndex < 0) return;
  // The index may stand one past the last slot once a line filled the table.
  const int last = std::min<int>(link.TokenIndex, int(link.Tokens.size()) - 1);
  for (int i = 0; i <= last; ++i) Display.Add("argv[" + std::to_string(i) + "] : " + link.Tokens[size_t(i)]);
}

}  // namespace ui
