#include "image.h"

#include "resource_bytes.h"

namespace vx::ui {

namespace {

constexpr char kWindowClass[] = "VxImage";

void RegisterWindowClass() {
  static const bool registered = [] {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &::DefWindowProcA;  // replaced per window once it exists
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = kWindowClass;
    return ::RegisterClassExA(&windowClass) != 0;
  }();
  (void)registered;
}

}  // namespace

bool Image::ApplyOwnProperty(const FormProperty& property) {
  if (property.name != "Picture") return false;
  if (property.value.kind != FormValue::Kind::kText) {
    throw FormDescriptionError(property.line, "Picture needs a resource name");
  }
  pictureResource_ = property.value.text;
  return true;
}

HWND Image::CreateHandle(HWND parent, int id, DWORD baseStyle) {
  if (!pictureResource_.empty()) picture_ = DecodePng(LoadResourceBytes(pictureResource_));
  RegisterWindowClass();
  HWND window = MakeWindow(kWindowClass, "", baseStyle, 0, parent, id);
  if (window) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Image::WindowProc));
  }
  return window;
}

LRESULT CALLBACK Image::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* self = reinterpret_cast<const Image*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      if (self) self->Paint(dc);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // decoration only: clicks belong to the form
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

void Image::Paint(HDC dc) const {
  RECT client;
  ::GetClientRect(Handle(), &client);
  // Blend into an off-screen copy of the background so the banner never flickers.
  HDC memory = ::CreateCompatibleDC(dc);
  UniqueBitmap canvas(::CreateCompatibleBitmap(dc, client.right, client.bottom));
  HGDIOBJ oldCanvas = ::SelectObject(memory, canvas.Get());
  ::FillRect(memory, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  if (picture_.bitmap) {
    HDC source = ::CreateCompatibleDC(dc);
    HGDIOBJ oldSource = ::SelectObject(source, picture_.bitmap.Get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(memory, 0, 0, picture_.width, picture_.height, source, 0, 0, picture_.width,
                 picture_.height, blend);
    ::SelectObject(source, oldSource);
    ::DeleteDC(source);
  }
  ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, oldCanvas);
  ::DeleteDC(memory);
}

}  // namespace vx::ui
