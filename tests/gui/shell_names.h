#pragma once

#include <string>

namespace vx::gui_testing {

// Display names the shell gives to My Computer and to a drive, as the folder trees show them.
std::string MyComputerName();
std::string DriveName(const std::string& root);  // "T:\"

}  // namespace vx::gui_testing
