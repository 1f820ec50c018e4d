#include "control.h"

#include <algorithm>

namespace platform {

Control::Control(Control* parent, std::string name) : name_(std::move(name)), parent_(parent) {
  if (parent_) parent_->Adopt(this);
}

Control::~Control() {
  if (parent_) parent_->Release(this);
  for (Control* c : children_) c->parent_ = nullptr;
}

void Control::Adopt(Control* child) { children_.push_back(child); }

void Control::Release(Control* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

Control* Control::Find(std::string_view name) {
  if (name_ == name) return this;
  for (Control* c : children_)
    if (Control* found = c->Find(name)) return found;
  return nullptr;
}

bool Control::SetVisible(bool v) {
  if (!Assign(visible_, v)) return false;
  Notify(Prop::Visible);
  return true;
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

bool Control::SetEnabled(bool e) {
  if (!Assign(enabled_, e)) return false;
  Notify(Prop::Enabled);
  return true;
}

bool Control::EffectivelyEnabled() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->enabled_) return false;
  return true;
}

bool Control::SetCaption(std::string caption) {
  if (!Assign(caption_, std::move(caption))) return false;
  Notify(Prop::Caption);
  return true;
}

bool Control::SetGeometry(Rect r) {
  if (!Assign(geometry_, r)) return false;
  Notify(Prop::Geometry);
  return true;
}

bool Control::SetBackground(Colour c) {
  if (!Assign(colour_, c)) return false;
  Notify(Prop::Colour);
  return true;
}

bool Control::SetFont(Font f) {
  if (!Assign(font_, std::move(f))) return false;
  Notify(Prop::Font);
  return true;
}

int Control::Observe(Observer o) {
  observers_.emplace_back(nextObserverId_, std::move(o));
  return nextObserverId_++;
}

void Control::Unobserve(int id) {
  std::erase_if(observers_, [id](const auto& p) { return p.first == id; });
}

void Control::Notify(Prop p) {
  // Copy: an observer may add or remove observers while it runs.
  const auto observers = observers_;
  for (const auto& [id, o] : observers) o(*this, p);
}

}  // namespace platform
