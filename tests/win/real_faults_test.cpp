// Faults the real file system brings during a run, under Wine on drive T:: a source held open by
// another process, a destination that appears between the listing and the copy, a ROM folder or
// type folder that goes away in the middle of a run, output folders that cannot be made, and a log
// held open by another process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "core/copy_run.h"
#include "core/in_out_error.h"
#include "tests/support/expected_log.h"
#include "tests/support/gbk.h"
#include "tests/support/plan_runner.h"
#include "tests/support/recording_file_system.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/wide_tree.h"
#include "win32/system_lead_bytes.h"
#include "win32/unique_resource.h"
#include "win32/win32_file_system.h"

namespace vx {
namespace {

using testing::ExpectedTypeLog;
using testing::FreshScratchFolder;
using testing::Gbk;
using testing::MakeFolder;
using testing::ReadFileBytes;
using testing::RecordingFileSystem;
using testing::WriteFileBytes;
using win32::UniqueKernelHandle;

constexpr char kHoldSwitch[] = "--vx-hold-file=";

// The helper side of this executable: started with kHoldSwitch followed by
// "<path>|<ready event>|<release event>", it opens the file without sharing, signals that it holds
// it and keeps it until released. It runs before gtest ever sees the command line.
struct HolderProcess {
  HolderProcess() {
    const char* switchText = std::strstr(::GetCommandLineA(), kHoldSwitch);
    if (!switchText) return;
    const std::string argument = switchText + std::strlen(kHoldSwitch);
    const std::size_t first = argument.find('|');
    const std::size_t second = argument.find('|', first + 1);
    const std::string path = argument.substr(0, first);
    const std::string ready = argument.substr(first + 1, second - first - 1);
    const std::string release = argument.substr(second + 1);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) ::ExitProcess(2);
    HANDLE readyEvent = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, ready.c_str());
    HANDLE releaseEvent = ::OpenEventA(SYNCHRONIZE, FALSE, release.c_str());
    if (!readyEvent || !releaseEvent) ::ExitProcess(3);
    ::SetEvent(readyEvent);
    ::WaitForSingleObject(releaseEvent, INFINITE);
    ::CloseHandle(file);
    ::ExitProcess(0);
  }
} holderProcess;

// Holds a file open without sharing from a second process for as long as it lives.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path) {
    const std::string tag =
        std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(++count_);
    const std::string readyName = "vx_hold_ready_" + tag;
    const std::string releaseName = "vx_hold_release_" + tag;
    ready_.Reset(::CreateEventA(nullptr, TRUE, FALSE, readyName.c_str()));
    release_.Reset(::CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str()));
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command =
        "\"" + std::string(exe) + "\" " + kHoldSwitch + path + "|" + readyName + "|" + releaseName;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info)) {
      process_.Reset(info.hProcess);
      ::CloseHandle(info.hThread);
      const HANDLE waits[] = {ready_.Get(), process_.Get()};
      // Either the helper holds the file or it has ended (and its exit code says why).
      held_ = ::WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
    }
  }
  ~HeldFile() {
    if (release_) ::SetEvent(release_.Get());
    if (process_) ::WaitForSingleObject(process_.Get(), 30000);
  }
  bool Held() const { return held_; }

 private:
  static inline int count_ = 0;
  UniqueKernelHandle ready_;
  UniqueKernelHandle release_;
  UniqueKernelHandle process_;
  bool held_ = false;
};

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// T:\rf_<test>\M (types A and B), R (game1..3.zip), O (the output), app (the log).
class RealFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = FreshScratchFolder(std::string("rf_") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    root_ = base_ + "\\M";
    roms_ = base_ + "\\R";
    output_ = base_ + "\\O";
    app_ = base_ + "\\app\\";
    MakeFolder(base_ + "\\app");
    for (const char* game : {"game1", "game2", "game3"}) {
      WriteFileBytes(roms_ + "\\" + game + ".zip", "rom");
      // Big enough that a copy stopped half-way would show.
      WriteFileBytes(root_ + "\\A\\" + game + ".png", std::string(300000, game[4]));
      WriteFileBytes(root_ + "\\B\\" + game + ".jpg", std::string("snap ") + game);
    }
  }

  CopyRunFolders Folders() const { return CopyRunFolders{root_, roms_, output_, app_}; }
  std::string Out(const std::string& relative) const {
    return output_ + "\\QUELBRINOUTPUT\\" + relative;
  }
  std::string Log() const { return ReadFileBytes(app_ + "logo.txt"); }
  int Run(FileSystem& fs, const std::vector<std::string>& types) {
    int completions = 0;
    RunCopy(fs, lead_, types, Folders(), [&] { ++completions; });
    return completions;
  }

  LeadBytes lead_ = win32::SystemLeadBytes();
  win32::Win32FileSystem disk_{lead_};
  std::string base_, root_, roms_, output_, app_;
};

