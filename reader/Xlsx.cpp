#include "reader/Xlsx.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

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

bool XlsxReader::ReadSharedStrings(std::string_view part) {
  // A workbook without any text has no such part.
  const zip::Entry* entry = zip_.Find(part);
  if (!entry) return true;
  const uint64_t partSize = entry->uncompressedSize;
  return StreamPart(part, *entry, [&](xml::Reader& r) {
    std::string text;
    for (;;) {
      Token t = r.Next();
      if (t == Token::End) break;
      if (t == Token::Error) return XmlFail(r, part);
      if (t != Token::StartElement) continue;
      if (r.local() == "sst") {
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
        detail::DecodeOfficeEscapes(&text);
        book_->strings.push_back(text);
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

// "B12" to (12, 2). False for anything else or out of range.
bool ParseRef(std::string_view s, int32_t* row, int32_t* col) {
  size_t i = 0;
  int32_t c = 0;
  while (i < s.size() && i < 4) {
    char ch = s[i];
    if (ch >= 'A' && ch <= 'Z') {
      c = c * 26 + (ch - 'A' + 1);
    } else if (ch >= 'a' && ch <= 'z') {
      c = c * 26 + (ch - 'a' + 1);
    } else {
      break;
    }
    ++i;
  }
  if (i == 0 || c > kMaxCol || i == s.size() || s.size() - i > 7) return false;
  int32_t r = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    r = r * 10 + (s[i] - '0');
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

bool XlsxReader::ReadSheet(std::string_view part, Sheet* sheet) {
  const zip::Entry* entry = zip_.Find(part);
  if (!entry) return Fail("缺少" + detail::QuotedSheet(sheet->name) + "的部件 " + std::string(part));
  return StreamPart(SheetPart(*sheet, part), *entry, [&](xml::Reader& r) {
    return ReadCells(r, part, entry->uncompressedSize, sheet);
  });
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
  const std::string where = detail::QuotedSheet(sheet->name);
  auto xmlFail = [&] { return Fail(SheetPart(*sheet, part) + "的 XML 无效：" + r.error()); };
  size_t dataDepth = 0;
  int32_t row = 0, col = 0;
  std::string value, inlineText;
  for (;;) {
    Token t = r.Next();
    if (t == Token::End) break;
    if (t == Token::Error) return xmlFail();
    if (t == Token::EndElement) {
      if (dataDepth && r.depth() == dataDepth) dataDepth = 0;
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
          return Fail(where + "中的行号无效或超出范围");
        }
        row = static_cast<int32_t>(n);
      } else {
        if (row >= kMaxRow) return Fail(where + "的行数超出范围");
        ++row;
      }
      col = 0;
      if (IsTrue(r, "hidden")) detail::AddSpan(&sheet->hiddenRows, row, row, kMaxRow);
      continue;
    }
    if (name != "c") {
      if (!r.SkipElement()) return xmlFail();
      continue;
    }
    // A cell.
    uint64_t style = 0;
    if (const xml::Attribute* a = r.Find("r")) {
      if (!ParseRef(r.Value(*a, &scratch_), &row, &col)) {
        return Fail(where + "中的单元格地址无效或超出范围");
      }
    } else {
      if (row == 0) row = 1;
      if (col >= kMaxCol) return Fail(where + "的列数超出范围");
      ++col;
    }
    // Taken apart now: the window may move on while the cell is read.
    ValueType type = ValueType::Number;
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

    Cell cell{row, col, 0.0, 0, CellType::Empty};
    auto addText = [&](std::string* text) {
      detail::DecodeOfficeEscapes(text);
      cell.type = CellType::Text;
      cell.textId = static_cast<uint32_t>(book_->strings.size());
      book_->strings.push_back(*text);
    };
    if (type == ValueType::Inline || (hasInline && !hasValue)) {
      if (hasInline) {
        addText(&inlineText);
      } else if (hasValue) {
        addText(&value);
      }
    } else if (!hasValue || (value.empty() && type != ValueType::Str)) {
      // A formula without a cached result (openpyxl writes <v></v>) still
      // occupies its cell; a bare empty value is nothing.
      if (hasFormula) {
        value.clear();
        addText(&value);
      }
    } else if (type == ValueType::Shared) {
      uint64_t index;
      if (!detail::ParseUnsigned(std::string_view(value), &index) || index >= sharedCount_) {
        return Fail(where + "引用了不存在的共享字符串");
      }
      cell.type = CellType::Text;
      cell.textId = static_cast<uint32_t>(index);
    } else if (type == ValueType::Str) {
      addText(&value);
    } else if (type == ValueType::Boolean) {
      cell.type = CellType::Boolean;
      cell.number = (value == "1" || value == "true") ? 1.0 : 0.0;
    } else if (type == ValueType::Error) {
      cell.type = CellType::Error;
      cell.textId = detail::InternError(book_, &errorIds_, value);
    } else if (type == ValueType::Date) {
      // What cannot be read as a date stays the text it is, as an entry a
      // spreadsheet application cannot take for a date: that cell's loss,
      // not the workbook's.
      if (detail::ParseIsoDateTime(value, &cell.number)) {
        cell.type = CellType::DateTime;
      } else {
        addText(&value);
      }
    } else {
      double v;
      if (!detail::ParseNumber(value, &v)) return Fail(where + "中的数值无效：" + detail::ForMessage(value, 40));
      cell.number = v;
      cell.type = CellType::Number;
      if (style < dateStyle_.size() && dateStyle_[style] &&
          detail::DateCellToOle(v, date1904_, &cell.number)) {
        cell.type = CellType::DateTime;
      }
    }
    if (cell.type == CellType::Empty) continue;
    if (++totalCells_ > kMaxCells) return Fail("工作簿的单元格太多，" + where + "超出上限");
    cells.push_back(cell);
    if (style < hiddenStyle_.size() && hiddenStyle_[style] &&
        (cell.type == CellType::Text ? HidesText(hiddenStyle_[style])
                                     : (cell.type == CellType::Number || cell.type == CellType::DateTime) &&
                                           HidesNumber(hiddenStyle_[style], cell.number)))
      sheet->blankShown.push_back(CellPlace{row, col});
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
