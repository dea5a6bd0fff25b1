// Property access by number: the eight common properties from the record
// and the live window, the kind's own through its operations, converted by
// the property's value-type code; and re-creation of a control whose
// changed setting only creation applies.
#include <cstring>

#include "runtime/Memory.h"
#include "runtime/RuntimeError.h"
#include "runtime/Text.h"
#include "ui/ControlSupport_win.h"
#include "ui/Events.h"
#include "ui/FontRecord.h"
#include "ui/Menus_win.h"
#include "ui/Properties.h"
#include "ui/PropertyValues.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx {
namespace {

constexpr int32_t kCoordinateLimit = 32627;

struct Target {
  WindowTemplate* window;
  size_t index;
  UnitRecord& record() { return window->records[index]; }
};

Target FindTarget(uint32_t windowId, uint32_t unitId) {
  WindowTemplate* w = FindWindowTemplate(windowId);
  int32_t index = w ? FindUnitIndex(*w, unitId) : -1;
  // An identifier the window does not hold is reported like a window that
  // is not there, rather than read through a missing record.
  if (index < 0) ReportRuntimeError("未载入欲访问窗口组件所在的窗口", 0);
  return {w, static_cast<size_t>(index)};
}

UnitObject* LiveOrReport(Target& t) {
  UnitObject* u = LiveUnit(t.record());
  if (!u || (u->hwnd && !IsWindow(UnitHwnd(u)))) ReportRuntimeError("指定窗口尚未载入", 0);
  return u;
}

// The default GUI font and the screen's resolution, for a font property
// alone (a spreadsheet's cells are read by property too, many thousand
// times), and asked for each time: a setting change would leave a kept copy
// stale.
FontBasis FontBasisFor(uint32_t valueType) {
  FontBasis basis;
  if (valueType != kValueFont) return basis;
  LOGFONTA lf;
  if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf) == sizeof lf)
    basis.fallback.assign(reinterpret_cast<const char*>(&lf), sizeof lf);
  HDC screen = GetDC(nullptr);
  basis.dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return basis;
}

const PropertyInfo* OwnProperty(const UnitKind* kind, int32_t index) {
  return index >= 0 && index < kind->propertyCount ? &kind->properties[index] : nullptr;
}

TaggedValue ReadOwn(UnitObject* u, int32_t index, int32_t element) {
  GetTypePropertyFn get = OperationsOf(u->kind).getTypeProperty;
  const PropertyInfo* info = OwnProperty(u->kind, index);
  if (!get || !info) return {0, 0, 0};
  RawProperty raw;
  get(u, index, &raw);
  return ValueOfRaw(info->valueType, raw, element, FontBasisFor(info->valueType));
}

// Stores the value in the kind; true when the kind asks for re-creation.
bool WriteOwn(UnitObject* u, int32_t index, int32_t element, uint32_t lo, uint32_t hi) {
  const UnitOperations& ops = OperationsOf(u->kind);
  const PropertyInfo* info = OwnProperty(u->kind, index);
  if (!ops.setTypeProperty || !info) return false;
  // A font element is written into the control's current font.
  RawProperty current;
  if (info->valueType == kValueFont && ops.getTypeProperty) ops.getTypeProperty(u, index, &current);
  RawProperty raw;
  if (!RawOfValue(info->valueType, lo, hi, element, current, FontBasisFor(info->valueType), &raw))
    return false;
  return ops.setTypeProperty(u, index, raw);
}

