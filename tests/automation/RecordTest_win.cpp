// Records (VT_RECORD through IRecordInfo) held in object values.
#include "EngineFixture_win.h"

namespace qx::test {
namespace {

struct PointData {
  LONG x;
  LONG y;
  BSTR label;
};

class RecordTest : public EngineTest {
 protected:
  // A new object value holding a ProbePoint record.
  ObjectBlock* NewPoint(LONG x, LONG y, const wchar_t* label) {
    IRecordInfo* info = ProbePointInfo();
    auto* data = static_cast<PointData*>(info->RecordCreate());
    data->x = x;
    data->y = y;
    data->label = SysAllocString(label);
    ObjectBlock* block = NewObjectBlock();
    block->iface = info;  // the block owns this reference
    block->record = data;
    return block;
  }
};

TEST_F(RecordTest, ARecordArgumentIsLentNotCleared) {
  ObjectBlock* point = NewPoint(3, 4, L"Q");
  EXPECT_EQ(TextOf("Describe", {ObjectValue(point)}), "36:3,4,Q");
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  // The caller's record is intact after the call.
  auto* data = static_cast<PointData*>(point->record);
  ASSERT_NE(data->label, nullptr);
  EXPECT_STREQ(data->label, L"Q");
  EXPECT_EQ(TextOf("Describe", {ObjectValue(point)}), "36:3,4,Q");
  // Calling through a record fails: its interface is the record information.
  Number("Count", {}, kInvokeRead);
  FreeObjectBlock(point);
}

// A record result converts to nothing, not even to the variant type.
TEST_F(RecordTest, ARecordResultIsAFailedRead) {
  ObjectBlock* o = ObjectOf("Point");
  EXPECT_EQ(LastAutomationStatus(), kAutomationBadResult);
  EXPECT_EQ(o->iface, nullptr);
  FreeObjectBlock(o);
  TaggedValue v = Call(kTagVariant, kInvokeRead, "Point");
  EXPECT_EQ(LastAutomationStatus(), kAutomationBadResult);
  auto* held = static_cast<VARIANT*>(ValuePointer(v));
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(V_VT(held), VT_EMPTY);
  FreeMemory(held);
}

// Nor is a record written back: the call succeeds, the variables keep what
// they held.
TEST_F(RecordTest, ARecordOutParameterLeavesTheVariableAlone) {
  auto* held = static_cast<VARIANT*>(AllocateMemory(sizeof(VARIANT)));
  VariantInit(held);
  V_VT(held) = VT_I4;
  V_I4(held) = 5;
  Call(0, kInvokeCall, "MakePoint", {MakeInt(7), MakeInt(8), ByRef(&held, kTagVariant)});
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(V_VT(held), VT_I4);
  EXPECT_EQ(V_I4(held), 5);
  FreeMemory(held);
}

}  // namespace
}  // namespace qx::test