TEST_F(RealFaults, SourceHeldByAnotherProcessFailsAndLeavesNothingPartial) {
  HeldFile held(root_ + "\\A\\game2.png");
  ASSERT_TRUE(held.Held());
  EXPECT_EQ(Run(disk_, {root_ + "\\A"}), 1);
  EXPECT_EQ(Log(), ExpectedTypeLog(1, root_ + "\\A", {root_ + "\\A\\game2.png"}, 2));
  EXPECT_FALSE(Exists(Out("A\\game2.png")));
  EXPECT_EQ(ReadFileBytes(Out("A\\game1.png")), std::string(300000, '1'));
  EXPECT_EQ(ReadFileBytes(Out("A\\game3.png")), std::string(300000, '3'));
}

TEST_F(RealFaults, LogHeldByAnotherProcessStopsTheRunBeforeAnyCopy) {
  WriteFileBytes(app_ + "logo.txt", "earlier log");
  HeldFile held(app_ + "logo.txt");
  ASSERT_TRUE(held.Held());
  int completions = 0;
  try {
    RunCopy(disk_, lead_, {root_ + "\\A"}, Folders(), [&] { ++completions; });
    ADD_FAILURE() << "no I/O error";
  } catch (const InOutError& error) {
    // Measured under Wine: CREATE_ALWAYS on a file another process holds without sharing gives
    // ERROR_SHARING_VIOLATION, which the run-time names by its number.
    EXPECT_EQ(error.ErrorCode(), ERROR_SHARING_VIOLATION);
    EXPECT_STREQ(error.what(), "I/O error 32");
  }
  EXPECT_EQ(completions, 0);
  EXPECT_FALSE(Exists(output_));
}

TEST_F(RealFaults, DestinationThatAppearsBeforeTheCopyIsKept) {
  RecordingFileSystem fs(disk_);
  fs.beforeCopy = [&](const std::string& source, const std::string& destination) {
    if (source == root_ + "\\A\\game2.png") WriteFileBytes(destination, "arrived first");
  };
  EXPECT_EQ(Run(fs, {root_ + "\\A"}), 1);
  EXPECT_EQ(Log(), ExpectedTypeLog(1, root_ + "\\A", {root_ + "\\A\\game2.png"}, 2));
  EXPECT_EQ(ReadFileBytes(Out("A\\game2.png")), "arrived first");
}

TEST_F(RealFaults, RomFolderRemovedAfterTheFirstTypeGivesAnEmptySecondType) {
  RecordingFileSystem fs(disk_);
  int romListings = 0;
  fs.beforeListing = [&](const std::string& folder) {
    if (folder == roms_ && ++romListings == 2) testing::RemoveTreeLong(roms_);
  };
  EXPECT_EQ(Run(fs, {root_ + "\\A", root_ + "\\B"}), 1);
  EXPECT_EQ(Log(),
            ExpectedTypeLog(1, root_ + "\\A", {}, 3) + ExpectedTypeLog(2, root_ + "\\B", {}, 0));
  EXPECT_FALSE(Exists(Out("B")));
  EXPECT_EQ(ReadFileBytes(Out("A\\game3.png")), std::string(300000, '3'));
}

