#include "tree_selection.h"

// The headers below build on windows.h.
#include <commctrl.h>
#include <shlobj.h>

#include <stdexcept>

namespace vx::gui_testing {

namespace {
constexpr std::size_t kLongestIdList = 32768;
}  // namespace

std::string TreeSelectionReader::ReadIdList(const char* remoteList) {
  std::size_t length = 0;
  for (;;) {
    USHORT size = 0;
    if (!remote_.ReadBytes(remoteList + length, &size, sizeof(size))) {
      return std::string();
    }
    if (size == 0) break;
    length += size;
    if (length > kLongestIdList) return std::string();
  }
  std::string bytes(length + sizeof(USHORT), '\0');
  if (!remote_.ReadBytes(remoteList, bytes.data(), bytes.size())) {
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
  data.mask = TVIF_PARAM;
  if (!remote_.TreeItem(tree, item, data, selection.text)) {
    throw std::runtime_error("cannot read the selected tree item");
  }

  const std::string idList = ReadIdList(reinterpret_cast<const char*>(data.lParam));
  if (idList.empty()) throw std::runtime_error("cannot read the selected item's ID list");
  char path[MAX_PATH] = "";
  if (::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(idList.data()), path)) {
    selection.path = path;
  }
  return selection;
}

}  // namespace vx::gui_testing
