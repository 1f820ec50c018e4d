#pragma once
// Plain values shared by every control: geometry, colours, fonts, alignment,
// a modal window's answer.
#include <cstdint>
#include <string>

namespace platform {

/// A modal window's answer: what the button that closed it says; Cancel when
/// it was closed otherwise (its close box, Escape without a cancel button).
enum class ModalResult : uint8_t { None, Ok, Cancel };

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const Rect&) const = default;
};

/// A colour as the windows describe it: either an RGB value or one of the
/// theme's system colours, which the view resolves from its palette.
struct Colour {
  enum class System : uint8_t {
    None,    // an RGB colour, in `rgb`
    Window,  // window (edit) background
    WindowText,
    BtnFace,    // button face: disabled or inactive backgrounds
    Light3D,    // 3-D light: the background of disabled edits
    Highlight,  // selection background
  };
  System system = System::None;
  uint32_t rgb = 0;  // 0xRRGGBB when system is None

  static constexpr Colour Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return Colour{System::None, (uint32_t(r) << 16) | (uint32_t(g) << 8) | b};
  }
  static constexpr Colour Sys(System s) { return Colour{s, 0}; }
  uint8_t Red() const { return uint8_t(rgb >> 16); }
  uint8_t Green() const { return uint8_t(rgb >> 8); }
  uint8_t Blue() const { return uint8_t(rgb); }
  bool operator==(const Colour&) const = default;
};

inline constexpr Colour kBlack = Colour::Rgb(0, 0, 0);
inline constexpr Colour kWhite = Colour::Rgb(255, 255, 255);

struct Font {
  std::string family;   // empty: the view's default font
  int pixelHeight = 0;  // 0: the default size
  bool bold = false;
  bool fixedPitch = false;
  bool operator==(const Font&) const = default;
};

/// How a control fills its parent, as the window descriptions lay them out.
enum class Align : uint8_t { None, Top, Bottom, Left, Right, Client };

}  // namespace platform
