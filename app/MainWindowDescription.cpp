#include "app/MainWindowDescription.h"

#include "runtime/KindTags.h"
#include "ui/DescriptionWriter.h"
#include "ui/TypeBlocks.h"

namespace qx {
namespace {

constexpr uint32_t kVisible = kUnitVisible;
constexpr uint32_t kVisibleTabStop = kUnitVisible | kUnitTabStop;

EventBinding Bind(int32_t event, MainWindowHandler handler) {
  return {event, 4 * static_cast<uint32_t>(handler), 0};
}

UnitRecord Unit(uint32_t id, uint32_t tag, const char* name, int32_t left, int32_t top,
                int32_t width, int32_t height, uint32_t flags) {
  return MakeUnitRecord(id, tag, name, left, top, width, height, flags);
}

UnitRecord Label(uint32_t id, const char* name, int32_t l, int32_t t, int32_t w, int32_t h,
                 const char* caption) {
  UnitRecord r = Unit(id, kTagLabel, name, l, t, w, h, kVisible);
  LabelSettings s;
  s.caption = caption;
  r.typeBlock = WriteLabelSettings(s);
  return r;
}

UnitRecord Button(uint32_t id, const char* name, int32_t l, int32_t t, int32_t w, int32_t h,
                  const char* caption, MainWindowHandler onClick) {
  UnitRecord r = Unit(id, kTagButton, name, l, t, w, h, kVisibleTabStop);
  ButtonSettings s;
  s.caption = caption;
  r.typeBlock = WriteButtonSettings(s);
  r.bindings.push_back(Bind(0, onClick));
  return r;
}

// An empty type block: every edit-box default.
UnitRecord EditBox(uint32_t id, const char* name, int32_t l, int32_t t, int32_t w, int32_t h) {
  return Unit(id, kTagEditBox, name, l, t, w, h, kVisibleTabStop);
}

UnitRecord NonVisual(uint32_t id, uint32_t tag, const char* name, int32_t l, int32_t t,
                     int32_t w, int32_t h) {
  return Unit(id, tag, name, l, t, w, h, 0);
}

UnitRecord WindowRecord() {
  // Stored position 50, 50 is never used: the window is centred.
  UnitRecord r = Unit(kMainWindowRecordId, kTagWindow, "", 50, 50, 968, 776, kVisible);
  WindowSettings s;  // border 2, minimise box, control box, centred, movable, Esc closes
  s.title = "Quillox 1.0 by：Tarvenn";
  r.typeBlock = WriteWindowSettings(s);
  r.bindings.push_back(Bind(0, kOnWindowCreated));
  r.bindings.push_back(Bind(2, kOnWindowDestroyed));
  r.bindings.push_back({1, kNoHandler, 0});  // the close request: nothing bound
  return r;
}

}  // namespace

const char kMainWindowHelpText[] =
    "1、首先选择文件\r\n"
    "2、选择输出目录\r\n"
    "3、转换\r\n"
    "4、替换内容或删除无用信息\r\n"
    "5、保存\r\n"
    "\r\n"
    "手动替换\r\n"
    "*如果需要删除无用信息，替换内容留空\r\n"
    "\r\n"
    "自动替换包括以下内容：\r\n"
    "“单选题”, “【单选题】”\r\n"
    "“多选题”, “【多选题】”\r\n"
    "“判断题”, “【判断题】”\r\n"
    "“填空题”, “【填空题】”\r\n"
    "“简答题”, “【简答题】”\r\n"
    "“论述题”, “【论述题】”\r\n"
    "“计算题”, “【计算题】”\r\n"
    "“名词解释”, “【名词解释】”\r\n"
    "“画图题”, “【画图题】”\r\n"
    "*自动替换只能替换一次";

WindowTemplate MainWindowTemplate() {
  WindowTemplate w;
  w.id = kMainWindowId;
  w.words[0] = 0x02507930;
  w.words[1] = 0x19010004;
  w.records.push_back(WindowRecord());

  // In record order, which is also stacking and Tab order (first on top).
  //  identifier            name            left  top  width height
  w.records.push_back(Label(kLabel3, "标签3", 443, 205, 120, 40, "替换为："));
  w.records.push_back(Label(kLabel2, "标签2", 443, 149, 120, 40, "需要被替换内容："));

  UnitRecord drop = NonVisual(kDropTarget1, kTagDropTarget, "拖放对象1", 616, 688, 32, 40);
  DropTargetSettings dropSettings;
  dropSettings.acceptFiles = true;
  drop.typeBlock = WriteDropTargetSettings(dropSettings);
  drop.bindings.push_back(Bind(3, kOnFileDropped));
  w.records.push_back(drop);

  UnitRecord help = Label(kLabel1, "标签1", 440, 265, 496, 335, kMainWindowHelpText);
  LabelSettings helpSettings;
  helpSettings.caption = kMainWindowHelpText;
  helpSettings.wordWrap = true;
  helpSettings.font = MakeStoredFont(-16, 400, 134, "");
  help.typeBlock = WriteLabelSettings(helpSettings);
  w.records.push_back(help);

  w.records.push_back(
      Button(kButtonManualReplace, "按钮手动替换", 787, 205, 88, 40, "手动替换", kOnManualReplace));
  w.records.push_back(EditBox(kEditReplaceWith, "编辑框替换为", 571, 205, 208, 40));
  // This one stores its (default) settings in full rather than an empty block.
  UnitRecord replace = EditBox(kEditReplace, "编辑框替换", 571, 149, 208, 40);
  replace.typeBlock = WriteEditBoxSettings(EditBoxSettings{});
  w.records.push_back(replace);
  w.records.push_back(
      Button(kButtonAutoReplace, "按钮自动替换", 787, 149, 88, 40, "自动替换", kOnAutoReplace));
  w.records.push_back(
      Button(kButtonOutputFolder, "按钮2", 824, 61, 112, 35, "输出目录", kOnChooseOutputFolder));
  w.records.push_back(EditBox(kEditOutputFolder, "编辑框3", 440, 64, 376, 32));
  w.records.push_back(Button(kButtonReset, "按钮重置", 848, 104, 72, 32, "重置", kOnReset));
  w.records.push_back(EditBox(kEditFileName, "编辑框文件名", 440, 16, 376, 32));
  w.records.push_back(NonVisual(kFileDialog1, kTagFileDialog, "通用对话框1", 552, 688, 48, 40));
  w.records.push_back(Button(kButtonSave, "按钮保存", 608, 612, 104, 40, "保存", kOnSave));
  w.records.push_back(
      Button(kButtonBrowse, "按钮浏览", 824, 10, 112, 35, "选择文件", kOnChooseSourceFile));

  UnitRecord body = EditBox(kEditBody, "编辑框正文", 0, 8, 424, 728);
  EditBoxSettings bodySettings;
  bodySettings.multiLine = true;
  bodySettings.scrollBars = 2;  // vertical only, so lines wrap
  body.typeBlock = WriteEditBoxSettings(bodySettings);
  w.records.push_back(body);

  w.records.push_back(Button(kButtonConvert, "按钮转换", 448, 104, 64, 32, "转换", kOnConvert));
  w.records.push_back(
      NonVisual(kExcelWorkbooks, kTagExcelWorkbooks, "Excel工作簿", 488, 688, 48, 40));
  w.records.push_back(NonVisual(kExcelApp, kTagExcelApp, "Excel程序", 440, 696, 32, 32));
  return w;
}

const std::string& MainWindowDescription() {
  static const std::string block = WriteDescription({MainWindowTemplate()});
  return block;
}

}  // namespace qx
