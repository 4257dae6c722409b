#include "run_log.h"

#include "gbk_texts.h"

namespace vx {
namespace {
constexpr char kLineEnd[] = "\r\n";
const std::string kSeparator(91, '-');
}  // namespace

RunLog::RunLog(FileSystem& fileSystem, const std::string& exeFolder, std::size_t blockSize)
    : file_(fileSystem.CreateOutputFile(PathFor(exeFolder))), blockSize_(blockSize ? blockSize : 1) {
  block_.reserve(blockSize_);
}

void RunLog::WriteTypeHeader(int typeNumber, const std::string& typeFolder) {
  WriteLine(gbk::kTypeHeaderStart + std::to_string(typeNumber) + gbk::kTypeHeaderMiddle + typeFolder);
  WriteLine("");
}

void RunLog::WriteFailure(const std::string& source) { WriteLine(source + gbk::kFailureSuffix); }

void RunLog::WriteTypeSummary(std::int32_t successes, std::int32_t failures) {
  WriteLine("");
  WriteLine(gbk::kSuccessSummaryStart + std::to_string(successes) + gbk::kSummaryEnd);
  WriteLine(gbk::kFailureSummaryStart + std::to_string(failures) + gbk::kSummaryEnd);
  WriteLine(kSeparator);
  WriteLine("");
}

void RunLog::Close() {
  Flush();
  file_->Close();
}

void RunLog::WriteLine(const std::string& line) {
  Append(line.data(), line.size());
  Append(kLineEnd, 2);
}

// Fills the block and writes it out whenever it is full, so memory stays bounded however many
// failure lines a run produces.
void RunLog::Append(const char* bytes, std::size_t size) {
  while (size > 0) {
    const std::size_t room = blockSize_ - block_.size();
    const std::size_t take = size < room ? size : room;
    block_.append(bytes, take);
    bytes += take;
    size -= take;
    if (block_.size() == blockSize_) Flush();
  }
}

void RunLog::Flush() {
  if (block_.empty()) return;
  file_->Write(block_.data(), block_.size());
  block_.clear();
}

}  // namespace vx
