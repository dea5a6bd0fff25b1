#include "reader/Cfb.h"

#include <algorithm>
#include <cstring>

namespace qx::reader::cfb {
namespace {

constexpr uint32_t kMaxRegSect = 0xFFFFFFFA;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSect = 0xFFFFFFFF;
constexpr uint32_t kMiniSectorSize = 64;
constexpr uint64_t kMiniStreamCutoff = 4096;
constexpr uint32_t kHeaderDifatCount = 109;
constexpr uint32_t kDirEntrySize = 128;

uint16_t Le16(const char* p) {
  return static_cast<uint16_t>(static_cast<uint8_t>(p[0]) |
                               static_cast<uint8_t>(p[1]) << 8);
}

uint32_t Le32(const char* p) {
  return static_cast<uint32_t>(static_cast<uint8_t>(p[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(p[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(p[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(p[3])) << 24;
}

bool Fail(std::string* error, const char* what) {
  *error = what;
  return false;
}

char16_t AsciiLower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

}  // namespace

std::string_view CompoundFile::Sector(uint32_t index) const {
  // Callers have checked index < sectorCount_, so the sector starts inside
  // the file; the last one may be cut short by a truncated file.
  uint64_t offset = (static_cast<uint64_t>(index) + 1) << sectorShift_;
  size_t len = std::min<uint64_t>(sectorSize_, bytes_.size() - offset);
  return bytes_.substr(static_cast<size_t>(offset), len);
}

bool CompoundFile::Open(std::string_view bytes, std::string* error) {
  bytes_ = bytes;
  fat_.clear();
  entries_.clear();

  static const unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0,
                                              0xA1, 0xB1, 0x1A, 0xE1};
  if (bytes.size() < 512) return Fail(error, "文件太短，不是复合文档");
  if (std::memcmp(bytes.data(), kSignature, 8) != 0)
    return Fail(error, "缺少复合文档签名");
  const char* h = bytes.data();
  if (Le16(h + 0x1C) != 0xFFFE) return Fail(error, "复合文档字节序标记无效");
  sectorShift_ = Le16(h + 0x1E);
  if (sectorShift_ != 9 && sectorShift_ != 12)
    return Fail(error, "复合文档扇区大小无效");
  if (Le16(h + 0x20) != 6) return Fail(error, "复合文档小扇区大小无效");
  sectorSize_ = 1u << sectorShift_;
  if (bytes.size() <= sectorSize_) return Fail(error, "复合文档被截断");
  sectorCount_ = static_cast<uint32_t>(
      std::min<uint64_t>((bytes.size() - sectorSize_ + sectorSize_ - 1) >>
                             sectorShift_,
                         kMaxRegSect));

  const uint32_t numFat = Le32(h + 0x2C);
  const uint32_t firstDir = Le32(h + 0x30);
  const uint32_t firstMiniFat = Le32(h + 0x3C);
  const uint32_t firstDifat = Le32(h + 0x44);
  if (numFat == 0 || numFat > sectorCount_)
    return Fail(error, "复合文档分配表扇区数无效");

  // Where the FAT lives: the first 109 sectors are named in the header, the
  // rest in the DIFAT chain, each of whose sectors ends with the next link.
  std::vector<uint32_t> fatSectors;
  fatSectors.reserve(numFat);
  for (uint32_t i = 0; i < kHeaderDifatCount && fatSectors.size() < numFat;
       ++i)
    fatSectors.push_back(Le32(h + 0x4C + 4 * i));
  if (fatSectors.size() < numFat) {
    std::vector<uint8_t> seen(sectorCount_, 0);
    const uint32_t perSector = sectorSize_ / 4 - 1;
    uint32_t next = firstDifat;
    while (fatSectors.size() < numFat) {
      if (next == kEndOfChain || next == kFreeSect)
        return Fail(error, "复合文档分配表索引链过短");
      if (next >= sectorCount_) return Fail(error, "复合文档扇区号越界");
      if (seen[next]) return Fail(error, "复合文档扇区链循环");
      seen[next] = 1;
      std::string_view s = Sector(next);
      if (s.size() < sectorSize_) return Fail(error, "复合文档被截断");
      for (uint32_t i = 0; i < perSector && fatSectors.size() < numFat; ++i)
        fatSectors.push_back(Le32(s.data() + 4 * i));
      next = Le32(s.data() + 4 * perSector);
    }
  }

  const uint32_t perFat = sectorSize_ / 4;
  fat_.assign(static_cast<size_t>(numFat) * perFat, kFreeSect);
  for (uint32_t i = 0; i < numFat; ++i) {
    uint32_t sect = fatSectors[i];
    if (sect >= sectorCount_) return Fail(error, "复合文档扇区号越界");
    std::string_view s = Sector(sect);
    // A truncated last sector keeps what it has; the missing entries stay
    // free, so chains through them end in a clear error.
    for (uint32_t j = 0; j < perFat && 4 * j + 4 <= s.size(); ++j)
      fat_[static_cast<size_t>(i) * perFat + j] = Le32(s.data() + 4 * j);
  }

  std::vector<uint32_t> chain;
  if (!WalkChain(firstDir, fat_, sectorCount_, &chain, error)) return false;
  if (chain.empty()) return Fail(error, "复合文档没有目录");
  for (uint32_t sect : chain) {
    std::string_view s = Sector(sect);
    for (size_t off = 0; off + kDirEntrySize <= s.size();
         off += kDirEntrySize) {
      const char* d = s.data() + off;
      Entry e;
      e.type = static_cast<uint8_t>(d[0x42]);
      uint16_t nameBytes = Le16(d + 0x40);
      if (nameBytes > 64) nameBytes = 64;
      size_t nameLen = nameBytes / 2;
      if (nameLen > 0) --nameLen;  // the length counts the terminator
      e.name.resize(nameLen);
      for (size_t k = 0; k < nameLen; ++k)
        e.name[k] = static_cast<char16_t>(Le16(d + 2 * k));
      e.start = Le32(d + 0x74);
      e.size = Le32(d + 0x78);
      // Version 3 files may leave garbage in the high half of the size.
      if (sectorShift_ == 12)
        e.size |= static_cast<uint64_t>(Le32(d + 0x7C)) << 32;
      entries_.push_back(std::move(e));
    }
  }
  if (entries_.empty() || entries_[0].type != 5)
    return Fail(error, "复合文档缺少根目录项");

  miniFatStart_ = firstMiniFat;
  return true;
}

bool CompoundFile::WalkChain(uint32_t start, const std::vector<uint32_t>& table,
                             uint32_t limit, std::vector<uint32_t>* chain,
                             std::string* error) const {
  chain->clear();
  const uint32_t bound =
      static_cast<uint32_t>(std::min<size_t>(limit, table.size()));
  std::vector<uint8_t> seen;
  uint32_t cur = start;
  while (cur != kEndOfChain) {
    if (cur == kFreeSect || cur > kMaxRegSect)
      return Fail(error, "复合文档扇区链中断");
    if (cur >= limit) return Fail(error, "复合文档扇区号越界");
    if (cur >= bound) return Fail(error, "复合文档扇区链中断");
    if (seen.empty()) seen.assign(bound, 0);
    if (seen[cur]) return Fail(error, "复合文档扇区链循环");
    seen[cur] = 1;
    chain->push_back(cur);
    cur = table[cur];
  }
  return true;
}

bool CompoundFile::ReadChain(uint32_t start, uint64_t size, std::string* out,
                             std::string* error) const {
  out->clear();
  if (size > static_cast<uint64_t>(sectorCount_) << sectorShift_)
    return Fail(error, "复合文档中流的大小超出文件");
  std::vector<uint32_t> chain;
  if (!WalkChain(start, fat_, sectorCount_, &chain, error)) return false;
  if ((static_cast<uint64_t>(chain.size()) << sectorShift_) < size)
    return Fail(error, "复合文档中流的扇区链短于其大小");
  out->reserve(static_cast<size_t>(size));
  for (uint32_t sect : chain) {
    if (out->size() >= size) break;
    std::string_view s = Sector(sect);
    size_t want = static_cast<size_t>(
        std::min<uint64_t>(sectorSize_, size - out->size()));
    if (s.size() < want) return Fail(error, "复合文档被截断");
    out->append(s.data(), want);
  }
  return true;
}

bool CompoundFile::ViewStream(const Entry& entry, std::string* storage,
                              std::string_view* view,
                              std::string* error) const {
  if (entry.size >= kMiniStreamCutoff &&
      entry.size <= static_cast<uint64_t>(sectorCount_) << sectorShift_) {
    std::vector<uint32_t> chain;
    if (!WalkChain(entry.start, fat_, sectorCount_, &chain, error))
      return false;
    const uint64_t needed = (entry.size + sectorSize_ - 1) >> sectorShift_;
    bool contiguous = chain.size() >= needed;
    for (uint64_t i = 1; i < needed && contiguous; ++i)
      contiguous = chain[i] == chain[0] + i;
    uint64_t offset = (static_cast<uint64_t>(chain.empty() ? 0 : chain[0]) + 1)
                      << sectorShift_;
    if (contiguous && offset + entry.size <= bytes_.size()) {
      *view = bytes_.substr(static_cast<size_t>(offset),
                            static_cast<size_t>(entry.size));
      return true;
    }
  }
  if (!ReadStream(entry, storage, error)) return false;
  *view = *storage;
  return true;
}

int CompoundFile::FindStream(std::u16string_view name) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    if (e.type != 2 || e.name.size() != name.size()) continue;
    bool same = true;
    for (size_t k = 0; k < name.size() && same; ++k)
      same = AsciiLower(e.name[k]) == AsciiLower(name[k]);
    if (same) return static_cast<int>(i);
  }
  return -1;
}

bool CompoundFile::ReadStream(const Entry& entry, std::string* out,
                              std::string* error) const {
  if (entry.size >= kMiniStreamCutoff)
    return ReadChain(entry.start, entry.size, out, error);

  // Small streams live in 64-byte pieces inside the root entry's stream,
  // chained by the mini FAT.
  out->clear();
  if (entry.size == 0) return true;
  std::vector<uint32_t> chain;
  if (!WalkChain(miniFatStart_, fat_, sectorCount_, &chain, error))
    return false;
  std::vector<uint32_t> miniFat;
  miniFat.reserve(chain.size() * (sectorSize_ / 4));
  for (uint32_t sect : chain) {
    std::string_view s = Sector(sect);
    for (size_t off = 0; off + 4 <= s.size(); off += 4)
      miniFat.push_back(Le32(s.data() + off));
  }
  std::string miniStream;
  if (!ReadChain(entries_[0].start, entries_[0].size, &miniStream, error))
    return false;
  const uint32_t miniCount = static_cast<uint32_t>(
      (miniStream.size() + kMiniSectorSize - 1) / kMiniSectorSize);
  if (!WalkChain(entry.start, miniFat, miniCount, &chain, error)) return false;
  if (static_cast<uint64_t>(chain.size()) * kMiniSectorSize < entry.size)
    return Fail(error, "复合文档中流的扇区链短于其大小");
  out->reserve(static_cast<size_t>(entry.size));
  for (uint32_t sect : chain) {
    if (out->size() >= entry.size) break;
    size_t want = static_cast<size_t>(
        std::min<uint64_t>(kMiniSectorSize, entry.size - out->size()));
    size_t offset = static_cast<size_t>(sect) * kMiniSectorSize;
    if (miniStream.size() - offset < want)
      return Fail(error, "复合文档被截断");
    out->append(miniStream.data() + offset, want);
  }
  return true;
}

}  // namespace qx::reader::cfb
