// The converter's stored window: sizes and offsets pinned, and the parsed
// data checked against the table of the window's controls.
#include <gtest/gtest.h>

#include <cstring>

#include "app/MainWindowDescription.h"
#include "ui/Description.h"
#include "ui/TypeBlocks.h"

namespace qx {
namespace {

uint32_t U32At(const std::string& s, size_t at) {
  uint32_t v;
  memcpy(&v, s.data() + at, 4);
  return v;
}

std::vector<WindowTemplate> Parsed() {
  const std::string& block = MainWindowDescription();
  std::vector<WindowTemplate> windows;
  EXPECT_TRUE(ParseDescription(block.data(), static_cast<uint32_t>(block.size()), &windows));
  return windows;
}

TEST(MainWindowDescription, SizesAndOffsetsArePinned) {
  const std::string& block = MainWindowDescription();
  EXPECT_EQ(3917u, block.size());
  EXPECT_EQ(8u, U32At(block, 0));
  EXPECT_EQ(kMainWindowId, U32At(block, 4));
  // Two words, two empty texts, then N and M.
  EXPECT_EQ(0x02507930u, U32At(block, 12));
  EXPECT_EQ(0x19010004u, U32At(block, 16));
  EXPECT_EQ(20u, U32At(block, 28));
  EXPECT_EQ(3881u, U32At(block, 32));
  const size_t ids = 36, offsets = ids + 4 * 20;
  EXPECT_EQ(kMainWindowRecordId, U32At(block, ids));
  EXPECT_EQ(kLabel3, U32At(block, ids + 4));
  EXPECT_EQ(kExcelApp, U32At(block, ids + 4 * 19));
  const uint32_t expected[] = {0, 254, 462, 678, 822};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(expected[i], U32At(block, offsets + 4 * i)) << i;
  EXPECT_EQ(431u, strlen(kMainWindowHelpText));
}

TEST(MainWindowDescription, RecordsFollowTheTableOfControls) {
  std::vector<WindowTemplate> windows = Parsed();
  ASSERT_EQ(1u, windows.size());
  const std::vector<UnitRecord>& r = windows[0].records;
  ASSERT_EQ(20u, r.size());
  struct Row {
    uint32_t id;
    const char* name;
    uint32_t tag;
    int32_t left, top, width, height;
    uint32_t flags;
  };
  const Row rows[] = {
      {kLabel3, "标签3", 0x0001000A, 443, 205, 120, 40, 1},
      {kLabel2, "标签2", 0x0001000A, 443, 149, 120, 40, 1},
      {kDropTarget1, "拖放对象1", 0x00060001, 616, 688, 32, 40, 0},
      {kLabel1, "标签1", 0x0001000A, 440, 265, 496, 335, 1},
      {kButtonManualReplace, "按钮手动替换", 0x0001000B, 787, 205, 88, 40, 5},
      {kEditReplaceWith, "编辑框替换为", 0x00010005, 571, 205, 208, 40, 5},
      {kEditReplace, "编辑框替换", 0x00010005, 571, 149, 208, 40, 5},
      {kButtonAutoReplace, "按钮自动替换", 0x0001000B, 787, 149, 88, 40, 5},
      {kButtonOutputFolder, "按钮2", 0x0001000B, 824, 61, 112, 35, 5},
      {kEditOutputFolder, "编辑框3", 0x00010005, 440, 64, 376, 32, 5},
      {kButtonReset, "按钮重置", 0x0001000B, 848, 104, 72, 32, 5},
      {kEditFileName, "编辑框文件名", 0x00010005, 440, 16, 376, 32, 5},
      {kFileDialog1, "通用对话框1", 0x0001001F, 552, 688, 48, 40, 0},
      {kButtonSave, "按钮保存", 0x0001000B, 608, 612, 104, 40, 5},
      {kButtonBrowse, "按钮浏览", 0x0001000B, 824, 10, 112, 35, 5},
      {kEditBody, "编辑框正文", 0x00010005, 0, 8, 424, 728, 5},
      {kButtonConvert, "按钮转换", 0x0001000B, 448, 104, 64, 32, 5},
      {kExcelWorkbooks, "Excel工作簿", 0x00020002, 488, 688, 48, 40, 0},
      {kExcelApp, "Excel程序", 0x00020001, 440, 696, 32, 32, 0},
  };
  for (int i = 0; i < 19; ++i) {
    const UnitRecord& u = r[i + 1];
    SCOPED_TRACE(rows[i].name);
    EXPECT_EQ(rows[i].id, u.id);
    EXPECT_EQ(rows[i].name, u.name);
    EXPECT_EQ(rows[i].tag, u.typeTag);
    EXPECT_EQ(rows[i].left, u.left);
    EXPECT_EQ(rows[i].top, u.top);
    EXPECT_EQ(rows[i].width, u.width);
    EXPECT_EQ(rows[i].height, u.height);
    EXPECT_EQ(rows[i].flags, u.flags);
    EXPECT_EQ(std::string(4, '\0'), u.cursorData);
    EXPECT_EQ(0u, u.container);
    EXPECT_EQ("", u.remark);
  }
  EXPECT_EQ(96u, r[1].typeBlock.size());
  // Three edit boxes and every non-visual kind but the drop target rely on
  // empty blocks.
  for (uint32_t id : {kEditReplaceWith, kEditOutputFolder, kEditFileName, kFileDialog1,
                      kExcelWorkbooks, kExcelApp}) {
    EXPECT_TRUE(FindUnitRecord(windows[0], id)->typeBlock.empty()) << std::hex << id;
  }
}

TEST(MainWindowDescription, WindowSettings) {
  std::vector<WindowTemplate> windows = Parsed();
  const UnitRecord& self = windows[0].records[0];
  EXPECT_EQ(0x00010001u, self.typeTag);
  EXPECT_EQ("", self.name);
  EXPECT_EQ(968, self.width);
  EXPECT_EQ(776, self.height);
  EXPECT_EQ(1u, self.flags);
  WindowSettings w;
  ASSERT_TRUE(ReadWindowSettings(self.typeBlock, &w));
  EXPECT_EQ(6u, w.version);
  EXPECT_EQ(2u, w.borderStyle);
  EXPECT_EQ(kButtonFaceMarker, w.background);
  EXPECT_FALSE(w.maximizeBox);
  EXPECT_TRUE(w.minimizeBox);
  EXPECT_TRUE(w.controlBox);
  EXPECT_EQ(1u, w.positionMode);
  EXPECT_TRUE(w.movable);
  EXPECT_FALSE(w.enterMovesFocus);
  EXPECT_TRUE(w.escCloses);
  EXPECT_FALSE(w.f1Help);
  EXPECT_TRUE(w.inTaskBar);
  EXPECT_FALSE(w.topmost);
  EXPECT_EQ("", w.className);
  EXPECT_EQ("Quillox 1.0 by\xA3\xBATarvenn", w.title);  // GBK full-width colon
}

TEST(MainWindowDescription, ControlSettings) {
  std::vector<WindowTemplate> windows = Parsed();
  WindowTemplate& w = windows[0];
  LabelSettings help;
  ASSERT_TRUE(ReadLabelSettings(FindUnitRecord(w, kLabel1)->typeBlock, &help));
  EXPECT_TRUE(help.wordWrap);
  EXPECT_EQ(0u, help.hAlign);
  EXPECT_EQ(std::string(kMainWindowHelpText), help.caption);
  ASSERT_EQ(60u, help.font.size());
  int32_t height, weight;
  memcpy(&height, help.font.data(), 4);
  memcpy(&weight, help.font.data() + 16, 4);
  EXPECT_EQ(-16, height);
  EXPECT_EQ(400, weight);
  EXPECT_EQ(134, static_cast<unsigned char>(help.font[23]));
  EXPECT_EQ('\0', help.font[28]);  // no face name

  LabelSettings label2;
  ASSERT_TRUE(ReadLabelSettings(FindUnitRecord(w, kLabel2)->typeBlock, &label2));
  EXPECT_EQ("需要被替换内容：", label2.caption);
  EXPECT_FALSE(label2.wordWrap);
  EXPECT_EQ(1u, label2.vAlign);
  EXPECT_TRUE(label2.font.empty());

  EditBoxSettings body;
  ASSERT_TRUE(ReadEditBoxSettings(FindUnitRecord(w, kEditBody)->typeBlock, &body));
  EXPECT_TRUE(body.multiLine);
  EXPECT_EQ(2u, body.scrollBars);
  EXPECT_EQ(0u, body.inputMode);

  ButtonSettings convert;
  ASSERT_TRUE(ReadButtonSettings(FindUnitRecord(w, kButtonConvert)->typeBlock, &convert));
  EXPECT_EQ("转换", convert.caption);
  EXPECT_FALSE(convert.defaultButton);

  const std::string& drop = FindUnitRecord(w, kDropTarget1)->typeBlock;
  ASSERT_EQ(20u, drop.size());
  const uint32_t dropWords[] = {1, 0, 0, 0, 1};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(dropWords[i], U32At(drop, 4 * i));
}

TEST(MainWindowDescription, TenBindingsAndNothingElse) {
  std::vector<WindowTemplate> windows = Parsed();
  static void (*const code[kMainWindowHandlerCount])() = {};
  FixUpBindings(windows, code);
  WindowTemplate& w = windows[0];
  auto handlerOf = [&](uint32_t id, int32_t event) -> uintptr_t {
    for (const EventBinding& b : FindUnitRecord(w, id)->bindings)
      if (b.event == event && b.handler) return b.handler;
    return 0;
  };
  auto entry = [&](MainWindowHandler h) { return reinterpret_cast<uintptr_t>(&code[h]); };
  EXPECT_EQ(entry(kOnWindowCreated), handlerOf(0, 0));
  EXPECT_EQ(entry(kOnWindowDestroyed), handlerOf(0, 2));
  EXPECT_EQ(0u, handlerOf(0, 1));
  EXPECT_EQ(entry(kOnFileDropped), handlerOf(kDropTarget1, 3));
  EXPECT_EQ(entry(kOnChooseSourceFile), handlerOf(kButtonBrowse, 0));
  EXPECT_EQ(entry(kOnChooseOutputFolder), handlerOf(kButtonOutputFolder, 0));
  EXPECT_EQ(entry(kOnConvert), handlerOf(kButtonConvert, 0));
  EXPECT_EQ(entry(kOnManualReplace), handlerOf(kButtonManualReplace, 0));
  EXPECT_EQ(entry(kOnAutoReplace), handlerOf(kButtonAutoReplace, 0));
  EXPECT_EQ(entry(kOnSave), handlerOf(kButtonSave, 0));
  EXPECT_EQ(entry(kOnReset), handlerOf(kButtonReset, 0));

  int withHandler = 0;
  for (const UnitRecord& u : w.records)
    for (const EventBinding& b : u.bindings) withHandler += b.handler != 0;
  EXPECT_EQ(10, withHandler);
  EXPECT_EQ(3u, w.records[0].bindings.size());
}

}  // namespace
}  // namespace qx
