// Properties by number and events from real controls: clicks, content
// changes, clamping, re-creation, the window's keys and close events.
#include "WindowTestSupport.h"

#include "TestSupport.h"
#include "runtime/Memory.h"
#include "runtime/RuntimeService.h"
#include "runtime/Text.h"
#include "ui/ButtonKind.h"
#include "ui/EditBoxKind.h"
#include "ui/LabelKind.h"
#include "ui/Properties.h"
#include "ui/WindowKind.h"

namespace qx {
namespace {

using namespace test;

class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override { StopRuntime(); }
  void Load(std::vector<WindowTemplate> windows = {SmallWindow()}) {
    ASSERT_TRUE(StartWithWindow(windows));
    Pump();
    EventLog().clear();
  }
  static int Count(const std::string& name) {
    int n = 0;
    for (const std::string& e : EventLog()) n += e == name;
    return n;
  }
  static int32_t Int(uint32_t unit, int32_t property) {
    return static_cast<int32_t>(GetUnitProperty(kTestWindow, unit, property, -1).lo);
  }
  static std::string Text(uint32_t unit, int32_t property) {
    TaggedValue v = GetUnitProperty(kTestWindow, unit, property, -1);
    EXPECT_EQ(kTagText, v.tag);
    return TakeText(v);
  }
  static void SetText(uint32_t unit, int32_t property, const char* text) {
    TaggedValue v;
    SetValuePointer(&v, text, kTagText);
    SetUnitProperty(kTestWindow, unit, property, -1, v.lo, v.hi);
  }
};

TEST_F(WindowTest, AClickRunsTheBoundHandlerOnceAndAnUnboundButtonDoesNothing) {
  Load();
  SendMessageA(Hwnd(kButton), BM_CLICK, 0, 0);
  EXPECT_EQ((std::vector<std::string>{"h1"}), EventLog());
  EventLog().clear();
  SendMessageA(Hwnd(kButton2), BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(EventLog().empty());
  EXPECT_TRUE(IsWindow(Hwnd(0)));
}

TEST_F(WindowTest, ADisabledButtonReadsBackDisabledAndTakesNoClicks) {
  Load();
  SetUnitProperty(kTestWindow, kButton, kPropertyDisabled, -1, 1, 0);
  EXPECT_EQ(1u, GetUnitProperty(kTestWindow, kButton, kPropertyDisabled, -1).lo);
  EXPECT_EQ(kTagBool, GetUnitProperty(kTestWindow, kButton, kPropertyDisabled, -1).tag);
  EXPECT_FALSE(IsWindowEnabled(Hwnd(kButton)));
  SendMessageA(Hwnd(kButton), BM_CLICK, 0, 0);
  EXPECT_TRUE(EventLog().empty());
  SetUnitProperty(kTestWindow, kButton, kPropertyDisabled, -1, 0, 0);
  EXPECT_EQ(0u, GetUnitProperty(kTestWindow, kButton, kPropertyDisabled, -1).lo);
  SendMessageA(Hwnd(kButton), BM_CLICK, 0, 0);
  EXPECT_EQ(1, Count("h1"));
}

TEST_F(WindowTest, ContentIsReadAndWrittenAndAnEmptyBoxReadsAsTheNullText) {
  Load();
  EXPECT_EQ("初始", Text(kEdit, kEditBoxContent));
  SetText(kEdit, kEditBoxContent, "新的内容");
  char text[64];
  GetWindowTextA(Hwnd(kEdit), text, sizeof text);
  EXPECT_STREQ("新的内容", text);
  EXPECT_EQ("新的内容", Text(kEdit, kEditBoxContent));
  SetUnitProperty(kTestWindow, kEdit, kEditBoxContent, -1, 0, 0);  // null: empty
  TaggedValue v = GetUnitProperty(kTestWindow, kEdit, kEditBoxContent, -1);
  EXPECT_EQ(nullptr, ValuePointer(v));
}

TEST_F(WindowTest, EveryWriteOfTheContentRaisesTheChangeEventExactlyOnce) {
  Load();
  SetText(kEdit, kEditBoxContent, "同样");
  SetText(kEdit, kEditBoxContent, "同样");
  EXPECT_EQ(2, Count("h3"));
  // Typing is a change too.
  SendMessageA(Hwnd(kEdit), WM_CHAR, 'x', 0);
  EXPECT_EQ(3, Count("h3"));
}

TEST_F(WindowTest, CoordinatesAreClampedAndAppliedToTheLiveControl) {
  Load();
  SetUnitProperty(kTestWindow, kButton, kPropertyWidth, -1, 40000, 0);
  EXPECT_EQ(32627, FindUnitRecord(*FindWindowTemplate(kTestWindow), kButton)->width);
  SetUnitProperty(kTestWindow, kButton, kPropertyLeft, -1, static_cast<uint32_t>(-40000), 0);
  EXPECT_EQ(-32627, FindUnitRecord(*FindWindowTemplate(kTestWindow), kButton)->left);
  SetUnitProperty(kTestWindow, kButton, kPropertyHeight, -1, static_cast<uint32_t>(-5), 0);
  EXPECT_EQ(0, FindUnitRecord(*FindWindowTemplate(kTestWindow), kButton)->height);

  SetUnitProperty(kTestWindow, kEdit, kPropertyLeft, -1, 33, 0);
  SetUnitProperty(kTestWindow, kEdit, kPropertyTop, -1, 44, 0);
  SetUnitProperty(kTestWindow, kEdit, kPropertyWidth, -1, 120, 0);
  SetUnitProperty(kTestWindow, kEdit, kPropertyHeight, -1, 30, 0);
  EXPECT_EQ(33, Int(kEdit, kPropertyLeft));
  EXPECT_EQ(44, Int(kEdit, kPropertyTop));
  EXPECT_EQ(120, Int(kEdit, kPropertyWidth));
  EXPECT_EQ(30, Int(kEdit, kPropertyHeight));
  RECT rc;
  GetWindowRect(Hwnd(kEdit), &rc);
  MapWindowPoints(nullptr, Hwnd(0), reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_EQ(33, rc.left);
  EXPECT_EQ(44, rc.top);
  EXPECT_EQ(120, rc.right - rc.left);
}

TEST_F(WindowTest, TagVisibleAndCursorLiveInTheRecordAndTheWindow) {
  Load();
  EXPECT_EQ(nullptr, ValuePointer(GetUnitProperty(kTestWindow, kLabel, kPropertyTag, -1)));
  SetText(kLabel, kPropertyTag, "标记");
  EXPECT_EQ("标记", Text(kLabel, kPropertyTag));
  SetUnitProperty(kTestWindow, kLabel, kPropertyVisible, -1, 0, 0);
  EXPECT_FALSE(IsWindowVisible(Hwnd(kLabel)));
  EXPECT_EQ(0u, GetUnitProperty(kTestWindow, kLabel, kPropertyVisible, -1).lo);
  SetUnitProperty(kTestWindow, kLabel, kPropertyVisible, -1, 7, 0);
  EXPECT_TRUE(IsWindowVisible(Hwnd(kLabel)));
  TaggedValue cursor = GetUnitProperty(kTestWindow, kLabel, kPropertyCursor, -1);
  EXPECT_EQ(kTagByteSet, cursor.tag);
  EXPECT_EQ(4, ByteSetLength(ValuePointer(cursor)));
  FreeMemory(ValuePointer(cursor));
}

TEST_F(WindowTest, OwnPropertiesConvertByTheirValueType) {
  Load();
  SetText(kButton, kButtonCaption, "改名");
  char text[32];
  GetWindowTextA(Hwnd(kButton), text, sizeof text);
  EXPECT_STREQ("改名", text);
  EXPECT_EQ("改名", Text(kButton, kButtonCaption));
  // Logical: any non-zero value is written as 1; read true only for 1.
  SetUnitProperty(kTestWindow, kButton, kButtonDefault, -1, 5, 0);
  TaggedValue def = GetUnitProperty(kTestWindow, kButton, kButtonDefault, -1);
  EXPECT_EQ(kTagBool, def.tag);
  EXPECT_EQ(1u, def.lo);
  // Choice: a negative number becomes 0. Edit box 16 is scroll bars.
  SetUnitProperty(kTestWindow, kEdit, kEditBoxSpinMin, -1, static_cast<uint32_t>(-3), 0);
  EXPECT_EQ(-3, Int(kEdit, kEditBoxSpinMin));
  SetUnitProperty(kTestWindow, kEdit, kEditBoxMaxLength, -1, static_cast<uint32_t>(-9), 0);
  EXPECT_EQ(0, Int(kEdit, kEditBoxMaxLength));
  SetUnitProperty(kTestWindow, kLabel, kLabelGradientWidth, -1, 2, 0);
  EXPECT_EQ(5, Int(kLabel, kLabelGradientWidth));
  SetUnitProperty(kTestWindow, kLabel, kLabelEffect, -1, static_cast<uint32_t>(-3), 0);
  EXPECT_EQ(0, Int(kLabel, kLabelEffect));
}

TEST_F(WindowTest, SelectionPropertiesFollowTheBox) {
  Load();
  SetText(kEdit, kEditBoxContent, "abcdef");
  SetUnitProperty(kTestWindow, kEdit, kEditBoxSelStart, -1, 1, 0);
  SetUnitProperty(kTestWindow, kEdit, kEditBoxSelLength, -1, 3, 0);
  EXPECT_EQ("bcd", Text(kEdit, kEditBoxSelectedText));
  SetText(kEdit, kEditBoxSelectedText, "X");
  EXPECT_EQ("aXef", Text(kEdit, kEditBoxContent));
  SetUnitProperty(kTestWindow, kEdit, kEditBoxSelLength, -1, static_cast<uint32_t>(-1), 0);
  EXPECT_EQ("aXef", Text(kEdit, kEditBoxSelectedText));
}

// The box counts its selection in characters; a two-byte character before
// the selection must not shift the text read out of it.
TEST_F(WindowTest, SelectedTextAfterChineseCharactersIsTheTextSelected) {
  Load();
  SetText(kEdit, kEditBoxContent, "单选题abc判断");
  SetUnitProperty(kTestWindow, kEdit, kEditBoxSelStart, -1, 3, 0);
  SetUnitProperty(kTestWindow, kEdit, kEditBoxSelLength, -1, 4, 0);
  EXPECT_EQ("abc判", Text(kEdit, kEditBoxSelectedText));
}

TEST_F(WindowTest, MultiLineReCreatesTheBoxKeepingTextRectangleFocusAndVisibilityWithoutEvents) {
  WindowTemplate w = SmallWindow();
  w.records[3].bindings = {Bind(0, 3), Bind(-7, 6), Bind(-8, 7)};
  Load({w});
  HWND old = Hwnd(kEdit);
  SetFocus(old);
  SetText(kEdit, kEditBoxContent, "保留的文字");
  EventLog().clear();
  RECT before;
  GetWindowRect(old, &before);
  SetUnitProperty(kTestWindow, kEdit, kEditBoxMultiLine, -1, 1, 0);
  Pump();
  HWND fresh = Hwnd(kEdit);
  EXPECT_NE(old, fresh);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_TRUE(GetWindowLongA(fresh, GWL_STYLE) & ES_MULTILINE);
  EXPECT_EQ(120, GetDlgCtrlID(fresh));
  EXPECT_TRUE(GetWindowLongA(fresh, GWL_STYLE) & WS_TABSTOP);
  char text[64];
  GetWindowTextA(fresh, text, sizeof text);
  EXPECT_STREQ("保留的文字", text);
  RECT after;
  GetWindowRect(fresh, &after);
  EXPECT_EQ(before.left, after.left);
  EXPECT_EQ(before.top, after.top);
  EXPECT_EQ(before.right, after.right);
  EXPECT_EQ(before.bottom, after.bottom);
  EXPECT_TRUE(IsWindowVisible(fresh));
  EXPECT_EQ(fresh, GetFocus());
  EXPECT_TRUE(EventLog().empty()) << EventLog().front();
  EXPECT_EQ(1, Int(kEdit, kEditBoxMultiLine));
  // Stacking stays in record order.
  EXPECT_EQ(Hwnd(kEdit), GetWindow(Hwnd(kButton), GW_HWNDNEXT));
  // Writing the same value again re-creates nothing.
  SetUnitProperty(kTestWindow, kEdit, kEditBoxMultiLine, -1, 1, 0);
  EXPECT_EQ(fresh, Hwnd(kEdit));
}

TEST_F(WindowTest, EscInAnEditBoxClosesTheWindowThroughTheCloseEvents) {
  WindowTemplate w = SmallWindow();
  w.records[0].bindings = {Bind(12, 8), Bind(1, 9), Bind(2, 2)};
  Load({w});
  PostMessageA(Hwnd(kEdit), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_EQ(nullptr, Hwnd(0));
  EXPECT_EQ((std::vector<std::string>{"h8", "h9", "h2"}), EventLog());
}

// The multi-line box keeps Enter for itself, but not Esc.
TEST_F(WindowTest, EscInTheMultiLineBoxClosesTheWindowToo) {
  Load();
  SetFocus(Hwnd(kBody));
  PostMessageA(Hwnd(kBody), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_EQ(nullptr, Hwnd(0));
  EXPECT_EQ((std::vector<std::string>{"h2"}), EventLog());
}

TEST_F(WindowTest, ACloseHandlerThatAnswersFalseKeepsTheWindowOpen) {
  WindowTemplate w = SmallWindow();
  w.records[0].bindings = {Bind(1, 9)};
  JobOf(9) = [](TaggedValue* r, int32_t, const uintptr_t*) { *r = MakeBool(false); };
  Load({w});
  SendMessageA(Hwnd(0), WM_CLOSE, 0, 0);
  EXPECT_NE(nullptr, Hwnd(0));
  JobOf(9) = [](TaggedValue* r, int32_t, const uintptr_t*) { *r = MakeBool(true); };
  SendMessageA(Hwnd(0), WM_CLOSE, 0, 0);
  EXPECT_EQ(nullptr, Hwnd(0));
}

TEST_F(WindowTest, TabMovesThroughTabStopsInRecordOrderSkippingLabels) {
  Load();
  SetFocus(Hwnd(kButton));
  std::vector<HWND> seen;
  for (int i = 0; i < 4; ++i) {
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    seen.push_back(GetFocus());
  }
  EXPECT_EQ((std::vector<HWND>{Hwnd(kEdit), Hwnd(kBody), Hwnd(kButton2), Hwnd(kButton)}), seen);
}

TEST_F(WindowTest, EnterBreaksALineInTheMultiLineBoxAndDoesNothingElsewhere) {
  Load();
  SetFocus(Hwnd(kBody));
  SendMessageA(Hwnd(kBody), WM_CHAR, 'a', 0);
  PostMessageA(Hwnd(kBody), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  SendMessageA(Hwnd(kBody), WM_CHAR, 'b', 0);
  char text[32];
  GetWindowTextA(Hwnd(kBody), text, sizeof text);
  EXPECT_STREQ("a\r\nb", text);
  SetFocus(Hwnd(kEdit));
  PostMessageA(Hwnd(kEdit), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(Hwnd(kEdit), GetFocus());
  EXPECT_EQ(0, Count("h1"));
}

TEST_F(WindowTest, EnterClicksTheDefaultButton) {
  WindowTemplate w = SmallWindow();
  ButtonSettings b;
  b.caption = "默认";
  b.defaultButton = true;
  w.records[2].typeBlock = WriteButtonSettings(b);
  Load({w});
  SetFocus(Hwnd(kEdit));
  PostMessageA(Hwnd(kEdit), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(1, Count("h1"));
}

TEST_F(WindowTest, FocusEventsComeFromTheEditBox) {
  WindowTemplate w = SmallWindow();
  w.records[3].bindings = {Bind(-7, 6), Bind(-8, 7)};
  Load({w});
  SetFocus(Hwnd(kButton));
  EventLog().clear();
  SetFocus(Hwnd(kEdit));
  SetFocus(Hwnd(kButton));
  EXPECT_EQ((std::vector<std::string>{"h6", "h7"}), EventLog());
}

TEST_F(WindowTest, AnEntryThatBindsNothingDoesNotHideALaterBindingOfTheSameEvent) {
  WindowTemplate w = SmallWindow();
  w.records[2].bindings = {Bind(0, -1), Bind(0, 1)};
  Load({w});
  SendMessageA(Hwnd(kButton), BM_CLICK, 0, 0);
  EXPECT_EQ(1, Count("h1"));
}

TEST_F(WindowTest, EventSourcesLendTheirBindingsEvenInARing) {
  WindowTemplate w = SmallWindow();
  w.records[5].eventSource = kButton;  // 按钮乙 uses 按钮甲's bindings
  Load({w});
  SendMessageA(Hwnd(kButton2), BM_CLICK, 0, 0);
  EXPECT_EQ(1, Count("h1"));
  // A ring of sources ends instead of looping for ever.
  FindUnitRecord(*FindWindowTemplate(kTestWindow), kButton)->eventSource = kButton2;
  SendMessageA(Hwnd(kButton2), BM_CLICK, 0, 0);
  Pump();
}

TEST_F(WindowTest, TypedEventsPassByReferenceArgumentsAndResults) {
  Load();
  static char* variable;
  variable = CopyText("旧名");
  JobOf(10) = [](TaggedValue* r, int32_t n, const uintptr_t* words) {
    ASSERT_EQ(3, n);
    char** slot = reinterpret_cast<char**>(words[0]);
    FreeMemory(*slot);
    *slot = CopyText("新名");
    EXPECT_EQ(0xFFu, words[1]);                        // a byte, zero-extended
    EXPECT_EQ(static_cast<uintptr_t>(-2), words[2]);   // a short, sign-extended
    *r = MakeInt(77);
  };
  FindUnitRecord(*FindWindowTemplate(kTestWindow), kButton2)->bindings = {
      {5, 40, reinterpret_cast<uintptr_t>(&CodeTable()[10])}};
  TypedEventRecord e = {};
  e.windowId = kTestWindow;
  e.unitId = kButton2;
  e.event = 5;
  e.argCount = 3;
  TaggedValue ref;
  SetValuePointer(&ref, &variable, kTagText | kTagByRef);
  e.args[0] = {ref.lo, ref.hi, ref.tag, kEventArgAddress};
  e.args[1] = {0xFFFFFFFF, 0, kTagByte, 0};
  e.args[2] = {0xFFFE, 0, kTagShort, 0};
  EXPECT_TRUE(RuntimeService(kRequestRaiseTypedEvent, reinterpret_cast<intptr_t>(&e), 0));
  EXPECT_EQ(1u, e.hasResult);
  EXPECT_EQ(77u, e.resultLo);
  EXPECT_STREQ("新名", variable);
  FreeMemory(variable);
}

TEST_F(WindowTest, SuppressionCounterStopsHandlersAndNeverGoesBelowZero) {
  Load();
  RuntimeService(kRequestSuspendEvents, 0, 0);
  RuntimeService(kRequestSuspendEvents, 0, 0);
  SendMessageA(Hwnd(kButton), BM_CLICK, 0, 0);
  RuntimeService(kRequestResumeEvents, 0, 0);
  SendMessageA(Hwnd(kButton), BM_CLICK, 0, 0);
  EXPECT_TRUE(EventLog().empty());
  RuntimeService(kRequestResumeEvents, 0, 0);
  RuntimeService(kRequestResumeEvents, 0, 0);
  EXPECT_EQ(0, g_runtime.eventsSuspended);
  SendMessageA(Hwnd(kButton), BM_CLICK, 0, 0);
  EXPECT_EQ(1, Count("h1"));
}

TEST_F(WindowTest, ServicesAnswerForLiveWindowsAndTheRunningEvent) {
  Load();
  EXPECT_EQ(reinterpret_cast<intptr_t>(FindLiveUnit(kTestWindow, kEdit)),
            RuntimeService(kRequestFindLiveUnit, kTestWindow, kEdit));
  EXPECT_EQ(0, RuntimeService(kRequestFindLiveUnit, 0x52010009, 0));
  EXPECT_EQ(0, RuntimeService(kRequestFindLiveUnit, kTestWindow, 0x16019999));
  EXPECT_EQ(1, RuntimeService(kRequestWindowCount, 0, 0));
  EXPECT_EQ(reinterpret_cast<intptr_t>(Hwnd(0)), RuntimeService(kRequestWindowHandle, 0, 0));
  EXPECT_EQ(0, RuntimeService(kRequestWindowHandle, 1, 0));
  static intptr_t seenWindow;
  static uint32_t seenUnit;
  JobOf(1) = [](TaggedValue*, int32_t, const uintptr_t*) {
    seenWindow = RuntimeService(kRequestRunningEventSource, reinterpret_cast<intptr_t>(&seenUnit), 0);
  };
  SendMessageA(Hwnd(kButton), BM_CLICK, 0, 0);
  EXPECT_EQ(static_cast<intptr_t>(kTestWindow), seenWindow);
  EXPECT_EQ(kButton, seenUnit);
  EXPECT_EQ(0, RuntimeService(kRequestRunningEventSource, 0, 0));  // nothing runs now
}

TEST_F(WindowTest, TheBodyBoxWrapsLongLinesAndScrollsLongTextsButAHorizontalBarStopsTheWrap) {
  constexpr uint32_t kBoth = 0x16010015;
  WindowTemplate w = SmallWindow();
  EditBoxSettings both;
  both.multiLine = true;
  both.scrollBars = 3;
  w.records.push_back(Record(kBoth, kTagEditBox, 220, 80, 160, 100, kUnitVisible | kUnitTabStop,
                             WriteEditBoxSettings(both)));
  Load({w});
  std::string line;
  for (int i = 0; i < 40; ++i) line += "题目 ";
  SetText(kBody, kEditBoxContent, line.c_str());
  SetText(kBoth, kEditBoxContent, line.c_str());
  EXPECT_GT(SendMessageA(Hwnd(kBody), EM_GETLINECOUNT, 0, 0), 1);
  EXPECT_EQ(1, SendMessageA(Hwnd(kBoth), EM_GETLINECOUNT, 0, 0));

  std::string lines;
  for (int i = 0; i < 60; ++i) lines += std::to_string(i) + ":\r\n";
  SetText(kBody, kEditBoxContent, lines.c_str());
  EXPECT_EQ(61, SendMessageA(Hwnd(kBody), EM_GETLINECOUNT, 0, 0));
  SendMessageA(Hwnd(kBody), EM_SETSEL, lines.size(), lines.size());
  SendMessageA(Hwnd(kBody), EM_SCROLLCARET, 0, 0);
  EXPECT_GT(SendMessageA(Hwnd(kBody), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_EQ(0, GetScrollPos(Hwnd(kBody), SB_HORZ));
}

// The window's key, background and topmost properties act on the live
// window at once.
TEST_F(WindowTest, TheWindowsKeyBackgroundAndTopmostSettingsTakeEffectWhenWritten) {
  Load();
  SetUnitProperty(kTestWindow, 0, kWindowEscCloses, -1, 0, 0);
  EXPECT_EQ(0u, GetUnitProperty(kTestWindow, 0, kWindowEscCloses, -1).lo);
  PostMessageA(Hwnd(kEdit), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  ASSERT_NE(nullptr, Hwnd(0));

  SetUnitProperty(kTestWindow, 0, kWindowEnterMovesFocus, -1, 1, 0);
  SetFocus(Hwnd(kEdit));
  PostMessageA(Hwnd(kEdit), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(Hwnd(kBody), GetFocus());
  // The multi-line box keeps Enter for its line breaks all the same.
  PostMessageA(Hwnd(kBody), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(Hwnd(kBody), GetFocus());

  SetUnitProperty(kTestWindow, 0, kWindowTopmost, -1, 1, 0);
  EXPECT_TRUE(GetWindowLongA(Hwnd(0), GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetUnitProperty(kTestWindow, 0, kWindowTopmost, -1, 0, 0);
  EXPECT_FALSE(GetWindowLongA(Hwnd(0), GWL_EXSTYLE) & WS_EX_TOPMOST);

  SetUnitProperty(kTestWindow, 0, kWindowBackground, -1, RGB(0, 128, 0), 0);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(Hwnd(0), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(RGB(0, 128, 0), GetPixel(dc, 3, 3));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);

  SetUnitProperty(kTestWindow, 0, kWindowEscCloses, -1, 1, 0);
  PostMessageA(Hwnd(kEdit), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_EQ(nullptr, Hwnd(0));
}

}  // namespace
}  // namespace qx
