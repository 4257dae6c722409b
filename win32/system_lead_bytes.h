#pragma once

#include "core/lead_bytes.h"

namespace vx::win32 {

// The lead bytes of the system's ANSI code page, as IsDBCSLeadByte reports them.
LeadBytes SystemLeadBytes();

}  // namespace vx::win32
