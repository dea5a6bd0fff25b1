// qxsheets-app.exe: our spreadsheet server as an application of its own, a
// test fixture for the path of a user who has a spreadsheet application
// installed. The release ships only the in-process DLL.
//
//   qxsheets-app.exe /RegServer [/AsApplication] [/CellByCell]
//   qxsheets-app.exe /UnregServer
//   qxsheets-app.exe -Embedding [/AsApplication] [/CellByCell]
//   qxsheets-app.exe
//
// /RegServer registers this file under "Excel.Application" in the running
// Wine prefix (refused anywhere else), its command line carrying the
// behaviour switches given with it; /UnregServer removes exactly that.
// Started by COM (-Embedding, or -Automation) it serves one application
// object, a new process for every client that creates one, and ends when
// the last of its objects is released or its application quits. Started
// by hand it shows a window and stays until that is closed, as a
// spreadsheet a user opens does, and serves nobody.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>

#include "automation/server/Registration_win.h"
#include "automation/server/ServerCore_win.h"

namespace {

using namespace qx::sheets;

// An EXE server that nobody connects to goes away after this long.
constexpr UINT kIdleMs = 60000;
constexpr wchar_t kWindowTitle[] = L"Quillox Sheets";

DWORD g_mainThread = 0;
bool g_served = false;

void End() { PostThreadMessageW(g_mainThread, WM_QUIT, 0, 0); }

// The usual local-server life: every object and lock counts, and the last
// to go ends the process.
const ServerHost kLocalHost = {
    [] {
      g_served = true;
      CoAddRefServerProcess();
    },
    [] {
      if (CoReleaseServerProcess() == 0) End();
    },
    [](bool lock) {
      if (lock) {
        CoAddRefServerProcess();
      } else if (CoReleaseServerProcess() == 0) {
        End();
      }
    },
    End,
};

bool Is(const wchar_t* arg, const wchar_t* name) {
  return (arg[0] == L'/' || arg[0] == L'-') && lstrcmpiW(arg + 1, name) == 0;
}

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// Until WM_QUIT, or until `watched` (when given) ends.
void RunMessageLoop(HANDLE watched = nullptr) {
  for (;;) {
    DWORD n = watched ? 1 : 0;
    DWORD got = MsgWaitForMultipleObjects(n, &watched, FALSE, INFINITE, QS_ALLINPUT);
    if (n == 1 && got == WAIT_OBJECT_0) return;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) return;
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
}

// The process that started this one. Windows starts a local server from
// its own service, which lives on; Wine starts it from the client itself.
// A client that ends without releasing what it holds (a crash, a test
// stopped half-way) is then never noticed otherwise, as nothing runs the
// dead client's references down; this server ends with it instead.
HANDLE StartingProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
  DWORD self = GetCurrentProcessId(), parent = 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (entry.th32ProcessID == self) parent = entry.th32ParentProcessID;
  CloseHandle(snapshot);
  return parent ? OpenProcess(SYNCHRONIZE, FALSE, parent) : nullptr;
}

// The system may hand a local server its client's standard handles; held
// here, a pipe the client's own reader waits on would stay open for as
// long as this server runs.
void LetGoOfStandardHandles() {
  freopen("NUL", "r", stdin);
  freopen("NUL", "w", stdout);
  freopen("NUL", "w", stderr);
  for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    HANDLE h = GetStdHandle(which);
    SetStdHandle(which, nullptr);
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
}

void CALLBACK EndIfNeverServed(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_served) End();
}

int Serve() {
  LetGoOfStandardHandles();
  g_mainThread = GetCurrentThreadId();
  SetServerHost(&kLocalHost);
  DWORD cookie = 0;
  // One client per process, as a spreadsheet application started for
  // automation serves the client that started it.
  HRESULT hr = CoRegisterClassObject(CLSID_QxSheetsApplication, ApplicationClassFactory(),
                                     CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie);
  if (FAILED(hr)) return 1;
  UINT_PTR idle = SetTimer(nullptr, 0, kIdleMs, EndIfNeverServed);
  HANDLE starter = StartingProcess();
  RunMessageLoop(starter);
  if (starter) CloseHandle(starter);
  KillTimer(nullptr, idle);
  CoRevokeClassObject(cookie);
  return 0;
}

LRESULT CALLBACK UserWindow(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, msg, wp, lp);
}

int RunForTheUser(HINSTANCE self) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = UserWindow;
  wc.hInstance = self;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"QxSheetsApplication";
  RegisterClassW(&wc);
  if (!CreateWindowExW(0, wc.lpszClassName, kWindowTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                       CW_USEDEFAULT, CW_USEDEFAULT, 320, 160, nullptr, nullptr, self, nullptr))
    return 1;
  RunMessageLoop();
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE self, HINSTANCE, LPSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  bool registering = false, unregistering = false, embedded = false;
  uint32_t behaviour = 0;
  std::wstring switches;
  for (int i = 1; argv && i < argc; ++i) {
    const wchar_t* a = argv[i];
    if (Is(a, L"RegServer")) {
      registering = true;
    } else if (Is(a, L"UnregServer")) {
      unregistering = true;
    } else if (Is(a, L"Embedding") || Is(a, L"Automation")) {
      embedded = true;
    } else if (Is(a, L"AsApplication") || Is(a, L"CellByCell")) {
      behaviour |= Is(a, L"AsApplication") ? kBehaveAsApplication : kCellByCell;
      switches += (switches.empty() ? L"" : L" ") + std::wstring(L"/") + (a + 1);
    } else {
      fwprintf(stderr, L"qxsheets-app: unknown argument %ls\n", a);
      LocalFree(argv);
      return 2;
    }
  }
  LocalFree(argv);
  if (registering || unregistering) {
    std::string why;
    bool ok = registering ? RegisterSheetServer({true, OwnPath(), switches}, &why)
                          : UnregisterSheetServer(&why);
    if (!ok) fprintf(stderr, "qxsheets-app: %s\n", why.c_str());
    return ok ? 0 : 1;
  }
  if (FAILED(OleInitialize(nullptr))) return 1;
  SetBehaviour(behaviour);
  int rc = embedded ? Serve() : RunForTheUser(self);
  OleUninitialize();
  return rc;
}
