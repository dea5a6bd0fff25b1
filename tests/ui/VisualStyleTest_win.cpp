// The drawn look, read back from the screen: real windows of the runtime,
// styled with ApplyVisualStyle, their pixels copied out after each change.
#include "WindowTestSupport.h"

#include <algorithm>
#include <cstdlib>

#include <commctrl.h>

#include "Capture_win.h"
#include "runtime/HelperTable.h"
#include "ui/StyledWindow_win.h"
#include "ui/WindowCommands.h"

namespace qx {
namespace {

using namespace test;

constexpr COLORREF kBorder3 = RGB(0, 60, 116);
constexpr COLORREF kFrame3 = RGB(198, 197, 215);

int Sum(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

// Wine computes a vertical gradient's inner rows from 16-bit vertex
// colours with its own rounding; rows other than the first are compared
// with the straight line between the two colours, a little either way.
COLORREF Between(COLORREF top, COLORREF bottom, int row, int rows) {
  auto mix = [&](int a, int b) { return a + (b - a) * row / rows; };
  return RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
             mix(GetBValue(top), GetBValue(bottom)));
}
::testing::AssertionResult Near(COLORREF want, COLORREF got, int tolerance = 2) {
  if (std::abs(GetRValue(want) - GetRValue(got)) <= tolerance &&
      std::abs(GetGValue(want) - GetGValue(got)) <= tolerance &&
      std::abs(GetBValue(want) - GetBValue(got)) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << std::hex << "want " << want << " got " << got;
}

// The dark pixels of a caption inside ring 4.
struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};
Ink Caption(const Shot& s) {
  Ink ink;
  for (int y = 4; y < s.h - 4; ++y)
    for (int x = 4; x < s.w - 4; ++x)
      if (Sum(s.At(x, y)) < 200) {
        ink.left = std::min(ink.left, x);
        ink.top = std::min(ink.top, y);
        ink.right = std::max(ink.right, x);
        ink.bottom = std::max(ink.bottom, y);
        ++ink.count;
      }
  return ink;
}

TaggedValue Apply(int32_t scheme) {
  TaggedValue arg = MakeInt(scheme);
  return HelperTable().callCoreCommand(ApplyVisualStyle, 1, &arg);
}

LONG_PTR ProcOf(HWND h) { return GetWindowLongPtrA(h, GWLP_WNDPROC); }
const LONG_PTR kStyleProc = reinterpret_cast<LONG_PTR>(StyleWindowProc);

class VisualStyleTest : public ::testing::Test {
 protected:
  void SetUp() override { Load({SmallWindow()}); }
  void TearDown() override {
    Apply(0);
    StopRuntime();
  }

  void Load(const std::vector<WindowTemplate>& windows) {
    ASSERT_TRUE(StartWithWindow(windows));
    Pump();
    // The buttons under test are not focused unless a test says so.
    SetFocus(Hwnd(kEdit));
    Pump();
  }

  HWND Child(const char* cls, const char* text, DWORD style, int x, int y, int w, int h) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                           Hwnd(kSelf), nullptr, GetModuleHandleA(nullptr), nullptr);
  }

  const COLORREF face_ = GetSysColor(COLOR_BTNFACE);
};

