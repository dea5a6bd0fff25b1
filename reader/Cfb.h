// Compound file (the OLE "structured storage" container that .xls lives in),
// read from a buffer already in memory. Only what the .xls reader needs:
// find a stream by name and get its bytes.
//
// Every number in the file is distrusted: sector chains are walked with a
// visited mark, so a cycle or a chain longer than the file ends in an error
// rather than a hang, and no allocation is larger than the file itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx::reader::cfb {

struct Entry {
  std::u16string name;
  uint8_t type = 0;  // 1 storage, 2 stream, 5 root
  uint32_t start = 0;
  uint64_t size = 0;
};

class CompoundFile {
 public:
  // Parses header, FAT, mini FAT and directory. On failure *error says
  // what is wrong (Chinese, one line, no prefix).
  bool Open(std::string_view bytes, std::string* error);

  const std::vector<Entry>& entries() const { return entries_; }

  // Index of the first stream entry whose name equals `name` ignoring ASCII
  // case, or -1.
  int FindStream(std::u16string_view name) const;

  // The whole stream's bytes into *out (replacing its contents).
  bool ReadStream(const Entry& entry, std::string* out,
                  std::string* error) const;

  // The stream's bytes as *view: straight into the file's buffer when its
  // sectors follow one another (as writers lay out big streams), else
  // copied into *storage.
  bool ViewStream(const Entry& entry, std::string* storage,
                  std::string_view* view, std::string* error) const;

 private:
  bool WalkChain(uint32_t start, const std::vector<uint32_t>& table,
                 uint32_t limit, std::vector<uint32_t>* chain,
                 std::string* error) const;
  bool ReadChain(uint32_t start, uint64_t size, std::string* out,
                 std::string* error) const;
  std::string_view Sector(uint32_t index) const;

  std::string_view bytes_;
  uint32_t sectorShift_ = 9;
  uint32_t sectorSize_ = 512;
  uint32_t sectorCount_ = 0;  // sectors that begin inside the file
  uint32_t miniFatStart_ = 0;
  std::vector<uint32_t> fat_;
  std::vector<Entry> entries_;
};

}  // namespace qx::reader::cfb
