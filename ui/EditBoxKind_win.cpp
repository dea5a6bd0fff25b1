// The edit box kind: the system EDIT control with the stored settings as
// styles, its content property, and its change and focus events.
#include <windows.h>

#include <commctrl.h>

#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/encoding/Wide_win.h"
#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/EditWordBreak_win.h"
#include "ui/Events.h"
#include "ui/ParagraphPieces.h"
#include "ui/PropertyTable.h"
#include "ui/TypeBlocks.h"
#include "ui/WindowRuntime_win.h"

namespace qx {
namespace {

struct EditBox {
  UnitObject base;
  EditBoxSettings s;
  HFONT font = nullptr;
  HBRUSH brush = nullptr;
  HWND spin = nullptr;
  bool updating = false;  // our own text changes raise no event of their own
  bool feeding = false;   // a text going in piece by piece: its pieces report nothing
};

EditBox* AsEdit(UnitObject* u) { return reinterpret_cast<EditBox*>(u); }

DWORD StyleOf(const EditBoxSettings& s, DWORD* ex) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (!s.hideSelection) style |= ES_NOHIDESEL;
  if (s.multiLine) {
    style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    // Lines wrap at the right edge unless there is a horizontal scroll bar.
    if (s.scrollBars == 1 || s.scrollBars == 3) style |= ES_AUTOHSCROLL;
    if (s.scrollBars == 1 || s.scrollBars == 3) style |= WS_HSCROLL;
    if (s.scrollBars == 2 || s.scrollBars == 3) style |= WS_VSCROLL;
  } else {
    style |= ES_AUTOHSCROLL;
  }
  if (s.alignment == 1) style |= ES_CENTER;
  if (s.alignment == 2) style |= ES_RIGHT;
  if (s.inputMode == 1) style |= ES_READONLY;
  if (s.inputMode == 2) style |= ES_PASSWORD;
  if (s.caseConversion == 1) style |= ES_LOWERCASE;
  if (s.caseConversion == 2) style |= ES_UPPERCASE;
  *ex = 0;
  BorderStyleBits(s.borderStyle, &style, ex);
  return style;
}

// A multi-line box without ES_AUTOHSCROLL wraps its lines at the right edge.
bool Wraps(DWORD style) { return (style & ES_MULTILINE) && !(style & ES_AUTOHSCROLL); }
bool Wraps(HWND h) { return Wraps(static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE))); }

bool IsLeadByte(unsigned char b) { return IsDBCSLeadByte(b) != 0; }

// Wine's edit box ignores WM_SETREDRAW (its source leaves it to a FIXME), so
// there every piece of a text would repaint the box's themed scroll bar at
// once, some 15 ms a time. The system's own handling keeps the box from
// painting until the whole text is in; then it is painted once.
bool HoldPainting(HWND h) {
  if (!(GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE)) return false;
  DefWindowProcA(h, WM_SETREDRAW, FALSE, 0);
  return true;
}

void ReleasePainting(HWND h, bool held) {
  if (!held) return;
  DefWindowProcA(h, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// Wine's edit box measures each wrapped line together with the rest of its
// paragraph, and on a paragraph of digits and colons alone that measure
// takes time in the square of the length: a line of row prefixes tens of
// kilobytes long took minutes. Appended piece by piece, such a paragraph is
// laid out again only from its last lines each time. The box is left as one
// WM_SETTEXT (`whole`) or one EM_REPLACESEL would leave it: the same text,
// selection, undo and modified state; the caller reports the change.
void Feed(EditBox* e, HWND h, std::string_view text, bool whole, WPARAM canUndo) {
  std::vector<size_t> ends = ParagraphPieceEnds(text, kParagraphPieceBytes, IsLeadByte);
  bool held = HoldPainting(h);
  e->feeding = true;
  LRESULT limit = 0;
  if (whole) {  // WM_SETTEXT does not stop at the box's limit; its pieces must not either
    limit = CallOriginal(h, EM_GETLIMITTEXT, 0, 0);
    CallOriginal(h, EM_SETLIMITTEXT, 0, 0);
  }
  std::string piece;
  size_t from = 0;
  for (size_t end : ends) {
    piece.assign(text.substr(from, end - from));
    if (whole && from == 0) {
      CallOriginal(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(piece.c_str()));
      CallOriginal(h, EM_SETSEL, INT_MAX, INT_MAX);
    } else {
      CallOriginal(h, EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(piece.c_str()));
    }
    from = end;
  }
  if (whole) {
    CallOriginal(h, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
    CallOriginal(h, EM_EMPTYUNDOBUFFER, 0, 0);
    CallOriginal(h, EM_SETMODIFY, FALSE, 0);
    CallOriginal(h, EM_SETSEL, 0, 0);
    CallOriginal(h, EM_SCROLLCARET, 0, 0);
  }
  e->feeding = false;
  ReleasePainting(h, held);
}

// A text with a long paragraph goes into a wrapping box in pieces.
bool FedInPieces(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_SETTEXT && msg != EM_REPLACESEL) return false;
  EditBox* e = AsEdit(UnitOfWindow(hwnd));
  const char* text = reinterpret_cast<const char*>(lp);
  if (!e || e->feeding || !text || !Wraps(hwnd) || !HasLongParagraph(text, kLongParagraphBytes))
    return false;
  Feed(e, hwnd, text, msg == WM_SETTEXT, wp);
  // A multi-line box reports no change for WM_SETTEXT, and one for a
  // replacement, whatever its length.
  if (msg == EM_REPLACESEL)
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), EN_CHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
  return true;
}

void ApplyFont(EditBox* e) {
  HWND h = UnitHwnd(&e->base);
  HFONT old = e->font;
  e->font = CreateStoredFont(e->s.font);
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(e->font)), TRUE);
  if (old) DeleteObject(old);
}

