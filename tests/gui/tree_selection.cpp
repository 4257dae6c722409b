#include "tree_selection.h"

// The headers below build on windows.h.
#include <commctrl.h>
#include <shlobj.h>

#include <stdexcept>

namespace vx::gui_testing {

namespace {
constexpr SIZE_T kRemoteSize = 4096;
constexpr SIZE_T kTextOffset = 512;
constexpr std::size_t kLongestIdList = 32768;
}  // namespace

TreeSelectionReader::TreeSelectionReader(HWND anyWindowOfTheProcess) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(anyWindowOfTheProcess, &processId);
  process_ =
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process_) throw std::runtime_error("cannot open the program's process");
  remote_ = static_cast<char*>(
      ::VirtualAllocEx(process_, nullptr, kRemoteSize, MEM_COMMIT, PAGE_READWRITE));
  if (!remote_) throw std::runtime_error("cannot allocate memory in the program's process");
}

TreeSelectionReader::~TreeSelectionReader() {
  ::VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
  ::CloseHandle(process_);
}

std::string TreeSelectionReader::ReadIdList(const char* remoteList) {
  std::size_t length = 0;
  for (;;) {
    USHORT size = 0;
    if (!::ReadProcessMemory(process_, remoteList + length, &size, sizeof(size), nullptr)) {
      return std::string();
    }
    if (size == 0) break;
    length += size;
    if (length > kLongestIdList) return std::string();
  }
  std::string bytes(length + sizeof(USHORT), '\0');
  if (!::ReadProcessMemory(process_, remoteList, bytes.data(), bytes.size(), nullptr)) {
    return std::string();
  }
  return bytes;
}

TreeSelection TreeSelectionReader::Read(HWND tree) {
  TreeSelection selection;
  auto item = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return selection;
  selection.selected = true;

  TVITEMA data{};
  data.mask = TVIF_TEXT | TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = remote_ + kTextOffset;
  data.cchTextMax = static_cast<int>(kRemoteSize - kTextOffset);
  ::WriteProcessMemory(process_, remote_, &data, sizeof(data), nullptr);
  if (!::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_))) {
    throw std::runtime_error("cannot read the selected tree item");
  }
  ::ReadProcessMemory(process_, remote_, &data, sizeof(data), nullptr);
  char text[kRemoteSize - kTextOffset] = "";
  ::ReadProcessMemory(process_, remote_ + kTextOffset, text, sizeof(text) - 1, nullptr);
  selection.text = text;

  const std::string idList = ReadIdList(reinterpret_cast<const char*>(data.lParam));
  if (idList.empty()) throw std::runtime_error("cannot read the selected item's ID list");
  char path[MAX_PATH] = "";
  if (::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(idList.data()), path)) {
    selection.path = path;
  }
  return selection;
}

}  // namespace vx::gui_testing
