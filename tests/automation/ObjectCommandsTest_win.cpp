// The core library's object commands, request 2035 and object-compatible
// value types.
#include "EngineFixture_win.h"
#include "automation/ObjectCommands.h"
#include "automation/ObjectValue.h"
#include "runtime/RuntimeService.h"
#include "ui/UnitKind.h"

namespace qx::test {
namespace {

using ObjectCommandsTest = EngineTest;

TEST_F(ObjectCommandsTest, ReadsGiveADoubleOrANewObject) {
  TaggedValue args[3] = {ObjectValue(object_), Text("Item"), MakeInt(3)};
  TaggedValue n = CallCommand(ReadNumberProperty, 3, args);
  EXPECT_EQ(n.tag, kTagDouble);
  EXPECT_EQ(ValueDouble(n), 30.0);

  state_->child = NewProbe(nullptr);
  TaggedValue childArgs[2] = {ObjectValue(object_), Text("Child")};
  TaggedValue o = CallCommand(ReadObjectProperty, 2, childArgs);
  EXPECT_EQ(o.tag, kTagObject);
  auto* child = static_cast<ObjectBlock*>(ValuePointer(o));
  ASSERT_NE(child->iface, nullptr);

  // ClearObject empties the block and leaves it with the caller; twice is
  // harmless, and so is an empty object.
  TaggedValue clearArgs[1] = {ObjectValue(child)};
  CallCommand(ClearObject, 1, clearArgs);
  EXPECT_EQ(child->iface, nullptr);
  CallCommand(ClearObject, 1, clearArgs);
  TaggedValue onEmpty[2] = {ObjectValue(child), Text("Count")};
  EXPECT_EQ(ValueDouble(CallCommand(ReadNumberProperty, 2, onEmpty)), 0.0);
  EXPECT_EQ(LastAutomationStatus(), kAutomationEmptyObject);
  FreeMemory(child);
}

// With no spreadsheet application the converter's chain of reads yields 0
// and its loops never run.
TEST_F(ObjectCommandsTest, AChainOfReadsOnNothingEndsInZero) {
  ObjectBlock* sheet = NewObjectBlock();
  TaggedValue a1[2] = {ObjectValue(sheet), Text("UsedRange")};
  auto* used = static_cast<ObjectBlock*>(ValuePointer(CallCommand(ReadObjectProperty, 2, a1)));
  TaggedValue a2[2] = {ObjectValue(used), Text("Rows")};
  auto* rows = static_cast<ObjectBlock*>(ValuePointer(CallCommand(ReadObjectProperty, 2, a2)));
  TaggedValue a3[2] = {ObjectValue(rows), Text("Count")};
  EXPECT_EQ(ValueDouble(CallCommand(ReadNumberProperty, 2, a3)), 0.0);
  EXPECT_EQ(LastAutomationStatus(), kAutomationEmptyObject);
  FreeObjectBlock(rows);
  FreeObjectBlock(used);
  FreeObjectBlock(sheet);
}

TEST_F(ObjectCommandsTest, Request2035EmptiesAnObjectValue) {
  InstallObjectService();
  IUnknown* bare = NewBareObject();
  ObjectBlock* block = NewObjectBlockFor(bare);
  bare->Release();
  int live = LiveProbeObjects();
  RuntimeService(kRequestClearObject, reinterpret_cast<intptr_t>(block), 0);
  EXPECT_EQ(block->iface, nullptr);
  EXPECT_EQ(LiveProbeObjects(), live - 1);
  RuntimeService(kRequestClearObject, reinterpret_cast<intptr_t>(block), 0);
  FreeObjectBlock(block);
}

// A library type whose entry carries bit 24 converts exactly like 对象.
TEST_F(ObjectCommandsTest, ObjectCompatibleTypesConvertAsObjects) {
  static const UnitKind compatible = {"兼容对象", "Compatible", kKindObjectCompatible, nullptr, 0, nullptr};
  static const UnitKind plain = {"普通", "Plain", kKindNonVisual, nullptr, 0, nullptr};
  static const UnitKind* kinds[2] = {&compatible, &plain};
  static const TypeTable types = {2, kinds};
  static const LibraryRecord library = {"测试库", &types, nullptr};
  g_runtime.libraries.assign({CoreLibrary(), &library});
  const uint32_t compatibleTag = MakeUnitTag(2, 1), plainTag = MakeUnitTag(2, 2);
  EXPECT_TRUE(IsObjectCompatibleTag(kTagObject));
  EXPECT_TRUE(IsObjectCompatibleTag(compatibleTag));
  EXPECT_TRUE(IsObjectCompatibleTag(compatibleTag | kTagByRef));
  EXPECT_FALSE(IsObjectCompatibleTag(plainTag));
  EXPECT_FALSE(IsObjectCompatibleTag(kTagEditBox));
  EXPECT_FALSE(IsObjectCompatibleTag(MakeUnitTag(9, 1)));  // no such library
  EXPECT_FALSE(IsObjectCompatibleTag(kTagInt));

  state_->child = NewProbe(nullptr);
  TaggedValue o = Call(compatibleTag, kInvokeRead, "Child");
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(o.tag, compatibleTag);
  auto* child = static_cast<ObjectBlock*>(ValuePointer(o));
  ASSERT_NE(child->iface, nullptr);
  TaggedValue asArgument;
  SetValuePointer(&asArgument, child, compatibleTag);
  EXPECT_EQ(TextOf("TakeObjects", {asArgument, asArgument, asArgument}), "u:obj d:obj v:13:null");
  FreeObjectBlock(child);

  // Failure resets it to an empty block too; a plain library type is no
  // value the engine can pass or produce.
  auto* reset = static_cast<ObjectBlock*>(ValuePointer(Call(compatibleTag, kInvokeRead, "Cuont")));
  ASSERT_NE(reset, nullptr);
  EXPECT_EQ(reset->iface, nullptr);
  FreeMemory(reset);
  Call(plainTag, kInvokeRead, "Child");
  EXPECT_EQ(LastAutomationStatus(), kAutomationBadResult);
  TaggedValue plainArg = {1, 0, plainTag};
  TextOf("Describe", {plainArg});
  EXPECT_EQ(LastAutomationStatus(), kAutomationBadArgumentType);
  g_runtime.libraries.assign(1, CoreLibrary());
}

}  // namespace
}  // namespace qx::test
