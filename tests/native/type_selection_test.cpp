#include "core/type_selection.h"

#include <gtest/gtest.h>

#include "tests/support/gbk.h"
#include "tests/support/memory_file_system.h"

namespace vx {
namespace {

using testing::Gbk;
using testing::MemoryFileSystem;

TEST(ListTypeFolders, OnlyPlainSubFoldersInListingOrder) {
  MemoryFileSystem fs;
  fs.AddFolder("C:\\M\\snap");
  fs.AddFile("C:\\M\\readme.txt", "");
  fs.AddFolder("C:\\M\\hidden", kAttrDirectory | kAttrHidden);
  fs.AddFolder("C:\\M\\readonly", kAttrDirectory | kAttrReadOnly);
  fs.AddFolder("C:\\M\\archived", kAttrDirectory | kAttrArchive);
  fs.AddFolder(Gbk("C:\\M\\封面誠"));
  fs.AddFolder("C:\\M\\box");
  EXPECT_EQ(ListTypeFolders(fs, "C:\\M"),
            (std::vector<std::string>{"snap", Gbk("封面誠"), "box"}));
  EXPECT_EQ(fs.OpenListings(), 0);
}

TEST(ListTypeFolders, UnlistableRootGivesNothing) {
  MemoryFileSystem fs;
  EXPECT_TRUE(ListTypeFolders(fs, "C:\\missing").empty());
}

TEST(ListTypeFolders, DriveRootAndEmptyPathListTheTopFolder) {
  MemoryFileSystem fs;
  fs.AddFolder("D:\\covers");
  fs.AddFolder("C:\\top");
  EXPECT_EQ(ListTypeFolders(fs, "D:\\"), std::vector<std::string>{"covers"});
  EXPECT_EQ(ListTypeFolders(fs, ""), std::vector<std::string>{"top"});
}

TEST(BuildSelectedTypeList, TickedItemsJoinedToTheRoot) {
  const std::vector<TypeChoice> choices = {{"A", true}, {"B", false}, {"C", true}};
  EXPECT_EQ(BuildSelectedTypeList("C:\\M", choices),
            (std::vector<std::string>{"C:\\M\\A", "C:\\M\\C"}));
  EXPECT_EQ(BuildSelectedTypeList("D:\\", choices),
            (std::vector<std::string>{"D:\\\\A", "D:\\\\C"}));
  EXPECT_TRUE(BuildSelectedTypeList("C:\\M", {{"A", false}}).empty());
}

}  // namespace
}  // namespace vx
