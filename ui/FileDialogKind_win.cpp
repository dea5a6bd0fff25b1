// The file dialog kind: a never-shown child window that keeps the settings
// of the system's open, save and font dialogs and of a help file, and the
// command that shows one.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/LeadByte.h"

#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/FileDialogRules.h"
#include "ui/HelpViewer_win.h"
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
static_assert(kWinHelpContext == HELP_CONTEXT && kWinHelpQuit == HELP_QUIT &&
              kWinHelpHelpOnHelp == HELP_HELPONHELP && kWinHelpFinder == HELP_FINDER &&
              kWinHelpKey == HELP_KEY && kWinHelpPartialKey == HELP_PARTIALKEY);

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
    {kFileDialogFontColour, "字体颜色", kValueColour, &S::fontColour},
    {kFileDialogFontBold, "粗体", kValueLogical, &S::fontBold},
    {kFileDialogFontItalic, "斜体", kValueLogical, &S::fontItalic},
    {kFileDialogFontUnderline, "下划线", kValueLogical, &S::fontUnderline},
    {kFileDialogFontStrikeOut, "删除线", kValueLogical, &S::fontStrikeOut},
    {kFileDialogFontSize, "字体大小", kValueInt, &S::fontSize},
    {kFileDialogHelpCommand, "帮助命令", kValueChoice, &S::helpCommand},
    {kFileDialogHelpContext, "帮助标志值", kValueInt, &S::helpContext},
    {kFileDialogFontName, "字体名称", kValueText, &S::fontName},
    {kFileDialogHelpKey, "帮助关键字", kValueText, &S::helpKey},
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
    case kFileDialogType:
      s.dialogType = value.i < 0 ? kOpenDialog : std::min<uint32_t>(value.i, kLastFileDialogType);
      break;
    case kFileDialogFilterIndex: if (s.filterIndex < 0) s.filterIndex = 0; break;
    case kFileDialogHelpCommand:
      if (s.helpCommand > kLastHelpCommand) s.helpCommand = kLastHelpCommand;
      break;
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

// The font dialog takes the control's title, when it has one, as it starts.
UINT_PTR CALLBACK FontDialogHook(HWND dialog, UINT msg, WPARAM, LPARAM lp) {
  if (msg != WM_INITDIALOG) return FALSE;
  const auto* cf = reinterpret_cast<const CHOOSEFONTA*>(lp);
  SetWindowTextA(dialog, reinterpret_cast<const char*>(cf->lCustData));
  return TRUE;
}

// The font the dialog opens on: the settings, over the default GUI font
// where no face or size is set. The dialog lists real faces only, so a
// face the system stands another in for (the GUI font's "MS Shell Dlg") is
// given as the one it stands for, not left for the dialog to miss.
LOGFONTA StartingFont(const FileDialogSettings& s, int dpi) {
  LOGFONTA lf = {};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  if (s.fontSize > 0) lf.lfHeight = -MulDiv(s.fontSize, dpi, 72);
  lf.lfWeight = s.fontBold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = s.fontItalic;
  lf.lfUnderline = s.fontUnderline;
  lf.lfStrikeOut = s.fontStrikeOut;
  lf.lfCharSet = DEFAULT_CHARSET;
  if (!s.fontName.empty()) {
    memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
    strncpy(lf.lfFaceName, s.fontName.c_str(), LF_FACESIZE - 1);
  }
  HDC screen = GetDC(nullptr);
  HFONT font = CreateFontIndirectA(&lf);
  HGDIOBJ old = SelectObject(screen, font);
  // The family name of the font the system chose; the text face would
  // give the requested name back.
  if (UINT size = GetOutlineTextMetricsA(screen, 0, nullptr)) {
    std::vector<char> metrics(size);
    auto* otm = reinterpret_cast<OUTLINETEXTMETRICA*>(metrics.data());
    if (GetOutlineTextMetricsA(screen, size, otm)) {
      const size_t at = reinterpret_cast<uintptr_t>(otm->otmpFamilyName);
      if (at > 0 && at < size) {
        memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
        strncpy(lf.lfFaceName, metrics.data() + at, LF_FACESIZE - 1);
      }
    }
  }
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return lf;
}

FileDialogEnd ShowFont(FileDialogSettings& s) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  LOGFONTA lf = StartingFont(s, dpi);
  CHOOSEFONTA cf = {};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = ActiveTopLevelWindow();
  cf.lpLogFont = &lf;
  cf.rgbColors = s.fontColour & 0xFFFFFF;
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  if (!s.title.empty()) {
    cf.Flags |= CF_ENABLEHOOK;
    cf.lpfnHook = FontDialogHook;
    cf.lCustData = reinterpret_cast<LPARAM>(s.title.c_str());
  }
  if (!ChooseFontA(&cf))
    return CommDlgExtendedError() == 0 ? FileDialogEnd::Cancelled : FileDialogEnd::Failed;
  s.fontName.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  s.fontSize = (cf.iPointSize + 5) / 10;  // tenths of a point
  s.fontBold = lf.lfWeight >= FW_BOLD;
  s.fontItalic = lf.lfItalic != 0;
  s.fontUnderline = lf.lfUnderline != 0;
  s.fontStrikeOut = lf.lfStrikeOut != 0;
  s.fontColour = cf.rgbColors;
  return FileDialogEnd::Confirmed;
}

// The help file is FileName; without one nothing is asked of the viewer.
FileDialogEnd ShowHelp(const FileDialogSettings& s, HWND control) {
  if (s.fileName.empty()) return FileDialogEnd::Failed;
  HelpCall call = HelpCallFor(s.helpCommand);
  ULONG_PTR data = 0;
  if (call.data == HelpCall::kContextData) data = static_cast<uint32_t>(s.helpContext);
  if (call.data == HelpCall::kKeywordData) data = reinterpret_cast<ULONG_PTR>(s.helpKey.c_str());
  // The viewer keeps track of who asked by the window: the active one, or
  // the control's own when the program is not active.
  HWND owner = ActiveTopLevelWindow();
  if (!owner) owner = GetAncestor(control, GA_ROOT);
  return HelpViewer().winHelp(owner, s.fileName.c_str(), call.command, data)
             ? FileDialogEnd::Confirmed
             : FileDialogEnd::Failed;
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
  BOOL confirmed = s.dialogType == kSaveDialog ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
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
  switch (d->s.dialogType) {
    case kFontDialog: d->lastEnd = ShowFont(d->s); break;
    case kHelpFile: d->lastEnd = ShowHelp(d->s, UnitHwnd(&d->base)); break;
    default: d->lastEnd = ShowOpenOrSave(d->s); break;
  }
  *result = MakeBool(d->lastEnd == FileDialogEnd::Confirmed);
}

FileDialogEnd LastFileDialogEnd(const TaggedValue& control) {
  auto* d = AsDialog(CommandUnit(&control, FileDialogKind()));
  return d ? d->lastEnd : FileDialogEnd::Failed;
}

}  // namespace qx
