// A worksheet: ranges by address or by row and column, its used range, and
// the few sheet settings a client reads.
#include "automation/server/ServerCore_win.h"

namespace qx::sheets {
namespace {

// A range argument: an address text ("A1", "$A$1:B3"). Anything else is
// refused with the reason.
HRESULT AreaArgument(const VARIANT& v, Area* area) {
  std::wstring text;
  if (!ArgText(v, &text)) return Fail(E_INVALIDARG, L"区域地址必须是文本");
  std::string narrow;
  for (wchar_t ch : text) {
    if (ch > 0x7F) return Fail(E_INVALIDARG, L"无效的区域地址“" + text + L"”");
    narrow += static_cast<char>(ch);
  }
  if (!ParseArea(narrow, area)) return Fail(E_INVALIDARG, L"无效的区域地址“" + text + L"”");
  return S_OK;
}

class Worksheet final : public DispatchObject<IQxWorksheet> {
 public:
  Worksheet(StatePtr state, BookPtr book, int index)
      : DispatchObject(IID_IQxWorksheet), state_(std::move(state)), book_(std::move(book)), index_(index) {}

  HRESULT STDMETHODCALLTYPE get_Range(VARIANT cell1, VARIANT cell2, IQxRange** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    Area area;
    HRESULT hr = AreaArgument(cell1, &area);
    if (FAILED(hr)) return hr;
    if (!ArgMissing(cell2)) {
      Area other;
      hr = AreaArgument(cell2, &other);
      if (FAILED(hr)) return hr;
      area = UnionArea(area, other);
    }
    *out = NewRange(state_, book_, index_, area, RangeKind::Cells);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_UsedRange(IQxRange** out) override {
    if (!out) return E_POINTER;
    reader::UsedRange used = reader::GetUsedRange(Sheet());
    Area area{used.firstRow, used.firstCol, used.firstRow + used.rowCount - 1,
              used.firstCol + used.colCount - 1};
    *out = NewRange(state_, book_, index_, area, RangeKind::Cells);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Cells(VARIANT row, VARIANT col, IQxRange** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    Area area{1, 1, reader::kMaxRow, reader::kMaxCol};
    if (!ArgMissing(row) || !ArgMissing(col)) {
      long r, c;
      if (!ArgInt(row, &r) || !ArgInt(col, &c) || r < 1 || r > reader::kMaxRow || c < 1 ||
          c > reader::kMaxCol)
        return Fail(E_INVALIDARG, L"无效的行号或列号");
      area = Area{static_cast<int32_t>(r), static_cast<int32_t>(c), static_cast<int32_t>(r),
                  static_cast<int32_t>(c)};
    }
    *out = NewRange(state_, book_, index_, area, RangeKind::Cells);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* out) override { return CopyText(WideFromUtf8(Sheet().name), out); }
  HRESULT STDMETHODCALLTYPE put_Name(BSTR name) override {
    std::wstring wide(name ? name : L"", name ? SysStringLen(name) : 0);
    if (wide.empty()) return Fail(E_INVALIDARG, L"工作表名称不能为空");
    book_->book.sheets[static_cast<size_t>(index_)].name = Utf8FromWide(wide);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Index(long* out) override { return Put(out, static_cast<long>(index_ + 1)); }
  HRESULT STDMETHODCALLTYPE get_StandardWidth(double* out) override {
    if (!out) return E_POINTER;
    *out = Extra().standardWidth;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_StandardWidth(double width) override {
    if (!(width >= 0 && width <= 255)) return Fail(E_INVALIDARG, L"无效的列宽");
    Extra().standardWidth = width;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_StandardHeight(double* out) override {
    if (!out) return E_POINTER;
    *out = Extra().standardHeight;
    return S_OK;
  }
  // There is nothing to draw a background on.
  HRESULT STDMETHODCALLTYPE SetBackgroundPicture(BSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Activate() override { return S_OK; }

 private:
  const reader::Sheet& Sheet() const { return book_->book.sheets[static_cast<size_t>(index_)]; }
  SheetExtra& Extra() { return book_->extras[static_cast<size_t>(index_)]; }

  StatePtr state_;
  BookPtr book_;
  int index_;
};

}  // namespace

IQxWorksheet* NewWorksheet(const StatePtr& state, const BookPtr& book, int index) {
  return new Worksheet(state, book, index);
}

}  // namespace qx::sheets
