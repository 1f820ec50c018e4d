#include "ui/debug_window.h"

#include <algorithm>

#include "devlink/device_link.h"
#include "ui/layouts.h"
#include "ui/main_window.h"

namespace ui {

TF_Debug::TF_Debug()
    : Form("F_Debug"),
      Display(this, "Display"),
      Panel2(this, "Panel2"),
      Edit1(&Panel2, "Edit1"),
      Button2(&Panel2, "Button2"),
      Button1(&Panel2, "Button1"),
      Button3(&Panel2, "Button3") {
  Display.SetReadOnly(false);
  Display.SetMaxLines(TF_morvel_config_main::kMemoLines);
  LayOutDebugWindow(*this);

  Button1.onClick = [this] { platform::Guard([this] { Button1Click(); }); };
  Button2.onClick = [this] { platform::Guard([this] { Button2Click(); }); };
  Button3.onClick = [this] { platform::Guard([this] { Button3Click(); }); };
}

void TF_Debug::Button1Click() { Display.Clear(); }

void TF_Debug::Button2Click() { link_->SendTyped(Edit1.Text()); }

void TF_Debug::Button3Click() {
  const devlink::LinkRecord& link = link_->Record();
  if (link.TokenIndex < 0) return;
  // The index may stand one past the last slot once a line filled the table.
  const int last = std::min<int>(link.TokenIndex, int(link.Tokens.size()) - 1);
  for (int i = 0; i <= last; ++i) Display.Add("argv[" + std::to_string(i) + "] : " + link.Tokens[size_t(i)]);
}

}  // namespace ui
