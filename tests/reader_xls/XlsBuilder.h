// Builds BIFF8 records, workbook streams and compound files byte by byte,
// so that tests can make exactly the layout (or the damage) they need.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace qx::test {

inline std::string U8(uint8_t v) { return std::string(1, static_cast<char>(v)); }

inline std::string U16(uint16_t v) {
  std::string s(2, '\0');
  s[0] = static_cast<char>(v);
  s[1] = static_cast<char>(v >> 8);
  return s;
}

inline std::string U32(uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }

inline std::string F64(double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  return U32(static_cast<uint32_t>(bits)) +
         U32(static_cast<uint32_t>(bits >> 32));
}

inline void Put32(std::string* s, size_t at, uint32_t v) {
  s->replace(at, 4, U32(v));
}

// Characters of a string: 8-bit (compressed) or 16-bit.
inline std::string Chars(const std::u16string& s, bool wide) {
  std::string out;
  for (char16_t c : s) out += wide ? U16(c) : U8(static_cast<uint8_t>(c));
  return out;
}

inline bool NeedsWide(const std::u16string& s) {
  for (char16_t c : s)
    if (c > 0xFF) return true;
  return false;
}

// XLUnicodeString: 16-bit count, option byte, characters.
inline std::string XlStr(const std::u16string& s) {
  bool wide = NeedsWide(s);
  return U16(static_cast<uint16_t>(s.size())) + U8(wide ? 1 : 0) +
         Chars(s, wide);
}

inline std::string Rec(uint16_t type, const std::string& body) {
  return U16(type) + U16(static_cast<uint16_t>(body.size())) + body;
}

inline std::string Bof(uint16_t dt, uint16_t version = 0x0600) {
  return Rec(0x0809, U16(version) + U16(dt) + U16(0x0DBB) + U16(0x07CC) +
                         U32(0) + U32(0));
}
inline std::string Eof() { return Rec(0x000A, ""); }
inline std::string Continue(const std::string& body) {
  return Rec(0x003C, body);
}

inline std::string DateMode1904() { return Rec(0x0022, U16(1)); }

inline std::string Format(uint16_t id, const std::u16string& code) {
  return Rec(0x041E, U16(id) + XlStr(code));
}

inline std::string Xf(uint16_t formatId) {
  return Rec(0x00E0, U16(0) + U16(formatId) + std::string(16, '\0'));
}

// A table of shared strings in one record (no CONTINUE).
inline std::string Sst(const std::vector<std::u16string>& strings) {
  std::string body = U32(static_cast<uint32_t>(strings.size())) +
                     U32(static_cast<uint32_t>(strings.size()));
  for (const auto& s : strings) body += XlStr(s);
  return Rec(0x00FC, body);
}

inline std::string Cell(uint16_t row, uint16_t col, uint16_t xf) {
  return U16(row) + U16(col) + U16(xf);
}

