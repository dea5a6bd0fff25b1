// A kind's record of operations and the numbered interface a library built
// apart is given instead.
#include <gtest/gtest.h>

#include "ui/UnitKind.h"

namespace qx {
namespace {

UnitObject* Create(const CreateArgs&) { return nullptr; }
intptr_t Notify(UnitObject*, uint32_t, uintptr_t, intptr_t) { return 0; }
bool Set(UnitObject*, int32_t, const RawProperty&) { return false; }
std::string Block(UnitObject*) { return {}; }
void Get(UnitObject*, int32_t, RawProperty*) {}
bool Wants(UnitObject*, uint32_t) { return false; }
bool Visit(std::string*, TextVisitorFn, void*) { return true; }

constexpr UnitOperations kAll = {Create, Notify, Set, Block, Get, Wants, Visit};
constexpr UnitOperations kCreateOnly = {.createControl = Create};

void* Fn(auto* f) { return reinterpret_cast<void*>(f); }

TEST(UnitKindInterface, HandsOutEachOperationOfTheRecordByItsNumber) {
  UnitInterfaceFn byNumber = NumberedInterface<kAll>;
  EXPECT_EQ(Fn(Create), byNumber(kOpCreateControl));
  EXPECT_EQ(Fn(Notify), byNumber(kOpNotify));
  EXPECT_EQ(Fn(Set), byNumber(kOpSetTypeProperty));
  EXPECT_EQ(Fn(Block), byNumber(kOpSettingsBlock));
  EXPECT_EQ(Fn(Get), byNumber(kOpGetTypeProperty));
  EXPECT_EQ(Fn(Wants), byNumber(kOpWantsKey));
  EXPECT_EQ(Fn(Visit), byNumber(kOpVisitTexts));
  for (int32_t none : {0, 3, 7, 10, -1}) EXPECT_EQ(nullptr, byNumber(none)) << none;
}

TEST(UnitKindInterface, AnOperationTheKindLacksIsNullThroughEitherWay) {
  EXPECT_EQ(Fn(Create), NumberedInterface<kCreateOnly>(kOpCreateControl));
  EXPECT_EQ(nullptr, NumberedInterface<kCreateOnly>(kOpNotify));
  const UnitKind plain = {"甲", "A", 0, nullptr, 0, nullptr};
  EXPECT_EQ(nullptr, OperationsOf(&plain).createControl);
  EXPECT_EQ(nullptr, OperationsOf(nullptr).notify);
  const UnitKind kind = {"乙", "B", 0, nullptr, 0, NumberedInterface<kCreateOnly>, &kCreateOnly};
  EXPECT_EQ(Create, OperationsOf(&kind).createControl);
}

}  // namespace
}  // namespace qx
