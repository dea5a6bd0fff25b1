// LoadWindow: a live window and its controls from a template.
#include <vector>

#include "runtime/RuntimeState.h"
#include "ui/ControlSupport_win.h"
#include "ui/Events.h"
#include "ui/Menus_win.h"
#include "ui/PropertyValues.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx {
namespace {

constexpr int32_t kFirstChildId = 100;
constexpr int32_t kChildIdStep = 10;

HWND LiveHwnd(const UnitRecord& r) { return UnitHwnd(LiveUnit(r)); }

// Standard pointer numbers are the system cursor identifiers; 0 (and data
// we cannot read) leaves the kind's own pointer alone.
HCURSOR CreateUnitCursor(const std::string& data) {
  if (data.size() != 4) return nullptr;
  uint32_t n;
  memcpy(&n, data.data(), 4);
  // Stored as a pointer number, as the property writes it.
  n = SystemCursorOfPointer(n);
  if (n == 0) return nullptr;
  return LoadCursorA(nullptr, MAKEINTRESOURCEA(n));
}

bool CreateUnit(WindowTemplate* w, size_t index, HWND parent, int32_t childId, HWND owner,
                HMENU menu, bool* visible) {
  UnitRecord& r = w->records[index];
  const UnitKind* kind = KindOfTag(r.typeTag);
  CreateControlFn create = OperationsOf(kind).createControl;
  if (!create) return false;
  bool nonVisual = kind->state & kKindNonVisual;
  CreateArgs a = {};
  a.typeBlock = &r.typeBlock;
  if (!nonVisual) {
    if (r.flags & kUnitDisabled) a.style |= WS_DISABLED;
    if (r.flags & kUnitTabStop) a.style |= WS_TABSTOP;
  }
  *visible = !nonVisual && (r.flags & kUnitVisible);
  a.parent = index == 0 ? owner : parent;
  a.menu = index == 0 ? menu : nullptr;
  a.childId = childId;
  a.left = r.left;
  a.top = r.top;
  a.width = r.width;
  a.height = r.height;
  a.windowId = w->id;
  a.unitId = r.id;
  UnitObject* u = create(a);
  if (!u) return false;
  if (u->hwnd && !IsWindow(UnitHwnd(u))) return false;
  r.live = u;
  return true;
}

// Tears a half-built window down; its end restores the records. The menu
// goes with the window that took it, or else on its own, and so do the
// accelerators, which no window has taken yet.
void AbandonLoad(WindowTemplate* w, MenuBar* bar) {
  HWND window = LiveHwnd(w->records[0]);
  bool menuTaken = window && IsWindow(window) && bar->menu && GetMenu(window) == bar->menu;
  if (window) {
    DestroyWindow(window);
  }
  if (!w->saved.empty() || w->records[0].live) {
    w->records = w->saved;
    w->saved.clear();
  }
  DestroyMenuBar(bar, menuTaken);
}

void Notify(const UnitRecord& r, uint32_t code) {
  UnitObject* u = LiveUnit(r);
  if (NotifyFn notify = OperationsOf(u ? u->kind : nullptr).notify)
    notify(u, code, 0, 0);
}

}  // namespace

