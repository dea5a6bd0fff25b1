// How the window runtime plugs into the core: the core library's record and
// type table, the one record of hooks through which the core reaches the
// window runtime, and the application start of the platform.
#include <ole2.h>

#include "runtime/Lifecycle.h"
#include "runtime/RuntimeHooks.h"
#include "runtime/Startup.h"
#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/Events.h"
#include "ui/MenuItemKind.h"
#include "ui/Properties.h"
#include "ui/WindowRuntime_win.h"
#include "ui/StyledWindow_win.h"
#include "ui/WindowCommands.h"
#include "ui/WindowTable.h"

namespace qx {

bool MarshalEndToMainThread(int32_t code);
void ClearIdleCallbacks();

namespace {

int g_quitCode = 0;

// The automation object value: a value type, no unit, no operations.
const UnitKind kObjectValueKind = {"对象", "ComObject", kKindObjectCompatible, nullptr, 0, nullptr};

// The core library's type table, indexed by type number - 1; it ends with
// the object value, the last type built.
constexpr uint32_t kCoreTypeCount = TagType(kTagObject);

const UnitKind* const* CoreKinds() {
  static const UnitKind* kinds[kCoreTypeCount] = {};
  auto place = [](KindTag tag, const UnitKind* kind) { kinds[TagType(tag) - 1] = kind; };
  place(kTagWindow, WindowKind());
  place(kTagMenu, MenuItemKind());
  place(kTagEditBox, EditBoxKind());
  place(kTagLabel, LabelKind());
  place(kTagButton, ButtonKind());
  place(kTagFileDialog, FileDialogKind());
  place(kTagObject, &kObjectValueKind);
  return kinds;
}

bool LoadStartupWindow(uint32_t windowId) {
  WindowTemplate* w = FindWindowTemplate(windowId);
  return w && LoadWindow(w, false, false, nullptr);
}

void RunMainLoop() {
  for (const WindowTemplate& w : WindowTemplates())
    if (WindowIsAlive(w)) {
      g_quitCode = RunMessageLoop(LoopMode::kMain);
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

// What the runtime still holds when the windows are gone: the visual
// style's hook on the thread. (It keeps no cache, no resource records of
// its own and no worker thread, and has no socket layer to shut down.)
void ReleaseRemainingObjects() {
  RemoveVisualStyle();
  SetCurrentStyleScheme(0);
}

}  // namespace

const LibraryRecord* CoreLibrary() {
  static const TypeTable types = {kCoreTypeCount, CoreKinds()};
  static const LibraryRecord record = {"核心支持库", &types, nullptr};
  return &record;
}

void InstallWindowRuntime() {
  static const WindowRuntimeHooks hooks = {
      .getUnitProperty = GetUnitProperty,
      .setUnitProperty = SetUnitProperty,
      .runMessageLoop = RunMainLoop,
      .loadStartupWindow = LoadStartupWindow,
      .getObjectProperty = GetObjectProperty,
      .setObjectProperty = SetObjectProperty,
      .unitDestroyed = ReportDestroyed,
      .findLiveUnit = FindLiveUnit,
      .requireLiveUnit = FindLiveUnitOrReport,
      .raiseEvent = RaiseEvent,
      .raiseTypedEvent = RaiseTypedEvent,
      .suspendEvents = SuspendEvents,
      .resumeEvents = ResumeEvents,
      .runningEventSource = RunningEventSource,
      .processMessages = ProcessWaitingMessages,
      .windowCount = WindowCount,
      .windowHandle = [](int32_t index) -> void* { return WindowHandleAt(index); },
      .initialiseOle = InitialiseOle,
      .createHiddenOwner = CreateHiddenOwner,
      .loadWindowDescriptions = LoadWindowDescriptions,
      .marshalEndToMainThread = MarshalEndToMainThread,
      .clearIdleCallbacks = ClearIdleCallbacks,
      .freeWindowDescriptions = FreeWindowDescriptions,
      .destroyHiddenOwner = DestroyHiddenOwner,
      .releaseRemainingObjects = ReleaseRemainingObjects,
      .uninitialiseOle = UninitialiseOle,
  };
  InstallWindowRuntimeHooks(&hooks);
}

int StartApplication(const ProgramHeader* header, int (*entryRoutine)()) {
  SetProgramHeader(header);
  InstallWindowRuntime();
  char path[MAX_PATH + 1] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  path[n < MAX_PATH ? n : 0] = 0;
  std::string folder, name;
  SplitProgramPath(path, &folder, &name);
  g_runtime.moduleFolder = folder.empty() ? folder : folder + "\\";
  entryRoutine();
  RunTeardown(0);
  return g_quitCode;
}

}  // namespace qx