inline std::string LabelSst(uint16_t row, uint16_t col, uint32_t isst,
                            uint16_t xf = 0) {
  return Rec(0x00FD, Cell(row, col, xf) + U32(isst));
}
inline std::string Label(uint16_t row, uint16_t col, const std::u16string& s,
                         uint16_t xf = 0) {
  return Rec(0x0204, Cell(row, col, xf) + XlStr(s));
}
inline std::string Number(uint16_t row, uint16_t col, double v,
                          uint16_t xf = 0) {
  return Rec(0x0203, Cell(row, col, xf) + F64(v));
}
inline std::string Rk(uint16_t row, uint16_t col, uint32_t rk,
                      uint16_t xf = 0) {
  return Rec(0x027E, Cell(row, col, xf) + U32(rk));
}
inline std::string MulRk(uint16_t row, uint16_t firstCol,
                         const std::vector<uint32_t>& rks, uint16_t xf = 0) {
  std::string body = U16(row) + U16(firstCol);
  for (uint32_t rk : rks) body += U16(xf) + U32(rk);
  body += U16(static_cast<uint16_t>(firstCol + rks.size() - 1));
  return Rec(0x00BD, body);
}
inline std::string BoolErr(uint16_t row, uint16_t col, uint8_t value,
                           bool isError, uint16_t xf = 0) {
  return Rec(0x0205, Cell(row, col, xf) + U8(value) + U8(isError ? 1 : 0));
}
// A formula whose parsed expression is a single constant token; only the
// cached value matters to the reader.
inline std::string FormulaRaw(uint16_t row, uint16_t col,
                              const std::string& value8, uint16_t xf = 0) {
  return Rec(0x0006, Cell(row, col, xf) + value8 + U16(0) + U32(0) + U16(3) +
                         U8(0x1E) + U16(1));
}
inline std::string FormulaNumber(uint16_t row, uint16_t col, double v,
                                 uint16_t xf = 0) {
  return FormulaRaw(row, col, F64(v), xf);
}
// Cached non-number results: kind 0 text, 1 boolean, 2 error, 3 empty text.
inline std::string FormulaSpecial(uint16_t row, uint16_t col, uint8_t kind,
                                  uint8_t value = 0, uint16_t xf = 0) {
  return FormulaRaw(row, col,
                    U8(kind) + U8(0) + U8(value) + U8(0) + U16(0) + U16(0xFFFF),
                    xf);
}
inline std::string StringRec(const std::u16string& s) {
  return Rec(0x0207, XlStr(s));
}

// RK encodings.
inline uint32_t RkInt(int32_t v, bool times100 = false) {
  return static_cast<uint32_t>(v) << 2 | 2u | (times100 ? 1u : 0u);
}
inline uint32_t RkDouble(double d, bool times100 = false) {
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  return (static_cast<uint32_t>(bits >> 32) & 0xFFFFFFFCu) |
         (times100 ? 1u : 0u);
}

struct SheetDef {
  std::u16string name;
  std::string cells;       // records between the sheet's BOF and EOF
  uint8_t kind = 0;        // BOUNDSHEET dt: 0 worksheet, 1 macro, 2 chart
  uint16_t bofType = 0x0010;
};

// A whole workbook stream: globals (BOF, `before`, one BOUNDSHEET per
// sheet, `after`, EOF), then the sheet substreams. With `reverse` the
// substreams are laid out in reverse order, so that the sheet order can
// only come from the BOUNDSHEET records.
inline std::string WorkbookStream(const std::vector<SheetDef>& sheets,
                                  const std::string& before = "",
                                  const std::string& after = "",
                                  bool reverse = false) {
  std::vector<std::string> bounds;
  size_t globalsSize = Bof(5).size() + before.size() + after.size() +
                       Eof().size();
  for (const auto& s : sheets) {
    bool wide = NeedsWide(s.name);
    std::string body = U32(0) + U8(0) + U8(s.kind) +
                       U8(static_cast<uint8_t>(s.name.size())) +
                       U8(wide ? 1 : 0) + Chars(s.name, wide);
    bounds.push_back(Rec(0x0085, body));
    globalsSize += bounds.back().size();
  }
  std::vector<std::string> subs;
  for (const auto& s : sheets) subs.push_back(Bof(s.bofType) + s.cells + Eof());
  std::vector<size_t> order;
  for (size_t i = 0; i < sheets.size(); ++i)
    order.push_back(reverse ? sheets.size() - 1 - i : i);
  std::vector<uint32_t> offsets(sheets.size());
  size_t pos = globalsSize;
  std::string tail;
  for (size_t i : order) {
    offsets[i] = static_cast<uint32_t>(pos);
    pos += subs[i].size();
    tail += subs[i];
  }
  std::string globals = Bof(5) + before;
  for (size_t i = 0; i < sheets.size(); ++i) {
    Put32(&bounds[i], 4, offsets[i]);
    globals += bounds[i];
  }
  globals += after + Eof();
  return globals + tail;
}

