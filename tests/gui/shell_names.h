#pragma once

#include <string>
#include <utility>

namespace vx::gui_testing {

// Display names the shell gives to My Computer and to a drive, as the folder trees show them.
std::string MyComputerName();
std::string DriveName(const std::string& root);  // "T:\"
// The small icons the shell gives to the folder at `path`, closed and open, in the system image
// list.
std::pair<int, int> ShellIcons(const std::string& path);

}  // namespace vx::gui_testing
