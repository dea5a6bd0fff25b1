// The workbook model that every file format is read into, and the questions
// the converter and the substitute spreadsheet server ask of it.
//
// No Windows here: this library builds natively and for the win32 product.
//
// Text: UTF-8 inside (sheet names, the string pool, failure details, this
// library's literals); GBK only at its edges, for the paths it is given and
// the cell texts CellDisplayText hands out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reader/LargeBlocks.h"
#include "reader/OpenFailure.h"
#include "reader/StringPool.h"

namespace qx::reader {

enum class CellType : uint8_t {
  Empty = 0,   // never stored; what FindCell's caller sees for a missing cell
  Text,        // textId indexes Workbook::strings
  Number,      // number
  Boolean,     // number is 0 or 1
  Error,       // textId indexes the error literal ("#N/A", "#DIV/0!", ...)
  DateTime,    // number is an OLE automation date (days since 1899-12-30)
};

// One cell that holds a value. Rows and columns count from 1, as a
// spreadsheet numbers them (A1 is row 1, column 1). Kept small: a sheet of
// a hundred thousand cells is a few megabytes.
struct Cell {
  int32_t row;
  int32_t col;
  double number;
  uint32_t textId;
  CellType type;
};

using Cells = std::vector<Cell, LargeAllocator<Cell>>;

// A run of rows or of columns, both ends included.
struct Span {
  int32_t first;
  int32_t last;
};

struct CellPlace {
  int32_t row;
  int32_t col;
};

struct Sheet {
  std::string name;  // UTF-8
  Cells cells;       // sorted by (row, col), no duplicates
  // What the sheet shows of its cells (reader/Visibility.h): the rows and
  // columns its user hid, sorted and apart, and the stored cells whose
  // number format shows their value as nothing, sorted by (row, col).
  std::vector<Span> hiddenRows = {};
  std::vector<Span> hiddenColumns = {};
  std::vector<CellPlace> blankShown = {};
  // Empty when the sheet was read; else one line (UTF-8) saying why it
  // could not be, naming the sheet. Such a sheet keeps its place and name
  // and holds no cells. (Given a default so that Sheet{name, cells} still
  // initialises every member.)
  std::string failure = {};
};

struct Workbook {
  std::vector<Sheet> sheets;         // in the workbook's own order
  StringPool strings;                // UTF-8 texts shared by all sheets
};

// Bounding box of the cells that hold a value (an error value counts,
// formatting alone does not). A sheet without values reports the single
// cell A1, as a spreadsheet application does, with empty set.
struct UsedRange {
  int32_t firstRow;
  int32_t firstCol;
  int32_t rowCount;
  int32_t colCount;
  bool empty;
};

enum class Format { Unknown, Xlsx, Xls, Ods, Csv };

// Largest row and column a sheet may address; anything beyond is refused
// as corrupt rather than allocated for.
constexpr int32_t kMaxRow = 1048576;
constexpr int32_t kMaxCol = 16384;

// Format from the file's first bytes, falling back to the name's extension
// (only CSV has no signature).
Format DetectFormat(std::string_view bytes, std::string_view fileName);

// What a sheet that cannot be read (its part damaged or missing, its
// records broken) does to the read of the workbook. Whatever the whole
// workbook needs (its package, its list of sheets, the shared texts) still
// fails the read either way.
enum class BadSheets {
  // The read fails with the first such sheet's reason.
  FailTheRead,
  // The read goes on: the sheet keeps its place and name, holds no cells,
  // and Sheet::failure says why. For a caller that reads one sheet and
  // lists the others.
  KeepListed,
};

// Reads a whole workbook from memory. On failure returns false and sets
// *error to one line saying what is wrong (without the file name). A sheet
// that cannot be read fails the read.
bool ReadWorkbook(std::string_view bytes, Format format, Workbook* out,
                  std::string* error);
bool ReadWorkbook(std::string_view bytes, Format format, Workbook* out,
                  std::string* error, BadSheets badSheets);

// Reads the file at pathGbk (a GBK path, as the window program holds it).
// On failure *why says what is wrong; it does not name the file. With
// BadSheets::FailTheRead a sheet that cannot be read fails the read, as
// kUnreadableContent with the sheet's failure as the detail.
bool OpenWorkbookFile(const std::string& pathGbk, Workbook* out, OpenFailure* why,
                      BadSheets badSheets = BadSheets::FailTheRead);

// The sheet a user names (UTF-8): its number counting from 1 in the
// workbook's order, or its name (exactly, else ignoring the case of ASCII
// letters, as spreadsheet applications compare sheet names). A name made
// of digits is taken as a number first. -1 when no sheet answers.
int FindSheet(const Workbook& book, std::string_view choice);

UsedRange GetUsedRange(const Sheet& sheet);

// The stored cell at (row, col), or null. Binary search.
const Cell* FindCell(const Sheet& sheet, int32_t row, int32_t col);

// The cell's text as the window program receives it from the spreadsheet
// application through the platform's value coercion under code page 936:
// GBK bytes; numbers as printf "%.15G" (0 for -0), booleans "-1"/"0",
// dates "2024/1/15", date-times "2024/1/15 13:45:30", times "13:45:00";
// empty for an error value; characters GBK cannot hold become '?'; a text
// ends at its first NUL character.
std::string CellDisplayText(const Workbook& book, const Cell& cell);
// The same into *out, reusing its buffer (the conversion calls this for
// every cell).
void CellDisplayTextInto(const Workbook& book, const Cell& cell, std::string* out);

// Parses an A1-style address ("B12", "AA3", case-insensitive, no '$').
// Returns false for anything else, including out-of-range rows/columns.
bool ParseCellAddress(std::string_view address, int32_t* row, int32_t* col);

// Column letters for a 1-based column number: 1 -> "A", 27 -> "AA".
std::string ColumnName(int32_t col);

}  // namespace qx::reader
