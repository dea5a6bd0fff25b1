#include <gtest/gtest.h>

#include <cstring>

#include "runtime/KindTags.h"
#include "ui/Description.h"
#include "ui/DescriptionWriter.h"
#include "ui/TypeBlocks.h"
#include "ui/WindowTable.h"

namespace qx {
namespace {

UnitRecord Control(uint32_t id, uint32_t tag, const char* name) {
  UnitRecord r;
  r.id = id;
  r.typeTag = tag;
  r.name = name;
  r.left = -3;
  r.top = 7;
  r.width = 100;
  r.height = 20;
  r.cursorData = std::string(4, '\0');
  r.flags = kUnitVisible | kUnitTabStop;
  return r;
}

std::vector<WindowTemplate> TwoWindows() {
  WindowTemplate a;
  a.id = 0x52010001;
  a.words[0] = 11;
  a.words[1] = 22;
  a.texts[0] = "甲";
  UnitRecord self = Control(0x06010000, kTagWindow, "");
  self.bindings = {{0, 0, 0}, {2, 8, 0}, {1, kNoHandler, 0}};
  WindowSettings ws;
  ws.title = "窗口甲";
  self.typeBlock = WriteWindowSettings(ws);
  a.records.push_back(self);
  UnitRecord button = Control(0x16010006, kTagButton, "按钮转换");
  button.tagText = "备注";
  button.remark = "说明";
  button.children = {1, 0, 2};
  button.bindings = {{0, 4, 0}};
  button.tail[4] = 9;
  a.records.push_back(button);
  a.records.push_back(Control(0x16010015, kTagEditBox, "编辑框"));

  WindowTemplate b;
  b.id = 0x52010002;
  b.records.push_back(Control(0x06020000, kTagWindow, ""));
  UnitRecord menu = MakeMenuItemRecord(0x26020001, "菜单", "打开", 1, kMenuVisible | kMenuChecked,
                                       'O' | kShortcutCtrl, 12);
  menu.menuReserved[4] = 7;
  b.records.push_back(menu);
  return {a, b};
}

TEST(DescriptionBlock, WritingWhatWasReadGivesTheSameBytes) {
  std::string block = WriteDescription(TwoWindows());
  std::vector<WindowTemplate> parsed;
  ASSERT_TRUE(ParseDescription(block.data(), static_cast<uint32_t>(block.size()), &parsed));
  ASSERT_EQ(2u, parsed.size());
  EXPECT_EQ(block, WriteDescription(parsed));

  const WindowTemplate& a = parsed[0];
  EXPECT_EQ(0x52010001u, a.id);
  EXPECT_EQ(22u, a.words[1]);
  EXPECT_EQ("甲", a.texts[0]);
  ASSERT_EQ(3u, a.records.size());
  const UnitRecord& button = a.records[1];
  EXPECT_EQ(0x16010006u, button.id);
  EXPECT_EQ("按钮转换", button.name);
  EXPECT_EQ("说明", button.remark);
  EXPECT_EQ("备注", button.tagText);
  EXPECT_EQ(-3, button.left);
  EXPECT_EQ((std::vector<uint32_t>{1, 0, 2}), button.children);
  EXPECT_EQ(5u, button.flags);
  EXPECT_EQ(9u, button.tail[4]);
  ASSERT_EQ(1u, button.bindings.size());
  EXPECT_EQ(4u, button.bindings[0].offset);
  WindowSettings ws;
  ASSERT_TRUE(ReadWindowSettings(a.records[0].typeBlock, &ws));
  EXPECT_EQ("窗口甲", ws.title);

  const UnitRecord& menu = parsed[1].records[1];
  EXPECT_TRUE(menu.menuItem);
  EXPECT_EQ(kTagMenu, menu.typeTag);
  EXPECT_EQ("打开", menu.menuCaption);
  EXPECT_EQ(1u, menu.menuLevel);
  EXPECT_EQ(kMenuVisible | kMenuChecked, menu.flags);
  EXPECT_EQ('O' | kShortcutCtrl, menu.menuShortcut);
  EXPECT_EQ(7u, menu.menuReserved[4]);
  ASSERT_EQ(1u, menu.bindings.size());
  EXPECT_EQ(12u, menu.bindings[0].offset);
}

// After the remark: the live slot, level, flags, shortcut and five more
// words (36 bytes), the caption, one handler offset; nothing else.
TEST(DescriptionRecord, AMenuItemEndsWithItsThirtySixBytesCaptionAndOneHandler) {
  UnitRecord menu = MakeMenuItemRecord(0x26010002, "菜单打开", "打开(&O)", 2,
                                       kMenuVisible | kMenuDisabled, 'O' | kShortcutCtrl, 8);
  std::string bytes = WriteUnitRecord(menu);
  const size_t tail = 24 + sizeof("菜单打开") + 1;  // name, empty remark
  ASSERT_EQ(tail + 36 + sizeof("打开(&O)") + 4, bytes.size());
  auto word = [&](size_t at) {
    uint32_t v;
    memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  EXPECT_EQ(kTagMenu, word(0));
  EXPECT_EQ(0u, word(tail));
  EXPECT_EQ(2u, word(tail + 4));
  EXPECT_EQ(3u, word(tail + 8));
  EXPECT_EQ(0x1004Fu, word(tail + 12));
  EXPECT_EQ("打开(&O)", std::string(bytes.data() + tail + 36));
  EXPECT_EQ(8u, word(bytes.size() - 4));
  // A record that stops inside the 36 bytes is malformed.
  UnitRecord out;
  EXPECT_FALSE(ParseUnitRecord(menu.id, reinterpret_cast<const unsigned char*>(bytes.data()),
                               static_cast<uint32_t>(tail + 20), &out));
}

TEST(DescriptionBlock, EveryTruncationIsAReadPastTheEnd) {
  std::string block = WriteDescription(TwoWindows());
  std::vector<WindowTemplate> parsed;
  for (size_t n = 0; n < block.size(); ++n) {
    // A fresh copy of exactly n bytes, so that a sanitizer sees any overrun.
    std::vector<char> cut(block.begin(), block.begin() + n);
    EXPECT_FALSE(ParseDescription(cut.data(), static_cast<uint32_t>(n), &parsed)) << n;
  }
  EXPECT_FALSE(ParseDescription(nullptr, 0, &parsed));
}

void PutU32(std::string* s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*s)[at + i] = static_cast<char>(v >> (8 * i));
}

TEST(DescriptionBlock, CountsThatContradictTheBlockAreRejected) {
  std::string good = WriteDescription({TwoWindows()[0]});
  std::vector<WindowTemplate> parsed;
  ASSERT_TRUE(ParseDescription(good.data(), static_cast<uint32_t>(good.size()), &parsed));

  std::string bad = good;
  PutU32(&bad, 0, 12);  // the window list is 8 bytes per window
  EXPECT_FALSE(ParseDescription(bad.data(), static_cast<uint32_t>(bad.size()), &parsed));
  bad = good;
  PutU32(&bad, 0, 0x7FFFFFF8);  // a billion windows in a small block
  EXPECT_FALSE(ParseDescription(bad.data(), static_cast<uint32_t>(bad.size()), &parsed));

  // Header: L, id, slot, two words, two empty texts, N, M, then the area.
  const size_t n = 4 + 4 + 4 + 8 + 8;
  const size_t area = n + 8;
  bad = good;
  PutU32(&bad, n, 1000);  // more records than the area has room for
  EXPECT_FALSE(ParseDescription(bad.data(), static_cast<uint32_t>(bad.size()), &parsed));
  bad = good;
  PutU32(&bad, area + 3 * 4 + 4, 5000);  // the second record's offset points outside
  EXPECT_FALSE(ParseDescription(bad.data(), static_cast<uint32_t>(bad.size()), &parsed));
}

TEST(DescriptionRecord, ChildAndBindingCountsBeyondTheRecordFailWithoutAllocating) {
  UnitRecord r = Control(0x16010006, kTagButton, "b");
  std::string bytes = WriteUnitRecord(r);
  UnitRecord out;
  ASSERT_TRUE(ParseUnitRecord(r.id, reinterpret_cast<const unsigned char*>(bytes.data()),
                              static_cast<uint32_t>(bytes.size()), &out));
  // The child count follows name "b", the empty remark and eight words.
  size_t childCount = 24 + 2 + 1 + 28;
  std::string bad = bytes;
  PutU32(&bad, childCount, 0xFFFFFFF0);
  EXPECT_FALSE(ParseUnitRecord(r.id, reinterpret_cast<const unsigned char*>(bad.data()),
                               static_cast<uint32_t>(bad.size()), &out));
  size_t bindingCount = childCount + 4 + 8 + 1 + 12;
  bad = bytes;
  PutU32(&bad, bindingCount, 0x40000000);
  EXPECT_FALSE(ParseUnitRecord(r.id, reinterpret_cast<const unsigned char*>(bad.data()),
                               static_cast<uint32_t>(bad.size()), &out));
}

TEST(DescriptionBindings, OffsetsBecomeAddressesAndNoneBecomesZero) {
  std::vector<WindowTemplate> windows = TwoWindows();
  static void (*const code[4])() = {};
  FixUpBindings(windows, code);
  const auto& self = windows[0].records[0].bindings;
  EXPECT_EQ(reinterpret_cast<uintptr_t>(&code[0]), self[0].handler);  // offset 0 is real
  EXPECT_EQ(reinterpret_cast<uintptr_t>(&code[2]), self[1].handler);
  EXPECT_EQ(0u, self[2].handler);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(&code[3]), windows[1].records[1].bindings[0].handler);
}

TEST(DescriptionLookup, FirstMatchWinsAndZeroIsTheWindowItself) {
  WindowTemplate w = TwoWindows()[0];
  w.records.push_back(Control(0x16010006, kTagButton, "second"));
  EXPECT_EQ("按钮转换", FindUnitRecord(w, 0x16010006)->name);
  EXPECT_EQ(&w.records[0], FindUnitRecord(w, 0));
  EXPECT_EQ(nullptr, FindUnitRecord(w, 0x16019999));
}

TEST(DescriptionLookup, AnInvalidIdentifierFindsNothingEvenWhenARecordCarriesIt) {
  WindowTemplate w = TwoWindows()[0];
  w.records.push_back(Control(0x10010007, kTagButton, "no bits 24-27"));
  w.records.push_back(Control(0x16000000, kTagButton, "no low bits"));
  EXPECT_EQ(nullptr, FindUnitRecord(w, 0x10010007));
  EXPECT_EQ(nullptr, FindUnitRecord(w, 0x16000000));
  std::vector<WindowTemplate> both = TwoWindows();
  both[1].id = 0x50020002;
  std::string block = WriteDescription(both);
  ASSERT_TRUE(LoadWindowDescriptions(block.data(), static_cast<uint32_t>(block.size()), nullptr));
  EXPECT_NE(nullptr, FindWindowTemplate(0x52010001));
  EXPECT_EQ(nullptr, FindWindowTemplate(0x50020002));
  FreeWindowDescriptions();
}

TEST(DescriptionIds, ValidityAndMenuItems) {
  EXPECT_TRUE(IsValidUnitId(0x52010001));
  EXPECT_FALSE(IsValidUnitId(0x50010001));  // bits 24-27 empty
  EXPECT_FALSE(IsValidUnitId(0x16000000));  // low 24 bits empty
  EXPECT_TRUE(IsMenuItemId(0x26020001));
  EXPECT_FALSE(IsMenuItemId(0x16020001));
  EXPECT_FALSE(IsMenuItemId(0x06010000));
  EXPECT_FALSE(IsMenuItemId(0x25020001));  // a menu item's class, but not 6 in bits 24-27
  EXPECT_EQ(kIdClassWindow, IdClassOf(0x52010001));
  EXPECT_EQ(kIdClassWindowRecord, IdClassOf(0x06010000));
  EXPECT_EQ(kIdClassControl, IdClassOf(0x16010001));
}

TEST(TypeBlocks, EmptyBlocksGiveEveryDefault) {
  EditBoxSettings e;
  ASSERT_TRUE(ReadEditBoxSettings("", &e));
  EXPECT_EQ(1u, e.borderStyle);
  EXPECT_EQ(0xFFFFFFu, e.background);
  EXPECT_TRUE(e.hideSelection);
  EXPECT_EQ(42, e.passwordChar);
  EXPECT_EQ(100, e.spinMax);
  LabelSettings l;
  ASSERT_TRUE(ReadLabelSettings("", &l));
  EXPECT_EQ("标签", l.caption);
  EXPECT_EQ(1u, l.vAlign);
  EXPECT_EQ(kButtonFaceMarker, l.background);
  ButtonSettings b;
  ASSERT_TRUE(ReadButtonSettings("", &b));
  EXPECT_EQ("按钮", b.caption);
  WindowSettings w;
  ASSERT_TRUE(ReadWindowSettings("", &w));
  EXPECT_EQ(2u, w.borderStyle);
  EXPECT_TRUE(w.escCloses);
  EXPECT_TRUE(w.inTaskBar);
}

TEST(TypeBlocks, NewerVersionsAndShortBlocksCannotBeRead) {
  EditBoxSettings e;
  e.version = 3;
  EditBoxSettings eo;
  EXPECT_FALSE(ReadEditBoxSettings(WriteEditBoxSettings(e), &eo));
  ButtonSettings b;
  b.version = 2;
  ButtonSettings bo;
  EXPECT_FALSE(ReadButtonSettings(WriteButtonSettings(b), &bo));
  LabelSettings l;
  l.version = 3;
  LabelSettings lo;
  EXPECT_FALSE(ReadLabelSettings(WriteLabelSettings(l), &lo));
  WindowSettings w;
  w.version = 7;
  WindowSettings wo;
  EXPECT_FALSE(ReadWindowSettings(WriteWindowSettings(w), &wo));

  std::string full = WriteLabelSettings(LabelSettings{});
  for (size_t n = 1; n < full.size(); ++n)
    EXPECT_FALSE(ReadLabelSettings(full.substr(0, n), &lo)) << n;
}

TEST(TypeBlocks, OlderVersionsLeaveTheirMissingFieldsAtTheDefault) {
  WindowSettings w;
  w.version = 1;
  w.inTaskBar = false;  // not stored before version 2
  w.title = "旧";
  WindowSettings back;
  ASSERT_TRUE(ReadWindowSettings(WriteWindowSettings(w), &back));
  EXPECT_TRUE(back.inTaskBar);
  EXPECT_EQ("旧", back.title);

  EditBoxSettings e;
  e.version = 1;
  e.multiLine = true;
  e.content = "内容";
  e.dataField = "lost";
  EditBoxSettings eb;
  ASSERT_TRUE(ReadEditBoxSettings(WriteEditBoxSettings(e), &eb));
  EXPECT_TRUE(eb.multiLine);
  EXPECT_EQ("内容", eb.content);
  EXPECT_EQ("", eb.dataField);
}

TEST(TypeBlocks, StoredFontIsALogfontOfSixtyBytes) {
  std::string f = MakeStoredFont(-16, 400, 134, "");
  ASSERT_EQ(60u, f.size());
  int32_t height;
  memcpy(&height, f.data(), 4);
  EXPECT_EQ(-16, height);
  EXPECT_EQ(134, static_cast<unsigned char>(f[23]));
  EXPECT_EQ('\0', f[28]);
}

}  // namespace
}  // namespace qx
