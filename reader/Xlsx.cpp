#include "reader/Xlsx.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "reader/ByteScan.h"
#include "reader/NumberFormat.h"
#include "reader/Visibility.h"
#include "reader/SheetUtil.h"
#include "reader/Xml.h"
#include "reader/Zip.h"
#include "reader/ZipStream.h"

namespace qx::reader {
namespace {

using detail::kMaxCells;
using xml::Token;

struct Relationship {
  std::string id;
  std::string type;
  std::string target;  // resolved part name, no leading '/'
};

struct SheetRef {
  std::string name;
  std::string relId;
};

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::string_view DirectoryOf(std::string_view part) {
  size_t slash = part.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : part.substr(0, slash + 1);
}

// A relationship target relative to the source part's folder, or absolute
// from the package root, to a normalised part name.
std::string ResolvePart(std::string_view baseDir, std::string_view target) {
  std::string joined;
  if (!target.empty() && target[0] == '/') {
    joined.assign(target.substr(1));
  } else {
    joined.assign(baseDir);
    joined.append(target);
  }
  std::vector<std::string_view> parts;
  std::string_view rest = joined;
  while (!rest.empty()) {
    size_t slash = rest.find('/');
    std::string_view seg = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (seg.empty() || seg == ".") continue;
    if (seg == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(seg);
  }
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out.push_back('/');
    out.append(parts[i]);
  }
  return out;
}

// "B12" to (12, 2). False for anything else or out of range.
inline bool ParseRef(std::string_view s, int32_t* row, int32_t* col) {
  const size_t n = s.size();
  size_t i = 0;
  int32_t c = 0;
  for (; i < n && i < 4; ++i) {
    // Upper and lower case alike: 'A' and 'a' differ in bit 5 only.
    const unsigned letter = (static_cast<unsigned char>(s[i]) | 0x20u) - unsigned{'a'};
    if (letter > 25) break;
    c = c * 26 + static_cast<int32_t>(letter) + 1;
  }
  if (i == 0 || c > kMaxCol || i == n || n - i > 7) return false;
  int32_t r = 0;
  for (; i < n; ++i) {
    const unsigned digit = static_cast<unsigned char>(s[i]) - unsigned{'0'};
    if (digit > 9) return false;
    r = r * 10 + static_cast<int32_t>(digit);
  }
  if (r < 1 || r > kMaxRow) return false;
  *row = r;
  *col = c;
  return true;
}

// A cell's t attribute. Any type not known here is read as a number, as
// "n" is.
enum class ValueType { Number, Shared, Str, Inline, Boolean, Error, Date };

ValueType TypeOf(std::string_view t) {
  if (t == "s") return ValueType::Shared;
  if (t == "str") return ValueType::Str;
  if (t == "inlineStr") return ValueType::Inline;
  if (t == "b") return ValueType::Boolean;
  if (t == "e") return ValueType::Error;
  if (t == "d") return ValueType::Date;
  return ValueType::Number;
}

// The bytes of a cell as nearly every writer spells it, taken apart:
//   <c r="B2" s="1" t="s"><v>12</v></c>
//   <c r="B2" t="inlineStr"><is><t>text</t></is></c>
//   <c r="B2" s="1"/>
// Attributes r, s and t only, each at most once, after one space each,
// with plain values in double quotes; a <v> whose text has no reference
// and no CR; an <is> holding one <t> (xml:space="preserve" allowed),
// whose text the caller reads (see PoolPlainText).
struct PlainCell {
  std::string_view ref, type, style;
  bool hasRef = false, hasType = false, hasStyle = false;
  enum Content : uint8_t { None, Value, Inline } content = None;
  std::string_view value;  // the <v>'s text
  size_t size = 0;         // bytes of the whole cell; for Inline, up to its text
};

// What in an attribute value the tokenizer would decode: a reference, and
// the blanks it turns into spaces; a '<', which it refuses; and the closing
// quote, where the scan of a value stops as well.
struct NotPlain {
  bool of[256] = {};
  constexpr NotPlain() {
    for (unsigned char c : {'&', '<', '\t', '\n', '\r', '"'}) of[c] = true;
  }
};
constexpr NotPlain kNotPlainOrQuote;

inline bool Take(std::string_view a, size_t* i, std::string_view literal) {
  if (a.size() - *i < literal.size() || std::memcmp(a.data() + *i, literal.data(), literal.size()) != 0) {
    return false;
  }
  *i += literal.size();
  return true;
}

// The cell at the start of `a`, whole; false for anything else, which the
// tokenizer then reads.
bool MatchPlainCell(std::string_view a, PlainCell* c) {
  size_t i = 0;
  if (!Take(a, &i, "<c")) return false;
  for (;;) {
    if (i >= a.size()) return false;
    const char ch = a[i];
    if (ch == '>') {
      ++i;
      break;
    }
    if (ch == '/') {
      if (!Take(a, &i, "/>")) return false;
      c->size = i;
      return true;
    }
    if (ch != ' ' || a.size() - i < 4 || a[i + 2] != '=' || a[i + 3] != '"') return false;
    const char name = a[i + 1];
    i += 4;
    const char* const begin = a.data() + i;
    // One pass, a byte a step: the values are a few bytes long ("B12",
    // "inlineStr"), too short for a vector search before the check.
    const char* quote = begin;
    while (quote < a.data() + a.size() && !kNotPlainOrQuote.of[static_cast<unsigned char>(*quote)]) ++quote;
    if (quote == a.data() + a.size() || *quote != '"') return false;
    const std::string_view value(begin, static_cast<size_t>(quote - begin));
    i += value.size() + 1;
    if (name == 'r' && !c->hasRef) {
      c->hasRef = true, c->ref = value;
    } else if (name == 't' && !c->hasType) {
      c->hasType = true, c->type = value;
    } else if (name == 's' && !c->hasStyle) {
      c->hasStyle = true, c->style = value;
    } else {
      return false;
    }
  }
  if (Take(a, &i, "<v>")) {
    c->content = PlainCell::Value;
    // Up to the '<' of its end tag, with no reference and no CR on the way.
    const char* const begin = a.data() + i;
    const char* const stop = FindAnyOf(begin, a.data() + a.size(), '<', '&', '\r');
    if (stop == a.data() + a.size() || *stop != '<') return false;
    c->value = std::string_view(begin, static_cast<size_t>(stop - begin));
    i += c->value.size();
    if (!Take(a, &i, "</v></c>")) return false;
  } else if (Take(a, &i, "<is><t>") || Take(a, &i, "<is><t xml:space=\"preserve\">")) {
    c->content = PlainCell::Inline;
  } else if (!Take(a, &i, "</c>")) {
    return false;
  }
  c->size = i;
  return true;
}

// Elements a plain cell opens at most: c, is, t.
constexpr size_t kPlainCellDepth = 3;

// An archive member as the XML reader's source.
class MemberSource : public xml::Source {
 public:
  explicit MemberSource(zip::EntryStream* stream) : stream_(stream) {}
  // A failure comes with nothing read.
  bool Read(char* dst, size_t room, size_t* got, std::string* error) override {
    *got = stream_->Read(dst, room);
    if (*got != 0 || !stream_->failed()) return true;
    *error = stream_->error();
    return false;
  }

