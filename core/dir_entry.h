#pragma once

#include <cstdint>
#include <string>

namespace vx {

// Win32 file attribute bits as the folder listing reports them.
enum : std::uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrVolume = 0x08,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
};

// One result of listing a folder: the bare name and the full attribute word.
struct DirEntry {
  std::string name;
  std::uint32_t attributes = 0;
};

// "." and ".." are listed like any other entry; callers that walk a folder skip them by name.
inline bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

// A folder counts as a plain folder only when the directory bit is the one and only bit set.
// Folders that carry any further bit (hidden, read-only, system, ...) are not plain.
inline bool IsPlainFolder(const DirEntry& entry) {
  return !IsDotEntry(entry.name) && entry.attributes == kAttrDirectory;
}

}  // namespace vx
