// The conversion as a user times it: quillox.exe started, the workbook
// chosen in its open dialog, then "转换" clicked from this process and the
// clock stopped when the text is in the body box. The click is posted, as
// a user's click arrives (a handler run inside a message sent from another
// process may not call out to a spreadsheet application in a process of its
// own). Five conversions per file by default (reset between them); the
// median is printed, beside the floor that is not ours, measured in the same
// run: Wine's edit control taking the same text in one WM_SETTEXT.
//
//   window_convert_bench [--runs N] QUILLOX.EXE FILE...
//   window_convert_bench --edit-floor TEXT BYTES...
//
// The second form times the floor alone: the first BYTES of a text file put
// into a multi-line, word-wrapping edit box like the converter's body box.
// Wine's edit control wraps a line with no break opportunity in about cubic
// time, and a sheet of empty rows converts to exactly such a line ("0:1:2:"
// and so on), so that box cannot take the text of the XFD1048576 workbook
// at all; this form shows the growth on its first few kilobytes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Driver.h"

using namespace qx::driver;

namespace {

constexpr char kTitle[] = "Quillox 1.0 by：Tarvenn";
enum { kConvert = 120, kBody = 130, kBrowse = 140, kReset = 180 };

double Seconds() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::string FullPath(const char* path) {
  char full[MAX_PATH];
  return GetFullPathNameA(path, MAX_PATH, full, nullptr) ? full : path;
}

// Posts the click and waits for the body box to hold text; the seconds
// that took, or -1.
double ConvertAndWait(HWND window) {
  HWND body = Child(window, kBody);
  double t0 = Seconds();
  PostMessageA(Child(window, kConvert), BM_CLICK, 0, 0);
  for (;;) {
    DWORD_PTR n = 0;
    SendMessageTimeoutA(body, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 600000, &n);
    if (n > 0) return Seconds() - t0;
    if (Seconds() - t0 > 3600) return -1;
    Sleep(2);
  }
}

bool Time(const std::string& program, const std::string& file, int runs) {
  HANDLE process = Launch("\"" + program + "\"");
  HWND window = process ? WaitForWindow(kTitle, 30000) : nullptr;
  if (!window) return false;
  PostMessageA(Child(window, kBrowse), BM_CLICK, 0, 0);
  HWND dialog = WaitForDialog("打开", 20000);
  if (!dialog || !ChooseFile(dialog, file.c_str())) return false;
  for (int i = 0; i < 200 && IsWindow(dialog); ++i) Sleep(50);
  HWND body = Child(window, kBody);
  std::vector<double> convert, floor;
  size_t bytes = 0;
  for (int run = 0; run < runs; ++run) {
    double took = ConvertAndWait(window);
    if (took < 0) return false;
    convert.push_back(took);
    std::string text = Text(body);
    bytes = text.size();
    // The reset posted too; it empties the box first, then lets go of
    // the spreadsheet.
    PostMessageA(Child(window, kReset), BM_CLICK, 0, 0);
    while (!Text(body).empty()) Sleep(2);
    Sleep(500);
    double t0 = Seconds();
    SetText(body, text.c_str());
    floor.push_back(Seconds() - t0);
    SetText(body, "");
  }
  Close(window);
  if (WaitForExit(process, 20000) == -2) TerminateProcess(process, 1);
  CloseHandle(process);
  double c = Median(convert), f = Median(floor);
  printf("%-40s click to text %8.3f s   one WM_SETTEXT of the text %8.3f s   ratio %5.1f   %zu bytes\n",
         file.substr(file.find_last_of('\\') + 1).c_str(), c, f, f > 0 ? c / f : 0.0, bytes);
  return bytes > 0;
}

int EditFloor(const char* path, char** sizes, int count) {
  FILE* f = fopen(path, "rb");
  if (!f) return 1;
  std::string text;
  char chunk[65536];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;) text.append(chunk, n);
  fclose(f);
  HWND parent = CreateWindowExA(0, "STATIC", "floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 960, 776,
                                nullptr, nullptr, nullptr, nullptr);
  HWND box = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE |
                             ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                             0, 30, 420, 730, parent, nullptr, nullptr, nullptr);
  SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  SendMessageA(box, EM_LIMITTEXT, 0, 0);
  for (int i = 0; i < count; ++i) {
    size_t bytes = std::min<size_t>(strtoul(sizes[i], nullptr, 10), text.size());
    std::string part = text.substr(0, bytes);
    double t0 = Seconds();
    SetWindowTextA(box, part.c_str());
    printf("edit box floor: first %8zu bytes of %s  %8.3f s\n", bytes, path, Seconds() - t0);
    fflush(stdout);
    SetWindowTextA(box, "");
  }
  DestroyWindow(parent);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && !strcmp(argv[1], "--edit-floor")) return EditFloor(argv[2], argv + 3, argc - 3);
  int runs = 5, first = 1;
  if (argc >= 3 && !strcmp(argv[1], "--runs")) {
    runs = atoi(argv[2]);
    first = 3;
  }
  if (argc - first < 2 || runs < 1) {
    fprintf(stderr, "usage: window_convert_bench [--runs N] QUILLOX.EXE FILE...\n"
                    "       window_convert_bench --edit-floor TEXT BYTES...\n");
    return 2;
  }
  int failed = 0;
  for (int i = first + 1; i < argc; ++i)
    if (!Time(FullPath(argv[first]), FullPath(argv[i]), runs)) {
      fprintf(stderr, "%s: no text\n", argv[i]);
      ++failed;
    }
  return failed ? 1 : 0;
}
