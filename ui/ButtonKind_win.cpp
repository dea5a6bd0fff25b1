// The button kind: the system BUTTON control, its caption and alignment,
// and its click event.
#include "ui/ControlSupport_win.h"
#include "ui/CoreKinds_win.h"
#include "ui/Events.h"
#include "ui/PropertyTable.h"
#include "ui/TypeBlocks.h"

namespace qx {
namespace {

struct Button {
  UnitObject base;
  ButtonSettings s;
  HFONT font = nullptr;
  HANDLE image = nullptr;
};

Button* AsButton(UnitObject* u) { return reinterpret_cast<Button*>(u); }

DWORD AlignmentStyle(const ButtonSettings& s) {
  DWORD style = 0;
  style |= s.hAlign == 0 ? BS_LEFT : s.hAlign == 2 ? BS_RIGHT : BS_CENTER;
  style |= s.vAlign == 0 ? BS_TOP : s.vAlign == 2 ? BS_BOTTOM : BS_VCENTER;
  return style;
}

// Icon data starts like an .ico file (0, 1); anything else is a bitmap.
bool IsIconData(const std::string& d) {
  return d.size() >= 4 && d[0] == 0 && d[1] == 0 && d[2] == 1 && d[3] == 0;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCDESTROY) {
    if (Button* b = AsButton(UnitOfWindow(hwnd))) {
      ReportUnitDestroyed(&b->base);
      if (b->font) DeleteObject(b->font);
      delete b;
    }
  }
  return CallOriginal(hwnd, msg, wp, lp);
}

void ApplyFont(Button* b) {
  HFONT old = b->font;
  b->font = CreateStoredFont(b->s.font);
  SendMessageA(UnitHwnd(&b->base), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(b->font)),
               TRUE);
  if (old) DeleteObject(old);
}

UnitObject* Create(const CreateArgs& a) {
  ButtonSettings s;
  if (!ReadButtonSettings(*a.typeBlock, &s)) return nullptr;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE | AlignmentStyle(s) | a.style;
  style |= s.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (!s.picture.empty()) style |= IsIconData(s.picture) ? BS_ICON : BS_BITMAP;
  HWND h = CreateWindowExA(0, "BUTTON", s.caption.c_str(), style, a.left, a.top, a.width,
                           a.height, static_cast<HWND>(a.parent),
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(a.childId)),
                           GetModuleHandleA(nullptr), nullptr);
  if (!h) return nullptr;
  Button* b = new Button;
  b->base = {h, ButtonKind(), a.windowId, a.unitId};
  b->s = s;
  AttachUnit(h, &b->base);
  SubclassControl(h, ButtonProc);
  ApplyFont(b);
  return &b->base;
}

intptr_t Notify(UnitObject* u, uint32_t msg, uintptr_t wp, intptr_t) {
  // A disabled button takes no clicks, whoever sends them.
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED && IsWindowEnabled(UnitHwnd(u)))
    RaiseSimpleEvent(u->windowId, u->unitId, kEventClicked);
  return 0;
}

using S = ButtonSettings;
constexpr SettingsProperty<S> kRows[] = {
    {kButtonPicture, "图片", kValuePicture, &S::picture, kRecreate},
    {kButtonDefault, "默认按钮", kValueLogical, &S::defaultButton},
    {kButtonCaption, "标题", kValueText, &S::caption},
    {kButtonHAlign, "横向对齐方式", kValueChoice, &S::hAlign},
    {kButtonVAlign, "纵向对齐方式", kValueChoice, &S::vAlign},
    {kButtonFont, "字体", kValueFont, &S::font},
};
static_assert(RowsInNumberOrder(kRows));
constexpr auto kProperties = PropertyInfos(kRows);

void GetProperty(UnitObject* u, int32_t index, RawProperty* out) {
  Button* b = AsButton(u);
  if (kFirstOwnProperty + index == kButtonCaption) b->s.caption = WindowText(UnitHwnd(u));
  GetSetting(kRows, index, b->s, out);
}

bool SetProperty(UnitObject* u, int32_t index, const RawProperty& v) {
  Button* b = AsButton(u);
  HWND h = UnitHwnd(u);
  bool recreate = SetSetting(kRows, index, &b->s, v);
  switch (kFirstOwnProperty + index) {
    case kButtonDefault:
      SendMessageA(h, BM_SETSTYLE, b->s.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
      break;
    case kButtonCaption: SetWindowTextA(h, v.bytes.c_str()); break;
    case kButtonHAlign:
    case kButtonVAlign: {
      DWORD style = GetWindowLongA(h, GWL_STYLE) & ~(BS_LEFT | BS_RIGHT | BS_CENTER | BS_TOP |
                                                     BS_BOTTOM | BS_VCENTER);
      SetWindowLongA(h, GWL_STYLE, style | AlignmentStyle(b->s));
      InvalidateRect(h, nullptr, TRUE);
      break;
    }
    case kButtonFont: ApplyFont(b); break;
  }
  return recreate;
}

std::string SettingsBlock(UnitObject* u) {
  Button* b = AsButton(u);
  b->s.caption = WindowText(UnitHwnd(u));
  return WriteButtonSettings(b->s);
}

constexpr UnitOperations kOperations = {
    .createControl = Create,
    .notify = Notify,
    .setTypeProperty = SetProperty,
    .settingsBlock = SettingsBlock,
    .getTypeProperty = GetProperty,
    .visitTexts = VisitBlockTexts<kRows, ReadButtonSettings, WriteButtonSettings>,
};

}  // namespace

// For the window's Enter handling.
bool IsDefaultButton(UnitObject* u) {
  return u && u->kind == ButtonKind() && AsButton(u)->s.defaultButton;
}

const UnitKind* ButtonKind() {
  static const UnitKind kind =
      MakeUnitKind<kOperations>("按钮", "Button", kKindRaisesEvents, kProperties);
  return &kind;
}

}  // namespace qx
