#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "dir_entry.h"

namespace vx {

// An open folder listing. Next() yields the first entry on its first call, then the rest in the
// file system's own order, and returns false once they are exhausted. Destruction closes it.
class FolderListing {
 public:
  virtual ~FolderListing() = default;
  virtual bool Next(DirEntry& entry) = 0;
};

// A text file opened for writing. Write() and Close() raise InOutError on failure; destroying an
// unclosed file releases it silently.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual void Write(const char* bytes, std::size_t size) = 0;
  virtual void Close() = 0;
};

// The platform operations the engine is built on. All paths are ANSI code page bytes with "\" as
// separator, passed through exactly as formed: no normalisation happens on this side.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Lists folder + "\*.*" with nothing excluded. Returns null when no first entry could be found
  // (the folder is missing, unreadable, or the path is invalid).
  virtual std::unique_ptr<FolderListing> OpenListing(const std::string& folder) = 0;

  // Creates the folder and every missing folder above it. An existing folder is success.
  virtual bool ForceDirectories(const std::string& folder) = 0;

  // Copies one file, failing (and leaving the destination untouched) when it already exists.
  virtual bool CopyFileFailIfExists(const std::string& source, const std::string& destination) = 0;

  // Creates or truncates a text file. Raises InOutError on failure.
  virtual std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) = 0;
};

}  // namespace vx
