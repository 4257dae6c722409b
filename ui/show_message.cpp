#include "show_message.h"

#include <windows.h>

#include "application.h"

namespace vx::ui {

void ShowMessage(const std::string& text) {
  ::MessageBoxA(::GetActiveWindow(), text.c_str(), Application::Instance().Title().c_str(), MB_OK);
}

}  // namespace vx::ui
