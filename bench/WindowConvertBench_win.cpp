// The conversion as a user times it: quillox.exe started, the workbook
// chosen in its open dialog, then "转换" clicked from this process and the
// clock stopped when the text is in the body box. Five
// conversions per file (reset between them); the median is printed. Beside
// it, the floor that is not ours:
// one WM_SETTEXT of the same text into a box like the body box without our
// edit box kind around it (the system's box, font and styles alone), in a
// process of its own and given up after a time.
//
//   window_convert_bench [--runs N] [--cap SECONDS] [--floor-cap SECONDS] QUILLOX.EXE FILE...
//   window_convert_bench --edit-floor TEXT [BYTES...]
//
// The second form times the floor alone: the whole text file, or its first
// BYTES, put into such a box. Wine's edit box lays out a line with no break
// opportunity in about cubic time, and a sheet of empty rows converts to
// exactly such a line ("300:301:302:" and so on): the floor of the text of a
// stray value 5,000 rows down takes minutes, and the growth shows on the
// first kilobytes.
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
// The body box as the window description makes it.
constexpr int kBodyWidth = 424, kBodyHeight = 728;

double Seconds() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

std::string FullPath(const char* path) {
  char full[MAX_PATH];
  return GetFullPathNameA(path, MAX_PATH, full, nullptr) ? full : path;
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

size_t LongestLine(const std::string& text) {
  size_t longest = 0, start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    longest = std::max(longest, end - start);
  return std::max(longest, text.size() - start);
}

// The floor in a process of its own, so that it can be given up: seconds,
// or a negative number when it did not finish within `cap`.
double FloorOf(const std::string& self, const std::string& text, int cap) {
  char temp[MAX_PATH], file[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  GetTempFileNameA(temp, "qxf", 0, file);
  FILE* f = fopen(file, "wb");
  if (!f) return 0;
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
  char out[MAX_PATH];
  GetTempFileNameA(temp, "qxo", 0, out);
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE result = CreateFileA(out, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = result;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi = {};
  std::string line = "\"" + self + "\" --edit-floor \"" + file + "\"";
  double seconds = 0;
  if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    if (WaitForSingleObject(pi.hProcess, static_cast<DWORD>(cap) * 1000) == WAIT_TIMEOUT) {
      TerminateProcess(pi.hProcess, 1);
      WaitForSingleObject(pi.hProcess, 10000);
      seconds = -1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(result);
  if (seconds == 0) {
    FILE* r = fopen(out, "rb");
    if (r) {
      if (fscanf(r, "%*s %*s %*s %*s %*s %*s %lf", &seconds) != 1) seconds = 0;
      fclose(r);
    }
  }
  DeleteFileA(out);
  DeleteFileA(file);
  return seconds;
}

// Posts the click, as a user's click arrives (a handler run inside a
// message sent from another process may not call out to a spreadsheet
// application in a process of its own), and waits for the body box to hold
// text: the seconds that took, or -1 when it did not within `cap`.
double ConvertAndWait(HWND window, int cap) {
  HWND body = Child(window, kBody);
  double t0 = Seconds();
  PostMessageA(Child(window, kConvert), BM_CLICK, 0, 0);
  for (;;) {
    DWORD_PTR n = 0;
    SendMessageTimeoutA(body, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, static_cast<UINT>(cap) * 1000, &n);
    if (n > 0) return Seconds() - t0;
    if (Seconds() - t0 > cap) return -1;
    Sleep(2);
  }
}

bool Time(const std::string& self, const std::string& program, const std::string& file, int runs,
          int cap, int floorCap) {
  HANDLE process = Launch("\"" + program + "\"");
  HWND window = process ? WaitForWindow(kTitle, 30000) : nullptr;
  if (!window) return false;
  PostMessageA(Child(window, kBrowse), BM_CLICK, 0, 0);
  HWND dialog = WaitForDialog("打开", 20000);
  if (!dialog || !ChooseFile(dialog, file.c_str())) return false;
  for (int i = 0; i < 200 && IsWindow(dialog); ++i) Sleep(50);
  HWND body = Child(window, kBody);
  std::vector<double> convert;
  std::string text;
  bool finished = true;
  for (int run = 0; run < runs && finished; ++run) {
    double took = ConvertAndWait(window, cap);
    finished = took >= 0;
    if (!finished) break;
    convert.push_back(took);
    text = Text(body);
    // The reset posted too; it empties the box first, then lets go of the
    // spreadsheet.
    PostMessageA(Child(window, kReset), BM_CLICK, 0, 0);
    while (!Text(body).empty()) Sleep(2);
    Sleep(500);
  }
  if (finished) {
    Close(window);
    if (WaitForExit(process, 20000) == -2) TerminateProcess(process, 1);
  } else {
    TerminateProcess(process, 1);
  }
  CloseHandle(process);
  std::string name = BaseName(file);
  if (!finished) {
    printf("%-22s click to text  > %d s (given up)\n", name.c_str(), cap);
    return false;
  }
  double floor = FloorOf(self, text, floorCap);
  char floorText[32];
  if (floor < 0)
    snprintf(floorText, sizeof floorText, "> %d s", floorCap);
  else
    snprintf(floorText, sizeof floorText, "%.3f s", floor);
  printf("%-22s click to text %8.3f s   unmended WM_SETTEXT %10s   %zu bytes, longest line %zu\n",
         name.c_str(), Median(convert), floorText, text.size(), LongestLine(text));
  fflush(stdout);
  return !text.empty();
}

// A box like the body box, without our kind around it: the system's box,
// its styles, the default GUI font, in a shown window.
int EditFloor(const char* path, char** sizes, int count) {
  FILE* f = fopen(path, "rb");
  if (!f) return 1;
  std::string text;
  char chunk[65536];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;) text.append(chunk, n);
  fclose(f);
  HWND parent = CreateWindowExA(0, "STATIC", "floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 960,
                                776, nullptr, nullptr, nullptr, nullptr);
  HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                             WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE |
                                 ES_AUTOVSCROLL | ES_WANTRETURN,
                             0, 8, kBodyWidth, kBodyHeight, parent, nullptr, nullptr, nullptr);
  SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  SendMessageA(box, EM_LIMITTEXT, 0, 0);
  std::vector<size_t> lengths;
  for (int i = 0; i < count; ++i) lengths.push_back(strtoul(sizes[i], nullptr, 10));
  if (lengths.empty()) lengths.push_back(text.size());
  for (size_t length : lengths) {
    std::string part = text.substr(0, std::min(length, text.size()));
    double t0 = Seconds();
    SetWindowTextA(box, part.c_str());
    printf("edit box floor: first %8zu bytes %8.3f s\n", part.size(), Seconds() - t0);
    fflush(stdout);
    SetWindowTextA(box, "");
  }
  DestroyWindow(parent);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && !strcmp(argv[1], "--edit-floor")) return EditFloor(argv[2], argv + 3, argc - 3);
  int runs = 5, cap = 600, floorCap = 120, i = 1;
  for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] == '-'; i += 2) {
    int value = std::max(1, atoi(argv[i + 1]));
    if (!strcmp(argv[i], "--runs")) runs = value;
    if (!strcmp(argv[i], "--cap")) cap = value;
    if (!strcmp(argv[i], "--floor-cap")) floorCap = value;
  }
  if (argc - i < 2) {
    fprintf(stderr, "usage: window_convert_bench [--runs N] [--cap SECONDS] [--floor-cap SECONDS] "
                    "QUILLOX.EXE FILE...\n"
                    "       window_convert_bench --edit-floor TEXT [BYTES...]\n");
    return 2;
  }
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  int failed = 0;
  for (int f = i + 1; f < argc; ++f)
    if (!Time(self, FullPath(argv[i]), FullPath(argv[f]), runs, cap, floorCap)) {
      fprintf(stderr, "%s: no text\n", argv[f]);
      ++failed;
    }
  return failed ? 1 : 0;
}
