#include <gtest/gtest.h>

#include "reader/NumberFormat.h"

namespace qx::reader {
namespace {

TEST(NumberFormat, BuiltinIds) {
  for (int id : {14, 15, 16, 17, 18, 19, 20, 21, 22, 27, 31, 36, 45, 46, 47, 50, 55, 58}) {
    EXPECT_TRUE(IsDateFormat(id, "")) << id;
  }
  for (int id : {0, 1, 2, 9, 10, 11, 13, 23, 26, 37, 44, 48, 49, 59, 164}) {
    EXPECT_FALSE(IsDateFormat(id, "")) << id;
  }
}

TEST(NumberFormat, CustomCodesWithDateTokens) {
  for (const char* code : {"yyyy-mm-dd", "yyyy/m/d h:mm", "[$-804]yyyy\"年\"m\"月\"d\"日\"", "h:mm:ss AM/PM",
                           "[h]:mm:ss", "[mm]:ss", "mmm-yy", "dd", "[Red]yyyy-mm-dd", "ggge\"年\"", "yyyy-mm-dd;@",
                           "[DBNum1]yyyy\"年\"m\"月\"",
                           // The Buddhist year, as Thai locales write dates.
                           "bbbb", "[$-1070000]bb"}) {
    EXPECT_TRUE(IsDateFormat(164, code)) << code;
  }
}

TEST(NumberFormat, CustomCodesWithoutDateTokens) {
  for (const char* code : {"0.00", "#,##0", "0\" d\"", "\"day\" 0", "\\d0", "0.00E+00", "General", "@", "[Red]0.00",
                           "[$€-2] #,##0.00", "0_);[Red](0)", "* #,##0", "[>=100]0;0.0", "[Blue]General"}) {
    EXPECT_FALSE(IsDateFormat(164, code)) << code;
  }
  // An explicit code wins over the built-in id.
  EXPECT_FALSE(IsDateFormat(14, "0.00"));
}

}  // namespace
}  // namespace qx::reader
