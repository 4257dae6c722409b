// The program in its own process, driven through its window with real clicks: the four steps,
// the start button, the completion message, the run log and the copies, the exit button.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>

#include "core/gbk_texts.h"
#include "program_under_test.h"
#include "real_input.h"
#include "shell_names.h"
#include "tests/support/gbk.h"
#include "tests/support/scratch_folder.h"

namespace vx {
namespace {

using gui_testing::DriveName;
using gui_testing::MessageBoxSeen;
using gui_testing::MyComputerName;
using gui_testing::ProgramUnderTest;
using gui_testing::WaitFor;
using testing::FreshScratchFolder;
using testing::Gbk;
using testing::MakeFolder;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

std::string ProgramPath() {
  std::string path = "Z:" VX_PROGRAM_PATH;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Every folder (as "name\") and file (with its bytes) below `folder`, by relative path.
void CollectTree(const std::string& folder, const std::string& prefix,
                 std::map<std::string, std::string>& tree) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      tree[prefix + name + "\\"] = "";
      CollectTree(folder + "\\" + name, prefix + name + "\\", tree);
    } else {
      tree[prefix + name] = ReadFileBytes(folder + "\\" + name);
    }
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
}

std::string TypeBlock(int number, const std::string& typePath, const std::string& failedSource,
                      int copied, int failed) {
  return Gbk("开始搬运第") + std::to_string(number) + Gbk("个周边： ") + typePath + "\r\n\r\n" +
         failedSource + Gbk(" 搬运失败") + "\r\n\r\n" + Gbk("搬运成功 ") + std::to_string(copied) +
         Gbk(" 个文件") + "\r\n" + Gbk("搬运失败 ") + std::to_string(failed) + Gbk(" 个文件") +
         "\r\n" + std::string(91, '-') + "\r\n\r\n";
}

// T:\<case>\app (the program's copy and its log), 周边 (types 封面 and snap, an empty type 空,
// a hidden folder and a file that are no types), roms, out.
class ProgramWindow : public ::testing::Test {
 protected:
  void Prepare(const std::string& caseFolder) {
    caseName_ = caseFolder;
    base_ = FreshScratchFolder(caseFolder);
    app_ = base_ + "\\app";
    root_ = base_ + Gbk("\\周边");
    roms_ = base_ + "\\roms";
    out_ = base_ + "\\out";
    MakeFolder(app_);
    ASSERT_TRUE(::CopyFileA(ProgramPath().c_str(), (app_ + "\\Vornitax2021.exe").c_str(), FALSE))
        << ProgramPath();

    WriteFileBytes(root_ + Gbk("\\封面\\game1.png"), "cover of game1");
    WriteFileBytes(root_ + Gbk("\\封面\\游戏二.png"), "cover of game two");
    WriteFileBytes(root_ + "\\snap\\game1.jpg", "snap of game1");
    WriteFileBytes(root_ + "\\snap\\" + Gbk("游戏二.jpg"), "snap of game two");
    MakeFolder(root_ + Gbk("\\空"));
    MakeFolder(root_ + Gbk("\\隐藏"));
    ASSERT_TRUE(::SetFileAttributesA((root_ + Gbk("\\隐藏")).c_str(), FILE_ATTRIBUTE_HIDDEN));
    WriteFileBytes(root_ + "\\readme.txt", "not a type");

    WriteFileBytes(roms_ + "\\game1.zip", "rom 1");
    WriteFileBytes(roms_ + Gbk("\\游戏二.zip"), "rom 2");
    WriteFileBytes(roms_ + "\\Game3.ZIP", "rom 3");
    MakeFolder(roms_ + "\\sub");
    MakeFolder(out_);
  }

  std::vector<std::string> TreePath(const std::string& leaf) const {
    return {MyComputerName(), DriveName("T:\\"), caseName_, leaf};
  }

  // Steps 1 to 4 and the start button. Returns the type names in the checklist's order.
  std::vector<std::string> WalkTheSteps(ProgramUnderTest& program) {
    HWND tree1 = program.ControlAt(30, 100);
    HWND list = program.ControlAt(300, 100);
    HWND tree2 = program.ControlAt(500, 100);
    HWND tree3 = program.ControlAt(740, 100);
    HWND start = program.ControlAt(800, 460);

    program.ClickFolder(tree1, TreePath(Gbk("周边")));
    // The clicks on the folders above the root filled the list too; wait for the root's types.
    std::vector<std::string> expected{Gbk("封面"), Gbk("空"), "snap"};
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> types;
    const bool listed = WaitFor(
        [&] {
          types = gui_testing::RemoteControls::ListTexts(list);
          std::vector<std::string> sorted = types;
          std::sort(sorted.begin(), sorted.end());
          return sorted == expected;
        },
        10000);
    EXPECT_TRUE(listed) << "the checklist should hold the plain sub-folders only, not "
                        << ::testing::PrintToString(types);
    if (!listed) return {};

    for (int i = 0; i < static_cast<int>(types.size()); ++i) {
      if (types[i] != Gbk("空")) program.ClickCheckBox(list, i);
    }
    program.ClickFolder(tree2, TreePath("roms"));
    program.ClickFolder(tree3, TreePath("out"));
    program.ClickButton(start);
    return types;
  }

