// The program in its own process, driven through its window with real clicks, given bad input at
// the start button: no folder chosen in any tree, a companion root whose types are listed but none
// ticked, and My Computer (a shell item that is no file-system folder, so its tree's Path reads
// empty) as companion root, ROM folder or output folder. An empty path names the top of the
// current drive, so the program is started from a drive of its own: X:, which
// run_on_sandbox_drive.sh links to a fresh folder of the build tree. Every case checks what the
// run wrote, that every file that was there before is untouched, that nothing was made outside
// the sandbox drive, and that the program lives until its exit button and ends with 0.
#include <gtest/gtest.h>
#include <windows.h>
// The headers below build on windows.h.
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "core/gbk_texts.h"
#include "program_under_test.h"
#include "real_input.h"
#include "remote_controls.h"
#include "shell_names.h"
#include "tests/support/expected_log.h"
#include "tests/support/gbk.h"
#include "tests/support/scratch_folder.h"
#include "tree_selection.h"

namespace vx {
namespace {

using gui_testing::DriveName;
using gui_testing::MessageBoxSeen;
using gui_testing::MyComputerName;
using gui_testing::ProgramUnderTest;
using gui_testing::RemoteControls;
using gui_testing::TreeSelection;
using gui_testing::TreeSelectionReader;
using gui_testing::WaitFor;
using testing::ExpectedTypeLog;
using testing::Gbk;
using testing::MakeFolder;
using testing::ReadFileBytes;
using testing::RemoveTree;
using testing::WriteFileBytes;

// The sandbox drive; run_on_sandbox_drive.sh links it for this test.
const std::string kDrive = "X:";

std::string ProgramPath() {
  std::string path = "Z:" VX_PROGRAM_PATH;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What the tests compare of one entry: attributes always; size, last-write time and bytes of files.
// A folder's own write time moves whenever something is made in it, so it is not compared.
struct EntryState {
  DWORD attributes = 0;
  ULONGLONG size = 0;
  ULONGLONG lastWrite = 0;
  std::string bytes;
};
// Every entry below a folder by relative path, folders as "name\".
using Snapshot = std::map<std::string, EntryState>;

void CollectSnapshot(const std::string& folder, const std::string& prefix, Snapshot& snapshot) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    EntryState state;
    state.attributes = data.dwFileAttributes;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      snapshot[prefix + name + "\\"] = state;
      CollectSnapshot(folder + "\\" + name, prefix + name + "\\", snapshot);
    } else {
      state.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
      state.lastWrite = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                        data.ftLastWriteTime.dwLowDateTime;
      state.bytes = ReadFileBytes(folder + "\\" + name);
      snapshot[prefix + name] = state;
    }
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
}

Snapshot SandboxSnapshot() {
  Snapshot snapshot;
  CollectSnapshot(kDrive, "", snapshot);
  return snapshot;
}

bool IsFolderEntry(const std::string& relativePath) {
  return !relativePath.empty() && relativePath.back() == '\\';
}

// Entries of `before` that are gone or differ in `after`, one line each.
std::vector<std::string> LostOrChanged(const Snapshot& before, const Snapshot& after) {
  std::vector<std::string> differences;
  for (const auto& [path, old] : before) {
    const auto now = after.find(path);
    if (now == after.end()) {
      differences.push_back("lost: " + path);
    } else if (now->second.attributes != old.attributes) {
      differences.push_back("attributes changed: " + path);
    } else if (!IsFolderEntry(path) &&
               (now->second.size != old.size || now->second.lastWrite != old.lastWrite ||
                now->second.bytes != old.bytes)) {
      differences.push_back("changed: " + path);
    }
  }
  return differences;
}

// Entries of `after` that `before` lacks, with their bytes (empty for folders).
std::map<std::string, std::string> Added(const Snapshot& before, const Snapshot& after) {
  std::map<std::string, std::string> added;
  for (const auto& [path, state] : after) {
    if (before.count(path) == 0) added[path] = state.bytes;
  }
  return added;
}

// The run writes each type's failure lines in the order the file system lists the ROM folder,
// which these tests do not fix; sorting them within each type makes the log comparable.
std::string WithFailureLinesSorted(const std::string& log) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(log.substr(start, end - start));
  }
  lines.push_back(log.substr(start));
  const std::string header = Gbk("开始搬运第");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].compare(0, header.size(), header) != 0 || i + 2 >= lines.size()) continue;
    std::size_t last = i + 2;
    while (last < lines.size() && !lines[last].empty()) ++last;
    std::sort(lines.begin() + static_cast<std::ptrdiff_t>(i + 2),
              lines.begin() + static_cast<std::ptrdiff_t>(last));
    i = last;
  }
  std::string joined = lines.front();
  for (std::size_t i = 1; i < lines.size(); ++i) joined += "\r\n" + lines[i];
  return joined;
}