TEST_F(VisualStyleTest, ANormalButtonHasTheNormalRingFaceBorderAndRoundCorners) {
  ASSERT_TRUE(Apply(3).lo);
  Shot s = Capture(Hwnd(kButton2));
  const int W = s.w, H = s.h;
  ASSERT_EQ(80, W);
  EXPECT_EQ(face_, s.At(0, H / 2));
  EXPECT_EQ(kBorder3, s.At(1, H / 2));
  EXPECT_EQ(kBorder3, s.At(W / 2, H - 2));
  // Ring entry 4 from row 2, face entry 6 from row 4 (left of the caption).
  EXPECT_EQ(RGB(255, 255, 255), s.At(W / 2, 2));
  EXPECT_TRUE(Near(Between(RGB(255, 255, 255), RGB(226, 223, 214), H - 5, H - 4), s.At(W / 2, H - 3)));
  EXPECT_EQ(RGB(252, 252, 251), s.At(6, 4));
  EXPECT_TRUE(Near(Between(RGB(252, 252, 251), RGB(198, 197, 215), H - 9, H - 8), s.At(6, H - 5)));
  for (POINT p : {POINT{1, 1}, {1, H - 2}, {W - 2, H - 2}, {W - 2, 1}}) EXPECT_EQ(face_, s.At(p.x, p.y));
  for (POINT p : {POINT{2, 2}, {2, H - 3}, {W - 3, H - 3}, {W - 3, 2}, {1, 2}, {2, 1}, {W - 3, 1},
                  {W - 2, 2}, {W - 3, H - 2}, {W - 2, H - 3}, {2, H - 2}, {1, H - 3}})
    EXPECT_EQ(kBorder3, s.At(p.x, p.y)) << p.x << "," << p.y;
  EXPECT_GT(Caption(s).count, 0);
}

