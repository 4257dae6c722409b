#pragma once

#include <windows.h>

namespace vx::gui_testing {

// Input as a user gives it, through the system's input queue: the program sees ordinary mouse
// and keyboard messages and cannot tell them from a person's.
void ClickAt(POINT screenPoint);
void PressKey(WORD virtualKey);
// Presses `virtualKey` while holding Alt (Alt+F4 closes the active window).
void PressAltKey(WORD virtualKey);
// The centre of a rectangle given in the client coordinates of `window`, on the screen.
POINT ScreenCentre(HWND window, const RECT& clientRect);

}  // namespace vx::gui_testing
