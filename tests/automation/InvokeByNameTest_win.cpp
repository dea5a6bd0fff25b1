// The engine's calls against the probe: binding by name and invocation
// kind, argument conversion and order, by-reference write-back, results.
#include <cstring>

#include "EngineFixture_win.h"
#include "automation/ParameterType_win.h"

namespace qx::test {
namespace {

TEST_F(EngineTest, PropertiesAreReadWrittenAndAssignedByReference) {
  Call(0, kInvokeWrite, "Number", {MakeDouble(2.5)});
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(state_->number, 2.5);
  EXPECT_EQ(Number("Number"), 2.5);

  // "Count" arrives as an integer and leaves as a double.
  TaggedValue count = Call(kTagDouble, kInvokeRead, "count");
  EXPECT_EQ(count.tag, kTagDouble);
  EXPECT_EQ(ValueDouble(count), 42.0);
  // A property with an argument.
  EXPECT_EQ(Number("Item", {MakeInt(5)}), 50.0);

  // "Child" has only a by-reference setter: the write falls through to it.
  IQxProbe* other = NewProbe(nullptr);
  ObjectBlock* otherBlock = NewObjectBlockFor(other);
  other->Release();
  Call(0, kInvokeWrite, "Child", {ObjectValue(otherBlock)});
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_NE(state_->child, nullptr);
  ObjectBlock* child = ObjectOf("Child");
  EXPECT_NE(child->iface, nullptr);
  EXPECT_EQ(Number("Count", {}, kInvokeRead), 42.0);
  EXPECT_EQ(ValueDouble(Call(kTagDouble, kInvokeRead, "Count", {}, child)), 42.0);
  FreeObjectBlock(child);
  FreeObjectBlock(otherBlock);
}

// Properties that are variables of a dispatch interface: read as a property
// get whatever the kind, written by value or, for an interface, by reference.
TEST_F(EngineTest, VariablesOfADispatchInterface) {
  BagState* bag = nullptr;
  IUnknown* unknown = NewBag(&bag);
  ObjectBlock* block = NewObjectBlockFor(unknown);
  unknown->Release();
  Call(0, kInvokeWrite, "Level", {MakeInt(7)}, block);
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(bag->lastFlags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(bag->level, 7.0);
  EXPECT_EQ(ValueDouble(Call(kTagDouble, kInvokeRead, "Level", {}, block)), 7.0);
  EXPECT_EQ(bag->lastFlags, DISPATCH_PROPERTYGET);
  EXPECT_EQ(ValueDouble(Call(kTagDouble, kInvokeCall, "Level", {}, block)), 7.0);
  EXPECT_EQ(bag->lastFlags, DISPATCH_PROPERTYGET);
  // A variable takes no arguments when read, one when written.
  Call(kTagDouble, kInvokeRead, "Level", {MakeInt(1)}, block);
  EXPECT_EQ(LastAutomationStatus(), kAutomationTooManyArguments);
  Call(0, kInvokeWrite, "Link", {ObjectValue(object_)}, block);
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(bag->lastFlags, DISPATCH_PROPERTYPUTREF);
  EXPECT_TRUE(bag->linked);
  FreeObjectBlock(block);
}

// {6e1c3a52-4f0b-4b8e-9c55-1d2a7e3b9a02}, ProbeColour in Probe.idl.
const GUID kProbeColourGuid = {0x6e1c3a52, 0x4f0b, 0x4b8e,
                               {0x9c, 0x55, 0x1d, 0x2a, 0x7e, 0x3b, 0x9a, 0x02}};

ULONG References(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

// The member id the library gives the implicit object behind `name`.
MEMBERID ImplicitObjectMember(const wchar_t* name) {
  ITypeComp* comp = nullptr;
  ProbeTypeLib()->GetTypeComp(&comp);
  ITypeInfo* info = nullptr;
  DESCKIND kind = DESCKIND_NONE;
  BINDPTR bound = {};
  comp->Bind(const_cast<wchar_t*>(name), LHashValOfNameSys(SYS_WIN32, GetUserDefaultLCID(), name),
             INVOKE_PROPERTYGET, &info, &kind, &bound);
  comp->Release();
  EXPECT_EQ(kind, DESCKIND_IMPLICITAPPOBJ);
  if (kind != DESCKIND_IMPLICITAPPOBJ) return 0;
  MEMBERID id = bound.lpvardesc->memid;
  info->ReleaseVarDesc(bound.lpvardesc);
  info->Release();
  return id;
}

// Names bound through a whole type library: the name of a type binds to the
// type, which is nothing to call; a member of an application object binds
// to that implicit object, read and written as a variable.
TEST_F(EngineTest, NestedTypesAndImplicitApplicationObjects) {
  BagState* bag = nullptr;
  IUnknown* unknown = NewLibraryBound(&bag);
  ObjectBlock* block = NewObjectBlockFor(unknown);
  unknown->Release();

  ITypeInfo* colour = nullptr;
  ASSERT_EQ(ProbeTypeLib()->GetTypeInfoOfGuid(kProbeColourGuid, &colour), S_OK);
  const ULONG held = References(colour);
  for (int32_t kind : {kInvokeRead, kInvokeWrite, kInvokeCall}) {
    TaggedValue r = Call(kTagDouble, kind, "ProbeColour", {MakeInt(1)}, block);
    EXPECT_EQ(LastAutomationStatus(), kAutomationNameNotBound) << kind;
    EXPECT_EQ(ValueDouble(r), 0.0);
  }
  EXPECT_EQ(bag->lastFlags, 0) << "a type was called";
  EXPECT_EQ(References(colour), held) << "the type's comparison interface was kept";
  colour->Release();

  const MEMBERID app = ImplicitObjectMember(L"Number");
  bag->level = 2.5;
  for (int32_t kind : {kInvokeRead, kInvokeCall}) {
    EXPECT_EQ(ValueDouble(Call(kTagDouble, kind, "Number", {}, block)), 2.5) << kind;
    EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
    EXPECT_EQ(bag->lastFlags, DISPATCH_PROPERTYGET);
    EXPECT_EQ(bag->lastMember, app);
    EXPECT_EQ(bag->lastArgs, 0u);
  }
  bag->lastFlags = 0;
  Call(kTagDouble, kInvokeRead, "Number", {MakeInt(1)}, block);
  EXPECT_EQ(LastAutomationStatus(), kAutomationTooManyArguments);
  EXPECT_EQ(bag->lastFlags, 0);
  Call(0, kInvokeWrite, "Number", {MakeDouble(4)}, block);
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(bag->lastFlags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(bag->lastMember, app);
  EXPECT_EQ(bag->lastArgs, 1u);
  EXPECT_EQ(bag->lastNamedArgs, static_cast<UINT>(DISPID_PROPERTYPUT));
  EXPECT_EQ(bag->level, 4.0);
  FreeObjectBlock(block);
}

TEST_F(EngineTest, MethodsAreCalledAndPropertiesReachedAsCalls) {
  Call(0, kInvokeCall, "Nothing");
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(Number("Add", {MakeDouble(2), MakeInt(3)}, kInvokeCall), 5.0);
  // A read of a method, a call of a property.
  EXPECT_EQ(Number("Add", {MakeDouble(1), MakeDouble(0.5)}, kInvokeRead), 1.5);
  EXPECT_EQ(Number("Count", {}, kInvokeCall), 42.0);
  // Any other kind tries nothing.
  Call(kTagDouble, 7, "Count");
  EXPECT_EQ(LastAutomationStatus(), kAutomationNameNotBound);
}

TEST_F(EngineTest, OptionalAndOmittedArguments) {
  EXPECT_EQ(Number("Add", {MakeDouble(4)}, kInvokeCall), 4.0);
  // Trailing omitted arguments are as if not given, even past the count.
  EXPECT_EQ(Number("Add", {MakeDouble(4), Omitted(), Omitted(), Omitted()}, kInvokeCall), 4.0);
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  // One inside the list goes as "parameter not found".
  EXPECT_EQ(TextOf("Join", {Text(","), Text("a"), Omitted(), Text("b")}), "a,,b");
  // Too many for a member that takes a fixed number: nothing is called.
  int before = state_->invokes;
  EXPECT_EQ(Number("Add", {MakeDouble(1), MakeDouble(2), MakeDouble(3)}, kInvokeCall), 0.0);
  EXPECT_EQ(LastAutomationStatus(), kAutomationTooManyArguments);
  Number("Count", {MakeInt(1)});
  EXPECT_EQ(LastAutomationStatus(), kAutomationTooManyArguments);
  EXPECT_EQ(state_->invokes, before);
}

TEST_F(EngineTest, VariableArgumentsReuseTheLastParameter) {
  EXPECT_EQ(TextOf("Join", {Text("-"), Text("a"), MakeInt(2), MakeDouble(3.5), MakeBool(true)}),
            "a-2-3.5--1");
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(TextOf("Join", {Text("-")}), "");
}

TEST_F(EngineTest, OutParametersAreWrittenBackIntoTheCallersVariables) {
  int32_t a = 5;
  char* s = CopyText("x");
  double d = 1.5;
  Call(0, kInvokeCall, "Swap", {ByRef(&a, kTagInt), ByRef(&s, kTagText), ByRef(&d, kTagDouble)});
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(a, 6);
  EXPECT_EQ(std::string(s), "x!");
  EXPECT_EQ(d, 3.0);
  // Values given directly are lent, never written to.
  Call(0, kInvokeCall, "Swap", {MakeInt(1), Text(s), MakeDouble(d)});
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(std::string(s), "x!");
  FreeMemory(s);

  // Only out parameters are written back.
  int32_t seen = 8;
  EXPECT_EQ(Number("Peek", {ByRef(&seen, kTagInt)}, kInvokeCall), 8.0);
  EXPECT_EQ(seen, 8);

  // A long integer and a logical variable take the coerced values back; the
  // object variable keeps its block and gets the new object; the text goes
  // through code page 936, the character it lacks as "?".
  int64_t n = (int64_t{7} << 32) | 3;
  char* text = CopyText("旧");
  ObjectBlock* object = NewObjectBlock();
  ObjectBlock* const sameBlock = object;
  int32_t flag = 0;
  int live = LiveProbeObjects();
  Call(0, kInvokeCall, "Outputs",
       {ByRef(&n, kTagLong), ByRef(&text, kTagText), ByRef(&object, kTagObject), ByRef(&flag, kTagBool)});
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(n, 7);
  EXPECT_EQ(std::string(text), "输出?");
  EXPECT_EQ(object, sameBlock);
  EXPECT_NE(object->iface, nullptr);
  EXPECT_EQ(LiveProbeObjects(), live + 1);
  EXPECT_EQ(flag, 1);
  // Passed again, the old object is released as the new one arrives.
  Call(0, kInvokeCall, "Outputs",
       {ByRef(&n, kTagLong), ByRef(&text, kTagText), ByRef(&object, kTagObject), ByRef(&flag, kTagBool)});
  EXPECT_EQ(LiveProbeObjects(), live + 1);
  EXPECT_EQ(n, 15);
  FreeMemory(text);
  FreeObjectBlock(object);
  EXPECT_EQ(LiveProbeObjects(), live);
}

// An empty variant variable still receives what an in-out VARIANT parameter
// gives back (sent as "missing", the call would fail and the value be lost).
TEST_F(EngineTest, AnEmptyVariantVariableReceivesAnOutValue) {
  auto* held = static_cast<VARIANT*>(AllocateMemory(sizeof(VARIANT)));
  VariantInit(held);
  VARIANT* const sameBlock = held;
  Call(0, kInvokeCall, "Bump", {ByRef(&held, kTagVariant)});
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  ASSERT_EQ(held, sameBlock);
  EXPECT_EQ(V_VT(held), VT_I4);
  EXPECT_EQ(V_I4(held), 1);
  Call(0, kInvokeCall, "Bump", {ByRef(&held, kTagVariant)});
  EXPECT_EQ(V_I4(held), 2);
  // Given by value, the variant is the caller's and stays as it was.
  TaggedValue byValue;
  SetValuePointer(&byValue, held, kTagVariant);
  Call(0, kInvokeCall, "Bump", {byValue});
  EXPECT_EQ(V_I4(held), 2);
  VariantClear(held);
  FreeMemory(held);
}

TEST_F(EngineTest, IntUintEnumAndAliasParameters) {
  EXPECT_EQ(Number("Widths", {MakeInt(-3), MakeInt(7)}, kInvokeCall), -2993.0);
  EXPECT_EQ(Number("Shade", {MakeInt(4), MakeInt(250)}, kInvokeCall), 4250.0);
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
}

// The parameter types the engine sees, straight from the type library.
TEST_F(EngineTest, ParameterTypesResolveThroughTheTypeLibrary) {
  ITypeInfo* info = ProbeTypeInfo();
  ITypeComp* comp = nullptr;
  ASSERT_TRUE(SUCCEEDED(info->GetTypeComp(&comp)));
  auto types = [&](const wchar_t* name, WORD kind) {
    std::vector<VARTYPE> out;
    ITypeInfo* bound = nullptr;
    DESCKIND desc = DESCKIND_NONE;
    BINDPTR ptr = {};
    ULONG hash = LHashValOfNameSys(SYS_WIN32, 0, name);
    if (SUCCEEDED(comp->Bind(const_cast<wchar_t*>(name), hash, kind, &bound, &desc, &ptr)) &&
        desc == DESCKIND_FUNCDESC) {
      for (SHORT i = 0; i < ptr.lpfuncdesc->cParams; ++i)
        out.push_back(EffectiveParameterType(bound, ptr.lpfuncdesc->lprgelemdescParam[i].tdesc));
      bound->ReleaseFuncDesc(ptr.lpfuncdesc);
    }
    if (bound) bound->Release();
    return out;
  };
  using V = std::vector<VARTYPE>;
  EXPECT_EQ(types(L"Widths", INVOKE_FUNC), (V{VT_I4, VT_UI4}));
  EXPECT_EQ(types(L"Shade", INVOKE_FUNC), (V{VT_I4, VT_I4}));  // enum; alias of an alias
  EXPECT_EQ(types(L"Swap", INVOKE_FUNC), (V{VT_BYREF | VT_I4, VT_BYREF | VT_BSTR, VT_BYREF | VT_R8}));
  EXPECT_EQ(types(L"Join", INVOKE_FUNC), (V{VT_BSTR, VT_ARRAY | VT_VARIANT}));
  EXPECT_EQ(types(L"Child", INVOKE_PROPERTYPUTREF), (V{VT_DISPATCH}));
  EXPECT_EQ(types(L"Outputs", INVOKE_FUNC),
            (V{VT_BYREF | VT_I4, VT_BYREF | VT_BSTR, VT_BYREF | VT_UNKNOWN, VT_BYREF | VT_BOOL}));
  comp->Release();
}

TEST_F(EngineTest, ArgumentValuesBecomeTheirVariants) {
  EXPECT_EQ(TextOf("Describe", {MakeBool(true)}), "11:-1");
  EXPECT_EQ(TextOf("Describe", {TaggedValue{5, 0, kTagBool}}), "11:-1");
  EXPECT_EQ(TextOf("Describe", {MakeBool(false)}), "11:0");
  EXPECT_EQ(TextOf("Describe", {MakeByte(200)}), "17:200");
  EXPECT_EQ(TextOf("Describe", {TaggedValue{static_cast<uint32_t>(-5), 0, kTagShort}}), "2:-5");
  EXPECT_EQ(TextOf("Describe", {MakeInt(-7)}), "3:-7");
  EXPECT_EQ(TextOf("Describe", {MakeLong((int64_t{1} << 32) + 5)}), "3:5");  // the low 32 bits
  float f = 1.5f;
  TaggedValue single = {0, 0, kTagFloat};
  std::memcpy(&single.lo, &f, 4);
  EXPECT_EQ(TextOf("Describe", {single}), "4:1.5");
  EXPECT_EQ(TextOf("Describe", {MakeDouble(-0.25)}), "5:-0.25");
  TaggedValue date = MakeDouble(45000.5);
  date.tag = kTagDateTime;
  EXPECT_EQ(TextOf("Describe", {date}), "7:45000.5");
  // A null text is a (null) BSTR, not a missing argument. (The platform's
  // Invoke hands the server a copy, which is an empty string.)
  EXPECT_EQ(TextOf("Describe", {Text(nullptr)}), "8:");

  // A runtime variant goes through as it is; an empty one counts as missing.
  VARIANT held;
  VariantInit(&held);
  V_VT(&held) = VT_I2;
  V_I2(&held) = 9;
  TaggedValue variant;
  SetValuePointer(&variant, &held, kTagVariant);
  EXPECT_EQ(TextOf("Describe", {variant}), "2:9");
  VariantInit(&held);
  EXPECT_EQ(TextOf("Describe", {variant}), "10:80020004");
}

TEST_F(EngineTest, ObjectArgumentsFollowTheParameterType) {
  IQxProbe* other = NewProbe(nullptr);
  ObjectBlock* block = NewObjectBlockFor(other);
  other->Release();
  TaggedValue o = ObjectValue(block);
  EXPECT_EQ(TextOf("TakeObjects", {o, o, o}), "u:obj d:obj v:13:null");
  ObjectBlock* empty = NewObjectBlock();
  TaggedValue e = ObjectValue(empty);
  EXPECT_EQ(TextOf("TakeObjects", {e, e, e}), "u:null d:null v:13:null");
  // An object without IDispatch cannot go where IDispatch is wanted.
  IUnknown* bare = NewBareObject();
  ObjectBlock* bareBlock = NewObjectBlockFor(bare);
  bare->Release();
  TaggedValue b = ObjectValue(bareBlock);
  EXPECT_EQ(TextOf("TakeObjects", {b, b, b}), "u:obj d:null v:13:null");
  FreeObjectBlock(bareBlock);
  FreeObjectBlock(empty);
  FreeObjectBlock(block);
}

TEST_F(EngineTest, TextCrossesThroughCodePage936BothWays) {
  Call(0, kInvokeWrite, "Name", {Text("中文题库")});
  EXPECT_EQ(state_->name, L"中文题库");
  EXPECT_EQ(TextOf("Name", {}, kInvokeRead), "中文题库");
  // Characters the code page lacks come out as its default character.
  state_->name = L"A\x0E01\x00FF" L"B";
  EXPECT_EQ(TextOf("Name", {}, kInvokeRead), "A??B");
  // An empty result is the empty text: null.
  state_->name.clear();
  EXPECT_EQ(ValuePointer(Call(kTagText, kInvokeRead, "Name")), nullptr);
  // The member name itself goes through the code page too.
  Number("不存在");
  EXPECT_EQ(LastAutomationStatus(), kAutomationNameNotBound);
}

TEST_F(EngineTest, DatesAndOtherResultTypes) {
  TaggedValue date = MakeDouble(45123.25);
  date.tag = kTagDateTime;
  Call(0, kInvokeWrite, "When", {date});
  EXPECT_EQ(state_->when, 45123.25);
  TaggedValue back = Call(kTagDateTime, kInvokeRead, "When");
  EXPECT_EQ(back.lo, date.lo);
  EXPECT_EQ(back.hi, date.hi);
  // A date-time variable passed by reference is read as its eight bytes.
  double variable = 40000.75;
  Call(0, kInvokeWrite, "When", {ByRef(&variable, kTagDateTime)});
  EXPECT_EQ(LastAutomationStatus(), kAutomationOk);
  EXPECT_EQ(state_->when, 40000.75);

  EXPECT_EQ(static_cast<int32_t>(Call(kTagInt, kInvokeRead, "Count").lo), 42);
  EXPECT_EQ(Call(kTagByte, kInvokeRead, "Count").lo, 42u);
  EXPECT_EQ(Call(kTagBool, kInvokeRead, "Count").lo, 1u);
  state_->number = -2;
  TaggedValue longValue = Call(kTagLong, kInvokeRead, "Number");
  EXPECT_EQ(ValueLong(longValue), -2);  // sign-extended
  EXPECT_EQ(static_cast<int16_t>(Call(kTagShort, kInvokeRead, "Number").lo), -2);
  TaggedValue single = Call(kTagFloat, kInvokeRead, "Number");
  float f;
  std::memcpy(&f, &single.lo, 4);
  EXPECT_EQ(f, -2.0f);
  EXPECT_EQ(TakeText(Call(kTagText, kInvokeRead, "Count")), "42");

  // The variant type receives its own copy.
  TaggedValue v = Call(kTagVariant, kInvokeRead, "Count");
  auto* held = static_cast<VARIANT*>(ValuePointer(v));
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(V_VT(held), VT_I4);
  EXPECT_EQ(V_I4(held), 42);
  VariantClear(held);
  FreeMemory(held);
}

}  // namespace
}  // namespace qx::test
