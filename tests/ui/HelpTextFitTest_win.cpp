// The converter's help label shows all 20 lines of its text in the Song
// face the Wine prefix substitutes for the Chinese system's: a face with
// taller lines cuts the last ones off.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MainWindowDescription.h"
#include "ui/ControlSupport_win.h"
#include "ui/TypeBlocks.h"

namespace qx {
namespace {

TEST(ConverterHelpTextTest, AllTwentyLinesFitTheLabel) {
  WindowTemplate w = MainWindowTemplate();
  const UnitRecord* help = nullptr;
  for (const UnitRecord& r : w.records)
    if (r.id == kLabel1) help = &r;
  ASSERT_NE(nullptr, help);
  LabelSettings s;
  ASSERT_TRUE(ReadLabelSettings(help->typeBlock, &s));
  ASSERT_TRUE(s.wordWrap);

  HFONT font = FontOrDefault(CreateStoredFont(s.font));
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  RECT r = {0, 0, help->width, 0};
  int height = DrawTextA(dc, s.caption.c_str(), -1, &r, DT_NOPREFIX | DT_WORDBREAK | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);

  EXPECT_EQ(20, height / tm.tmHeight);  // no line wraps
  EXPECT_LE(height, help->height);
}

}  // namespace
}  // namespace qx
