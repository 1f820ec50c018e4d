#include "ui/review_window.h"

#include "config/script_writer.h"
#include "lang/fixed_texts.h"
#include "ui/layouts.h"

namespace ui {

namespace texts = lang::fixed;

TF_Review::TF_Review()
    : Form("F_Review"),
      L_Changes(this, "L_Changes"),
      M_Changes(this, "M_Changes"),
      CK_Reveal(this, "CK_Reveal"),
      CK_Lines(this, "CK_Lines"),
      L_Lines(this, "L_Lines"),
      M_Lines(this, "M_Lines"),
      BB_Save(this, "BB_Save"),
      BB_Cancel(this, "BB_Cancel") {
  LayOutReviewWindow(*this);
  BB_Save.SetModalResult(platform::ModalResult::Ok);
  BB_Cancel.SetModalResult(platform::ModalResult::Cancel);
  CK_Reveal.onClick = [this] { CK_RevealClick(); };
  CK_Lines.onClick = [this] { CK_LinesClick(); };
}

bool TF_Review::Confirm(const config::ConfigPages& readOut, const config::ConfigPages& now,
                        const std::vector<std::string>& lines) {
  changes_ = config::ChangesSince(readOut, now);
  lines_ = lines;
  maskedLines_ = config::ConfigurationScript(now, config::Secrets::Masked);
  L_Changes.SetCaption(std::string(changes_.empty() ? texts::kNothingChanged : texts::kChangesCaption));
  // Each review starts with the secrets hidden and the lines folded away.
  CK_Reveal.SetChecked(false);
  CK_Lines.SetChecked(false);
  CK_RevealClick();
  CK_LinesClick();
  SetFocus(&BB_Save);
  return ShowModal() == platform::ModalResult::Ok;
}

void TF_Review::CK_RevealClick() {
  const bool reveal = CK_Reveal.Checked();
  std::vector<std::string> shown;
  for (const config::Change& c : changes_) shown.push_back(config::ChangeLine(c, reveal));
  M_Changes.SetLines(std::move(shown));
  M_Lines.SetLines(reveal ? lines_ : maskedLines_);
}

void TF_Review::CK_LinesClick() {
  L_Lines.SetVisible(CK_Lines.Checked());
  M_Lines.SetVisible(CK_Lines.Checked());
}

}  // namespace ui