// A single-line box lower than one ideograph of its font plus the edges
// would clip its text: it is made that high.
void GrowToOneLine(EditBox* e) {
  if (e->s.multiLine) return;
  HWND h = UnitHwnd(&e->base);
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, FontOrDefault(e->font));
  SIZE size = {};
  GetTextExtentPoint32A(dc, "\xD2\xBB", 2, &size);  // 一
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  int need = size.cy + 2 * GetSystemMetrics(SM_CYEDGE);
  RECT rc;
  GetWindowRect(h, &rc);
  if (rc.bottom - rc.top < need)
    SetWindowPos(h, nullptr, 0, 0, rc.right - rc.left, need,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ApplySelection(EditBox* e) {
  HWND h = UnitHwnd(&e->base);
  int32_t length = GetWindowTextLengthA(h);
  int32_t start = e->s.selStart < 0 || e->s.selStart > length ? length : e->s.selStart;
  int32_t end = start + e->s.selLength;
  if (e->s.selLength < 0) {  // the whole text
    start = 0;
    end = length;
  }
  if (end > length) end = length;
  SendMessageA(h, EM_SETSEL, start, end);
  SendMessageA(h, EM_SCROLLCARET, 0, 0);
}

void RemakeBrush(EditBox* e) {
  if (e->brush) DeleteObject(e->brush);
  e->brush = CreateSolidBrush(ResolveColour(e->s.background));
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (FedInPieces(hwnd, msg, wp, lp)) return TRUE;
  if (msg == WM_NCDESTROY) {
    EditBox* e = AsEdit(UnitOfWindow(hwnd));
    if (e) {
      ReportUnitDestroyed(&e->base);
      if (e->font) DeleteObject(e->font);
      if (e->brush) DeleteObject(e->brush);
      delete e;
    }
  }
  return CallOriginal(hwnd, msg, wp, lp);
}

UnitObject* Create(const CreateArgs& a) {
  EditBoxSettings s;
  if (!ReadEditBoxSettings(*a.typeBlock, &s)) return nullptr;
  DWORD ex;
  DWORD style = StyleOf(s, &ex) | a.style;
  // A wrapping box takes its content after its font and word breaks: either
  // given later would lay the whole content out again.
  const bool wraps = Wraps(style);
  HWND h = CreateWindowExA(ex, "EDIT", wraps ? "" : s.content.c_str(), style, a.left, a.top, a.width,
                           a.height, static_cast<HWND>(a.parent),
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(a.childId)),
                           GetModuleHandleA(nullptr), nullptr);
  if (!h) return nullptr;
  EditBox* e = new EditBox;
  e->base = {h, EditBoxKind(), a.windowId, a.unitId};
  e->s = s;
  AttachUnit(h, &e->base);
  SubclassControl(h, EditProc);
  ApplyFont(e);
  GrowToOneLine(e);
  if (wraps) {
    UseRowPrefixBreaks(h);
    if (!s.content.empty()) SendMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.content.c_str()));
  }
  SendMessageA(h, EM_LIMITTEXT, s.maxLength > 0 ? s.maxLength : 0, 0);
  if (s.inputMode == 2) SendMessageA(h, EM_SETPASSWORDCHAR, s.passwordChar & 0xFF, 0);
  if (!s.multiLine && s.spinStyle != 0) {
    e->spin = CreateWindowExA(0, UPDOWN_CLASSA, "",
                              WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT |
                                  UDS_ARROWKEYS,
                              0, 0, 0, 0, static_cast<HWND>(a.parent), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (e->spin) {
      SendMessageA(e->spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(h), 0);
      SendMessageA(e->spin, UDM_SETRANGE32, s.spinMin, s.spinMax);
    }
  }
  ApplySelection(e);
  RemakeBrush(e);
  return &e->base;
}

