#include "application.h"

#include <windows.h>
// The headers below build on windows.h.
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

namespace vx::ui {

namespace {

std::string ExecutableTitle() {
  char path[MAX_PATH] = "";
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, length);
  // Walk character by character: a GBK trail byte may have the value of "\".
  std::size_t nameStart = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (::IsDBCSLeadByte(static_cast<BYTE>(name[i])) && i + 1 < name.size()) {
      ++i;
    } else if (name[i] == '\\' || name[i] == ':') {
      nameStart = i + 1;
    }
  }
  name = name.substr(nameStart);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

}  // namespace

Application& Application::Instance() {
  static Application application;
  return application;
}

Application::~Application() {
  forms_.clear();
  if (comInitialised_) ::OleUninitialize();
}

void Application::Initialize() {
  title_ = ExecutableTitle();
  // The shell's folder objects are apartment-threaded COM objects.
  comInitialised_ = SUCCEEDED(::OleInitialize(nullptr));
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
}

int Application::Run() {
  if (!mainForm_) return 0;
  mainForm_->Show();
  MSG message;
  for (;;) {
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    // Tab, shift+tab and arrow keys move between the main form's controls as in a dialog.
    HWND main = mainForm_->Handle();
    if (main && ::IsDialogMessageA(main, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

void Application::ShowException(const std::string& message) const {
  ::MessageBoxA(::GetActiveWindow(), message.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace vx::ui
