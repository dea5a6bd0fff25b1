#include "app/Conversion.h"

#include <charconv>

namespace qx::app {
namespace {

// Row prefixes are written before the row's first non-empty cell, and only
// then: rows after the last non-empty one (formatted but empty rows at the
// bottom of a used range, or the lone empty A1 of a blank sheet) leave
// nothing, while an empty row inside the data still leaves its prefix.
struct RowPrefixes {
  TextSink sink;
  int32_t nextRow = 1;  // first row whose prefix is not yet written

  void WriteThrough(int32_t row) {
    char prefix[24];
    for (; nextRow <= row; ++nextRow) {
      // The row number minus one as the runtime's number-to-text gives it
      // ("%.13g" of a double): for whole numbers below 10^13, which every
      // 32-bit row number is, that is its plain decimal digits.
      char* end = std::to_chars(prefix, prefix + sizeof prefix - 1, nextRow - 1).ptr;
      *end++ = ':';
      sink.append(sink.self, prefix, static_cast<size_t>(end - prefix));
    }
  }
};

// The line end joins the text, so that a cell reaches the sink in one piece.
// (Two bytes put one by one: appending them as a string costs a call.)
void AppendCell(TextSink sink, std::string* text) {
  text->push_back('\r');
  text->push_back('\n');
  sink.append(sink.self, text->data(), text->size());
}

}  // namespace

std::string ColumnLetters(int32_t column) {
  std::string letters;
  for (int64_t c = column; c > 0; c = (c - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return letters;
}

std::string CellAddress(int32_t row, int32_t column) {
  return ColumnLetters(column) + std::to_string(row);
}

bool ConvertWorksheet(const WorksheetSource& source, const std::string& pathGbk, TextSink sink,
                      OpenSheetFailure* why) {
  const WorksheetOps& ops = *source.ops;
  OpenSheetFailure unasked;
  if (!why) why = &unasked;
  *why = OpenSheetFailure();
  if (!ops.openFirstSheet(source.self, pathGbk, why)) return false;
  UsedRangeBox box = ops.usedRange(source.self);
  if (box.rowCount < 1 || box.columnCount < 1) return true;
  // Walked from A1 through the range's own last row and column, so a range
  // that starts further in loses neither its bottom nor its right edge.
  int64_t lastRow64 = static_cast<int64_t>(box.firstRow < 1 ? 1 : box.firstRow) + box.rowCount - 1;
  int64_t lastColumn64 =
      static_cast<int64_t>(box.firstColumn < 1 ? 1 : box.firstColumn) + box.columnCount - 1;
  int32_t lastRow = lastRow64 > INT32_MAX ? INT32_MAX : static_cast<int32_t>(lastRow64);
  int32_t lastColumn = lastColumn64 > INT32_MAX ? INT32_MAX : static_cast<int32_t>(lastColumn64);

  RowPrefixes prefixes{sink};
  std::string text;
  if (ops.nextStoredCell) {
    int32_t row = 1, column = 1;
    while (ops.nextStoredCell(source.self, row, column, lastRow, lastColumn, &row, &column)) {
      text.clear();
      ops.cellText(source.self, row, column,
                   ops.ignoresAddress ? "" : CellAddress(row, column).c_str(), &text);
      if (!text.empty()) {
        prefixes.WriteThrough(row);
        AppendCell(sink, &text);
      }
      if (column >= lastColumn) {
        if (row >= lastRow) break;
        ++row;
        column = 1;
      } else {
        ++column;
      }
    }
    return true;
  }
  for (int32_t row = 1; row <= lastRow; ++row) {
    for (int32_t column = 1; column <= lastColumn; ++column) {
      text.clear();
      ops.cellText(source.self, row, column, CellAddress(row, column).c_str(), &text);
      if (text.empty()) {
        if (column == INT32_MAX) break;
        continue;
      }
      prefixes.WriteThrough(row);
      AppendCell(sink, &text);
      if (column == INT32_MAX) break;
    }
    if (row == INT32_MAX) break;
  }
  return true;
}

bool ConvertWorksheetToText(const WorksheetSource& source, const std::string& pathGbk,
                            std::string* text, OpenSheetFailure* why) {
  TextSink sink = {[](void* self, const char* bytes, size_t n) {
                     static_cast<std::string*>(self)->append(bytes, n);
                   },
                   text};
  return ConvertWorksheet(source, pathGbk, sink, why);
}

}  // namespace qx::app
