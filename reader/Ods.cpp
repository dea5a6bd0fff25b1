#include "reader/Ods.h"

#include <algorithm>
#include <vector>

#include "reader/SheetUtil.h"
#include "reader/Visibility.h"
#include "reader/Xml.h"
#include "reader/Zip.h"

namespace qx::reader {
namespace {

using detail::kMaxCells;
using xml::Token;

// A cell of the row being read, before the row's own repeat is applied.
struct RowCell {
  int32_t col;
  int32_t repeat;
  double number;
  uint32_t textId;
  CellType type;
};

bool IsErrorLiteral(std::string_view s) {
  static constexpr std::string_view kErrors[] = {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!",
                                                 "#NAME?", "#NUM!",   "#N/A"};
  for (std::string_view e : kErrors) {
    if (s == e) return true;
  }
  return false;
}

class OdsReader {
 public:
  OdsReader(Workbook* out, std::string* error) : book_(out), error_(error) {}
  bool Read(std::string_view content);

 private:
  bool Fail(std::string message) {
    *error_ = std::move(message);
    return false;
  }
  bool XmlFail() { return Fail("content.xml 的 XML 无效：" + r_->error()); }
  bool ReadTable(Sheet* sheet);
  bool ReadRow(const std::string& where, int32_t* row);
  bool ReadCell(int32_t col, std::vector<RowCell>* cells, int32_t* width);
  // Text of the cell's paragraphs, joined with '\n'.
  bool ReadCellText(std::string* out);
  bool ReadParagraph(std::string* out);
  int64_t Count(std::string_view attr);
  // A row or column a user hid (table:visibility "collapse" or "filter").
  bool Hidden();

