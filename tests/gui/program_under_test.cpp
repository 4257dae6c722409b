#include "program_under_test.h"

#include <shellapi.h>
#include <shlobj.h>

#include <stdexcept>

#include "real_input.h"

namespace vx::gui_testing {

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  char className[64] = "";
  ::GetClassNameA(window, className, sizeof(className));
  if (processId == search->processId && ::IsWindowVisible(window) &&
      std::string(className) == search->className) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindProcessWindow(DWORD processId, const char* className) {
  WindowSearch search{processId, className, nullptr};
  ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowText(HWND window) {
  char text[1024] = "";
  ::SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

struct BoxContents {
  std::string text;
  bool hasIcon = false;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM parameter) {
  auto* contents = reinterpret_cast<BoxContents*>(parameter);
  char className[32] = "";
  ::GetClassNameA(child, className, sizeof(className));
  if (std::string(className) != "Static" || !::IsWindowVisible(child)) return TRUE;
  if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    // Wine keeps the icon control of a box without icon visible, only empty.
    if (::SendMessageA(child, STM_GETICON, 0, 0) != 0) contents->hasIcon = true;
  } else {
    const std::string text = WindowText(child);
    if (!text.empty()) contents->text = text;
  }
  return TRUE;
}

void ScrollWheelDown(HWND window) {
  RECT client;
  ::GetClientRect(window, &client);
  POINT centre = ScreenCentre(window, client);
  ::SetCursorPos(centre.x, centre.y);
  INPUT wheel{};
  wheel.type = INPUT_MOUSE;
  wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
  wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
  ::SendInput(1, &wheel, sizeof(INPUT));
  ::Sleep(150);
}

}  // namespace

ProgramUnderTest::ProgramUnderTest(const std::string& exePath) {
  const std::string folder = exePath.substr(0, exePath.find_last_of('\\'));
  std::string commandLine = "\"" + exePath + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  if (!::CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process_)) {
    throw std::runtime_error("cannot start " + exePath);
  }
  ::WaitForInputIdle(process_.hProcess, 20000);
  WaitFor([&] { return (form_ = FindProcessWindow(process_.dwProcessId, "TForm1")) != nullptr; },
          30000);
  if (!form_) throw std::runtime_error("the program's window did not appear");
  remote_ = new RemoteControls(form_);
}

ProgramUnderTest::~ProgramUnderTest() {
  delete remote_;
  if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.hProcess, 99);
    ::WaitForSingleObject(process_.hProcess, 5000);
  }
  ::CloseHandle(process_.hThread);
  ::CloseHandle(process_.hProcess);
}

HWND ProgramUnderTest::ControlAt(int x, int y) const {
  return ::ChildWindowFromPointEx(form_, POINT{x, y}, CWP_SKIPINVISIBLE);
}

HTREEITEM ProgramUnderTest::FindChild(HWND tree, HTREEITEM parent, const std::string& text) {
  HTREEITEM found = nullptr;
  WaitFor(
      [&] {
        for (HTREEITEM child : remote_->TreeChildren(tree, parent)) {
          if (remote_->TreeItemText(tree, child) == text) {
            found = child;
            return true;
          }
        }
        return false;
      },
      15000);
  if (!found) throw std::runtime_error("no folder \"" + text + "\" in the tree");
  return found;
}

void ProgramUnderTest::ClickTreeItem(HWND tree, HTREEITEM item) {
  RECT rect{};
  for (int scrolls = 0; !remote_->TreeItemRect(tree, item, rect); ++scrolls) {
    if (scrolls == 30) throw std::runtime_error("tree item cannot be scrolled into view");
    ScrollWheelDown(tree);
  }
  ClickAt(ScreenCentre(tree, rect));
}

void ProgramUnderTest::ClickFolder(HWND tree, const std::vector<std::string>& displayNames) {
  HTREEITEM item = remote_->TreeRoot(tree);
  for (std::size_t i = 0; i < displayNames.size(); ++i) {
    item = FindChild(tree, item, displayNames[i]);
    ClickTreeItem(tree, item);
    if (i + 1 < displayNames.size()) PressKey(VK_RIGHT);
  }
}

void ProgramUnderTest::ClickButton(HWND button) {
  RECT client;
  ::GetClientRect(button, &client);
  ClickAt(ScreenCentre(button, client));
}

void ProgramUnderTest::ClickForm(int x, int y) {
  POINT point{x, y};
  ::ClientToScreen(form_, &point);
  ClickAt(point);
}

void ProgramUnderTest::ClickCheckBox(HWND list, int index) {
  const RECT item = RemoteControls::ListItemRect(list, index);
  POINT box{item.left + 8, (item.top + item.bottom) / 2};
  ::ClientToScreen(list, &box);
  ClickAt(box);
}

MessageBoxSeen ProgramUnderTest::WaitForMessageBox(DWORD timeoutMs) const {
  MessageBoxSeen box;
  WaitFor(
      [&] { return (box.window = FindProcessWindow(process_.dwProcessId, "#32770")) != nullptr; },
      timeoutMs);
  if (!box.window) return box;
  ::Sleep(300);  // let it finish laying out its texts
  box.caption = WindowText(box.window);
  BoxContents contents;
  ::EnumChildWindows(box.window, &ReadBoxChild, reinterpret_cast<LPARAM>(&contents));
  box.text = contents.text;
  box.hasIcon = contents.hasIcon;
  return box;
}

void ProgramUnderTest::Dismiss(const MessageBoxSeen& box) {
  HWND ok = ::GetDlgItem(box.window, IDOK);
  if (!ok) throw std::runtime_error("the message box has no OK button");
  ClickButton(ok);
  WaitFor([&] { return !::IsWindow(box.window); }, 10000);
}

long ProgramUnderTest::WaitForExit(DWORD timeoutMs) {
  if (::WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  ::GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<long>(code);
}

}  // namespace vx::gui_testing
