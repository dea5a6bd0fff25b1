// The window runtime on Windows: loading windows from their templates, the
// live units, the hidden owner, the message loop, and how it all plugs into
// the runtime core.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/RuntimeState.h"
#include "ui/UnitKind.h"
#include "ui/UnitRecord.h"

namespace qx {

// Builds the live window and its units from a template; false when a kind
// is missing or refuses, or the owner is not a window. A window that is
// already alive is activated instead, unless it is in a modal run: that one
// is ended and loaded anew. `modal` ignores `owner`, disables the other
// top-level windows of the program and returns only when the modal run
// has ended (or a quit message waits for the main loop).
bool LoadWindow(WindowTemplate* window, bool reload, bool modal, HWND owner);

// Modal runs. BeginModalRun disables every other shown, enabled top-level
// window of this thread and remembers them; RunModal runs the message loop
// in modal mode for the window; EndModalRun gives the remembered windows
// their input back, activates the one that was active before and tells the
// loop to end (the runtime's modal window becomes 0). Ending a window that
// is in no run does nothing. Runs nest: the inner ends first, and the outer
// runs on if its window is still there.
void BeginModalRun(WindowTemplate* window, HWND hwnd, HWND previousActive);
void RunModal(WindowTemplate* window);
void EndModalRun(uint32_t windowId);

// The end of a unit whose window is gone. For a window: every live
// slot of its working copy is cleared and the records stored at load come
// back; when no window of the program is left and the message loop runs,
// the loop is told to end.
void UnitGone(UnitObject* unit);
void ReportDestroyed(uint32_t windowId, uint32_t unitId);

// The live unit of (window, unit), unit 0 meaning the window; null when the
// window is not loaded, the unit is missing, is a menu item or has no live
// window. The second reports that null as the runtime error
// "指定窗口或窗口组件不存在或尚未载入" instead, which does not return.
UnitObject* FindLiveUnit(uint32_t windowId, uint32_t unitId);
UnitObject* FindLiveUnitOrReport(uint32_t windowId, uint32_t unitId);

// The windows of the description table, and the handle of the one at
// `index` (from 0) while it is alive, else null.
int32_t WindowCount();
HWND WindowHandleAt(int32_t index);

// The hidden owner window (class _QX_HideOwner) and the main thread.
void CreateHiddenOwner();
void DestroyHiddenOwner();
HWND HiddenOwner();
// The end request of another thread (message WM_APP + 999).
constexpr UINT kEndRequestMessage = WM_APP + 999;

// The message loop. Main mode returns with the quit message's code when it
// comes; modal mode returns 0 when the runtime's modal window has become 0,
// and when a quit message waits, leaving it for the main loop.
enum class LoopMode { kMain, kModal };
int RunMessageLoop(LoopMode mode);
// Dispatches the waiting messages, leaving a quit message.
void ProcessWaitingMessages();
// The window keyboard handling, before the focused control sees a key.
bool PreTranslateWindowMessage(MSG* msg);

// Idle callbacks: (window, routine, argument) triples for live windows.
using IdleRoutine = void (*)(intptr_t argument);
bool AddIdleCallback(HWND window, IdleRoutine routine, intptr_t argument);
void RemoveIdleCallback(HWND window);

// The core library (library 1): its type table and record.
const LibraryRecord* CoreLibrary();

// Installs the window runtime's record of hooks in the core: the
// helper-table entries, the service requests, the start-up and teardown
// steps. Called by the program's start code before InitialiseRuntime.
void InstallWindowRuntime();

// The application start of the platform: keeps the header, installs the
// window runtime, runs the entry routine, then the teardown with code 0;
// returns the exit code the quit message carried.
int StartApplication(const ProgramHeader* header, int (*entryRoutine)());

}  // namespace qx
