// Cells to VARIANTs and back. The VARIANT types are the ones a spreadsheet
// application hands out, so that a client's coercion to text
// (VariantChangeType to VT_BSTR) makes the cell's text.
#include <algorithm>
#include <cstring>

#include "automation/server/ServerCore_win.h"

namespace qx::sheets {
namespace {

// Error values travel as VT_ERROR with the spreadsheet's own codes.
struct ErrorCode {
  const char* literal;
  SCODE code;
};
constexpr ErrorCode kErrors[] = {
    {"#NULL!", 2000}, {"#DIV/0!", 2007}, {"#VALUE!", 2015}, {"#REF!", 2023},
    {"#NAME?", 2029}, {"#NUM!", 2036},   {"#N/A", 2042},
};
constexpr SCODE kErrorBase = static_cast<SCODE>(0x800A0000);

reader::Cell* FindOrInsert(reader::Sheet* sheet, int32_t row, int32_t col) {
  auto& cells = sheet->cells;
  auto it = std::lower_bound(cells.begin(), cells.end(), 0, [&](const reader::Cell& c, int) {
    return c.row != row ? c.row < row : c.col < col;
  });
  if (it == cells.end() || it->row != row || it->col != col)
    it = cells.insert(it, reader::Cell{row, col, 0, 0, reader::CellType::Empty});
  return &*it;
}

void Erase(reader::Sheet* sheet, int32_t row, int32_t col) {
  auto& cells = sheet->cells;
  auto it = std::lower_bound(cells.begin(), cells.end(), 0, [&](const reader::Cell& c, int) {
    return c.row != row ? c.row < row : c.col < col;
  });
  if (it != cells.end() && it->row == row && it->col == col) cells.erase(it);
}

uint32_t AddText(reader::Workbook* book, std::string_view utf8) {
  book->strings.push_back(utf8);
  return static_cast<uint32_t>(book->strings.size() - 1);
}

}  // namespace

void CellToVariant(const reader::Workbook& book, const reader::Cell* cell, VARIANT* out) {
  VariantInit(out);
  if (!cell) return;
  switch (cell->type) {
    case reader::CellType::Text: {
      std::wstring text = cell->textId < book.strings.size() ? WideFromUtf8(book.strings[cell->textId]) : L"";
      V_VT(out) = VT_BSTR;
      V_BSTR(out) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
      return;
    }
    case reader::CellType::Number:
      V_VT(out) = VT_R8;
      V_R8(out) = cell->number;
      return;
    case reader::CellType::Boolean:
      V_VT(out) = VT_BOOL;
      V_BOOL(out) = cell->number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case reader::CellType::DateTime:
      V_VT(out) = VT_DATE;
      V_DATE(out) = cell->number;
      return;
    case reader::CellType::Error: {
      std::string_view literal = cell->textId < book.strings.size() ? book.strings[cell->textId] : "";
      SCODE code = 2015;  // anything unknown shows as #VALUE!
      for (const ErrorCode& e : kErrors)
        if (literal == e.literal) code = e.code;
      V_VT(out) = VT_ERROR;
      V_ERROR(out) = kErrorBase | code;
      return;
    }
    case reader::CellType::Empty:
      return;
  }
}

HRESULT VariantToCell(BookModel* model, int sheetIndex, int32_t row, int32_t col, const VARIANT& in) {
  reader::Sheet* sheet = &model->book.sheets[static_cast<size_t>(sheetIndex)];
  VARIANT value;
  VariantInit(&value);
  HRESULT hr = VariantCopyInd(&value, const_cast<VARIANT*>(&in));
  if (FAILED(hr)) return hr;
  reader::CellType type;
  double number = 0;
  uint32_t textId = 0;
  switch (V_VT(&value)) {
    case VT_EMPTY:
    case VT_NULL:
      Erase(sheet, row, col);
      return S_OK;
    case VT_BOOL:
      type = reader::CellType::Boolean;
      number = V_BOOL(&value) ? 1 : 0;
      break;
    case VT_DATE:
      type = reader::CellType::DateTime;
      number = V_DATE(&value);
      break;
    case VT_ERROR: {
      SCODE code = V_ERROR(&value) & 0xFFFF;
      const char* literal = "#VALUE!";
      for (const ErrorCode& e : kErrors)
        if (code == e.code) literal = e.literal;
      type = reader::CellType::Error;
      textId = AddText(&model->book, literal);
      break;
    }
    case VT_BSTR: {
      std::wstring text(V_BSTR(&value) ? V_BSTR(&value) : L"", V_BSTR(&value) ? SysStringLen(V_BSTR(&value)) : 0);
      VariantClear(&value);
      if (text.empty()) {
        Erase(sheet, row, col);
        return S_OK;
      }
      type = reader::CellType::Text;
      textId = AddText(&model->book, Utf8FromWide(text));
      break;
    }
    default: {
      VARIANT r8;
      VariantInit(&r8);
      hr = VariantChangeType(&r8, &value, 0, VT_R8);
      VariantClear(&value);
      if (FAILED(hr)) return Fail(DISP_E_TYPEMISMATCH, L"无法存入单元格的值");
      type = reader::CellType::Number;
      number = V_R8(&r8);
      break;
    }
  }
  VariantClear(&value);
  reader::Cell* cell = FindOrInsert(sheet, row, col);
  cell->type = type;
  cell->number = number;
  cell->textId = textId;
  return S_OK;
}

}  // namespace qx::sheets
