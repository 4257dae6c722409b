#pragma once

#include <windows.h>
// The headers below build on windows.h.
#include <commctrl.h>

#include <string>
#include <vector>

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
  // The item's text rectangle in the tree's client coordinates; false when it is scrolled away.
  bool TreeItemRect(HWND tree, HTREEITEM item, RECT& rect);
  std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent);
  HTREEITEM TreeRoot(HWND tree);

  static std::vector<std::string> ListTexts(HWND list);
  static RECT ListItemRect(HWND list, int index);

 private:
  HANDLE process_ = nullptr;
  char* remote_ = nullptr;  // one page in the other process
};

}  // namespace vx::gui_testing