TEST_F(VisualStyleTest, FocusDrawsEntryThreeAndAFocusRectangleAndHotComesBeforeIt) {
  Apply(3);
  HWND b = Hwnd(kButton2);
  SetFocus(b);
  Pump();
  Shot s = Capture(b);
  EXPECT_EQ(RGB(206, 231, 255), s.At(s.w / 2, 2));
  // The focus rectangle inverts every other pixel of ring 3.
  int inverted = 0;
  for (int x = 8; x < s.w - 8; ++x) inverted += Sum(s.At(x, 3)) < 300;
  EXPECT_GE(inverted, (s.w - 16) / 3);
  EXPECT_EQ(0, [&] {
    int n = 0;
    for (int x = 8; x < s.w - 8; ++x) n += Sum(s.At(x, 2)) < 300;
    return n;
  }());

  // A move reported to the button makes it hot; the leave report (sent
  // here: Xvfb's pointer is not over the window, so Wine would not track
  // it) brings the focused ring back.
  SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(RGB(255, 240, 207), Capture(b).At(s.w / 2, 2));
  SendMessageA(b, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(RGB(206, 231, 255), Capture(b).At(s.w / 2, 2));
}

TEST_F(VisualStyleTest, PressedDrawsEntriesZeroAndFiveAndMovesTheCaption) {
  Apply(3);
  HWND b = Hwnd(kButton2);
  Ink before = Caption(Capture(b));
  SendMessageA(b, BM_SETSTATE, TRUE, 0);
  Shot s = Capture(b);
  EXPECT_EQ(RGB(239, 227, 206), s.At(s.w / 2, 2));
  EXPECT_EQ(RGB(239, 227, 206), s.At(s.w / 2, s.h - 3));  // all four corners alike
  EXPECT_EQ(RGB(179, 178, 197), s.At(6, 4));
  Ink after = Caption(s);
  ASSERT_GT(before.count, 0);
  EXPECT_EQ(before.left + 1, after.left);
  EXPECT_EQ(before.top + 1, after.top);
  SendMessageA(b, BM_SETSTATE, FALSE, 0);
  EXPECT_EQ(RGB(255, 255, 255), Capture(b).At(s.w / 2, 2));
}

TEST_F(VisualStyleTest, ADisabledButtonIsFlatWithADarkerBorderAndAGreyCaption) {
  Apply(3);
  HWND b = Hwnd(kButton2);
  EnableWindow(b, FALSE);
  Shot s = Capture(b);
  const int W = s.w, H = s.h;
  EXPECT_EQ(face_ - 0x202020, s.At(1, H / 2));
  for (POINT p : {POINT{W / 2, 2}, {6, 4}, {6, H - 5}, {W / 2, H - 3}})
    EXPECT_EQ(RGB(245, 244, 234), s.At(p.x, p.y));
  EXPECT_EQ(face_, s.At(1, 1));
  EXPECT_EQ(face_ - 0x151515, s.At(W - 3, H - 3));
  EXPECT_EQ(face_ - 0x111111, s.At(2, 1));
  // The caption's darkest pixel is the grey itself; nothing is black.
  int darkest = 3 * 255;
  for (int y = 4; y < H - 4; ++y)
    for (int x = 4; x < W - 4; ++x) darkest = std::min(darkest, Sum(s.At(x, y)));
  EXPECT_EQ(Sum(RGB(165, 162, 148)), darkest);
  EnableWindow(b, TRUE);
  EXPECT_EQ(kBorder3, Capture(b).At(1, H / 2));
}

TEST_F(VisualStyleTest, TheDefaultStyleDrawsEntryThreeAndACaptionChangeShowsAtOnce) {
  Apply(3);
  HWND b = Hwnd(kButton2);
  SendMessageA(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  Shot s = Capture(b);
  EXPECT_EQ(RGB(206, 231, 255), s.At(s.w / 2, 2));
  SendMessageA(b, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  EXPECT_EQ(RGB(255, 255, 255), Capture(b).At(s.w / 2, 2));

  // No messages are pumped: the new caption is on the screen already.
  SetWindowTextA(b, "");
  EXPECT_EQ(0, Caption(Capture(b)).count);
  SetWindowTextA(b, "WWWW");
  EXPECT_GT(Caption(Capture(b)).count, 0);
}

// The checked ring's corners differ left and right: Wine fills it with two
// triangles whose inner pixels it interpolates with its own rounding.
TEST_F(VisualStyleTest, ACheckedPushLikeButtonHasTheCheckedRingAndThePressedFace) {
  HWND b = Child("BUTTON", "x", BS_AUTOCHECKBOX | BS_PUSHLIKE, 10, 200, 80, 28);
  Apply(3);
  SendMessageA(b, BM_SETCHECK, BST_CHECKED, 0);
  Shot s = Capture(b);
  EXPECT_EQ(RGB(179, 178, 197), s.At(6, 4));
  EXPECT_TRUE(Near(RGB(214, 205, 193), s.At(s.w / 2, 2), 3));
  EXPECT_TRUE(Near(RGB(247, 243, 239), s.At(s.w / 2, s.h - 3), 6));
  EXPECT_GT(Caption(s).count, 0);
  SendMessageA(b, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(0, Caption(Capture(b)).count);  // grey caption
  SendMessageA(b, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(RGB(255, 255, 255), Capture(b).At(s.w / 2, 2));
}

TEST_F(VisualStyleTest, TheCaptionFollowsTheAlignmentBitsAndBreaksAtLineEnds) {
  HWND b = Child("BUTTON", "AB\r\nCD", BS_PUSHBUTTON | BS_LEFT | BS_TOP, 10, 200, 120, 60);
  Apply(3);
  Ink ink = Caption(Capture(b));
  ASSERT_GT(ink.count, 0);
  EXPECT_LE(ink.left, 6);
  EXPECT_LE(ink.top, 7);
  HDC dc = GetDC(b);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(b, WM_GETFONT, 0, 0)));
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(b, dc);
  EXPECT_GT(ink.bottom - ink.top, tm.tmHeight);  // two lines

  SetWindowLongPtrA(b, GWL_STYLE, (GetWindowLongPtrA(b, GWL_STYLE) & ~0xF00) | BS_RIGHT | BS_BOTTOM);
  SetWindowTextA(b, "AB");
  ink = Caption(Capture(b));
  EXPECT_GE(ink.right, 120 - 7);
  EXPECT_GE(ink.bottom, 60 - 8);
}

TEST_F(VisualStyleTest, EditFramesTakeTheSchemeColourAndShowDisabledAndReadOnly) {
  SendMessageA(Hwnd(kBody), EM_SETREADONLY, TRUE, 0);
  Apply(3);
  Shot s = Capture(Hwnd(kEdit), true);
  EXPECT_EQ(kFrame3, s.At(0, s.h / 2));
  EXPECT_EQ(kFrame3, s.At(s.w / 2, s.h - 1));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), s.At(1, s.h / 2));
  Shot ro = Capture(Hwnd(kBody), true);
  EXPECT_EQ(kFrame3, ro.At(0, ro.h / 2));
  EXPECT_EQ(face_, ro.At(1, ro.h / 2));

  EnableWindow(Hwnd(kEdit), FALSE);
  s = Capture(Hwnd(kEdit), true);
  EXPECT_EQ(face_ - 0x202020, s.At(0, s.h / 2));
  EXPECT_EQ(face_, s.At(1, s.h / 2));
}

TEST_F(VisualStyleTest, AnEditBoxWithoutABorderKeepsTheSystemsDrawing) {
  HWND plain = Child("EDIT", "abc", 0, 10, 200, 120, 24);
  Pump();
  Shot before = Capture(plain, true);
  Apply(3);
  Pump();
  EXPECT_NE(nullptr, FindStyledWindow(plain));
  Shot after = Capture(plain, true);
  EXPECT_EQ(before.px, after.px);
}

TEST_F(VisualStyleTest, SchemesOneAndTwoUseTheirOwnBorderAndFrameColours) {
  Apply(1);
  EXPECT_EQ(RGB(0, 60, 115), Capture(Hwnd(kButton2)).At(1, 14));
  EXPECT_EQ(RGB(123, 158, 189), Capture(Hwnd(kEdit), true).At(0, 5));
  Apply(2);
  EXPECT_EQ(RGB(55, 98, 6), Capture(Hwnd(kButton2)).At(1, 14));
  EXPECT_EQ(RGB(164, 185, 127), Capture(Hwnd(kEdit), true).At(0, 5));
}

TEST_F(VisualStyleTest, OnlyPushButtonsAndEditBoxesAreTakenOverAndRemovingGivesProceduresBack) {
  HWND owner = Child("BUTTON", "x", BS_OWNERDRAW, 10, 190, 40, 20);
  HWND bitmap = Child("BUTTON", "x", BS_PUSHBUTTON | BS_BITMAP, 60, 190, 40, 20);
  HWND bare = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_TABSTOP, 110, 190, 40, 20,
                              Hwnd(kSelf), nullptr, nullptr, nullptr);
  ASSERT_EQ(0x40010000, GetWindowLongA(bare, GWL_STYLE));
  HWND check = Child("BUTTON", "x", BS_AUTOCHECKBOX, 160, 190, 40, 20);
  HWND pushLike = Child("BUTTON", "x", BS_AUTOCHECKBOX | BS_PUSHLIKE, 210, 190, 40, 20);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_INTERNET_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&icc));
  HWND ip = Child(WC_IPADDRESSA, "", 0, 10, 220, 160, 24);
  HWND ipEdit = GetWindow(ip, GW_CHILD);
  ASSERT_NE(nullptr, ipEdit);
  const HWND ours[] = {Hwnd(kSelf), Hwnd(kLabel), Hwnd(kButton), Hwnd(kEdit), Hwnd(kBody),
                       Hwnd(kButton2), owner, bitmap, bare, check, pushLike, ipEdit};
  std::vector<LONG_PTR> procs;
  for (HWND h : ours) procs.push_back(ProcOf(h));

  ASSERT_TRUE(Apply(3).lo);
  for (HWND h : {Hwnd(kButton), Hwnd(kEdit), Hwnd(kBody), Hwnd(kButton2), pushLike})
    EXPECT_EQ(kStyleProc, ProcOf(h));
  for (HWND h : {Hwnd(kSelf), Hwnd(kLabel), owner, bitmap, bare, check, ipEdit})
    EXPECT_NE(kStyleProc, ProcOf(h)) << ClassOf(h);

  TaggedValue r = Apply(0);
  EXPECT_EQ(kTagBool, r.tag);
  EXPECT_EQ(1u, r.lo);  // a hook was removed
  for (size_t i = 0; i < procs.size(); ++i) EXPECT_EQ(procs[i], ProcOf(ours[i])) << i;
  EXPECT_EQ(nullptr, FirstStyledWindow());
  EXPECT_EQ(0u, Apply(0).lo);
  EXPECT_NE(kBorder3, Capture(Hwnd(kButton2)).At(1, 14));
}

