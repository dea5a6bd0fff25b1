#include "ui/HiddenUnit_win.h"

#include "ui/ControlSupport_win.h"
#include "ui/WindowRuntime_win.h"

namespace qx {
namespace {

constexpr char kEndProp[] = "QX_UnitEnd";

LRESULT CALLBACK HiddenUnitProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCDESTROY) {
    auto onEnd = reinterpret_cast<void (*)(UnitObject*)>(GetPropA(hwnd, kEndProp));
    RemovePropA(hwnd, kEndProp);
    if (UnitObject* u = UnitOfWindow(hwnd)) {
      ReportUnitDestroyed(u);
      if (onEnd) onEnd(u);
    }
  }
  return CallOriginal(hwnd, msg, wp, lp);
}

}  // namespace

bool CreateHiddenUnitWindow(const CreateArgs& a, UnitObject* unit, void (*onEnd)(UnitObject*),
                            const char* windowClass) {
  DWORD style = (a.style & ~WS_VISIBLE) | WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER;
  HWND h = CreateWindowExA(0, windowClass, "", style, a.left, a.top, a.width, a.height,
                           static_cast<HWND>(a.parent),
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(a.childId)),
                           GetModuleHandleA(nullptr), nullptr);
  if (!h) return false;
  unit->hwnd = h;
  AttachUnit(h, unit);
  SetPropA(h, kEndProp, reinterpret_cast<HANDLE>(onEnd));
  SubclassControl(h, HiddenUnitProc);
  return true;
}

UnitObject* CommandUnit(const TaggedValue* argument, const UnitKind* kind) {
  UnitObject* u = FindLiveUnitOrReport(argument->lo, argument->hi);
  return u && u->kind == kind ? u : nullptr;
}

}  // namespace qx
