// The two files a window names: the help file F1 opens and the icon file
// whose images become its icons.
#include <gtest/gtest.h>

#include "ui/ByteWriter.h"
#include "ui/HelpFile.h"
#include "ui/IconData.h"

namespace qx {
namespace {

TEST(HelpFile, TheStoredNameElseTheProgramsNameWithHlpInItsFolder) {
  EXPECT_EQ("手册.hlp", HelpFileOf("手册.hlp", "C:\\程序", "演示.exe"));
  EXPECT_EQ("C:\\程序\\演示.hlp", HelpFileOf("", "C:\\程序", "演示.exe"));
  EXPECT_EQ("C:\\a.b\\c.d.hlp", HelpFileOf("", "C:\\a.b", "c.d.exe"));
  EXPECT_EQ("C:\\prog.hlp", HelpFileOf("", "C:", "prog"));
  EXPECT_EQ("prog.hlp", HelpFileOf("", "", "prog.exe"));
}

// An icon file of entries (width, bit count, bytes); the images are filler.
std::string IconFile(std::initializer_list<std::array<uint32_t, 3>> entries) {
  ByteWriter w;
  w.U16(0);
  w.U16(1);
  w.U16(static_cast<uint16_t>(entries.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
  std::string images;
  for (const auto& [width, bits, size] : entries) {
    w.Raw(std::string{static_cast<char>(width & 0xFF), static_cast<char>(width & 0xFF), 0, 0});
    w.U16(1);
    w.U16(static_cast<uint16_t>(bits));
    w.U32(size);
    w.U32(offset);
    offset += size;
    images += std::string(size, 'x');
  }
  return w.bytes + images;
}

TEST(IconData, TheNearestSizeIsChosenThenTheLargerThenTheDeeperColours) {
  std::string file = IconFile({{16, 8, 10}, {32, 4, 20}, {48, 32, 30}, {32, 32, 40}});
  IconImage image;
  ASSERT_TRUE(PickIconImage(file, 32, &image));
  EXPECT_EQ(40u, image.size);  // of the two 32s, the deeper
  ASSERT_TRUE(PickIconImage(file, 16, &image));
  EXPECT_EQ(10u, image.size);
  EXPECT_EQ(6u + 4 * 16, image.offset);
  ASSERT_TRUE(PickIconImage(file, 40, &image));
  EXPECT_EQ(30u, image.size);  // 32 and 48 are as near: the larger
  // Width 0 stands for 256.
  ASSERT_TRUE(PickIconImage(IconFile({{16, 32, 4}, {0, 32, 8}}), 200, &image));
  EXPECT_EQ(8u, image.size);
}

TEST(IconData, BytesThatAreNoIconFileOrPointOutsideItGiveNothing) {
  IconImage image;
  EXPECT_FALSE(PickIconImage("", 32, &image));
  EXPECT_FALSE(PickIconImage("BM6\0\0\0\0\0", 32, &image));
  std::string file = IconFile({{32, 32, 40}});
  EXPECT_FALSE(PickIconImage(file.substr(0, 10), 32, &image));  // the entry is cut off
  EXPECT_FALSE(PickIconImage(file.substr(0, file.size() - 1), 32, &image));  // so is its image
  file[2] = 2;  // a cursor file
  EXPECT_FALSE(PickIconImage(file, 32, &image));
  // A bad entry is passed over for a good one.
  std::string two = IconFile({{32, 32, 40}, {16, 32, 4}});
  two[6 + 12] = '\x7F';  // the first entry's offset far past the end
  ASSERT_TRUE(PickIconImage(two, 32, &image));
  EXPECT_EQ(4u, image.size);
}

}  // namespace
}  // namespace qx
