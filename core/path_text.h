#pragma once

#include <string>

#include "lead_bytes.h"

namespace vx {

// The extension of a name: from the last "." that follows the last "\" or ":" (dot included), or
// empty when there is none. "." and ".." both give ".".
std::string ExtractFileExt(const std::string& name, const LeadBytes& lead);

// The text up to and including the last "\" or ":", or empty when there is none.
std::string ExtractFilePath(const std::string& path, const LeadBytes& lead);

// The path without the "\" separators at its end (a trailing GBK trail byte 0x5C is kept).
std::string ExcludeTrailingSeparators(const std::string& path, const LeadBytes& lead);

// Replaces every non-overlapping occurrence of `from`, left to right, case-sensitive. A match
// never starts inside a double-byte character. An empty `from` leaves the text as it is.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to,
                       const LeadBytes& lead);

}  // namespace vx
