#include "remote_controls.h"

#include <stdexcept>

namespace vx::gui_testing {

namespace {
constexpr SIZE_T kRemoteSize = 4096;
constexpr SIZE_T kTextOffset = 512;
}  // namespace

RemoteControls::RemoteControls(HWND anyWindowOfTheProcess) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(anyWindowOfTheProcess, &processId);
  process_.Reset(
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (!process_) throw std::runtime_error("cannot open the program's process");
  remote_ = static_cast<char*>(
      ::VirtualAllocEx(process_.Get(), nullptr, kRemoteSize, MEM_COMMIT, PAGE_READWRITE));
  if (!remote_) throw std::runtime_error("cannot allocate memory in the program's process");
}

RemoteControls::~RemoteControls() {
  ::VirtualFreeEx(process_.Get(), remote_, 0, MEM_RELEASE);
}

bool RemoteControls::ReadBytes(const void* remoteAddress, void* out, std::size_t size) {
  return ::ReadProcessMemory(process_.Get(), remoteAddress, out, size, nullptr) != 0;
}

bool RemoteControls::TreeItem(HWND tree, HTREEITEM item, TVITEMA& data, std::string& text) {
  data.mask |= TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = remote_ + kTextOffset;
  data.cchTextMax = static_cast<int>(kRemoteSize - kTextOffset);
  ::WriteProcessMemory(process_.Get(), remote_, &data, sizeof(data), nullptr);
  if (!::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_))) return false;
  ReadBytes(remote_, &data, sizeof(data));
  char buffer[kRemoteSize - kTextOffset] = "";
  ReadBytes(remote_ + kTextOffset, buffer, sizeof(buffer) - 1);
  text = buffer;
  return true;
}

std::string RemoteControls::TreeItemText(HWND tree, HTREEITEM item) {
  TVITEMA data{};
  std::string text;
  return TreeItem(tree, item, data, text) ? text : std::string();
}

bool RemoteControls::TreeItemRect(HWND tree, HTREEITEM item, RECT& rect) {
  // TVM_GETITEMRECT takes the item in the first bytes of the rectangle it fills.
  ::WriteProcessMemory(process_.Get(), remote_, &item, sizeof(item), nullptr);
  if (!::SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote_))) {
    return false;
  }
  ReadBytes(remote_, &rect, sizeof(rect));
  RECT client;
  ::GetClientRect(tree, &client);
  return rect.top >= 0 && rect.bottom <= client.bottom;
}

std::vector<HTREEITEM> RemoteControls::TreeChildren(HWND tree, HTREEITEM parent) {
  std::vector<HTREEITEM> children;
  auto child = reinterpret_cast<HTREEITEM>(
      ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
  while (child) {
    children.push_back(child);
    child = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
  }
  return children;
}

HTREEITEM RemoteControls::TreeRoot(HWND tree) {
  return reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

std::vector<std::string> RemoteControls::ListTexts(HWND list) {
  // Asked across processes with LB_GETTEXT in its ANSI form, Wine 8 hands back the item's UTF-16
  // text unconverted ("snap" arrives as "s"), so ask for the wide text and convert it here.
  std::vector<std::string> texts;
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t wide[1024] = L"";
    ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
    char text[2048] = "";
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
    texts.push_back(text);
  }
  return texts;
}

RECT RemoteControls::ListItemRect(HWND list, int index) {
  RECT rect{};
  ::SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

}  // namespace vx::gui_testing
