// The label kind (class _QX_Label): a caption the runtime draws itself,
// with alignment, word wrap and text effects.
#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/PropertyTable.h"
#include "ui/TypeBlocks.h"

namespace qx {
namespace {

const char kLabelClass[] = "_QX_Label";

struct Label {
  UnitObject base;
  LabelSettings s;
  HFONT font = nullptr;
};

Label* AsLabel(UnitObject* u) { return reinterpret_cast<Label*>(u); }

void Paint(Label* l, HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  HBRUSH bg = CreateSolidBrush(ResolveColour(l->s.background));
  FillRect(dc, &ps.rcPaint, bg);
  DeleteObject(bg);
  if (!l->s.caption.empty()) {
    HGDIOBJ oldFont = SelectObject(dc, FontOrDefault(l->font));
    SetBkMode(dc, TRANSPARENT);
    RECT rc;
    GetClientRect(hwnd, &rc);
    UINT format = DT_NOPREFIX;
    format |= l->s.hAlign == 1 ? DT_CENTER : l->s.hAlign == 2 ? DT_RIGHT : DT_LEFT;
    if (l->s.wordWrap)
      format |= DT_WORDBREAK;
    else
      format |= DT_SINGLELINE | (l->s.vAlign == 1 ? DT_VCENTER : l->s.vAlign == 2 ? DT_BOTTOM : DT_TOP);
    const char* text = l->s.caption.c_str();
    auto draw = [&](COLORREF colour, int dx, int dy) {
      RECT r = rc;
      OffsetRect(&r, dx, dy);
      SetTextColor(dc, colour);
      DrawTextA(dc, text, -1, &r, format);
    };
    int textOffset = 0;
    switch (l->s.effect) {
      case 1: draw(RGB(255, 255, 255), 1, 1); break;
      case 2: draw(RGB(255, 255, 255), 0, 0); textOffset = 1; break;
      case 3: draw(RGB(0, 0, 0), 2, 2); break;
      default: break;
    }
    draw(ResolveColour(l->s.textColour), textOffset, textOffset);
    SelectObject(dc, oldFont);
  }
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Label* l = AsLabel(UnitOfWindow(hwnd));
  if (l) {
    switch (msg) {
      case WM_PAINT: Paint(l, hwnd); return 0;
      case WM_ERASEBKGND: return 1;
      case WM_GETFONT: return reinterpret_cast<LRESULT>(FontOrDefault(l->font));
      case WM_NCDESTROY:
        ReportUnitDestroyed(&l->base);
        if (l->font) DeleteObject(l->font);
        delete l;
        break;
    }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool EnsureClass() {
  WNDCLASSA existing;
  if (GetClassInfoA(GetModuleHandleA(nullptr), kLabelClass, &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = LabelProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kLabelClass;
  return RegisterClassA(&wc) != 0;
}

UnitObject* Create(const CreateArgs& a) {
  LabelSettings s;
  if (!ReadLabelSettings(*a.typeBlock, &s) || !EnsureClass()) return nullptr;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | a.style, ex = 0;
  BorderStyleBits(s.borderStyle <= 5 ? s.borderStyle : 0, &style, &ex);
  HWND h = CreateWindowExA(ex, kLabelClass, s.caption.c_str(), style, a.left, a.top, a.width,
                           a.height, static_cast<HWND>(a.parent),
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(a.childId)),
                           GetModuleHandleA(nullptr), nullptr);
  if (!h) return nullptr;
  Label* l = new Label;
  l->base = {h, LabelKind(), a.windowId, a.unitId};
  l->s = s;
  l->font = CreateStoredFont(s.font);
  AttachUnit(h, &l->base);
  return &l->base;
}

using S = LabelSettings;
constexpr SettingsProperty<S> kRows[] = {
    {kLabelCaption, "标题", kValueText, &S::caption},
    {kLabelEffect, "效果", kValueChoice, &S::effect},
    {kLabelBorder, "边框", kValueChoice, &S::borderStyle},
    {kLabelGradientWidth, "渐变边框宽度", kValueInt, &S::gradientWidth},
    {kLabelBorderColour1, "边框颜色1", kValueColour, {&S::borderColours, 0}},
    {kLabelBorderColour2, "边框颜色2", kValueColour, {&S::borderColours, 1}},
    {kLabelBorderColour3, "边框颜色3", kValueColour, {&S::borderColours, 2}},
    {kLabelFont, "字体", kValueFont, &S::font},
    {kLabelTextColour, "文本颜色", kValueColour, &S::textColour},
    {kLabelBackground, "背景颜色", kValueBackColour, &S::background},
    {kLabelPicture, "底图", kValuePicture, &S::picture},
    {kLabelPictureMode, "底图方式", kValueChoice, &S::pictureMode},
    {kLabelGradientMode, "渐变背景方式", kValueChoice, &S::gradientMode},
    {kLabelGradientColour1, "渐变背景颜色1", kValueColour, {&S::gradientColours, 0}},
    {kLabelGradientColour2, "渐变背景颜色2", kValueColour, {&S::gradientColours, 1}},
    {kLabelGradientColour3, "渐变背景颜色3", kValueColour, {&S::gradientColours, 2}},
    {kLabelHAlign, "横向对齐方式", kValueChoice, &S::hAlign},
    {kLabelWordWrap, "是否自动折行", kValueLogical, &S::wordWrap},
    {kLabelVAlign, "纵向对齐方式", kValueChoice, &S::vAlign},
    {kLabelDataSource, "数据源", kValueText, &S::dataSource},
    {kLabelDataField, "数据列", kValueText, &S::dataField},
};
static_assert(RowsInNumberOrder(kRows));
constexpr auto kProperties = PropertyInfos(kRows);

void GetProperty(UnitObject* u, int32_t index, RawProperty* out) {
  GetSetting(kRows, index, AsLabel(u)->s, out);
}

bool SetProperty(UnitObject* u, int32_t index, const RawProperty& v) {
  Label* l = AsLabel(u);
  HWND h = UnitHwnd(u);
  SetSetting(kRows, index, &l->s, v);
  switch (kFirstOwnProperty + index) {
    case kLabelGradientWidth: if (l->s.gradientWidth < 5) l->s.gradientWidth = 5; break;
    case kLabelCaption: SetWindowTextA(h, l->s.caption.c_str()); break;
    case kLabelBorder: ApplyBorderStyle(h, l->s.borderStyle <= 5 ? l->s.borderStyle : 0); break;
    case kLabelFont:
      if (l->font) DeleteObject(l->font);
      l->font = CreateStoredFont(l->s.font);
      break;
    default: break;
  }
  InvalidateRect(h, nullptr, TRUE);
  return false;
}

std::string SettingsBlock(UnitObject* u) { return WriteLabelSettings(AsLabel(u)->s); }

constexpr UnitOperations kOperations = {
    .createControl = Create,
    .setTypeProperty = SetProperty,
    .settingsBlock = SettingsBlock,
    .getTypeProperty = GetProperty,
    .visitTexts = VisitBlockTexts<kRows, ReadLabelSettings, WriteLabelSettings>,
};

}  // namespace

const UnitKind* LabelKind() {
  static const UnitKind kind =
      MakeUnitKind<kOperations>("标签", "Label", kKindRaisesEvents, kProperties);
  return &kind;
}

}  // namespace qx
