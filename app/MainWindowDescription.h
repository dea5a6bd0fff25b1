// The converter's one window as data: the window, its nineteen controls,
// the help text and the ten event bindings, and the stored description
// block made from them.
#pragma once

#include <cstdint>
#include <string>

#include "ui/UnitRecord.h"

namespace qx {

constexpr uint32_t kMainWindowId = 0x52010001;
constexpr uint32_t kMainWindowRecordId = 0x06010000;

// Control identifiers, in record order.
enum : uint32_t {
  kLabel3 = 0x160100DC,              // 标签3
  kLabel2 = 0x160100DB,              // 标签2
  kDropTarget1 = 0x160100D7,         // 拖放对象1
  kLabel1 = 0x160100CD,              // 标签1
  kButtonManualReplace = 0x160100C8, // 按钮手动替换
  kEditReplaceWith = 0x160100C2,     // 编辑框替换为
  kEditReplace = 0x160100C1,         // 编辑框替换
  kButtonAutoReplace = 0x160100BF,   // 按钮自动替换
  kButtonOutputFolder = 0x160100BD,  // 按钮2
  kEditOutputFolder = 0x160100BC,    // 编辑框3
  kButtonReset = 0x1601009D,         // 按钮重置
  kEditFileName = 0x16010072,        // 编辑框文件名
  kFileDialog1 = 0x16010070,         // 通用对话框1
  kButtonSave = 0x1601006E,          // 按钮保存
  kButtonBrowse = 0x1601006D,        // 按钮浏览
  kEditBody = 0x16010015,            // 编辑框正文
  kButtonConvert = 0x16010006,       // 按钮转换
  kExcelWorkbooks = 0x16010003,      // Excel工作簿
  kExcelApp = 0x16010002,            // Excel程序
};

// The application's code, as the description sees it: a table of handler
// entry points in this order; a binding's offset is 4 × the entry's place.
enum MainWindowHandler : uint32_t {
  kOnWindowCreated,
  kOnWindowDestroyed,
  kOnFileDropped,
  kOnChooseSourceFile,
  kOnChooseOutputFolder,
  kOnConvert,
  kOnManualReplace,
  kOnAutoReplace,
  kOnSave,
  kOnReset,
  kMainWindowHandlerCount,
};

// The twenty lines of 标签1, joined by CR LF (GBK).
extern const char kMainWindowHelpText[];

// The window as a template (offsets not yet fixed up).
WindowTemplate MainWindowTemplate();

// The stored block, as the program header points at it.
const std::string& MainWindowDescription();

}  // namespace qx
