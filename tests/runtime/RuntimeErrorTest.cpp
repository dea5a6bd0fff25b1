#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TestSupport.h"
#include "runtime/Lifecycle.h"
#include "runtime/Platform.h"
#include "runtime/RuntimeError.h"
#include "runtime/RuntimeState.h"

namespace qx {
namespace {

using test::kExitMinusOne;

TEST(RuntimeErrorText, CodeAndMessageLinesAppearOnlyWhenGiven) {
  EXPECT_EQ("运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n",
            ComposeRuntimeErrorText(RuntimeErrorMessage(1), 1));
  EXPECT_EQ("运行时出错!\r\n\r\n错误信息：分配 64 字节内存失败!\r\n",
            ComposeRuntimeErrorText("分配 64 字节内存失败!", 0));
  EXPECT_EQ("运行时出错!\r\n\r\n", ComposeRuntimeErrorText("", 0));
  EXPECT_EQ("运行时出错!\r\n\r\n", ComposeRuntimeErrorText(nullptr, 0));
  EXPECT_EQ("运行时出错!\r\n\r\n错误代码：-7\r\n\r\n", ComposeRuntimeErrorText(nullptr, -7));
}

TEST(RuntimeErrorText, TableHoldsElevenMessages) {
  EXPECT_EQ(nullptr, RuntimeErrorMessage(0));
  EXPECT_EQ(nullptr, RuntimeErrorMessage(12));
  EXPECT_STREQ("所提供参数的数据类型不符合要求", RuntimeErrorMessage(11));
  EXPECT_STREQ("数组成员引用下标必须大于等于1", RuntimeErrorMessage(4));
}

// Dialogs are replaced by a line on stderr so that the parent can read what
// would have been shown.
void DialogToStderr(const char* text) {
  fprintf(stderr, "[dialog %s]\n", test::Hex(text).c_str());
}

PlatformOps DialogOps() {
  PlatformOps ops = DefaultPlatformOps();
  ops.showErrorDialog = DialogToStderr;
  return ops;
}

void ExitRoutineSaysSo() { fprintf(stderr, "[exit routine ran]\n"); }
int g_counter = 0;
void CountingRoutine() { fprintf(stderr, "[count %d]\n", ++g_counter); }

TEST(RuntimeErrorDeathTest, HandlerThatCopesSuppressesTheDialogButTheProgramStillEnds) {
  EXPECT_EXIT(
      {
        static PlatformOps ops = DialogOps();
        SetPlatformOps(&ops);
        SetRuntimeErrorHandler(test::TellingHandler);
        RegisterExitRoutine(ExitRoutineSaysSo);
        ReportRuntimeError("坏了", 0);
      },
      ::testing::ExitedWithCode(kExitMinusOne), "^\\[reported code=0 msg=BBB5C1CB\\]\n$");
}

TEST(RuntimeErrorDeathTest, WithoutHandlerTheDialogShowsAndExitRoutinesAreDropped) {
  std::string expected = "\\[dialog " + test::Hex(ComposeRuntimeErrorText(RuntimeErrorMessage(4), 4).c_str()) + "\\]\n$";
  EXPECT_EXIT(
      {
        static PlatformOps ops = DialogOps();
        SetPlatformOps(&ops);
        RegisterExitRoutine(ExitRoutineSaysSo);
        ReportRuntimeErrorCode(4);
      },
      ::testing::ExitedWithCode(kExitMinusOne), "^" + expected);
}

int ReportingAgainHandler(int32_t code, const char*) {
  ReportRuntimeError("嵌套", code + 1);
}

TEST(RuntimeErrorDeathTest, AReportFromInsideTheHandlerShowsTheDialog) {
  EXPECT_EXIT(
      {
        static PlatformOps ops = DialogOps();
        SetPlatformOps(&ops);
        SetRuntimeErrorHandler(ReportingAgainHandler);
        ReportRuntimeError("外层", 1);
      },
      ::testing::ExitedWithCode(kExitMinusOne),
      "^\\[dialog " + test::Hex(ComposeRuntimeErrorText("嵌套", 2).c_str()) + "\\]\n$");
}

TEST(RuntimeErrorDeathTest, EventsAreSuspendedBeforeTheHandlerRuns) {
  EXPECT_EXIT(
      {
        SetRuntimeErrorHandler([](int32_t, const char*) {
          fprintf(stderr, "[suspended %d]\n", g_runtime.eventsSuspended);
          return 1;
        });
        ReportRuntimeError(nullptr, 0);
      },
      ::testing::ExitedWithCode(kExitMinusOne), "\\[suspended 1\\]");
}

const HeapOps kRefusingHeap = {[](size_t) -> void* { return nullptr; },
                               [](void*, size_t) -> void* { return nullptr; }, [](void*) {}};

TEST(HeapDeathTest, RefusedRequestNamesTheSizeAndEndsTheProgram) {
  EXPECT_EXIT(
      {
        SetRuntimeErrorHandler(test::TellingHandler);
        SetHeapOps(&kRefusingHeap);
        AllocateMemory(2147483647);
      },
      ::testing::ExitedWithCode(kExitMinusOne),
      "code=0 msg=" + test::Hex("分配 2147483647 字节内存失败!"));
}

TEST(HeapDeathTest, NegativeSizeIsRefusedRatherThanWrapped) {
  EXPECT_EXIT(
      {
        SetRuntimeErrorHandler(test::TellingHandler);
        void* p = ReallocateMemory(AllocateMemory(16), -5);
        fprintf(stderr, "[got %p]\n", p);
        _exit(3);
      },
      ::testing::ExitedWithCode(kExitMinusOne), "msg=" + test::Hex("分配 -5 字节内存失败!"));
}

TEST(EndProgramDeathTest, RunsEachExitRoutineOnceInOrderThenEndsWithTheCode) {
  EXPECT_EXIT(
      {
        RegisterExitRoutine(CountingRoutine);
        RegisterExitRoutine(ExitRoutineSaysSo);
        RegisterExitRoutine(CountingRoutine);
        EndProgram(5);
      },
      ::testing::ExitedWithCode(5), "^\\[count 1\\]\n\\[exit routine ran\\]\n$");
}

intptr_t NotifyLogger(int32_t code, intptr_t a, intptr_t) {
  fprintf(stderr, "[notify %d]\n", static_cast<int>(code));
  return 0;
}

const LibraryRecord kLoggingLibrary = {"测试库", nullptr, NotifyLogger};
const LibraryRecord* const kLibraries[] = {&kLoggingLibrary};

TEST(EndProgramDeathTest, AfterARuntimeErrorLibrariesAreStillToldButExitRoutinesAreNot) {
  EXPECT_EXIT(
      {
        StartLibraries(kLibraries, 1);
        RegisterExitRoutine(ExitRoutineSaysSo);
        SetRuntimeErrorHandler([](int32_t, const char*) { return 1; });
        ReportRuntimeErrorCode(2);
      },
      ::testing::ExitedWithCode(kExitMinusOne), "^\\[notify 1\\]\n\\[notify 6\\]\n$");
}

}  // namespace
}  // namespace qx
