#include "core/path_text.h"

#include <gtest/gtest.h>

#include "tests/support/gbk.h"

namespace vx {
namespace {

using testing::Gbk;

struct ExtCase {
  std::string name;
  std::string expected;
};

TEST(ExtractFileExt, FollowsTheLastDotAfterTheLastSeparator) {
  const LeadBytes gbk = LeadBytes::Gbk();
  const ExtCase cases[] = {
      {"title1.png", ".png"},
      {"a.zip.zip", ".zip"},
      {"noext", ""},
      {".", "."},
      {"..", "."},
      {"trailing.", "."},
      {".hidden", ".hidden"},
      {"dir.v2\\file", ""},
      {"C:.txt", ".txt"},
      {"C:name", ""},
      {"a.b:c", ""},
      {"", ""},
  };
  for (const ExtCase& c : cases) EXPECT_EQ(ExtractFileExt(c.name, gbk), c.expected) << c.name;
}

TEST(ExtractFileExt, GbkTrailByte5CIsNoSeparator) {
  const LeadBytes gbk = LeadBytes::Gbk();
  // 誠 is D5 5C and 運 is DF 5C: a byte-wise scan would see "\" and drop the extension.
  ASSERT_EQ(Gbk("誠"), std::string("\xD5\x5C"));
  EXPECT_EQ(ExtractFileExt(Gbk("封.面誠"), gbk), Gbk(".面誠"));
  EXPECT_EQ(ExtractFileExt(Gbk("a.b運c"), gbk), Gbk(".b運c"));
  // With a single-byte table the same bytes do contain a separator.
  EXPECT_EQ(ExtractFileExt(Gbk("a.b運c"), LeadBytes()), "");
}

TEST(ExtractFilePath, KeepsTheLastSeparator) {
  const LeadBytes gbk = LeadBytes::Gbk();
  EXPECT_EQ(ExtractFilePath("C:\\tools\\v.exe", gbk), "C:\\tools\\");
  EXPECT_EQ(ExtractFilePath("C:v.exe", gbk), "C:");
  EXPECT_EQ(ExtractFilePath("v.exe", gbk), "");
  EXPECT_EQ(ExtractFilePath(Gbk("C:\\誠\\v.exe"), gbk), Gbk("C:\\誠\\"));
  EXPECT_EQ(ExtractFilePath(Gbk("C:\\a誠"), gbk), "C:\\");
}

TEST(ExcludeTrailingSeparators, DropsOnlyRealSeparators) {
  const LeadBytes gbk = LeadBytes::Gbk();
  EXPECT_EQ(ExcludeTrailingSeparators("C:\\\\", gbk), "C:");
  EXPECT_EQ(ExcludeTrailingSeparators("C:\\a\\", gbk), "C:\\a");
  EXPECT_EQ(ExcludeTrailingSeparators(Gbk("C:\\誠"), gbk), Gbk("C:\\誠"));
  EXPECT_EQ(ExcludeTrailingSeparators(Gbk("C:\\誠\\"), gbk), Gbk("C:\\誠"));
  EXPECT_EQ(ExcludeTrailingSeparators("\\", gbk), "");
}

struct ReplaceCase {
  std::string text, from, to, expected;
};

TEST(ReplaceAll, NonOverlappingCaseSensitiveLeftToRight) {
  const LeadBytes gbk = LeadBytes::Gbk();
  const ReplaceCase cases[] = {
      {"game1.zip", ".zip", ".png", "game1.png"},
      {"a.zip.zip", ".zip", ".png", "a.png.png"},
      {"Game1.ZIP", ".zip", ".png", "Game1.ZIP"},
      {"game.7z", ".zip", ".png", "game.7z"},
      {"x.zip", ".zip", "", "x"},
      {"x.zip", ".zip", ".", "x."},
      {"aaaa", "aa", "b", "bb"},
      {"aaa", "aa", "b", "ba"},
      {"C:\\M\\C:\\M\\A", "C:\\M\\", "", "A"},
      {"C:\\\\A", "C:\\\\", "", "A"},
      {"abc", "", "x", "abc"},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(ReplaceAll(c.text, c.from, c.to, gbk), c.expected) << c.text << " / " << c.from;
  }
}

TEST(ReplaceAll, NeverMatchesInsideADoubleByteCharacter) {
  const LeadBytes gbk = LeadBytes::Gbk();
  // "\" + "A": inside 誠A the 5C is a trail byte, so nothing matches there.
  EXPECT_EQ(ReplaceAll(Gbk("誠A"), "\\A", "", gbk), Gbk("誠A"));
  EXPECT_EQ(ReplaceAll(Gbk("運\\A"), "\\A", "", gbk), Gbk("運"));
  // A pattern that starts with a whole double-byte character does match it.
  EXPECT_EQ(ReplaceAll(Gbk("M誠\\A"), Gbk("M誠\\"), "", gbk), "A");
  // A lead byte takes the following byte with it, as the run-time's character scan does.
  EXPECT_EQ(ReplaceAll(std::string("\x81.zip"), ".zip", ".png", gbk), std::string("\x81.zip"));
}

}  // namespace
}  // namespace vx
