// The live side of the records: finding a unit's live object and a
// window's handle, and the end of units and windows.
#include "runtime/RuntimeError.h"
#include "runtime/RuntimeState.h"
#include "ui/ControlSupport_win.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx {

UnitObject* FindLiveUnit(uint32_t windowId, uint32_t unitId) {
  WindowTemplate* w = FindWindowTemplate(windowId);
  if (!w || !WindowIsAlive(*w)) return nullptr;
  UnitRecord* r = FindUnitRecord(*w, unitId);
  if (!r || r->menuItem) return nullptr;
  UnitObject* u = LiveUnit(*r);
  if (!u) return nullptr;
  // Kinds without a window of their own count as live while they exist.
  if (u->hwnd && !IsWindow(UnitHwnd(u))) return nullptr;
  return u;
}

UnitObject* FindLiveUnitOrReport(uint32_t windowId, uint32_t unitId) {
  UnitObject* u = FindLiveUnit(windowId, unitId);
  if (!u) ReportRuntimeError("指定窗口或窗口组件不存在或尚未载入", 0);
  return u;
}

int32_t WindowCount() { return static_cast<int32_t>(WindowTemplates().size()); }

HWND WindowHandleAt(int32_t index) {
  auto& all = WindowTemplates();
  if (index < 0 || static_cast<size_t>(index) >= all.size() || !WindowIsAlive(all[index]))
    return nullptr;
  return UnitHwnd(LiveUnit(all[index].records[0]));
}

void ReportDestroyed(uint32_t windowId, uint32_t unitId) {
  WindowTemplate* w = FindWindowTemplate(windowId);
  if (!w) return;
  if (unitId == 0 || (!w->records.empty() && w->records[0].id == unitId)) {
    // Only a load keeps a copy; a second report, or one for a window that
    // never came up, would otherwise replace the records by nothing.
    if (w->saved.empty()) return;
    // A window that ran modally gives the others their input back and ends
    // its loop.
    if (w->modal) EndModalRun(w->id);
    // Every slot of the working copy goes with the copy itself.
    w->records = w->saved;
    for (UnitRecord& r : w->records) {
      r.live = nullptr;
      r.cursor = nullptr;
    }
    w->saved.clear();
    w->loaded = false;
    w->modal = false;
    for (const WindowTemplate& other : WindowTemplates())
      if (WindowIsAlive(other)) return;
    if (g_runtime.messageLoopStarted && !g_runtime.teardownStarted) PostQuitMessage(0);
    return;
  }
  UnitRecord* r = FindUnitRecord(*w, unitId);
  if (!r) return;
  // The pointers are shared system cursors: nothing to free, only to forget.
  r->cursor = nullptr;
  r->live = nullptr;
}

void UnitGone(UnitObject* unit) {
  WindowTemplate* w = FindWindowTemplate(unit->windowId);
  if (!w) return;
  UnitRecord* r = FindUnitRecord(*w, unit->unitId);
  // A slot that already holds a newer object (a re-created control) or was
  // restored with its window stays as it is.
  if (!r || r->live != unit) return;
  ReportDestroyed(unit->windowId, r == &w->records[0] ? 0 : unit->unitId);
}

}  // namespace qx
