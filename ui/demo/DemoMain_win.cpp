// The runtime's demonstration: a window built from a stored description,
// whose handlers reach the controls only by (window, control, property)
// and through the core commands, as the converter's handlers do.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/HelperTable.h"
#include "runtime/Memory.h"
#include "ui/WindowTable.h"
#include "ui/DescriptionWriter.h"
#include "ui/EditBoxKind.h"
#include "ui/Events.h"
#include "ui/LabelKind.h"
#include "ui/Properties.h"
#include "ui/TypeBlocks.h"
#include "ui/WindowCommands.h"
#include "ui/WindowRuntime_win.h"

namespace qx::demo {
namespace {

constexpr uint32_t kWindow = 0x52020001;
constexpr uint32_t kCaption = 0x16020001;  // 标签提示
constexpr uint32_t kInput = 0x16020002;    // 编辑框输入
constexpr uint32_t kAppend = 0x16020003;   // 按钮追加
constexpr uint32_t kCount = 0x16020004;    // 按钮计数
constexpr uint32_t kToggle = 0x16020005;   // 按钮开关
constexpr uint32_t kLog = 0x16020006;      // 编辑框记录
constexpr uint32_t kHelp = 0x16020007;     // 标签说明

enum Handler { kOnCreated, kOnAppend, kOnCount, kOnToggle, kHandlerCount };

const RuntimeHelperTable& H() { return HelperTable(); }

TaggedValue Control(uint32_t id) { return {kWindow, id, kTagEditBox}; }

std::string ReadText(uint32_t unit) {
  TaggedValue v = H().getUnitProperty(kWindow, unit, kEditBoxContent, -1);
  std::string s = ValueText(v) ? ValueText(v) : "";
  H().freeMemory(ValuePointer(v));
  return s;
}

void WriteText(uint32_t unit, int32_t property, const char* text) {
  TaggedValue v;
  SetValuePointer(&v, text, kTagText);
  H().setUnitProperty(kWindow, unit, property, -1, v.lo, v.hi);
}

void Append(const std::string& text) {
  TaggedValue args[] = {Control(kLog), MakeTextValue(text.c_str())};
  H().callCoreCommand(AppendText, 2, args);
}

// The converter's drawn look, applied as its start-up handler applies it.
void ApplyStyle() {
  TaggedValue scheme = MakeInt(3);
  H().callCoreCommand(ApplyVisualStyle, 1, &scheme);
}

void OnCreated(TaggedValue*, int32_t, const uintptr_t*) {
  ApplyStyle();
  Append("窗口已创建：全部控件来自窗口描述。\r\n");
}

void OnAppend(TaggedValue*, int32_t, const uintptr_t*) {
  std::string input = ReadText(kInput);
  Append((input.empty() ? std::string("（空）") : input) + "\r\n");
  WriteText(kInput, kEditBoxContent, nullptr);
}

void OnCount(TaggedValue*, int32_t, const uintptr_t*) {
  static int clicks = 0;
  std::string caption = "已点击 " + std::to_string(++clicks) + " 次";
  WriteText(kCaption, kLabelCaption, caption.c_str());
  // Width by number: the button grows a little with every click.
  TaggedValue w = H().getUnitProperty(kWindow, kCount, kPropertyWidth, -1);
  H().setUnitProperty(kWindow, kCount, kPropertyWidth, -1, w.lo + 4, 0);
}

void OnToggle(TaggedValue*, int32_t, const uintptr_t*) {
  TaggedValue disabled = H().getUnitProperty(kWindow, kAppend, kPropertyDisabled, -1);
  H().setUnitProperty(kWindow, kAppend, kPropertyDisabled, -1, disabled.lo ? 0 : 1, 0);
  Append(disabled.lo ? "“追加”已启用\r\n" : "“追加”已禁用\r\n");
}

const EventHandlerFn kCode[kHandlerCount] = {OnCreated, OnAppend, OnCount, OnToggle};

UnitRecord Unit(uint32_t id, uint32_t tag, const char* name, int32_t l, int32_t t, int32_t w,
                int32_t h, uint32_t flags, std::string block) {
  return MakeUnitRecord(id, tag, name, l, t, w, h, flags, std::move(block));
}

std::string Label(const char* caption, bool wrap = false) {
  LabelSettings s;
  s.caption = caption;
  s.wordWrap = wrap;
  if (wrap) s.font = MakeStoredFont(-14, 400, 134, "");
  return WriteLabelSettings(s);
}

std::string Button(const char* caption) {
  ButtonSettings s;
  s.caption = caption;
  return WriteButtonSettings(s);
}

std::string Description() {
  WindowTemplate w;
  w.id = kWindow;
  WindowSettings ws;
  ws.title = "Quillox 运行时演示";
  UnitRecord self = Unit(0x06020000, kTagWindow, "", 0, 0, 520, 400, kUnitVisible,
                         WriteWindowSettings(ws));
  self.bindings = {{0, 4 * kOnCreated, 0}};
  w.records.push_back(self);
  const uint32_t tab = kUnitVisible | kUnitTabStop;
  w.records.push_back(Unit(kCaption, kTagLabel, "标签提示", 16, 12, 200, 24, kUnitVisible,
                           Label("还没有点击")));
  w.records.push_back(Unit(kInput, kTagEditBox, "编辑框输入", 16, 44, 300, 26, tab, ""));
  UnitRecord append = Unit(kAppend, kTagButton, "按钮追加", 328, 44, 80, 28, tab, Button("追加"));
  append.bindings = {{0, 4 * kOnAppend, 0}};
  w.records.push_back(append);
  UnitRecord count = Unit(kCount, kTagButton, "按钮计数", 328, 8, 80, 28, tab, Button("计数"));
  count.bindings = {{0, 4 * kOnCount, 0}};
  w.records.push_back(count);
  UnitRecord toggle = Unit(kToggle, kTagButton, "按钮开关", 416, 44, 80, 28, tab,
                           Button("禁用/启用"));
  toggle.bindings = {{0, 4 * kOnToggle, 0}};
  w.records.push_back(toggle);
  EditBoxSettings log;
  log.multiLine = true;
  log.scrollBars = 2;
  w.records.push_back(Unit(kLog, kTagEditBox, "编辑框记录", 16, 84, 300, 270, tab,
                           WriteEditBoxSettings(log)));
  w.records.push_back(Unit(kHelp, kTagLabel, "标签说明", 328, 84, 168, 270, kUnitVisible,
                           Label("在上面的框里输入文字，按“追加”把它加到左边的记录里。\r\n\r\n"
                                 "“计数”改写标签并加宽按钮；“禁用/启用”切换“追加”。\r\n\r\n"
                                 "Esc 关闭窗口。",
                                 true)));
  return WriteDescription({w});
}

std::string g_description;
const LibraryRecord* g_libraries[1];
ProgramHeader g_header;

int EntryRoutine() {
  H().callInternalService(kInitialiseRuntime, 0, 0, 0, 0);
  H().loadStartupWindow(kWindow);
  H().runMessageLoop();
  return 0;
}

}  // namespace
}  // namespace qx::demo

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace qx::demo;
  g_libraries[0] = qx::CoreLibrary();
  g_description = Description();
  g_header = {3, 0, 0, kCode, nullptr, 0, g_description.data(),
              static_cast<uint32_t>(g_description.size()), 1, g_libraries, 0, nullptr, nullptr};
  return qx::StartApplication(&g_header, EntryRoutine);
}
