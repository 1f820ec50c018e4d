// The debug window's layout: a tall sizeable window at a set place on the
// screen, the trace filling it above a panel with the console line.
#include "lang/fixed_texts.h"
#include "platform/ui/layout.h"
#include "ui/debug_window.h"
#include "ui/layouts.h"

namespace ui {

using platform::Align;

void LayOutDebugWindow(TF_Debug& w) {
  // The window's size is its outer size here, not its client area.
  w.SetOuterSize(true);
  platform::ApplyLayout({
      {w, 1022, 72, 258, 914, "Debug"},
      {w.Display, 0, 0, 258, 854, "", Align::Client},
      {w.Panel2, 0, 854, 258, 60, "", Align::Bottom},
      {w.Edit1, 8, 8, 161, 21},
      {w.Button2, 170, 8, 28, 25, ".."},
      {w.Button1, 200, 8, 45, 25, "Clear"},
      {w.BB_SaveTrace, 8, 36, 70, 22, lang::fixed::kSaveTrace},
      {w.Button3, 152, 36, 93, 22, "argv[..] Show"},
  });
  w.SetPlacement(platform::Form::Placement::Designed);
  w.SetBorderStyle(platform::Form::Border::Sizeable);
  // No caption names these for screen readers (".." is the send button).
  w.Display.SetSpokenName(std::string(lang::fixed::kTraceName));
  w.Edit1.SetSpokenName(std::string(lang::fixed::kLineToSendName));
  w.Button2.SetSpokenName(std::string(lang::fixed::kSendName));
}

}  // namespace ui
