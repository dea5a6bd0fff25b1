#include "reader/Csv.h"

#include "runtime/encoding/Gbk.h"
#include "reader/SheetUtil.h"

namespace qx::reader {

bool ReadCsv(std::string_view bytes, std::string_view sheetName, Workbook* out,
             std::string* error) {
  std::string converted;
  std::string_view text = bytes;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  } else if (!gbk::IsValidUtf8(text)) {
    // Not UTF-8, so the file is in the system's code page. Separators,
    // quotes and line ends never occur inside a GBK character.
    converted = gbk::ToUtf8(text);
    text = converted;
  }

  out->sheets.emplace_back();
  Sheet& sheet = out->sheets.back();
  sheet.name = sheetName.empty() ? "Sheet1" : std::string(sheetName);

  const size_t n = text.size();
  size_t i = 0;
  int32_t row = 1, col = 1;
  std::string field;
  while (i < n) {
    // One field, starting at i.
    field.clear();
    if (text[i] == '"') {
      ++i;
      for (;;) {
        size_t q = text.find('"', i);
        if (q == std::string_view::npos) {  // unterminated: the rest is the field
          field.append(text.substr(i));
          i = n;
          break;
        }
        field.append(text.substr(i, q - i));
        i = q + 1;
        if (i < n && text[i] == '"') {
          field.push_back('"');
          ++i;
          continue;
        }
        break;
      }
      // Anything between the closing quote and the separator is kept, as
      // spreadsheet programs do.
      while (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n') field.push_back(text[i++]);
    } else {
      size_t end = i;
      while (end < n && text[end] != ',' && text[end] != '\r' && text[end] != '\n') ++end;
      field.assign(text.substr(i, end - i));
      i = end;
    }
    if (!field.empty()) {
      if (row > kMaxRow || col > kMaxCol) {
        *error = row > kMaxRow ? "CSV 文件的行数超出范围" : "CSV 文件的列数超出范围";
        return false;
      }
      if (sheet.cells.size() >= detail::kMaxCells) {
        *error = "CSV 文件的单元格太多，超出上限";
        return false;
      }
      sheet.cells.push_back(Cell{row, col, 0.0, static_cast<uint32_t>(out->strings.size()), CellType::Text});
      out->strings.push_back(field);
    }
    if (i >= n) break;
    if (text[i] == ',') {
      ++i;
      ++col;
      if (i == n) break;  // a trailing separator adds only an empty field
    } else {
      // CR LF, LF or CR.
      if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      ++i;
      ++row;
      col = 1;
    }
  }
  return true;
}

}  // namespace qx::reader
