// The folder browser command: the shell's browser, modal to every loaded
// window of the program, which get their enabled state, the foreground and
// the activation back afterwards.
#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "runtime/Memory.h"
#include "runtime/Text.h"
#include "runtime/encoding/Wide_win.h"
#include "ui/WindowCommands.h"
#include "ui/WindowRuntime_win.h"

namespace qx {
namespace {

constexpr UINT kEditBox = 0x10;              // BIF_EDITBOX
constexpr UINT kIncludeFiles = 0x4000;       // BIF_BROWSEINCLUDEFILES

struct Disabled {
  HWND window;
  bool wasEnabled;
};

// The program's loaded top-level windows, each disabled, with its state.
std::vector<Disabled> DisableLoadedWindows() {
  std::vector<Disabled> all;
  for (int32_t i = 0, count = WindowCount(); i < count; ++i) {
    HWND h = WindowHandleAt(i);
    if (!h || !IsWindow(h) || GetParent(h)) continue;
    // EnableWindow answers whether the window was disabled before.
    all.push_back({h, !EnableWindow(h, FALSE)});
  }
  return all;
}

}  // namespace

void ChooseFolder(TaggedValue* result, int32_t count, TaggedValue* args) {
  *result = MakeTextValue(nullptr);
  const char* title = ArgText(count, args, 0);
  UINT flags = kEditBox;
  if (!ArgOmitted(count, args, 1) && ArgInt(count, args, 1, 0) != 0) flags |= kIncludeFiles;
  HWND active = GetActiveWindow();
  HWND foreground = GetForegroundWindow();
  BROWSEINFOA info = {};
  info.hwndOwner = active && IsWindow(active) ? active : nullptr;
  info.lpszTitle = title ? title : "";
  info.ulFlags = flags;
  std::vector<Disabled> disabled = DisableLoadedWindows();
  LPITEMIDLIST item = SHBrowseForFolderA(&info);
  for (const Disabled& d : disabled)
    if (IsWindow(d.window)) EnableWindow(d.window, d.wasEnabled);
  if (foreground && IsWindow(foreground)) SetForegroundWindow(foreground);
  if (active && IsWindow(active)) SetActiveWindow(active);
  if (!item) return;
  // Taken wide, as the "A" call would write a character GBK lacks as a
  // near one ("²" as "2"): another folder's name, where the document would
  // be saved.
  wchar_t path[MAX_PATH] = L"";
  if (SHGetPathFromIDListW(item, path) && path[0])
    *result = MakeTextValue(CopyText(AnsiNameFromWide(path).c_str()));
  CoTaskMemFree(item);
}

}  // namespace qx
