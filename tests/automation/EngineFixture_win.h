// A probe held in an object value, and short ways to call the engine on it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProbeObject_win.h"
#include "TestSupport.h"
#include "automation/AutomationStatus.h"
#include "automation/InvokeByName.h"
#include "automation/ObjectBlock.h"
#include "runtime/RuntimeState.h"
#include "ui/WindowRuntime_win.h"

namespace qx::test {

inline TaggedValue ObjectValue(ObjectBlock* block) {
  TaggedValue v;
  SetValuePointer(&v, block, kTagObject);
  return v;
}

// A by-reference argument: bit 29 on the tag, the variable's address.
inline TaggedValue ByRef(void* variable, uint32_t tag) {
  TaggedValue v;
  SetValuePointer(&v, variable, tag | kTagByRef);
  return v;
}

class EngineTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    g_runtime.libraries.assign(1, CoreLibrary());
  }

  void SetUp() override {
    ASSERT_NE(ProbeTypeInfo(), nullptr) << "the test program's type library did not load";
    live_ = LiveProbeObjects();
    IQxProbe* probe = NewProbe(&state_);
    object_ = NewObjectBlockFor(probe);
    probe->Release();
  }

  void TearDown() override {
    FreeObjectBlock(object_);
    EXPECT_EQ(LiveProbeObjects(), live_) << "a reference was kept or dropped once too often";
  }

  TaggedValue Call(uint32_t wanted, int32_t kind, const char* member,
                   std::vector<TaggedValue> rest = {}, ObjectBlock* on = nullptr) {
    std::vector<TaggedValue> args = {ObjectValue(on ? on : object_), Text(member)};
    args.insert(args.end(), rest.begin(), rest.end());
    TaggedValue result = {0, 0, wanted};
    InvokeByName(&result, static_cast<int32_t>(args.size()), args.data(), kind);
    return result;
  }
  double Number(const char* member, std::vector<TaggedValue> rest = {}, int32_t kind = kInvokeRead) {
    return ValueDouble(Call(kTagDouble, kind, member, rest));
  }
  std::string TextOf(const char* member, std::vector<TaggedValue> rest = {},
                     int32_t kind = kInvokeCall) {
    return TakeText(Call(kTagText, kind, member, rest));
  }
  // The object result as a block the test owns.
  ObjectBlock* ObjectOf(const char* member, ObjectBlock* on = nullptr) {
    return static_cast<ObjectBlock*>(ValuePointer(Call(kTagObject, kInvokeRead, member, {}, on)));
  }

  ProbeState* state_ = nullptr;
  ObjectBlock* object_ = nullptr;
  int live_ = 0;
};

}  // namespace qx::test
