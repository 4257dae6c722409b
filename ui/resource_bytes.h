#pragma once

#include <string>

namespace vx::ui {

// The bytes of an RCDATA resource of the executable. Raises std::runtime_error when it is missing.
std::string LoadResourceBytes(const std::string& resourceName);

}  // namespace vx::ui
