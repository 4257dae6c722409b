#pragma once

#include <string>

#include "core/lead_bytes.h"

namespace vx::win32 {

// The running executable's folder, ending in "\" (the run-time's ExtractFilePath of ExeName).
std::string ExecutableFolder(const LeadBytes& lead);

}  // namespace vx::win32
