#include <gtest/gtest.h>

#include <cstring>

#include "TestSupport.h"
#include "runtime/Lifecycle.h"
#include "runtime/RuntimeError.h"

namespace qx {
namespace {

using test::TakeText;

TEST(Charset, NarrowLiteralsAreGbk) {
  const char* s = "运行时出错!";
  const unsigned char expected[] = {0xD4, 0xCB, 0xD0, 0xD0, 0xCA, 0xB1, 0xB3, 0xF6, 0xB4, 0xED, 0x21, 0};
  EXPECT_EQ(0, memcmp(s, expected, sizeof expected));
}

TEST(TaggedValueRecord, DoublesAndLongsSplitAcrossTheTwoWords) {
  TaggedValue d = MakeDouble(-2.5);
  EXPECT_EQ(kTagDouble, d.tag);
  EXPECT_EQ(-2.5, ValueDouble(d));
  TaggedValue l = MakeLong(-5000000000LL);
  EXPECT_EQ(0xFFFFFFFEu, l.hi);
  EXPECT_EQ(-5000000000LL, ValueLong(l));
  static char block[] = "x";
  TaggedValue t = MakeTextValue(block);
  EXPECT_EQ(block, ValueText(t));
}

TEST(TextValues, ConcatenatingEmptyTextsGivesATerminatorNotNull) {
  char* t = ConcatTexts(nullptr, "");
  ASSERT_NE(nullptr, t);
  EXPECT_EQ(0, t[0]);
  FreeMemory(t);
  EXPECT_EQ("ab中", TakeText(ConcatTexts("a", "b中")));
}

TEST(TextValues, ComparisonTreatsNullAsEmptyAndBytesAsUnsigned) {
  EXPECT_EQ(0, CompareTexts(nullptr, ""));
  EXPECT_EQ(-1, CompareTexts(nullptr, "a"));
  EXPECT_EQ(1, CompareTexts("a", nullptr));
  EXPECT_EQ(-1, CompareTexts("a", "b"));
  EXPECT_EQ(1, CompareTexts("中", "z"));  // 0xD6 above ASCII
  EXPECT_EQ(-1, CompareTexts("ab", "abc"));
  EXPECT_EQ(0, CompareTexts("同", "同"));
}

TEST(TextValues, ProducersGiveNullForEmpty) {
  EXPECT_EQ(nullptr, MakeText("abc", 0));
  EXPECT_EQ(nullptr, MakeText("abc", -3));
  EXPECT_EQ(nullptr, CopyText(""));
  EXPECT_EQ(nullptr, MakeByteSet("x", 0));
  EXPECT_EQ(0, TextLength(nullptr));
}

TEST(TextValues, AssignmentCopiesBeforeFreeingTheOldValue) {
  char* var = CopyText("旧值");
  AssignText(&var, var);  // self-assignment must survive the free
  EXPECT_STREQ("旧值", var);
  AssignText(&var, nullptr);
  EXPECT_EQ(nullptr, var);
}

class ConstantAreaTest : public ::testing::Test {
 protected:
  // Laid out as the application lays its literals: the empty text, the
  // empty array {1, 0}, then texts.
  struct Area {
    char empty;
    char pad[3];
    int32_t emptyArray[2];
    char hello[6];
  };
  alignas(4) static inline Area area = {0, {0, 0, 0}, {1, 0}, "hello"};
  void SetUp() override { SetConstantArea(&area, sizeof area); }
  void TearDown() override { SetConstantArea(nullptr, 0); }
};

TEST_F(ConstantAreaTest, FreeingALiteralLeavesItIntact) {
  FreeMemory(&area.empty);
  FreeMemory(area.hello);
  FreeMemory(area.emptyArray);
  EXPECT_STREQ("hello", area.hello);
  EXPECT_EQ(1, area.emptyArray[0]);
}

TEST_F(ConstantAreaTest, ReallocatingALiteralCopiesItOut) {
  char* p = static_cast<char*>(ReallocateMemory(area.hello, 32));
  EXPECT_FALSE(InConstantArea(p));
  EXPECT_STREQ("hello", p);  // the copy stops at the area's end, terminator included
  p[0] = 'J';
  EXPECT_STREQ("hello", area.hello);
  FreeMemory(p);
  // Shrinking copies only what fits.
  char* q = static_cast<char*>(ReallocateMemory(area.hello, 2));
  EXPECT_EQ('h', q[0]);
  EXPECT_EQ('e', q[1]);
  FreeMemory(q);
}

TEST_F(ConstantAreaTest, ArraysInTheAreaAreDetachedBeforeChange) {
  void* slot = area.emptyArray;
  EXPECT_EQ(0, ArrayElementCount(slot));
  FreeArray(slot, kTagText);  // a literal is never handed to the heap
  EXPECT_EQ(1, area.emptyArray[0]);
}

TEST(Arrays, ElementCountIsTheProductOfTheSizes) {
  int32_t twoByThree[2 + 1 + 6] = {2, 2, 3};
  EXPECT_EQ(6, ArrayElementCount(twoByThree));
  int32_t none[1] = {0};
  EXPECT_EQ(0, ArrayElementCount(none));
  EXPECT_EQ(0, ArrayElementCount(nullptr));
}

TEST(ArraysDeathTest, IndexBelowOneIsError4AndPastTheEndIsError1) {
  SetRuntimeErrorHandler(test::TellingHandler);
  void* empty = MakePointerArray(0);
  // The last element of an empty array has index 0.
  EXPECT_EXIT(ArrayElementAddress(empty, ArrayElementCount(empty), sizeof(void*)),
              ::testing::ExitedWithCode(test::kExitMinusOne),
              "code=4 msg=" + test::Hex("数组成员引用下标必须大于等于1"));
  void* two = MakePointerArray(2);
  EXPECT_NE(nullptr, ArrayElementAddress(two, 2, sizeof(void*)));
  EXPECT_EXIT(ArrayElementAddress(two, 3, sizeof(void*)),
              ::testing::ExitedWithCode(test::kExitMinusOne), "code=1 ");
  SetRuntimeErrorHandler(nullptr);
  FreeArray(empty, kTagText);
  FreeArray(two, kTagText);
}

// Sizes past the runtime's 32-bit limits are refused as allocations that
// cannot be made, never wrapped into a small block (or a small count) that
// the caller would then overrun.
TEST(ArraysDeathTest, SizesPastThirtyTwoBitsAreRefused) {
  SetRuntimeErrorHandler(test::TellingHandler);
  const std::string refused = "code=0 msg=" + test::Hex("分配 -1 字节内存失败!") + "]";
  static const char kByte = 'x';
  // A text of INT32_MAX bytes has no room left for its terminator.
  EXPECT_EXIT(MakeText(&kByte, INT32_MAX), ::testing::ExitedWithCode(test::kExitMinusOne), refused);
  // 2^29 pointers: a header plus 2 GiB or more.
  EXPECT_EXIT(MakePointerArray(int32_t{1} << 29), ::testing::ExitedWithCode(test::kExitMinusOne),
              refused);
  // Sizes whose product is 2^33: no such array fits in memory.
  int32_t huge[1 + 3] = {3, 65536, 65536, 2};
  EXPECT_EXIT(ArrayElementCount(huge), ::testing::ExitedWithCode(test::kExitMinusOne), refused);
  SetRuntimeErrorHandler(nullptr);
  int32_t negative[1 + 2] = {2, 4, -1};
  EXPECT_EQ(0, ArrayElementCount(negative));
}

}  // namespace
}  // namespace qx
