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

std::pair<int, int> ShellIcons(const std::string& path) {
  LPITEMIDLIST pidl = ::ILCreateFromPathA(path.c_str());
  if (!pidl) return {-1, -1};
  SHFILEINFOA closed{};
  ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &closed, sizeof(closed),
                   SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  SHFILEINFOA open{};
  ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &open, sizeof(open),
                   SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
  ::CoTaskMemFree(pidl);
  return {closed.iIcon, open.iIcon};
}

}  // namespace vx::gui_testing
