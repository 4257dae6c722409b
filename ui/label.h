#pragma once

#include "control.h"

namespace vx::ui {

// A line of text in its own font colour, drawn straight on the form's background.
class Label : public Control {
 public:
  using Control::Control;
  HBRUSH HandleControlColor(HDC dc) override;

 protected:
  HWND CreateHandle(HWND parent, int id, DWORD baseStyle) override;
};

}  // namespace vx::ui
