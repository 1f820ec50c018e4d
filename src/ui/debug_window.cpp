#include "ui/debug_window.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "devlink/connection_log.h"
#include "devlink/device_link.h"
#include "lang/fixed_texts.h"
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
      BB_SaveTrace(&Panel2, "BB_SaveTrace"),
      Button3(&Panel2, "Button3") {
  Display.SetReadOnly(false);
  Display.SetMaxLines(TF_morvel_config_main::kMemoLines);
  LayOutDebugWindow(*this);

  Button1.onClick = [this] { platform::Guard([this] { Button1Click(); }); };
  Button2.onClick = [this] { platform::Guard([this] { Button2Click(); }); };
  Button3.onClick = [this] { platform::Guard([this] { Button3Click(); }); };
  BB_SaveTrace.onClick = [this] { platform::Guard([this] { BB_SaveTraceClick(); }); };
}

void TF_Debug::Button1Click() { Display.Clear(); }

void TF_Debug::Button2Click() { link_->SendTyped(Edit1.Text()); }

void TF_Debug::Button3Click() {
  const devlink::LinkRecord& link = link_->Record();
  if (link.TokenIndex() < 0) return;
  // The index may stand one past the last slot once a line filled the table.
  const int last = std::min<int>(link.TokenIndex(), int(link.Tokens().size()) - 1);
  for (int i = 0; i <= last; ++i)
    Display.Add("argv[" + std::to_string(i) + "] : " + link.Tokens()[size_t(i)]);
}

void TF_Debug::BB_SaveTraceClick() {
  const std::optional<std::string> path =
      platform::ChooseFile({platform::FileMode::Save, std::string(lang::fixed::kSaveTraceCaption),
                            "morvel_config_trace.txt", std::string(lang::fixed::kSaveTraceFilter)});
  if (!path) return;
  std::string text;
  for (const std::string& line : Display.Lines()) text.append(devlink::LoggedLine(line)).append("\n");
  int error = 0;
  if (std::FILE* file = std::fopen(path->c_str(), "wb")) {
    if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) error = errno;
    if (std::fclose(file) != 0 && error == 0) error = errno;
  } else {
    error = errno;
  }
  if (error == 0) return;
  platform::ShowMessageBox(std::string(lang::fixed::kTraceNotSaved) + *path + ": " + std::strerror(error),
                           "Error", platform::Icon::Error);
}

}  // namespace ui