  std::string caseName_, base_, app_, root_, roms_, out_;
};

TEST_F(ProgramWindow, CopiesTheTickedTypesLogsAndExitsWithZero) {
  ASSERT_NO_FATAL_FAILURE(Prepare("gui_full_run"));
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  const std::vector<std::string> types = WalkTheSteps(program);
  ASSERT_EQ(types.size(), 3u);

  const MessageBoxSeen done = program.WaitForMessageBox();
  ASSERT_NE(done.window, nullptr) << "no completion message";
  EXPECT_EQ(done.text, gbk::kRunComplete);
  EXPECT_EQ(done.caption, "Vornitax2021");
  EXPECT_FALSE(done.hasIcon);
  // The log is still open, its text buffered, while the message is up.
  EXPECT_EQ(ReadFileBytes(app_ + "\\logo.txt"), "");
  program.Dismiss(done);

  std::string expectedLog;
  int number = 0;
  for (const std::string& type : types) {
    if (type == Gbk("空")) continue;
    const std::string typePath = root_ + "\\" + type;
    expectedLog += TypeBlock(++number, typePath, typePath + "\\Game3.ZIP", 2, 1);
  }
  EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(app_ + "\\logo.txt") == expectedLog; }, 5000))
      << ReadFileBytes(app_ + "\\logo.txt");

  std::map<std::string, std::string> output;
  CollectTree(out_, "", output);
  const std::map<std::string, std::string> expectedOutput{
      {"QUELBRINOUTPUT\\", ""},
      {"QUELBRINOUTPUT\\" + Gbk("封面") + "\\", ""},
      {"QUELBRINOUTPUT\\" + Gbk("封面\\game1.png"), "cover of game1"},
      {"QUELBRINOUTPUT\\" + Gbk("封面\\游戏二.png"), "cover of game two"},
      {"QUELBRINOUTPUT\\snap\\", ""},
      {"QUELBRINOUTPUT\\snap\\game1.jpg", "snap of game1"},
      {"QUELBRINOUTPUT\\snap\\" + Gbk("游戏二.jpg"), "snap of game two"},
  };
  EXPECT_EQ(output, expectedOutput);

  program.ClickButton(program.ControlAt(890, 460));  // 退出
  EXPECT_EQ(program.WaitForExit(), 0);
}

TEST_F(ProgramWindow, LogThatCannotBeMadeShowsTheErrorAndCopiesNothing) {
  ASSERT_NO_FATAL_FAILURE(Prepare("gui_log_blocked"));
  MakeFolder(app_ + "\\logo.txt");
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  ASSERT_EQ(WalkTheSteps(program).size(), 3u);

  const MessageBoxSeen error = program.WaitForMessageBox();
  ASSERT_NE(error.window, nullptr) << "no error message";
  EXPECT_EQ(error.text, "File access denied");
  EXPECT_EQ(error.caption, "Vornitax2021");
  EXPECT_TRUE(error.hasIcon);
  program.Dismiss(error);
  // No completion message follows the error.
  EXPECT_EQ(program.WaitForMessageBox(1500).window, nullptr);
  EXPECT_FALSE(Exists(out_ + "\\QUELBRINOUTPUT"));

  program.ClickButton(program.ControlAt(890, 460));
  EXPECT_EQ(program.WaitForExit(), 0);
}

TEST_F(ProgramWindow, StartRightAwayWritesAnEmptyLogAndClosingTheWindowEndsWithZero) {
  ASSERT_NO_FATAL_FAILURE(Prepare("gui_start_at_once"));
  WriteFileBytes(app_ + "\\logo.txt", "left by an earlier run");
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  program.ClickButton(program.ControlAt(800, 460));  // 开始搬运, no step done

  const MessageBoxSeen done = program.WaitForMessageBox();
  ASSERT_NE(done.window, nullptr) << "no completion message";
  EXPECT_EQ(done.text, gbk::kRunComplete);
  program.Dismiss(done);
  EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(app_ + "\\logo.txt").empty(); }, 5000));
  EXPECT_EQ(::GetFileAttributesA((app_ + "\\logo.txt").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

  // The window's close command, as the close box gives it: the program ends with 0.
  program.ClickForm(740, 495);  // a bare spot of the form, beside the banner
  gui_testing::PressAltKey(VK_F4);
  EXPECT_EQ(program.WaitForExit(), 0);
}

}  // namespace
}  // namespace vx
