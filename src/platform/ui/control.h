#pragma once
// The base of the control toolkit: a named control that holds its own state.
//
// Controls are plain C++ objects, owned by the form that declares them, and
// linked into a tree by parent pointers. A setter changes the state only when
// the value really differs and then tells the observers (the view) which
// property changed; setting an unchanged value notifies nothing. Rules that
// the windows attach (click handlers and the like) live on the derived kinds.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "types.h"

namespace platform {

/// What changed on a control, so an observer updates only that. `Front` is
/// an event rather than a state: a shown form was asked to come to the front.
enum class Prop : uint8_t {
  Visible,
  Enabled,
  Caption,
  Text,
  Geometry,
  Colour,
  Font,
  Checked,
  ItemIndex,
  Items,
  Cells,
  RowCount,
  Selection,
  Lines,
  LineAdded,
  Progress,
  Picture,
  ActivePage,
  TabVisible,
  Default,
  ReadOnly,
  Focus,
  Front
};

class Control {
 public:
  using Observer = std::function<void(Control&, Prop)>;

  Control(Control* parent, std::string name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  Control* Parent() const { return parent_; }
  const std::vector<Control*>& Children() const { return children_; }

  /// The control named `name` in this subtree (this one included), or null.
  Control* Find(std::string_view name);

  bool Visible() const { return visible_; }
  bool SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  /// True when this control and every ancestor is visible.
  bool Showing() const;

  bool Enabled() const { return enabled_; }
  bool SetEnabled(bool e);
  /// True when this control and every ancestor is enabled: disabling a
  /// group disables everything it holds.
  bool EffectivelyEnabled() const;

  const std::string& Caption() const { return caption_; }
  bool SetCaption(std::string caption);

  const Rect& Geometry() const { return geometry_; }
  bool SetGeometry(Rect r);
  Align Alignment() const { return align_; }
  void SetAlign(Align a) { align_ = a; }

  const Colour& Background() const { return colour_; }
  bool SetBackground(Colour c);
  const Font& TextFont() const { return font_; }
  bool SetFont(Font f);

  /// For screen readers: the control whose caption names this one (the
  /// label beside it, or the check box, group or page it stands for); null
  /// when its own caption names it. Set with the layout.
  Control* NamedBy() const { return namedBy_; }
  void SetNamedBy(Control* c) { namedBy_ = c; }
  /// A name for screen readers where no caption names the control.
  const std::string& SpokenName() const { return spokenName_; }
  void SetSpokenName(std::string name) { spokenName_ = std::move(name); }

  /// Registers an observer of every real change; the returned id removes it.
  int Observe(Observer o);
  void Unobserve(int id);

 protected:
  /// Tells every observer that `p` changed. Derived setters call it after a
  /// real change only.
  void Notify(Prop p);

 private:
  void Adopt(Control* child);
  void Release(Control* child);

  std::string name_;
  Control* parent_;
  std::vector<Control*> children_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  Rect geometry_;
  Align align_ = Align::None;
  Colour colour_ = Colour::Sys(Colour::System::BtnFace);
  Font font_;
  Control* namedBy_ = nullptr;
  std::string spokenName_;
  std::vector<std::pair<int, Observer>> observers_;
  int nextObserverId_ = 1;
};

/// Sets `field` to `value` when it differs; true when it changed.
template <typename T>
bool Assign(T& field, T value) {
  if (field == value) return false;
  field = std::move(value);
  return true;
}

}  // namespace platform