std::string DesktopFolder() {
  char path[MAX_PATH] = "";
  ::SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// On drive X:, whose top stands for the top of the program's current drive:
//   app\Vornitax2021.exe           the program's copy; its log appears beside it
//   周边\封面, 周边\snap             types with a cover and a snap of game1 and 游戏二
//   周边\readme.txt                 no type
//   shots\游戏二.png                a plain folder at the top, a type when the root path is empty
//   隐藏\                           a hidden folder at the top: no type, but a ROM
//   roms\游戏二.zip, Game3.ZIP, sub\ the ROM folder
//   out\                            the output folder
//   game1.zip, notes.txt (read-only) ROMs at the top
class BadInputAtTheWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EmptyTheSandboxDrive());
    app_ = kDrive + "\\app";
    root_ = kDrive + Gbk("\\周边");
    roms_ = kDrive + "\\roms";
    out_ = kDrive + "\\out";
    MakeFolder(app_);
    ASSERT_TRUE(::CopyFileA(ProgramPath().c_str(), (app_ + "\\Vornitax2021.exe").c_str(), FALSE))
        << ProgramPath();

    WriteFileBytes(root_ + Gbk("\\封面\\game1.png"), "cover of game1");
    WriteFileBytes(root_ + Gbk("\\封面\\游戏二.png"), "cover of game two");
    WriteFileBytes(root_ + "\\snap\\game1.jpg", "snap of game1");
    WriteFileBytes(root_ + "\\snap\\" + Gbk("游戏二.jpg"), "snap of game two");
    WriteFileBytes(root_ + "\\readme.txt", "not a type");
    WriteFileBytes(kDrive + "\\shots\\" + Gbk("游戏二.png"), "shot of game two");
    MakeFolder(kDrive + Gbk("\\隐藏"));
    ASSERT_TRUE(::SetFileAttributesA((kDrive + Gbk("\\隐藏")).c_str(), FILE_ATTRIBUTE_HIDDEN));
    WriteFileBytes(roms_ + Gbk("\\游戏二.zip"), "rom 2");
    WriteFileBytes(roms_ + "\\Game3.ZIP", "rom 3");
    MakeFolder(roms_ + "\\sub");
    MakeFolder(out_);
    WriteFileBytes(kDrive + "\\game1.zip", "rom 1 at the top");
    WriteFileBytes(kDrive + "\\notes.txt", "notes at the top");
    ASSERT_TRUE(::SetFileAttributesA((kDrive + "\\notes.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    // Places an empty path would reach if the program's current drive were not the sandbox.
    outsidePlaces_ = {"C:\\QUELBRINOUTPUT", "T:\\QUELBRINOUTPUT", "Z:\\QUELBRINOUTPUT",
                      DesktopFolder() + "\\QUELBRINOUTPUT"};
    for (const std::string& place : outsidePlaces_) outsideBefore_[place] = Exists(place);
    before_ = SandboxSnapshot();
  }

  // Checks that X: is the folder run_on_sandbox_drive.sh made, then removes everything on it.
  void EmptyTheSandboxDrive() {
    const char* folder = std::getenv("VX_SANDBOX_FOLDER");
    ASSERT_NE(folder, nullptr) << "run this test through run_on_sandbox_drive.sh";
    std::string hostView = std::string("Z:") + folder;
    std::replace(hostView.begin(), hostView.end(), '/', '\\');
    const std::string probe = "\\sandbox_probe_" + std::to_string(::GetCurrentProcessId());
    WriteFileBytes(hostView + probe, "probe");
    const bool sameFolder = Exists(kDrive + probe);
    ::DeleteFileA((hostView + probe).c_str());
    ASSERT_TRUE(sameFolder) << kDrive << " is not linked to " << folder;

    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((kDrive + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = kDrive + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(path);
        } else {
          ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          ::DeleteFileA(path.c_str());
        }
      } while (::FindNextFileA(find, &data));
      ::FindClose(find);
    }
    ASSERT_TRUE(SandboxSnapshot().empty()) << "the sandbox drive cannot be emptied";
  }

  static HWND RootTree(const ProgramUnderTest& program) { return program.ControlAt(30, 100); }
  static HWND Checklist(const ProgramUnderTest& program) { return program.ControlAt(300, 100); }
  static HWND RomTree(const ProgramUnderTest& program) { return program.ControlAt(500, 100); }
  static HWND OutputTree(const ProgramUnderTest& program) { return program.ControlAt(740, 100); }

  static std::vector<std::string> OnTheDrive(const std::string& folder) {
    return {MyComputerName(), DriveName(kDrive + "\\"), folder};
  }
  static std::vector<std::string> MyComputer() { return {MyComputerName()}; }

  // Waits for the checklist to hold `expected` in any order; returns it in the list's order.
  static std::vector<std::string> WaitForTypes(const ProgramUnderTest& program,
                                               std::vector<std::string> expected) {
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> types;
    const bool listed = WaitFor(
        [&] {
          types = RemoteControls::ListTexts(Checklist(program));
          std::vector<std::string> sorted = types;
          std::sort(sorted.begin(), sorted.end());
          return sorted == expected;
        },
        10000);
    EXPECT_TRUE(listed) << "the checklist holds " << ::testing::PrintToString(types);
    return listed ? types : std::vector<std::string>{};
  }

  static void Tick(ProgramUnderTest& program, const std::vector<std::string>& types,
                   const std::string& type) {
    const auto position = std::find(types.begin(), types.end(), type);
    ASSERT_NE(position, types.end()) << type;
    program.ClickCheckBox(Checklist(program), static_cast<int>(position - types.begin()));
  }

  // Step 1 on the companion root 周边 and step 2 with every type it lists ticked; returns the
  // types in the checklist's order.
  static std::vector<std::string> ChooseAndTickAllTypes(ProgramUnderTest& program) {
    program.ClickFolder(RootTree(program), OnTheDrive(Gbk("周边")));
    const std::vector<std::string> types = WaitForTypes(program, {Gbk("封面"), "snap"});
    for (int i = 0; i < static_cast<int>(types.size()); ++i) {
      program.ClickCheckBox(Checklist(program), i);
    }
    return types;
  }

  // Reads what a tree has selected, and requires its Path to read empty.
  static void ExpectEmptyPath(ProgramUnderTest& program, HWND tree, const char* treeName) {
    TreeSelectionReader reader(program.Form());
    const TreeSelection selection = reader.Read(tree);
    EXPECT_EQ(selection.path, "") << treeName << " selects \"" << selection.text << "\"";
  }

  // The start button, the completion message and its dismissal.
  static void StartAndDismissTheCompletionMessage(ProgramUnderTest& program) {
    program.ClickButton(program.ControlAt(800, 460));  // 开始搬运
    const MessageBoxSeen done = program.WaitForMessageBox();
    ASSERT_NE(done.window, nullptr) << "no message after the start button";
    EXPECT_EQ(done.text, gbk::kRunComplete);
    EXPECT_FALSE(done.hasIcon) << "an error message instead of the completion message";
    program.Dismiss(done);
  }

  void ExpectLog(const std::string& expected) const {
    std::string log;
    const std::string path = app_ + "\\logo.txt";
    EXPECT_TRUE(WaitFor(
        [&] {
          if (!Exists(path)) return false;
          log = WithFailureLinesSorted(ReadFileBytes(path));
          return log == WithFailureLinesSorted(expected);
        },
        5000))
        << "log: " << ::testing::PrintToString(log);
  }

  // The program is still running, and its exit button ends it with 0.
  static void ExitWithZero(ProgramUnderTest& program) {
    EXPECT_EQ(program.WaitForExit(0), -1) << "the program ended before its exit button";
    program.ClickButton(program.ControlAt(890, 460));  // 退出
    EXPECT_EQ(program.WaitForExit(), 0);
  }

  // The log of a run over the ticked `types` in which every type copies `successes` companions
  // and fails on the companions named `failing` (names inside the type folder), in that order.
  std::string ExpectedLogOverTypes(const std::vector<std::string>& types,
                                   const std::vector<std::string>& failing, int successes) const {
    std::string log;
    for (std::size_t k = 0; k < types.size(); ++k) {
      const std::string type = root_ + "\\" + types[k];
      std::vector<std::string> failures;
      for (const std::string& name : failing) failures.push_back(type + "\\" + name);
      log += ExpectedTypeLog(static_cast<int>(k + 1), type, failures, successes);
    }
    return log;
  }

  // What a run that copied game1's cover and snapshot adds under `outputRoot` (its path from the
  // top of the sandbox drive, ending in "\").
  static std::map<std::string, std::string> Game1CopiedUnder(const std::string& outputRoot) {
    return {
        {outputRoot, ""},
        {outputRoot + Gbk("封面") + "\\", ""},
        {outputRoot + Gbk("封面") + "\\game1.png", "cover of game1"},
        {outputRoot + "snap\\", ""},
        {outputRoot + "snap\\game1.jpg", "snap of game1"},
    };
  }

  // Every entry that was on the sandbox drive is untouched; the new ones are the run log beside
  // the program (when a run took place) and `expectedAdded`; nothing was made outside the sandbox.
  void ExpectSandboxAfterwards(const std::map<std::string, std::string>& expectedAdded,
                               bool logExpected = true) const {
    const Snapshot after = SandboxSnapshot();
    EXPECT_EQ(LostOrChanged(before_, after), std::vector<std::string>{});
    std::map<std::string, std::string> added = Added(before_, after);
    EXPECT_EQ(added.erase("app\\logo.txt"), logExpected ? 1u : 0u);
    EXPECT_EQ(added, expectedAdded);
    for (const std::string& place : outsidePlaces_) {
      EXPECT_EQ(Exists(place), outsideBefore_.at(place)) << place;
    }
  }

  std::string app_, root_, roms_, out_;
  Snapshot before_;
  std::vector<std::string> outsidePlaces_;
  std::map<std::string, bool> outsideBefore_;
};

