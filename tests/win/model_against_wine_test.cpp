// The in-memory model's Wine behaviour, call by call against Wine itself: the same paths through
// Win32FileSystem on drive T: and through the model must give the same results, listings in the
// same order, and the same tree in the end. Each case names the rule it pins down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/in_out_error.h"
#include "tests/support/gbk.h"
#include "tests/support/plan_runner.h"
#include "tests/support/wide_tree.h"
#include "win32/system_lead_bytes.h"
#include "win32/win32_file_system.h"

namespace vx {
namespace {

using testing::Gbk;
using testing::MemoryFileSystem;

constexpr char kBase[] = "T:\\mw";

// A path of exactly `length` characters under kBase\long, its last component made up of `c`.
std::string PathOfLength(std::size_t length, char c) {
  const std::string folder = std::string(kBase) + "\\long";
  return folder + "\\" + std::string(length - folder.size() - 1, c);
}

struct Step {
  enum Kind { kForce, kCopy, kList, kCreate } kind;
  std::string path;
  std::string path2;
};

// Runs one step and says what came of it, the same way for both file systems.
std::string Perform(FileSystem& fs, const Step& step) {
  switch (step.kind) {
    case Step::kForce:
      return fs.ForceDirectories(step.path) ? "made" : "failed";
    case Step::kCopy:
      return fs.CopyFileFailIfExists(step.path, step.path2) ? "copied" : "failed";
    case Step::kList: {
      auto listing = fs.OpenListing(step.path);
      if (!listing) return "unlistable";
      std::string names;
      DirEntry entry;
      while (listing->Next(entry)) names += "[" + entry.name + "]";
      return names;
    }
    case Step::kCreate:
      try {
        fs.CreateOutputFile(step.path)->Close();
        return "created";
      } catch (const InOutError& error) {
        return error.what();
      }
  }
  return "?";
}

TEST(ModelAgainstWine, EveryCallComesOutTheSame) {
  const std::string b = kBase;
  std::vector<std::pair<std::string, std::string>> files = {{b + "\\a\\f.txt", "f"},
                                                            {b + "\\mid\\x", "x"}};
  // Sorted by upper-cased UTF-16: "_" after the letters, 啊 (U+554A) before 站 (U+7AD9) before
  // 誠 (U+8AA0) though their GBK bytes run B0A1, D5BE, D55C; 誂 and 誥 differ in a trail byte that
  // is "A" or "a", 諀 has the trail byte "|".
  for (const std::string& name :
       {std::string("a b"), std::string("a.zip"), std::string("A1"), std::string("ab"),
        std::string("a_"), std::string("B"), std::string("Z"), std::string("[x"), std::string("_z"),
        std::string("~t"), Gbk("啊"), Gbk("站"), Gbk("誠"), Gbk("誂"), Gbk("誥"), Gbk("諀")}) {
    files.push_back({b + "\\sort\\" + name, name});
  }
  files.push_back({PathOfLength(260, 's'), "at the limit"});

  const std::vector<Step> steps = {
      {Step::kList, b + "\\sort", ""},
      {Step::kList, b + "\\\\sort\\\\", ""},
      // Trailing dots and spaces: all of them off the last component, one dot off an inner one.
      {Step::kForce, b + "\\n1.", ""},
      {Step::kForce, b + "\\n2.\\c", ""},
      {Step::kForce, b + "\\n3..\\c", ""},
      {Step::kForce, b + "\\n4 \\c", ""},
      {Step::kForce, b + "\\n5. .\\", ""},
      {Step::kCopy, b + "\\a.\\f.txt", b + "\\n2\\f1.txt"},
      {Step::kCopy, b + "\\a..\\f.txt", b + "\\n2\\f2.txt"},
      {Step::kCopy, b + "\\a\\f.txt. ", b + "\\n2\\f3.txt.."},
      {Step::kCopy, b + "\\A\\F.TXT", b + "\\n2\\F1.TXT"},
      {Step::kList, b + "\\n2", ""},
      // ":" inside a name: Wine makes it; the walk up stops at it.
      {Step::kForce, b + "\\o:ut\\x", ""},
      {Step::kForce, b + "\\p\\T:\\y", ""},
      {Step::kForce, b + "\\q|r", ""},
      // Lengths: 260 characters is the most an ANSI call takes; Wine's CopyFileA alone takes a
      // longer destination.
      {Step::kForce, PathOfLength(259, 'd'), ""},
      {Step::kForce, PathOfLength(260, 'e'), ""},
      {Step::kForce, PathOfLength(261, 'g'), ""},
      {Step::kForce, PathOfLength(261, 'h') + "\\i", ""},
      {Step::kForce, PathOfLength(256, 'k'), ""},
      {Step::kForce, PathOfLength(257, 'm'), ""},
      {Step::kList, PathOfLength(256, 'k'), ""},  // "\*.*" makes 260
      {Step::kList, PathOfLength(257, 'm'), ""},  // and 261
      {Step::kCopy, PathOfLength(260, 's'), b + "\\n2\\s"},
      {Step::kCopy, b + "\\a\\f.txt", PathOfLength(261, 't')},
      {Step::kCopy, b + "\\a\\f.txt", PathOfLength(262, 'u')},
      {Step::kCreate, PathOfLength(260, 'v'), ""},
      {Step::kCreate, PathOfLength(261, 'w'), ""},
      {Step::kCreate, b + "\\n2\\log.txt.", ""},
  };

  win32::Win32FileSystem disk(win32::SystemLeadBytes());
  MemoryFileSystem model(LeadBytes::Gbk(), MemoryFileSystem::WineBehaviour());
  testing::DiskSink diskSink;
  testing::MemorySink modelSink(model);
  testing::RemoveTreeLong(kBase);
  for (testing::CollectionSink* sink :
       std::vector<testing::CollectionSink*>{&diskSink, &modelSink}) {
    sink->AddFolder(b, kAttrDirectory);
    sink->AddFolder(b + "\\a", kAttrDirectory);
    sink->AddFolder(b + "\\mid", kAttrDirectory);
    sink->AddFolder(b + "\\sort", kAttrDirectory);
    sink->AddFolder(b + "\\long", kAttrDirectory);
    for (const auto& [path, content] : files) sink->AddFile(path, content, kAttrArchive);
  }
  for (const Step& step : steps) {
    EXPECT_EQ(Perform(model, step), Perform(disk, step)) << step.path << " " << step.path2;
  }
  const testing::Tree wine = diskSink.Snapshot(b);
  const testing::Tree modelled = modelSink.Snapshot(b);
  for (const auto& [path, entry] : wine) {
    auto other = modelled.find(path);
    if (other == modelled.end()) {
      ADD_FAILURE() << "only on Wine: " << path;
    } else {
      EXPECT_EQ(other->second.isFolder, entry.isFolder) << path;
      EXPECT_EQ(other->second.content, entry.content) << path;
    }
  }
  for (const auto& [path, entry] : modelled) {
    if (!wine.count(path)) ADD_FAILURE() << "only in the model: " << path;
  }
  testing::RemoveTreeLong(kBase);
}

}  // namespace
}  // namespace vx
