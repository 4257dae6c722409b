#include "core/copy_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <utility>

#include "core/in_out_error.h"
#include "tests/support/expected_log.h"
#include "tests/support/memory_file_system.h"

namespace vx {
namespace {

using testing::ExpectedTypeLog;
using testing::Gbk;
using testing::MemoryFileSystem;
using Op = MemoryFileSystem::Operation;
using CopyPair = std::pair<std::string, std::string>;

constexpr char kExe[] = "C:\\app\\";
constexpr char kLog[] = "C:\\app\\\\logo.txt";

struct RunResult {
  std::string logAtCompletion;  // what was on disk while the completion message was up
  int completions = 0;
  std::string log;
  std::vector<CopyPair> copies;
};

RunResult RunEngine(MemoryFileSystem& fs, const std::vector<std::string>& types,
              const CopyRunFolders& folders, std::size_t blockSize = 64 * 1024) {
  RunResult result;
  RunCopy(fs, LeadBytes::Gbk(), types, folders,
          [&] {
            ++result.completions;
            result.logAtCompletion = fs.Content(kLog);
          },
          CopyRunOptions{blockSize});
  result.log = fs.Content(kLog);
  for (const auto& call : fs.CallsOf(Op::kCopy)) result.copies.emplace_back(call.path, call.path2);
  return result;
}

CopyRunFolders Folders(std::string root, std::string roms, std::string output) {
  return CopyRunFolders{std::move(root), std::move(roms), std::move(output), kExe};
}

// A small collection: root C:\M with types A and B, ROM folder C:\R, output C:\O.
void StandardCollection(MemoryFileSystem& fs) {
  fs.AddFolder("C:\\app");
  fs.AddFile("C:\\M\\A\\title1.png", "t1");
  fs.AddFile("C:\\M\\A\\game1.png", "A-game1");
  fs.AddFile("C:\\M\\B\\x.jpg", "x");
  fs.AddFile("C:\\M\\B\\game2.jpg", "B-game2");
  fs.AddFile("C:\\R\\game1.zip", "rom1");
  fs.AddFile("C:\\R\\game2.zip", "rom2");
  fs.AddFolder("C:\\O");
}

struct RunCase {
  const char* name;
  std::function<void(MemoryFileSystem&)> setUp;
  std::vector<std::string> types;
  CopyRunFolders folders;
  std::function<std::string()> expectedLog;
  std::vector<CopyPair> expectedCopies;
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class CopyRunCases : public ::testing::TestWithParam<RunCase> {};

TEST_P(CopyRunCases, LogAndCopiesAreExact) {
  const RunCase& c = GetParam();
  MemoryFileSystem fs;
  fs.AddFolder("C:\\app");
  c.setUp(fs);
  const RunResult result = RunEngine(fs, c.types, c.folders);
  EXPECT_EQ(result.completions, 1);
  EXPECT_EQ(result.log, c.expectedLog());
  EXPECT_EQ(result.copies, c.expectedCopies);
  EXPECT_EQ(fs.OpenListings(), 0);
  EXPECT_EQ(fs.OpenOutputs(), 0);
}

const RunCase kRunCases[] = {
    {"EmptySelectedTypeList", StandardCollection, {}, Folders("C:\\M", "C:\\R", "C:\\O"),
     [] { return std::string(); }, {}},
    {"PngDetectedFromFirstFile", StandardCollection, {"C:\\M\\A"},
     Folders("C:\\M", "C:\\R", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\M\\A", {"C:\\M\\A\\game2.png"}, 1); },
     {{"C:\\M\\A\\game1.png", "C:\\O\\QUELBRINOUTPUT\\A\\game1.png"},
      {"C:\\M\\A\\game2.png", "C:\\O\\QUELBRINOUTPUT\\A\\game2.png"}}},
    {"TwoTypesNumberedInOrder", StandardCollection, {"C:\\M\\B", "C:\\M\\A"},
     Folders("C:\\M", "C:\\R", "C:\\O"),
     [] {
       return ExpectedTypeLog(1, "C:\\M\\B", {"C:\\M\\B\\game1.jpg"}, 1) +
              ExpectedTypeLog(2, "C:\\M\\A", {"C:\\M\\A\\game2.png"}, 1);
     },
     {{"C:\\M\\B\\game1.jpg", "C:\\O\\QUELBRINOUTPUT\\B\\game1.jpg"},
      {"C:\\M\\B\\game2.jpg", "C:\\O\\QUELBRINOUTPUT\\B\\game2.jpg"},
      {"C:\\M\\A\\game1.png", "C:\\O\\QUELBRINOUTPUT\\A\\game1.png"},
      {"C:\\M\\A\\game2.png", "C:\\O\\QUELBRINOUTPUT\\A\\game2.png"}}},
    {"UpperCaseZipIsNotReplaced",
     [](MemoryFileSystem& fs) {
       fs.AddFile("C:\\M\\A\\t.png", "");
       fs.AddFile("C:\\M\\A\\Game1.ZIP", "same name");
       fs.AddFile("C:\\R\\Game1.ZIP", "");
     },
     {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\M\\A", {}, 1); },
     {{"C:\\M\\A\\Game1.ZIP", "C:\\O\\QUELBRINOUTPUT\\A\\Game1.ZIP"}}},
    {"RomWithoutZipKeepsItsName",
     [](MemoryFileSystem& fs) {
       fs.AddFile("C:\\M\\A\\t.png", "");
       fs.AddFile("C:\\R\\game.7z", "");
     },
     {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\M\\A", {"C:\\M\\A\\game.7z"}, 0); },
     {{"C:\\M\\A\\game.7z", "C:\\O\\QUELBRINOUTPUT\\A\\game.7z"}}},
    {"EveryZipIsReplaced",
     [](MemoryFileSystem& fs) {
       fs.AddFile("C:\\M\\A\\t.png", "");
       fs.AddFile("C:\\R\\a.zip.zip", "");
     },
     {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\M\\A", {"C:\\M\\A\\a.png.png"}, 0); },
     {{"C:\\M\\A\\a.png.png", "C:\\O\\QUELBRINOUTPUT\\A\\a.png.png"}}},
    {"TypeFolderWithOnlyDotEntriesGivesDot",
     [](MemoryFileSystem& fs) {
       fs.AddFolder("C:\\M\\A");
       fs.AddFile("C:\\R\\game1.zip", "");
     },
     {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\M\\A", {"C:\\M\\A\\game1."}, 0); },
     {{"C:\\M\\A\\game1.", "C:\\O\\QUELBRINOUTPUT\\A\\game1."}}},
    {"SubFolderFirstGivesEmptyExtension",
     [](MemoryFileSystem& fs) {
       fs.AddFolder("C:\\M\\A\\covers");
       fs.AddFile("C:\\M\\A\\game1.png", "");
       fs.AddFile("C:\\M\\A\\game1", "bare");
       fs.AddFile("C:\\R\\game1.zip", "");
     },
     {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\M\\A", {}, 1); },
     {{"C:\\M\\A\\game1", "C:\\O\\QUELBRINOUTPUT\\A\\game1"}}},
    {"HiddenSystemFileFirstDecides",
     [](MemoryFileSystem& fs) {
       fs.AddFile("C:\\M\\A\\Thumbs.db", "", kAttrHidden | kAttrSystem | kAttrArchive);
       fs.AddFile("C:\\M\\A\\game1.png", "");
       fs.AddFile("C:\\R\\game1.zip", "");
     },
     {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\M\\A", {"C:\\M\\A\\game1.db"}, 0); },
     {{"C:\\M\\A\\game1.db", "C:\\O\\QUELBRINOUTPUT\\A\\game1.db"}}},
    {"UnlistableTypeKeepsPreviousExtension",
     [](MemoryFileSystem& fs) {
       fs.AddFile("C:\\M\\A\\game1.png", "");
       fs.AddFile("C:\\R\\game1.zip", "");
     },
     {"C:\\M\\A", "C:\\M\\Gone", "C:\\M\\Gone2"}, Folders("C:\\M", "C:\\R", "C:\\O"),
     [] {
       return ExpectedTypeLog(1, "C:\\M\\A", {}, 1) +
              ExpectedTypeLog(2, "C:\\M\\Gone", {"C:\\M\\Gone\\game1.png"}, 0) +
              ExpectedTypeLog(3, "C:\\M\\Gone2", {"C:\\M\\Gone2\\game1.png"}, 0);
     },
     {{"C:\\M\\A\\game1.png", "C:\\O\\QUELBRINOUTPUT\\A\\game1.png"},
      {"C:\\M\\Gone\\game1.png", "C:\\O\\QUELBRINOUTPUT\\Gone\\game1.png"},
      {"C:\\M\\Gone2\\game1.png", "C:\\O\\QUELBRINOUTPUT\\Gone2\\game1.png"}}},
    {"UnlistableFirstTypeHasEmptyExtension",
     [](MemoryFileSystem& fs) { fs.AddFile("C:\\R\\game1.zip", ""); },
     {"C:\\M\\Gone"}, Folders("C:\\M", "C:\\R", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\M\\Gone", {"C:\\M\\Gone\\game1"}, 0); },
     {{"C:\\M\\Gone\\game1", "C:\\O\\QUELBRINOUTPUT\\Gone\\game1"}}},
    {"PlainSubFolderSkippedAttributedOneIsARom",
     [](MemoryFileSystem& fs) {
       fs.AddFile("C:\\M\\A\\t.png", "");
       fs.AddFolder("C:\\R\\plain");
       fs.AddFolder("C:\\R\\hidden", kAttrDirectory | kAttrHidden);
       fs.AddFolder("C:\\R\\readonly", kAttrDirectory | kAttrReadOnly);
       fs.AddFile("C:\\R\\h.zip", "", kAttrHidden | kAttrSystem);
     },
     {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"),
     [] {
       return ExpectedTypeLog(
           1, "C:\\M\\A", {"C:\\M\\A\\hidden", "C:\\M\\A\\readonly", "C:\\M\\A\\h.png"}, 0);
     },
     {{"C:\\M\\A\\hidden", "C:\\O\\QUELBRINOUTPUT\\A\\hidden"},
      {"C:\\M\\A\\readonly", "C:\\O\\QUELBRINOUTPUT\\A\\readonly"},
      {"C:\\M\\A\\h.png", "C:\\O\\QUELBRINOUTPUT\\A\\h.png"}}},
    {"EmptyRomFolder",
     [](MemoryFileSystem& fs) {
       fs.AddFile("C:\\M\\A\\t.png", "");
       fs.AddFolder("C:\\R");
     },
     {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\M\\A", {}, 0); }, {}},
    {"UnlistableRomFolder", [](MemoryFileSystem& fs) { fs.AddFile("C:\\M\\A\\t.png", ""); },
     {"C:\\M\\A"}, Folders("C:\\M", "C:\\NoRoms", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\M\\A", {}, 0); }, {}},
    {"RootNotInTypePathKeepsWholePath",
     [](MemoryFileSystem& fs) {
       fs.AddFile("C:\\M\\A\\game1.png", "");
       fs.AddFile("C:\\R\\game1.zip", "");
     },
     {"C:\\M\\A"}, Folders("C:\\Other", "C:\\R", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\M\\A", {"C:\\M\\A\\game1.png"}, 0); },
     {{"C:\\M\\A\\game1.png", "C:\\O\\QUELBRINOUTPUT\\C:\\M\\A\\game1.png"}}},
    {"RootAboveOldRootNestsTheTypeFolder",
     [](MemoryFileSystem& fs) {
       fs.AddFile("C:\\lib\\M\\A\\game1.png", "");
       fs.AddFile("C:\\R\\game1.zip", "");
     },
     {"C:\\lib\\M\\A"}, Folders("C:\\lib", "C:\\R", "C:\\O"),
     [] { return ExpectedTypeLog(1, "C:\\lib\\M\\A", {}, 1); },
     {{"C:\\lib\\M\\A\\game1.png", "C:\\O\\QUELBRINOUTPUT\\M\\A\\game1.png"}}},
    {"DriveRootsDoubleTheSeparator",
     [](MemoryFileSystem& fs) {
       fs.AddFile("D:\\A\\game1.png", "");
       fs.AddFile("E:\\game1.zip", "");
       fs.AddFolder("F:\\");
     },
     {"D:\\\\A"}, Folders("D:\\", "E:\\", "F:\\"),
     [] { return ExpectedTypeLog(1, "D:\\\\A", {}, 1); },
     {{"D:\\\\A\\game1.png", "F:\\\\QUELBRINOUTPUT\\A\\game1.png"}}},
    {"EmptyPathsMeanTheCurrentDrive",
     [](MemoryFileSystem& fs) {
       fs.AddFile("C:\\A\\game1.png", "");
       fs.AddFile("C:\\game1.zip", "");
     },
     {"\\A"}, Folders("", "", ""),
     [] { return ExpectedTypeLog(1, "\\A", {}, 1); },
     {{"\\A\\game1.png", "\\QUELBRINOUTPUT\\A\\game1.png"}}},
    {"GbkNamesWithTrailByte5C",
     [](MemoryFileSystem& fs) {
       fs.AddFile(Gbk("C:\\周边誠\\運\\封面.png"), "");
       fs.AddFile(Gbk("C:\\周边誠\\運\\錦標誠.png"), "art");
       fs.AddFile(Gbk("C:\\游戏\\錦標誠.zip"), "");
       fs.AddFile(Gbk("C:\\游戏\\缺.zip"), "");
     },
     {Gbk("C:\\周边誠\\運")}, Folders(Gbk("C:\\周边誠"), Gbk("C:\\游戏"), Gbk("C:\\输出")),
     [] { return ExpectedTypeLog(1, Gbk("C:\\周边誠\\運"), {Gbk("C:\\周边誠\\運\\缺.png")}, 1); },
     {{Gbk("C:\\周边誠\\運\\錦標誠.png"), Gbk("C:\\输出\\QUELBRINOUTPUT\\運\\錦標誠.png")},
      {Gbk("C:\\周边誠\\運\\缺.png"), Gbk("C:\\输出\\QUELBRINOUTPUT\\運\\缺.png")}}},
};

INSTANTIATE_TEST_SUITE_P(Table, CopyRunCases, ::testing::ValuesIn(kRunCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CopyRun, WritesTheExactBytesOfAType) {
  MemoryFileSystem fs;
  StandardCollection(fs);
  RunEngine(fs, {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"));
  // Spelled byte for byte, independent of any helper: header, blank, failure, blank, counts, rule.
  const std::string expected =
      "\xBF\xAA\xCA\xBC\xB0\xE1\xD4\xCB\xB5\xDA" "1" "\xB8\xF6\xD6\xDC\xB1\xDF\xA3\xBA" " C:\\M\\A\r\n"
      "\r\n"
      "C:\\M\\A\\game2.png \xB0\xE1\xD4\xCB\xCA\xA7\xB0\xDC\r\n"
      "\r\n"
      "\xB0\xE1\xD4\xCB\xB3\xC9\xB9\xA6" " 1 " "\xB8\xF6\xCE\xC4\xBC\xFE\r\n"
      "\xB0\xE1\xD4\xCB\xCA\xA7\xB0\xDC" " 1 " "\xB8\xF6\xCE\xC4\xBC\xFE\r\n" +
      std::string(91, '-') + "\r\n\r\n";
  EXPECT_EQ(fs.Content(kLog), expected);
}

TEST(CopyRun, CopiesTheCompanionIntoTheTypeOutputFolder) {
  MemoryFileSystem fs;
  StandardCollection(fs);
  RunEngine(fs, {"C:\\M\\A", "C:\\M\\B"}, Folders("C:\\M", "C:\\R", "C:\\O"));
  EXPECT_EQ(fs.Content("C:\\O\\QUELBRINOUTPUT\\A\\game1.png"), "A-game1");
  EXPECT_EQ(fs.Content("C:\\O\\QUELBRINOUTPUT\\B\\game2.jpg"), "B-game2");
  EXPECT_FALSE(fs.Exists("C:\\O\\QUELBRINOUTPUT\\A\\game2.png"));
  // Sources are untouched.
  EXPECT_EQ(fs.Content("C:\\M\\A\\game1.png"), "A-game1");
  EXPECT_EQ(fs.Content("C:\\R\\game1.zip"), "rom1");
}

TEST(CopyRun, SecondRunOverwritesNothingAndLogsEveryCompanionAsFailed) {
  MemoryFileSystem fs;
  StandardCollection(fs);
  fs.AddFile("C:\\app\\logo.txt", std::string(5000, 'x'));
  RunEngine(fs, {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"));
  fs.AddFile("C:\\M\\A\\game2.png", "A-game2");
  fs.Remove("C:\\M\\A\\game1.png");
  fs.AddFile("C:\\M\\A\\game1.png", "changed since");
  const RunResult second = RunEngine(fs, {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"));
  EXPECT_EQ(second.log, ExpectedTypeLog(1, "C:\\M\\A", {"C:\\M\\A\\game1.png"}, 1));
  EXPECT_EQ(fs.Content("C:\\O\\QUELBRINOUTPUT\\A\\game1.png"), "A-game1");
  EXPECT_EQ(fs.Content("C:\\O\\QUELBRINOUTPUT\\A\\game2.png"), "A-game2");
}

TEST(CopyRun, EmptyRomFolderMakesOutputRootButNoTypeFolder) {
  MemoryFileSystem fs;
  fs.AddFolder("C:\\app");
  fs.AddFile("C:\\M\\A\\t.png", "");
  fs.AddFolder("C:\\R");
  RunEngine(fs, {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"));
  EXPECT_TRUE(fs.IsFolder("C:\\O\\QUELBRINOUTPUT"));
  EXPECT_FALSE(fs.Exists("C:\\O\\QUELBRINOUTPUT\\A"));
}

TEST(CopyRun, CompletionComesBeforeTheLogIsWrittenOut) {
  MemoryFileSystem fs;
  StandardCollection(fs);
  const RunResult result = RunEngine(fs, {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"));
  EXPECT_EQ(result.logAtCompletion, "");  // buffered until the close after the message
  EXPECT_FALSE(result.log.empty());
  const auto& calls = fs.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().operation, Op::kCloseOutput);
}

TEST(CopyRun, LargeLogIsWrittenInBlocksWithSameBytes) {
  MemoryFileSystem fs;
  fs.AddFolder("C:\\app");
  fs.AddFile("C:\\M\\A\\t.png", "");
  for (int i = 0; i < 300; ++i) fs.AddFile("C:\\R\\rom" + std::to_string(i) + ".zip", "");
  RunEngine(fs, {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"));
  const std::string whole = fs.Content(kLog);

  MemoryFileSystem small;
  small.AddFolder("C:\\app");
  small.AddFile("C:\\M\\A\\t.png", "");
  for (int i = 0; i < 300; ++i) small.AddFile("C:\\R\\rom" + std::to_string(i) + ".zip", "");
  RunEngine(small, {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"), 100);
  EXPECT_EQ(small.Content(kLog), whole);
  const auto writes = small.CallsOf(Op::kWriteOutput);
  EXPECT_EQ(writes.size(), (whole.size() + 99) / 100);
  for (const auto& write : writes) EXPECT_LE(write.path2.size(), 100u);
}

struct LogFault {
  const char* name;
  Op operation;
  int index;
  int errorCode;
  const char* text;
  bool copiesStay;
};

void PrintTo(const LogFault& f, std::ostream* os) { *os << f.name; }

class CopyRunLogFaults : public ::testing::TestWithParam<LogFault> {};

TEST_P(CopyRunLogFaults, AbandonRunWithTheRunTimeText) {
  const LogFault& f = GetParam();
  MemoryFileSystem fs;
  StandardCollection(fs);
  fs.outputErrorCode = f.errorCode;
  fs.fault = [&](Op operation, const std::string&, int index) {
    return operation == f.operation && index == f.index;
  };
  int completions = 0;
  try {
    RunCopy(fs, LeadBytes::Gbk(), {"C:\\M\\A", "C:\\M\\B"}, Folders("C:\\M", "C:\\R", "C:\\O"),
            [&] { ++completions; }, CopyRunOptions{64});
    FAIL() << "no I/O error";
  } catch (const InOutError& error) {
    EXPECT_STREQ(error.what(), f.text);
    EXPECT_EQ(error.ErrorCode(), f.errorCode);
  }
  EXPECT_EQ(fs.Exists("C:\\O\\QUELBRINOUTPUT\\A\\game1.png"), f.copiesStay);
  EXPECT_EQ(fs.OpenListings(), 0);
  EXPECT_EQ(fs.OpenOutputs(), 0);
  if (f.operation != Op::kCloseOutput) {
    EXPECT_EQ(completions, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CopyRunLogFaults,
    ::testing::Values(LogFault{"OpenDenied", Op::kCreateOutput, 0, 5, "File access denied", false},
                      LogFault{"FirstWriteDiskFull", Op::kWriteOutput, 0, 112, "I/O error 112", true},
                      LogFault{"LaterWrite", Op::kWriteOutput, 2, 101, "Disk full", true},
                      LogFault{"Close", Op::kCloseOutput, 0, 5, "File access denied", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CopyRun, LogThatIsAFolderFailsBeforeAnythingIsMade) {
  MemoryFileSystem fs;
  StandardCollection(fs);
  fs.AddFolder("C:\\app\\logo.txt");
  EXPECT_THROW(
      {
        try {
          RunCopy(fs, LeadBytes::Gbk(), {"C:\\M\\A"}, Folders("C:\\M", "C:\\R", "C:\\O"), [] {});
        } catch (const InOutError& error) {
          EXPECT_STREQ(error.what(), "File access denied");
          throw;
        }
      },
      InOutError);
  EXPECT_FALSE(fs.Exists("C:\\O\\QUELBRINOUTPUT"));
  EXPECT_TRUE(fs.CallsOf(Op::kCopy).empty());
}

}  // namespace
}  // namespace vx
