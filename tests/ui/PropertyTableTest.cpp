// The generic get and set behind the kinds' property tables: each form of
// field crosses as the runtime expects, and a creation-only value asks for
// re-creation only when it changed.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "ui/PropertyTable.h"

namespace qx {
namespace {

struct Settings {
  bool flag = false;
  uint32_t choice = 2;
  int32_t number = -1;
  uint16_t character = '*';
  std::string text = "甲";
  uint32_t colours[3] = {1, 2, 3};
};

enum : int32_t { kFlag = kFirstOwnProperty, kChoice, kNumber, kCharacter, kText, kColour2, kNone };

constexpr SettingsProperty<Settings> kRows[] = {
    {kFlag, "开关", kValueLogical, &Settings::flag, kRecreate},
    {kChoice, "方式", kValueChoice, &Settings::choice},
    {kNumber, "数", kValueInt, &Settings::number},
    {kCharacter, "字符", kValueText, &Settings::character},
    {kText, "文本", kValueText, &Settings::text, kRecreate},
    {kColour2, "颜色2", kValueColour, {&Settings::colours, 1}},
    {kNone, "算出", kValueText, {}},
};
static_assert(RowsInNumberOrder(kRows));

constexpr UnitOperations kNoOperations = {};

int32_t Index(int32_t property) { return property - kFirstOwnProperty; }

RawProperty Int(int32_t i) {
  RawProperty p;
  p.i = i;
  return p;
}
RawProperty Bytes(const std::string& s) {
  RawProperty p;
  p.bytes = s;
  return p;
}
RawProperty Get(const Settings& s, int32_t property) {
  RawProperty out;
  GetSetting(kRows, Index(property), s, &out);
  return out;
}
bool Set(Settings* s, int32_t property, const RawProperty& v) {
  return SetSetting(kRows, Index(property), s, v);
}

TEST(PropertyTable, EachFormOfFieldIsReadAndStoredAsTheRuntimeConvertsIt) {
  Settings s;
  EXPECT_EQ(0, Get(s, kFlag).i);
  EXPECT_EQ(2, Get(s, kChoice).i);
  EXPECT_EQ(-1, Get(s, kNumber).i);
  EXPECT_EQ("*", Get(s, kCharacter).bytes);
  EXPECT_EQ("甲", Get(s, kText).bytes);
  EXPECT_EQ(2, Get(s, kColour2).i);

  Set(&s, kFlag, Int(7));
  EXPECT_TRUE(s.flag);
  EXPECT_EQ(1, Get(s, kFlag).i);
  Set(&s, kChoice, Int(-3));
  EXPECT_EQ(static_cast<uint32_t>(-3), s.choice);
  Set(&s, kNumber, Int(42));
  EXPECT_EQ(42, s.number);
  // A character takes the first byte of the text, unsigned; none gives 0.
  Set(&s, kCharacter, Bytes("\xA1\xA2"));
  EXPECT_EQ(0xA1, s.character);
  Set(&s, kCharacter, Bytes(""));
  EXPECT_EQ(0, s.character);
  Set(&s, kText, Bytes("乙"));
  EXPECT_EQ("乙", s.text);
  Set(&s, kColour2, Int(0xFFFFFF));
  EXPECT_EQ((std::vector<uint32_t>{1, 0xFFFFFF, 3}),
            std::vector<uint32_t>(std::begin(s.colours), std::end(s.colours)));
}

TEST(PropertyTable, OnlyAChangedCreationOnlyValueAsksForANewControl) {
  Settings s;
  EXPECT_TRUE(Set(&s, kFlag, Int(1)));
  EXPECT_FALSE(Set(&s, kFlag, Int(1)));
  EXPECT_TRUE(Set(&s, kText, Bytes("新")));
  EXPECT_FALSE(Set(&s, kText, Bytes("新")));
  EXPECT_FALSE(Set(&s, kChoice, Int(5)));  // stored, takes effect at once
  EXPECT_EQ(5u, s.choice);
}

TEST(PropertyTable, AValueWithoutAFieldOrPastTheTableTouchesNothing) {
  Settings s;
  RawProperty out = Int(9);
  out.bytes = "原样";
  GetSetting(kRows, Index(kNone), s, &out);
  GetSetting(kRows, static_cast<int32_t>(std::size(kRows)), s, &out);
  GetSetting(kRows, -1, s, &out);
  EXPECT_EQ(9, out.i);
  EXPECT_EQ("原样", out.bytes);
  Settings before = s;
  EXPECT_FALSE(Set(&s, kNone, Bytes("x")));
  EXPECT_FALSE(SetSetting(kRows, static_cast<int32_t>(std::size(kRows)), &s, Int(1)));
  EXPECT_EQ(before.text, s.text);
  EXPECT_EQ(before.flag, s.flag);
}

TEST(PropertyTable, TheRuntimesTableCarriesNamesTypesAndTheRecreateFlag) {
  constexpr auto infos = PropertyInfos(kRows);
  static_assert(infos.size() == std::size(kRows));
  EXPECT_STREQ("开关", infos[0].name);
  EXPECT_EQ(kValueLogical, infos[0].valueType);
  EXPECT_EQ(uint32_t{kPropertyRecreate}, infos[0].flags);
  EXPECT_EQ(0u, infos[1].flags);
  EXPECT_EQ(uint32_t{kPropertyRecreate}, infos[Index(kText)].flags);

  constexpr SettingsProperty<Settings> swapped[] = {
      {kChoice, "方式", kValueChoice, &Settings::choice},
      {kFlag, "开关", kValueLogical, &Settings::flag},
  };
  static_assert(!RowsInNumberOrder(swapped));
  const UnitKind kind = MakeUnitKind<kNoOperations>("甲", "A", 0, infos);
  EXPECT_EQ(infos.data(), kind.properties);
  EXPECT_EQ(static_cast<int32_t>(std::size(kRows)), kind.propertyCount);
  EXPECT_EQ(&kNoOperations, kind.operations);
}

}  // namespace
}  // namespace qx