// Writes the content: the box shows it, and the change is reported once.
void SetContent(EditBox* e, const std::string& text) {
  e->s.content = text;
  e->updating = true;
  SetWindowTextA(UnitHwnd(&e->base), text.c_str());
  e->updating = false;
  RaiseSimpleEvent(e->base.windowId, e->base.unitId, kEventContentChanged);
}

intptr_t Notify(UnitObject* u, uint32_t msg, uintptr_t wp, intptr_t lp) {
  EditBox* e = AsEdit(u);
  if (msg == WM_COMMAND) {
    switch (HIWORD(wp)) {
      case EN_CHANGE:
        if (!e->updating && !e->feeding) RaiseSimpleEvent(u->windowId, u->unitId, kEventContentChanged);
        break;
      case EN_SETFOCUS: RaiseSimpleEvent(u->windowId, u->unitId, kEventGotFocus); break;
      case EN_KILLFOCUS: RaiseSimpleEvent(u->windowId, u->unitId, kEventLostFocus); break;
    }
    return 0;
  }
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) {
    HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, ResolveColour(e->s.textColour));
    SetBkColor(dc, ResolveColour(e->s.background));
    return reinterpret_cast<intptr_t>(e->brush);
  }
  (void)lp;
  return 0;
}

using S = EditBoxSettings;
constexpr SettingsProperty<S> kRows[] = {
    {kEditBoxContent, "内容", kValueText, &S::content},
    {kEditBoxBorder, "边框", kValueChoice, &S::borderStyle},
    {kEditBoxTextColour, "文本颜色", kValueColour, &S::textColour},
    {kEditBoxBackground, "背景颜色", kValueBackColour, &S::background},
    {kEditBoxFont, "字体", kValueFont, &S::font},
    {kEditBoxHideSelection, "隐藏选择", kValueLogical, &S::hideSelection, kRecreate},
    {kEditBoxMaxLength, "最大允许长度", kValueInt, &S::maxLength},
    {kEditBoxMultiLine, "是否允许多行", kValueLogical, &S::multiLine, kRecreate},
    {kEditBoxScrollBars, "滚动条", kValueChoice, &S::scrollBars, kRecreate},
    {kEditBoxAlignment, "对齐方式", kValueChoice, &S::alignment, kRecreate},
    {kEditBoxInputMode, "输入方式", kValueChoice, &S::inputMode},
    {kEditBoxPasswordChar, "密码遮盖字符", kValueText, &S::passwordChar},
    {kEditBoxCase, "转换方式", kValueChoice, &S::caseConversion, kRecreate},
    {kEditBoxSpinStyle, "调节器方式", kValueChoice, &S::spinStyle, kRecreate},
    {kEditBoxSpinMin, "调节器底限值", kValueInt, &S::spinMin},
    {kEditBoxSpinMax, "调节器上限值", kValueInt, &S::spinMax},
    {kEditBoxSelStart, "起始选择位置", kValueInt, &S::selStart},
    {kEditBoxSelLength, "被选择字符数", kValueInt, &S::selLength},
    {kEditBoxSelectedText, "被选择文本", kValueText, {}},
    {kEditBoxDataSource, "数据源", kValueText, &S::dataSource},
    {kEditBoxDataField, "数据列", kValueText, &S::dataField},
};
static_assert(RowsInNumberOrder(kRows));
constexpr auto kProperties = PropertyInfos(kRows);

