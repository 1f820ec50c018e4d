#include "widgets.h"

#include <algorithm>

#include "form.h"

namespace platform {

void Button::Click() {
  if (!Showing() || !EffectivelyEnabled()) return;
  if (onClick) onClick();
  if (modalResult_ == ModalResult::None) return;
  for (Control* c = Parent(); c; c = c->Parent())
    if (auto* form = dynamic_cast<Form*>(c)) return form->SetModalResult(modalResult_);
}

void Button::SetDefault(bool d) {
  if (Assign(default_, d)) Notify(Prop::Default);
}

void Image::SetPicture(Picture p) {
  if (Assign(picture_, std::move(p))) Notify(Prop::Picture);
}

void Gauge::SetProgress(int p) {
  if (Assign(progress_, std::clamp(p, min_, max_))) Notify(Prop::Progress);
}

void Gauge::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  SetProgress(progress_);
}

Memo::Memo(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetBackground(Colour::Sys(Colour::System::Window));
}

void Memo::Add(std::string line) {
  lines_.push_back(std::move(line));
  Trim();
  Notify(Prop::LineAdded);
}

void Memo::Clear() {
  if (lines_.empty()) return;
  lines_.clear();
  Notify(Prop::Lines);
}

void Memo::SetLines(std::vector<std::string> lines) {
  if (lines_ == lines) return;
  lines_.assign(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
  Trim();
  Notify(Prop::Lines);
}

void Memo::SetMaxLines(size_t n) {
  maxLines_ = n;
  if (Trim()) Notify(Prop::Lines);
}

bool Memo::Trim() {
  if (maxLines_ == 0 || lines_.size() <= maxLines_) return false;
  lines_.erase(lines_.begin(), lines_.end() - std::ptrdiff_t(maxLines_));
  return true;
}

}  // namespace platform
