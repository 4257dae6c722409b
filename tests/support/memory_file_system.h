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

// Where the model follows one platform or another.
struct FileSystemBehaviour {
  // Wine 8 lists "." and ".." first, then the names sorted without regard to letter case by
  // their UTF-16 text (upper-cased, so "_" comes after the letters; GBK names sort by their
  // Unicode code, not their GBK bytes). Off: the order of creation.
  bool sortedListings = false;
  // ANSI calls fail with ERROR_FILENAME_EXCED_RANGE beyond this many characters (0: no limit).
  std::size_t maxPath = 260;
  // Windows limits CopyFileA's destination like every other ANSI path; Wine 8 converts the
  // destination without a limit, so a copy into an existing folder succeeds beyond 260 there.
  bool limitCopyDestination = true;
  // Windows refuses ":" inside a name (it would name a stream); Wine 8 makes a folder or file
  // called "o:ut", and even "T:" under another folder.
  bool colonInNames = false;
};

// An in-memory model of the Win32 file system the engine runs on, faithful where the engine's
// results depend on it:
//  - drives "C:".."Z:"; a path without a drive means the current drive, "\\" at the very start is a
//    network path and fails;
//  - separators may be doubled; "." and ".." components are resolved; the last component loses all
//    its trailing dots and spaces, a component followed by a separator loses one trailing dot (as
//    measured under Wine 8: "a..\b", "a \b" and "a. \b" do not reach folder "a");
//  - names compare without regard to ASCII letter case; the bytes of a double-byte character are
//    never folded, nor taken for "\" or "|";
//  - a path of more than `maxPath` characters (a double-byte character counts once) fails as the
//    ANSI calls fail: listing (folder + "\*.*"), folder creation, copy source, output file;
//  - a drive's top folder lists no "." and "..", every other folder lists them first;
//  - the listing order is the order of creation, or Wine's order (see Behaviour);
//  - a copy keeps the source's attributes and last-write stamp.
// Every operation is recorded, and any of them can be made to fail through `fault`.
class MemoryFileSystem : public FileSystem {
 public:
  enum class Operation {
    kOpenListing,
    kListingNext,
    kForceDirectories,
    kCopy,
    kCreateOutput,
    kWriteOutput,
    kCloseOutput
  };

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

  using Behaviour = FileSystemBehaviour;
  // What the Windows-side tests measure under Wine 8 with code page 936.
  static Behaviour WineBehaviour() { return Behaviour{true, 260, false, true}; }

  explicit MemoryFileSystem(LeadBytes lead = LeadBytes::Gbk())
      : MemoryFileSystem(lead, Behaviour()) {}
  MemoryFileSystem(LeadBytes lead, Behaviour behaviour);
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
  // How many calls of an operation were made so far (the `index` the next one gets in `fault`).
  int CallCount(Operation operation) const {
    auto found = callCounts_.find(operation);
    return found == callCounts_.end() ? 0 : found->second;
  }
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
  std::size_t Characters(const std::string& path) const;
  bool TooLong(const std::string& path) const;
  std::string FoldCase(const std::string& name) const;
  Node* Child(const Node& folder, const std::string& name) const;
  Node* Find(const std::string& path) const;
  Node* Walk(const Resolved& resolved, std::size_t count) const;
  bool ForceLevels(const std::string& folder);
  bool IsExistingFolder(const std::string& path) const;
  bool CreateOneFolder(const std::string& path);
  Node* MakeFolders(const std::string& path, std::uint32_t attributes, bool& ok);

  LeadBytes lead_;
  Behaviour behaviour_;
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