TEST_F(RealFaults, RomFolderRemovedWhileItsListingIsOpenIsWalkedToTheEnd) {
  RecordingFileSystem fs(disk_);
  bool removed = false;
  fs.beforeCopy = [&](const std::string&, const std::string&) {
    if (!removed) testing::RemoveTreeLong(roms_);
    removed = true;
  };
  EXPECT_EQ(Run(fs, {root_ + "\\A"}), 1);
  // Measured under Wine: the ROM files go, the folder itself stays while the open listing holds
  // it, and the listing has read the whole folder when it opened, so every name already listed is
  // walked; the companions are still there and every copy succeeds.
  EXPECT_FALSE(Exists(roms_ + "\\game1.zip"));
  EXPECT_FALSE(Exists(roms_ + "\\game3.zip"));
  EXPECT_EQ(Log(), ExpectedTypeLog(1, root_ + "\\A", {}, 3));
  EXPECT_EQ(ReadFileBytes(Out("A\\game3.png")), std::string(300000, '3'));
}

TEST_F(RealFaults, TypeFolderRemovedMidRunFailsEveryLaterCopyOfIt) {
  RecordingFileSystem fs(disk_);
  fs.beforeCopy = [&](const std::string& source, const std::string&) {
    if (source == root_ + "\\A\\game2.png") testing::RemoveTreeLong(root_ + "\\A");
  };
  EXPECT_EQ(Run(fs, {root_ + "\\A", root_ + "\\B"}), 1);
  EXPECT_EQ(Log(), ExpectedTypeLog(1, root_ + "\\A",
                                   {root_ + "\\A\\game2.png", root_ + "\\A\\game3.png"}, 1) +
                       ExpectedTypeLog(2, root_ + "\\B", {}, 3));
  EXPECT_EQ(ReadFileBytes(Out("A\\game1.png")), std::string(300000, '1'));
  EXPECT_FALSE(Exists(Out("A\\game2.png")));
  EXPECT_EQ(ReadFileBytes(Out("B\\game3.jpg")), "snap game3");
}

TEST_F(RealFaults, TypeFolderRemovedBeforeItsTurnKeepsThePreviousExtension) {
  RecordingFileSystem fs(disk_);
  fs.beforeListing = [&](const std::string& folder) {
    if (folder == root_ + "\\B") testing::RemoveTreeLong(root_ + "\\B");
  };
  EXPECT_EQ(Run(fs, {root_ + "\\A", root_ + "\\B"}), 1);
  // B cannot be listed, so ".png" from A stands; the sources are gone with the folder.
  EXPECT_EQ(Log(), ExpectedTypeLog(1, root_ + "\\A", {}, 3) +
                       ExpectedTypeLog(2, root_ + "\\B",
                                       {root_ + "\\B\\game1.png", root_ + "\\B\\game2.png",
                                        root_ + "\\B\\game3.png"},
                                       0));
}

TEST_F(RealFaults, TypeOutputFolderRemovedMidRunIsMadeAgainForTheNextCopy) {
  RecordingFileSystem fs(disk_);
  fs.beforeCopy = [&](const std::string& source, const std::string&) {
    if (source == root_ + "\\A\\game2.png") testing::RemoveTreeLong(Out("A"));
  };
  EXPECT_EQ(Run(fs, {root_ + "\\A"}), 1);
  // game2 finds no folder to go into; before game3 the run makes the folder again.
  EXPECT_EQ(Log(), ExpectedTypeLog(1, root_ + "\\A", {root_ + "\\A\\game2.png"}, 2));
  EXPECT_FALSE(Exists(Out("A\\game1.png")));  // went with the folder the test removed
  EXPECT_FALSE(Exists(Out("A\\game2.png")));
  EXPECT_EQ(ReadFileBytes(Out("A\\game3.png")), std::string(300000, '3'));
}

