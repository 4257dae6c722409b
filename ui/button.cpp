#include "button.h"

namespace vx::ui {

HWND Button::CreateHandle(HWND parent, int id, DWORD baseStyle) {
  return MakeWindow("BUTTON", Caption().c_str(), baseStyle | BS_PUSHBUTTON, 0, parent, id);
}

bool Button::BindEvent(const std::string& eventName, EventHandler handler) {
  if (eventName != "OnClick") return false;
  onClick_ = std::move(handler);
  return true;
}

void Button::HandleCommand(WORD code) {
  if (code == BN_CLICKED) RaiseEvent(onClick_);
}

}  // namespace vx::ui
