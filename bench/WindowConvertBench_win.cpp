// The conversion as a user times it: quillox.exe started, the workbook
// chosen in its open dialog, then "转换" clicked from this process and the
// clock stopped when the click returns with the text in the body box. Five
// conversions per file (reset between them); the median is printed, beside
// the floor that is not ours: Wine's edit control taking the same text in
// one WM_SETTEXT.
//
//   window_convert_bench QUILLOX.EXE FILE...
#include <windows.h>

#include <algorithm>
#include <cstdio>
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

bool Time(const std::string& program, const std::string& file) {
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
  for (int run = 0; run < 5; ++run) {
    double t0 = Seconds();
    Click(Child(window, kConvert));
    convert.push_back(Seconds() - t0);
    std::string text = Text(body);
    bytes = text.size();
    Click(Child(window, kReset));
    t0 = Seconds();
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: window_convert_bench QUILLOX.EXE FILE...\n");
    return 2;
  }
  int failed = 0;
  for (int i = 2; i < argc; ++i)
    if (!Time(FullPath(argv[1]), FullPath(argv[i]))) {
      fprintf(stderr, "%s: no text\n", argv[i]);
      ++failed;
    }
  return failed ? 1 : 0;
}
