#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "remote_controls.h"

namespace vx::gui_testing {

// Waits up to `timeoutMs` for `condition` to hold, looking every 50 ms.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(50);
  }
}

struct MessageBoxSeen {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  bool hasIcon = false;
};

// The program started in its own process from a given copy of its executable, driven only
// through its window with real mouse and keyboard input.
class ProgramUnderTest {
 public:
  // Starts `exePath` with its own folder as the current folder and waits for its main window.
  explicit ProgramUnderTest(const std::string& exePath);
  ~ProgramUnderTest();  // ends the process if a test left it running
  ProgramUnderTest(const ProgramUnderTest&) = delete;
  ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

  HWND Form() const { return form_; }
  // The visible control at a point of the form's client area.
  HWND ControlAt(int x, int y) const;

  // Clicks down the folder tree along display names, starting below the root (the desktop):
  // each folder on the way is clicked and opened with the right arrow key, the last one clicked.
  void ClickFolder(HWND tree, const std::vector<std::string>& displayNames);
  void ClickButton(HWND button);
  // Clicks a point of the form's client area.
  void ClickForm(int x, int y);
  // Clicks the check box of list item `index`.
  void ClickCheckBox(HWND list, int index);

  // The message box the program shows, once it is up; `window` is null if none came.
  MessageBoxSeen WaitForMessageBox(DWORD timeoutMs = 15000) const;
  void Dismiss(const MessageBoxSeen& box);

  // Waits for the process to end; returns its exit code, or -1 if it is still running.
  long WaitForExit(DWORD timeoutMs = 15000);

 private:
  HTREEITEM FindChild(HWND tree, HTREEITEM parent, const std::string& text);
  void ClickTreeItem(HWND tree, HTREEITEM item);

  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr;
  RemoteControls* remote_ = nullptr;
};

}  // namespace vx::gui_testing
