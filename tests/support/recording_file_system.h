#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/file_system.h"

namespace vx::testing {

// Passes every call on to another file system and keeps what the engine asked for and what it
// got, so a run on the real file system can be checked as closely as one on the in-memory model.
// The hooks run just before the call is passed on; tests use them to change the file system in
// the middle of a run (a folder removed, a destination that appears).
class RecordingFileSystem : public FileSystem {
 public:
  struct Copy {
    std::string source;
    std::string destination;
    bool succeeded;
  };

  explicit RecordingFileSystem(FileSystem& inner) : inner_(inner) {}

  std::function<void(const std::string& folder)> beforeListing;
  std::function<void(const std::string& source, const std::string& destination)> beforeCopy;

  const std::vector<Copy>& Copies() const { return copies_; }
  const std::vector<std::string>& Listings() const { return listings_; }
  const std::vector<std::string>& ForcedFolders() const { return forced_; }

  std::unique_ptr<FolderListing> OpenListing(const std::string& folder) override {
    if (beforeListing) beforeListing(folder);
    listings_.push_back(folder);
    return inner_.OpenListing(folder);
  }
  bool ForceDirectories(const std::string& folder) override {
    forced_.push_back(folder);
    return inner_.ForceDirectories(folder);
  }
  bool CopyFileFailIfExists(const std::string& source, const std::string& destination) override {
    if (beforeCopy) beforeCopy(source, destination);
    const bool succeeded = inner_.CopyFileFailIfExists(source, destination);
    copies_.push_back(Copy{source, destination, succeeded});
    return succeeded;
  }
  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override {
    return inner_.CreateOutputFile(path);
  }

 private:
  FileSystem& inner_;
  std::vector<Copy> copies_;
  std::vector<std::string> listings_;
  std::vector<std::string> forced_;
};

}  // namespace vx::testing
