#include <gtest/gtest.h>

#include <utility>

#include "TestSupport.h"
#include "runtime/Commands.h"
#include "runtime/HelperTable.h"
#include "runtime/Lifecycle.h"
#include "runtime/RuntimeError.h"
#include "runtime/RuntimeHooks.h"
#include "runtime/RuntimeService.h"
#include "runtime/RuntimeState.h"

namespace qx {
namespace {

using test::kExitMinusOne;

TEST(HelperTable, EntriesStandInTheirFixedOrder) {
  const RuntimeHelperTable& t = HelperTable();
  EXPECT_EQ(0u, t.reserved);
  // The table is read by position: check the layout, not just the names.
  auto slot = [&](int i) {
    return reinterpret_cast<const void* const*>(reinterpret_cast<const char*>(&t) +
                                                offsetof(RuntimeHelperTable, reportRuntimeErrorCode))[i];
  };
  EXPECT_EQ(reinterpret_cast<const void*>(&ReportRuntimeErrorCode), slot(0));
  EXPECT_EQ(reinterpret_cast<const void*>(&AllocateMemory), slot(6));
  EXPECT_EQ(reinterpret_cast<const void*>(&ReallocateMemory), slot(7));
  EXPECT_EQ(reinterpret_cast<const void*>(&FreeMemory), slot(8));
  EXPECT_EQ(reinterpret_cast<const void*>(&EndProgram), slot(9));
  EXPECT_EQ(sizeof(void*) == 4 ? 56u : 112u, sizeof(RuntimeHelperTable));
}

TEST(HelperTable, CoreCommandEntryZeroesTheResultAndPassesTheArguments) {
  TaggedValue args[] = {MakeTextValue("a\\b"), MakeTextValue("\\")};
  TaggedValue r = HelperTable().callCoreCommand(TextLength, 2, args);
  EXPECT_EQ(3u, r.lo);
  EXPECT_EQ(0u, r.hi);
  EXPECT_EQ(kTagInt, r.tag);
  r = HelperTable().callLibraryCommand(TextLength, 5, 1, args);
  EXPECT_EQ(3u, r.lo);
}

TEST(HelperTable, InternalServicesRegisterExitRoutinesAndDetachLiteralArrays) {
  alignas(4) static int32_t area[4] = {1, 2, 0x11, 0x22};  // {1 dim, 2 elems, bytes...}
  SetConstantArea(area, sizeof area);
  void* slot = area;
  HelperTable().callInternalService(kDetachConstantArray, 4, reinterpret_cast<intptr_t>(&slot), 0, 0);
  ASSERT_NE(static_cast<void*>(area), slot);
  EXPECT_EQ(0, memcmp(area, slot, sizeof area));
  FreeMemory(slot);
  void* heapArray = MakePointerArray(1);
  slot = heapArray;
  HelperTable().callInternalService(kDetachConstantArray, 4, reinterpret_cast<intptr_t>(&slot), 0, 0);
  EXPECT_EQ(heapArray, slot);
  FreeArray(heapArray, kTagText);
  SetConstantArea(nullptr, 0);
}

// Libraries built apart send these numbers: a renumbered request would
// reach the wrong service without anything here noticing.
TEST(RuntimeService, RequestAndServiceCodesKeepTheNumbersLibrariesSend) {
  const std::pair<RuntimeRequest, int32_t> fixed[] = {
      {kRequestUnitDestroyed, 2000},   {kRequestValueToInt, 2001},
      {kRequestNothing, 2002},         {kRequestProgramFolder, 2003},
      {kRequestProgramName, 2004},     {kRequestFindLiveUnit, 2006},
      {kRequestRequireLiveUnit, 2007}, {kRequestRaiseEvent, 2008},
      {kRequestSuspendEvents, 2009},   {kRequestResumeEvents, 2010},
      {kRequestRunningEventSource, 2017}, {kRequestProcessMessages, 2018},
      {kRequestFreeArray, 2023},       {kRequestAllocateMemory, 2024},
      {kRequestFreeMemory, 2025},      {kRequestReallocateMemory, 2026},
      {kRequestReportError, 2027},     {kRequestEndProgram, 2028},
      {kRequestRunMode, 2030},         {kRequestRaiseTypedEvent, 2031},
      {kRequestWindowCount, 2032},     {kRequestWindowHandle, 2033},
      {kRequestClearObject, 2035},
  };
  for (const auto& [request, number] : fixed) EXPECT_EQ(number, request);
  const std::pair<InternalService, int32_t> services[] = {
      {kFindFileStep, 0},     {kFindFileClose, 1},    {kDetachConstantArray, 2},
      {kRegisterExitRoutine, 3}, {kGetObjectProperty, 4}, {kSetObjectProperty, 5},
      {kInitialiseRuntime, 6},
  };
  for (const auto& [service, number] : services) EXPECT_EQ(number, service);
}

TEST(RuntimeService, ValueRequests) {
  TaggedValue d = MakeDouble(-7.9);
  EXPECT_EQ(-7, RuntimeService(kRequestValueToInt, reinterpret_cast<intptr_t>(&d), 0));
  TaggedValue b = {0xFF, 0, kTagByte};
  EXPECT_EQ(255, RuntimeService(kRequestValueToInt, reinterpret_cast<intptr_t>(&b), 0));
  TaggedValue s = {0xFFFF, 0, kTagShort};
  EXPECT_EQ(-1, RuntimeService(kRequestValueToInt, reinterpret_cast<intptr_t>(&s), 0));
  TaggedValue l = MakeLong(0x100000005LL);
  EXPECT_EQ(5, RuntimeService(kRequestValueToInt, reinterpret_cast<intptr_t>(&l), 0));
  EXPECT_EQ(0, RuntimeService(kRequestNothing, 0, 0));
  g_runtime.runMode = 3;
  EXPECT_EQ(3, RuntimeService(kRequestRunMode, 0, 0));
  void* p = reinterpret_cast<void*>(RuntimeService(kRequestAllocateMemory, 16, 0));
  p = reinterpret_cast<void*>(
      RuntimeService(kRequestReallocateMemory, reinterpret_cast<intptr_t>(p), 64));
  RuntimeService(kRequestFreeMemory, reinterpret_cast<intptr_t>(p), 0);
  EXPECT_EQ(0, RuntimeService(kRequestAllocateMemory, -1, 1));  // quiet: null instead of an error
  void* array = MakePointerArray(2);
  static_cast<char**>(ArrayElements(array))[1] = CopyText("元素");
  RuntimeService(kRequestFreeArray, kTagText | kTagByRef, reinterpret_cast<intptr_t>(array));
}

// The core has no windows: it hands the window requests to the record the
// window runtime installed, arguments as they came, and answers 0 without.
TEST(RuntimeService, WindowRequestsGoToTheInstalledWindowRuntime) {
  static uint32_t seen[2];
  static UnitObject* const kUnit = reinterpret_cast<UnitObject*>(&seen);
  WindowRuntimeHooks w = {};
  w.findLiveUnit = [](uint32_t window, uint32_t unit) {
    seen[0] = window;
    seen[1] = unit;
    return kUnit;
  };
  w.runningEventSource = [](uint32_t* window, uint32_t* unit) {
    *window = 0x52010001;
    *unit = 0x16010005;
    return true;
  };
  w.windowCount = [] { return 3; };
  EXPECT_EQ(0, RuntimeService(kRequestFindLiveUnit, 0x52010001, 0x16010002));
  InstallWindowRuntimeHooks(&w);
  EXPECT_EQ(reinterpret_cast<intptr_t>(kUnit),
            RuntimeService(kRequestFindLiveUnit, 0x52010001, 0x16010002));
  EXPECT_EQ(0x52010001u, seen[0]);
  EXPECT_EQ(0x16010002u, seen[1]);
  uint32_t unit = 0;
  EXPECT_EQ(0x52010001, RuntimeService(kRequestRunningEventSource,
                                       reinterpret_cast<intptr_t>(&unit), 0));
  EXPECT_EQ(0x16010005u, unit);
  EXPECT_EQ(3, RuntimeService(kRequestWindowCount, 0, 0));
  EXPECT_EQ(0, RuntimeService(kRequestNothing, 0, 0));  // still the core's own
  InstallWindowRuntimeHooks(nullptr);
  EXPECT_EQ(0, RuntimeService(kRequestWindowCount, 0, 0));
}

TEST(RuntimeServiceDeathTest, NonNumberAndLibraryComplaintsAreRuntimeErrors) {
  SetRuntimeErrorHandler(test::TellingHandler);
  TaggedValue t = MakeTextValue("12");
  EXPECT_EXIT(RuntimeService(kRequestValueToInt, reinterpret_cast<intptr_t>(&t), 0),
              ::testing::ExitedWithCode(kExitMinusOne), "msg=" + test::Hex("欲转换数据类型不是数值"));
  EXPECT_EXIT(RuntimeService(kRequestReportError, reinterpret_cast<intptr_t>("库出错"), 0),
              ::testing::ExitedWithCode(kExitMinusOne), "code=0 msg=" + test::Hex("库出错"));
  EXPECT_EXIT(RuntimeService(kRequestEndProgram, 9, 0), ::testing::ExitedWithCode(9), "");
  SetRuntimeErrorHandler(nullptr);
}

}  // namespace
}  // namespace qx
