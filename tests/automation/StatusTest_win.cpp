// Every way a call can fail: the status left for the thread, and the reset
// result (0.0, an empty object, a zeroed variant) with nothing shown.
#include <thread>

#include "EngineFixture_win.h"

namespace qx::test {
namespace {

class StatusTest : public EngineTest {
 protected:
  // Reads "Count" as a number and as an object on `block`; both must fail
  // with `status` and come back reset.
  void ExpectFailure(ObjectBlock* block, int32_t status, const char* member = "Count") {
    TaggedValue n = Call(kTagDouble, kInvokeRead, member, {}, block);
    EXPECT_EQ(LastAutomationStatus(), status) << member;
    EXPECT_EQ(n.tag, kTagDouble);
    EXPECT_EQ(ValueDouble(n), 0.0);
    ObjectBlock* o = static_cast<ObjectBlock*>(ValuePointer(Call(kTagObject, kInvokeRead, member, {}, block)));
    EXPECT_EQ(LastAutomationStatus(), status) << member;
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->iface, nullptr);
    EXPECT_EQ(o->record, nullptr);
    FreeMemory(o);
  }
};

TEST_F(StatusTest, ObjectsThatCannotBeCalled) {
  ObjectBlock* empty = NewObjectBlock();
  ExpectFailure(empty, kAutomationEmptyObject);
  EXPECT_EQ(empty->iface, nullptr);  // the variable passed in is unchanged
  // A failed object read gives an empty object, on which reads fail again.
  ObjectBlock* none = ObjectOf("NoSuchMember");
  ExpectFailure(none, kAutomationEmptyObject);
  FreeObjectBlock(none);
  FreeObjectBlock(empty);

  IUnknown* bare = NewBareObject();
  ObjectBlock* bareBlock = NewObjectBlockFor(bare);
  bare->Release();
  ExpectFailure(bareBlock, kAutomationNoDispatch);
  FreeObjectBlock(bareBlock);

  IUnknown* blind = NewBlindObject();
  ObjectBlock* blindBlock = NewObjectBlockFor(blind);
  blind->Release();
  ExpectFailure(blindBlock, kAutomationNoTypeInfo);
  FreeObjectBlock(blindBlock);

  // An argument 0 that is no object at all is the empty object.
  TaggedValue args[2] = {MakeInt(1), Text("Count")};
  TaggedValue r = {0, 0, kTagDouble};
  InvokeByName(&r, 2, args, kInvokeRead);
  EXPECT_EQ(LastAutomationStatus(), kAutomationEmptyObject);
}

TEST_F(StatusTest, NamesArgumentsAndResultsThatDoNotFit) {
  ExpectFailure(object_, kAutomationNameNotBound, "Cuont");
  int before = state_->invokes;
  Number("Count", {MakeInt(1), MakeInt(2)});
  EXPECT_EQ(LastAutomationStatus(), kAutomationTooManyArguments);
  // A byte set has no VARIANT form.
  TaggedValue byteSet = {0, 0, kTagByteSet};
  EXPECT_EQ(Number("Add", {MakeDouble(1), byteSet}, kInvokeCall), 0.0);
  EXPECT_EQ(LastAutomationStatus(), kAutomationBadArgumentType);
  EXPECT_EQ(state_->invokes, before);

  // A text that is no number, read as a number.
  state_->name = L"abc";
  EXPECT_EQ(Number("Name"), 0.0);
  EXPECT_EQ(LastAutomationStatus(), kAutomationBadResult);
  // A wanted type with no VARIANT counterpart.
  TaggedValue r = Call(kTagByteSet, kInvokeRead, "Count");
  EXPECT_EQ(LastAutomationStatus(), kAutomationBadResult);
  EXPECT_EQ(r.lo, 0u);
  EXPECT_EQ(r.tag, kTagByteSet);
  // A failed variant read gives a zeroed variant block.
  state_->failNext = E_FAIL;
  TaggedValue v = Call(kTagVariant, kInvokeRead, "Count");
  auto* held = static_cast<VARIANT*>(ValuePointer(v));
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(V_VT(held), VT_EMPTY);
  FreeMemory(held);
}

TEST_F(StatusTest, EveryFailingResultOfInvokeHasItsStatus) {
  const struct {
    HRESULT hr;
    int32_t status;
  } cases[] = {
      {DISP_E_BADPARAMCOUNT, -9},  {DISP_E_BADVARTYPE, -10},   {DISP_E_EXCEPTION, -11},
      {DISP_E_MEMBERNOTFOUND, -12}, {DISP_E_NONAMEDARGS, -13}, {DISP_E_OVERFLOW, -14},
      {DISP_E_PARAMNOTFOUND, -15}, {DISP_E_TYPEMISMATCH, -16}, {DISP_E_PARAMNOTOPTIONAL, -17},
      {E_FAIL, -18},               {E_OUTOFMEMORY, -18},       {DISP_E_UNKNOWNNAME, -18},
  };
  for (const auto& c : cases) {
    Call(0, kInvokeWrite, "FailWith", {MakeInt(static_cast<int32_t>(c.hr))});
    ASSERT_EQ(LastAutomationStatus(), kAutomationOk);
    ASSERT_EQ(state_->failNext, c.hr);
    EXPECT_EQ(Number("Count"), 0.0);
    EXPECT_EQ(LastAutomationStatus(), c.status) << std::hex << c.hr;
    // The next call succeeds again and says so.
    EXPECT_EQ(Number("Count"), 42.0);
    EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  }
}

TEST_F(StatusTest, TheStatusBelongsToTheThread) {
  Number("Cuont");
  ASSERT_EQ(LastAutomationStatus(), kAutomationNameNotBound);
  int32_t seen = 1;
  std::thread other([&] { seen = LastAutomationStatus(); });
  other.join();
  EXPECT_EQ(seen, kAutomationOk);
  EXPECT_EQ(LastAutomationStatus(), kAutomationNameNotBound);
}

}  // namespace
}  // namespace qx::test