TEST_F(BadInputAtTheWindow, NoFolderChosenInAnyTreeWritesAnEmptyLogAndMakesNothing) {
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  // Which item a tree selects before it is clicked is the tree control's own matter; it is
  // recorded here, not required. Measured under Wine 8: no tree selects anything at start-up; a
  // tree that gets the keyboard focus with Tab selects the desktop at its root.
  TreeSelectionReader reader(program.Form());
  const HWND trees[] = {RootTree(program), RomTree(program), OutputTree(program)};
  for (int i = 0; i < 3; ++i) {
    const TreeSelection selection = reader.Read(trees[i]);
    const std::string reading = selection.selected ? "selects \"" + selection.text +
                                                         "\", Path reads \"" + selection.path + "\""
                                                   : "selects nothing, Path reads \"\"";
    RecordProperty("tree" + std::to_string(i + 1) + "_before_any_click", reading);
    std::cout << "tree " << i + 1 << " before any click " << reading << "\n";
  }

  ASSERT_NO_FATAL_FAILURE(StartAndDismissTheCompletionMessage(program));
  ExpectLog("");
  ExitWithZero(program);
  ExpectSandboxAfterwards({});
}

TEST_F(BadInputAtTheWindow, RomAndOutputChosenWithoutACompanionRootWriteAnEmptyLog) {
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  program.ClickFolder(RomTree(program), OnTheDrive("roms"));
  program.ClickFolder(OutputTree(program), OnTheDrive("out"));
  EXPECT_TRUE(RemoteControls::ListTexts(Checklist(program)).empty());

  ASSERT_NO_FATAL_FAILURE(StartAndDismissTheCompletionMessage(program));
  ExpectLog("");
  ExitWithZero(program);
  ExpectSandboxAfterwards({});
}