bool LoadWindow(WindowTemplate* w, bool reload, bool modal, HWND owner) {
  const uint32_t windowId = w->id;
  if (WindowIsAlive(*w)) {
    HWND h = LiveHwnd(w->records[0]);
    if (!w->modal) {
      if (IsIconic(h))
        ShowWindow(h, SW_RESTORE);
      else
        SetForegroundWindow(h);
      return true;
    }
    // A window in a modal run is ended first, then loaded afresh.
    DestroyWindow(h);
    if (WindowIsAlive(*w)) return false;
  }
  // A modal window's owner is the hidden one, when the run mode asks for
  // it, as for a window kept out of the task bar.
  if (modal) owner = g_runtime.runMode != 0 ? HiddenOwner() : nullptr;
  if (owner && !IsWindow(owner)) return false;
  HWND previousActive = GetActiveWindow();

  SuspendEvents();
  w->saved = w->records;
  w->loaded = false;

  // The menu bar; then the window, then the controls from the last record
  // back. Menu items are no controls: they take no child identifier.
  MenuBar bar;
  const size_t n = w->records.size();
  std::vector<bool> visible(n, false);
  bool ignored;  // the window's own visibility is applied after its events
  bool ok = BuildMenuBar(w, &bar) && CreateUnit(w, 0, nullptr, 0, owner, bar.menu, &ignored);
  HWND window = ok ? LiveHwnd(w->records[0]) : nullptr;
  if (ok && !window) ok = false;
  int32_t childId = kFirstChildId;
  for (size_t i = n; ok && i-- > 1;) {
    if (w->records[i].menuItem) continue;
    bool v = false;
    ok = CreateUnit(w, i, window, childId, nullptr, nullptr, &v);
    visible[i] = v;
    childId += kChildIdStep;
  }
  if (!ok) {
    AbandonLoad(w, &bar);
    ResumeEvents();
    return false;
  }

  // Containers take their children; then each container's children are
  // stacked in record order, the first on top, which is also Tab order.
  for (size_t i = 1; i < n; ++i) {
    UnitRecord& r = w->records[i];
    if (!r.container) continue;
    UnitRecord* c = FindUnitRecord(*w, r.container);
    if (c && LiveHwnd(*c) && LiveHwnd(r)) SetParent(LiveHwnd(r), LiveHwnd(*c));
  }
  std::vector<std::pair<uint32_t, HWND>> lastOf;  // container -> previous control
  for (size_t i = 1; i < n; ++i) {
    HWND h = LiveHwnd(w->records[i]);
    if (!h) continue;
    HWND after = HWND_TOP;
    bool found = false;
    for (auto& [container, prev] : lastOf)
      if (container == w->records[i].container) {
        after = prev;
        prev = h;
        found = true;
      }
    if (!found) lastOf.push_back({w->records[i].container, h});
    SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  for (UnitRecord& r : w->records) r.cursor = CreateUnitCursor(r.cursorData);
  for (size_t i = n; i-- > 1;) Notify(w->records[i], kNotifyWindowLoaded);
  Notify(w->records[0], kNotifyWindowLoaded);
  for (size_t i = 1; i < n; ++i)
    if (HWND h = LiveHwnd(w->records[i])) ShowWindow(h, visible[i] ? SW_SHOWNA : SW_HIDE);
  InstallMenuBar(LiveUnit(w->records[0]), &bar);

  ResumeEvents();
  // Handlers may close the window: look at the template afresh after each.
  RaiseSimpleEvent(windowId, 0, kEventCreated);
  if (WindowIsAlive(*w)) RaiseSimpleEvent(windowId, 0, kEventMoved);
  if (WindowIsAlive(*w)) RaiseSimpleEvent(windowId, 0, kEventResized);
  if (!WindowIsAlive(*w)) return true;

  window = LiveHwnd(w->records[0]);
  // A modal window's others lose their input just before it shows, so that
  // no moment passes in which both take it.
  if (modal) BeginModalRun(w, window, previousActive);
  if (w->records[0].flags & kUnitVisible) {
    DWORD style = GetWindowLongA(window, GWL_STYLE);
    ShowWindow(window, (style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                       : (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                               : SW_SHOWNORMAL);
    SetForegroundWindow(window);
    UnitObject* focused = UnitOf(GetFocus());
    if (focused && focused->windowId == windowId)
      RaiseSimpleEvent(windowId, focused->unitId == w->records[0].id ? 0 : focused->unitId,
                       kEventGotFocus);
    else
      RaiseSimpleEvent(windowId, 0, kEventGotFocus);
  }
  if (!WindowIsAlive(*w)) return true;
  // A control that takes the focus on being shown gives it back.
  HWND focus = GetFocus();
  for (size_t i = n; i-- > 1;) Notify(w->records[i], kNotifyWindowShown);
  if (focus && GetFocus() != focus && IsWindow(focus)) SetFocus(focus);
  w->loaded = true;
  (void)reload;
  if (modal && WindowIsAlive(*w)) RunModal(w);
  return true;
}

}  // namespace qx
