#include "label.h"

namespace vx::ui {

HWND Label::CreateHandle(HWND parent, int id, DWORD baseStyle) {
  return MakeWindow("STATIC", Caption().c_str(), baseStyle | SS_LEFT | SS_NOPREFIX, 0, parent, id);
}

void Label::AfterCreate() {
  HDC dc = ::GetDC(Handle());
  HGDIOBJ oldFont = ::SelectObject(dc, Font());
  SIZE extent{};
  ::GetTextExtentPoint32A(dc, Caption().c_str(), static_cast<int>(Caption().size()), &extent);
  ::SelectObject(dc, oldFont);
  ::ReleaseDC(Handle(), dc);
  const RECT bounds = Bounds();
  if (extent.cx > bounds.right - bounds.left) Resize(extent.cx, bounds.bottom - bounds.top);
}

HBRUSH Label::HandleControlColor(HDC dc) {
  ::SetTextColor(dc, FontSettings().color);
  ::SetBkMode(dc, TRANSPARENT);
  return ::GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace vx::ui
