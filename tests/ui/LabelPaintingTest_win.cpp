// What a label puts on the screen: lines, alignment and effects, read back
// from the painted window.
#include "WindowTestSupport.h"

#include <functional>

#include "Capture_win.h"
#include "runtime/Value.h"
#include "ui/LabelKind.h"
#include "ui/Properties.h"

namespace qx {
namespace {

using namespace test;

// The rows in which pixels of interest were painted.
struct Ink {
  int top = -1, bottom = -1, count = 0;
};

class LabelPaintingTest : public ::testing::Test {
 protected:
  void TearDown() override { StopRuntime(); }

  void Load(const LabelSettings& s) {
    WindowTemplate w = SmallWindow();
    w.records[1] = Record(kLabel, kTagLabel, 10, 10, 240, 60, kUnitVisible, WriteLabelSettings(s));
    ASSERT_TRUE(StartWithWindow({w}));
    Pump();
  }

  // Paints the label afresh and copies its client area out.
  Ink Scan(const std::function<bool(BYTE r, BYTE g, BYTE b)>& wanted) {
    HWND label = Hwnd(kLabel);
    InvalidateRect(label, nullptr, TRUE);
    UpdateWindow(label);
    Shot s = Capture(label);
    Ink ink;
    for (int y = 0; y < s.h; ++y)
      for (int x = 0; x < s.w; ++x) {
        const COLORREF c = s.At(x, y);
        if (!wanted(GetRValue(c), GetGValue(c), GetBValue(c))) continue;
        if (ink.top < 0) ink.top = y;
        ink.bottom = y;
        ++ink.count;
      }
    return ink;
  }

  static bool Dark(BYTE r, BYTE g, BYTE b) { return r + g + b < 200; }

  int LineHeight() {
    HDC dc = GetDC(Hwnd(kLabel));
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(Hwnd(kLabel), dc);
    return tm.tmHeight;
  }
};

TEST_F(LabelPaintingTest, WordWrapBreaksAtLineEndsFromTheTop) {
  LabelSettings s;
  s.caption = "AAAA\r\nBBBB";
  s.wordWrap = true;
  Load(s);
  Ink ink = Scan(Dark);
  ASSERT_GT(ink.count, 0);
  EXPECT_LT(ink.top, LineHeight());
  EXPECT_GT(ink.bottom - ink.top, LineHeight());
}

TEST_F(LabelPaintingTest, WithoutWordWrapTheCaptionIsOneVerticallyCentredLine) {
  LabelSettings s;
  s.caption = "AAAA\r\nBBBB";
  Load(s);
  Ink ink = Scan(Dark);
  ASSERT_GT(ink.count, 0);
  EXPECT_LT(ink.bottom - ink.top, LineHeight());
  RECT rc;
  GetClientRect(Hwnd(kLabel), &rc);
  EXPECT_NEAR(rc.bottom / 2, (ink.top + ink.bottom) / 2, 4);
}

TEST_F(LabelPaintingTest, EffectsDrawAWhiteOrBlackCopyBesideTheText) {
  LabelSettings s;
  s.caption = "HHHH";
  s.textColour = RGB(255, 0, 0);
  Load(s);
  auto white = [](BYTE r, BYTE g, BYTE b) { return r == 255 && g == 255 && b == 255; };
  auto black = [](BYTE r, BYTE g, BYTE b) { return r == 0 && g == 0 && b == 0; };
  auto red = [](BYTE r, BYTE g, BYTE b) { return r > 200 && g < 60 && b < 60; };
  EXPECT_EQ(0, Scan(white).count);
  EXPECT_EQ(0, Scan(black).count);
  Ink plain = Scan(red);
  ASSERT_GT(plain.count, 0);

  SetUnitProperty(kTestWindow, kLabel, kLabelEffect, -1, 1, 0);  // raised
  EXPECT_GT(Scan(white).count, 0);
  EXPECT_EQ(plain.top, Scan(red).top);
  SetUnitProperty(kTestWindow, kLabel, kLabelEffect, -1, 2, 0);  // sunken: the text moves
  EXPECT_GT(Scan(white).count, 0);
  EXPECT_EQ(plain.top + 1, Scan(red).top);
  SetUnitProperty(kTestWindow, kLabel, kLabelEffect, -1, 3, 0);  // shadow
  EXPECT_EQ(0, Scan(white).count);
  Ink shadow = Scan(black);
  EXPECT_GT(shadow.count, 0);
  EXPECT_EQ(plain.bottom + 2, shadow.bottom);

  SetUnitProperty(kTestWindow, kLabel, kLabelTextColour, -1, RGB(0, 0, 255), 0);
  EXPECT_EQ(0, Scan(red).count);
}

}  // namespace
}  // namespace qx
