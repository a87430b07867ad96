#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/text.h"

// Small types shared by every control of the ui layer.
namespace ui {

// One window message as it passes through a control's message-handler slot. A handler that
// answers the message sets result; one that passes it on leaves the record to the next.
struct Message {
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT result = 0;
};

// The replaceable handler through which every message of a control's window passes: an
// object plus its method, bound as a std::function.
using WindowProcSlot = std::function<void(Message&)>;

// How a control follows its parent's client area: not at all, stacked at the top or the
// bottom (full width, own height), or filling what is left.
enum class Align : std::uint8_t { None, Top, Bottom, Client };

// One edge ring of a panel.
enum class Bevel : std::uint8_t { None, Lowered, Raised };

// A colour: either fixed, or a system colour index (COLOR_WINDOWTEXT, COLOR_GRAYTEXT, ...)
// that follows the user's scheme.
class Color {
 public:
  static Color System(int index) { return Color(true, static_cast<COLORREF>(index)); }
  static Color Rgb(COLORREF rgb) { return Color(false, rgb); }
  Color() = default;  // the system window-text colour

  [[nodiscard]] COLORREF Resolve() const { return system_ ? GetSysColor(static_cast<int>(value_)) : value_; }
  bool operator==(const Color&) const = default;

 private:
  Color(bool system, COLORREF value) : system_(system), value_(value) {}
  bool system_ = true;
  COLORREF value_ = COLOR_WINDOWTEXT;
};

// A font as the controls take it. height is the character height in pixels at 96 DPI (the cell
// height minus the internal leading, i.e. a negative LOGFONT height), as "12 pixels" reads in a
// design; a window on a monitor of another DPI scales it: FontSpec{.face = u8"ＭＳ Ｐゴシック", .height = 12, .charset
// = SHIFTJIS_CHARSET}.
struct FontSpec {
  TextArg face{};
  int height = 12;
  BYTE charset = DEFAULT_CHARSET;
  bool operator==(const FontSpec& other) const {
    return face.Value() == other.face.Value() && height == other.height && charset == other.charset;
  }
};

}  // namespace ui
