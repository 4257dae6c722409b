#include "real_input.h"

namespace vx::gui_testing {

void ClickAt(POINT screenPoint) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screenPoint.x * 65535LL + width / 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((screenPoint.y * 65535LL + height / 2) / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
  }
  inputs[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
  inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  ::SendInput(1, &inputs[0], sizeof(INPUT));
  ::Sleep(60);
  ::SendInput(2, &inputs[1], sizeof(INPUT));
  // Keep the next click from pairing with this one into a double click.
  ::Sleep(::GetDoubleClickTime() + 50);
}

void PressKey(WORD virtualKey) {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
  ::Sleep(100);
}

void PressAltKey(WORD virtualKey) {
  INPUT inputs[4]{};
  const WORD keys[4] = {VK_MENU, virtualKey, virtualKey, VK_MENU};
  for (int i = 0; i < 4; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = keys[i];
    inputs[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  ::SendInput(4, inputs, sizeof(INPUT));
  ::Sleep(100);
}

POINT ScreenCentre(HWND window, const RECT& clientRect) {
  POINT point{(clientRect.left + clientRect.right) / 2, (clientRect.top + clientRect.bottom) / 2};
  ::ClientToScreen(window, &point);
  return point;
}

}  // namespace vx::gui_testing
