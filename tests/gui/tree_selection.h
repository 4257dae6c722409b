#pragma once

#include <windows.h>

#include <string>

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
  explicit TreeSelectionReader(HWND anyWindowOfTheProcess);
  ~TreeSelectionReader();
  TreeSelectionReader(const TreeSelectionReader&) = delete;
  TreeSelectionReader& operator=(const TreeSelectionReader&) = delete;

  TreeSelection Read(HWND tree);

 private:
  // The bytes of the ID list at `remoteList`, its terminating zero included; empty if unreadable.
  std::string ReadIdList(const char* remoteList);

  HANDLE process_ = nullptr;
  char* remote_ = nullptr;  // one page in the other process
};

}  // namespace vx::gui_testing