TEST_F(BadInputAtTheWindow, TypesListedButNoneTickedWriteAnEmptyLogAndMakeNoOutputRoot) {
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  program.ClickFolder(RootTree(program), OnTheDrive(Gbk("周边")));
  ASSERT_EQ(WaitForTypes(program, {Gbk("封面"), "snap"}).size(), 2u);
  program.ClickFolder(RomTree(program), OnTheDrive("roms"));
  program.ClickFolder(OutputTree(program), OnTheDrive("out"));

  ASSERT_NO_FATAL_FAILURE(StartAndDismissTheCompletionMessage(program));
  ExpectLog("");
  ExitWithZero(program);
  ExpectSandboxAfterwards({});
}

TEST_F(BadInputAtTheWindow, RomTreeOnMyComputerTakesTheRomsAtTheTopOfTheCurrentDrive) {
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  const std::vector<std::string> types = ChooseAndTickAllTypes(program);
  ASSERT_EQ(types.size(), 2u);
  program.ClickFolder(RomTree(program), MyComputer());
  ExpectEmptyPath(program, RomTree(program), "the ROM tree");
  program.ClickFolder(OutputTree(program), OnTheDrive("out"));

  ASSERT_NO_FATAL_FAILURE(StartAndDismissTheCompletionMessage(program));
  // At the top: the hidden folder 隐藏 and the files game1.zip and notes.txt are ROMs; the plain
  // folders are skipped.
  ExpectLog(ExpectedLogOverTypes(types, {Gbk("隐藏"), "notes.txt"}, 1));
  ExitWithZero(program);
  ExpectSandboxAfterwards(Game1CopiedUnder("out\\QUELBRINOUTPUT\\"));
}

