// A range of cells: values (one cell as a VARIANT, a block as a 2-D array),
// its shape, a search for the next matching cell, and formatting kept in
// memory.
#include <climits>

#include "automation/server/SheetSearch.h"
#include "automation/server/ServerCore_win.h"
#include "reader/Visibility.h"

namespace qx::sheets {
namespace {

// A block's Value is one VARIANT per cell: past this it is refused rather
// than allocated (a whole column is a million cells).
constexpr int64_t kMaxBlockCells = int64_t{1} << 22;

long OptionalInt(const VARIANT& v, long fallback) {
  long n;
  return ArgMissing(v) || !ArgInt(v, &n) ? fallback : n;
}

bool OptionalBool(const VARIANT& v, bool fallback) {
  if (ArgMissing(v)) return fallback;
  VARIANT b;
  VariantInit(&b);
  if (FAILED(VariantChangeType(&b, const_cast<VARIANT*>(&v), 0, VT_BOOL))) return fallback;
  return V_BOOL(&b) != VARIANT_FALSE;
}

std::wstring Upper(std::wstring s) {
  if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

// Find's pattern: '*' any run, '?' any one character, '~' takes the next
// character as it is.
bool WildMatch(const wchar_t* p, const wchar_t* pe, const wchar_t* s, const wchar_t* se) {
  while (p < pe) {
    if (*p == L'*') {
      while (p < pe && *p == L'*') ++p;
      if (p == pe) return true;
      for (const wchar_t* t = s; t <= se; ++t)
        if (WildMatch(p, pe, t, se)) return true;
      return false;
    }
    if (s == se) return false;
    if (*p == L'~' && p + 1 < pe) ++p;
    else if (*p == L'?') { ++p; ++s; continue; }
    if (*p != *s) return false;
    ++p;
    ++s;
  }
  return s == se;
}

// The text a search matches in a cell: its value coerced to text, and an
// error value's literal ("#N/A"), as it is shown.
std::wstring CellText(const reader::Workbook& book, const reader::Cell& cell) {
  if (cell.type == reader::CellType::Error && cell.textId < book.strings.size())
    return WideFromUtf8(book.strings[cell.textId]);
  VARIANT v, text;
  CellToVariant(book, &cell, &v);
  VariantInit(&text);
  std::wstring out;
  if (SUCCEEDED(VariantChangeType(&text, &v, 0, VT_BSTR)) && V_BSTR(&text))
    out.assign(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
  VariantClear(&v);
  VariantClear(&text);
  return out;
}

class Range final : public DispatchObject<IQxRange> {
 public:
  Range(StatePtr state, BookPtr book, int sheet, const Area& area, RangeKind kind)
      : DispatchObject(IID_IQxRange), state_(std::move(state)), book_(std::move(book)), sheet_(sheet),
        area_(area), kind_(kind) {}

  HRESULT STDMETHODCALLTYPE get_Value(VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    const reader::Sheet& sheet = Sheet();
    if (area_.firstRow == area_.lastRow && area_.firstCol == area_.lastCol) {
      CellToVariant(book_->book, reader::FindCell(sheet, area_.firstRow, area_.firstCol), out);
      return S_OK;
    }
    if (Behaviour() & kCellByCell) return Fail(E_NOTIMPL, L"只能一次取一个单元格的值");
    const int64_t rows = AreaRows(area_), cols = AreaCols(area_);
    if (rows * cols > kMaxBlockCells) return Fail(E_OUTOFMEMORY, L"区域太大，无法一次取出全部的值");
    SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(rows), 1}, {static_cast<ULONG>(cols), 1}};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
    if (!array) return E_OUTOFMEMORY;
    VARIANT* data = nullptr;
    SafeArrayAccessData(array, reinterpret_cast<void**>(&data));
    // Elements are stored first index fastest: (row, column) sits at
    // row + column * rows, counted from 0. Only stored cells are visited.
    for (const reader::Cell* c = NextStoredCell(sheet, area_, area_.firstRow, area_.firstCol); c;) {
      CellToVariant(book_->book, c, &data[(c->row - area_.firstRow) + int64_t{c->col - area_.firstCol} * rows]);
      if (c->col < area_.lastCol) c = NextStoredCell(sheet, area_, c->row, c->col + 1);
      else if (c->row < area_.lastRow) c = NextStoredCell(sheet, area_, c->row + 1, area_.firstCol);
      else c = nullptr;
    }
    SafeArrayUnaccessData(array);
    V_VT(out) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(out) = array;
    return S_OK;
  }

  // Changes the workbook in memory only. A block takes a 2-D array
  // (cells past its bounds are left alone) or one value for every cell.
  HRESULT STDMETHODCALLTYPE put_Value(VARIANT value) override {
    VARIANT* v = &value;
    while (V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
    if (V_ISARRAY(v)) return PutArray(V_ISBYREF(v) ? *V_ARRAYREF(v) : V_ARRAY(v));
    if (AreaRows(area_) * AreaCols(area_) > kMaxBlockCells) return Fail(E_OUTOFMEMORY, L"区域太大");
    for (int32_t r = area_.firstRow; r <= area_.lastRow; ++r)
      for (int32_t c = area_.firstCol; c <= area_.lastCol; ++c) {
        HRESULT hr = VariantToCell(book_.get(), sheet_, r, c, *v);
        if (FAILED(hr)) return hr;
      }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_Rows(IQxRange** out) override { return Shape(RangeKind::Rows, out); }
  HRESULT STDMETHODCALLTYPE get_Columns(IQxRange** out) override { return Shape(RangeKind::Columns, out); }
  HRESULT STDMETHODCALLTYPE get_Count(long* out) override {
    if (!out) return E_POINTER;
    int64_t n = kind_ == RangeKind::Rows ? AreaRows(area_)
                : kind_ == RangeKind::Columns ? AreaCols(area_)
                                              : AreaRows(area_) * AreaCols(area_);
    if (n > LONG_MAX) return Fail(DISP_E_OVERFLOW, L"单元格数目超出整数范围");
    *out = static_cast<long>(n);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Row(long* out) override { return Put(out, static_cast<long>(area_.firstRow)); }
  HRESULT STDMETHODCALLTYPE get_Column(long* out) override { return Put(out, static_cast<long>(area_.firstCol)); }
  HRESULT STDMETHODCALLTYPE get_Address(VARIANT rowAbsolute, VARIANT colAbsolute, VARIANT, VARIANT, VARIANT,
                                        BSTR* out) override {
    std::string text = FormatArea(area_, OptionalBool(rowAbsolute, true), OptionalBool(colAbsolute, true));
    return CopyText(std::wstring(text.begin(), text.end()), out);
  }

  HRESULT STDMETHODCALLTYPE Find(VARIANT what, VARIANT after, VARIANT lookIn, VARIANT lookAt,
                                 VARIANT searchOrder, VARIANT searchDirection, VARIANT matchCase, VARIANT,
                                 VARIANT, IQxRange** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (Behaviour() & kCellByCell) return Fail(E_NOTIMPL, L"没有查找功能");
    std::wstring pattern;
    if (!ArgText(what, &pattern) || pattern.empty()) return Fail(E_INVALIDARG, L"没有给出要查找的内容");
    int32_t row = area_.firstRow, col = area_.firstCol;
    if (!ArgMissing(after)) {
      HRESULT hr = AfterCell(after, &row, &col);
      if (FAILED(hr)) return hr;
    }
    const bool whole = OptionalInt(lookAt, model::kLookAtPart) == model::kLookAtWhole;
    const bool caseSensitive = OptionalBool(matchCase, false);
    const SearchOrder order =
        OptionalInt(searchOrder, model::kByRows) == model::kByColumns ? SearchOrder::ByColumns : SearchOrder::ByRows;
    const bool forward = OptionalInt(searchDirection, model::kNext) != model::kPrevious;
    // As the application is reported to search: LookIn is kept from the
    // last search that gave one; by values only what a cell displays
    // counts, so hidden rows and columns and cells shown as nothing are
    // passed over; by formulas every cell with content is found.
    const bool asApplication = Behaviour() & kBehaveAsApplication;
    const long look = OptionalInt(lookIn, state_->findLookIn);
    if (asApplication) state_->findLookIn = look;
    if (asApplication && look == model::kLookInComments) return S_OK;  // no cell has one
    const bool displayed = asApplication && look == model::kLookInValues;
    const bool anything = pattern.find_first_not_of(L'*') == std::wstring::npos;
    CellMatch match;  // null: any cell that holds a value
    if (!anything || displayed) {
      std::wstring p = anything ? L"*" : whole ? pattern : L"*" + pattern + L"*";
      if (!caseSensitive) p = Upper(p);
      const reader::Workbook& book = book_->book;
      const reader::Sheet& sheet = Sheet();
      match = [p, caseSensitive, displayed, &book, &sheet](const reader::Cell& cell) {
        if (displayed && (reader::RowHidden(sheet, cell.row) || reader::ColumnHidden(sheet, cell.col) ||
                          reader::ShownAsNothing(sheet, cell.row, cell.col)))
          return false;
        std::wstring text = CellText(book, cell);
        if (displayed && text.empty()) return false;
        if (!caseSensitive) text = Upper(text);
        return WildMatch(p.data(), p.data() + p.size(), text.data(), text.data() + text.size());
      };
    }
    const reader::Cell* found = FindInArea(Sheet(), area_, row, col, order, forward, match);
    if (found)
      *out = NewRange(state_, book_, sheet_, Area{found->row, found->col, found->row, found->col}, RangeKind::Cells);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_Font(IQxFont** out) override {
    if (!out) return E_POINTER;
    *out = NewFont(state_, book_, sheet_, area_);
    return S_OK;
  }

#define QX_RANGE_FORMAT(Name, id)                                                          \
  HRESULT STDMETHODCALLTYPE get_##Name(VARIANT* out) override { return GetFormat(id, out); } \
  HRESULT STDMETHODCALLTYPE put_##Name(VARIANT value) override { return PutFormat(id, value); }
  QX_RANGE_FORMAT(NumberFormatLocal, 0x449)
  QX_RANGE_FORMAT(AddIndent, 0x427)
  QX_RANGE_FORMAT(IndentLevel, 0xC9)
  QX_RANGE_FORMAT(HorizontalAlignment, 0x88)
  QX_RANGE_FORMAT(VerticalAlignment, 0x89)
  QX_RANGE_FORMAT(ShrinkToFit, 0xD1)
  QX_RANGE_FORMAT(WrapText, 0x114)
  QX_RANGE_FORMAT(ReadingOrder, 0x3CF)
  QX_RANGE_FORMAT(ColumnWidth, 0xF2)
  QX_RANGE_FORMAT(RowHeight, 0x110)
#undef QX_RANGE_FORMAT

 private:
  const reader::Sheet& Sheet() const { return book_->book.sheets[static_cast<size_t>(sheet_)]; }

  HRESULT Shape(RangeKind kind, IQxRange** out) {
    if (!out) return E_POINTER;
    *out = NewRange(state_, book_, sheet_, area_, kind);
    return S_OK;
  }

  // Find's After: a cell of this range, as a range object or an address.
  HRESULT AfterCell(const VARIANT& after, int32_t* row, int32_t* col) {
    Area cell{};
    if (V_VT(&after) == VT_DISPATCH && V_DISPATCH(&after)) {
      IQxRange* range = nullptr;
      if (FAILED(V_DISPATCH(&after)->QueryInterface(IID_IQxRange, reinterpret_cast<void**>(&range))))
        return Fail(E_INVALIDARG, L"After 必须是一个单元格");
      long r = 0, c = 0;
      range->get_Row(&r);
      range->get_Column(&c);
      range->Release();
      cell = Area{static_cast<int32_t>(r), static_cast<int32_t>(c), static_cast<int32_t>(r), static_cast<int32_t>(c)};
    } else {
      std::wstring text;
      std::string narrow;
      if (ArgText(after, &text))
        for (wchar_t ch : text) narrow += ch < 0x80 ? static_cast<char>(ch) : '?';
      if (!ParseArea(narrow, &cell)) return Fail(E_INVALIDARG, L"After 必须是一个单元格");
    }
    if (!AreaContains(area_, cell.firstRow, cell.firstCol))
      return Fail(E_INVALIDARG, L"After 不在查找的区域之内");
    *row = cell.firstRow;
    *col = cell.firstCol;
    return S_OK;
  }

  HRESULT PutArray(SAFEARRAY* array) {
    if (!array) return Fail(E_INVALIDARG, L"空的数组");
    UINT dims = SafeArrayGetDim(array);
    if (dims != 1 && dims != 2) return Fail(E_INVALIDARG, L"只能存入一维或二维数组");
    LONG lo1, hi1, lo2 = 0, hi2 = 0;
    SafeArrayGetLBound(array, 1, &lo1);
    SafeArrayGetUBound(array, 1, &hi1);
    if (dims == 2) {
      SafeArrayGetLBound(array, 2, &lo2);
      SafeArrayGetUBound(array, 2, &hi2);
    }
    // A one-dimensional array is one row.
    const int64_t rows = dims == 2 ? int64_t{hi1} - lo1 + 1 : 1;
    const int64_t cols = dims == 2 ? int64_t{hi2} - lo2 + 1 : int64_t{hi1} - lo1 + 1;
    for (int64_t r = 0; r < rows && r < AreaRows(area_); ++r) {
      for (int64_t c = 0; c < cols && c < AreaCols(area_); ++c) {
        LONG index[2];
        if (dims == 2) { index[0] = static_cast<LONG>(lo1 + r); index[1] = static_cast<LONG>(lo2 + c); }
        else index[0] = static_cast<LONG>(lo1 + c);
        VARIANT element;
        VariantInit(&element);
        HRESULT hr;
        VARTYPE vt;
        SafeArrayGetVartype(array, &vt);
        if (vt == VT_VARIANT) {
          hr = SafeArrayGetElement(array, index, &element);
        } else {
          // Arrays of a plain type: read the element into a VARIANT of it.
          V_VT(&element) = vt;
          hr = SafeArrayGetElement(array, index, &V_I4(&element));
        }
        if (SUCCEEDED(hr))
          hr = VariantToCell(book_.get(), sheet_, static_cast<int32_t>(area_.firstRow + r),
                             static_cast<int32_t>(area_.firstCol + c), element);
        VariantClear(&element);
        if (FAILED(hr)) return hr;
      }
    }
    return S_OK;
  }

  HRESULT GetFormat(DISPID id, VARIANT* out) {
    if (!out) return E_POINTER;
    VariantInit(out);
    SheetExtra& extra = book_->extras[static_cast<size_t>(sheet_)];
    auto it = extra.formats.find(FormatKey{id, false, area_});
    if (it != extra.formats.end()) return VariantCopy(out, &it->second.v);
    switch (id) {
      case 0x449:
        V_VT(out) = VT_BSTR;
        V_BSTR(out) = SysAllocString(L"G/通用格式");
        break;
      case 0x427: case 0xD1: case 0x114:
        V_VT(out) = VT_BOOL;
        V_BOOL(out) = VARIANT_FALSE;
        break;
      case 0xC9: V_VT(out) = VT_I4; V_I4(out) = 0; break;
      case 0x88: V_VT(out) = VT_I4; V_I4(out) = 1; break;          // general
      case 0x89: V_VT(out) = VT_I4; V_I4(out) = -4107; break;      // bottom
      case 0x3CF: V_VT(out) = VT_I4; V_I4(out) = -5002; break;     // by context
      case 0xF2: V_VT(out) = VT_R8; V_R8(out) = extra.standardWidth; break;
      case 0x110: V_VT(out) = VT_R8; V_R8(out) = extra.standardHeight; break;
    }
    return S_OK;
  }
  HRESULT PutFormat(DISPID id, const VARIANT& value) {
    OwnedVariant stored;
    HRESULT hr = VariantCopyInd(&stored.v, const_cast<VARIANT*>(&value));
    if (FAILED(hr)) return hr;
    book_->extras[static_cast<size_t>(sheet_)].formats[FormatKey{id, false, area_}] = stored;
    return S_OK;
  }

  StatePtr state_;
  BookPtr book_;
  int sheet_;
  Area area_;
  RangeKind kind_;
};

}  // namespace

IQxRange* NewRange(const StatePtr& state, const BookPtr& book, int sheet, const Area& area, RangeKind kind) {
  return new Range(state, book, sheet, area, kind);
}

}  // namespace qx::sheets