  Workbook* book_;
  std::string* error_;
  xml::Reader* r_ = nullptr;
  std::string scratch_, text_;
  std::vector<RowCell> rowCells_;
  std::vector<uint32_t> errorIds_;
  size_t totalCells_ = 0;
};

// A repeat count attribute; absent or malformed counts as 1.
int64_t OdsReader::Count(std::string_view attr) {
  const xml::Attribute* a = r_->Find(attr);
  uint64_t n;
  if (!a || !detail::ParseUnsigned(r_->Value(*a, &scratch_), &n) || n == 0) return 1;
  return static_cast<int64_t>(std::min<uint64_t>(n, uint64_t{1} << 40));
}

bool OdsReader::Hidden() {
  const xml::Attribute* a = r_->Find("visibility");
  if (!a) return false;
  std::string_view v = r_->Value(*a, &scratch_);
  return v == "collapse" || v == "filter";
}

bool OdsReader::ReadParagraph(std::string* out) {
  if (r_->selfClosing()) return r_->SkipElement();
  const size_t depth = r_->depth();
  // Text is kept as written: spreadsheet applications show (and write)
  // leading, trailing and repeated blanks as they stand, beside the ones
  // <text:s> spells out; <text:tab> and <text:line-break> are characters.
  for (;;) {
    Token t = r_->Next();
    if (t == Token::Error || t == Token::End) return false;
    if (t == Token::EndElement) {
      if (r_->depth() == depth) break;
      continue;
    }
    if (t == Token::Text) {
      r_->AppendText(out);
      continue;
    }
    std::string_view name = r_->local();
    if (name == "s") {
      int64_t n = std::min<int64_t>(Count("c"), 1 << 16);
      out->append(static_cast<size_t>(n), ' ');
    } else if (name == "tab") {
      out->push_back('\t');
    } else if (name == "line-break") {
      out->push_back('\n');
    } else if (name == "note" || name == "annotation" || name == "ruby-text" ||
               name == "tracked-changes") {
      if (!r_->SkipElement()) return false;
      continue;
    } else {
      continue;  // spans, links and the like: their text is the cell's
    }
    if (r_->selfClosing()) r_->Next();
    else if (!r_->SkipElement()) return false;
  }
  return true;
}

bool OdsReader::ReadCellText(std::string* out) {
  if (r_->selfClosing()) return r_->SkipElement();
  const size_t depth = r_->depth();
  bool first = true;
  for (;;) {
    Token t = r_->Next();
    if (t == Token::Error || t == Token::End) return false;
    if (t == Token::EndElement && r_->depth() == depth) return true;
    if (t != Token::StartElement) continue;
    if (r_->local() == "p" || r_->local() == "h") {
      if (!first) out->push_back('\n');
      first = false;
      if (!ReadParagraph(out)) return false;
    } else if (!r_->SkipElement()) {  // annotations, frames, ...
      return false;
    }
  }
}

bool OdsReader::ReadCell(int32_t col, std::vector<RowCell>* cells, int32_t* width) {
  int64_t repeat = Count("number-columns-repeated");
  std::string valueType, calcType, value, stringValue;
  bool hasStringValue = false, hasFormula = false;
  for (const xml::Attribute& a : r_->attributes()) {
    if (a.local == "value-type") {
      if (a.prefix == "calcext") calcType = r_->Value(a, &scratch_);
      else valueType = r_->Value(a, &scratch_);
    } else if (a.local == "value" || a.local == "date-value" || a.local == "time-value" ||
               a.local == "boolean-value") {
      value = r_->Value(a, &scratch_);
    } else if (a.local == "formula") {
      hasFormula = true;
    } else if (a.local == "string-value") {
      stringValue = r_->Value(a, &scratch_);
      hasStringValue = true;
    }
  }
  text_.clear();
  if (!ReadCellText(&text_)) return XmlFail();
  if (valueType.empty()) valueType = calcType;

  RowCell cell{col, 0, 0.0, 0, CellType::Empty};
  auto textCell = [&](const std::string& s, CellType type) {
    cell.type = type;
    if (type == CellType::Error) {
      cell.textId = detail::InternError(book_, &errorIds_, s);
    } else {
      cell.textId = static_cast<uint32_t>(book_->strings.size());
      book_->strings.push_back(s);
    }
  };
  // Writers without an error type (gnumeric) store a formula's error as
  // its literal text.
  const bool formulaError = hasFormula && valueType == "string" && IsErrorLiteral(text_);
  double v;
  if (calcType == "error" || formulaError) {
    textCell(text_, CellType::Error);
  } else if (valueType == "float" || valueType == "percentage" || valueType == "currency") {
    if (detail::ParseNumber(value, &v)) {
      cell.type = CellType::Number;
      cell.number = v;
    } else if (!text_.empty()) {
      textCell(text_, CellType::Text);
    }
  } else if (valueType == "date") {
    if (detail::ParseIsoDateTime(value, &v) && v >= 0 && v <= detail::kMaxOleDate) {
      cell.type = CellType::DateTime;
      cell.number = v;
    } else if (!text_.empty()) {
      textCell(text_, CellType::Text);
    }
  } else if (valueType == "time") {
    if (detail::ParseIsoDuration(value, &v)) {
      cell.type = v >= 0 && v <= detail::kMaxOleDate ? CellType::DateTime : CellType::Number;
      cell.number = v;
    } else if (!text_.empty()) {
      textCell(text_, CellType::Text);
    }
  } else if (valueType == "boolean") {
    cell.type = CellType::Boolean;
    cell.number = (value == "true" || value == "1") ? 1.0 : 0.0;
  } else if (valueType == "string") {
    textCell(hasStringValue ? stringValue : text_, CellType::Text);
  } else if (!text_.empty()) {
    textCell(text_, CellType::Text);
  }

  if (cell.type == CellType::Empty) {
    // Empty repeats (often up to the last column) cost nothing.
    *width = static_cast<int32_t>(std::min<int64_t>(repeat, kMaxCol + int64_t{1}));
    return true;
  }
  if (col - 1 + repeat > kMaxCol) return Fail("表格的列数超出范围");
  cell.repeat = static_cast<int32_t>(repeat);
  cells->push_back(cell);
  *width = cell.repeat;
  return true;
}

bool OdsReader::ReadRow(const std::string& where, int32_t* row) {
  int64_t repeat = Count("number-rows-repeated");
  if (Hidden()) detail::AddSpan(&book_->sheets.back().hiddenRows, *row, *row + repeat - 1, kMaxRow);
  rowCells_.clear();
  int32_t col = 1;  // next column
  if (!r_->selfClosing()) {
    const size_t depth = r_->depth();
    for (;;) {
      Token t = r_->Next();
      if (t == Token::Error || t == Token::End) return XmlFail();
      if (t == Token::EndElement && r_->depth() == depth) break;
      if (t != Token::StartElement) continue;
      if (r_->local() == "table-cell" || r_->local() == "covered-table-cell") {
        int32_t width = 1;
        if (col > kMaxCol) {
          // Only empty cells can lie past the last column (ReadCell refuses
          // others); they need no place.
          if (!ReadCell(kMaxCol + 1, &rowCells_, &width)) return false;
        } else if (!ReadCell(col, &rowCells_, &width)) {
          return false;
        }
        col = static_cast<int32_t>(std::min<int64_t>(int64_t{col} + width, kMaxCol + int64_t{1}));
      } else if (!r_->SkipElement()) {
        return XmlFail();
      }
    }
  } else {
    r_->Next();
  }
  const int64_t first = *row;
  if (rowCells_.empty()) {
    *row = static_cast<int32_t>(std::min<int64_t>(first + repeat, kMaxRow + int64_t{1}));
    return true;
  }
  if (first - 1 + repeat > kMaxRow) return Fail(where + "的行数超出范围");
  size_t perRow = 0;
  for (const RowCell& c : rowCells_) perRow += static_cast<size_t>(c.repeat);
  if (perRow * static_cast<uint64_t>(repeat) > kMaxCells - totalCells_) {
    return Fail("工作簿的单元格太多，超出上限");
  }
  totalCells_ += perRow * static_cast<size_t>(repeat);
  auto& cells = book_->sheets.back().cells;
  cells.reserve(cells.size() + perRow * static_cast<size_t>(repeat));
  for (int64_t i = 0; i < repeat; ++i) {
    for (const RowCell& c : rowCells_) {
      for (int32_t k = 0; k < c.repeat; ++k) {
        cells.push_back(Cell{static_cast<int32_t>(first + i), c.col + k, c.number, c.textId, c.type});
      }
    }
  }
  *row = static_cast<int32_t>(first + repeat);
  return true;
}

bool OdsReader::ReadTable(Sheet* sheet) {
  const std::string where = detail::QuotedSheet(sheet->name);
  if (r_->selfClosing()) return r_->SkipElement();
  const size_t depth = r_->depth();
  int32_t row = 1;  // next row
  int64_t column = 1;  // next column described
  for (;;) {
    Token t = r_->Next();
    if (t == Token::Error || t == Token::End) return XmlFail();
    if (t == Token::EndElement && r_->depth() == depth) break;
    if (t != Token::StartElement) continue;
    std::string_view name = r_->local();
    if (name == "table-row") {
      if (row > kMaxRow) {
        // Past the last row only empty rows are allowed, and they are nothing.
        int32_t past = kMaxRow + 1;
        if (!ReadRow(where, &past)) return false;
      } else if (!ReadRow(where, &row)) {
        return false;
      }
    } else if (name == "table-column") {
      int64_t repeat = Count("number-columns-repeated");
      if (Hidden()) detail::AddSpan(&sheet->hiddenColumns, column, column + repeat - 1, kMaxCol);
      column += repeat;
      if (!r_->SkipElement()) return XmlFail();
    } else if (name == "table-header-rows" || name == "table-rows" || name == "table-row-group" ||
               name == "table-header-columns" || name == "table-columns" ||
               name == "table-column-group") {
      continue;  // wrappers: their rows or columns follow
    } else if (!r_->SkipElement()) {
      return XmlFail();
    }
  }
  detail::FinishSheet(sheet);
  detail::FinishVisibility(sheet);
  return true;
}

bool OdsReader::Read(std::string_view content) {
  xml::Reader reader(content);
  r_ = &reader;
  for (;;) {
    Token t = reader.Next();
    if (t == Token::End) break;
    if (t == Token::Error) return XmlFail();
    if (t != Token::StartElement || reader.local() != "table") continue;
    Sheet sheet;
    if (const xml::Attribute* a = reader.Find("name")) sheet.name = reader.Value(*a, &scratch_);
    book_->sheets.push_back(std::move(sheet));
    if (!ReadTable(&book_->sheets.back())) return false;
  }
  if (book_->sheets.empty()) return Fail("工作簿中没有工作表");
  return true;
}

// Whether the manifest says content.xml is encrypted (a package saved with
// a password keeps its manifest in the clear). A manifest that cannot be
// read says nothing: content.xml itself then tells what is wrong.
bool ContentEncrypted(zip::Archive* zip) {
  const zip::Entry* entry = zip->Find("META-INF/manifest.xml");
  std::string manifest, err, scratch;
  if (!entry || !zip->Extract(*entry, &manifest, &err)) return false;
  xml::Reader r(manifest);
  bool inContent = false;
  size_t entryDepth = 0;
  for (;;) {
    Token t = r.Next();
    if (t == Token::End || t == Token::Error) return false;
    if (t == Token::EndElement && inContent && r.depth() == entryDepth) inContent = false;
    if (t != Token::StartElement) continue;
    if (r.local() == "file-entry") {
      const xml::Attribute* path = r.Find("full-path");
      inContent = path && r.Value(*path, &scratch) == "content.xml";
      entryDepth = r.depth();
    } else if (inContent && r.local() == "encryption-data") {
      return true;
    }
  }
}

}  // namespace

bool ReadOds(std::string_view bytes, Workbook* out, std::string* error) {
  zip::Archive zip;
  if (!zip.Open(bytes, error)) return false;
  if (ContentEncrypted(&zip)) {
    *error = "ods 文件受密码保护（已加密），无法读取";
    return false;
  }
  const zip::Entry* entry = zip.Find("content.xml");
  if (!entry) {
    *error = "缺少部件 content.xml";
    return false;
  }
  std::string content, err;
  if (!zip.Extract(*entry, &content, &err)) {
    *error = "content.xml：" + err;
    return false;
  }
  OdsReader reader(out, error);
  return reader.Read(content);
}

}  // namespace qx::reader
