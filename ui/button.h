#pragma once

#include "control.h"

namespace vx::ui {

// A push button that raises OnClick when pressed.
class Button : public Control {
 public:
  using Control::Control;
  bool BindEvent(const std::string& eventName, EventHandler handler) override;
  void HandleCommand(WORD code) override;

 protected:
  HWND CreateHandle(HWND parent, int id, DWORD baseStyle) override;

 private:
  EventHandler onClick_;
};

}  // namespace vx::ui
