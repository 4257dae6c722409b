#pragma once

#include <string>

namespace vx::ui {

// A modal message box with one OK button and the application's title; returns once the user has
// dismissed it. `text` is in the ANSI code page.
void ShowMessage(const std::string& text);

}  // namespace vx::ui
