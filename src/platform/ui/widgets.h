#pragma once
// The simple kinds: labels, buttons, panels, group boxes, pictures, gauges, memos.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "control.h"

namespace platform {

class Label : public Control {
 public:
  using Control::Control;
};

/// A push button. `Default` buttons are pressed by Enter in their form,
/// `Cancel` buttons by Escape.
class Button : public Control {
 public:
  enum class Glyph : uint8_t { None, Ok, Abort };
  using Control::Control;

  std::function<void()> onClick;
  /// A press: runs onClick when the button is showing and enabled, then
  /// gives its form the button's modal result, if it has one.
  void Click();

  bool IsDefault() const { return default_; }
  void SetDefault(bool d);
  bool IsCancel() const { return cancel_; }
  void SetCancel(bool c) { cancel_ = c; }
  /// What pressing the button answers when its form is shown modally.
  void SetModalResult(ModalResult r) { modalResult_ = r; }
  Glyph ButtonGlyph() const { return glyph_; }
  void SetGlyph(Glyph g) { glyph_ = g; }

 private:
  bool default_ = false;
  bool cancel_ = false;
  ModalResult modalResult_ = ModalResult::None;
  Glyph glyph_ = Glyph::None;
};

class Panel : public Control {
 public:
  using Control::Control;
};

/// A framed group; disabling it disables what it holds.
class GroupBox : public Control {
 public:
  using Control::Control;
};

/// Decoded pixels: 8-bit RGB, row after row, no padding.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
  /// Pixels per design pixel: 2 for a picture drawn at twice the size it is
  /// shown at, which stays sharp on a screen of twice the density.
  int scale = 1;
  bool Empty() const { return width <= 0 || height <= 0; }
  bool operator==(const Picture&) const = default;
};

class Image : public Control {
 public:
  using Control::Control;
  const Picture& Pixels() const { return picture_; }
  void SetPicture(Picture p);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool s) { stretch_ = s; }

 private:
  Picture picture_;
  bool stretch_ = false;
};

/// A progress bar whose progress stays within [Min, Max].
class Gauge : public Control {
 public:
  using Control::Control;
  int Progress() const { return progress_; }
  void SetProgress(int p);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  Colour ForeColour() const { return fore_; }
  void SetForeColour(Colour c) { fore_ = c; }

 private:
  int progress_ = 0;
  int min_ = 0;
  int max_ = 100;
  Colour fore_ = Colour::Rgb(0, 0, 0x80);
};

/// Multi-line text held as lines; appending one line notifies LineAdded so a
/// view can append instead of redrawing everything.
/// The lines of a memo, oldest first; compares with a list of lines.
class MemoLines : public std::deque<std::string> {
 public:
  using std::deque<std::string>::deque;
  friend bool operator==(const MemoLines& a, const std::vector<std::string>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
};

class Memo : public Control {
 public:
  /// A memo starts with the window (edit) background, as edits do.
  Memo(Control* parent, std::string name);
  const MemoLines& Lines() const { return lines_; }
  /// Adds a line at the end; beyond the line limit the oldest line goes.
  void Add(std::string line);
  void Clear();
  void SetLines(std::vector<std::string> lines);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool r) { readOnly_ = r; }
  Colour TextColour() const { return textColour_; }
  void SetTextColour(Colour c) { textColour_ = c; }
  /// Most lines kept; 0 keeps every line.
  size_t MaxLines() const { return maxLines_; }
  void SetMaxLines(size_t n);

 private:
  /// Drops the oldest lines beyond the limit; true when any went.
  bool Trim();

  MemoLines lines_;
  size_t maxLines_ = 0;
  bool readOnly_ = false;
  Colour textColour_ = Colour::Sys(Colour::System::WindowText);
};

}  // namespace platform