TEST_F(VisualStyleTest, WindowsCreatedLaterAreTakenOverThroughTheHook) {
  Apply(3);
  HWND later = Child("BUTTON", "后来", BS_PUSHBUTTON, 10, 200, 80, 28);
  Pump();
  ASSERT_NE(nullptr, FindStyledWindow(later));
  Shot s = Capture(later);
  EXPECT_EQ(kBorder3, s.At(1, s.h / 2));
  EXPECT_EQ(RGB(255, 255, 255), s.At(s.w / 2, 2));
}

// A window of the runtime loaded while the style is on: the hook takes its
// controls over first, then the control kinds subclass them on top.
TEST_F(VisualStyleTest, LettingGoUnderAKindsOwnProcedureKeepsItInTheChain) {
  StopRuntime();
  WindowTemplate second = SmallWindow();
  second.id = 0x52010002;
  second.records[0].bindings = {};
  Load({SmallWindow(), second});
  Apply(3);
  ASSERT_TRUE(LoadWindow(FindWindowTemplate(second.id), false, false, nullptr));
  Pump();
  HWND b = Hwnd(kButton, second.id);
  ASSERT_NE(nullptr, FindStyledWindow(b));
  const LONG_PTR kinds = ProcOf(b);
  ASSERT_NE(kStyleProc, kinds);
  EXPECT_EQ(kBorder3, Capture(b).At(1, 14));
  EventLog().clear();
  SendMessageA(b, BM_CLICK, 0, 0);
  EXPECT_EQ(std::vector<std::string>{"h1"}, EventLog());

  Apply(0);
  EXPECT_EQ(kinds, ProcOf(b));  // not cut out
  EXPECT_NE(kBorder3, Capture(b).At(1, 14));
  SendMessageA(b, BM_CLICK, 0, 0);
  EXPECT_EQ(2u, EventLog().size());
  ASSERT_NE(nullptr, FindStyledWindow(b));  // passing messages on until the end
  DestroyWindow(b);
  EXPECT_EQ(nullptr, FindStyledWindow(b));
  EXPECT_EQ(nullptr, FindLiveUnit(second.id, kButton));
}

