#pragma once

// Real folders for the random collections, built and pictured through the wide API with the
// "\\?\" prefix so that set-up and checks reach paths beyond the 260 characters the engine's ANSI
// calls stop at. Windows only.

#include <windows.h>

#include <string>

#include "plan_runner.h"
#include "win32/unique_resource.h"

namespace vx::testing {

inline std::wstring WideFromAnsi(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

inline std::string AnsiFromWide(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), size,
                        nullptr, nullptr);
  return ansi;
}

// `path` must already be in its final form (drive, single separators, nothing to drop).
inline std::wstring LongPath(const std::string& path) {
  return L"\\\\?\\" + WideFromAnsi(path);
}

// Deletes a folder and everything under it, whatever the attributes and the path length.
inline void RemoveTreeLong(const std::string& path) {
  WIN32_FIND_DATAW data;
  win32::UniqueFindHandle find(::FindFirstFileW((LongPath(path) + L"\\*").c_str(), &data));
  if (find) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::string child = path + "\\" + AnsiFromWide(name);
      ::SetFileAttributesW(LongPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTreeLong(child);
      } else {
        ::DeleteFileW(LongPath(child).c_str());
      }
    } while (::FindNextFileW(find.Get(), &data));
  }
  find.Reset();
  ::SetFileAttributesW(LongPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  ::RemoveDirectoryW(LongPath(path).c_str());
}

class DiskSink : public CollectionSink {
 public:
  void AddFolder(const std::string& path, std::uint32_t attributes) override {
    // A name that is there already keeps what it has, as in the in-memory model.
    if (!::CreateDirectoryW(LongPath(path).c_str(), nullptr)) return;
    if (attributes != FILE_ATTRIBUTE_DIRECTORY) {
      ::SetFileAttributesW(LongPath(path).c_str(), attributes);
    }
  }
  void AddFile(const std::string& path, const std::string& content,
               std::uint32_t attributes) override {
    win32::UniqueFileHandle file(::CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;  // a name that is there already, as the in-memory model ignores it too
    DWORD written = 0;
    ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    // Distinct, old last-write times, so that a copy that lost or renewed one shows.
    const std::uint64_t stamp = 0x01D0000000000000ull + (++files_) * 10000000ull;
    FILETIME time{static_cast<DWORD>(stamp), static_cast<DWORD>(stamp >> 32)};
    ::SetFileTime(file.Get(), nullptr, nullptr, &time);
    file.Reset();
    ::SetFileAttributesW(LongPath(path).c_str(), attributes);
  }
  void Remove(const std::string& path) override { RemoveTreeLong(path); }
  Tree Snapshot(const std::string& base) override {
    Tree tree;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExW(LongPath(base).c_str(), GetFileExInfoStandard, &data)) {
      tree[base] = TreeEntry{true, data.dwFileAttributes, "", 0};
      Walk(base, tree);
    }
    return tree;
  }

 private:
  static void Walk(const std::string& folder, Tree& tree) {
    WIN32_FIND_DATAW data;
    win32::UniqueFindHandle find(::FindFirstFileW((LongPath(folder) + L"\\*").c_str(), &data));
    if (!find) return;
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::string path = folder + "\\" + AnsiFromWide(name);
      TreeEntry entry;
      entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      entry.attributes = data.dwFileAttributes;
      if (!entry.isFolder) {
        entry.stamp = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
        entry.content = ReadAll(path);
      }
      tree[path] = entry;
      if (entry.isFolder) Walk(path, tree);
    } while (::FindNextFileW(find.Get(), &data));
  }
  static std::string ReadAll(const std::string& path) {
    win32::UniqueFileHandle file(::CreateFileW(LongPath(path).c_str(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    if (!file) return "<unreadable>";
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
      bytes.append(buffer, got);
    }
    return bytes;
  }

  int files_ = 0;
};

}  // namespace vx::testing