// The live rectangle in its parent's client coordinates (the screen for a
// top-level window).
RECT LiveRect(HWND h) {
  RECT rc;
  GetWindowRect(h, &rc);
  HWND parent = GetAncestor(h, GA_PARENT);
  if (parent && parent != GetDesktopWindow())
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

int32_t Clamp(int32_t v, int32_t low, int32_t high) { return v < low ? low : v > high ? high : v; }

void Recreate(Target& t, UnitObject* old) {
  HWND oldHwnd = UnitHwnd(old);
  const UnitKind* kind = old->kind;
  SettingsBlockFn settings = OperationsOf(kind).settingsBlock;
  CreateControlFn create = OperationsOf(kind).createControl;
  if (!settings || !create || !oldHwnd) return;
  SuspendEvents();
  std::string block = settings(old);
  RECT rc = LiveRect(oldHwnd);
  HWND parent = GetAncestor(oldHwnd, GA_PARENT);
  HWND focus = GetFocus();
  bool hadFocus = focus == oldHwnd || IsChild(oldHwnd, focus);
  bool wasVisible = GetWindowLongA(oldHwnd, GWL_STYLE) & WS_VISIBLE;
  CreateArgs a = {};
  a.typeBlock = &block;
  if (!IsWindowEnabled(oldHwnd)) a.style |= WS_DISABLED;
  // Tab order survives the new window too.
  if (GetWindowLongA(oldHwnd, GWL_STYLE) & WS_TABSTOP) a.style |= WS_TABSTOP;
  a.parent = parent;
  a.childId = GetDlgCtrlID(oldHwnd);
  a.left = rc.left;
  a.top = rc.top;
  a.width = rc.right - rc.left;
  a.height = rc.bottom - rc.top;
  a.windowId = old->windowId;
  a.unitId = old->unitId;
  UnitObject* fresh = create(a);
  if (fresh) {
    HWND h = UnitHwnd(fresh);
    t.record().live = fresh;
    // Child windows of the old control move over; the up-down buddy of an
    // edit box is the kind's own and was made anew.
    while (HWND child = GetWindow(oldHwnd, GW_CHILD)) SetParent(child, h);
    SetWindowPos(h, oldHwnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (NotifyFn notify = OperationsOf(kind).notify) {
      notify(fresh, kNotifyWindowLoaded, 0, 0);
      notify(fresh, kNotifyWindowShown, 0, 0);
    }
    if (wasVisible) ShowWindow(h, SW_SHOWNA);
    DestroyWindow(oldHwnd);
    if (hadFocus) SetFocus(h);
    else if (focus && IsWindow(focus) && GetFocus() != focus) SetFocus(focus);
  }
  ResumeEvents();
}

}  // namespace

TaggedValue GetUnitProperty(uint32_t windowId, uint32_t unitId, int32_t property,
                            int32_t element) {
  Target t = FindTarget(windowId, unitId);
  if (property >= kFirstOwnProperty)
    return ReadOwn(LiveOrReport(t), property - kFirstOwnProperty, element);
  UnitRecord& r = t.record();
  HWND h = UnitHwnd(LiveUnit(r));
  if (h && !IsWindow(h)) h = nullptr;
  switch (property) {
    case kPropertyLeft:
    case kPropertyTop: {
      if (!h) return MakeInt(property == kPropertyLeft ? r.left : r.top);
      RECT rc = LiveRect(h);
      return MakeInt(property == kPropertyLeft ? rc.left : rc.top);
    }
    case kPropertyWidth:
    case kPropertyHeight: {
      if (!h) return MakeInt(property == kPropertyWidth ? r.width : r.height);
      RECT rc;
      GetWindowRect(h, &rc);
      return MakeInt(property == kPropertyWidth ? rc.right - rc.left : rc.bottom - rc.top);
    }
    case kPropertyTag: return TextValueOf(r.tagText);
    case kPropertyVisible:
      return MakeBool(h ? (GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0
                        : (r.flags & kUnitVisible) != 0);
    case kPropertyDisabled:
      return MakeBool(h ? !IsWindowEnabled(h) : (r.flags & kUnitDisabled) != 0);
    case kPropertyCursor: return ByteSetValueOf(r.cursorData);
    default: return {0, 0, 0};
  }
}

void SetUnitProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t element,
                     uint32_t lo, uint32_t hi) {
  Target t = FindTarget(windowId, unitId);
  if (property >= kFirstOwnProperty) {
    UnitObject* u = LiveOrReport(t);
    const UnitKind* kind = u->kind;
    int32_t index = property - kFirstOwnProperty;
    bool recreate = WriteOwn(u, index, element, lo, hi);
    // The setting may have ended the control (a handler of its own event).
    UnitObject* still = LiveUnit(t.record());
    if (recreate && still == u && !(kind->state & kKindNeverRecreated) &&
        (kind->properties[index].flags & kPropertyRecreate))
      Recreate(t, u);
    return;
  }
  UnitRecord& r = t.record();
  HWND h = UnitHwnd(LiveUnit(r));
  if (h && !IsWindow(h)) h = nullptr;
  int32_t v = static_cast<int32_t>(lo);
  switch (property) {
    case kPropertyLeft:
    case kPropertyTop: {
      v = Clamp(v, -kCoordinateLimit, kCoordinateLimit);
      (property == kPropertyLeft ? r.left : r.top) = v;
      if (h) {
        RECT rc = LiveRect(h);
        int x = property == kPropertyLeft ? v : rc.left, y = property == kPropertyTop ? v : rc.top;
        SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(h, nullptr, TRUE);
      }
      break;
    }
    case kPropertyWidth:
    case kPropertyHeight: {
      v = Clamp(v, 0, kCoordinateLimit);
      (property == kPropertyWidth ? r.width : r.height) = v;
      if (h) {
        RECT rc;
        GetWindowRect(h, &rc);
        int cx = property == kPropertyWidth ? v : rc.right - rc.left;
        int cy = property == kPropertyHeight ? v : rc.bottom - rc.top;
        SetWindowPos(h, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    }
    case kPropertyTag: {
      r.tagText = TextBytesOf(lo, hi);
      break;
    }
    case kPropertyVisible: {
      r.flags = lo ? (r.flags | kUnitVisible) : (r.flags & ~kUnitVisible);
      if (!h) {
        RebuildMenuBar(LiveUnit(r));  // a menu item joins or leaves its menu
        break;
      }
      const UnitKind* kind = LiveUnit(r)->kind;
      if (!lo) ShowWindow(h, SW_HIDE);
      else if (t.index == 0) ShowWindow(h, SW_SHOW);
      else if (!(kind->state & kKindNonVisual)) ShowWindow(h, SW_SHOWNA);
      break;
    }
    case kPropertyDisabled:
      r.flags = lo ? (r.flags | kUnitDisabled) : (r.flags & ~kUnitDisabled);
      if (h) EnableWindow(h, lo ? FALSE : TRUE);
      else RefreshMenuItem(LiveUnit(r));  // a menu item greys out in its menu
      break;
    case kPropertyCursor: {
      r.cursorData = ByteSetBytesOf(lo, hi);
      uint32_t n = 0;
      if (r.cursorData.size() == 4) memcpy(&n, r.cursorData.data(), 4);
      n = SystemCursorOfPointer(n);
      r.cursor = n ? LoadCursorA(nullptr, MAKEINTRESOURCEA(n)) : nullptr;
      POINT p;
      GetCursorPos(&p);
      SetCursorPos(p.x, p.y);
      break;
    }
    default: break;
  }
}

namespace {
// The object a service names, when it is one of the tag's kind and has the
// property.
UnitObject* ObjectWith(uint32_t typeTag, UnitObject* unit, int32_t property) {
  const UnitKind* kind = KindOfTag(typeTag);
  if (!kind || !unit || unit->kind != kind) return nullptr;
  return OwnProperty(kind, property - kFirstOwnProperty) ? unit : nullptr;
}
}  // namespace

bool GetObjectProperty(uint32_t typeTag, UnitObject* unit, int32_t property, TaggedValue* out) {
  UnitObject* u = ObjectWith(typeTag, unit, property);
  if (!u || !out) return false;
  *out = ReadOwn(u, property - kFirstOwnProperty, kFontWhole);
  return true;
}

bool SetObjectProperty(uint32_t typeTag, UnitObject* unit, int32_t property,
                       const TaggedValue& value) {
  UnitObject* u = ObjectWith(typeTag, unit, property);
  if (!u) return false;
  WriteOwn(u, property - kFirstOwnProperty, kFontWhole, value.lo, value.hi);
  return true;
}

}  // namespace qx