TEST_F(BadInputAtTheWindow, OutputTreeOnMyComputerPutsTheOutputRootAtTheTopOfTheCurrentDrive) {
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  const std::vector<std::string> types = ChooseAndTickAllTypes(program);
  ASSERT_EQ(types.size(), 2u);
  program.ClickFolder(RomTree(program), OnTheDrive("roms"));
  program.ClickFolder(OutputTree(program), MyComputer());
  ExpectEmptyPath(program, OutputTree(program), "the output tree");

  ASSERT_NO_FATAL_FAILURE(StartAndDismissTheCompletionMessage(program));
  ExpectLog(ExpectedLogOverTypes(types, {"Game3.ZIP"}, 1));
  ExitWithZero(program);
  ExpectSandboxAfterwards({
      {"QUELBRINOUTPUT\\", ""},
      {"QUELBRINOUTPUT\\" + Gbk("封面") + "\\", ""},
      {"QUELBRINOUTPUT\\" + Gbk("封面\\游戏二.png"), "cover of game two"},
      {"QUELBRINOUTPUT\\snap\\", ""},
      {"QUELBRINOUTPUT\\snap\\" + Gbk("游戏二.jpg"), "snap of game two"},
  });
}

TEST_F(BadInputAtTheWindow, OutputTreeNeverClickedPutsTheOutputRootAtTheTopOfTheCurrentDrive) {
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  const std::vector<std::string> types = ChooseAndTickAllTypes(program);
  ASSERT_EQ(types.size(), 2u);
  program.ClickFolder(RomTree(program), OnTheDrive("roms"));
  // Precondition of this case, not a requirement on the program: an untouched output tree has no
  // folder selected. Otherwise the run would write wherever the tree's own choice points.
  TreeSelectionReader reader(program.Form());
  const TreeSelection selection = reader.Read(OutputTree(program));
  ASSERT_EQ(selection.path, "") << "the untouched output tree selects \"" << selection.text << "\"";

  ASSERT_NO_FATAL_FAILURE(StartAndDismissTheCompletionMessage(program));
  ExpectLog(ExpectedLogOverTypes(types, {"Game3.ZIP"}, 1));
  ExitWithZero(program);
  ExpectSandboxAfterwards({
      {"QUELBRINOUTPUT\\", ""},
      {"QUELBRINOUTPUT\\" + Gbk("封面") + "\\", ""},
      {"QUELBRINOUTPUT\\" + Gbk("封面\\游戏二.png"), "cover of game two"},
      {"QUELBRINOUTPUT\\snap\\", ""},
      {"QUELBRINOUTPUT\\snap\\" + Gbk("游戏二.jpg"), "snap of game two"},
  });
}

TEST_F(BadInputAtTheWindow, RomAndOutputTreesOnMyComputerCopyWithinTheTopOfTheCurrentDrive) {
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  const std::vector<std::string> types = ChooseAndTickAllTypes(program);
  ASSERT_EQ(types.size(), 2u);
  program.ClickFolder(RomTree(program), MyComputer());
  program.ClickFolder(OutputTree(program), MyComputer());
  ExpectEmptyPath(program, RomTree(program), "the ROM tree");
  ExpectEmptyPath(program, OutputTree(program), "the output tree");

  ASSERT_NO_FATAL_FAILURE(StartAndDismissTheCompletionMessage(program));
  // The output root made at the top is a plain folder there, so no ROM.
  ExpectLog(ExpectedLogOverTypes(types, {Gbk("隐藏"), "notes.txt"}, 1));
  ExitWithZero(program);
  ExpectSandboxAfterwards(Game1CopiedUnder("QUELBRINOUTPUT\\"));
}

