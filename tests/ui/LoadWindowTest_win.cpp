// Loading windows from descriptions: what gets created, in which order,
// with which styles, and what the load does with events.
#include "WindowTestSupport.h"

#include <algorithm>

#include "runtime/RuntimeService.h"
#include "ui/ByteWriter.h"
#include "ui/CoreKinds_win.h"
#include "ui/Properties.h"
#include "ui/WindowKind.h"

namespace qx {
namespace {

using namespace test;

// A kind of our own, without a window, that moves the focus to the second
// button when its window is shown, noting where the focus was.
HWND g_focusBeforeShown;
extern const UnitKind kGrabberKind;
constexpr UnitOperations kGrabberOperations = {
    .createControl = [](const CreateArgs& a) {
      return new UnitObject{nullptr, &kGrabberKind, a.windowId, a.unitId};
    },
    .notify = [](UnitObject*, uint32_t code, uintptr_t, intptr_t) -> intptr_t {
      if (code == kNotifyWindowShown) {
        g_focusBeforeShown = GetFocus();
        SetFocus(Hwnd(kButton2));
      }
      return 0;
    },
};
const UnitKind kGrabberKind = {"抢焦点", "Grabber", 0, nullptr, 0,
                               NumberedInterface<kGrabberOperations>, &kGrabberOperations};
const UnitKind* const kGrabberKinds[] = {&kGrabberKind};
const TypeTable kGrabberTypes = {1, kGrabberKinds};
const LibraryRecord kGrabberLibrary = {"抢焦点库", &kGrabberTypes, nullptr};

class LoadWindowTest : public ::testing::Test {
 protected:
  void TearDown() override { StopRuntime(); }
  WindowTemplate* Load(std::vector<WindowTemplate> windows = {SmallWindow()}) {
    EXPECT_TRUE(StartWithWindow(windows));
    return FindWindowTemplate(windows[0].id);
  }
};

TEST_F(LoadWindowTest, CreatesTheWindowAndItsControlsWithTheirClassesAndIdentifiers) {
  Load();
  HWND window = Hwnd(0);
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ("KVWindow", ClassOf(window));
  char title[64];
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ("测试窗口", title);
  EXPECT_EQ("_QX_Label", ClassOf(Hwnd(kLabel)));
  EXPECT_EQ("Button", ClassOf(Hwnd(kButton)));
  EXPECT_EQ("Edit", ClassOf(Hwnd(kEdit)));
  // Created from the last record back: 100 for the last, 10 more each.
  EXPECT_EQ(100, GetDlgCtrlID(Hwnd(kButton2)));
  EXPECT_EQ(110, GetDlgCtrlID(Hwnd(kBody)));
  EXPECT_EQ(120, GetDlgCtrlID(Hwnd(kEdit)));
  EXPECT_EQ(130, GetDlgCtrlID(Hwnd(kButton)));
  EXPECT_EQ(140, GetDlgCtrlID(Hwnd(kLabel)));
  for (uint32_t id : {kLabel, kButton, kEdit, kBody, kButton2}) {
    EXPECT_EQ(window, GetParent(Hwnd(id)));
    EXPECT_TRUE(IsWindowVisible(Hwnd(id)));
  }
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(LoadWindowTest, StacksControlsInRecordOrderWithTheFirstOnTop) {
  Load();
  std::vector<HWND> order;
  for (HWND c = GetWindow(Hwnd(0), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) order.push_back(c);
  std::vector<HWND> expected = {Hwnd(kLabel), Hwnd(kButton), Hwnd(kEdit), Hwnd(kBody), Hwnd(kButton2)};
  EXPECT_EQ(expected, order);
}

TEST_F(LoadWindowTest, ControlsSitAtTheirStoredRectanglesInTheClientArea) {
  Load();
  RECT rc;
  GetWindowRect(Hwnd(kButton), &rc);
  MapWindowPoints(nullptr, Hwnd(0), reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_EQ(10, rc.left);
  EXPECT_EQ(40, rc.top);
  EXPECT_EQ(80, rc.right - rc.left);
  EXPECT_EQ(28, rc.bottom - rc.top);
  // The window's own geometry is its outer size.
  GetWindowRect(Hwnd(0), &rc);
  EXPECT_EQ(400, rc.right - rc.left);
  EXPECT_EQ(300, rc.bottom - rc.top);
}

TEST_F(LoadWindowTest, BorderStyleTwoGivesAFixedCaptionedFrameCentredOnTheScreen) {
  Load();
  HWND window = Hwnd(0);
  LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_EQ(WS_CAPTION, style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  RECT rc;
  GetWindowRect(window, &rc);
  EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 400) / 2, rc.left);
  EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 300) / 2, rc.top);
}

TEST_F(LoadWindowTest, ControlStylesFollowTheirSettings) {
  Load();
  LONG edit = GetWindowLongA(Hwnd(kEdit), GWL_STYLE);
  EXPECT_TRUE(edit & WS_TABSTOP);
  EXPECT_TRUE(edit & ES_AUTOHSCROLL);
  EXPECT_FALSE(edit & ES_MULTILINE);
  EXPECT_TRUE(GetWindowLongA(Hwnd(kEdit), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  LONG body = GetWindowLongA(Hwnd(kBody), GWL_STYLE);
  EXPECT_TRUE(body & ES_MULTILINE);
  EXPECT_TRUE(body & ES_WANTRETURN);
  EXPECT_TRUE(body & WS_VSCROLL);
  // Vertical scroll bar only: lines wrap.
  EXPECT_FALSE(body & ES_AUTOHSCROLL);
  EXPECT_FALSE(body & WS_HSCROLL);
  LONG button = GetWindowLongA(Hwnd(kButton), GWL_STYLE);
  EXPECT_TRUE(button & BS_MULTILINE);
  EXPECT_EQ(BS_CENTER, button & BS_CENTER);
  EXPECT_EQ(BS_VCENTER, button & BS_VCENTER);
  EXPECT_FALSE(GetWindowLongA(Hwnd(kLabel), GWL_STYLE) & WS_TABSTOP);
  char text[32];
  GetWindowTextA(Hwnd(kEdit), text, sizeof text);
  EXPECT_STREQ("初始", text);
}

TEST_F(LoadWindowTest, FontsComeFromStoredLogfontsOrTheDefaultGuiFont) {
  WindowTemplate w = SmallWindow();
  LabelSettings big;
  big.caption = "大字";
  big.wordWrap = true;
  big.font = MakeStoredFont(-16, 400, 134, "");
  w.records[1].typeBlock = WriteLabelSettings(big);
  Load({w});
  LOGFONTA lf;
  HFONT labelFont = reinterpret_cast<HFONT>(SendMessageA(Hwnd(kLabel), WM_GETFONT, 0, 0));
  ASSERT_TRUE(GetObjectA(labelFont, sizeof lf, &lf));
  EXPECT_EQ(-16, lf.lfHeight);
  EXPECT_EQ(400, lf.lfWeight);
  EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT),
            reinterpret_cast<HGDIOBJ>(SendMessageA(Hwnd(kButton), WM_GETFONT, 0, 0)));
  EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT),
            reinterpret_cast<HGDIOBJ>(SendMessageA(Hwnd(kEdit), WM_GETFONT, 0, 0)));
}

