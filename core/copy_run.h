#pragma once

#include <functional>
#include <string>
#include <vector>

#include "file_system.h"
#include "lead_bytes.h"

namespace vx {

// The folder paths one copy run reads, as the window's folder trees give them (possibly empty, a
// drive's top folder ending in "\").
struct CopyRunFolders {
  std::string companionRoot;
  std::string romFolder;
  std::string outputFolder;
  std::string exeFolder;  // where logo.txt goes; ends in "\"
};

struct CopyRunOptions {
  std::size_t logBlockSize = 64 * 1024;
};

inline constexpr char kOutputRootName[] = "QUELBRINOUTPUT";

// One whole copy run: for every selected type folder and every ROM in the ROM folder, copies the
// ROM's companion file into <output>\QUELBRINOUTPUT\<type>\ without ever overwriting, logging each
// failed copy. `showCompletion` is called once every type is done and before the log is closed.
// A failure on the log raises InOutError and abandons the run there; copies made so far stay.
void RunCopy(FileSystem& fileSystem, const LeadBytes& lead,
             const std::vector<std::string>& selectedTypes, const CopyRunFolders& folders,
             const std::function<void()>& showCompletion, const CopyRunOptions& options = {});

}  // namespace vx
