#include "Driver.h"

#include <commctrl.h>

#include <cstring>

namespace qx::driver {

HWND WaitForWindow(const char* title, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    // A window exists before its controls and its created event; the
    // runtime shows it only after both, so a shown window is a ready one.
    HWND h = FindWindowA(nullptr, title);
    if (h && IsWindowVisible(h)) return h;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(50);
  }
}

bool WaitForWindowGone(const char* title, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (FindWindowA(nullptr, title)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

HWND Child(HWND window, int childId) { return GetDlgItem(window, childId); }

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

std::string Text(HWND control) {
  DWORD_PTR n = 0;
  SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &n);
  std::string s(n + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(&s[0]), SMTO_NORMAL,
                      5000, &got);
  s.resize(got);
  return s;
}

void SetText(HWND control, const char* text) {
  SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void PressKey(HWND control, UINT virtualKey) {
  PostMessageA(control, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(control, WM_KEYUP, virtualKey, 0xC0000001);
}

void PressChord(HWND window, std::initializer_list<WORD> keys) {
  SetForegroundWindow(window);
  std::vector<INPUT> input;
  auto add = [&input](WORD key, DWORD flags) {
    INPUT i = {};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = key;
    i.ki.dwFlags = flags;
    input.push_back(i);
  };
  for (WORD k : keys) add(k, 0);
  for (auto k = keys.end(); k != keys.begin();) add(*--k, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

void Close(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

void Command(HWND window, int command) { PostMessageA(window, WM_COMMAND, command, 0); }

void OpenMenu(HWND window, char accessKey) {
  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, static_cast<unsigned char>(accessKey));
}

namespace {

struct DialogSearch {
  const char* text;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM lp) {
  auto* search = reinterpret_cast<DialogSearch*>(lp);
  if (Text(child) != search->text) return TRUE;
  search->found = child;
  return FALSE;
}

BOOL CALLBACK MatchDialog(HWND h, LPARAM lp) {
  auto* search = reinterpret_cast<DialogSearch*>(lp);
  char cls[16] = "";
  GetClassNameA(h, cls, sizeof cls);
  if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(h)) return TRUE;
  DialogSearch inner = {search->text, nullptr};
  if (Text(h) == search->text) inner.found = h;
  if (!inner.found) EnumChildWindows(h, MatchChild, reinterpret_cast<LPARAM>(&inner));
  if (!inner.found) return TRUE;
  search->found = h;
  return FALSE;
}

void PressOk(HWND dialog) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

}  // namespace

HWND WaitForDialog(const char* text, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    DialogSearch search = {text, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(50);
  }
}

bool ChooseFile(HWND dialog, const char* path) {
  // The file-name field: the combo box cmb13 with its edit, or the edit
  // edt1 of the older layout; set in every one present.
  bool set = false;
  if (HWND combo = GetDlgItem(dialog, 0x47C)) {
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    SetText(edit ? edit : combo, path);
    set = true;
  }
  if (HWND edit = GetDlgItem(dialog, 0x480)) {
    SetText(edit, path);
    set = true;
  }
  if (set) PressOk(dialog);
  return set;
}

bool ChooseInOpenDialog(HWND browse, const std::string& path) {
  // Posted, not sent: the button's handler runs the dialog's own loop.
  PostMessageA(browse, BM_CLICK, 0, 0);
  HWND dialog = WaitForDialog("打开", 20000);
  if (!dialog) return false;
  // A dialog just shown may not take the typed name yet: it is answered
  // again while it stays.
  for (int attempt = 0; attempt < 3 && IsWindow(dialog); ++attempt) {
    if (!ChooseFile(dialog, path.c_str()) && IsWindow(dialog)) return false;
    for (int i = 0; i < 60 && IsWindow(dialog); ++i) Sleep(50);
  }
  for (int i = 0; i < 200 && IsWindow(dialog); ++i) Sleep(50);
  return !IsWindow(dialog);
}

// The tree's selected item, or null (an address in the browser's process,
// good only for comparing).
LRESULT TreeItem(HWND tree, WPARAM which) {
  DWORD_PTR item = 0;
  SendMessageTimeoutA(tree, TVM_GETNEXTITEM, which, 0, SMTO_NORMAL, 5000, &item);
  return static_cast<LRESULT>(item);
}
LRESULT TreeSelection(HWND tree) { return TreeItem(tree, TVGN_CARET); }

bool ChooseFolderIn(HWND dialog, const char* path) {
  // Shown is not yet filled: wait for the tree's first item. (Some
  // browsers never put the caret on the root, so the selection cannot be
  // what is waited for.)
  HWND tree = nullptr;
  for (int i = 0; i < 200 && !(tree && TreeItem(tree, TVGN_ROOT)); ++i) {
    tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
    Sleep(50);
  }
  if (!tree) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(dialog, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return false;
  size_t size = strlen(path) + 1;
  void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  bool ok = remote && WriteProcessMemory(process, remote, path, size, nullptr);
  if (ok) {
    constexpr UINT kSetSelectionA = WM_USER + 102;  // BFFM_SETSELECTIONA
    // A browser still reading the shell's folders may not find the path
    // yet: ask again until the selection moves (or give up after 3 s).
    LRESULT root = TreeSelection(tree);
    for (int i = 0; i < 30; ++i) {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(dialog, kSetSelectionA, TRUE, reinterpret_cast<LPARAM>(remote),
                          SMTO_NORMAL, 10000, &ignored);
      if (TreeSelection(tree) != root) break;
      Sleep(100);
    }
    PressOk(dialog);
  }
  // The browser reads the path during the selection message only.
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return ok;
}

namespace {

// Selects the entry of the dialog's combo box that reads `text` and tells
// the dialog, as a selection by the user does.
bool PickFromList(HWND dialog, int id, const char* text) {
  HWND combo = GetDlgItem(dialog, id);
  if (!combo) return false;
  DWORD_PTR at = static_cast<DWORD_PTR>(CB_ERR);
  SendMessageTimeoutA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                      reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &at);
  if (static_cast<LRESULT>(at) == CB_ERR) return false;
  SendMessageA(combo, CB_SETCURSEL, at, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  return true;
}

}  // namespace

bool ChooseFontIn(HWND dialog, const char* face, const char* size, bool underline) {
  constexpr int kFaces = 0x470, kSizes = 0x472, kUnderline = 0x411;  // cmb1, cmb3, chx2
  if (!PickFromList(dialog, kFaces, face) || !PickFromList(dialog, kSizes, size)) return false;
  HWND box = GetDlgItem(dialog, kUnderline);
  if (underline && box && SendMessageA(box, BM_GETCHECK, 0, 0) != BST_CHECKED)
    SendMessageA(box, BM_CLICK, 0, 0);
  PressOk(dialog);
  return true;
}

void CancelDialog(HWND dialog) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

HANDLE Launch(const std::string& commandLine) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

long WaitForExit(HANDLE process, DWORD timeoutMs) {
  if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -2;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return static_cast<long>(code);
}

void EndProgram(HANDLE process, HWND window, DWORD timeoutMs) {
  if (IsWindow(window)) Close(window);
  if (WaitForExit(process, timeoutMs) == -2) TerminateProcess(process, 1);
  CloseHandle(process);
}

}  // namespace qx::driver
