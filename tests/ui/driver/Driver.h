// A second process's view of a window program: find its window by the GBK
// title, reach controls by their Win32 child identifier, send messages.
// Used by the driver program and by end-to-end tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qx::driver {

// The top-level window with this title once it is shown, waiting up to
// `timeoutMs`.
HWND WaitForWindow(const char* title, DWORD timeoutMs);
// Waits until no window has this title.
bool WaitForWindowGone(const char* title, DWORD timeoutMs);
HWND Child(HWND window, int childId);

// Clicks a button the way the keyboard or mouse would reach it.
void Click(HWND button);
std::string Text(HWND control);
void SetText(HWND control, const char* text);
// Posts a key press to the control's queue, as typing would.
void PressKey(HWND control, UINT virtualKey);
// Brings the window to the front and presses the keys as the keyboard
// would: each down in order, then up in the reverse order (a modifier
// first holds for the keys after it).
void PressChord(HWND window, std::initializer_list<WORD> keys);
void Close(HWND window);
// A menu command, as choosing the item with that command identifier sends it.
void Command(HWND window, int command);
// Opens the menu-bar entry whose access key (the letter after &) this is.
void OpenMenu(HWND window, char accessKey);
// Writes what the screen shows of the window, frame included, as a 24-bit
// BMP file; false when it cannot.
bool SavePicture(HWND window, const char* path);

// A shown dialog box (class #32770) of any process whose title, or the text
// of one of whose controls, is `text`, waiting up to `timeoutMs`.
HWND WaitForDialog(const char* text, DWORD timeoutMs);
// In an open or save dialog: types the path into the file-name field and
// presses OK. False when the dialog has no such field.
bool ChooseFile(HWND dialog, const char* path);
// Clicks a program's browse button and answers the open dialog it shows
// with the path; true once the dialog has gone.
bool ChooseInOpenDialog(HWND browse, const std::string& path);
// In the shell's folder browser: selects the folder and presses OK. The
// selection message carries a pointer, so the path is first written into
// the browser's own process.
bool ChooseFolderIn(HWND dialog, const char* path);
// In the font dialog: picks the face and the size from their lists as a
// click would, ticks underline when asked, and presses OK. False when a
// face or size is not in the lists.
bool ChooseFontIn(HWND dialog, const char* face, const char* size, bool underline);
// Presses Cancel.
void CancelDialog(HWND dialog);

// Drags these files (GBK paths) onto the window with the system's own drag
// loop, as from the shell, and drops them; the effect the drop answered.
DWORD DragFilesOnto(HWND target, const std::vector<std::string>& paths);

// Starts a program (a Windows path), returns its process handle.
HANDLE Launch(const std::string& commandLine);
// Waits for the process to end; its exit code, or -2 on time-out.
long WaitForExit(HANDLE process, DWORD timeoutMs);
// Ends a program a test started: its window closed as a user closes it,
// when it is still there, then the process waited for and, after
// `timeoutMs`, ended by force; the handle is closed.
void EndProgram(HANDLE process, HWND window, DWORD timeoutMs);

}  // namespace qx::driver
