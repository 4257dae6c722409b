#pragma once

#include <windows.h>

#include "win32/unique_resource.h"

namespace vx::ui {

// GDI objects made by this program (fonts, brushes, bitmaps) are released with DeleteObject.
template <typename Handle>
struct GdiObjectTraits {
  using Pointer = Handle;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer handle) noexcept { ::DeleteObject(handle); }
};

struct IconTraits {
  using Pointer = HICON;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer icon) noexcept { ::DestroyIcon(icon); }
};

using UniqueFont = win32::UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBrush = win32::UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = win32::UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueIcon = win32::UniqueResource<IconTraits>;

}  // namespace vx::ui