 private:
  zip::EntryStream* stream_;
};

class XlsxReader {
 public:
  XlsxReader(std::string_view bytes, Workbook* out, std::string* error, size_t window)
      : bytes_(bytes), book_(out), error_(error), window_(window) {}

  bool Read();

 private:
  bool Fail(std::string message) {
    *error_ = std::move(message);
    return false;
  }
  bool XmlFail(const xml::Reader& r, std::string_view part) {
    return Fail("部件 " + std::string(part) + " 的 XML 无效：" + r.error());
  }
  // A sheet's part in a message: which sheet, and where it is kept.
  static std::string SheetPart(const Sheet& sheet, std::string_view part) {
    return detail::QuotedSheet(sheet.name) + "（部件 " + std::string(part) + "）";
  }
  // Extracts a part; missing parts are an error only when `required`.
  bool LoadPart(std::string_view name, bool required, std::string* data, bool* found);
  // Parses a large part as it inflates, with parse(xml::Reader&); damage
  // of the member is told as label + "：" + what is wrong.
  template <class Parse>
  bool StreamPart(std::string_view label, const zip::Entry& entry, Parse parse);
  bool ReadRelationships(std::string_view sourcePart, std::vector<Relationship>* rels);
  bool ReadWorkbookPart(std::string_view part, std::vector<SheetRef>* sheets);
  bool ReadSharedStrings(std::string_view part);
  bool ReadStyles(std::string_view part);
  bool ReadSheet(std::string_view part, Sheet* sheet);
  bool ReadCells(xml::Reader& r, std::string_view part, uint64_t partSize, Sheet* sheet);
  // Where a sheet's cells go, and where the last one was.
  struct SheetRead {
    Sheet* sheet;
    std::string where;  // the sheet as messages name it
    int32_t row = 0, col = 0;
  };
  // A sheet's failure: the sheet, what is wrong, and the text at fault.
  // Apart from the paths that call them, which stay lean.
  [[gnu::cold, gnu::noinline]] bool SheetFail(const SheetRead& s, const char* what, std::string_view text = {}) {
    return Fail(s.where + what + detail::ForMessage(text, 40));
  }
  [[gnu::cold, gnu::noinline]] bool TooManyCells(const SheetRead& s) {
    return Fail("工作簿的单元格太多，" + s.where + "超出上限");
  }
  // Moves to the cell at `ref`, or to the one after the last.
  inline bool PlaceCell(SheetRead* s, bool hasRef, std::string_view ref);
  // The cell of a <v> value (and formula): text, number, date and so on;
  // Empty when it holds nothing.
  bool ValueCell(SheetRead* s, ValueType type, uint64_t style, bool hasValue, std::string_view value,
                 bool hasFormula, Cell* cell);
  inline bool AddCell(SheetRead* s, const Cell& cell, uint64_t style);
  // Reads a plain cell (see MatchPlainCell) at the start of `a`: its size,
  // 0 when there is none there, kCellFailed when it is wrong.
  static constexpr size_t kCellFailed = static_cast<size_t>(-1);
  size_t ReadPlainCell(std::string_view a, SheetRead* s);
  // Reads a plain entry of the shared-string table at the start of `a`.
  size_t ReadPlainEntry(std::string_view a);
  // Decodes the text at a[at] into the pool as its next text, up to the
  // '<' that must start endTags; returns the offset past them, or 0 (and
  // the pool as it was) when the bytes are not that.
  size_t PoolPlainText(std::string_view a, size_t at, std::string_view endTags);
  // Elements a plain entry opens at most: si, t.
  static constexpr size_t kPlainEntryDepth = 2;
  // A text into the pool, its _xHHHH_ escapes decoded; its id.
  uint32_t PoolText(std::string_view text);
  // Appends the text of a rich-text container (<si>, <is>): the <t> of its
  // runs, without phonetic runs. The reader stands on its start element.
  bool ReadRichText(xml::Reader& r, std::string* out);

