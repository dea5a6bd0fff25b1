#include "reader/SheetUtil.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "reader/ByteScan.h"
#include "runtime/encoding/Gbk.h"

namespace qx::reader::detail {

void FinishSheet(Sheet* sheet) {
  auto& cells = sheet->cells;
  auto before = [](const Cell& a, const Cell& b) {
    return a.row != b.row ? a.row < b.row : a.col < b.col;
  };
  bool ordered = true;
  for (size_t i = 1; i < cells.size(); ++i) {
    if (!before(cells[i - 1], cells[i])) {
      ordered = false;
      break;
    }
  }
  if (ordered) return;
  std::stable_sort(cells.begin(), cells.end(), before);
  // Of equal positions keep the last one written.
  size_t out = 0;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (out > 0 && cells[out - 1].row == cells[i].row && cells[out - 1].col == cells[i].col) {
      cells[out - 1] = cells[i];
    } else {
      cells[out++] = cells[i];
    }
  }
  cells.resize(out);
}

int64_t OleDayNumber(int64_t y, int m, int d) {
  // Days from civil, after H. Hinnant's algorithm; 1970-01-01 is day 0 there
  // and OLE day 25569.
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + 25569;
}

double SerialToOle(double serial, bool date1904) {
  if (date1904) return serial + 1462;
  if (serial >= 1 && serial < 61) return serial + 1;
  return serial;
}

bool DateCellToOle(double serial, bool date1904, double* ole) {
  if (!(serial >= 0)) return false;
  double v = SerialToOle(serial, date1904);
  if (v > kMaxOleDate) return false;
  *ole = v;
  return true;
}

namespace {

bool TakeDigits(std::string_view s, size_t* at, size_t count, int* value) {
  if (s.size() - *at < count) return false;
  int v = 0;
  for (size_t i = 0; i < count; ++i) {
    char c = s[*at + i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *value = v;
  *at += count;
  return true;
}

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) return 29;
  return kDays[m - 1];
}

}  // namespace

bool ParseIsoDateTime(std::string_view s, double* ole) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  size_t at = 0;
  int y, mo, d, h = 0, mi = 0, sec = 0;
  double frac = 0;
  // A time of day alone ("10:10:10") is that fraction of day 0.
  const bool timeOnly = s.size() >= 5 && s[2] == ':';
  if (timeOnly) {
    y = 1899, mo = 12, d = 30;
  } else if (!TakeDigits(s, &at, 4, &y) || at >= s.size() || s[at++] != '-' ||
      !TakeDigits(s, &at, 2, &mo) || at >= s.size() || s[at++] != '-' ||
      !TakeDigits(s, &at, 2, &d)) {
    return false;
  }
  if (mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo)) return false;
  if (timeOnly || (at < s.size() && (s[at] == 'T' || s[at] == ' '))) {
    if (!timeOnly) ++at;
    if (!TakeDigits(s, &at, 2, &h) || at >= s.size() || s[at++] != ':' ||
        !TakeDigits(s, &at, 2, &mi)) {
      return false;
    }
    if (at < s.size() && s[at] == ':') {
      ++at;
      if (!TakeDigits(s, &at, 2, &sec)) return false;
      if (at < s.size() && (s[at] == '.' || s[at] == ',')) {
        double scale = 0.1;
        ++at;
        while (at < s.size() && s[at] >= '0' && s[at] <= '9') {
          frac += (s[at++] - '0') * scale;
          scale /= 10;
        }
      }
    }
    if (h > 24 || mi > 59 || sec > 60) return false;
  }
  // A zone suffix (Z, +08:00) is ignored: the cell shows local wall time.
  if (at < s.size() && s[at] != 'Z' && s[at] != '+' && s[at] != '-') return false;
  *ole = static_cast<double>(OleDayNumber(y, mo, d)) + (h * 3600 + mi * 60 + sec + frac) / 86400.0;
  return true;
}

