#include "automation/server/SheetArea.h"

#include <algorithm>

#include "reader/Workbook.h"

namespace qx::sheets {
namespace {

// "$B$12" or "B12": the '$' may stand before the letters and before the
// digits, nowhere else.
bool ParseCell(std::string_view text, int32_t* row, int32_t* col) {
  std::string plain;
  size_t i = 0;
  if (i < text.size() && text[i] == '$') ++i;
  size_t letters = i;
  while (i < text.size() && ((text[i] >= 'A' && text[i] <= 'Z') || (text[i] >= 'a' && text[i] <= 'z'))) ++i;
  if (i == letters) return false;
  plain.append(text.substr(letters, i - letters));
  if (i < text.size() && text[i] == '$') ++i;
  if (i == text.size() || text[i] < '1' || text[i] > '9') return false;  // no sign, no leading zero
  plain.append(text.substr(i));
  return reader::ParseCellAddress(plain, row, col);
}

}  // namespace

bool ParseArea(std::string_view text, Area* area) {
  size_t colon = text.find(':');
  int32_t r1, c1, r2, c2;
  if (colon == std::string_view::npos) {
    if (!ParseCell(text, &r1, &c1)) return false;
    *area = Area{r1, c1, r1, c1};
    return true;
  }
  if (!ParseCell(text.substr(0, colon), &r1, &c1) || !ParseCell(text.substr(colon + 1), &r2, &c2))
    return false;
  *area = Area{std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)};
  return true;
}

Area UnionArea(const Area& a, const Area& b) {
  return Area{std::min(a.firstRow, b.firstRow), std::min(a.firstCol, b.firstCol),
              std::max(a.lastRow, b.lastRow), std::max(a.lastCol, b.lastCol)};
}

std::string FormatArea(const Area& area, bool rowAbsolute, bool colAbsolute) {
  auto cell = [&](int32_t row, int32_t col) {
    std::string s;
    if (colAbsolute) s += '$';
    s += reader::ColumnName(col);
    if (rowAbsolute) s += '$';
    s += std::to_string(row);
    return s;
  };
  std::string out = cell(area.firstRow, area.firstCol);
  if (area.lastRow != area.firstRow || area.lastCol != area.firstCol)
    out += ":" + cell(area.lastRow, area.lastCol);
  return out;
}

}  // namespace qx::sheets
