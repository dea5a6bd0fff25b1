// .xls: the BIFF8 "Workbook" stream of a compound file, or the BIFF5 /
// BIFF7 "Book" stream of the files saved before it.
//
// The stream is a run of records (type, length, body). The globals come
// first (sheet list, shared strings, number formats, cell styles), then one
// substream per sheet at the offset its BOUNDSHEET record gives. Only the
// records that carry cell values are read; everything else is skipped by
// its length.
//
// BIFF8 keeps every string as UTF-16, its 8-bit "compressed" form holding
// only code points below 256, so CODEPAGE does not matter there. BIFF5 and
// BIFF7 keep byte strings in the code page that CODEPAGE names (936 in a
// Chinese workbook, whose bytes are then GBK), have no shared-string
// table and put text cells in LABEL and RSTRING records.
#include "reader/Xls.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "reader/Cfb.h"
#include "reader/CodePage.h"
#include "runtime/encoding/Gbk.h"
#include "reader/NumberFormat.h"
#include "reader/SheetUtil.h"
#include "reader/Visibility.h"

namespace qx::reader {
namespace {

enum : uint16_t {
  kRecFormula = 0x0006,
  kRecEof = 0x000A,
  kRecDateMode = 0x0022,
  kRecFilePass = 0x002F,
  kRecContinue = 0x003C,
  kRecColInfo = 0x007D,
  kRecBoundSheet = 0x0085,
  kRecMulRk = 0x00BD,
  kRecRString = 0x00D6,
  kRecXf = 0x00E0,
  kRecSst = 0x00FC,
  kRecLabelSst = 0x00FD,
  kRecNumber = 0x0203,
  kRecLabel = 0x0204,
  kRecBoolErr = 0x0205,
  kRecString = 0x0207,
  kRecRow = 0x0208,
  kRecRk = 0x027E,
  kRecFormat = 0x041E,
  kRecCodePage = 0x0042,
  // The FORMULA record's number before BIFF5, laid out as FORMULA is from
  // the cell on; some writers still use it in BIFF8 files.
  kRecFormulaOld = 0x0406,
  kRecBof = 0x0809,
};

constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kBiff5 = 0x0500;  // BIFF7 says the same
constexpr uint16_t kBofGlobals = 0x0005;
constexpr uint16_t kBofWorksheet = 0x0010;
constexpr int32_t kBiff8MaxCols = 256;
// ROW's fDyZero and COLINFO's fHidden: the row or the columns are hidden.
constexpr uint16_t kRowHidden = 0x0020;
constexpr uint16_t kColumnsHidden = 0x0001;
constexpr uint16_t kNoXf = 0xFFFF;
constexpr size_t kNone = static_cast<size_t>(-1);

// What a damaged file's messages start with.
constexpr char kNotValid[] = "不是有效的 xls 文件：";
// Sound files that cannot be read without their password.
constexpr char kEncrypted[] = "xls 文件受密码保护（已加密），无法读取";
// An encrypted .xlsx is a compound file holding the encrypted package.
constexpr char kEncryptedPackage[] = "xlsx 文件受密码保护（已加密），无法读取";

uint16_t Le16(const char* p) {
  return static_cast<uint16_t>(static_cast<uint8_t>(p[0]) |
                               static_cast<uint8_t>(p[1]) << 8);
}

// The worksheet files older than BIFF5 are a bare record stream, not a
// compound file; their BOF record's number tells the version.
const char* OldBiffVersion(std::string_view bytes) {
  if (bytes.size() < 8 || bytes[0] != 0x09) return nullptr;
  const uint16_t length = Le16(bytes.data() + 2);
  if (length < 4 || length > 16) return nullptr;
  switch (bytes[1]) {
    case 0x00: return "不支持的 xls 版本：这是 BIFF2 格式（1987 年前后的表格程序保存）的文件，只能读取 BIFF5 及以后的格式";
    case 0x02: return "不支持的 xls 版本：这是 BIFF3 格式（1990 年前后的表格程序保存）的文件，只能读取 BIFF5 及以后的格式";
    case 0x04: return "不支持的 xls 版本：这是 BIFF4 格式（1992 年前后的表格程序保存）的文件，只能读取 BIFF5 及以后的格式";
    default: return nullptr;
  }
}

uint32_t Le32(const char* p) {
  return static_cast<uint32_t>(static_cast<uint8_t>(p[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(p[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(p[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(p[3])) << 24;
}

double LeDouble(const char* p) {
  uint64_t bits = Le32(p) | static_cast<uint64_t>(Le32(p + 4)) << 32;
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

// RK: a compact number. Bit 1 says the upper 30 bits are a signed integer
// (otherwise they are the top 30 bits of a double); bit 0 says the value
// was multiplied by 100.
double RkValue(uint32_t rk) {
  double v;
  if (rk & 2) {
    v = static_cast<double>(static_cast<int32_t>(rk) >> 2);
  } else {
    uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&v, &bits, sizeof v);
  }
  return (rk & 1) ? v / 100 : v;
}

// The body of a record and of the CONTINUE records after it, read as one
// run of bytes, except that a character array cut by a record boundary
// goes on after a fresh option byte saying whether the rest is 8 or 16 bits
// per character.
class Continued {
 public:
  void Add(std::string_view body) {
    segs_.push_back(body);
    total_ += body.size();
  }
  size_t TotalSize() const { return total_; }

  bool AtEnd() {
    SkipEmpty();
    return seg_ >= segs_.size();
  }

  bool Read(void* dst, size_t n) {
    char* d = static_cast<char*>(dst);
    while (n > 0) {
      SkipEmpty();
      if (seg_ >= segs_.size()) return false;
      size_t take = std::min(n, segs_[seg_].size() - pos_);
      std::memcpy(d, segs_[seg_].data() + pos_, take);
      d += take;
      n -= take;
      pos_ += take;
    }
    return true;
  }

  bool Skip(uint64_t n) {
    while (n > 0) {
      SkipEmpty();
      if (seg_ >= segs_.size()) return false;
      size_t take = static_cast<size_t>(
          std::min<uint64_t>(n, segs_[seg_].size() - pos_));
      n -= take;
      pos_ += take;
    }
    return true;
  }

  bool U8(uint8_t* v) {
    char b;
    if (!Read(&b, 1)) return false;
    *v = static_cast<uint8_t>(b);
    return true;
  }
  bool U16(uint16_t* v) {
    char b[2];
    if (!Read(b, 2)) return false;
    *v = Le16(b);
    return true;
  }
  bool U32(uint32_t* v) {
    char b[4];
    if (!Read(b, 4)) return false;
    *v = Le32(b);
    return true;
  }

  // cch characters, 16-bit when highByte, into *out as UTF-16.
  bool Chars(uint32_t cch, bool highByte, std::u16string* out) {
    out->resize(cch);
    char16_t* d = out->data();
    while (cch > 0) {
      if (seg_ < segs_.size() && pos_ == segs_[seg_].size()) {
        // The array goes on in the next record, after a new option byte.
        // (A header ending exactly at a boundary is the same case.)
        ++seg_;
        pos_ = 0;
        if (seg_ >= segs_.size() || segs_[seg_].empty()) return false;
        highByte = (segs_[seg_][0] & 1) != 0;
        pos_ = 1;
      }
      if (seg_ >= segs_.size()) return false;
      std::string_view s = segs_[seg_].substr(pos_);
      const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
      if (highByte) {
        size_t n = std::min<size_t>(cch, s.size() / 2);
        if (n == 0) {
          // An odd byte before the boundary: no whole character fits;
          // drop it and go on in the next record.
          pos_ = segs_[seg_].size();
          continue;
        }
        // Little-endian on the page as in memory (every build's target).
        std::memcpy(d, p, 2 * n);
        d += n;
        cch -= static_cast<uint32_t>(n);
        pos_ += 2 * n;
      } else {
        size_t n = std::min<size_t>(cch, s.size());
        for (size_t i = 0; i < n; ++i) d[i] = p[i];
        d += n;
        cch -= static_cast<uint32_t>(n);
        pos_ += n;
      }
    }
    return true;
  }

 private:
  // Moves past exhausted segments, for plain byte reads (which, unlike
  // character arrays, carry no option byte across a boundary).
  void SkipEmpty() {
    while (seg_ < segs_.size() && pos_ >= segs_[seg_].size()) {
      ++seg_;
      pos_ = 0;
    }
  }

  std::vector<std::string_view> segs_;
  size_t seg_ = 0;
  size_t pos_ = 0;
  size_t total_ = 0;
};

struct Record {
  uint16_t type;
  std::string_view body;
};

class RecordCursor {
 public:
  RecordCursor(std::string_view stream, size_t pos)
      : s_(stream), pos_(pos) {}

  bool AtEnd() const { return pos_ >= s_.size(); }
  size_t pos() const { return pos_; }

  // False at the end of the stream or on a record cut short; *bad tells
  // which.
  bool Next(Record* r, bool* bad) {
    *bad = false;
    if (pos_ >= s_.size()) return false;
    if (s_.size() - pos_ < 4) {
      *bad = true;
      return false;
    }
    r->type = Le16(s_.data() + pos_);
    uint16_t len = Le16(s_.data() + pos_ + 2);
    if (s_.size() - pos_ - 4 < len) {
      *bad = true;
      return false;
    }
    r->body = s_.substr(pos_ + 4, len);
    pos_ += 4 + static_cast<size_t>(len);
    return true;
  }

  // Adds the bodies of the CONTINUE records that follow to *c.
  void TakeContinues(Continued* c) {
    while (s_.size() - pos_ >= 4 && Le16(s_.data() + pos_) == kRecContinue) {
      uint16_t len = Le16(s_.data() + pos_ + 2);
      if (s_.size() - pos_ - 4 < len) return;  // Next() reports it
      c->Add(s_.substr(pos_ + 4, len));
      pos_ += 4 + static_cast<size_t>(len);
    }
  }

 private:
  std::string_view s_;
  size_t pos_;
};

struct SheetInfo {
  uint32_t offset;
  uint8_t kind;  // 0 worksheet, 1 macro sheet, 2 chart, 6 VB module
  std::string name;  // UTF-8; before BIFF8, the bytes until CODEPAGE is known
};

// A FORMAT record's code as far as the record holds it: files exist whose
// string is a byte shorter than its count says. False when not even the
// header is there.
bool FormatCode(std::string_view body, bool biff5, std::string* bytes, bool* wide) {
  const size_t header = biff5 ? 3 : 5;
  if (body.size() < header) return false;
  size_t count = biff5 ? static_cast<uint8_t>(body[2]) : Le16(body.data() + 2);
  *wide = !biff5 && (body[4] & 1);
  std::string_view chars = body.substr(header);
  count = std::min(count, chars.size() / (*wide ? 2 : 1));
  bytes->assign(chars.substr(0, count * (*wide ? 2 : 1)));
  return true;
}

class BiffReader {
 public:
  BiffReader(std::string_view stream, Workbook* book)
      : stream_(stream), book_(book) {}

  bool unsupported() const { return unsupported_; }

  bool Read(std::string* error) {
    if (!ReadGlobals(error)) return false;
    // Sheets' substreams do not overlap in a sound file, so together they
    // span at most the stream. Counting what is read keeps a file whose
    // sheets all point into one big substream from costing its size times
    // the number of sheets; a sheet that fails counts what it read too.
    uint64_t budget = stream_.size();
    for (const SheetInfo& info : sheets_) {
      if (info.kind == 6) continue;  // code modules are not sheets
      Sheet sheet;
      sheet.name = info.name;
      if (info.kind == 0) {
        size_t used = 0;
        const size_t texts = book_->strings.size();
        std::string why;
        if (!ReadSheet(info, &sheet, &used, &why)) {
          // That sheet's loss alone: what it added goes again.
          sheet.failure = std::string(kNotValid) + detail::QuotedSheet(info.name) + "已损坏：" + why;
          sheet.cells = Cells();
          DropTextsFrom(texts);
        }
        if (used > budget) return Fail(error, "工作表的数据互相重叠");
        budget -= used;
      }
      book_->sheets.push_back(std::move(sheet));
    }
    if (book_->sheets.empty()) return Fail(error, "工作簿中没有工作表");
    return true;
  }

 private:
  static bool Fail(std::string* error, std::string what) {
    *error = std::move(what);
    return false;
  }

  // A sound file this reader cannot read: the message stands alone,
  // without the "not a valid file" lead.
  bool Unsupported(std::string* error, std::string what) {
    unsupported_ = true;
    return Fail(error, std::move(what));
  }

  static bool BadLength(std::string* error) {
    return Fail(error, "记录长度不符");
  }

  bool ReadGlobals(std::string* error) {
    RecordCursor cur(stream_, 0);
    Record r;
    bool bad;
    if (!cur.Next(&r, &bad) || r.type != kRecBof || r.body.size() < 4)
      return Fail(error, "工作簿流不以 BOF 记录开头");
    uint16_t version = Le16(r.body.data());
    if (version != kBiff8 && version != kBiff5)
      return Unsupported(error,
                         "不支持的 xls 版本：只能读取 BIFF5、BIFF7 和 BIFF8 格式"
                         "（1993 年以后的表格程序保存的 xls）");
    biff5_ = version == kBiff5;
    if (Le16(r.body.data() + 2) != kBofGlobals)
      return Fail(error, "工作簿流不以全局部分开头");

    std::vector<uint16_t> xfFormats;
    // Indexed by format id; a later FORMAT record for an id replaces an
    // earlier one.
    std::vector<std::string> formats;
    std::vector<uint8_t> wideFormats;  // BIFF8 codes held as UTF-16
    bool sawSst = false;
    bool ended = false;
    while (!ended && cur.Next(&r, &bad)) {
      const char* d = r.body.data();
      const size_t len = r.body.size();
      switch (r.type) {
        case kRecEof:
          ended = true;
          break;
        case kRecFilePass:
          return Unsupported(error, kEncrypted);
        case kRecCodePage:
          if (len >= 2) codePage_ = Le16(d);
          break;
        case kRecDateMode:
          if (len >= 2) date1904_ = Le16(d) != 0;
          break;
        case kRecBoundSheet: {
          if (len < 8) return BadLength(error);
          SheetInfo info;
          info.offset = Le32(d);
          info.kind = static_cast<uint8_t>(d[5]);
          Continued c;
          c.Add(r.body.substr(6));
          uint8_t cch, flags;
          if (biff5_) {  // the name's bytes, decoded once CODEPAGE is known
            if (!c.U8(&cch)) return Fail(error, "工作表名称记录不完整");
            info.name.resize(cch);
            if (!c.Read(info.name.data(), cch))
              return Fail(error, "工作表名称记录不完整");
          } else {
            if (!c.U8(&cch) || !c.U8(&flags) ||
                !c.Chars(cch, flags & 1, &u16_))
              return Fail(error, "工作表名称记录不完整");
            gbk::Utf16ToUtf8(u16_.data(), u16_.size(), &info.name);
          }
          sheets_.push_back(std::move(info));
          break;
        }
        case kRecFormat: {
          // A code that cannot be read leaves its cells in the general
          // format, as numbers.
          std::string code;
          bool wide;
          if (!FormatCode(r.body, biff5_, &code, &wide)) break;
          uint16_t id = Le16(d);
          if (formats.size() <= id) {
            formats.resize(id + 1u);
            wideFormats.resize(id + 1u);
          }
          formats[id] = std::move(code);
          wideFormats[id] = wide;
          break;
        }
        case kRecXf:
          if (len < 4) return BadLength(error);
          xfFormats.push_back(Le16(d + 2));
          break;
        case kRecSst: {
          if (sawSst) break;  // only the first table counts
          sawSst = true;
          Continued c;
          c.Add(r.body);
          cur.TakeContinues(&c);
          if (!ReadSst(&c, error)) return false;
          break;
        }
        default:
          break;
      }
    }
    if (!ended && bad) return Fail(error, "记录长度超出工作簿流末尾");
    // Byte strings are decoded once the code page is known.
    if (biff5_ && !IsKnownCodePage(codePage_)) {
      return Unsupported(error, "不支持的 xls 代码页：" + std::to_string(codePage_) +
                                    "（BIFF5、BIFF7 格式只能读取代码页 936 和 1252）");
    }
    for (size_t id = 0; id < formats.size(); ++id) {
      std::string& code = formats[id];
      if (wideFormats[id]) {
        u16_.resize(code.size() / 2);
        for (size_t i = 0; i < u16_.size(); ++i)
          u16_[i] = static_cast<char16_t>(Le16(code.data() + 2 * i));
        gbk::Utf16ToUtf8(u16_.data(), u16_.size(), &utf8_);
      } else if (biff5_) {
        DecodeCodePage(codePage_, code, &utf8_);
      } else {
        utf8_.clear();  // compressed UTF-16: the bytes are code points
        for (char ch : code) gbk::AppendUtf8(static_cast<unsigned char>(ch), &utf8_);
      }
      code = utf8_;
    }
    if (biff5_) {
      for (SheetInfo& info : sheets_) {
        DecodeCodePage(codePage_, info.name, &utf8_);
        info.name = utf8_;
      }
    }
    // Whether each cell style shows numbers as dates, decided once per
    // format id however many styles share it.
    std::vector<int8_t> isDate(formats.size(), -1);
    xfIsDate_.resize(xfFormats.size());
    xfHidden_.resize(xfFormats.size());
    for (size_t i = 0; i < xfFormats.size(); ++i) {
      uint16_t id = xfFormats[i];
      if (id >= formats.size()) {
        xfIsDate_[i] = IsDateFormat(id, {});
        continue;
      }
      xfHidden_[i] = HiddenValuesOf(formats[id]);
      if (isDate[id] < 0) isDate[id] = IsDateFormat(id, formats[id]) ? 1 : 0;
      xfIsDate_[i] = isDate[id] == 1;
    }
    return true;
  }

  bool ReadSst(Continued* c, std::string* error) {
    uint32_t total, unique;
    if (!c->U32(&total) || !c->U32(&unique))
      return Fail(error, "共享字符串表不完整");
    StringPool& pool = book_->strings;
    sstBase_ = static_cast<uint32_t>(pool.size());
    // The count is only a claim: at least three bytes of the table stand
    // behind each string, which bounds what is worth reserving. The texts
    // take at most twice the table's bytes as UTF-8 (one byte of Latin-1
    // two, two of UTF-16 three): room made once, instead of copies as the
    // pool doubles; pages never written cost nothing.
    pool.reserve(std::min<size_t>(unique, c->TotalSize() / 3), 2 * c->TotalSize());
    for (uint32_t i = 0; i < unique && !c->AtEnd(); ++i) {
      uint16_t cch;
      uint8_t flags;
      uint16_t runs = 0;
      uint32_t ext = 0;
      if (!c->U16(&cch) || !c->U8(&flags) ||
          ((flags & 0x08) && !c->U16(&runs)) ||
          ((flags & 0x04) && !c->U32(&ext)) ||
          !c->Chars(cch, flags & 1, &u16_) ||
          !c->Skip(4ull * runs + ext))
        return Fail(error, "共享字符串表不完整");
      gbk::Utf16ToUtf8(u16_.data(), u16_.size(), &utf8_);
      pool.push_back(utf8_);
    }
    sstCount_ = static_cast<uint32_t>(pool.size()) - sstBase_;
    return true;
  }

  uint32_t ErrorText(uint8_t code) {
    static const struct {
      uint8_t code;
      const char* text;
    } kErrors[] = {{0x00, "#NULL!"}, {0x07, "#DIV/0!"}, {0x0F, "#VALUE!"},
                   {0x17, "#REF!"},  {0x1D, "#NAME?"},  {0x24, "#NUM!"},
                   {0x2A, "#N/A"}};
    size_t k = 6;  // codes this reader does not know show as #N/A
    for (size_t i = 0; i < std::size(kErrors); ++i)
      if (kErrors[i].code == code) k = i;
    if (errorIds_[k] == kNoText) {
      errorIds_[k] = static_cast<uint32_t>(book_->strings.size());
      book_->strings.emplace_back(kErrors[k].text);
    }
    return errorIds_[k];
  }

  // Forgets the texts from `count` on, and the shared ones among them.
  void DropTextsFrom(size_t count) {
    book_->strings.truncate(count);
    for (uint32_t& id : errorIds_)
      if (id != kNoText && id >= count) id = kNoText;
    if (emptyId_ != kNoText && emptyId_ >= count) emptyId_ = kNoText;
  }

  uint32_t EmptyText() {
    if (emptyId_ == kNoText) {
      emptyId_ = static_cast<uint32_t>(book_->strings.size());
      book_->strings.emplace_back();
    }
    return emptyId_;
  }

  // A string with a 16-bit length starting at `body` (BIFF8: unicode;
  // before: bytes in the code page), with any CONTINUE records that follow,
  // appended to the pool.
  bool PoolString(std::string_view body, RecordCursor* cur, uint32_t* id) {
    Continued c;
    c.Add(body);
    cur->TakeContinues(&c);
    uint16_t cch;
    uint8_t flags;
    if (biff5_) {
      if (!c.U16(&cch)) return false;
      bytes_.resize(cch);
      if (!c.Read(bytes_.data(), cch)) return false;
      DecodeCodePage(codePage_, bytes_, &utf8_);
    } else {
      if (!c.U16(&cch) || !c.U8(&flags) || !c.Chars(cch, flags & 1, &u16_))
        return false;
      gbk::Utf16ToUtf8(u16_.data(), u16_.size(), &utf8_);
    }
    *id = static_cast<uint32_t>(book_->strings.size());
    book_->strings.push_back(utf8_);
    return true;
  }

  double NumberFor(uint16_t xf, double v, CellType* type) const {
    double ole;
    if (xf < xfIsDate_.size() && xfIsDate_[xf] && detail::DateCellToOle(v, date1904_, &ole)) {
      *type = CellType::DateTime;
      return ole;
    }
    *type = CellType::Number;
    return v;
  }

  // Counts the values a sheet substream holds, so that its cell vector is
  // allocated once.
  size_t CountCells(size_t offset) const {
    RecordCursor cur(stream_, offset);
    Record r;
    bool bad;
    size_t n = 0;
    int depth = 0;
    while (cur.Next(&r, &bad)) {
      if (r.type == kRecBof) {
        ++depth;
      } else if (r.type == kRecEof) {
        if (--depth <= 0) break;
      } else if (depth == 1) {
        switch (r.type) {
          case kRecMulRk:
            if (r.body.size() >= 6) n += (r.body.size() - 6) / 6;
            break;
          case kRecLabelSst:
          case kRecLabel:
          case kRecRString:
          case kRecNumber:
          case kRecRk:
          case kRecBoolErr:
          case kRecFormula:
          case kRecFormulaOld:
            ++n;
            break;
          default:
            break;
        }
      }
    }
    return n;
  }

  // *used: how many bytes of the stream the substream took, read as far
  // as it could be when it fails.
  bool ReadSheet(const SheetInfo& info, Sheet* sheet, size_t* used,
                 std::string* error) {
    RecordCursor cur(stream_, info.offset);
    const bool ok = ReadSheetRecords(info, &cur, sheet, error);
    *used = cur.pos() > info.offset ? cur.pos() - info.offset : 0;
    return ok;
  }

  bool ReadSheetRecords(const SheetInfo& info, RecordCursor* cur, Sheet* sheet,
                        std::string* error) {
    Record r;
    bool bad;
    if (info.offset >= stream_.size() || !cur->Next(&r, &bad) ||
        r.type != kRecBof || r.body.size() < 4)
      return Fail(error, "位置无效，那里不是工作表的开头");
    // A sheet listed as a worksheet may still hold a chart or macros.
    if (Le16(r.body.data() + 2) != kBofWorksheet) return true;

    Cells& cells = sheet->cells;
    cells.reserve(CountCells(info.offset));
    size_t pendingString = kNone;
    int depth = 0;  // inside an embedded chart's own BOF..EOF
    auto add = [&](uint16_t row, uint16_t col, double number,
                   uint32_t textId, CellType type, uint16_t xf = kNoXf) {
      if (col >= kBiff8MaxCols) return;
      cells.push_back(Cell{static_cast<int32_t>(row) + 1,
                           static_cast<int32_t>(col) + 1, number, textId,
                           type});
      if (xf < xfHidden_.size() && xfHidden_[xf] &&
          (type == CellType::Text ? HidesText(xfHidden_[xf])
                                  : type != CellType::Boolean && type != CellType::Error &&
                                        HidesNumber(xfHidden_[xf], number)))
        sheet->blankShown.push_back(CellPlace{row + 1, col + 1});
    };
    while (cur->Next(&r, &bad)) {
      const char* d = r.body.data();
      const size_t len = r.body.size();
      if (r.type == kRecBof) {
        ++depth;
        continue;
      }
      if (r.type == kRecEof) {
        if (depth == 0) break;
        --depth;
        continue;
      }
      if (depth > 0) continue;
      switch (r.type) {
        case kRecLabelSst: {
          if (len < 10) return BadLength(error);
          uint32_t isst = Le32(d + 6);
          if (isst >= sstCount_) return Fail(error, "共享字符串索引越界");
          pendingString = kNone;
          add(Le16(d), Le16(d + 2), 0, sstBase_ + isst, CellType::Text, Le16(d + 4));
          break;
        }
        case kRecNumber: {
          if (len < 14) return BadLength(error);
          CellType type;
          double v = NumberFor(Le16(d + 4), LeDouble(d + 6), &type);
          pendingString = kNone;
          add(Le16(d), Le16(d + 2), v, 0, type, Le16(d + 4));
          break;
        }
        case kRecRk: {
          if (len < 10) return BadLength(error);
          CellType type;
          double v = NumberFor(Le16(d + 4), RkValue(Le32(d + 6)), &type);
          pendingString = kNone;
          add(Le16(d), Le16(d + 2), v, 0, type, Le16(d + 4));
          break;
        }
        case kRecMulRk: {
          if (len < 12) return BadLength(error);
          uint16_t row = Le16(d);
          uint32_t col = Le16(d + 2);
          size_t n = (len - 6) / 6;
          for (size_t i = 0; i < n && col + i < kBiff8MaxCols; ++i) {
            const char* p = d + 4 + 6 * i;
            CellType type;
            double v = NumberFor(Le16(p), RkValue(Le32(p + 2)), &type);
            add(row, static_cast<uint16_t>(col + i), v, 0, type, Le16(p));
          }
          pendingString = kNone;
          break;
        }
        case kRecLabel:
        case kRecRString: {
          if (len < (biff5_ ? 8u : 9u)) return BadLength(error);
          uint32_t id;
          if (!PoolString(r.body.substr(6), cur, &id))
            return Fail(error, "文本单元格记录不完整");
          pendingString = kNone;
          add(Le16(d), Le16(d + 2), 0, id, CellType::Text, Le16(d + 4));
          break;
        }
        case kRecBoolErr: {
          if (len < 8) return BadLength(error);
          pendingString = kNone;
          uint8_t v = static_cast<uint8_t>(d[6]);
          if (d[7])
            add(Le16(d), Le16(d + 2), 0, ErrorText(v), CellType::Error);
          else
            add(Le16(d), Le16(d + 2), v ? 1 : 0, 0, CellType::Boolean);
          break;
        }
        case kRecFormula:
        case kRecFormulaOld: {
          if (len < 20) return BadLength(error);
          pendingString = kNone;
          uint16_t row = Le16(d), col = Le16(d + 2);
          const char* val = d + 6;
          if (static_cast<uint8_t>(val[6]) != 0xFF ||
              static_cast<uint8_t>(val[7]) != 0xFF) {
            CellType type;
            double v = NumberFor(Le16(d + 4), LeDouble(val), &type);
            add(row, col, v, 0, type, Le16(d + 4));
            break;
          }
          switch (val[0]) {
            case 0:  // text, in the STRING record that follows
              if (col < kBiff8MaxCols) pendingString = cells.size();
              add(row, col, 0, EmptyText(), CellType::Text);
              break;
            case 1:
              add(row, col, val[2] ? 1 : 0, 0, CellType::Boolean);
              break;
            case 2:
              add(row, col, 0, ErrorText(static_cast<uint8_t>(val[2])),
                  CellType::Error);
              break;
            case 3:
              add(row, col, 0, EmptyText(), CellType::Text);
              break;
            default:
              break;
          }
          break;
        }
        // Only what is hidden is read of these: a short one is passed over.
        case kRecRow:
          if (len >= 16 && (Le16(d + 12) & kRowHidden))
            detail::AddSpan(&sheet->hiddenRows, Le16(d) + 1, Le16(d) + 1, kMaxRow);
          break;
        case kRecColInfo:
          if (len >= 10 && (Le16(d + 8) & kColumnsHidden))
            detail::AddSpan(&sheet->hiddenColumns, Le16(d) + 1, Le16(d + 2) + 1, kBiff8MaxCols);
          break;
        case kRecString: {
          uint32_t id;
          if (pendingString == kNone) break;
          if (!PoolString(r.body, cur, &id))
            return Fail(error, "公式文本记录不完整");
          cells[pendingString].textId = id;
          pendingString = kNone;
          break;
        }
        default:
          break;
      }
    }
    if (bad) return Fail(error, "记录长度超出工作簿流末尾");
    SortCells(&cells);
    detail::FinishVisibility(sheet);
    return true;
  }

  // Writers emit cells row by row, so the vector is nearly always sorted
  // already; when not, a stable sort keeps repeats in file order and the
  // last of each wins.
  static void SortCells(Cells* cells) {
    auto less = [](const Cell& a, const Cell& b) {
      return a.row != b.row ? a.row < b.row : a.col < b.col;
    };
    bool strictly = true;
    for (size_t i = 1; i < cells->size() && strictly; ++i)
      strictly = less((*cells)[i - 1], (*cells)[i]);
    if (strictly) return;
    std::stable_sort(cells->begin(), cells->end(), less);
    size_t out = 0;
    for (size_t i = 0; i < cells->size(); ++i) {
      if (i + 1 < cells->size() && !less((*cells)[i], (*cells)[i + 1]))
        continue;  // a later cell at the same place replaces this one
      (*cells)[out++] = (*cells)[i];
    }
    cells->resize(out);
  }

  static constexpr uint32_t kNoText = 0xFFFFFFFF;

  std::string_view stream_;
  Workbook* book_;
  bool unsupported_ = false;
  bool biff5_ = false;        // BIFF5 or BIFF7: byte strings, no SST
  uint16_t codePage_ = 1252;  // what a file without CODEPAGE was saved in
  std::vector<SheetInfo> sheets_;
  std::vector<bool> xfIsDate_;
  std::vector<uint8_t> xfHidden_;  // HiddenValues of each style's format
  bool date1904_ = false;
  uint32_t sstBase_ = 0;
  uint32_t sstCount_ = 0;
  uint32_t errorIds_[7] = {kNoText, kNoText, kNoText, kNoText,
                           kNoText, kNoText, kNoText};
  uint32_t emptyId_ = kNoText;
  std::u16string u16_;  // scratch for every string, to spare allocations
  std::string utf8_;    // scratch for the UTF-8 of each text before it is pooled
  std::string bytes_;   // scratch for a byte string before it is decoded
};

}  // namespace

bool IsOldBiff(std::string_view bytes) { return OldBiffVersion(bytes) != nullptr; }

bool ReadXls(std::string_view bytes, Workbook* out, std::string* error) {
  return ReadXls(bytes, out, error, BadSheets::FailTheRead);
}

bool ReadXls(std::string_view bytes, Workbook* out, std::string* error, BadSheets badSheets) {
  if (const char* old = OldBiffVersion(bytes)) {
    *error = old;
    return false;
  }
  cfb::CompoundFile file;
  std::string why;
  if (!file.Open(bytes, &why)) {
    *error = kNotValid + why;
    return false;
  }
  int index = file.FindStream(u"Workbook");
  if (index < 0) index = file.FindStream(u"Book");
  if (index < 0) {
    if (file.FindStream(u"EncryptedPackage") >= 0 && file.FindStream(u"EncryptionInfo") >= 0)
      *error = kEncryptedPackage;
    else
      *error = std::string(kNotValid) + "找不到工作簿流";
    return false;
  }
  std::string storage;
  std::string_view stream;
  if (!file.ViewStream(file.entries()[index], &storage, &stream, &why)) {
    *error = kNotValid + why;
    return false;
  }
  Workbook book;
  BiffReader reader(stream, &book);
  if (!reader.Read(&why)) {
    *error = reader.unsupported() ? why : kNotValid + why;
    return false;
  }
  if (!detail::ApplyBadSheets(book, badSheets, error)) return false;
  *out = std::move(book);
  return true;
}

}  // namespace qx::reader
