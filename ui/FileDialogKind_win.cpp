// The file dialog kind: a never-shown child window that keeps the settings
// of the system's open and save dialogs, and the command that shows one.
#include <windows.h>

#include <commdlg.h>

#include <cstring>
#include <string>

#include "runtime/LeadByte.h"

#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/FileDialogRules.h"
#include "ui/HiddenUnit_win.h"
#include "ui/PropertyTable.h"
#include "ui/TypeBlocks.h"
#include "ui/WindowCommands.h"

namespace qx {
namespace {

static_assert(kOfnOverwritePrompt == OFN_OVERWRITEPROMPT && kOfnHideReadOnly == OFN_HIDEREADONLY &&
              kOfnNoChangeDir == OFN_NOCHANGEDIR && kOfnPathMustExist == OFN_PATHMUSTEXIST &&
              kOfnFileMustExist == OFN_FILEMUSTEXIST && kOfnCreatePrompt == OFN_CREATEPROMPT &&
              kOfnExplorer == OFN_EXPLORER && kOfnEnableSizing == OFN_ENABLESIZING);

constexpr char kClassName[] = "_QX_CommonDlg";
constexpr DWORD kNameBufferSize = 260;

struct FileDialog {
  UnitObject base;
  FileDialogSettings s;
  FileDialogEnd lastEnd = FileDialogEnd::Cancelled;
};

FileDialog* AsDialog(UnitObject* u) { return reinterpret_cast<FileDialog*>(u); }

bool RegisterWindowClass() {
  WNDCLASSA wc = {};
  if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &wc)) return true;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
}

void OnEnd(UnitObject* u) { delete AsDialog(u); }

UnitObject* Create(const CreateArgs& a) {
  auto* d = new FileDialog;
  d->base = {nullptr, FileDialogKind(), a.windowId, a.unitId};
  if (!ReadFileDialogSettings(*a.typeBlock, &d->s) || !RegisterWindowClass() ||
      !CreateHiddenUnitWindow(a, &d->base, OnEnd, kClassName)) {
    delete d;
    return nullptr;
  }
  return &d->base;
}

using S = FileDialogSettings;
constexpr SettingsProperty<S> kRows[] = {
    {kFileDialogType, "类型", kValueInt, &S::dialogType},
    {kFileDialogTitle, "标题", kValueText, &S::title},
    {kFileDialogFileName, "文件名", kValueText, &S::fileName},
    {kFileDialogFilter, "过滤器", kValueText, &S::filter},
    {kFileDialogFilterIndex, "初始过滤器", kValueInt, &S::filterIndex},
    {kFileDialogInitialFolder, "初始目录", kValueText, &S::initialFolder},
    {kFileDialogDefaultExtension, "默认文件后缀", kValueText, &S::defaultExtension},
    {kFileDialogCreatePrompt, "文件不存在时提示", kValueLogical, &S::createPrompt},
    {kFileDialogFileMustExist, "文件必须存在", kValueLogical, &S::fileMustExist},
    {kFileDialogOverwritePrompt, "文件覆盖提示", kValueLogical, &S::overwritePrompt},
    {kFileDialogPathMustExist, "目录必须存在", kValueLogical, &S::pathMustExist},
    {kFileDialogKeepCurrentFolder, "不改变目录", kValueLogical, &S::keepCurrentFolder},
};
static_assert(RowsInNumberOrder(kRows));
constexpr auto kProperties = PropertyInfos(kRows);

void GetProperty(UnitObject* u, int32_t index, RawProperty* out) {
  GetSetting(kRows, index, AsDialog(u)->s, out);
}

// Only stores: nothing shows until the command.
bool SetProperty(UnitObject* u, int32_t index, const RawProperty& value) {
  FileDialogSettings& s = AsDialog(u)->s;
  SetSetting(kRows, index, &s, value);
  switch (kFirstOwnProperty + index) {
    case kFileDialogType: s.dialogType = value.i < 0 ? 0 : value.i > 3 ? 3 : value.i; break;
    case kFileDialogFilterIndex: if (s.filterIndex < 0) s.filterIndex = 0; break;
  }
  return false;
}

std::string SettingsBlock(UnitObject* u) { return WriteFileDialogSettings(AsDialog(u)->s); }

constexpr UnitOperations kOperations = {
    .createControl = Create,
    .setTypeProperty = SetProperty,
    .settingsBlock = SettingsBlock,
    .getTypeProperty = GetProperty,
    .visitTexts = VisitBlockTexts<kRows, ReadFileDialogSettings, WriteFileDialogSettings>,
};

const char* NonEmpty(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

HWND ActiveTopLevelWindow() {
  HWND active = GetActiveWindow();
  return active && IsWindow(active) ? GetAncestor(active, GA_ROOT) : nullptr;
}

bool IsFile(const char* path) {
  DWORD a = GetFileAttributesA(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether the dialog could have given this name: a file that is there, or,
// where the file need not exist yet, a name in a folder that is.
bool IsChoosable(const FileDialogSettings& s, const char* name) {
  if (IsFile(name)) return true;
  if (s.fileMustExist) return false;
  size_t slash = LastCharacterAt(name, '\\');
  return slash != std::string_view::npos && IsFolder(std::string(name, slash));
}

FileDialogEnd ShowOpenOrSave(FileDialogSettings& s) {
  std::string filter = FileDialogFilterList(s.filter);
  // A remembered name longer than the buffer is cut rather than written
  // past its end.
  char name[kNameBufferSize] = "";
  strncpy(name, s.fileName.c_str(), kNameBufferSize - 1);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = ActiveTopLevelWindow();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = FileDialogFilterIndex(filter, s.filterIndex);
  ofn.lpstrFile = name;
  ofn.nMaxFile = kNameBufferSize;
  ofn.lpstrTitle = NonEmpty(s.title);
  ofn.lpstrInitialDir = NonEmpty(s.initialFolder);
  ofn.lpstrDefExt = NonEmpty(s.defaultExtension);
  ofn.Flags = FileDialogFlags(s);
  BOOL confirmed = s.dialogType == 1 ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  DWORD error = confirmed ? 0 : CommDlgExtendedError();
  name[kNameBufferSize - 1] = 0;
  FileDialogEnd end = FileDialogEndFor(confirmed != 0, error, strlen(name), kNameBufferSize,
                                       confirmed && IsChoosable(s, name));
  if (end == FileDialogEnd::Confirmed) s.fileName = name;
  return end;
}

}  // namespace

const UnitKind* FileDialogKind() {
  static const UnitKind kind =
      MakeUnitKind<kOperations>("通用对话框", "CommonDlg", kKindNonVisual, kProperties);
  return &kind;
}

void ShowFileDialog(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = MakeBool(false);
  if (count < 1) return;
  auto* d = AsDialog(CommandUnit(&args[0], FileDialogKind()));
  if (!d) return;
  // The font and help types are not built: they show nothing.
  if (d->s.dialogType > 1) return;
  d->lastEnd = ShowOpenOrSave(d->s);
  *result = MakeBool(d->lastEnd == FileDialogEnd::Confirmed);
}

FileDialogEnd LastFileDialogEnd(const TaggedValue& control) {
  auto* d = AsDialog(CommandUnit(&control, FileDialogKind()));
  return d ? d->lastEnd : FileDialogEnd::Failed;
}

}  // namespace qx
