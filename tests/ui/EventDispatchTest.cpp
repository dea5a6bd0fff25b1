// Finding and calling handlers, on the portable side: no window needed,
// only templates and the kinds' state words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "runtime/Lifecycle.h"
#include "runtime/RuntimeError.h"
#include "runtime/RuntimeState.h"
#include "ui/DescriptionWriter.h"
#include "ui/Events.h"
#include "ui/UnitKind.h"
#include "ui/WindowTable.h"

namespace qx {
namespace {

std::vector<std::string> g_calls;

void First(TaggedValue* r, int32_t n, const uintptr_t* words) {
  std::string call = "first";
  for (int32_t i = 0; i < n; ++i) call += " " + std::to_string(words[i]);
  g_calls.push_back(call);
  *r = MakeInt(9);
}
void Second(TaggedValue*, int32_t, const uintptr_t*) { g_calls.push_back("second"); }
const EventHandlerFn kCode[] = {First, Second};

const UnitKind kEventKind = {"甲", "A", kKindRaisesEvents, nullptr, 0, nullptr};
const UnitKind kSilentKind = {"乙", "B", 0, nullptr, 0, nullptr};
const UnitKind* const kKinds[] = {&kEventKind, &kSilentKind};
const TypeTable kTypes = {2, kKinds};
const LibraryRecord kLibrary = {"test", &kTypes, nullptr};

constexpr uint32_t kWindow = 0x52010001;
constexpr uint32_t kA = 0x16010001, kB = 0x16010002, kSilent = 0x16010003, kLost = 0x16010004;
constexpr uint32_t kItem = 0x26010005;

UnitRecord Unit(uint32_t id, uint32_t tag, std::vector<EventBinding> bindings) {
  UnitRecord r;
  r.id = id;
  r.typeTag = tag;
  r.bindings = std::move(bindings);
  return r;
}

class EventDispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    const LibraryRecord* libs[] = {&kLibrary};
    StartLibraries(libs, 1);
    WindowTemplate w;
    w.id = kWindow;
    w.records.push_back(Unit(0x06010000, 0x00010001, {{0, 0, 0}}));
    w.records.push_back(Unit(kA, 0x00010001, {{3, kNoHandler, 0}, {3, 4, 0}, {-7, 0, 0}}));
    w.records.push_back(Unit(kB, 0x00010001, {}));
    w.records.back().eventSource = kA;
    w.records.push_back(Unit(kSilent, 0x00010002, {{0, 0, 0}}));
    w.records.push_back(Unit(kLost, 0x00050001, {{0, 0, 0}}));
    w.records.push_back(MakeMenuItemRecord(kItem, "菜单", "打开", 0, kMenuVisible, 0, 0));
    std::string block = WriteDescription({w});
    ASSERT_TRUE(LoadWindowDescriptions(block.data(), static_cast<uint32_t>(block.size()), kCode));
    g_calls.clear();
    g_runtime.eventsSuspended = 0;
  }
  void TearDown() override { FreeWindowDescriptions(); }
};

TEST_F(EventDispatch, ArgumentsArriveInOrderAndTheResultComesBack) {
  EventRecord e = {kWindow, 0, 0, 2, {11, 22}, 0, 0};
  EXPECT_TRUE(RaiseEvent(&e));
  EXPECT_EQ((std::vector<std::string>{"first 11 22"}), g_calls);
  EXPECT_EQ(1u, e.hasResult);
  EXPECT_EQ(9u, e.result);
}

// Words as the handler receives them: a byte zero-extended, a short
// sign-extended, a double and anything of the menu kind as both words, an
// address alone when flag 1 asks for it.
TEST_F(EventDispatch, TypedArgumentsArriveAsManyWordsAsTheirTagsTake) {
  TypedEventRecord e = {kWindow, 0, 0, 5, {}, 0, 0, 0};
  e.args[0] = {0x1FF, 7, kTagByte, 0};
  e.args[1] = {0xFFFE, 7, kTagShort, 0};
  e.args[2] = {1, 2, kTagMenu, 0};
  e.args[3] = {3, 4, kTagDouble, 0};
  e.args[4] = {5, 6, kTagInt, kEventArgTwoWords};
  EXPECT_TRUE(RaiseTypedEvent(&e));
  std::string minusTwo = std::to_string(static_cast<uintptr_t>(-2));
  EXPECT_EQ((std::vector<std::string>{"first 255 " + minusTwo + " 1 2 3 4 5 6"}), g_calls);
  EXPECT_EQ(1u, e.hasResult);
  EXPECT_EQ(9u, e.resultLo);
}

