#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/lead_bytes.h"

namespace vx::testing {

// An in-memory model of the Win32 file system the engine runs on, faithful where the engine's
// results depend on it:
//  - drives "C:".."Z:"; a path without a drive means the current drive, "\\" at the very start is a
//    network path and fails;
//  - separators may be doubled; "." and ".." components are resolved; trailing dots and spaces of
//    a component are dropped; names compare without regard to ASCII letter case;
//  - a drive's top folder lists no "." and "..", every other folder lists them first;
//  - the listing order is the order of creation;
//  - a copy keeps the source's attributes and last-write stamp.
// Every operation is recorded, and any of them can be made to fail through `fault`.
class MemoryFileSystem : public FileSystem {
 public:
  enum class Operation { kOpenListing, kListingNext, kForceDirectories, kCopy, kCreateOutput,
                         kWriteOutput, kCloseOutput };

  struct Call {
    Operation operation;
    std::string path;
    std::string path2;
    bool succeeded;
  };

  struct FileInfo {
    std::string path;  // as created, with the drive and single separators
    bool isFolder;
    std::uint32_t attributes;
    std::string content;
    std::uint64_t stamp;
  };

  explicit MemoryFileSystem(LeadBytes lead = LeadBytes::Gbk());
  ~MemoryFileSystem() override;

  // Returns true to make the call fail. `index` counts calls of that operation from 0.
  std::function<bool(Operation operation, const std::string& path, int index)> fault;
  // Error code a failing output operation reports.
  int outputErrorCode = 5;

  // Set-up. Missing folders above are made as plain folders.
  void AddFolder(const std::string& path, std::uint32_t attributes = kAttrDirectory);
  void AddFile(const std::string& path, const std::string& content,
               std::uint32_t attributes = kAttrArchive);
  bool Remove(const std::string& path);
  void SetCurrentDrive(char drive) { currentDrive_ = drive; }

  bool Exists(const std::string& path) const;
  bool IsFolder(const std::string& path) const;
  std::string Content(const std::string& path) const;
  // Every file and folder, depth first in listing order.
  std::vector<FileInfo> Snapshot() const;

  const std::vector<Call>& Calls() const { return calls_; }
  std::vector<Call> CallsOf(Operation operation) const;
  int OpenListings() const { return openListings_; }
  int OpenOutputs() const { return openOutputs_; }

  // FileSystem
  std::unique_ptr<FolderListing> OpenListing(const std::string& folder) override;
  bool ForceDirectories(const std::string& folder) override;
  bool CopyFileFailIfExists(const std::string& source, const std::string& destination) override;
  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override;

 private:
  struct Node;
  class Listing;
  class Output;
  struct Resolved;

  bool Faulted(Operation operation, const std::string& path);
  void Record(Operation operation, const std::string& path, const std::string& path2, bool ok);
  bool Resolve(const std::string& path, Resolved& resolved) const;
  Node* Find(const std::string& path) const;
  Node* MakeFolders(const std::string& path, std::uint32_t attributes, bool& ok);

  LeadBytes lead_;
  char currentDrive_ = 'C';
  std::map<char, std::unique_ptr<Node>> drives_;
  std::vector<Call> calls_;
  std::map<Operation, int> callCounts_;
  int openListings_ = 0;
  int openOutputs_ = 0;
  std::uint64_t clock_ = 1000;
};

const char* OperationName(MemoryFileSystem::Operation operation);

}  // namespace vx::testing
