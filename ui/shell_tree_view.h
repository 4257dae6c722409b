#pragma once

#include <windows.h>
// The headers below build on windows.h.
#include <shlobj.h>

#include <optional>
#include <string>
#include <utility>

#include "control.h"

namespace vx::ui {

// What a folder tree item shows: the shell's display name and the small icons of the folder,
// closed and open, in the system image list.
struct ShellItemLook {
  std::string text;
  int icon = 0;
  int openIcon = 0;
};

// A tree of the shell namespace's folders, rooted at the desktop. Children are read when a folder
// is first expanded, folders only, in the shell's own order, with the system's icons and display
// names. Every item owns the absolute item ID list of its folder.
class ShellTreeView : public Control {
 public:
  using Control::Control;
  ~ShellTreeView() override;

  // The file-system path of the selected folder (a drive's top folder ends in "\"); empty when no
  // folder is selected, the selected item is no file-system folder, or the tree is going away.
  std::string Path() const;

  // OnClick: a mouse click in the tree; a folder clicked on is already selected when it runs.
  bool BindEvent(const std::string& eventName, EventHandler handler) override;
  LRESULT HandleNotify(NMHDR& header) override;

  int Indent() const { return indent_; }
  bool RightClickSelect() const { return rightClickSelect_; }

 protected:
  bool ApplyOwnProperty(const FormProperty& property) override;
  HWND CreateHandle(HWND parent, int id, DWORD baseStyle) override;
  void AfterCreate() override;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
  // Reads the sub-folders of `item` into the tree, unless they are there already.
  void FillChildren(HTREEITEM item);
  // The look of `relative`, a sub-folder of `folder` (whose file-system path is `folderPath`, or
  // empty when it has none).
  ShellItemLook ChildLook(IShellFolder& folder, const wchar_t* folderPath,
                          LPCITEMIDLIST absolutePidl, LPCITEMIDLIST relative, SFGAOF attributes);
  HTREEITEM InsertItem(HTREEITEM parent, LPITEMIDLIST absolutePidl, const ShellItemLook& look,
                       bool hasChildren);
  // Selects the item under the mouse position of the message being handled, if there is one.
  void SelectItemUnderMouse();
  LPITEMIDLIST ItemPidl(HTREEITEM item) const;

  int indent_ = 19;
  bool rightClickSelect_ = false;
  bool destroying_ = false;
  EventHandler onClick_;
  // The icons of a plain file-system folder (one without a desktop.ini), as the shell gave them
  // for the first such folder: the same for every plain folder, and costly to ask for each.
  std::optional<std::pair<int, int>> plainFolderIcons_;
};

}  // namespace vx::ui
