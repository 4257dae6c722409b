#pragma once

#include <windows.h>
// The headers below build on windows.h.
#include <shlobj.h>

#include "win32/unique_resource.h"

namespace vx::ui {

// Item ID lists handed out by the shell are allocated with the COM task allocator.
struct PidlTraits {
  using Pointer = LPITEMIDLIST;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer pidl) noexcept { ::CoTaskMemFree(pidl); }
};

using UniquePidl = win32::UniqueResource<PidlTraits>;

}  // namespace vx::ui