void ReadSelection(EditBox* e) {
  DWORD start = 0, end = 0;
  SendMessageA(UnitHwnd(&e->base), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  e->s.selStart = static_cast<int32_t>(start);
  e->s.selLength = static_cast<int32_t>(end - start);
}

// The selection counts characters, not bytes: cut the text where the box
// sees it and only then turn it back into the code page.
std::string SelectedText(HWND h, int32_t start, int32_t length) {
  int n = GetWindowTextLengthW(h);
  std::wstring text(n + 1, L'\0');
  n = GetWindowTextW(h, &text[0], n + 1);
  if (start < 0 || length <= 0 || start >= n) return std::string();
  if (length > n - start) length = n - start;
  return AnsiFromWide(std::wstring_view(text.data() + start, static_cast<size_t>(length)));
}

void GetProperty(UnitObject* u, int32_t index, RawProperty* out) {
  EditBox* e = AsEdit(u);
  HWND h = UnitHwnd(u);
  EditBoxSettings& s = e->s;
  switch (kFirstOwnProperty + index) {
    case kEditBoxContent: s.content = WindowText(h); break;
    case kEditBoxSelStart:
    case kEditBoxSelLength: ReadSelection(e); break;
    case kEditBoxSelectedText:
      ReadSelection(e);
      out->bytes = SelectedText(h, s.selStart, s.selLength);
      return;
  }
  GetSetting(kRows, index, s, out);
}

bool SetProperty(UnitObject* u, int32_t index, const RawProperty& v) {
  EditBox* e = AsEdit(u);
  HWND h = UnitHwnd(u);
  EditBoxSettings& s = e->s;
  const int32_t property = kFirstOwnProperty + index;
  // The half of the selection that is not written stays as the box has it.
  if (property == kEditBoxSelStart || property == kEditBoxSelLength) ReadSelection(e);
  // True (re-create) when a setting that only creation applies has changed.
  bool recreate = SetSetting(kRows, index, &s, v);
  switch (property) {
    case kEditBoxContent: SetContent(e, v.bytes); return false;
    case kEditBoxBorder: ApplyBorderStyle(h, s.borderStyle); return false;
    case kEditBoxTextColour: break;
    case kEditBoxBackground: RemakeBrush(e); break;
    case kEditBoxFont: ApplyFont(e); break;
    case kEditBoxMaxLength:
      if (s.maxLength < 0) s.maxLength = 0;
      SendMessageA(h, EM_LIMITTEXT, s.maxLength, 0);
      return false;
    case kEditBoxInputMode:
      SendMessageA(h, EM_SETREADONLY, s.inputMode == 1, 0);
      SendMessageA(h, EM_SETPASSWORDCHAR, s.inputMode == 2 ? (s.passwordChar & 0xFF) : 0, 0);
      break;
    case kEditBoxPasswordChar:
      if (s.inputMode == 2) SendMessageA(h, EM_SETPASSWORDCHAR, s.passwordChar & 0xFF, 0);
      break;
    case kEditBoxSpinMin:
    case kEditBoxSpinMax:
      if (e->spin) SendMessageA(e->spin, UDM_SETRANGE32, s.spinMin, s.spinMax);
      return false;
    case kEditBoxSelStart:
      if (s.selLength < 0) s.selLength = 0;
      ApplySelection(e);
      return false;
    case kEditBoxSelLength: ApplySelection(e); return false;
    case kEditBoxSelectedText:
      SendMessageA(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(v.bytes.c_str()));
      return false;
    default: return recreate;
  }
  InvalidateRect(h, nullptr, TRUE);
  return false;
}

std::string SettingsBlock(UnitObject* u) {
  EditBox* e = AsEdit(u);
  e->s.content = WindowText(UnitHwnd(u));
  ReadSelection(e);
  return WriteEditBoxSettings(e->s);
}

// A multi-line box that can be typed into keeps Enter for line breaks.
bool WantsKey(UnitObject* u, uint32_t key) {
  const EditBoxSettings& s = AsEdit(u)->s;
  return key == VK_RETURN && s.multiLine && s.inputMode != 1;
}

constexpr UnitOperations kOperations = {
    .createControl = Create,
    .notify = Notify,
    .setTypeProperty = SetProperty,
    .settingsBlock = SettingsBlock,
    .getTypeProperty = GetProperty,
    .wantsKey = WantsKey,
    .visitTexts = VisitBlockTexts<kRows, ReadEditBoxSettings, WriteEditBoxSettings>,
};

}  // namespace

const UnitKind* EditBoxKind() {
  static const UnitKind kind =
      MakeUnitKind<kOperations>("编辑框", "EditBox", kKindRaisesEvents, kProperties);
  return &kind;
}

}  // namespace qx
