#include "shell_names.h"

#include <windows.h>
// The headers below build on windows.h.
#include <shellapi.h>
#include <shlobj.h>

namespace vx::gui_testing {

std::string MyComputerName() {
  LPITEMIDLIST pidl = nullptr;
  ::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidl);
  SHFILEINFOA info{};
  ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof(info),
                   SHGFI_PIDL | SHGFI_DISPLAYNAME);
  ::CoTaskMemFree(pidl);
  return info.szDisplayName;
}

std::string DriveName(const std::string& root) {
  SHFILEINFOA info{};
  ::SHGetFileInfoA(root.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME);
  return info.szDisplayName;
}

}  // namespace vx::gui_testing