  std::string_view bytes_;
  Workbook* book_;
  std::string* error_;
  size_t window_;
  zip::Archive zip_;
  bool date1904_ = false;
  size_t sharedCount_ = 0;
  std::vector<uint8_t> dateStyle_;  // per cellXfs index
  std::vector<uint8_t> hiddenStyle_;  // per cellXfs index: HiddenValues of its format
  std::vector<uint32_t> errorIds_;
  size_t totalCells_ = 0;
  std::string scratch_;
};

bool XlsxReader::LoadPart(std::string_view name, bool required, std::string* data, bool* found) {
  const zip::Entry* e = zip_.Find(name);
  *found = e != nullptr;
  if (!e) return required ? Fail("缺少部件 " + std::string(name)) : true;
  std::string err;
  if (!zip_.Extract(*e, data, &err)) return Fail(std::string(name) + "：" + err);
  return true;
}

template <class Parse>
bool XlsxReader::StreamPart(std::string_view label, const zip::Entry& entry, Parse parse) {
  zip::EntryStream stream;
  std::string err;
  if (!zip_.OpenStream(entry, &stream, &err)) return Fail(std::string(label) + "：" + err);
  MemberSource source(&stream);
  xml::Reader r(&source, window_);
  if (parse(r)) return true;
  // A damaged member is what to report, whatever its bytes made the parse
  // stumble on first, as when a part was checked whole before its parse.
  if (!stream.Drain()) return Fail(std::string(label) + "：" + stream.error());
  return false;
}

bool XlsxReader::ReadRelationships(std::string_view sourcePart, std::vector<Relationship>* rels) {
  std::string relsName(DirectoryOf(sourcePart));
  relsName += "_rels/";
  relsName += sourcePart.substr(DirectoryOf(sourcePart).size());
  relsName += ".rels";
  std::string data;
  bool found;
  if (!LoadPart(relsName, false, &data, &found)) return false;
  if (!found) return true;
  xml::Reader r(data);
  std::string_view base = DirectoryOf(sourcePart);
  for (;;) {
    Token t = r.Next();
    if (t == Token::End) return true;
    if (t == Token::Error) return XmlFail(r, relsName);
    if (t != Token::StartElement || r.local() != "Relationship") continue;
    const xml::Attribute* id = r.Find("Id");
    const xml::Attribute* type = r.Find("Type");
    const xml::Attribute* target = r.Find("Target");
    const xml::Attribute* mode = r.Find("TargetMode");
    if (!id || !target) continue;
    if (mode && r.Value(*mode, &scratch_) == "External") continue;
    Relationship rel;
    rel.id = r.Value(*id, &scratch_);
    if (type) rel.type = r.Value(*type, &scratch_);
    rel.target = ResolvePart(sourcePart.empty() ? std::string_view() : base, r.Value(*target, &scratch_));
    rels->push_back(std::move(rel));
  }
}

bool XlsxReader::ReadWorkbookPart(std::string_view part, std::vector<SheetRef>* sheets) {
  std::string data;
  bool found;
  if (!LoadPart(part, true, &data, &found)) return false;
  xml::Reader r(data);
  for (;;) {
    Token t = r.Next();
    if (t == Token::End) return true;
    if (t == Token::Error) return XmlFail(r, part);
    if (t != Token::StartElement) continue;
    if (r.local() == "workbookPr") {
      if (const xml::Attribute* a = r.Find("date1904")) {
        std::string_view v = r.Value(*a, &scratch_);
        date1904_ = v == "1" || v == "true";
      }
    } else if (r.local() == "sheet") {
      SheetRef s;
      if (const xml::Attribute* a = r.Find("name")) s.name = r.Value(*a, &scratch_);
      // r:id; the prefix varies between writers, the local name does not.
      for (const xml::Attribute& a : r.attributes()) {
        if (a.local == "id" && !a.prefix.empty()) s.relId = r.Value(a, &scratch_);
      }
      detail::DecodeOfficeEscapes(&s.name);
      sheets->push_back(std::move(s));
    }
  }
}

bool XlsxReader::ReadRichText(xml::Reader& r, std::string* out) {
  if (r.selfClosing()) return r.SkipElement();
  const size_t depth = r.depth();
  bool inText = false;
  size_t textDepth = 0;
  for (;;) {
    Token t = r.Next();
    if (t == Token::Error || t == Token::End) return false;
    if (t == Token::StartElement) {
      if (r.local() == "rPh") {
        if (!r.SkipElement()) return false;
      } else if (r.local() == "t" && !inText) {
        inText = true;
        textDepth = r.depth();
      }
    } else if (t == Token::EndElement) {
      if (r.depth() == depth) return true;
      if (inText && r.depth() == textDepth) inText = false;
    } else if (t == Token::Text && inText) {
      r.AppendText(out);
    }
  }
}

// An entry of the shared-string table as nearly every writer spells it:
// <si><t>text</t></si>, xml:space="preserve" allowed. Its size, or 0 when
// the bytes at the start of `a` are anything else, which the tokenizer
// then reads (a reference it would refuse included, to say so).
size_t XlsxReader::ReadPlainEntry(std::string_view a) {
  size_t i = 0;
  if (!(Take(a, &i, "<si><t>") || Take(a, &i, "<si><t xml:space=\"preserve\">"))) return 0;
  return PoolPlainText(a, i, "</t></si>");
}

size_t XlsxReader::PoolPlainText(std::string_view a, size_t at, std::string_view endTags) {
  // Room for the longest text taken so; a longer one is left to the
  // tokenizer, as a text cut by the window's end is.
  constexpr size_t kMostBytes = 16 * 1024;
  StringPool& pool = book_->strings;
  const char* const begin = a.data() + at;
  const char* const end = begin + std::min(a.size() - at, kMostBytes);
  char* out = pool.BeginText(static_cast<size_t>(end - begin));
  const char* stop;
  bool escapes;
  const size_t n = xml::DecodeText(begin, end, out, '_', &stop, &escapes);
  size_t i = static_cast<size_t>(stop - a.data());
  if (n == std::string_view::npos || stop == end || !Take(a, &i, endTags)) {
    pool.CancelText();
    return 0;
  }
  pool.EndText(escapes ? detail::DecodeOfficeEscapes(out, n) : n);
  return i;
}

bool XlsxReader::ReadSharedStrings(std::string_view part) {
  // A workbook without any text has no such part.
  const zip::Entry* entry = zip_.Find(part);
  if (!entry) return true;
  const uint64_t partSize = entry->uncompressedSize;
  return StreamPart(part, *entry, [&](xml::Reader& r) {
    std::string text;
    size_t sstDepth = 0;
    for (;;) {
      // In the table, the plain entries are read from the bytes until one
      // that is not (or the window's end) comes.
      if (sstDepth) {
        std::string_view ahead = r.Ahead();
        if (r.depth() == sstDepth && sstDepth + kPlainEntryDepth <= xml::Reader::kMaxDepth) {
          while (size_t used = ReadPlainEntry(ahead)) {
            r.Skip(used);
            ahead.remove_prefix(used);
          }
        }
      }
      Token t = r.Next();
      if (t == Token::End) break;
      if (t == Token::Error) return XmlFail(r, part);
      if (t != Token::StartElement) continue;
      if (r.local() == "sst") {
        if (!r.selfClosing()) sstDepth = r.depth();
        // A count in the file is a hint only; it is capped by what the part
        // could hold (an entry takes at least nine bytes: <si></si>).
        uint64_t n;
        const xml::Attribute* a = r.Find("uniqueCount");
        // Decoded text is never longer than the XML it is written in:
        // room made once, instead of copies as the pool doubles; pages
        // never written cost nothing.
        if (a && detail::ParseUnsigned(r.Value(*a, &scratch_), &n)) {
          book_->strings.reserve(static_cast<size_t>(std::min<uint64_t>(n, partSize / 9)),
                                 static_cast<size_t>(partSize));
        }
      } else if (r.local() == "si") {
        text.clear();
        if (!ReadRichText(r, &text)) return XmlFail(r, part);
        PoolText(text);
      }
    }
    // The pool grew by doubling; give the slack back before the sheets load.
    book_->strings.shrink_to_fit();
    sharedCount_ = book_->strings.size();
    return true;
  });
}

bool XlsxReader::ReadStyles(std::string_view part) {
  std::string data;
  bool found;
  if (!LoadPart(part, false, &data, &found)) return false;
  if (!found) return true;
  xml::Reader r(data);
  std::vector<std::pair<uint64_t, std::string>> codes;
  size_t xfsDepth = 0;
  for (;;) {
    Token t = r.Next();
    if (t == Token::End) return true;
    if (t == Token::Error) return XmlFail(r, part);
    if (t == Token::EndElement) {
      if (xfsDepth && r.depth() == xfsDepth) xfsDepth = 0;
      continue;
    }
    if (t != Token::StartElement) continue;
    if (r.local() == "numFmt") {
      const xml::Attribute* id = r.Find("numFmtId");
      const xml::Attribute* code = r.Find("formatCode");
      uint64_t n;
      if (id && code && detail::ParseUnsigned(r.Value(*id, &scratch_), &n)) {
        codes.emplace_back(n, std::string(r.Value(*code, &scratch_)));
      }
    } else if (r.local() == "cellXfs") {
      if (!r.selfClosing()) xfsDepth = r.depth();
    } else if (r.local() == "xf" && xfsDepth && r.depth() == xfsDepth + 1) {
      uint64_t n = 0;
      const xml::Attribute* id = r.Find("numFmtId");
      if (id) detail::ParseUnsigned(r.Value(*id, &scratch_), &n);
      std::string_view code;
      for (const auto& c : codes) {
        if (c.first == n) code = c.second;
      }
      int builtin = n > 1000 ? -1 : static_cast<int>(n);
      dateStyle_.push_back(IsDateFormat(builtin, code) ? 1 : 0);
      hiddenStyle_.push_back(HiddenValuesOf(code));
    }
  }
}

// A boolean attribute set as writers set it ("1" or "true").
bool IsTrue(const xml::Reader& r, std::string_view name) {
  const xml::Attribute* a = r.Find(name);
  if (!a) return false;
  std::string scratch;
  std::string_view v = r.Value(*a, &scratch);
  return v == "1" || v == "true";
}

bool XlsxReader::ReadSheet(std::string_view part, Sheet* sheet) {
  const zip::Entry* entry = zip_.Find(part);
  if (!entry) return Fail("缺少" + detail::QuotedSheet(sheet->name) + "的部件 " + std::string(part));
  return StreamPart(SheetPart(*sheet, part), *entry, [&](xml::Reader& r) {
    return ReadCells(r, part, entry->uncompressedSize, sheet);
  });
}

inline bool XlsxReader::PlaceCell(SheetRead* s, bool hasRef, std::string_view ref) {
  if (hasRef) return ParseRef(ref, &s->row, &s->col) || SheetFail(*s, "中的单元格地址无效或超出范围");
  if (s->row == 0) s->row = 1;
  if (s->col >= kMaxCol) return SheetFail(*s, "的列数超出范围");
  ++s->col;
  return true;
}

uint32_t XlsxReader::PoolText(std::string_view text) {
  const auto id = static_cast<uint32_t>(book_->strings.size());
  char* out = book_->strings.BeginText(text.size());
  std::memcpy(out, text.data(), text.size());
  book_->strings.EndText(detail::DecodeOfficeEscapes(out, text.size()));
  return id;
}

bool XlsxReader::ValueCell(SheetRead* s, ValueType type, uint64_t style, bool hasValue,
                           std::string_view value, bool hasFormula, Cell* cell) {
  auto text = [&](std::string_view t) {
    cell->type = CellType::Text;
    cell->textId = PoolText(t);
  };
  if (type == ValueType::Inline) {
    // A t="inlineStr" cell with a <v> instead of its <is>: the value is
    // its text.
    if (hasValue) text(value);
  } else if (!hasValue || (value.empty() && type != ValueType::Str)) {
    // A formula without a cached result (openpyxl writes <v></v>) still
    // occupies its cell; a bare empty value is nothing.
    if (hasFormula) text({});
  } else if (type == ValueType::Shared) {
    uint64_t index;
    if (!detail::ParseUnsigned(value, &index) || index >= sharedCount_) {
      return SheetFail(*s, "引用了不存在的共享字符串");
    }
    cell->type = CellType::Text;
    cell->textId = static_cast<uint32_t>(index);
  } else if (type == ValueType::Str) {
    text(value);
  } else if (type == ValueType::Boolean) {
    cell->type = CellType::Boolean;
    cell->number = (value == "1" || value == "true") ? 1.0 : 0.0;
  } else if (type == ValueType::Error) {
    cell->type = CellType::Error;
    cell->textId = detail::InternError(book_, &errorIds_, value);
  } else if (type == ValueType::Date) {
    // What cannot be read as a date stays the text it is, as an entry a
    // spreadsheet application cannot take for a date: that cell's loss,
    // not the workbook's.
    if (detail::ParseIsoDateTime(value, &cell->number)) {
      cell->type = CellType::DateTime;
    } else {
      text(value);
    }
  } else {
    double v;
    if (!detail::ParseNumber(value, &v)) return SheetFail(*s, "中的数值无效：", value);
    cell->number = v;
    cell->type = CellType::Number;
    if (style < dateStyle_.size() && dateStyle_[style] && detail::DateCellToOle(v, date1904_, &cell->number)) {
      cell->type = CellType::DateTime;
    }
  }
  return true;
}

inline bool XlsxReader::AddCell(SheetRead* s, const Cell& cell, uint64_t style) {
  if (cell.type == CellType::Empty) return true;
  if (++totalCells_ > kMaxCells) return TooManyCells(*s);
  // Stored field by field: the cell was just put together so on the
  // stack, and a copy of it whole would wait for those stores to land (a
  // load that spans several of them cannot take their values on the way).
  s->sheet->cells.emplace_back(cell.row, cell.col, cell.number, cell.textId, cell.type);
  // A value its number format shows as nothing is kept, and marked so.
  if (style < hiddenStyle_.size() && hiddenStyle_[style] &&
      (cell.type == CellType::Text ? HidesText(hiddenStyle_[style])
                                   : (cell.type == CellType::Number || cell.type == CellType::DateTime) &&
                                         HidesNumber(hiddenStyle_[style], cell.number)))
    s->sheet->blankShown.push_back(CellPlace{cell.row, cell.col});
  return true;
}


size_t XlsxReader::ReadPlainCell(std::string_view a, SheetRead* s) {
  PlainCell c;
  if (!MatchPlainCell(a, &c)) return 0;
  const ValueType type = c.hasType ? TypeOf(c.type) : ValueType::Number;
  uint64_t style = 0;
  if (c.hasStyle) detail::ParseUnsigned(c.style, &style);
  const uint32_t inlineId = static_cast<uint32_t>(book_->strings.size());
  if (c.content == PlainCell::Inline) {
    // Decoded straight into the pool; a reference the tokenizer would
    // refuse leaves the cell to it, to say so.
    c.size = PoolPlainText(a, c.size, "</t></is></c>");
    if (!c.size) return 0;
  }
  auto fail = [&] {
    book_->strings.truncate(inlineId);
    return kCellFailed;
  };
  if (!PlaceCell(s, c.hasRef, c.ref)) return fail();
  Cell cell{s->row, s->col, 0.0, 0, CellType::Empty};
  if (c.content == PlainCell::Inline) {
    cell.type = CellType::Text;
    cell.textId = inlineId;
  } else if (!ValueCell(s, type, style, c.content == PlainCell::Value, c.value, false, &cell)) {
    return fail();
  }
  if (!AddCell(s, cell, style)) return fail();
  return c.size;
}

bool XlsxReader::ReadCells(xml::Reader& r, std::string_view part, uint64_t partSize, Sheet* sheet) {
  auto& cells = sheet->cells;
  const size_t cellRoom = kMaxCells - std::min(totalCells_, kMaxCells);
  const size_t textsBefore = book_->strings.size(), bytesBefore = book_->strings.byteSize();
  // Growing by doubling would hold up to twice the cells and texts at the
  // peak. Once a first stretch of the rows has been read, the rest of the
  // part is taken to be alike and room is made for it.
  constexpr uint64_t kSampleBytes = 256 * 1024;
  uint64_t dataStart = 0;
  bool reserved = false;
  SheetRead s{sheet, detail::QuotedSheet(sheet->name)};
  auto xmlFail = [&] { return Fail(SheetPart(*sheet, part) + "的 XML 无效：" + r.error()); };
  size_t dataDepth = 0, rowDepth = 0;
  std::string value, inlineText;
  for (;;) {
    // Inside a row, the plain cells are read from the bytes until one that
    // is not (or the window's end) comes.
    if (rowDepth) {
      std::string_view ahead = r.Ahead();
      if (r.depth() == rowDepth && rowDepth + kPlainCellDepth <= xml::Reader::kMaxDepth) {
        while (size_t used = ReadPlainCell(ahead, &s)) {
          if (used == kCellFailed) return false;
          r.Skip(used);
          ahead.remove_prefix(used);
        }
      }
    }
    Token t = r.Next();
    if (t == Token::End) break;
    if (t == Token::Error) return xmlFail();
    if (t == Token::EndElement) {
      if (dataDepth && r.depth() == dataDepth) dataDepth = 0;
      if (rowDepth && r.depth() == rowDepth) rowDepth = 0;
      continue;
    }
    if (t != Token::StartElement) continue;
    std::string_view name = r.local();
    if (!dataDepth) {
      if (name == "sheetData" && !r.selfClosing()) {
        dataDepth = r.depth();
        dataStart = r.offset();
      } else if (name == "col" && IsTrue(r, "hidden")) {
        uint64_t first = 0, last = 0;
        const xml::Attribute* a = r.Find("min");
        if (a && detail::ParseUnsigned(r.Value(*a, &scratch_), &first) && (a = r.Find("max")) &&
            detail::ParseUnsigned(r.Value(*a, &scratch_), &last))
          detail::AddSpan(&sheet->hiddenColumns, static_cast<int64_t>(std::min<uint64_t>(first, kMaxCol + 1u)),
                          static_cast<int64_t>(std::min<uint64_t>(last, kMaxCol)), kMaxCol);
      }
      continue;
    }
    if (!reserved && r.offset() - dataStart >= kSampleBytes) {
      reserved = true;
      const uint64_t read = r.offset() - dataStart;
      const double rest = partSize > r.offset() ? double(partSize - r.offset()) / double(read) * 1.0625 : 0;
      const size_t more = static_cast<size_t>(double(cells.size()) * rest) + 16;
      cells.reserve(std::min(cells.size() + more, cellRoom));
      book_->strings.reserve(
          std::min(static_cast<size_t>(double(book_->strings.size() - textsBefore) * rest), more),
          static_cast<size_t>(double(book_->strings.byteSize() - bytesBefore) * rest));
    }
    if (name == "row") {
      const xml::Attribute* a = r.Find("r");
      uint64_t n;
      if (a) {
        if (!detail::ParseUnsigned(r.Value(*a, &scratch_), &n) || n < 1 || n > uint64_t(kMaxRow)) {
          return Fail(s.where + "中的行号无效或超出范围");
        }
        s.row = static_cast<int32_t>(n);
      } else {
        if (s.row >= kMaxRow) return Fail(s.where + "的行数超出范围");
        ++s.row;
      }
      s.col = 0;
      if (IsTrue(r, "hidden")) detail::AddSpan(&sheet->hiddenRows, s.row, s.row, kMaxRow);
      if (!r.selfClosing()) rowDepth = r.depth();
      continue;
    }
    if (name != "c") {
      if (!r.SkipElement()) return xmlFail();
      continue;
    }
    // A cell as the tokenizer gives it.
    const xml::Attribute* ref = r.Find("r");
    if (!PlaceCell(&s, ref != nullptr, ref ? r.Value(*ref, &scratch_) : std::string_view())) return false;
    // Taken apart now: the window may move on while the cell is read.
    ValueType type = ValueType::Number;
    uint64_t style = 0;
    if (const xml::Attribute* a = r.Find("t")) type = TypeOf(r.Value(*a, &scratch_));
    if (const xml::Attribute* a = r.Find("s")) detail::ParseUnsigned(r.Value(*a, &scratch_), &style);
    bool hasValue = false, hasInline = false, hasFormula = false;
    value.clear();
    inlineText.clear();
    if (!r.selfClosing()) {
      const size_t cellDepth = r.depth();
      for (;;) {
        Token u = r.Next();
        if (u == Token::Error || u == Token::End) return xmlFail();
        if (u == Token::EndElement && r.depth() == cellDepth) break;
        if (u != Token::StartElement) continue;
        if (r.local() == "v") {
          hasValue = true;
          if (r.selfClosing()) {
            r.Next();
            continue;
          }
          const size_t vDepth = r.depth();
          for (;;) {
            Token w = r.Next();
            if (w == Token::Error || w == Token::End) return xmlFail();
            if (w == Token::Text) r.AppendText(&value);
            if (w == Token::EndElement && r.depth() == vDepth) break;
          }
        } else if (r.local() == "is") {
          hasInline = true;
          if (!ReadRichText(r, &inlineText)) return xmlFail();
        } else {
          if (r.local() == "f") hasFormula = true;
          if (!r.SkipElement()) return xmlFail();
        }
      }
    } else {
      r.Next();  // the self-closed cell's end
    }
    Cell cell{s.row, s.col, 0.0, 0, CellType::Empty};
    if (hasInline && (type == ValueType::Inline || !hasValue)) {
      cell.type = CellType::Text;
      cell.textId = PoolText(inlineText);
    } else if (!ValueCell(&s, type, style, hasValue, value, hasFormula, &cell)) {
      return false;
    }
    if (!AddCell(&s, cell, style)) return false;
  }
  detail::FinishSheet(sheet);
  detail::FinishVisibility(sheet);
  return true;
}

bool XlsxReader::Read() {
  std::string err;
  if (!zip_.Open(bytes_, &err)) return Fail(err);

  // The package's root relationships name the workbook part; xl/workbook.xml
  // is where every writer puts it.
  std::string workbookPart = "xl/workbook.xml";
  std::vector<Relationship> rootRels;
  if (!ReadRelationships("", &rootRels)) return false;
  for (const Relationship& rel : rootRels) {
    if (EndsWith(rel.type, "/officeDocument") && zip_.Find(rel.target)) {
      workbookPart = rel.target;
      break;
    }
  }
  std::vector<SheetRef> sheetRefs;
  if (!ReadWorkbookPart(workbookPart, &sheetRefs)) return false;
  if (sheetRefs.empty()) return Fail("工作簿中没有工作表");

  std::vector<Relationship> rels;
  if (!ReadRelationships(workbookPart, &rels)) return false;
  std::string_view dir = DirectoryOf(workbookPart);
  std::string sharedPart = std::string(dir) + "sharedStrings.xml";
  std::string stylesPart = std::string(dir) + "styles.xml";
  for (const Relationship& rel : rels) {
    if (EndsWith(rel.type, "/sharedStrings")) sharedPart = rel.target;
    if (EndsWith(rel.type, "/styles")) stylesPart = rel.target;
  }
  if (!ReadSharedStrings(sharedPart)) return false;
  if (!ReadStyles(stylesPart)) return false;

  book_->sheets.reserve(sheetRefs.size());
  for (SheetRef& ref : sheetRefs) {
    Sheet& sheet = book_->sheets.emplace_back();
    sheet.name = std::move(ref.name);
    // An entry without a relationship id has no part: a macro sheet
    // saved without its cells keeps its place and name, and holds none.
    if (ref.relId.empty()) continue;
    const Relationship* rel = nullptr;
    for (const Relationship& r : rels) {
      if (r.id == ref.relId) rel = &r;
    }
    if (!rel) {
      sheet.failure = "找不到" + detail::QuotedSheet(sheet.name) + "的部件";
      continue;
    }
    // Chart sheets and dialog sheets keep their place in the order but
    // hold no cells.
    bool cellSheet = EndsWith(rel->type, "/worksheet") || EndsWith(rel->type, "/macrosheet") ||
                     EndsWith(rel->type, "/xlMacrosheet");
    if (!cellSheet) continue;
    // A sheet that cannot be read is that sheet's loss: what it had added
    // goes again, and the others are read as if it were not there.
    const size_t texts = book_->strings.size(), cellsBefore = totalCells_;
    if (!ReadSheet(rel->target, &sheet)) {
      sheet.failure = std::move(*error_);
      error_->clear();
      sheet.cells = Cells();
      book_->strings.truncate(texts);
      std::erase_if(errorIds_, [&](uint32_t id) { return id >= texts; });
      totalCells_ = cellsBefore;
    }
  }
  return true;
}

}  // namespace

bool ReadXlsx(std::string_view bytes, Workbook* out, std::string* error) {
  return ReadXlsx(bytes, out, error, xml::Reader::kDefaultWindow, BadSheets::FailTheRead);
}

bool ReadXlsx(std::string_view bytes, Workbook* out, std::string* error, BadSheets badSheets) {
  return ReadXlsx(bytes, out, error, xml::Reader::kDefaultWindow, badSheets);
}

bool ReadXlsx(std::string_view bytes, Workbook* out, std::string* error, size_t window,
              BadSheets badSheets) {
  XlsxReader reader(bytes, out, error, window);
  return reader.Read() && detail::ApplyBadSheets(*out, badSheets, error);
}

}  // namespace qx::reader
