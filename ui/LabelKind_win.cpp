// The label kind (class _QX_Label): a caption the runtime draws itself,
// with alignment, word wrap and text effects.
#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
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

enum {
  kCaption, kEffect, kBorder, kGradientWidth, kBorderColour1, kBorderColour2, kBorderColour3,
  kFont, kTextColour, kBackground, kPicture, kPictureMode, kGradientMode, kGradient1,
  kGradient2, kGradient3, kHAlign, kWordWrap, kVAlign, kDataSource, kDataField,
};

const PropertyInfo kProperties[] = {
    {"标题", kValueText, 0},           {"效果", kValueChoice, 0},
    {"边框", kValueChoice, 0},         {"渐变边框宽度", kValueInt, 0},
    {"边框颜色1", kValueColour, 0},    {"边框颜色2", kValueColour, 0},
    {"边框颜色3", kValueColour, 0},    {"字体", kValueFont, 0},
    {"文本颜色", kValueColour, 0},     {"背景颜色", kValueBackColour, 0},
    {"底图", kValuePicture, 0},        {"底图方式", kValueChoice, 0},
    {"渐变背景方式", kValueChoice, 0}, {"渐变背景颜色1", kValueColour, 0},
    {"渐变背景颜色2", kValueColour, 0}, {"渐变背景颜色3", kValueColour, 0},
    {"横向对齐方式", kValueChoice, 0}, {"是否自动折行", kValueLogical, 0},
    {"纵向对齐方式", kValueChoice, 0}, {"数据源", kValueText, 0},
    {"数据列", kValueText, 0},
};

uint32_t* WordField(LabelSettings& s, int32_t index) {
  switch (index) {
    case kEffect: return &s.effect;
    case kBorder: return &s.borderStyle;
    case kGradientWidth: return &s.gradientWidth;
    case kBorderColour1: case kBorderColour2: case kBorderColour3:
      return &s.borderColours[index - kBorderColour1];
    case kTextColour: return &s.textColour;
    case kBackground: return &s.background;
    case kPictureMode: return &s.pictureMode;
    case kGradientMode: return &s.gradientMode;
    case kGradient1: case kGradient2: case kGradient3:
      return &s.gradientColours[index - kGradient1];
    case kHAlign: return &s.hAlign;
    case kVAlign: return &s.vAlign;
    default: return nullptr;
  }
}

std::string* BytesField(LabelSettings& s, int32_t index) {
  switch (index) {
    case kCaption: return &s.caption;
    case kFont: return &s.font;
    case kPicture: return &s.picture;
    case kDataSource: return &s.dataSource;
    case kDataField: return &s.dataField;
    default: return nullptr;
  }
}

void GetProperty(UnitObject* u, int32_t index, RawProperty* out) {
  Label* l = AsLabel(u);
  if (uint32_t* w = WordField(l->s, index)) out->i = static_cast<int32_t>(*w);
  if (std::string* b = BytesField(l->s, index)) out->bytes = *b;
  if (index == kWordWrap) out->i = l->s.wordWrap;
}

bool SetProperty(UnitObject* u, int32_t index, const RawProperty& v) {
  Label* l = AsLabel(u);
  HWND h = UnitHwnd(u);
  if (uint32_t* w = WordField(l->s, index)) *w = static_cast<uint32_t>(v.i);
  if (std::string* b = BytesField(l->s, index)) *b = v.bytes;
  switch (index) {
    case kWordWrap: l->s.wordWrap = v.i != 0; break;
    case kGradientWidth: if (l->s.gradientWidth < 5) l->s.gradientWidth = 5; break;
    case kCaption: SetWindowTextA(h, l->s.caption.c_str()); break;
    case kBorder: ApplyBorderStyle(h, l->s.borderStyle <= 5 ? l->s.borderStyle : 0); break;
    case kFont:
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
};

}  // namespace

const UnitKind* LabelKind() {
  static const UnitKind kind = {"标签", "Label", kKindRaisesEvents, kProperties,
                                std::size(kProperties), NumberedInterface<kOperations>,
                                &kOperations};
  return &kind;
}

}  // namespace qx
