// The top-level window kind (class KVWindow): frame styles from the border
// style, centring, the close and destroy events, reflection of the
// controls' notifications to their kinds.
#include <string>

#include "runtime/RuntimeState.h"
#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/Events.h"
#include "ui/IconData.h"
#include "ui/Menus_win.h"
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
  MenuBar menuBar;  // installed by the load once the window exists
  HICON icons[2] = {};  // big and small, made from the stored icon; else null
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

// An icon of the stored icon file at the size the system uses for `metric`.
HICON StoredIcon(const std::string& file, int metric) {
  int size = GetSystemMetrics(metric);
  IconImage image;
  if (!PickIconImage(file, size, &image)) return nullptr;
  auto* bytes = reinterpret_cast<PBYTE>(const_cast<char*>(file.data())) + image.offset;
  return CreateIconFromResourceEx(bytes, image.size, TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
}

void FreeIcons(WindowObject* w) {
  for (HICON& icon : w->icons) {
    if (icon) DestroyIcon(icon);
    icon = nullptr;
  }
}

// The stored icon, else the program's icon group "DEFAULT_ICON".
void ApplyIcons(WindowObject* w) {
  HWND hwnd = UnitHwnd(&w->base);
  HICON old[2] = {w->icons[0], w->icons[1]};
  w->icons[0] = StoredIcon(w->s.icon, SM_CXICON);
  w->icons[1] = StoredIcon(w->s.icon, SM_CXSMICON);
  HICON fallback = LoadIconA(GetModuleHandleA(nullptr), "DEFAULT_ICON");
  HICON big = w->icons[0] ? w->icons[0] : w->icons[1] ? w->icons[1] : fallback;
  HICON small = w->icons[1] ? w->icons[1] : big;
  if (big || old[0]) SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (small || old[1]) SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  for (HICON icon : old)
    if (icon) DestroyIcon(icon);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  WindowObject* w = AsWindow(UnitOfWindow(hwnd));
  // A window of a stored class has our procedure only from its creation
  // on; what it does not handle goes to the class's own (CallOriginal).
  if (!w) return CallOriginal(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, w->background);
      return 1;
    }
    case WM_COMMAND:
      // From the menu or an accelerator: no control sent it.
      if (!lp && RunMenuCommand(w->menuBar, LOWORD(wp))) return 0;
      [[fallthrough]];
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
      if (CloseAllowed(w)) {
        // The windows a modal run disabled come back before this one goes,
        // so that the system hands the activation back to one of them.
        EndModalRun(w->base.windowId);
        DestroyWindow(hwnd);
      }
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
    case WM_NCDESTROY: {
      if (w->background) DeleteObject(w->background);
      // The window has destroyed its menu already.
      DestroyMenuBar(&w->menuBar, true);
      FreeIcons(w);
      delete w;
      return CallOriginal(hwnd, msg, wp, lp);
    }
  }
  return CallOriginal(hwnd, msg, wp, lp);
}

// KVWindow is ours and has our procedure. Any other class name is the
// program's: when it is not there yet it is registered as a plain class
// (DefWindowProcA, arrow cursor, no background brush), and our procedure
// is put in front of the class's once the window exists. A window left
// with DefWindowProcA alone would raise no event, reflect no control's
// notification to its kind and never report its end, so that the program
// would not even end when it is closed.
bool EnsureClass(const std::string& name) {
  WNDCLASSA existing;
  if (GetClassInfoA(GetModuleHandleA(nullptr), name.c_str(), &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = name == kDefaultClass ? WindowProc : DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = name.c_str();
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
  if (!EnsureClass(cls)) return nullptr;

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
  if (GetWindowLongPtrA(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(WindowProc))
    SubclassControl(hwnd, WindowProc);

  RECT rc;
  GetWindowRect(hwnd, &rc);
  if (rc.right - rc.left != a.width || rc.bottom - rc.top != a.height)
    SetWindowPos(hwnd, nullptr, 0, 0, a.width, a.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyIcons(w);
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
    case kWindowIcon: ApplyIcons(w); break;
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
    .visitTexts = VisitBlockTexts<kRows, ReadWindowSettings, WriteWindowSettings>,
};

}  // namespace

// The window's keyboard settings, for the message loop's key handling.
bool WindowEscCloses(UnitObject* u) { return AsWindow(u)->s.escCloses; }
bool WindowEnterMovesFocus(UnitObject* u) { return AsWindow(u)->s.enterMovesFocus; }
bool WindowF1Help(UnitObject* u, std::string* file, uint32_t* context) {
  const WindowSettings& s = AsWindow(u)->s;
  *file = s.helpFile;
  *context = s.helpContext;
  return s.f1Help;
}

void InstallMenuBar(UnitObject* u, MenuBar* bar) {
  WindowObject* w = AsWindow(u);
  DestroyMenuBar(&w->menuBar, true);
  w->menuBar = *bar;
  *bar = {};
}

MenuBar* WindowMenuBar(UnitObject* u) { return &AsWindow(u)->menuBar; }
HACCEL WindowAccelerators(UnitObject* u) { return AsWindow(u)->menuBar.accelerators; }

const UnitKind* WindowKind() {
  static const UnitKind kind = MakeUnitKind<kOperations>(
      "窗口", "window", kKindRaisesEvents | kKindNeverRecreated, kProperties);
  return &kind;
}

}  // namespace qx
