// How the window runtime plugs into the core: the core library's record and
// type table, the helper-table entries, the start-up and teardown steps,
// the service requests, and the application start of the platform.
#include <ole2.h>

#include "runtime/HelperTable.h"
#include "runtime/Lifecycle.h"
#include "runtime/RuntimeService.h"
#include "runtime/Startup.h"
#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/Events.h"
#include "ui/Properties.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx {

bool MarshalEndToMainThread(int32_t code);
void ClearIdleCallbacks();

namespace {

int g_quitCode = 0;

// The automation object value: a value type, no unit, no operations.
const UnitKind kObjectValueKind = {"对象", "ComObject", kKindObjectCompatible, nullptr, 0, nullptr};

// Type numbers of the core library.
const UnitKind* const* CoreKinds() {
  static const UnitKind* kinds[48] = {};
  kinds[1 - 1] = WindowKind();
  kinds[5 - 1] = EditBoxKind();
  kinds[10 - 1] = LabelKind();
  kinds[11 - 1] = ButtonKind();
  kinds[31 - 1] = FileDialogKind();
  kinds[48 - 1] = &kObjectValueKind;
  return kinds;
}

bool LoadStartupWindow(uint32_t windowId) {
  WindowTemplate* w = FindWindowTemplate(windowId);
  return w && LoadWindow(w, false, false, nullptr);
}

void RunMessageLoop() {
  for (const WindowTemplate& w : WindowTemplates())
    if (WindowIsAlive(w)) {
      g_quitCode = RunMainMessageLoop();
      return;
    }
}

void InitialiseOle() {
  if (SUCCEEDED(OleInitialize(nullptr))) g_runtime.oleInitialised = true;
}

void UninitialiseOle() {
  if (!g_runtime.oleInitialised) return;
  OleUninitialize();
  g_runtime.oleInitialised = false;
}

bool WindowService(int32_t code, intptr_t a, intptr_t b, intptr_t* answer) {
  uint32_t windowId = static_cast<uint32_t>(a), unitId = static_cast<uint32_t>(b);
  switch (code) {
    case kRequestUnitDestroyed: ReportDestroyed(windowId, unitId); return true;
    case kRequestFindLiveUnit:
      *answer = reinterpret_cast<intptr_t>(FindLiveUnit(windowId, unitId));
      return true;
    case kRequestRequireLiveUnit:
      *answer = reinterpret_cast<intptr_t>(FindLiveUnitOrReport(windowId, unitId));
      return true;
    case kRequestRaiseEvent: *answer = RaiseEvent(reinterpret_cast<EventRecord*>(a)); return true;
    case kRequestSuspendEvents: SuspendEvents(); return true;
    case kRequestResumeEvents: ResumeEvents(); return true;
    case kRequestRunningEventSource: {
      // The running event's source: the window's identifier, and the unit's
      // written to the word that the first argument points at (if any).
      uint32_t w = 0, u = 0;
      bool running = RunningEventSource(&w, &u);
      if (a) *reinterpret_cast<uint32_t*>(a) = u;
      *answer = running ? static_cast<intptr_t>(w) : 0;
      return true;
    }
    case kRequestProcessMessages: ProcessWaitingMessages(); return true;
    case kRequestRaiseTypedEvent:
      *answer = RaiseTypedEvent(reinterpret_cast<TypedEventRecord*>(a));
      return true;
    case kRequestWindowCount: *answer = WindowCount(); return true;
    case kRequestWindowHandle:
      *answer = reinterpret_cast<intptr_t>(WindowHandleAt(static_cast<int32_t>(a)));
      return true;
    default: return false;
  }
}

void ReleaseRemainingObjects() {}

}  // namespace

const LibraryRecord* CoreLibrary() {
  static const TypeTable types = {48, CoreKinds()};
  static const LibraryRecord record = {"核心支持库", &types, nullptr};
  return &record;
}

void InstallWindowRuntime() {
  WindowEntryHooks hooks = {};
  hooks.getUnitProperty = GetUnitProperty;
  hooks.setUnitProperty = SetUnitProperty;
  hooks.runMessageLoop = RunMessageLoop;
  hooks.loadStartupWindow = LoadStartupWindow;
  hooks.initialiseOle = InitialiseOle;
  hooks.createHiddenOwner = CreateHiddenOwner;
  hooks.loadWindowDescriptions = LoadWindowDescriptions;
  SetWindowEntryHooks(hooks);
  SetWindowServiceHandler(WindowService);
  WindowRuntimeHooks& t = g_runtime.hooks;
  t.marshalEndToMainThread = MarshalEndToMainThread;
  t.clearIdleCallbacks = ClearIdleCallbacks;
  t.freeWindowDescriptions = FreeWindowDescriptions;
  t.destroyHiddenOwner = DestroyHiddenOwner;
  t.releaseRemainingObjects = ReleaseRemainingObjects;
  t.uninitialiseOle = UninitialiseOle;
}

int StartApplication(const ProgramHeader* header, int (*entryRoutine)()) {
  SetProgramHeader(header);
  InstallWindowRuntime();
  char path[MAX_PATH + 1] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  path[n < MAX_PATH ? n : 0] = 0;
  if (char* slash = strrchr(path, '\\')) slash[1] = 0;
  g_runtime.moduleFolder = path;
  entryRoutine();
  RunTeardown(0);
  return g_quitCode;
}

}  // namespace qx