TEST_F(BadInputAtTheWindow, CompanionRootOnMyComputerListsThePlainFoldersAtTheTopOfTheDrive) {
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  program.ClickFolder(RootTree(program), MyComputer());
  ExpectEmptyPath(program, RootTree(program), "the companion root tree");
  // Not the hidden folder 隐藏, not the files.
  const std::vector<std::string> types =
      WaitForTypes(program, {"app", "out", "roms", "shots", Gbk("周边")});
  ASSERT_EQ(types.size(), 5u);
  ASSERT_NO_FATAL_FAILURE(Tick(program, types, "shots"));
  program.ClickFolder(RomTree(program), OnTheDrive("roms"));
  program.ClickFolder(OutputTree(program), OnTheDrive("out"));

  ASSERT_NO_FATAL_FAILURE(StartAndDismissTheCompletionMessage(program));
  // The type folder is "\shots"; removing the empty root path plus "\" leaves the name "shots".
  ExpectLog(ExpectedTypeLog(1, "\\shots", {"\\shots\\Game3.ZIP"}, 1));
  ExitWithZero(program);
  ExpectSandboxAfterwards({
      {"out\\QUELBRINOUTPUT\\", ""},
      {"out\\QUELBRINOUTPUT\\shots\\", ""},
      {"out\\QUELBRINOUTPUT\\shots\\" + Gbk("游戏二.png"), "shot of game two"},
  });
}

TEST_F(BadInputAtTheWindow, AllThreeTreesOnMyComputerWorkAtTheTopOfTheCurrentDrive) {
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  program.ClickFolder(RootTree(program), MyComputer());
  const std::vector<std::string> types =
      WaitForTypes(program, {"app", "out", "roms", "shots", Gbk("周边")});
  ASSERT_EQ(types.size(), 5u);
  ASSERT_NO_FATAL_FAILURE(Tick(program, types, "shots"));
  program.ClickFolder(RomTree(program), MyComputer());
  program.ClickFolder(OutputTree(program), MyComputer());
  ExpectEmptyPath(program, RootTree(program), "the companion root tree");
  ExpectEmptyPath(program, RomTree(program), "the ROM tree");
  ExpectEmptyPath(program, OutputTree(program), "the output tree");

  ASSERT_NO_FATAL_FAILURE(StartAndDismissTheCompletionMessage(program));
  // shots holds no companion of the ROMs at the top; the type output folder is made all the same.
  ExpectLog(ExpectedTypeLog(
      1, "\\shots", {"\\shots" + Gbk("\\隐藏"), "\\shots\\game1.png", "\\shots\\notes.txt"}, 0));
  ExitWithZero(program);
  ExpectSandboxAfterwards({
      {"QUELBRINOUTPUT\\", ""},
      {"QUELBRINOUTPUT\\shots\\", ""},
  });
}

// The desktop at the root of each tree is no such item: the shell gives it the desktop folder's
// path. Under Wine that folder of the prefix is a link to the user's home folder, so no run is
// ever started with it chosen.
TEST_F(BadInputAtTheWindow, DesktopAtTheRootOfTheTreesReadsTheDesktopFolder) {
  ProgramUnderTest program(app_ + "\\Vornitax2021.exe");
  RemoteControls remote(program.Form());
  TreeSelectionReader reader(program.Form());
  const std::string desktop = DesktopFolder();
  ASSERT_NE(desktop, "");
  for (HWND tree : {RomTree(program), OutputTree(program)}) {
    RECT rect{};
    ASSERT_TRUE(remote.TreeItemRect(tree, remote.TreeRoot(tree), rect));
    gui_testing::ClickAt(gui_testing::ScreenCentre(tree, rect));
    const TreeSelection selection = reader.Read(tree);
    EXPECT_TRUE(selection.selected);
    EXPECT_EQ(selection.path, desktop) << "selected: " << selection.text;
  }
  ExitWithZero(program);
  ExpectSandboxAfterwards({}, false);
}

}  // namespace
}  // namespace vx