bool ParseIsoDuration(std::string_view s, double* days) {
  bool negative = false;
  if (!s.empty() && s[0] == '-') {
    negative = true;
    s.remove_prefix(1);
  }
  if (s.empty() || s[0] != 'P') return false;
  size_t at = 1;
  bool inTime = false, any = false;
  double total = 0;  // seconds
  while (at < s.size()) {
    if (s[at] == 'T') {
      inTime = true;
      ++at;
      continue;
    }
    size_t start = at;
    while (at < s.size() && ((s[at] >= '0' && s[at] <= '9') || s[at] == '.')) ++at;
    if (at == start || at >= s.size()) return false;
    double v;
    if (!ParseNumber(s.substr(start, at - start), &v)) return false;
    char unit = s[at++];
    if (!inTime && unit == 'D') {
      total += v * 86400;
    } else if (!inTime && unit == 'W') {
      total += v * 7 * 86400;
    } else if (inTime && unit == 'H') {
      total += v * 3600;
    } else if (inTime && unit == 'M') {
      total += v * 60;
    } else if (inTime && unit == 'S') {
      total += v;
    } else {
      return false;  // years and months have no fixed length
    }
    any = true;
  }
  if (!any) return false;
  *days = (negative ? -total : total) / 86400.0;
  return true;
}

bool ParseNumber(std::string_view s, double* value) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  double v = 0;
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

bool ParseUnsigned(std::string_view s, uint64_t* value) {
  if (s.empty() || s.size() > 19) return false;
  uint64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  *value = v;
  return true;
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The UTF-16 unit of an escape "_xHHHH_" at s[at] (n bytes), or -1.
int EscapeAt(const char* s, size_t n, size_t at) {
  if (at + 7 > n || s[at] != '_' || s[at + 1] != 'x' || s[at + 6] != '_') return -1;
  int v = 0;
  for (size_t i = at + 2; i < at + 6; ++i) {
    int h = HexValue(s[i]);
    if (h < 0) return -1;
    v = v * 16 + h;
  }
  return v;
}

}  // namespace

size_t DecodeOfficeEscapes(char* s, size_t n) {
  // Most texts hold no '_' at all.
  const char* found = FindByte(s, s + n, '_');
  if (found == s + n) return n;
  // An escape takes seven bytes and its character at most three (a pair
  // of them, fourteen for four): the text shrinks as it is decoded, and
  // the bytes written never overtake those still to read.
  size_t i = static_cast<size_t>(found - s), w = i;
  while (i < n) {
    int unit = s[i] == '_' ? EscapeAt(s, n, i) : -1;
    if (unit < 0) {
      s[w++] = s[i++];
      continue;
    }
    i += 7;
    uint32_t cp = static_cast<uint32_t>(unit);
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      int low = EscapeAt(s, n, i);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<uint32_t>(low) - 0xDC00);
        i += 7;
      } else {
        cp = 0xFFFD;
      }
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    char utf8[4];
    const size_t len = static_cast<size_t>(gbk::PutUtf8(cp, utf8) - utf8);
    std::memcpy(s + w, utf8, len);
    w += len;
  }
  return w;
}

void DecodeOfficeEscapes(std::string* text) {
  text->resize(DecodeOfficeEscapes(text->data(), text->size()));
}

std::string ForMessage(std::string_view text, size_t maxBytes) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (out.size() >= maxBytes && (c & 0xC0) != 0x80) {
      out += "…";
      break;
    }
    out += c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c);
  }
  return out;
}

std::string QuotedSheet(std::string_view name) {
  return "工作表“" + ForMessage(name, 93) + "”";  // 31 characters, a sheet name's limit
}

bool ApplyBadSheets(const Workbook& book, BadSheets badSheets, std::string* error) {
  if (badSheets == BadSheets::KeepListed) return true;
  for (const Sheet& sheet : book.sheets) {
    if (!sheet.failure.empty()) {
      *error = sheet.failure;
      return false;
    }
  }
  return true;
}

uint32_t InternError(Workbook* book, std::vector<uint32_t>* known, std::string_view literal) {
  for (uint32_t id : *known) {
    if (book->strings[id] == literal) return id;
  }
  // Real files know a handful of error literals; a file inventing
  // thousands just gets them stored without the search growing.
  if (known->size() >= 32) {
    book->strings.emplace_back(literal);
    return static_cast<uint32_t>(book->strings.size() - 1);
  }
  uint32_t id = static_cast<uint32_t>(book->strings.size());
  book->strings.emplace_back(literal);
  known->push_back(id);
  return id;
}

}  // namespace qx::reader::detail
