#include "app/ConverterHandlers_win.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/AutomationWorksheet_win.h"
#include "app/Conversion.h"
#include "app/MainWindowDescription.h"
#include "app/Replacement.h"
#include "app/SaveDocument.h"
#include "app/SpreadsheetProcesses_win.h"
#include "automation/ExcelApp_win.h"
#include "automation/ExcelWorkbooks_win.h"
#include "runtime/encoding/Gbk.h"
#include "runtime/Commands.h"
#include "runtime/HelperTable.h"
#include "runtime/Text.h"
#include "ui/DragDropLibrary_win.h"
#include "ui/EditBoxKind.h"
#include "ui/FileDialogKind.h"
#include "ui/Properties.h"
#include "ui/WindowCommands.h"

namespace qx::app {
namespace {

const RuntimeHelperTable& H() { return HelperTable(); }

char* g_sourcePath = nullptr;  // owned; null: the empty text
StartedSpreadsheets g_started;

constexpr char kPathTooLongMessage[] =
    "所选文件的完整路径超过 260 字节，无法用“选择文件”选取。\r\n"
    "请把这个文件直接拖到文件名框中，或者把它移到路径较短的文件夹后再选择。";

TaggedValue Control(uint32_t unit, uint32_t tag) { return {kMainWindowId, unit, tag}; }

std::string ReadText(uint32_t unit, int32_t property = kEditBoxContent) {
  TaggedValue v = H().getUnitProperty(kMainWindowId, unit, property, -1);
  std::string s = ValueText(v) ? ValueText(v) : "";
  H().freeMemory(ValuePointer(v));
  return s;
}

void WriteText(uint32_t unit, const std::string& text, int32_t property = kEditBoxContent) {
  TaggedValue v = MakeTextValue(text.c_str());
  H().setUnitProperty(kMainWindowId, unit, property, -1, v.lo, v.hi);
}

void WriteLogical(uint32_t unit, int32_t property, bool value) {
  H().setUnitProperty(kMainWindowId, unit, property, -1, value ? 1 : 0, 0);
}

TaggedValue Call(CommandFn command, std::initializer_list<TaggedValue> args) {
  TaggedValue a[4] = {};
  int32_t n = 0;
  for (const TaggedValue& v : args) a[n++] = v;
  return H().callCoreCommand(command, n, a);
}

void Message(const std::string& text) {
  Call(ShowMessage, {MakeTextValue(text.c_str()), MakeInt(0)});
}

void SetSourcePath(const char* text) { AssignText(&g_sourcePath, text); }

std::string HexCode(HRESULT hr) {
  char text[16];
  snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

TaggedValue EditFileName() { return Control(kEditFileName, kTagEditBox); }
TaggedValue DropTarget() { return Control(kDropTarget1, kTagDropTarget); }
TaggedValue SpreadsheetApp() { return Control(kExcelApp, kTagExcelApp); }
TaggedValue Workbooks() { return Control(kExcelWorkbooks, kTagExcelWorkbooks); }

// Lets go of the spreadsheet: the workbook control's references, the
// application's, and the processes a conversion of ours brought up. A
// spreadsheet the user runs on their own is left alone.
void LetGoOfSpreadsheet() {
  Call(DetachWorkbooks, {Workbooks()});
  Call(CloseAllWorkbooks, {Workbooks()});
  Call(ReleaseApplication, {SpreadsheetApp()});
  Call(QuitApplication, {SpreadsheetApp()});
  std::vector<uint32_t> running = SpreadsheetProcessIds();
  for (uint32_t id : g_started.ours)
    if (std::find(running.begin(), running.end(), id) != running.end())
      Call(KillProcess, {MakeInt(static_cast<int32_t>(id))});
  g_started = {};
}

void OnWindowCreated(TaggedValue*, int32_t, const uintptr_t*) {
  Call(ApplyVisualStyle, {MakeInt(3)});
  TaggedValue handle = Call(GetWindowHandle, {EditFileName()});
  Call(RegisterDropWindow, {DropTarget(), handle});
  WriteLogical(kDropTarget1, kDropTargetAcceptFiles, true);
}

void OnWindowDestroyed(TaggedValue*, int32_t, const uintptr_t*) {
  TaggedValue handle = Call(GetWindowHandle, {EditFileName()});
  Call(RevokeDropWindow, {DropTarget(), handle});
  Call(ProcessEvents, {});
  LetGoOfSpreadsheet();
}

// One argument by reference: the address of the dropped text's variable.
void OnFileDropped(TaggedValue*, int32_t count, const uintptr_t* words) {
  const char* dropped = count >= 1 && words[0] ? *reinterpret_cast<char* const*>(words[0]) : nullptr;
  WriteText(kEditFileName, dropped ? dropped : "");
  SetSourcePath(dropped);
}

void OnChooseSourceFile(TaggedValue*, int32_t, const uintptr_t*) {
  TaggedValue desktop = Call(GetSpecialFolder, {MakeInt(3)});
  WriteText(kFileDialog1, ValueText(desktop) ? ValueText(desktop) : "", kFileDialogInitialFolder);
  H().freeMemory(ValuePointer(desktop));
  WriteText(kEditFileName, "");
  TaggedValue dialog = Control(kFileDialog1, kTagFileDialog);
  Call(ShowFileDialog, {dialog});
  SetSourcePath(ReadText(kFileDialog1, kFileDialogFileName).c_str());
  WriteText(kEditFileName, SourcePath());
  // Otherwise nothing would happen, as after a cancel, and the user could
  // not tell why. A drop has no such limit.
  if (LastFileDialogEnd(dialog) == FileDialogEnd::NameTooLong) Message(kPathTooLongMessage);
}

void OnChooseOutputFolder(TaggedValue*, int32_t, const uintptr_t*) {
  TaggedValue folder = Call(ChooseFolder, {MakeTextValue("选择目录：")});
  WriteText(kEditOutputFolder, ValueText(folder) ? ValueText(folder) : "");
  H().freeMemory(ValuePointer(folder));
}

// What the window says when a conversion opened nothing. The file is named
// once: the reason that follows it never names it again.
std::string OpenFailureMessage(const std::string& path, const OpenSheetFailure& why) {
  switch (why.code) {
    case OpenSheetCode::kNoApplication:
      // Nothing could be started at all: no file is to blame.
      return "无法转换：本机没有注册电子表格程序（Excel.Application），程序所在的文件夹中也没有它的替代 qxsheets.dll。";
    case OpenSheetCode::kStartFailed:
      return "无法转换：电子表格程序（Excel.Application）启动失败，错误代码 " + HexCode(why.startResult) + "。";
    default: break;
  }
  if (path.empty()) return "请选择文件：";
  std::string message = "无法打开文件：" + path;
  const reader::OpenFailure& file = why.file;
  if (file.code != reader::OpenFailureCode::kNone || !file.detail.empty()) {
    std::string reason;
    gbk::FromUtf8(reader::OpenFailureReason(file), &reason);
    message += "\r\n" + reason;
  }
  return message;
}

void OnConvert(TaggedValue*, int32_t, const uintptr_t*) {
  AutomationWorksheet sheet;
  sheet.windowId = kMainWindowId;
  sheet.applicationControl = kExcelApp;
  sheet.workbookControl = kExcelWorkbooks;
  NoteBeforeStart(&g_started);
  std::string text;
  OpenSheetFailure why;
  std::string path = SourcePath();
  bool opened = ConvertWorksheetToText(MakeAutomationWorksheetSource(&sheet), path, &text, &why);
  EndAutomationWorksheet(&sheet);
  NoteAfterStart(&g_started);
  // No message is handled while converting, so the box can take the whole
  // text in one append instead of re-reading itself for every cell.
  if (!text.empty())
    Call(AppendText, {Control(kEditBody, kTagEditBox), MakeTextValue(text.c_str())});
  if (!opened) Message(OpenFailureMessage(path, why));
}

void OnManualReplace(TaggedValue*, int32_t, const uintptr_t*) {
  std::string body = ReadText(kEditBody);
  std::string search = ReadText(kEditReplace);
  std::string replacement = ReadText(kEditReplaceWith);
  WriteText(kEditBody, ManualReplace(body, search, replacement));
}

void OnAutoReplace(TaggedValue*, int32_t, const uintptr_t*) {
  WriteText(kEditBody, AutoReplace(ReadText(kEditBody)));
  WriteLogical(kButtonAutoReplace, kPropertyDisabled, true);
}

void OnSave(TaggedValue*, int32_t, const uintptr_t*) {
  SaveOutcome outcome =
      SaveDocument(ReadText(kEditFileName), ReadText(kEditOutputFolder), ReadText(kEditBody),
                   SourcePath());
  if (!outcome.message.empty()) Message(outcome.message);
}

void OnReset(TaggedValue*, int32_t, const uintptr_t*) {
  WriteText(kEditFileName, "");
  WriteText(kEditBody, "");
  LetGoOfSpreadsheet();
  WriteLogical(kButtonAutoReplace, kPropertyDisabled, false);
}

void ExitRoutine() {
  H().freeMemory(g_sourcePath);
  g_sourcePath = nullptr;
}

const EventHandlerFn kCode[kMainWindowHandlerCount] = {
    OnWindowCreated, OnWindowDestroyed, OnFileDropped, OnChooseSourceFile, OnChooseOutputFolder,
    OnConvert,       OnManualReplace,   OnAutoReplace, OnSave,             OnReset};

}  // namespace

const EventHandlerFn* ConverterCode() { return kCode; }

const char* SourcePath() { return g_sourcePath ? g_sourcePath : ""; }

int ConverterEntry() {
  H().callInternalService(kInitialiseRuntime, 0, 0, 0, 0);
  g_sourcePath = nullptr;
  H().callInternalService(kRegisterExitRoutine, reinterpret_cast<intptr_t>(&ExitRoutine), 0, 0, 0);
  H().loadStartupWindow(kMainWindowId);
  H().runMessageLoop();
  return 0;
}

}  // namespace qx::app
