// The runtime's demonstration: windows built from stored descriptions,
// whose handlers reach the controls only by (window, control, property)
// and through the core commands, as the converter's handlers do. It shows
// what the converter never reaches: a menu bar with shortcuts, windows
// loaded modally (one inside the other), F1 help, the arrow keys moving the
// focus, a font chosen through the file dialog's font type.
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/HelperTable.h"
#include "runtime/Memory.h"
#include "ui/DescriptionWriter.h"
#include "ui/EditBoxKind.h"
#include "ui/Events.h"
#include "ui/FileDialogKind.h"
#include "ui/FontRecord.h"
#include "ui/LabelKind.h"
#include "ui/MenuItemKind.h"
#include "ui/Properties.h"
#include "ui/PropertyValues.h"
#include "ui/TypeBlocks.h"
#include "ui/WindowCommands.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx::demo {
namespace {

// The main window, its controls and its menu items.
constexpr uint32_t kWindow = 0x52020001;
constexpr uint32_t kCaption = 0x16020001;  // 标签提示
constexpr uint32_t kInput = 0x16020002;    // 编辑框输入
constexpr uint32_t kAppend = 0x16020003;   // 按钮追加
constexpr uint32_t kCount = 0x16020004;    // 按钮计数
constexpr uint32_t kToggle = 0x16020005;   // 按钮开关
constexpr uint32_t kLog = 0x16020006;      // 编辑框记录
constexpr uint32_t kHelp = 0x16020007;     // 标签说明
constexpr uint32_t kFontSample = 0x16020008;  // 标签字体: shows the font that 字体… chooses
constexpr uint32_t kFontChooser = 0x16020009;  // 通用对话框字体, shown by 字体… as the font dialog
constexpr uint32_t kShowHelpItem = 0x26020008;  // 显示说明, checked while the help shows

// The modal window and the one that opens from it, or from 关于.
constexpr uint32_t kModal = 0x52030001;
constexpr uint32_t kModalInput = 0x16030002;
constexpr uint32_t kAbout = 0x52040001;

enum Handler {
  kOnCreated,
  kOnAppend,
  kOnCount,
  kOnToggle,
  kOnOpenModal,
  kOnExit,
  kOnChooseFont,
  kOnToggleHelp,
  kOnAbout,
  kOnModalOk,
  kOnModalCancel,
  kOnAboutClose,
  kHandlerCount
};

const RuntimeHelperTable& H() { return HelperTable(); }

TaggedValue Control(uint32_t id) { return {kWindow, id, kTagEditBox}; }

std::string ReadText(uint32_t window, uint32_t unit) {
  TaggedValue v = H().getUnitProperty(window, unit, kEditBoxContent, -1);
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

// A close request to a window, as its close box would send it.
void Close(uint32_t window) {
  TaggedValue self = {window, 0, kTagWindow};
  TaggedValue h = H().callCoreCommand(GetWindowHandle, 1, &self);
  PostMessageA(reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(h.lo))),
               WM_CLOSE, 0, 0);
}