struct UnmakeableOutput {
  const char* name;
  const char* relative;  // under the test's folder
};

TEST_F(RealFaults, OutputFolderThatCannotBeMadeFailsEveryCopy) {
  WriteFileBytes(base_ + "\\blocker", "a file where a folder is wanted");
  const UnmakeableOutput cases[] = {{"UnderAFile", "\\blocker\\out"},
                                    {"Bar", "\\o|ut"},
                                    {"AngleBrackets", "\\<out>"},
                                    {"Quote", "\\o\"ut"}};
  for (const UnmakeableOutput& c : cases) {
    const std::string output = base_ + c.relative;
    int completions = 0;
    RunCopy(disk_, lead_, {root_ + "\\A"}, CopyRunFolders{root_, roms_, output, app_},
            [&] { ++completions; });
    EXPECT_EQ(completions, 1) << c.name;
    EXPECT_EQ(Log(), ExpectedTypeLog(1, root_ + "\\A",
                                     {root_ + "\\A\\game1.png", root_ + "\\A\\game2.png",
                                      root_ + "\\A\\game3.png"},
                                     0))
        << c.name;
  }
  EXPECT_EQ(ReadFileBytes(base_ + "\\blocker"), "a file where a folder is wanted");
  // Nothing but the blocker, the log's folder and the collection in the test's folder.
  testing::DiskSink sink;
  for (const auto& [path, entry] : sink.Snapshot(base_)) {
    EXPECT_TRUE(path == base_ || path.rfind(base_ + "\\M", 0) == 0 ||
                path.rfind(base_ + "\\R", 0) == 0 || path.rfind(base_ + "\\app", 0) == 0 ||
                path == base_ + "\\blocker")
        << path;
  }
}

// Windows refuses ":" inside a name; Wine 8 makes "o:" and "o:ut" as folders, and the walk up the
// text (which stops at ":" as the run-time's does) makes "o:" on the way. The in-memory model set
// up like Wine must come to the very same tree and log.
TEST_F(RealFaults, OutputFolderWithAColonEndsAsTheWineModelSays) {
  const std::string output = base_ + "\\o:ut";
  RunCopy(disk_, lead_, {root_ + "\\A"}, CopyRunFolders{root_, roms_, output, app_}, [] {});
  testing::DiskSink diskSink;
  const testing::Tree wine = diskSink.Snapshot(base_);

  testing::MemoryFileSystem model(LeadBytes::Gbk(), testing::MemoryFileSystem::WineBehaviour());
  testing::MemorySink modelSink(model);
  for (const auto& [path, entry] : testing::DiskSink().Snapshot(base_)) {
    if (path.rfind(base_ + "\\o:", 0) == 0 || path == app_ + "logo.txt") continue;
    if (entry.isFolder) {
      modelSink.AddFolder(path, entry.attributes);
    } else {
      modelSink.AddFile(path, entry.content, entry.attributes);
    }
  }
  RunCopy(model, LeadBytes::Gbk(), {root_ + "\\A"}, CopyRunFolders{root_, roms_, output, app_},
          [] {});
  const testing::Tree modelled = modelSink.Snapshot(base_);
  ASSERT_EQ(wine.size(), modelled.size());
  for (const auto& [path, entry] : wine) {
    ASSERT_EQ(modelled.count(path), 1u) << path;
    EXPECT_EQ(modelled.at(path).isFolder, entry.isFolder) << path;
    EXPECT_EQ(modelled.at(path).content, entry.content) << path;
  }
  EXPECT_EQ(wine.count(base_ + "\\o:"), 1u);
}

}  // namespace
}  // namespace vx
