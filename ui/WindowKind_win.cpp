// The top-level window kind (class KVWindow): frame styles from the border
// style, centring, the close and destroy events, reflection of the
// controls' notifications to their kinds.
#include <string>

#include "runtime/RuntimeState.h"
#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/Events.h"
#include "ui/PropertyTable.h"
#include "ui/TypeBlocks.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx {
namespace {

const char kDefaultClass[] = "KVWindow";

struct WindowObject {
  UnitObject base;
  WindowSettings s;
  HBRUSH background = nullptr;
  HWND lastFocus = nullptr;
};

WindowObject* AsWindow(UnitObject* u) { return reinterpret_cast<WindowObject*>(u); }

void RaiseWindowEvent(WindowObject* w, int32_t event, bool* hasResult, uintptr_t* result) {
  RaiseSimpleEvent(w->base.windowId, 0, event, hasResult, result);
}

// A close request goes ahead unless a handler of event 12 or 1 answers false.
bool CloseAllowed(WindowObject* w) {
  for (int32_t event : {kEventQueryClose, kEventCloseRequest}) {
    bool has = false;
    uintptr_t result = 1;
    if (RaiseSimpleEvent(w->base.windowId, 0, event, &has, &result) && has && result == 0)
      return false;
  }
  return true;
}

HWND FirstTabStop(HWND window) {
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    LONG style = GetWindowLongA(c, GWL_STYLE);
    if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) return c;
  }
  return nullptr;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  WindowObject* w = AsWindow(UnitOfWindow(hwnd));
  if (!w) return DefWindowProcA(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, w->background);
      return 1;
    }
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Controls report to their parent; their own kind decides.
      UnitObject* child = lp ? UnitOfWindow(reinterpret_cast<HWND>(lp)) : nullptr;
      NotifyFn notify = OperationsOf(child ? child->kind : nullptr).notify;
      if (notify) {
        LRESULT r = notify(child, msg, wp, lp);
        if (r || msg == WM_COMMAND) return r;
      }
      if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
        SetBkColor(reinterpret_cast<HDC>(wp), ResolveColour(w->s.background));
        return reinterpret_cast<LRESULT>(w->background);
      }
      break;
    }
    case WM_SETCURSOR: {
      UnitObject* u = UnitOfWindow(reinterpret_cast<HWND>(wp));
      WindowTemplate* t = u ? FindWindowTemplate(u->windowId) : nullptr;
      UnitRecord* r = t ? FindUnitRecord(*t, u == &w->base ? 0 : u->unitId) : nullptr;
      if (r && r->cursor && LOWORD(lp) == HTCLIENT) {
        SetCursor(static_cast<HCURSOR>(r->cursor));
        return TRUE;
      }
      break;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(hwnd, f)) w->lastFocus = f;
      }
      break;
    case WM_SETFOCUS: {
      HWND target = w->lastFocus && IsWindow(w->lastFocus) && IsChild(hwnd, w->lastFocus)
                        ? w->lastFocus
                        : FirstTabStop(hwnd);
      if (target) SetFocus(target);
      return 0;
    }
    case WM_CLOSE:
      if (CloseAllowed(w)) DestroyWindow(hwnd);
      return 0;
    case WM_MOVE:
      RaiseWindowEvent(w, kEventMoved, nullptr, nullptr);
      break;
    case WM_SIZE:
      RaiseWindowEvent(w, kEventResized, nullptr, nullptr);
      break;
    case WM_DESTROY:
      RaiseWindowEvent(w, kEventDestroying, nullptr, nullptr);
      RemoveIdleCallback(hwnd);
      UnitGone(&w->base);
      return 0;
    case WM_NCDESTROY:
      RemovePropA(hwnd, "QxUnit");
      if (w->background) DeleteObject(w->background);
      delete w;
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool EnsureClass(const char* name) {
  WNDCLASSA existing;
  if (GetClassInfoA(GetModuleHandleA(nullptr), name, &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

bool Resizable(uint32_t border) { return border == 1 || border == 3 || border == 5; }

UnitObject* Create(const CreateArgs& a) {
  WindowSettings s;
  if (!ReadWindowSettings(*a.typeBlock, &s)) return nullptr;
  DWORD style = WS_CLIPCHILDREN | a.style;
  DWORD ex = 0;
  if (s.borderStyle != 0) {
    if (!s.title.empty() || s.controlBox) {
      style |= WS_CAPTION;
      if (s.controlBox) style |= WS_SYSMENU;
    }
    style |= WS_DLGFRAME;
  }
  if (Resizable(s.borderStyle)) style |= WS_THICKFRAME;
  if (s.borderStyle == 3 || s.borderStyle == 4) ex |= WS_EX_TOOLWINDOW;
  if (s.borderStyle == 5 || s.borderStyle == 6) ex |= WS_EX_CLIENTEDGE;
  if (s.maximizeBox) style |= WS_MAXIMIZEBOX;
  if (s.minimizeBox) style |= WS_MINIMIZEBOX;
  if (s.topmost) ex |= WS_EX_TOPMOST;

  int32_t left = a.left, top = a.top;
  if (s.positionMode == 1) {
    left = (GetSystemMetrics(SM_CXSCREEN) - a.width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - a.height) / 2;
  } else if (s.positionMode == 2) {
    style |= WS_MINIMIZE;
  } else if (s.positionMode == 3 && Resizable(s.borderStyle)) {
    style |= WS_MAXIMIZE;
  }

  HWND owner = static_cast<HWND>(a.parent);
  if (!owner && g_runtime.runMode != 0 && !s.inTaskBar) owner = HiddenOwner();
  // Without a frame an overlapped window would be given a caption anyway.
  if (owner || s.borderStyle == 0) style |= WS_POPUP;

  std::string cls = s.className.empty() ? kDefaultClass : s.className;
  if (!EnsureClass(cls.c_str())) return nullptr;

  WindowObject* w = new WindowObject;
  w->base = {nullptr, WindowKind(), a.windowId, a.unitId};
  w->s = s;
  w->background = CreateSolidBrush(ResolveColour(s.background));
  HWND hwnd = CreateWindowExA(ex, cls.c_str(), s.title.c_str(), style, left, top, a.width,
                              a.height, owner, static_cast<HMENU>(a.menu),
                              GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) {
    DeleteObject(w->background);
    delete w;
    return nullptr;
  }
  w->base.hwnd = hwnd;
  AttachUnit(hwnd, &w->base);

  RECT rc;
  GetWindowRect(hwnd, &rc);
  if (rc.right - rc.left != a.width || rc.bottom - rc.top != a.height)
    SetWindowPos(hwnd, nullptr, 0, 0, a.width, a.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), "DEFAULT_ICON");
  if (icon) {
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  if (!s.movable) DeleteMenu(GetSystemMenu(hwnd, FALSE), SC_MOVE, MF_BYCOMMAND);
  return &w->base;
}

using S = WindowSettings;
constexpr SettingsProperty<S> kRows[] = {
    {kWindowTitle, "标题", kValueText, &S::title},
    {kWindowBorder, "边框", kValueChoice, &S::borderStyle},
    {kWindowBackground, "背景颜色", kValueBackColour, &S::background},
    {kWindowPicture, "底图", kValuePicture, &S::picture},
    {kWindowPictureMode, "底图方式", kValueChoice, &S::pictureMode},
    {kWindowSound, "背景音乐", kValueSound, &S::sound},
    {kWindowSoundMode, "播放次数", kValueChoice, &S::soundMode},
    {kWindowControlBox, "控制按钮", kValueLogical, &S::controlBox},
    {kWindowMaximizeBox, "最大化按钮", kValueLogical, &S::maximizeBox},
    {kWindowMinimizeBox, "最小化按钮", kValueLogical, &S::minimizeBox},
    {kWindowPosition, "位置", kValueChoice, &S::positionMode},
    {kWindowMovable, "可否移动", kValueLogical, &S::movable},
    {kWindowIcon, "图标", kValueIcon, &S::icon},
    {kWindowEnterMovesFocus, "回车下移焦点", kValueLogical, &S::enterMovesFocus},
    {kWindowEscCloses, "Esc键关闭", kValueLogical, &S::escCloses},
    {kWindowF1Help, "F1键打开帮助", kValueLogical, &S::f1Help},
    {kWindowHelpFile, "帮助文件名", kValueText, &S::helpFile},
    {kWindowHelpContext, "帮助标志值", kValueInt, &S::helpContext},
    {kWindowInTaskBar, "在任务条中显示", kValueLogical, &S::inTaskBar},
    {kWindowDragByClient, "随意移动", kValueLogical, &S::dragByClient},
    {kWindowShape, "外形", kValueChoice, &S::option28},
    {kWindowTopmost, "总在最前", kValueLogical, &S::topmost},
    {kWindowKeepTitleActive, "保持标题条激活", kValueLogical, &S::option30},
    {kWindowClassName, "窗口类名", kValueText, &S::className},
};
static_assert(RowsInNumberOrder(kRows));
constexpr auto kProperties = PropertyInfos(kRows);

void GetProperty(UnitObject* u, int32_t index, RawProperty* out) {
  WindowObject* w = AsWindow(u);
  HWND h = UnitHwnd(u);
  switch (kFirstOwnProperty + index) {
    case kWindowTitle: w->s.title = WindowText(h); break;
    case kWindowPosition: out->i = IsIconic(h) ? 2 : IsZoomed(h) ? 3 : 0; return;
  }
  GetSetting(kRows, index, w->s, out);
}

bool SetProperty(UnitObject* u, int32_t index, const RawProperty& v) {
  WindowObject* w = AsWindow(u);
  HWND h = UnitHwnd(u);
  SetSetting(kRows, index, &w->s, v);
  switch (kFirstOwnProperty + index) {
    case kWindowTitle: SetWindowTextA(h, w->s.title.c_str()); break;
    case kWindowBackground:
      DeleteObject(w->background);
      w->background = CreateSolidBrush(ResolveColour(w->s.background));
      InvalidateRect(h, nullptr, TRUE);
      break;
    case kWindowTopmost:
      SetWindowPos(h, w->s.topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case kWindowPosition:
      ShowWindow(h, v.i == 2 ? SW_MINIMIZE : v.i == 3 ? SW_MAXIMIZE : SW_RESTORE);
      break;
    default: break;
  }
  return false;
}

std::string SettingsBlock(UnitObject* u) {
  WindowObject* w = AsWindow(u);
  w->s.title = WindowText(UnitHwnd(u));
  return WriteWindowSettings(w->s);
}

bool WantsKey(UnitObject*, uint32_t) { return false; }

constexpr UnitOperations kOperations = {
    .createControl = Create,
    .setTypeProperty = SetProperty,
    .settingsBlock = SettingsBlock,
    .getTypeProperty = GetProperty,
    .wantsKey = WantsKey,
};

}  // namespace

// The window's keyboard settings, for the message loop's key handling.
bool WindowEscCloses(UnitObject* u) { return AsWindow(u)->s.escCloses; }
bool WindowEnterMovesFocus(UnitObject* u) { return AsWindow(u)->s.enterMovesFocus; }

const UnitKind* WindowKind() {
  static const UnitKind kind = MakeUnitKind<kOperations>(
      "窗口", "window", kKindRaisesEvents | kKindNeverRecreated, kProperties);
  return &kind;
}

}  // namespace qx
