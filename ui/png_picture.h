#pragma once

#include <windows.h>

#include <string>

#include "gdi_handles.h"

namespace vx::ui {

// A picture decoded for alpha-blended drawing: a top-down 32-bit DIB section whose colour channels
// are already multiplied by alpha, as AlphaBlend with AC_SRC_ALPHA expects.
struct PremultipliedPicture {
  UniqueBitmap bitmap;
  int width = 0;
  int height = 0;
};

// Decodes PNG bytes with the Windows Imaging Component. COM must be initialised on this thread.
// Raises std::runtime_error when the bytes cannot be decoded.
PremultipliedPicture DecodePng(const std::string& pngBytes);

}  // namespace vx::ui