TEST_F(LoadWindowTest, ALowSingleLineBoxGrowsToOneLineOfText) {
  WindowTemplate w = SmallWindow();
  w.records[3].height = 4;
  Load({w});
  RECT rc;
  GetWindowRect(Hwnd(kEdit), &rc);
  EXPECT_GT(rc.bottom - rc.top, 4);
  EXPECT_EQ(150, rc.right - rc.left);
}

TEST_F(LoadWindowTest, NoHandlerRunsWhileBuildingAndTheCreatedEventSeesEveryControl) {
  WindowTemplate w = SmallWindow();
  // Window: created 0, moved 3, resized 4 all bound; the edit box's
  // content-changed event too, though its text is set during creation.
  w.records[0].bindings = {Bind(0, 0), Bind(3, 4), Bind(4, 5), Bind(2, 2)};
  static bool allThere;
  allThere = false;
  JobOf(0) = [](TaggedValue*, int32_t, const uintptr_t*) {
    allThere = true;
    for (uint32_t id : {kLabel, kButton, kEdit, kBody, kButton2}) allThere &= Hwnd(id) != nullptr;
  };
  Load({w});
  ASSERT_GE(EventLog().size(), 3u);
  EXPECT_EQ((std::vector<std::string>{"h0", "h4", "h5"}),
            std::vector<std::string>(EventLog().begin(), EventLog().begin() + 3));
  EXPECT_TRUE(allThere);
  for (const std::string& e : EventLog()) EXPECT_NE("h3", e);  // no content change
}

