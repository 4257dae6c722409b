// A whole copy run through the Win32 layer against real folders on the test drive.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/copy_run.h"
#include "core/in_out_error.h"
#include "tests/support/gbk.h"
#include "tests/support/scratch_folder.h"
#include "win32/system_lead_bytes.h"
#include "win32/win32_file_system.h"

namespace vx {
namespace {

using testing::FreshScratchFolder;
using testing::Gbk;
using testing::MakeFolder;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string SourceFile(const std::string& relative) {
  std::string path = "Z:" VX_SOURCE_DIR "/" + relative;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// T:\whole_run\周边誠 (types 運 and snap), 游戏 (the ROMs), 输出 (the output), app (the log).
class WholeRun : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = FreshScratchFolder("whole_run");
    root_ = base_ + Gbk("\\周边誠");
    roms_ = base_ + Gbk("\\游戏");
    output_ = base_ + Gbk("\\输出");
    app_ = base_ + "\\app\\";
    MakeFolder(app_.substr(0, app_.size() - 1));

    WriteFileBytes(root_ + Gbk("\\運\\錦標誠.png"), "art of 錦標誠");
    WriteFileBytes(root_ + "\\" + Gbk("運") + "\\game1.png", "art of game1");
    WriteFileBytes(root_ + "\\snap\\game1.jpg", "snap of game1");
    WriteFileBytes(root_ + "\\snap\\h.jpg", "snap of h");

    WriteFileBytes(roms_ + Gbk("\\錦標誠.zip"), "rom");
    WriteFileBytes(roms_ + "\\game1.zip", "rom");
    WriteFileBytes(roms_ + "\\Game2.ZIP", "rom");
    WriteFileBytes(roms_ + Gbk("\\缺.zip"), "rom");
    WriteFileBytes(roms_ + "\\h.zip", "rom");
    ASSERT_TRUE(::SetFileAttributesA((roms_ + "\\h.zip").c_str(), FILE_ATTRIBUTE_HIDDEN));
    MakeFolder(roms_ + "\\sub");

    // Already in the output from an earlier run: must stay as it is.
    WriteFileBytes(output_ + "\\QUELBRINOUTPUT\\snap\\game1.jpg", "kept");
  }

  std::vector<std::string> Types() const { return {root_ + Gbk("\\運"), root_ + "\\snap"}; }
  CopyRunFolders Folders() const { return CopyRunFolders{root_, roms_, output_, app_}; }

  std::string base_, root_, roms_, output_, app_;
  win32::Win32FileSystem fs_{win32::SystemLeadBytes()};
};

TEST_F(WholeRun, LogMatchesTheExpectedFileByteForByte) {
  int completions = 0;
  RunCopy(fs_, win32::SystemLeadBytes(), Types(), Folders(), [&] {
    ++completions;
    EXPECT_EQ(ReadFileBytes(app_ + "logo.txt"), "");  // still buffered while the message is up
  });
  EXPECT_EQ(completions, 1);
  EXPECT_EQ(ReadFileBytes(app_ + "logo.txt"), ReadFileBytes(SourceFile("tests/data/whole_run_logo.txt")));

  const std::string out = output_ + "\\QUELBRINOUTPUT";
  EXPECT_EQ(ReadFileBytes(out + Gbk("\\運\\錦標誠.png")), "art of 錦標誠");
  EXPECT_EQ(ReadFileBytes(out + Gbk("\\運") + "\\game1.png"), "art of game1");
  EXPECT_EQ(ReadFileBytes(out + "\\snap\\h.jpg"), "snap of h");
  EXPECT_EQ(ReadFileBytes(out + "\\snap\\game1.jpg"), "kept");
  EXPECT_FALSE(Exists(out + Gbk("\\運\\缺.png")));
  EXPECT_FALSE(Exists(out + Gbk("\\運") + "\\sub"));
  // The ROMs and companions are where they were.
  EXPECT_EQ(ReadFileBytes(root_ + "\\snap\\game1.jpg"), "snap of game1");
  EXPECT_EQ(ReadFileBytes(roms_ + "\\game1.zip"), "rom");
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) {
    ++count;
  }
  return count;
}

TEST_F(WholeRun, SecondRunFailsEveryCopyAndRewritesTheLog) {
  RunCopy(fs_, win32::SystemLeadBytes(), Types(), Folders(), [] {});
  const std::string first = ReadFileBytes(app_ + "logo.txt");
  RunCopy(fs_, win32::SystemLeadBytes(), Types(), Folders(), [] {});
  const std::string second = ReadFileBytes(app_ + "logo.txt");
  // Five ROMs (the plain sub-folder is no ROM) under two types: all ten copies fail now.
  EXPECT_EQ(Occurrences(second, Gbk(" 搬运失败\r\n")), 10u);
  EXPECT_EQ(Occurrences(second, Gbk("搬运成功 0 个文件\r\n")), 2u);
  EXPECT_EQ(Occurrences(second, Gbk("搬运失败 5 个文件\r\n")), 2u);
  EXPECT_EQ(Occurrences(second, Gbk("开始搬运第")), 2u);  // the first run's text is gone
  EXPECT_EQ(ReadFileBytes(output_ + "\\QUELBRINOUTPUT\\snap\\game1.jpg"), "kept");
}

TEST_F(WholeRun, LogThatCannotBeCreatedStopsBeforeAnyCopy) {
  MakeFolder(app_ + "logo.txt");
  int completions = 0;
  try {
    RunCopy(fs_, win32::SystemLeadBytes(), Types(), Folders(), [&] { ++completions; });
    FAIL() << "no I/O error";
  } catch (const InOutError& error) {
    EXPECT_STREQ(error.what(), "File access denied");
  }
  EXPECT_EQ(completions, 0);
  EXPECT_FALSE(Exists(output_ + "\\QUELBRINOUTPUT" + Gbk("\\運")));
  EXPECT_FALSE(Exists(output_ + "\\QUELBRINOUTPUT\\snap\\h.jpg"));
}

}  // namespace
}  // namespace vx
