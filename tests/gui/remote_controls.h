#pragma once

#include <windows.h>
// The headers below build on windows.h.
#include <commctrl.h>

#include <string>
#include <vector>

#include "win32/unique_resource.h"

namespace vx::gui_testing {

// Reads the items of controls that live in another process. Tree view messages carry pointers
// that the system does not copy between processes, so their structures are placed in the other
// process's memory; list box messages are copied by the system and need no such help.
class RemoteControls {
 public:
  explicit RemoteControls(HWND anyWindowOfTheProcess);
  ~RemoteControls();
  RemoteControls(const RemoteControls&) = delete;
  RemoteControls& operator=(const RemoteControls&) = delete;

  std::string TreeItemText(HWND tree, HTREEITEM item);
  // TVM_GETITEM for the fields named in data.mask (the text always): fills `data` and `text`.
  bool TreeItem(HWND tree, HTREEITEM item, TVITEMA& data, std::string& text);
  // Bytes at an address of the other process.
  bool ReadBytes(const void* remoteAddress, void* out, std::size_t size);
  // The item's text rectangle in the tree's client coordinates; false when it is scrolled away.
  bool TreeItemRect(HWND tree, HTREEITEM item, RECT& rect);
  std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent);
  HTREEITEM TreeRoot(HWND tree);

  static std::vector<std::string> ListTexts(HWND list);
  static RECT ListItemRect(HWND list, int index);

 private:
  win32::UniqueKernelHandle process_;
  char* remote_ = nullptr;  // one page in the other process, freed by the destructor
};

}  // namespace vx::gui_testing
