#pragma once

#include <windows.h>

namespace vx::ui {

// Stops a window from repainting while many items are put into it, and lets it repaint once at
// the end of the scope, also when the filling is left by an exception.
class RedrawSuspension {
 public:
  explicit RedrawSuspension(HWND window) : window_(window) {
    ::SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawSuspension() {
    ::SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(window_, nullptr, TRUE);
  }
  RedrawSuspension(const RedrawSuspension&) = delete;
  RedrawSuspension& operator=(const RedrawSuspension&) = delete;

 private:
  HWND window_;
};

}  // namespace vx::ui
