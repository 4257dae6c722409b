#pragma once

#include "control.h"

namespace vx::ui {

// A line of text in its own font colour, drawn straight on the form's background. It widens to
// its text when the font the system substitutes runs wider than the one it was laid out with, so
// no character is cut off (seen under Wine, where WenQuanYi Micro Hei stands in for 宋体 and the
// wider "ROM" pushed the last character of lbl3 out); it never becomes narrower than described.
class Label : public Control {
 public:
  using Control::Control;
  HBRUSH HandleControlColor(HDC dc) override;

 protected:
  HWND CreateHandle(HWND parent, int id, DWORD baseStyle) override;
  void AfterCreate() override;
};

}  // namespace vx::ui
