// The review's layout: a fixed dialog, the changes over the two choices of
// what to show, the lines below them, Save and Cancel at the bottom right.
#include "lang/fixed_texts.h"
#include "platform/ui/layout.h"
#include "ui/layouts.h"
#include "ui/review_window.h"

namespace ui {

void LayOutReviewWindow(TF_Review& w) {
  namespace texts = lang::fixed;
  platform::ApplyLayout({
      {w, 0, 0, 560, 400, texts::kReviewTitle},
      {w.L_Changes, 10, 10, 540, 16, texts::kChangesCaption},
      {w.M_Changes, 10, 30, 540, 150, texts::kChangesCaption},
      {w.CK_Reveal, 10, 188, 250, 20, texts::kRevealSecrets},
      {w.CK_Lines, 270, 188, 280, 20, texts::kShowLines},
      {w.L_Lines, 10, 216, 540, 16, texts::kLinesCaption},
      {w.M_Lines, 10, 234, 540, 120, texts::kLinesCaption},
      {w.BB_Save, 386, 364, 80, 26, texts::kSaveButton},
      {w.BB_Cancel, 470, 364, 80, 26, texts::kCancelButton},
  });
  w.SetBorderStyle(platform::Form::Border::FixedDialog);
  w.SetPlacement(platform::Form::Placement::ScreenCenter);
  w.BB_Save.SetDefault(true);
  w.BB_Cancel.SetCancel(true);
  for (platform::Memo* m : {&w.M_Changes, &w.M_Lines}) {
    m->SetReadOnly(true);
    platform::Font f = m->TextFont();
    f.fixedPitch = true;
    m->SetFont(f);
  }
}

}  // namespace ui
