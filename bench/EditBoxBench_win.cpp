// The body box alone, in this process: a text file appended to a box of our
// edit box kind as the conversion appends it (AppendText), beside one
// WM_SETTEXT of the same text into the system's box with the same styles,
// size and font, in the same shown window. Five of each, alternating; the
// medians of the wall clock and of this thread's CPU time, which holds on a
// machine busy with other work where the wall clock does not.
//
//   edit_box_bench [--body-only] TEXT...
//
// --body-only leaves out the system's box: laid out by the system alone, the
// text of a stray value far below a bank takes minutes to hours.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/HelperTable.h"
#include "runtime/Lifecycle.h"
#include "ui/DescriptionWriter.h"
#include "ui/Events.h"
#include "ui/TypeBlocks.h"
#include "ui/WindowCommands.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace {

constexpr uint32_t kWindow = 0x52010001, kBody = 0x16010015;
// The body box as the converter's window description places it.
constexpr int kLeft = 0, kTop = 8, kWidth = 424, kHeight = 728;

void NoHandler(qx::TaggedValue*, int32_t, const uintptr_t*) {}
const qx::EventHandlerFn kCode[1] = {NoHandler};

HWND LoadBody() {
  using namespace qx;
  InstallWindowRuntime();
  CreateHiddenOwner();
  static const LibraryRecord* libs[1] = {CoreLibrary()};
  StartLibraries(libs, 1);
  WindowTemplate w;
  w.id = kWindow;
  w.records.push_back(MakeUnitRecord(0x06010000, 0x00010001, "", 0, 0, 960, 776, kUnitVisible,
                                     WriteWindowSettings(WindowSettings())));
  EditBoxSettings body;
  body.multiLine = true;
  body.scrollBars = 2;
  w.records.push_back(MakeUnitRecord(kBody, 0x00010005, "编辑框正文", kLeft, kTop, kWidth, kHeight,
                                     kUnitVisible, WriteEditBoxSettings(body)));
  static std::string block = WriteDescription({w});
  if (!LoadWindowDescriptions(block.data(), static_cast<uint32_t>(block.size()), kCode) ||
      !LoadWindow(FindWindowTemplate(kWindow), false, false, nullptr))
    return nullptr;
  UnitObject* u = FindLiveUnit(kWindow, kBody);
  return u ? static_cast<HWND>(u->hwnd) : nullptr;
}

HWND SystemBox(HWND parent) {
  HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                             WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE |
                                 ES_AUTOVSCROLL | ES_WANTRETURN,
                             kLeft + kWidth + 8, kTop, kWidth, kHeight, parent, nullptr, nullptr, nullptr);
  SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  SendMessageA(box, EM_LIMITTEXT, 0, 0);
  return box;
}

struct Clock {
  double wall, cpu;
};

Clock Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  FILETIME created, ended, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
  auto value = [](FILETIME v) {
    return static_cast<double>((static_cast<unsigned long long>(v.dwHighDateTime) << 32) |
                               v.dwLowDateTime) / 1e7;
  };
  return {static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart),
          value(kernel) + value(user)};
}

Clock Since(Clock start) {
  Clock now = Now();
  return {now.wall - start.wall, now.cpu - start.cpu};
}

Clock Median(std::vector<Clock> v) {
  std::sort(v.begin(), v.end(), [](Clock a, Clock b) { return a.wall < b.wall; });
  std::vector<double> cpu;
  for (Clock c : v) cpu.push_back(c.cpu);
  std::sort(cpu.begin(), cpu.end());
  return {v[v.size() / 2].wall, cpu[cpu.size() / 2]};
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

std::string ReadAll(const char* path) {
  std::string text;
  FILE* f = fopen(path, "rb");
  if (!f) return text;
  char chunk[65536];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;) text.append(chunk, n);
  fclose(f);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qx;
  HWND body = LoadBody();
  if (!body) {
    fprintf(stderr, "the body box could not be made\n");
    return 1;
  }
  HWND system = SystemBox(GetParent(body));
  bool bodyOnly = false;
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--body-only")) {
      bodyOnly = true;
      continue;
    }
    std::string text = ReadAll(argv[i]);
    std::vector<Clock> ours, theirs;
    for (int run = 0; run < 5; ++run) {
      SetWindowTextA(body, "");
      Pump();
      TaggedValue args[2] = {{kWindow, kBody, kTagEditBox}, MakeTextValue(text.c_str())};
      Clock start = Now();
      HelperTable().callCoreCommand(AppendText, 2, args);
      ours.push_back(Since(start));
      if (!bodyOnly) {
        SetWindowTextA(system, "");
        Pump();
        start = Now();
        SetWindowTextA(system, text.c_str());
        theirs.push_back(Since(start));
      }
      Pump();
    }
    const char* name = strrchr(argv[i], '/') ? strrchr(argv[i], '/') + 1 : argv[i];
    Clock a = Median(ours);
    printf("%-22s body box %8.3f s (cpu %8.3f s)", name, a.wall, a.cpu);
    if (!bodyOnly) {
      Clock b = Median(theirs);
      printf("   system box alone %8.3f s (cpu %8.3f s)", b.wall, b.cpu);
    }
    printf("   %zu bytes\n", text.size());
    fflush(stdout);
  }
  return 0;
}
