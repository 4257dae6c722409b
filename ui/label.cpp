#include "label.h"

namespace vx::ui {

HWND Label::CreateHandle(HWND parent, int id, DWORD baseStyle) {
  return MakeWindow("STATIC", Caption().c_str(), baseStyle | SS_LEFT | SS_NOPREFIX, 0, parent, id);
}

HBRUSH Label::HandleControlColor(HDC dc) {
  ::SetTextColor(dc, FontSettings().color);
  ::SetBkMode(dc, TRANSPARENT);
  return ::GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace vx::ui