TEST_F(LoadWindowTest, LoadingAgainActivatesTheWindowThatIsThere) {
  WindowTemplate* w = Load();
  HWND first = Hwnd(0);
  EXPECT_TRUE(LoadWindow(w, false, false, nullptr));
  EXPECT_EQ(first, Hwnd(0));
  int windows = 0;
  for (HWND h = FindWindowExA(nullptr, nullptr, "KVWindow", nullptr); h;
       h = FindWindowExA(nullptr, h, "KVWindow", nullptr))
    windows += IsWindowVisible(h) ? 1 : 0;
  EXPECT_EQ(1, windows);
}

TEST_F(LoadWindowTest, AnUnknownKindOrANewerTypeBlockFailsTheLoadAndLeavesNothing) {
  WindowTemplate unknown = SmallWindow();
  unknown.records[2].typeTag = 0x00010063;
  WindowTemplate newer = SmallWindow();
  newer.id = 0x52010002;
  ButtonSettings b;
  b.version = 2;
  newer.records[2].typeBlock = WriteButtonSettings(b);
  WindowTemplate missingLibrary = SmallWindow();
  missingLibrary.id = 0x52010003;
  missingLibrary.records[1].typeTag = kTagDropTarget;  // a library the program does not carry
  StartRuntime({unknown, newer, missingLibrary});
  for (uint32_t id : {0x52010001u, 0x52010002u, 0x52010003u}) {
    WindowTemplate* w = FindWindowTemplate(id);
    EXPECT_FALSE(LoadWindow(w, false, false, nullptr)) << std::hex << id;
    EXPECT_FALSE(WindowIsAlive(*w));
    for (const UnitRecord& r : w->records) EXPECT_EQ(nullptr, r.live);
  }
  EXPECT_EQ(0, g_runtime.eventsSuspended);
  EXPECT_TRUE(EventLog().empty());
}

TEST_F(LoadWindowTest, AControlThatTakesTheFocusAsTheWindowShowsGivesItBack) {
  constexpr uint32_t kGrabber = 0x16010020;
  WindowTemplate w = SmallWindow();
  w.records.push_back(Record(kGrabber, MakeUnitTag(2, 1), 0, 0, 0, 0, 0, ""));
  g_focusBeforeShown = nullptr;
  StartRuntime({w}, {&kGrabberLibrary});
  ASSERT_TRUE(LoadWindow(FindWindowTemplate(kTestWindow), false, false, nullptr));
  ASSERT_NE(nullptr, g_focusBeforeShown);
  EXPECT_NE(Hwnd(kButton2), g_focusBeforeShown);
  EXPECT_EQ(g_focusBeforeShown, GetFocus());
}

TEST_F(LoadWindowTest, AnOwnerThatIsNotAWindowFailsTheLoad) {
  StartRuntime({SmallWindow()});
  EXPECT_FALSE(LoadWindow(FindWindowTemplate(kTestWindow), false, false,
                          reinterpret_cast<HWND>(0x123456)));
  EXPECT_EQ(nullptr, Hwnd(0));
}

