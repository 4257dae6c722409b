#include "module_folder.h"

#include <windows.h>

#include <vector>

#include "core/path_text.h"

namespace vx::win32 {

std::string ExecutableFolder(const LeadBytes& lead) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return ExtractFilePath(std::string(buffer.data(), length), lead);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace vx::win32