// One worksheet named "Sheet1" holding `cells`.
inline std::string OneSheet(const std::string& cells,
                            const std::string& before = "",
                            const std::string& after = "") {
  return WorkbookStream({SheetDef{u"Sheet1", cells}}, before, after);
}

constexpr uint32_t kEnd = 0xFFFFFFFE;
constexpr uint32_t kFree = 0xFFFFFFFF;

struct CfbOptions {
  uint32_t sectorShift = 9;
  uint32_t minFatSectors = 0;  // more than 109 forces a DIFAT chain
  std::u16string streamName = u"Workbook";
};

// A compound file holding one stream; streams under 4096 bytes go to the
// mini stream, as the format requires. Sector layout: FAT, DIFAT,
// directory, mini FAT, mini stream, the stream. The fields say where
// things went so that tests can damage them.
struct Cfb {
  std::string bytes;
  uint32_t sectorSize = 0;
  uint32_t fatSectors = 0;
  uint32_t dirStart = 0;
  uint32_t miniFatStart = kEnd;
  uint32_t miniStreamStart = kEnd;
  uint32_t streamStart = kEnd;  // a mini sector number when `mini`
  bool mini = false;

  size_t SectorOffset(uint32_t sector) const {
    return static_cast<size_t>(sector + 1) * sectorSize;
  }
  void SetFat(uint32_t index, uint32_t value) {
    uint32_t per = sectorSize / 4;
    Put32(&bytes, SectorOffset(index / per) + 4 * (index % per), value);
  }
  void SetMiniFat(uint32_t index, uint32_t value) {
    Put32(&bytes, SectorOffset(miniFatStart) + 4 * index, value);
  }
  // Offset of directory entry `i` (0 root, 1 the stream).
  size_t DirEntry(uint32_t i) const { return SectorOffset(dirStart) + 128 * i; }
};

