#include "reader/Workbook.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <stdexcept>

#include "reader/Csv.h"
#include "reader/FileBytes.h"
#include "runtime/encoding/Gbk.h"
#include "reader/Ods.h"
#include "reader/Xls.h"
#include "reader/Xlsx.h"
#include "reader/Zip.h"

namespace qx::reader {
namespace {

constexpr std::string_view kCompoundFileSig = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::string_view kOdsMime = "application/vnd.oasis.opendocument.spreadsheet";

std::string LowerExtension(std::string_view fileName) {
  size_t slash = fileName.find_last_of("/\\");
  if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
  size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string ext(fileName.substr(dot + 1));
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext;
}

// No NUL and no control characters but the usual blanks near the start:
// text a spreadsheet program would import as delimited text.
bool LooksLikeText(std::string_view bytes) {
  if (bytes.empty()) return false;
  std::string_view head = bytes.substr(0, 8192);
  for (char ch : head) {
    auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1A) return false;
  }
  return true;
}

Format FormatOfZip(std::string_view bytes) {
  zip::Archive archive;
  std::string error;
  if (!archive.Open(bytes, &error)) return Format::Unknown;
  if (archive.Find("xl/workbook.xml")) return Format::Xlsx;
  if (const zip::Entry* mime = archive.Find("mimetype")) {
    std::string text;
    if (mime->uncompressedSize < 256 && archive.Extract(*mime, &text, &error) &&
        std::string_view(text).substr(0, kOdsMime.size()) == kOdsMime) {
      return Format::Ods;
    }
  }
  // A package whose workbook part lives elsewhere is found through its
  // relationships by the reader.
  if (archive.Find("[Content_Types].xml")) return Format::Xlsx;
  return Format::Unknown;
}

// The last part of a path; '/' and '\' both separate (the path is UTF-8
// here, where a '\' byte can be nothing else).
std::string_view BaseName(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// printf("%.15G") with a two-digit exponent everywhere (the Windows C
// library writes three).
std::string FormatNumber(double v) {
  if (v == 0 || !std::isfinite(v)) return "0";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15G", v);
  std::string s = buf;
  size_t e = s.find('E');
  if (e != std::string::npos && e + 2 < s.size()) {
    size_t digits = e + 2;  // after the sign
    while (s.size() - digits > 2 && s[digits] == '0') s.erase(digits, 1);
  }
  return s;
}

// civil_from_days after H. Hinnant; z counts days from 1970-01-01.
void CivilFromDays(int64_t z, int64_t* y, int* m, int* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *y = yoe + era * 400 + (*m <= 2);
}

// An OLE automation date as the Chinese locale shows it: "2024/1/15",
// "2024/1/15 13:45:30", or the time alone when the date part is 0.
std::string FormatOleDate(double v) {
  // OLE dates run from year 100 to 9999.
  if (!(v > -657435.0 && v < 2958466.0)) return FormatNumber(v);
  double dayPart = std::trunc(v);
  int64_t day = static_cast<int64_t>(dayPart);
  int64_t seconds = std::llround(std::fabs(v - dayPart) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    day += v < 0 ? -1 : 1;
  }
  char buf[64];
  int h = static_cast<int>(seconds / 3600), mi = static_cast<int>(seconds / 60 % 60),
      s = static_cast<int>(seconds % 60);
  if (day == 0) {
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", h, mi, s);
    return buf;
  }
  int64_t y;
  int m, d;
  CivilFromDays(day - 25569, &y, &m, &d);
  if (seconds == 0) {
    std::snprintf(buf, sizeof buf, "%lld/%d/%d", static_cast<long long>(y), m, d);
  } else {
    std::snprintf(buf, sizeof buf, "%lld/%d/%d %d:%02d:%02d", static_cast<long long>(y), m, d, h, mi, s);
  }
  return buf;
}

bool ReadAny(std::string_view bytes, Format format, std::string_view csvSheetName, Workbook* out,
             std::string* error, BadSheets badSheets) {
  *out = Workbook();
  error->clear();
  bool ok = false;
  try {
    switch (format) {
      case Format::Xlsx:
        ok = ReadXlsx(bytes, out, error, badSheets);
        break;
      case Format::Ods:
        ok = ReadOds(bytes, out, error);
        break;
      case Format::Xls:
        ok = ReadXls(bytes, out, error, badSheets);
        break;
      case Format::Csv:
        ok = ReadCsv(bytes, csvSheetName, out, error);
        break;
      case Format::Unknown:
        *error = "无法识别的文件格式（支持 .xlsx、.xls、.ods、.csv）";
        break;
    }
  } catch (const std::bad_alloc&) {
    *error = "内存不足，无法读取工作簿";
    ok = false;
  } catch (const std::length_error&) {
    *error = "内存不足，无法读取工作簿";
    ok = false;
  }
  if (!ok) {
    *out = Workbook();
    if (error->empty()) *error = "无法读取工作簿";
  }
  return ok;
}

}  // namespace

Format DetectFormat(std::string_view bytes, std::string_view fileName) {
  const std::string ext = LowerExtension(fileName);
  if (bytes.substr(0, kCompoundFileSig.size()) == kCompoundFileSig) return Format::Xls;
  if (IsOldBiff(bytes)) return Format::Xls;
  if (zip::HasZipSignature(bytes)) {
    Format f = FormatOfZip(bytes);
    if (f != Format::Unknown) return f;
    // A damaged package still goes to the reader its name promises, which
    // then says what is wrong with it.
    if (ext == "xlsx" || ext == "xlsm") return Format::Xlsx;
    if (ext == "ods") return Format::Ods;
    return Format::Unknown;
  }
  if (ext == "csv") return Format::Csv;
  if (LooksLikeText(bytes)) return Format::Csv;
  return Format::Unknown;
}

bool ReadWorkbook(std::string_view bytes, Format format, Workbook* out, std::string* error) {
  return ReadAny(bytes, format, "Sheet1", out, error, BadSheets::FailTheRead);
}

bool ReadWorkbook(std::string_view bytes, Format format, Workbook* out, std::string* error,
                  BadSheets badSheets) {
  return ReadAny(bytes, format, "Sheet1", out, error, badSheets);
}

bool OpenWorkbookFile(const std::string& pathGbk, Workbook* out, OpenFailure* why,
                      BadSheets badSheets) {
  *out = Workbook();
  *why = OpenFailure();
  ByteBlock block;
  if (!ReadFileBytes(pathGbk, &block, &why->code)) return false;
  const std::string_view bytes = block.view();
  const std::string pathUtf8 = gbk::ToUtf8(pathGbk);
  std::string_view name = BaseName(pathUtf8);
  Format format = DetectFormat(bytes, name);
  if (format == Format::Unknown) {
    why->code = OpenFailureCode::kNotAWorkbook;
    return false;
  }
  // A CSV sheet is named after its file, without the extension.
  std::string_view stem = name.substr(0, std::min(name.size(), name.rfind('.')));
  if (!ReadAny(bytes, format, stem, out, &why->detail, badSheets)) {
    why->code = OpenFailureCode::kUnreadableContent;
    return false;
  }
  return true;
}

int FindSheet(const Workbook& book, std::string_view choice) {
  const size_t count = book.sheets.size();
  if (!choice.empty() && choice.size() <= 9 &&
      choice.find_first_not_of("0123456789") == std::string_view::npos) {
    size_t n = 0;
    for (char c : choice) n = n * 10 + static_cast<size_t>(c - '0');
    if (n >= 1 && n <= count) return static_cast<int>(n - 1);
  }
  for (size_t i = 0; i < count; ++i) {
    if (book.sheets[i].name == choice) return static_cast<int>(i);
  }
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (size_t i = 0; i < count; ++i) {
    const std::string& name = book.sheets[i].name;
    if (name.size() == choice.size() &&
        std::equal(name.begin(), name.end(), choice.begin(),
                   [&](char a, char b) { return lower(a) == lower(b); })) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

UsedRange GetUsedRange(const Sheet& sheet) {
  if (sheet.cells.empty()) return UsedRange{1, 1, 1, 1, true};
  int32_t minCol = sheet.cells.front().col, maxCol = minCol;
  for (const Cell& c : sheet.cells) {
    minCol = std::min(minCol, c.col);
    maxCol = std::max(maxCol, c.col);
  }
  const int32_t firstRow = sheet.cells.front().row;
  return UsedRange{firstRow, minCol, sheet.cells.back().row - firstRow + 1, maxCol - minCol + 1, false};
}

const Cell* FindCell(const Sheet& sheet, int32_t row, int32_t col) {
  auto it = std::lower_bound(sheet.cells.begin(), sheet.cells.end(), std::make_pair(row, col),
                             [](const Cell& c, const std::pair<int32_t, int32_t>& key) {
                               return c.row != key.first ? c.row < key.first : c.col < key.second;
                             });
  if (it == sheet.cells.end() || it->row != row || it->col != col) return nullptr;
  return &*it;
}

void CellDisplayTextInto(const Workbook& book, const Cell& cell, std::string* out) {
  switch (cell.type) {
    case CellType::Text:
      if (cell.textId < book.strings.size()) {
        // The window receives a cell's text through the platform's string
        // conversion, which stops at a NUL: the text ends there, and no NUL
        // ever reaches the document.
        gbk::FromUtf8UpToNul(book.strings[cell.textId], out);
        return;
      }
      break;
    case CellType::Number: *out = FormatNumber(cell.number); return;
    case CellType::Boolean: *out = cell.number != 0 ? "-1" : "0"; return;
    case CellType::DateTime: *out = FormatOleDate(cell.number); return;
    case CellType::Error:
    case CellType::Empty: break;
  }
  out->clear();
}

std::string CellDisplayText(const Workbook& book, const Cell& cell) {
  std::string out;
  CellDisplayTextInto(book, cell, &out);
  return out;
}

bool ParseCellAddress(std::string_view address, int32_t* row, int32_t* col) {
  size_t i = 0;
  int32_t c = 0;
  for (; i < address.size() && i < 4; ++i) {
    char ch = address[i];
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    if (ch < 'A' || ch > 'Z') break;
    c = c * 26 + (ch - 'A' + 1);
  }
  if (i == 0 || i == address.size() || c > kMaxCol) return false;
  int64_t r = 0;
  for (; i < address.size(); ++i) {
    char ch = address[i];
    if (ch < '0' || ch > '9') return false;
    r = r * 10 + (ch - '0');
    if (r > kMaxRow) return false;
  }
  if (r < 1) return false;
  *row = static_cast<int32_t>(r);
  *col = c;
  return true;
}

std::string ColumnName(int32_t col) {
  if (col < 1 || col > kMaxCol) return {};
  std::string name;
  while (col > 0) {
    int32_t rem = (col - 1) % 26;
    name.insert(name.begin(), static_cast<char>('A' + rem));
    col = (col - 1) / 26;
  }
  return name;
}

}  // namespace qx::reader
