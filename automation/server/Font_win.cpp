// A range's font: settings kept in memory by the range's area, read back as
// written, with the workbook's standard font until then.
#include "automation/server/ServerCore_win.h"

namespace qx::sheets {
namespace {

class Font final : public DispatchObject<IQxFont> {
 public:
  Font(StatePtr state, BookPtr book, int sheet, const Area& area)
      : DispatchObject(IID_IQxFont), state_(std::move(state)), book_(std::move(book)), sheet_(sheet), area_(area) {}

#define QX_FONT_MEMBER(Name, id)                                                           \
  HRESULT STDMETHODCALLTYPE get_##Name(VARIANT* out) override { return Get(id, out); } \
  HRESULT STDMETHODCALLTYPE put_##Name(VARIANT value) override { return Put(id, value); }
  QX_FONT_MEMBER(Bold, 0x60)
  QX_FONT_MEMBER(Color, 0x63)
  QX_FONT_MEMBER(Italic, 0x65)
  QX_FONT_MEMBER(Name, 0x6E)
  QX_FONT_MEMBER(Shadow, 0x67)
  QX_FONT_MEMBER(Size, 0x68)
  QX_FONT_MEMBER(Strikethrough, 0x69)
  QX_FONT_MEMBER(Superscript, 0xB3)
  QX_FONT_MEMBER(Subscript, 0xB2)
  QX_FONT_MEMBER(Underline, 0x6A)
#undef QX_FONT_MEMBER

 private:
  HRESULT Get(DISPID id, VARIANT* out) {
    if (!out) return E_POINTER;
    VariantInit(out);
    auto& formats = book_->extras[static_cast<size_t>(sheet_)].formats;
    auto it = formats.find(FormatKey{id, true, area_});
    if (it != formats.end()) return VariantCopy(out, &it->second.v);
    switch (id) {
      case 0x6E:
        V_VT(out) = VT_BSTR;
        V_BSTR(out) = SysAllocStringLen(state_->standardFont.data(), static_cast<UINT>(state_->standardFont.size()));
        break;
      case 0x68: V_VT(out) = VT_R8; V_R8(out) = state_->standardFontSize; break;
      case 0x63: V_VT(out) = VT_R8; V_R8(out) = 0; break;           // black
      case 0x6A: V_VT(out) = VT_I4; V_I4(out) = model::kUnderlineNone; break;
      default: V_VT(out) = VT_BOOL; V_BOOL(out) = VARIANT_FALSE; break;
    }
    return S_OK;
  }
  HRESULT Put(DISPID id, const VARIANT& value) {
    OwnedVariant stored;
    HRESULT hr = VariantCopyInd(&stored.v, const_cast<VARIANT*>(&value));
    if (FAILED(hr)) return hr;
    // Underline keeps a style, as the application does: a logical written
    // becomes the single line or none.
    if (id == 0x6A && V_VT(&stored.v) == VT_BOOL) {
      const bool on = V_BOOL(&stored.v) != VARIANT_FALSE;
      V_VT(&stored.v) = VT_I4;
      V_I4(&stored.v) = on ? model::kUnderlineSingle : model::kUnderlineNone;
    }
    book_->extras[static_cast<size_t>(sheet_)].formats[FormatKey{id, true, area_}] = stored;
    return S_OK;
  }

  StatePtr state_;
  BookPtr book_;
  int sheet_;
  Area area_;
};

}  // namespace

IQxFont* NewFont(const StatePtr& state, const BookPtr& book, int sheet, const Area& area) {
  return new Font(state, book, sheet, area);
}

}  // namespace qx::sheets