TEST_F(LoadWindowTest, TheHiddenOwnerKeepsAWindowOutOfTheTaskBarWhenTheRunModeAsks) {
  WindowTemplate w = SmallWindow();
  WindowSettings s;
  s.title = "无任务条";
  s.inTaskBar = false;
  w.records[0].typeBlock = WriteWindowSettings(s);
  uint32_t oldMode = g_runtime.runMode;
  g_runtime.runMode = 3;
  Load({w});
  g_runtime.runMode = oldMode;
  EXPECT_EQ(HiddenOwner(), GetWindow(Hwnd(0), GW_OWNER));
  char cls[32];
  GetClassNameA(HiddenOwner(), cls, sizeof cls);
  EXPECT_STREQ("_QX_HideOwner", cls);
  EXPECT_TRUE(GetWindowLongA(HiddenOwner(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

TEST_F(LoadWindowTest, ClosingRestoresTheStoredSettingsForTheNextLoad) {
  WindowTemplate* w = Load();
  SetUnitProperty(kTestWindow, kButton, kPropertyLeft, -1, 222, 0);
  RECT rc;
  GetWindowRect(Hwnd(kButton), &rc);
  MapWindowPoints(nullptr, Hwnd(0), reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_EQ(222, rc.left);
  SendMessageA(Hwnd(0), WM_CLOSE, 0, 0);
  EXPECT_FALSE(WindowIsAlive(*w));
  for (const UnitRecord& r : w->records) EXPECT_EQ(nullptr, r.live);
  EXPECT_EQ(10, FindUnitRecord(*w, kButton)->left);
  EXPECT_EQ((std::vector<std::string>{"h0", "h2"}), EventLog());
  ASSERT_TRUE(LoadWindow(w, false, false, nullptr));
  GetWindowRect(Hwnd(kButton), &rc);
  MapWindowPoints(nullptr, Hwnd(0), reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_EQ(10, rc.left);
}

// A library may report a window's end more than once, or for a window that
// never came up; the stored records must survive either.
TEST_F(LoadWindowTest, AReportedEndOfAWindowThatIsNotThereLeavesItsRecordsAlone) {
  StartRuntime({SmallWindow()});
  RuntimeService(kRequestUnitDestroyed, kTestWindow, 0);
  WindowTemplate* w = FindWindowTemplate(kTestWindow);
  ASSERT_EQ(6u, w->records.size());
  ASSERT_TRUE(LoadWindow(w, false, false, nullptr));
  SendMessageA(Hwnd(0), WM_CLOSE, 0, 0);
  RuntimeService(kRequestUnitDestroyed, kTestWindow, 0);
  ASSERT_EQ(6u, w->records.size());
  EXPECT_EQ(kButton, w->records[2].id);
  ASSERT_TRUE(LoadWindow(w, false, false, nullptr));
  EXPECT_NE(nullptr, Hwnd(kButton));
}

TEST_F(LoadWindowTest, TheFixedFrameMovesAndMinimisesButIsNotSizedFromItsEdges) {
  WindowTemplate w = SmallWindow();
  w.records[0].bindings = {Bind(3, 4)};
  Load({w});
  HWND window = Hwnd(0);
  EXPECT_NE(-1, static_cast<int>(GetMenuState(GetSystemMenu(window, FALSE), SC_MOVE, MF_BYCOMMAND)));
  RECT rc;
  GetWindowRect(window, &rc);
  LRESULT edge = SendMessageA(window, WM_NCHITTEST, 0,
                              MAKELPARAM(rc.right - 1, (rc.top + rc.bottom) / 2));
  EXPECT_NE(HTRIGHT, edge);
  LRESULT corner = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(rc.right - 1, rc.bottom - 1));
  EXPECT_NE(HTBOTTOMRIGHT, corner);

  EventLog().clear();
  SetWindowPos(window, nullptr, rc.left + 30, rc.top + 20, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(1, std::count(EventLog().begin(), EventLog().end(), "h4"));
  EXPECT_EQ(rc.left + 30, static_cast<int32_t>(GetUnitProperty(kTestWindow, 0, kPropertyLeft, -1).lo));

  SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(window));
  EXPECT_EQ(2u, GetUnitProperty(kTestWindow, 0, kWindowPosition, -1).lo);
  // Loading the window again brings it back rather than making another.
  EXPECT_TRUE(LoadWindow(FindWindowTemplate(kTestWindow), false, false, nullptr));
  EXPECT_EQ(window, Hwnd(0));
  EXPECT_FALSE(IsIconic(window));
  EXPECT_EQ(0u, GetUnitProperty(kTestWindow, 0, kWindowPosition, -1).lo);
}

TEST_F(LoadWindowTest, AWindowThatIsNotMovableLosesMoveFromItsSystemMenu) {
  WindowTemplate w = SmallWindow();
  WindowSettings s;
  s.title = "不可移动";
  s.movable = false;
  w.records[0].typeBlock = WriteWindowSettings(s);
  Load({w});
  EXPECT_EQ(-1, static_cast<int>(GetMenuState(GetSystemMenu(Hwnd(0), FALSE), SC_MOVE, MF_BYCOMMAND)));
}

// Three of the converter's edit boxes store nothing but rely on these.
TEST_F(LoadWindowTest, EmptyTypeBlocksGiveControlsWithTheirKindsDefaults) {
  WindowTemplate w = SmallWindow();
  w.records[1].typeBlock.clear();
  w.records[2].typeBlock.clear();
  w.records[3].typeBlock.clear();
  Load({w});
  char text[32];
  GetWindowTextA(Hwnd(kLabel), text, sizeof text);
  EXPECT_STREQ("标签", text);
  GetWindowTextA(Hwnd(kButton), text, sizeof text);
  EXPECT_STREQ("按钮", text);
  LONG button = GetWindowLongA(Hwnd(kButton), GWL_STYLE);
  EXPECT_EQ(BS_PUSHBUTTON, button & 0x0F);
  HWND edit = Hwnd(kEdit);
  EXPECT_EQ(0, GetWindowTextLengthA(edit));
  LONG style = GetWindowLongA(edit, GWL_STYLE);
  EXPECT_FALSE(style & (ES_MULTILINE | ES_NOHIDESEL | ES_READONLY | ES_PASSWORD | ES_CENTER |
                        ES_RIGHT | ES_UPPERCASE | ES_LOWERCASE));
  EXPECT_TRUE(style & ES_AUTOHSCROLL);
  EXPECT_TRUE(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(nullptr, FindWindowExA(Hwnd(0), nullptr, "msctls_updown32", nullptr));
  // Black on white.
  HDC dc = GetDC(edit);
  HBRUSH brush = reinterpret_cast<HBRUSH>(
      SendMessageA(Hwnd(0), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(edit)));
  LOGBRUSH lb;
  ASSERT_TRUE(GetObjectA(brush, sizeof lb, &lb));
  EXPECT_EQ(RGB(255, 255, 255), lb.lbColor);
  EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
  ReleaseDC(edit, dc);
  // No length limit beyond the system's.
  EXPECT_GE(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

// An icon file of a 32 and a 16 pixel image, 32-bit, transparent.
std::string IconFile() {
  std::string images[2];
  ByteWriter f;
  f.U16(0);
  f.U16(1);
  f.U16(2);
  uint32_t offset = 6 + 2 * 16;
  for (int i = 0, size = 32; i < 2; ++i, size /= 2) {
    ByteWriter b;
    for (uint32_t w : {40u, uint32_t(size), 2u * size, 0x200001u, 0u, 0u, 0u, 0u, 0u, 0u}) b.U32(w);
    b.Raw(std::string(size * size * 4 + size * 4, '\0'));  // colours, then the mask rows
    images[i] = b.bytes;
    f.Raw(std::string{static_cast<char>(size), static_cast<char>(size), 0, 0});
    f.U16(1);
    f.U16(32);
    f.U32(static_cast<uint32_t>(images[i].size()));
    f.U32(offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  return f.bytes + images[0] + images[1];
}

int IconWidth(HWND window, WPARAM which) {
  ICONINFO info;
  HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, which, 0));
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP bm;
  GetObjectA(info.hbmColor, sizeof bm, &bm);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bm.bmWidth;
}

TEST_F(LoadWindowTest, TheStoredIconGivesTheWindowItsBigAndSmallIcon) {
  WindowTemplate w = SmallWindow();
  WindowSettings s;
  s.title = "图标";
  s.icon = IconFile();
  w.records[0].typeBlock = WriteWindowSettings(s);
  Load({w});
  EXPECT_EQ(GetSystemMetrics(SM_CXICON), IconWidth(Hwnd(0), ICON_BIG));
  EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), IconWidth(Hwnd(0), ICON_SMALL));
  // Written empty at run time it goes at once: this test program has no
  // DEFAULT_ICON to fall back on.
  SetUnitProperty(kTestWindow, 0, kWindowIcon, -1, 0, 0);
  EXPECT_EQ(0, IconWidth(Hwnd(0), ICON_BIG));
}

// Registered as a plain class would be, and still a window of the runtime:
// its controls' clicks reach their handlers and its end is reported.
TEST_F(LoadWindowTest, AStoredClassNameIsRegisteredPlainAndTheWindowStillWorks) {
  WindowTemplate w = SmallWindow();
  WindowSettings s;
  s.title = "自有窗口类";
  s.className = "QxPlainFrame";
  w.records[0].typeBlock = WriteWindowSettings(s);
  WindowTemplate* t = Load({w});
  EXPECT_EQ("QxPlainFrame", ClassOf(Hwnd(0)));
  WNDCLASSA wc;
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "QxPlainFrame", &wc));
  EXPECT_EQ(static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS), wc.style);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(DefWindowProcA), wc.lpfnWndProc);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), wc.hCursor);
  EXPECT_EQ(nullptr, wc.hbrBackground);

  EventLog().clear();
  SendMessageA(Hwnd(kButton), BM_CLICK, 0, 0);
  SendMessageA(Hwnd(0), WM_CLOSE, 0, 0);
  EXPECT_EQ((std::vector<std::string>{"h1", "h2"}), EventLog());
  EXPECT_FALSE(WindowIsAlive(*t));
  // Loaded again, the class is there already.
  ASSERT_TRUE(LoadWindow(t, false, false, nullptr));
  EXPECT_EQ("QxPlainFrame", ClassOf(Hwnd(0)));
}