int g_moves = 0;
WNDPROC g_counted = nullptr;
LRESULT CALLBACK CountMoves(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSEMOVE) ++g_moves;
  return CallWindowProcA(g_counted, h, msg, wp, lp);
}

TEST_F(VisualStyleTest, TheButtonsOwnProcedureSeesEachMouseMoveOnce) {
  HWND b = Child("BUTTON", "x", BS_PUSHBUTTON, 10, 200, 80, 28);
  g_counted = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountMoves)));
  g_moves = 0;
  Apply(3);
  SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));  // becomes hot
  SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));  // already hot
  EXPECT_EQ(2, g_moves);
  Apply(0);
  SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_counted));
}

// The pointer itself, moved over the button and away from it: the move
// makes the button hot, and the leave report that the style asked for with
// TrackMouseEvent, not one sent here, makes it cold again.
TEST_F(VisualStyleTest, ARealPointerLeavingTheButtonEndsItsHotState) {
  Apply(3);
  HWND b = Hwnd(kButton2);
  RECT rc;
  GetWindowRect(b, &rc);
  SetCursorPos(rc.right + 300, rc.bottom + 300);
  Pump();
  const COLORREF cold = Capture(b).At((rc.right - rc.left) / 2, 2);
  auto hot = [&] { return (FindStyledWindow(b)->flags & kStyleHot) != 0; };
  auto waitFor = [&](bool wanted) {
    for (int i = 0; i < 100 && hot() != wanted; ++i) {
      Sleep(20);
      Pump();
    }
    return hot() == wanted;
  };
  ASSERT_FALSE(hot());
  SetCursorPos(rc.left + 10, rc.top + 8);
  ASSERT_TRUE(waitFor(true));
  EXPECT_EQ(RGB(255, 240, 207), Capture(b).At((rc.right - rc.left) / 2, 2));
  SetCursorPos(rc.right + 300, rc.bottom + 300);
  EXPECT_TRUE(waitFor(false));
  EXPECT_EQ(cold, Capture(b).At((rc.right - rc.left) / 2, 2));
}

}  // namespace
}  // namespace qx
