// Test workbooks (.xlsx) whose first sheet hides some of its cells from a
// spreadsheet application's search by values: hidden rows and columns,
// and cells whose number format shows nothing (";;;"). Every cell holds a
// value all the same, and the conversion must read every one.
#pragma once

#include <cstdint>
#include <algorithm>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "TestZip.h"
#include "runtime/encoding/Gbk.h"
#include "reader/Workbook.h"

namespace qx::test {

struct HiddenCellsBook {
  struct Value {
    int32_t row;
    int32_t col;
    std::string text;         // in the program's code page (GBK); a number when blankShown
    bool blankShown = false;  // format ";;;", its text a number then
  };
  std::vector<Value> values;
  std::vector<std::pair<int32_t, int32_t>> hiddenRows;     // [first, last]
  std::vector<std::pair<int32_t, int32_t>> hiddenColumns;  // [first, last]

  // Every row of a span hidden, each holding `text` + the row in `col`.
  HiddenCellsBook& HiddenRowsWithValues(int32_t first, int32_t last, int32_t col, const std::string& text) {
    hiddenRows.emplace_back(first, last);
    for (int32_t r = first; r <= last; ++r) values.push_back({r, col, text + std::to_string(r)});
    return *this;
  }

  std::string Xlsx() const {
    std::vector<Value> sorted = values;
    std::sort(sorted.begin(), sorted.end(), [](const Value& a, const Value& b) {
      return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    auto rowHidden = [&](int32_t r) {
      for (auto& s : hiddenRows)
        if (r >= s.first && r <= s.second) return true;
      return false;
    };
    std::string cols, data;
    for (auto& s : hiddenColumns)
      cols += "<col min=\"" + std::to_string(s.first) + "\" max=\"" + std::to_string(s.second) + "\" hidden=\"1\"/>";
    for (size_t i = 0; i < sorted.size();) {
      int32_t r = sorted[i].row;
      data += "<row r=\"" + std::to_string(r) + "\"" + (rowHidden(r) ? " hidden=\"1\"" : "") + ">";
      for (; i < sorted.size() && sorted[i].row == r; ++i) {
        const Value& v = sorted[i];
        std::string ref = reader::ColumnName(v.col) + std::to_string(v.row);
        if (v.blankShown)
          data += "<c r=\"" + ref + "\" s=\"1\"><v>" + v.text + "</v></c>";
        else
          data += "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + gbk::ToUtf8(v.text) + "</t></is></c>";
      }
      data += "</row>";
    }
    // Rows hidden without values still say so, as writers write them.
    for (auto& s : hiddenRows)
      for (int32_t r = s.first; r <= s.second; ++r) {
        bool has = false;
        for (const Value& v : values) has = has || v.row == r;
        if (!has) data.insert(RowInsertPoint(data, r), "<row r=\"" + std::to_string(r) + "\" hidden=\"1\"/>");
      }
    XlsxParts p;
    p.numFmts = "<numFmt numFmtId=\"164\" formatCode=\";;;\"/>";
    p.cellXfs = "<xf numFmtId=\"0\"/><xf numFmtId=\"164\"/>";
    p.sheetXml = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" +
                 (cols.empty() ? "" : "<cols>" + cols + "</cols>") + "<sheetData>" + data +
                 "</sheetData></worksheet>";
    return MakeXlsx(p);
  }

  bool WriteTo(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out << Xlsx();
    return static_cast<bool>(out);
  }

 private:
  // Where a row element for row `r` keeps the rows in order.
  static size_t RowInsertPoint(const std::string& data, int32_t r) {
    for (size_t at = data.find("<row r=\""); at != std::string::npos; at = data.find("<row r=\"", at + 1))
      if (std::stoi(data.substr(at + 8)) > r) return at;
    return data.size();
  }
};

}  // namespace qx::test
