// The demonstration program driven from this process as a user would:
// found by its title, typed into, clicked, closed with Esc.
#include <gtest/gtest.h>

#include <string>

#include "Driver.h"

namespace qx {
namespace {

using namespace driver;

// Our build tree as Wine sees it.
std::string DemoPath() {
  std::string path = std::string("Z:") + QX_BINARY_DIR + "/ui/demo/quillox-demo.exe";
  for (char& c : path)
    if (c == '/') c = '\\';
  return "\"" + path + "\"";
}

// Child identifiers: created from the last record back, 100 and up.
constexpr int kLog = 110, kToggle = 120, kCount = 130, kAppend = 140, kInput = 150, kCaption = 160;

TEST(DemoEndToEnd, TypedTextIsAppendedTogglesWorkAndEscEndsTheProgramWithZero) {
  HANDLE process = Launch(DemoPath());
  ASSERT_NE(nullptr, process);
  HWND window = WaitForWindow("Quillox 运行时演示", 20000);
  ASSERT_NE(nullptr, window);
  std::string log = Text(Child(window, kLog));
  EXPECT_EQ("窗口已创建：全部控件来自窗口描述。\r\n", log);

  SetText(Child(window, kInput), "你好，世界");
  Click(Child(window, kAppend));
  EXPECT_EQ(log + "你好，世界\r\n", Text(Child(window, kLog)));
  EXPECT_EQ("", Text(Child(window, kInput)));

  Click(Child(window, kCount));
  Click(Child(window, kCount));
  EXPECT_EQ("已点击 2 次", Text(Child(window, kCaption)));

  Click(Child(window, kToggle));
  EXPECT_FALSE(IsWindowEnabled(Child(window, kAppend)));
  std::string before = Text(Child(window, kLog));
  Click(Child(window, kAppend));
  EXPECT_EQ(before, Text(Child(window, kLog)));

  PressKey(Child(window, kInput), VK_ESCAPE);
  int code = WaitForExit(process, 20000);
  EXPECT_EQ(0, code);
  // A demonstration left running would stand in the way of later tests.
  if (code == -2) TerminateProcess(process, 1);
  EXPECT_FALSE(IsWindow(window));
  CloseHandle(process);
}

}  // namespace
}  // namespace qx