inline Cfb BuildCfb(const std::string& stream, CfbOptions opt = {}) {
  Cfb out;
  const uint32_t ss = 1u << opt.sectorShift;
  out.sectorSize = ss;
  out.mini = stream.size() < 4096;
  auto sectorsFor = [&](size_t n) {
    return static_cast<uint32_t>((n + ss - 1) / ss);
  };
  std::string miniStream, miniFat;
  if (out.mini && !stream.empty()) {
    size_t n = (stream.size() + 63) / 64;
    miniStream = stream;
    miniStream.resize(n * 64, '\0');
    for (size_t i = 0; i < n; ++i)
      miniFat += U32(i + 1 == n ? kEnd : static_cast<uint32_t>(i + 1));
  }
  const uint32_t dirSectors = 1;
  const uint32_t miniFatSectors = sectorsFor(miniFat.size());
  const uint32_t miniStreamSectors = sectorsFor(miniStream.size());
  const uint32_t streamSectors = out.mini ? 0 : sectorsFor(stream.size());
  const uint32_t rest =
      dirSectors + miniFatSectors + miniStreamSectors + streamSectors;
  const uint32_t per = ss / 4;
  uint32_t nf = opt.minFatSectors ? opt.minFatSectors : 1, nd = 0;
  for (;;) {
    nd = nf > 109 ? (nf - 109 + per - 2) / (per - 1) : 0;
    if (static_cast<uint64_t>(nf) * per >= nf + nd + rest) break;
    ++nf;
  }
  out.fatSectors = nf;
  const uint32_t total = nf + nd + rest;
  std::vector<uint32_t> fat(static_cast<size_t>(nf) * per, kFree);
  std::string body(static_cast<size_t>(total) * ss, '\0');
  auto chain = [&](uint32_t start, uint32_t count, const std::string& data) {
    if (count == 0) return kEnd;
    for (uint32_t i = 0; i < count; ++i)
      fat[start + i] = i + 1 == count ? kEnd : start + i + 1;
    body.replace(static_cast<size_t>(start) * ss, data.size(), data);
    return start;
  };
  for (uint32_t i = 0; i < nf; ++i) fat[i] = 0xFFFFFFFD;        // FATSECT
  for (uint32_t i = 0; i < nd; ++i) fat[nf + i] = 0xFFFFFFFC;   // DIFSECT
  uint32_t next = nf + nd;
  out.dirStart = next;
  next += dirSectors;
  out.miniFatStart = chain(next, miniFatSectors, miniFat);
  next += miniFatSectors;
  out.miniStreamStart = chain(next, miniStreamSectors, miniStream);
  next += miniStreamSectors;
  if (out.mini) {
    out.streamStart = stream.empty() ? kEnd : 0;
  } else {
    out.streamStart = chain(next, streamSectors, stream);
  }

  auto dirEntry = [&](const std::u16string& name, uint8_t type,
                      uint32_t child, uint32_t start, uint64_t size) {
    std::string e(128, '\0');
    std::string n = Chars(name, true) + U16(0);
    e.replace(0, n.size(), n);
    e.replace(0x40, 2, U16(static_cast<uint16_t>(n.size())));
    e[0x42] = static_cast<char>(type);
    e[0x43] = 1;  // black
    e.replace(0x44, 4, U32(kFree));
    e.replace(0x48, 4, U32(kFree));
    e.replace(0x4C, 4, U32(child));
    e.replace(0x74, 4, U32(start));
    e.replace(0x78, 4, U32(static_cast<uint32_t>(size)));
    e.replace(0x7C, 4, U32(static_cast<uint32_t>(size >> 32)));
    return e;
  };
  std::string dir = dirEntry(u"Root Entry", 5, 1, out.miniStreamStart,
                             miniStream.size()) +
                    dirEntry(opt.streamName, 2, kFree, out.streamStart,
                             stream.size());
  while (dir.size() < ss) dir += dirEntry(u"", 0, kFree, 0, 0);
  chain(out.dirStart, 1, dir);

  // DIFAT: the header names the first 109 FAT sectors, DIFAT sectors the
  // rest, each ending with the number of the next.
  std::string header(512, '\0');
  const unsigned char sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  header.replace(0, 8, reinterpret_cast<const char*>(sig), 8);
  header.replace(0x18, 2, U16(0x3E));
  header.replace(0x1A, 2, U16(opt.sectorShift == 12 ? 4 : 3));
  header.replace(0x1C, 2, U16(0xFFFE));
  header.replace(0x1E, 2, U16(static_cast<uint16_t>(opt.sectorShift)));
  header.replace(0x20, 2, U16(6));
  header.replace(0x2C, 4, U32(nf));
  header.replace(0x30, 4, U32(out.dirStart));
  header.replace(0x38, 4, U32(4096));
  header.replace(0x3C, 4, U32(out.miniFatStart));
  header.replace(0x40, 4, U32(miniFatSectors));
  header.replace(0x44, 4, U32(nd ? nf : kEnd));
  header.replace(0x48, 4, U32(nd));
  for (uint32_t i = 0; i < 109; ++i)
    header.replace(0x4C + 4 * i, 4, U32(i < nf ? i : kFree));
  for (uint32_t d = 0; d < nd; ++d) {
    std::string s;
    for (uint32_t k = 0; k < per - 1; ++k) {
      uint32_t fatIndex = 109 + d * (per - 1) + k;
      s += U32(fatIndex < nf ? fatIndex : kFree);
    }
    s += U32(d + 1 < nd ? nf + d + 1 : kEnd);
    body.replace(static_cast<size_t>(nf + d) * ss, ss, s);
  }
  std::string fatBytes;
  for (uint32_t v : fat) fatBytes += U32(v);
  body.replace(0, fatBytes.size(), fatBytes);
  header.resize(ss, '\0');
  out.bytes = header + body;
  return out;
}

inline std::string XlsFile(const std::string& stream, CfbOptions opt = {}) {
  return BuildCfb(stream, opt).bytes;
}

}  // namespace qx::test
