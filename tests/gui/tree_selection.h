#pragma once

#include <windows.h>

#include <string>

#include "remote_controls.h"

namespace vx::gui_testing {

struct TreeSelection {
  bool selected = false;  // whether the tree has a selected item at all
  std::string text;       // the selected item's display name
  // The file-system path the shell gives for the selected item's ID list, empty when it gives
  // none: what the tree's Path reads for that selection.
  std::string path;
};

// Reads the selected item of a folder tree that lives in another process. Each item of the
// program's folder trees carries its absolute item ID list; the list's bytes are copied out of the
// other process and handed to the shell here, which runs on the same Wine prefix.
class TreeSelectionReader {
 public:
  explicit TreeSelectionReader(HWND anyWindowOfTheProcess) : remote_(anyWindowOfTheProcess) {}

  TreeSelection Read(HWND tree);

 private:
  // The bytes of the ID list at `remoteList`, its terminating zero included; empty if unreadable.
  std::string ReadIdList(const char* remoteList);

  RemoteControls remote_;
};

}  // namespace vx::gui_testing
