// qxdriver: drives a window program from outside, by window title.
//
//   qxdriver wait TITLE [MS]            prints the window handle
//   qxdriver gone TITLE [MS]            waits until the window has gone
//   qxdriver click TITLE ID             BM_CLICK on the child with that identifier
//   qxdriver settext TITLE ID TEXT      WM_SETTEXT
//   qxdriver gettext TITLE ID           prints the text (GBK)
//   qxdriver key TITLE ID VK            a key press in the child's queue
//   qxdriver close TITLE                a close request
//   qxdriver command TITLE N            the menu command N (decimal or 0x…)
//   qxdriver menu TITLE KEY             opens the menu-bar entry of access key KEY
//   qxdriver file TEXT PATH|-           in the open/save dialog found by its
//                                       title or a control's text: choose
//                                       PATH, or cancel with -
//   qxdriver folder TEXT PATH|-         the same in the folder browser
//   qxdriver font TEXT FACE SIZE [u]|-  in the font dialog: pick the face
//                                       and size (and underline), OK; or cancel
//   qxdriver picture TITLE FILE.bmp     what the screen shows of the window
//
// ID 0 is the window itself. Exit code 0 on success, 1 when the window or
// the control is not there, 2 on a usage error.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Driver.h"

using namespace qx::driver;

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: qxdriver wait|gone|click|settext|gettext|key|close|command|menu|file|folder|font|picture TITLE ...\n");
    return 2;
  }
  const char* verb = argv[1];
  const char* title = argv[2];
  DWORD wait = argc > 3 && (!strcmp(verb, "wait") || !strcmp(verb, "gone")) ? atoi(argv[3]) : 10000;
  if (!strcmp(verb, "gone")) return WaitForWindowGone(title, wait) ? 0 : 1;
  if (!strcmp(verb, "font")) {
    if (argc < 4 || (strcmp(argv[3], "-") && argc < 5)) return 2;
    HWND dialog = WaitForDialog(title, 20000);
    if (!dialog) return 1;
    if (!strcmp(argv[3], "-")) {
      CancelDialog(dialog);
      return 0;
    }
    return ChooseFontIn(dialog, argv[3], argv[4], argc > 5 && !strcmp(argv[5], "u")) ? 0 : 1;
  }
  if (!strcmp(verb, "file") || !strcmp(verb, "folder")) {
    if (argc < 4) return 2;
    HWND dialog = WaitForDialog(title, 20000);
    if (!dialog) return 1;
    if (!strcmp(argv[3], "-")) {
      CancelDialog(dialog);
      return 0;
    }
    bool ok = !strcmp(verb, "file") ? ChooseFile(dialog, argv[3]) : ChooseFolderIn(dialog, argv[3]);
    return ok ? 0 : 1;
  }
  HWND window = WaitForWindow(title, wait);
  if (!window) return 1;
  if (!strcmp(verb, "wait")) {
    printf("%p\n", static_cast<void*>(window));
    return 0;
  }
  if (!strcmp(verb, "close")) {
    Close(window);
    return 0;
  }
  if (!strcmp(verb, "picture")) return argc > 3 && SavePicture(window, argv[3]) ? 0 : 1;
  if (!strcmp(verb, "command") && argc > 3) {
    Command(window, static_cast<int>(strtol(argv[3], nullptr, 0)));
    return 0;
  }
  if (!strcmp(verb, "menu") && argc > 3) {
    OpenMenu(window, argv[3][0]);
    return 0;
  }
  if (argc < 4) return 2;
  int id = atoi(argv[3]);
  HWND target = id ? Child(window, id) : window;
  if (!target) return 1;
  if (!strcmp(verb, "click")) {
    Click(target);
  } else if (!strcmp(verb, "gettext")) {
    fputs(Text(target).c_str(), stdout);
    putchar('\n');
  } else if (!strcmp(verb, "settext") && argc > 4) {
    SetText(target, argv[4]);
  } else if (!strcmp(verb, "key") && argc > 4) {
    PressKey(target, static_cast<UINT>(strtoul(argv[4], nullptr, 0)));
  } else {
    return 2;
  }
  return 0;
}
