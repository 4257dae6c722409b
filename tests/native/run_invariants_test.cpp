// The rule checker used by the random and fault-injection runs must itself catch each kind of
// damage; otherwise those runs would pass whatever the engine did.
#include "tests/support/run_invariants.h"

#include <gtest/gtest.h>

#include "tests/support/plan_runner.h"

namespace vx {
namespace {

using testing::CheckRunInvariants;
using testing::MemoryFileSystem;
using testing::MemorySink;
using testing::RecordingFileSystem;
using testing::RunFacts;
using testing::TreeEntry;

bool Mentions(const std::vector<std::string>& broken, const std::string& part) {
  for (const std::string& line : broken) {
    if (line.find(part) != std::string::npos) return true;
  }
  return false;
}

// A run of one type over two ROMs: game1 copied, game2 failed.
RunFacts GoodRun() {
  RunFacts facts;
  facts.folders = CopyRunFolders{"T:\\M", "T:\\R", "T:\\O", "T:\\app\\"};
  facts.selectedTypes = {"T:\\M\\A"};
  facts.before = {
      {"T:\\M", TreeEntry{true, kAttrDirectory, "", 0}},
      {"T:\\M\\A", TreeEntry{true, kAttrDirectory, "", 0}},
      {"T:\\M\\A\\game1.png", TreeEntry{false, kAttrArchive, "art", 7}},
      {"T:\\R", TreeEntry{true, kAttrDirectory, "", 0}},
      {"T:\\R\\game1.zip", TreeEntry{false, kAttrArchive, "rom", 8}},
      {"T:\\R\\game2.zip", TreeEntry{false, kAttrArchive, "rom", 9}},
      {"T:\\app", TreeEntry{true, kAttrDirectory, "", 0}},
  };
  facts.after = facts.before;
  facts.after["T:\\O"] = TreeEntry{true, kAttrDirectory, "", 0};
  facts.after["T:\\O\\QUELBRINOUTPUT"] = TreeEntry{true, kAttrDirectory, "", 0};
  facts.after["T:\\O\\QUELBRINOUTPUT\\A"] = TreeEntry{true, kAttrDirectory, "", 0};
  facts.after["T:\\O\\QUELBRINOUTPUT\\A\\game1.png"] = TreeEntry{false, kAttrArchive, "art", 7};
  facts.copies = {{"T:\\M\\A\\game1.png", "T:\\O\\QUELBRINOUTPUT\\A\\game1.png", true},
                  {"T:\\M\\A\\game2.png", "T:\\O\\QUELBRINOUTPUT\\A\\game2.png", false}};
  facts.after["T:\\app\\logo.txt"] = TreeEntry{
      false, kAttrArchive, testing::ExpectedTypeLog(1, "T:\\M\\A", {"T:\\M\\A\\game2.png"}, 1), 10};
  facts.completed = true;
  return facts;
}

TEST(RunInvariants, AGoodRunBreaksNothing) {
  EXPECT_EQ(CheckRunInvariants(GoodRun(), LeadBytes::Gbk()), std::vector<std::string>());
}

TEST(RunInvariants, ALostFileIsCaught) {
  RunFacts facts = GoodRun();
  facts.after.erase("T:\\R\\game2.zip");
  EXPECT_TRUE(Mentions(CheckRunInvariants(facts, LeadBytes::Gbk()), "lost: T:\\R\\game2.zip"));
}

TEST(RunInvariants, AChangedFileIsCaught) {
  RunFacts facts = GoodRun();
  facts.after["T:\\M\\A\\game1.png"].stamp = 99;
  EXPECT_TRUE(
      Mentions(CheckRunInvariants(facts, LeadBytes::Gbk()), "changed: T:\\M\\A\\game1.png"));
}

TEST(RunInvariants, AFileOutsideTheOutputRootIsCaught) {
  RunFacts facts = GoodRun();
  facts.after["T:\\O\\stray.png"] = TreeEntry{false, kAttrArchive, "art", 7};
  const auto broken = CheckRunInvariants(facts, LeadBytes::Gbk());
  EXPECT_TRUE(Mentions(broken, "file made outside the output root: T:\\O\\stray.png"));
  EXPECT_TRUE(Mentions(broken, "successful copies 1 but new files 2"));
}

TEST(RunInvariants, ACopyThatDiffersFromItsSourceIsCaught) {
  RunFacts facts = GoodRun();
  facts.after["T:\\O\\QUELBRINOUTPUT\\A\\game1.png"].content = "ar";
  EXPECT_TRUE(
      Mentions(CheckRunInvariants(facts, LeadBytes::Gbk()), "copy differs from its source"));
}

TEST(RunInvariants, AFailureCountedAsSuccessIsCaught) {
  RunFacts facts = GoodRun();
  facts.copies[1].succeeded = true;  // reported done, but no file came of it
  const auto broken = CheckRunInvariants(facts, LeadBytes::Gbk());
  EXPECT_TRUE(Mentions(broken, "successful copies 2 but new files 1"));
  EXPECT_TRUE(Mentions(broken, "log differs"));
}

TEST(RunInvariants, AMissingFailureLineIsCaught) {
  RunFacts facts = GoodRun();
  facts.after["T:\\app\\logo.txt"].content = testing::ExpectedTypeLog(1, "T:\\M\\A", {}, 1);
  EXPECT_TRUE(Mentions(CheckRunInvariants(facts, LeadBytes::Gbk()), "took 1 copies for 2 ROMs"));
}

TEST(RunInvariants, AFolderOutsideTheOutputRootIsCaught) {
  RunFacts facts = GoodRun();
  facts.after["T:\\M\\A\\QUELBRINOUTPUT"] = TreeEntry{true, kAttrDirectory, "", 0};
  EXPECT_TRUE(Mentions(CheckRunInvariants(facts, LeadBytes::Gbk()),
                       "folder made outside the output root: T:\\M\\A\\QUELBRINOUTPUT"));
}

// A platform layer that reports a failed copy as done: a whole run through it must be caught.
class LyingFileSystem : public RecordingFileSystem {
 public:
  using RecordingFileSystem::RecordingFileSystem;
  bool CopyFileFailIfExists(const std::string& source, const std::string& destination) override {
    RecordingFileSystem::CopyFileFailIfExists(source, destination);
    return true;
  }
};

TEST(RunInvariants, ARunThroughALyingCopyIsCaught) {
  MemoryFileSystem fs(LeadBytes::Gbk(), MemoryFileSystem::WineBehaviour());
  MemorySink sink(fs);
  fs.AddFolder("T:\\app");
  fs.AddFile("T:\\M\\A\\game1.png", "art");
  fs.AddFile("T:\\R\\game1.zip", "rom");
  fs.AddFile("T:\\R\\game2.zip", "rom");
  RunFacts facts;
  facts.folders = CopyRunFolders{"T:\\M", "T:\\R", "T:\\O", "T:\\app\\"};
  facts.selectedTypes = {"T:\\M\\A"};
  facts.before = sink.Snapshot("T:");
  RecordingFileSystem recording(fs);
  LyingFileSystem liar(recording);
  RunCopy(liar, LeadBytes::Gbk(), facts.selectedTypes, facts.folders, [] {});
  facts.completed = true;
  facts.copies = recording.Copies();
  facts.after = sink.Snapshot("T:");
  EXPECT_TRUE(Mentions(CheckRunInvariants(facts, LeadBytes::Gbk()), "log differs"));
}

}  // namespace
}  // namespace vx
