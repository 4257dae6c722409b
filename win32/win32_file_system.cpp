#include "win32_file_system.h"

#include <windows.h>

#include "core/in_out_error.h"
#include "core/path_text.h"
#include "unique_resource.h"

namespace vx::win32 {
namespace {

// Walks a folder with FindFirstFileA/FindNextFileA. The first entry is fetched when the listing is
// opened (so a folder that yields nothing never counts as opened) and handed out by the first
// Next().
class FindFileListing : public FolderListing {
 public:
  static std::unique_ptr<FindFileListing> Open(const std::string& pattern) {
    auto listing = std::unique_ptr<FindFileListing>(new FindFileListing);
    listing->handle_.Reset(::FindFirstFileA(pattern.c_str(), &listing->data_));
    if (!listing->handle_) return nullptr;
    listing->pending_ = true;
    return listing;
  }

  bool Next(DirEntry& entry) override {
    if (!pending_) {
      if (!handle_ || !::FindNextFileA(handle_.Get(), &data_)) {
        handle_.Reset();  // closed as soon as the walk is over
        return false;
      }
    }
    pending_ = false;
    entry.name = data_.cFileName;
    entry.attributes = data_.dwFileAttributes;
    return true;
  }

 private:
  FindFileListing() = default;

  UniqueFindHandle handle_;
  WIN32_FIND_DATAA data_{};
  bool pending_ = false;
};

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(UniqueFileHandle handle) : handle_(std::move(handle)) {}

  void Write(const char* bytes, std::size_t size) override {
    if (!handle_) throw InOutError(103);
    while (size > 0) {
      DWORD written = 0;
      if (!::WriteFile(handle_.Get(), bytes, static_cast<DWORD>(size), &written, nullptr)) {
        throw InOutError(static_cast<int>(::GetLastError()));
      }
      if (written == 0) throw InOutError(101);  // the run-time's "Disk full" for a short write
      bytes += written;
      size -= written;
    }
  }

  void Close() override {
    if (!handle_) throw InOutError(103);
    if (!::CloseHandle(handle_.Release())) throw InOutError(static_cast<int>(::GetLastError()));
  }

 private:
  UniqueFileHandle handle_;
};

bool IsExistingFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::unique_ptr<FolderListing> Win32FileSystem::OpenListing(const std::string& folder) {
  return FindFileListing::Open(folder + "\\*.*");
}

// "C:\", "C:" and "" stand for folders that always exist (a drive's top, the current folder);
// creation stops there. Doubled separators are kept as they are: CreateDirectoryA accepts them.
bool Win32FileSystem::ForceDirectories(const std::string& folder) {
  const std::string path = ExcludeTrailingSeparators(folder, lead_);
  if (path.size() < 3 || IsExistingFolder(path)) return true;
  const std::string parent = ExtractFilePath(path, lead_);
  if (!parent.empty() && parent != path && !ForceDirectories(parent)) return false;
  if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
  return ::GetLastError() == ERROR_ALREADY_EXISTS && IsExistingFolder(path);
}

bool Win32FileSystem::CopyFileFailIfExists(const std::string& source,
                                           const std::string& destination) {
  return ::CopyFileA(source.c_str(), destination.c_str(), TRUE) != 0;
}

std::unique_ptr<OutputFile> Win32FileSystem::CreateOutputFile(const std::string& path) {
  UniqueFileHandle handle(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) throw InOutError(static_cast<int>(::GetLastError()));
  return std::make_unique<Win32OutputFile>(std::move(handle));
}

}  // namespace vx::win32
