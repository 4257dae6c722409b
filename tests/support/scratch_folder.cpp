#include "scratch_folder.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "core/path_text.h"
#include "win32/system_lead_bytes.h"
#include "win32/unique_resource.h"

namespace vx::testing {

using win32::UniqueFileHandle;
using win32::UniqueFindHandle;

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  UniqueFindHandle find(::FindFirstFileA((path + "\\*").c_str(), &data));
  if (find) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL | (data.dwFileAttributes &
                                                                   FILE_ATTRIBUTE_DIRECTORY));
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        ::DeleteFileA(child.c_str());
      }
    } while (::FindNextFileA(find.Get(), &data));
  }
  find.Reset();
  ::RemoveDirectoryA(path.c_str());
}

void MakeFolder(const std::string& path) {
  const std::string parent = ExcludeTrailingSeparators(ExtractFilePath(path, win32::SystemLeadBytes()),
                                                       win32::SystemLeadBytes());
  if (parent.size() > 2 && ::GetFileAttributesA(parent.c_str()) == INVALID_FILE_ATTRIBUTES) {
    MakeFolder(parent);
  }
  ::CreateDirectoryA(path.c_str(), nullptr);
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    throw std::runtime_error("cannot make folder " + path);
  }
}

std::string FreshScratchFolder(const std::string& name) {
  const std::string path = "T:\\" + name;
  RemoveTree(path);
  MakeFolder(path);
  return path;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  const std::string parent = ExcludeTrailingSeparators(ExtractFilePath(path, win32::SystemLeadBytes()),
                                                       win32::SystemLeadBytes());
  if (::GetFileAttributesA(parent.c_str()) == INVALID_FILE_ATTRIBUTES) MakeFolder(parent);
  UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot create " + path);
  DWORD written = 0;
  if (!bytes.empty() && (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                      &written, nullptr) ||
                         written != bytes.size())) {
    throw std::runtime_error("cannot write " + path);
  }
}

std::string ReadFileBytes(const std::string& path) {
  UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
  if (!file) throw std::runtime_error("cannot open " + path);
  std::string bytes;
  std::vector<char> buffer(65536);
  DWORD got = 0;
  while (::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
         got > 0) {
    bytes.append(buffer.data(), got);
  }
  return bytes;
}

}  // namespace vx::testing