// Loads a window modally: the call returns when the window has gone.
void LoadModally(uint32_t window) {
  if (WindowTemplate* w = FindWindowTemplate(window)) LoadWindow(w, false, true, nullptr);
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
  std::string input = ReadText(kWindow, kInput);
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

void OnOpenModal(TaggedValue*, int32_t, const uintptr_t*) {
  Append("打开模态窗口……\r\n");
  LoadModally(kModal);
  Append("模态窗口已关闭，载入它的菜单命令这才返回。\r\n");
}

void OnExit(TaggedValue*, int32_t, const uintptr_t*) { Close(kWindow); }

// The label's font field by field and the dialog's font settings, in the
// order the font dialog takes them.
struct FontLink {
  int32_t element;         // of the label's font
  int32_t dialogProperty;  // of the file dialog
};
constexpr FontLink kFontLinks[] = {
    {kFontFace, kFileDialogFontName},        {kFontSize, kFileDialogFontSize},
    {kFontBold, kFileDialogFontBold},        {kFontItalic, kFileDialogFontItalic},
    {kFontUnderline, kFileDialogFontUnderline}, {kFontStrikeOut, kFileDialogFontStrikeOut},
};

// Copies one property value across, freeing the text that the read gave.
void CopyProperty(uint32_t from, int32_t fromProperty, int32_t fromElement, uint32_t to,
                  int32_t toProperty, int32_t toElement) {
  TaggedValue v = H().getUnitProperty(kWindow, from, fromProperty, fromElement);
  H().setUnitProperty(kWindow, to, toProperty, toElement, v.lo, v.hi);
  if (v.tag == kTagText) H().freeMemory(ValuePointer(v));
}

// The label's font as its whole record reads back, and its text colour.
std::string DescribeSampleFont() {
  TaggedValue v = H().getUnitProperty(kWindow, kFontSample, kLabelFont, kFontWhole);
  FontRecord f;
  bool read = FontRecordFromBytes(ByteSetBytesOf(v.lo, v.hi), &f);
  H().freeMemory(ValuePointer(v));
  if (!read) return "（读不出字体）";
  std::string text = (f.face.empty() ? std::string("默认字体") : f.face) + "，" +
                     std::to_string(f.size) + " 磅";
  if (f.bold) text += "，粗体";
  if (f.italic) text += "，斜体";
  if (f.underline) text += "，下划线";
  if (f.strikeOut) text += "，删除线";
  uint32_t c = H().getUnitProperty(kWindow, kFontSample, kLabelTextColour, -1).lo;
  char colour[32];
  snprintf(colour, sizeof colour, "，颜色 RGB(%u,%u,%u)", c & 0xFF, (c >> 8) & 0xFF,
           (c >> 16) & 0xFF);
  return text + colour;
}

// 字体…: the font dialog opens on the label's font and colour; a confirmed
// choice becomes the label's, a cancelled one changes nothing.
void OnChooseFont(TaggedValue*, int32_t, const uintptr_t*) {
  H().setUnitProperty(kWindow, kFontChooser, kFileDialogType, -1, kFontDialog, 0);
  for (const FontLink& l : kFontLinks)
    CopyProperty(kFontSample, kLabelFont, l.element, kFontChooser, l.dialogProperty, -1);
  CopyProperty(kFontSample, kLabelTextColour, -1, kFontChooser, kFileDialogFontColour, -1);
  TaggedValue dialog = {kWindow, kFontChooser, kTagFileDialog};
  if (!H().callCoreCommand(ShowFileDialog, 1, &dialog).lo) {
    Append("字体未改变：" + DescribeSampleFont() + "\r\n");
    return;
  }
  for (const FontLink& l : kFontLinks)
    CopyProperty(kFontChooser, l.dialogProperty, -1, kFontSample, kLabelFont, l.element);
  CopyProperty(kFontChooser, kFileDialogFontColour, -1, kFontSample, kLabelTextColour, -1);
  Append("标签字体：" + DescribeSampleFont() + "\r\n");
}

void OnToggleHelp(TaggedValue*, int32_t, const uintptr_t*) {
  bool shown = H().getUnitProperty(kWindow, kShowHelpItem, kMenuItemChecked, -1).lo != 0;
  H().setUnitProperty(kWindow, kShowHelpItem, kMenuItemChecked, -1, shown ? 0 : 1, 0);
  H().setUnitProperty(kWindow, kHelp, kPropertyVisible, -1, shown ? 0 : 1, 0);
}

void OnAbout(TaggedValue*, int32_t, const uintptr_t*) { LoadModally(kAbout); }

void OnModalOk(TaggedValue*, int32_t, const uintptr_t*) {
  std::string input = ReadText(kModal, kModalInput);
  Append("模态窗口输入：" + (input.empty() ? std::string("（空）") : input) + "\r\n");
  Close(kModal);
}

void OnModalCancel(TaggedValue*, int32_t, const uintptr_t*) { Close(kModal); }
void OnAboutClose(TaggedValue*, int32_t, const uintptr_t*) { Close(kAbout); }

const EventHandlerFn kCode[kHandlerCount] = {
    OnCreated,    OnAppend,      OnCount, OnToggle,  OnOpenModal,   OnExit,
    OnChooseFont, OnToggleHelp,  OnAbout, OnModalOk, OnModalCancel, OnAboutClose};

constexpr uint32_t Code(Handler h) { return 4 * h; }

UnitRecord Unit(uint32_t id, uint32_t tag, const char* name, int32_t l, int32_t t, int32_t w,
                int32_t h, uint32_t flags, std::string block) {
  return MakeUnitRecord(id, tag, name, l, t, w, h, flags, std::move(block));
}

UnitRecord ButtonUnit(uint32_t id, const char* name, const char* caption, int32_t l, int32_t t,
                      int32_t w, Handler onClick) {
  ButtonSettings s;
  s.caption = caption;
  UnitRecord r = Unit(id, kTagButton, name, l, t, w, 28, kUnitVisible | kUnitTabStop,
                      WriteButtonSettings(s));
  r.bindings = {{kEventClicked, Code(onClick), 0}};
  return r;
}

std::string Label(const char* caption, bool wrap = false) {
  LabelSettings s;
  s.caption = caption;
  s.wordWrap = wrap;
  if (wrap) s.font = MakeStoredFont(-14, 400, 134, "");
  return WriteLabelSettings(s);
}

UnitRecord Item(uint32_t id, const char* caption, uint32_t level, Handler handler,
                uint32_t shortcut = 0, uint32_t flags = kMenuVisible) {
  return MakeMenuItemRecord(id, caption, caption, level, flags, shortcut, Code(handler));
}

UnitRecord Heading(uint32_t id, const char* caption) {
  return MakeMenuItemRecord(id, caption, caption, 0, kMenuVisible);
}

// A window of the given outer size, centred, with its own record.
WindowTemplate Window(uint32_t id, const WindowSettings& settings, int32_t width, int32_t height) {
  WindowTemplate w;
  w.id = id;
  w.records.push_back(Unit(0x06000000 | (id & 0x00FF0000), kTagWindow, "", 0, 0,
                           width, height, kUnitVisible, WriteWindowSettings(settings)));
  return w;
}

WindowSettings Titled(const char* title) {
  WindowSettings s;
  s.title = title;
  return s;
}

WindowTemplate MainWindow() {
  WindowSettings ws = Titled("Quillox 运行时演示");
  ws.f1Help = true;  // no help file stored: the program's own quillox-demo.hlp
  WindowTemplate w = Window(kWindow, ws, 580, 450);
  w.records[0].bindings = {{kEventCreated, Code(kOnCreated), 0}};

  // The menu bar; each item's command is its record's place.
  w.records.push_back(Heading(0x26020001, "文件(&F)"));
  w.records.push_back(Item(0x26020002, "计数(&C)", 1, kOnCount, 'K' | kShortcutCtrl));
  w.records.push_back(Item(0x26020003, "模态窗口(&M)...", 1, kOnOpenModal, 'M' | kShortcutCtrl));
  w.records.push_back(MakeMenuItemRecord(0x26020004, "", "", 1, kMenuVisible | kMenuSeparator));
  w.records.push_back(Item(0x26020005, "退出(&X)", 1, kOnExit));
  w.records.push_back(Heading(0x26020006, "格式(&O)"));
  w.records.push_back(Item(0x26020007, "字体(&F)...", 1, kOnChooseFont));
  w.records.push_back(Item(kShowHelpItem, "显示说明(&S)", 1, kOnToggleHelp, 0,
                           kMenuVisible | kMenuChecked));
  w.records.push_back(Heading(0x26020009, "帮助(&H)"));
  w.records.push_back(Item(0x2602000A, "关于演示(&A)...", 1, kOnAbout));

  // The font dialog comes first among the controls: created last, it takes
  // the highest child identifier and leaves the others' as they were.
  FileDialogSettings font;
  font.title = "选择标签字体";
  w.records.push_back(Unit(kFontChooser, kTagFileDialog, "通用对话框字体", 0, 0, 0, 0, 0,
                           WriteFileDialogSettings(font)));
  const uint32_t tab = kUnitVisible | kUnitTabStop;
  w.records.push_back(Unit(kCaption, kTagLabel, "标签提示", 16, 12, 200, 24, kUnitVisible,
                           Label("还没有点击")));
  w.records.push_back(Unit(kInput, kTagEditBox, "编辑框输入", 16, 44, 300, 26, tab, ""));
  // One row of buttons: the arrow keys move the focus along it.
  w.records.push_back(ButtonUnit(kAppend, "按钮追加", "追加", 328, 44, 72, kOnAppend));
  w.records.push_back(ButtonUnit(kCount, "按钮计数", "计数", 404, 44, 72, kOnCount));
  w.records.push_back(ButtonUnit(kToggle, "按钮开关", "禁用/启用", 480, 44, 76, kOnToggle));
  EditBoxSettings log;
  log.multiLine = true;
  log.scrollBars = 2;
  w.records.push_back(Unit(kLog, kTagEditBox, "编辑框记录", 16, 84, 300, 300, tab,
                           WriteEditBoxSettings(log)));
  w.records.push_back(Unit(kHelp, kTagLabel, "标签说明", 328, 84, 228, 236, kUnitVisible,
                           Label("在上面的框里输入文字，按“追加”把它加到左边的记录里。\r\n"
                                 "“计数”改写标签并加宽按钮；“禁用/启用”切换“追加”。\r\n"
                                 "方向键在按钮之间移动焦点。\r\n"
                                 "“格式”里的“字体…”在字体对话框里为下面的标签选字体。\r\n"
                                 "菜单“文件”里的“模态窗口”（Ctrl+M）打开的窗口关闭之前，"
                                 "这个窗口不接受输入。\r\n"
                                 "F1 打开帮助文件 quillox-demo.hlp；Esc 关闭窗口。",
                                 true)));
  w.records.push_back(Unit(kFontSample, kTagLabel, "标签字体", 328, 328, 228, 56, kUnitVisible,
                           Label("字体示例：Quillox 运行时 AaBb", true)));
  return w;
}

WindowTemplate ModalWindow() {
  WindowTemplate w = Window(kModal, Titled("模态窗口"), 440, 206);
  w.records.push_back(Unit(0x16030001, kTagLabel, "标签说明", 16, 12, 400, 64, kUnitVisible,
                           Label("主窗口在本窗口关闭之前不接受输入。\r\n"
                                 "“再开一层”在本窗口之上再以模态方式打开一个窗口；"
                                 "输入的文字按“确定”记到主窗口里。",
                                 true)));
  w.records.push_back(Unit(kModalInput, kTagEditBox, "编辑框输入", 16, 84, 400, 26,
                           kUnitVisible | kUnitTabStop, ""));
  w.records.push_back(ButtonUnit(0x16030003, "按钮确定", "确定", 16, 124, 120, kOnModalOk));
  w.records.push_back(ButtonUnit(0x16030004, "按钮再开", "再开一层", 156, 124, 120, kOnAbout));
  w.records.push_back(ButtonUnit(0x16030005, "按钮取消", "取消", 296, 124, 120, kOnModalCancel));
  return w;
}

WindowTemplate AboutWindow() {
  WindowTemplate w = Window(kAbout, Titled("关于 Quillox 运行时"), 300, 150);
  w.records.push_back(Unit(0x16040001, kTagLabel, "标签说明", 12, 10, 270, 60, kUnitVisible,
                           Label("这个窗口以模态方式载入：它开着的时候，其他窗口都不接受输入；"
                                 "它关闭之后，载入它的命令才返回。",
                                 true)));
  w.records.push_back(ButtonUnit(0x16040002, "按钮关闭", "关闭", 182, 78, 100, kOnAboutClose));
  return w;
}

std::string Description() { return WriteDescription({MainWindow(), ModalWindow(), AboutWindow()}); }

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
