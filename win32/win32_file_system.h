#pragma once

#include "core/file_system.h"
#include "core/lead_bytes.h"

namespace vx::win32 {

// The engine's platform operations on the ANSI Win32 API.
class Win32FileSystem : public FileSystem {
 public:
  explicit Win32FileSystem(const LeadBytes& lead) : lead_(lead) {}

  std::unique_ptr<FolderListing> OpenListing(const std::string& folder) override;
  bool ForceDirectories(const std::string& folder) override;
  bool CopyFileFailIfExists(const std::string& source, const std::string& destination) override;
  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override;

 private:
  LeadBytes lead_;
};

}  // namespace vx::win32