// Whatever the event, a menu item's one handler serves it.
TEST_F(EventDispatch, AMenuItemHasOneHandlerForEveryEvent) {
  EXPECT_EQ(reinterpret_cast<uintptr_t>(&kCode[0]), FindEventHandler(kWindow, kItem, 0));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(&kCode[0]), FindEventHandler(kWindow, kItem, 5));
}

TEST_F(EventDispatch, OffsetZeroIsARealHandlerAndNoneIsSkipped) {
  EXPECT_EQ(reinterpret_cast<uintptr_t>(&kCode[0]), FindEventHandler(kWindow, 0, 0));
  // The first entry for event 3 binds nothing; the second does.
  EXPECT_EQ(reinterpret_cast<uintptr_t>(&kCode[1]), FindEventHandler(kWindow, kA, 3));
  EXPECT_EQ(0u, FindEventHandler(kWindow, kA, 4));
  EventRecord e = {kWindow, kA, 4, 0, {}, 0, 0};
  EXPECT_FALSE(RaiseEvent(&e));
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(EventDispatch, AnEventSourceLendsItsBindingsAndARingEnds) {
  EXPECT_EQ(reinterpret_cast<uintptr_t>(&kCode[1]), FindEventHandler(kWindow, kB, 3));
  FindUnitRecord(*FindWindowTemplate(kWindow), kA)->eventSource = kB;
  // The lookup stops somewhere on the ring instead of running for ever.
  FindEventHandler(kWindow, kB, 3);
}

TEST_F(EventDispatch, SuppressedEventsFindNothingAndTheCounterStaysAtZero) {
  SuspendEvents();
  EXPECT_EQ(0u, FindEventHandler(kWindow, 0, 0));
  EXPECT_EQ(0u, FindEventHandler(0x52019999, 0, 0));  // not even an error
  ResumeEvents();
  ResumeEvents();
  EXPECT_EQ(0, g_runtime.eventsSuspended);
  EXPECT_NE(0u, FindEventHandler(kWindow, 0, 0));
}

TEST_F(EventDispatch, TheRunningSourceIsKnownOnlyWhileTheHandlerRuns) {
  static bool during;
  static uint32_t unit;
  during = false;
  EventHandlerFn probe = [](TaggedValue*, int32_t, const uintptr_t*) {
    uint32_t w;
    during = RunningEventSource(&w, &unit) && w == kWindow;
  };
  const EventHandlerFn table[] = {probe};
  FindWindowTemplate(kWindow)->records[1].bindings = {{5, 0, reinterpret_cast<uintptr_t>(&table[0])}};
  EventRecord e = {kWindow, kA, 5, 0, {}, 0, 0};
  EXPECT_TRUE(RaiseEvent(&e));
  EXPECT_TRUE(during);
  EXPECT_EQ(kA, unit);
  EXPECT_EQ(0u, e.hasResult);
  EXPECT_FALSE(RunningEventSource(nullptr, nullptr));
}

std::string Reported(const char* message) {
  return "\\[reported code=0 msg=" + test::Hex(message) + "\\]";
}

TEST_F(EventDispatch, UnknownWindowsUnitsAndKindsAreRuntimeErrors) {
  SetRuntimeErrorHandler(test::TellingHandler);
  EXPECT_EXIT(FindEventHandler(0x52019999, 0, 0), ::testing::ExitedWithCode(test::kExitMinusOne),
              Reported("未找到引发事件的窗口"));
  EXPECT_EXIT(FindEventHandler(kWindow, 0x16019999, 0),
              ::testing::ExitedWithCode(test::kExitMinusOne), Reported("未找到引发事件的窗口组件"));
  EXPECT_EXIT(FindEventHandler(kWindow, kSilent, 0), ::testing::ExitedWithCode(test::kExitMinusOne),
              Reported("引发事件的窗口组件无效"));
  EXPECT_EXIT(FindEventHandler(kWindow, kLost, 0), ::testing::ExitedWithCode(test::kExitMinusOne),
              Reported("引发事件的窗口组件无效"));
  SetRuntimeErrorHandler(nullptr);
}

TEST_F(EventDispatch, AMalformedBlockLeavesNoTable) {
  std::string junk = "\x08\x00\x00\x00";
  EXPECT_FALSE(LoadWindowDescriptions(junk.data(), 4, kCode));
  EXPECT_TRUE(WindowTemplates().empty());
  EXPECT_EQ(nullptr, KindOfTag(0x00010001 + 0x00010000 * 5));
  EXPECT_EQ(&kSilentKind, KindOfTag(0x00010002));
  EXPECT_EQ(nullptr, KindOfTag(0x00010003));
  EXPECT_EQ(nullptr, KindOfTag(0x00010000));
}

}  // namespace
}  // namespace qx
