// Builds ZIP archives in memory for the tests, including broken and
// hostile ones the real writers never produce.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx::test {

struct ZipItem {
  std::string name;
  std::string data;
  bool deflate = true;
};

struct ZipOptions {
  bool zip64 = false;             // ZIP64 end records and extra fields
  int64_t claimedSize = -1;       // uncompressed size written for every entry, if >= 0
  bool badCrc = false;
};

inline std::string Deflate(std::string_view data) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

inline void Put16(std::string* s, uint32_t v) {
  s->push_back(static_cast<char>(v & 0xFF));
  s->push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void Put32(std::string* s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}
inline void Put64(std::string* s, uint64_t v) {
  Put32(s, static_cast<uint32_t>(v));
  Put32(s, static_cast<uint32_t>(v >> 32));
}

inline std::string MakeZip(const std::vector<ZipItem>& items, const ZipOptions& opt = {}) {
  std::string out, central;
  for (const ZipItem& it : items) {
    std::string body = it.deflate ? Deflate(it.data) : it.data;
    uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(it.data.data()), static_cast<uInt>(it.data.size())));
    if (opt.badCrc) crc ^= 1;
    uint64_t usize = opt.claimedSize >= 0 ? static_cast<uint64_t>(opt.claimedSize) : it.data.size();
    uint64_t offset = out.size();
    std::string extra;
    if (opt.zip64) {
      Put16(&extra, 1);
      Put16(&extra, 24);
      Put64(&extra, usize);
      Put64(&extra, body.size());
      Put64(&extra, offset);
    }
    uint32_t u32 = opt.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(usize);
    uint32_t c32 = opt.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(body.size());
    Put32(&out, 0x04034b50);
    Put16(&out, opt.zip64 ? 45 : 20);
    Put16(&out, 0);
    Put16(&out, it.deflate ? 8 : 0);
    Put32(&out, 0);
    Put32(&out, crc);
    Put32(&out, c32);
    Put32(&out, u32);
    Put16(&out, static_cast<uint32_t>(it.name.size()));
    Put16(&out, 0);
    out += it.name;
    out += body;

    Put32(&central, 0x02014b50);
    Put16(&central, 45);
    Put16(&central, opt.zip64 ? 45 : 20);
    Put16(&central, 0);
    Put16(&central, it.deflate ? 8 : 0);
    Put32(&central, 0);
    Put32(&central, crc);
    Put32(&central, c32);
    Put32(&central, u32);
    Put16(&central, static_cast<uint32_t>(it.name.size()));
    Put16(&central, static_cast<uint32_t>(extra.size()));
    Put16(&central, 0);
    Put16(&central, 0);
    Put16(&central, 0);
    Put32(&central, 0);
    Put32(&central, opt.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(offset));
    central += it.name;
    central += extra;
  }
  uint64_t cdOffset = out.size();
  out += central;
  if (opt.zip64) {
    uint64_t end64 = out.size();
    Put32(&out, 0x06064b50);
    Put64(&out, 44);
    Put16(&out, 45);
    Put16(&out, 45);
    Put32(&out, 0);
    Put32(&out, 0);
    Put64(&out, items.size());
    Put64(&out, items.size());
    Put64(&out, central.size());
    Put64(&out, cdOffset);
    Put32(&out, 0x07064b50);
    Put32(&out, 0);
    Put64(&out, end64);
    Put32(&out, 1);
  }
  Put32(&out, 0x06054b50);
  Put16(&out, 0);
  Put16(&out, 0);
  Put16(&out, opt.zip64 ? 0xFFFF : static_cast<uint32_t>(items.size()));
  Put16(&out, opt.zip64 ? 0xFFFF : static_cast<uint32_t>(items.size()));
  Put32(&out, opt.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(central.size()));
  Put32(&out, opt.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(cdOffset));
  Put16(&out, 0);
  return out;
}

// Overwrites a 32-bit field (at `field` bytes into the record) of the
// named entry's central directory record, where the reader takes sizes
// and CRC from.
inline void PatchCentral32(std::string* zip, std::string_view name, size_t field, uint32_t value) {
  for (size_t at = 0; (at = zip->find("PK\x01\x02", at)) != std::string::npos; ++at) {
    if (zip->compare(at + 46, name.size(), name) != 0) continue;
    std::string v;
    Put32(&v, value);
    zip->replace(at + field, 4, v);
    return;
  }
}
constexpr size_t kCentralCrc = 16;
constexpr size_t kCentralCompressedSize = 20;

// A minimal .xlsx around the given sheet XML (the part between
// <sheetData> and </sheetData> unless `whole` is set), shared strings and
// styles.
struct XlsxParts {
  std::string sheetData;
  std::string sharedStrings;  // <si> elements
  std::string numFmts;        // <numFmt> elements
  std::string cellXfs = "<xf numFmtId=\"0\"/>";
  std::string workbookPr;
  std::string sheetXml;       // whole sheet part, overrides sheetData
};

inline std::string MakeXlsx(const XlsxParts& p) {
  const std::string ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
  std::string workbook = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook " + ns +
                         " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">" +
                         p.workbookPr + "<sheets><sheet name=\"Data\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
  std::string rels =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
      "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>"
      "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>"
      "</Relationships>";
  std::string sheet = !p.sheetXml.empty() ? p.sheetXml
                                          : "<worksheet " + ns + "><sheetData>" + p.sheetData + "</sheetData></worksheet>";
  std::string sst = "<sst " + ns + ">" + p.sharedStrings + "</sst>";
  std::string styles = "<styleSheet " + ns + "><numFmts>" + p.numFmts + "</numFmts><cellXfs>" + p.cellXfs +
                       "</cellXfs></styleSheet>";
  return MakeZip({{"[Content_Types].xml", "<Types/>"},
                  {"xl/workbook.xml", workbook},
                  {"xl/_rels/workbook.xml.rels", rels},
                  {"xl/worksheets/sheet1.xml", sheet},
                  {"xl/sharedStrings.xml", sst},
                  {"xl/styles.xml", styles}});
}

// A minimal .ods around the given <table:table> elements.
inline std::string MakeOds(const std::string& tables) {
  std::string content =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
      "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\">"
      "<office:body><office:spreadsheet>" +
      tables + "</office:spreadsheet></office:body></office:document-content>";
  return MakeZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", false},
                  {"content.xml", content}});
}

}  // namespace qx::test