// Operation 9, the translation hook: every text of a block, and no more.
TEST_F(LoadWindowTest, OperationNineVisitsEveryTextOfATypeBlock) {
  static std::vector<std::string> seen;
  TextVisitorFn mark = [](std::string* text, void*) {
    seen.push_back(*text);
    if (!text->empty()) *text += "!";
  };
  auto visit = [](const UnitKind* kind) {
    return reinterpret_cast<VisitTextsFn>(kind->operationByNumber(kOpVisitTexts));
  };
  WindowSettings ws;
  ws.title = "标题";
  ws.helpFile = "帮助";
  std::string block = WriteWindowSettings(ws);
  seen.clear();
  ASSERT_TRUE(visit(WindowKind())(&block, mark, nullptr));
  EXPECT_EQ((std::vector<std::string>{"标题", "帮助", ""}), seen);  // the class name too
  ASSERT_TRUE(ReadWindowSettings(block, &ws));
  EXPECT_EQ("标题!", ws.title);
  EXPECT_EQ("帮助!", ws.helpFile);
  EXPECT_EQ(2u, ws.borderStyle);

  // An empty block is the kind's defaults, and stays empty when nothing changes.
  block.clear();
  seen.clear();
  ASSERT_TRUE(visit(ButtonKind())(&block, [](std::string* t, void*) { seen.push_back(*t); }, nullptr));
  EXPECT_EQ((std::vector<std::string>{"按钮"}), seen);
  EXPECT_TRUE(block.empty());
  ASSERT_TRUE(visit(LabelKind())(&block, mark, nullptr));
  LabelSettings ls;
  ASSERT_TRUE(ReadLabelSettings(block, &ls));
  EXPECT_EQ("标签!", ls.caption);
  // A block it cannot read is left alone.
  block = std::string("\x09\0\0\0", 4);  // version 9
  EXPECT_FALSE(visit(LabelKind())(&block, mark, nullptr));
  EXPECT_EQ(std::string("\x09\0\0\0", 4), block);
}

}  // namespace
}  // namespace qx
