#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "file_system.h"

namespace vx {

// The run log "logo.txt": per type a header, one line per failed copy and the two counts. Lines are
// collected in a fixed-size block and written out only when the block is full and at Close(), so
// the file is complete on disk once Close() has returned. Every failure raises InOutError.
class RunLog {
 public:
  static constexpr const char* kFileName = "logo.txt";
  static constexpr std::size_t kDefaultBlockSize = 64 * 1024;

  // Creates or truncates the log. `exeFolder` is the executable's folder as the run-time gives
  // it, ending in "\"; the name is joined with one more "\", which the file system accepts.
  RunLog(FileSystem& fileSystem, const std::string& exeFolder,
         std::size_t blockSize = kDefaultBlockSize);
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  static std::string PathFor(const std::string& exeFolder) { return exeFolder + "\\" + kFileName; }

  void WriteTypeHeader(int typeNumber, const std::string& typeFolder);
  void WriteFailure(const std::string& source);
  void WriteTypeSummary(std::int32_t successes, std::int32_t failures);
  void Close();

 private:
  void WriteLine(const std::string& line);
  void Append(const char* bytes, std::size_t size);
  void Flush();

  std::unique_ptr<OutputFile> file_;
  std::string block_;
  std::size_t blockSize_;
};

}  // namespace vx
