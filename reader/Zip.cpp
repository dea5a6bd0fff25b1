#include "reader/Zip.h"

#include "reader/ZipStream.h"

#include <algorithm>
#include <cstring>

namespace qx::zip {
namespace {

constexpr uint32_t kLocalSig = 0x04034b50;
constexpr uint32_t kCentralSig = 0x02014b50;
constexpr uint32_t kEndSig = 0x06054b50;
constexpr uint32_t kEnd64Sig = 0x06064b50;
constexpr uint32_t kEnd64LocatorSig = 0x07064b50;
constexpr size_t kEndSize = 22;
constexpr size_t kEnd64LocatorSize = 20;
constexpr size_t kEnd64Size = 56;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;

uint16_t U16(std::string_view b, size_t at) {
  auto p = reinterpret_cast<const unsigned char*>(b.data()) + at;
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t U32(std::string_view b, size_t at) {
  auto p = reinterpret_cast<const unsigned char*>(b.data()) + at;
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint64_t U64(std::string_view b, size_t at) {
  return U32(b, at) | (static_cast<uint64_t>(U32(b, at + 4)) << 32);
}

// True when [offset, offset + length) lies inside a buffer of `size` bytes.
bool Fits(uint64_t offset, uint64_t length, uint64_t size) {
  return offset <= size && length <= size - offset;
}

bool Fail(std::string* error, const char* message) {
  *error = message;
  return false;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Reads the ZIP64 extra field of a central header: each 64-bit value is
// present only where the 32-bit header field holds its 0xFFFFFFFF marker.
bool ApplyZip64Extra(std::string_view extra, bool needUsize, bool needCsize, bool needOffset,
                     Entry* e) {
  size_t at = 0;
  while (at + 4 <= extra.size()) {
    uint16_t id = U16(extra, at), len = U16(extra, at + 2);
    at += 4;
    if (len > extra.size() - at) return false;
    if (id == 0x0001) {
      std::string_view f = extra.substr(at, len);
      size_t k = 0;
      auto take = [&](uint64_t* v) {
        if (k + 8 > f.size()) return false;
        *v = U64(f, k);
        k += 8;
        return true;
      };
      if (needUsize && !take(&e->uncompressedSize)) return false;
      if (needCsize && !take(&e->compressedSize)) return false;
      if (needOffset && !take(&e->localHeaderOffset)) return false;
      return true;
    }
    at += len;
  }
  return !(needUsize || needCsize || needOffset);
}

}  // namespace

bool HasZipSignature(std::string_view bytes) {
  return bytes.size() >= 4 && (U32(bytes, 0) == kLocalSig || U32(bytes, 0) == kEndSig);
}

bool Archive::Open(std::string_view bytes, std::string* error) {
  bytes_ = bytes;
  entries_.clear();
  extractedTotal_ = 0;
  const uint64_t size = bytes.size();
  if (size < kEndSize) return Fail(error, "压缩包已损坏：文件太短");

  // The end record sits in the last 22 + 65535 bytes (its comment is at
  // most 65535 bytes long); search from the end.
  size_t endPos = std::string_view::npos;
  size_t lowest = size > kEndSize + 0xFFFF ? size - kEndSize - 0xFFFF : 0;
  for (size_t p = size - kEndSize + 1; p-- > lowest;) {
    if (U32(bytes, p) == kEndSig && Fits(p + kEndSize, U16(bytes, p + 20), size)) {
      endPos = p;
      break;
    }
  }
  if (endPos == std::string_view::npos) return Fail(error, "压缩包已损坏：找不到目录结尾记录");

  uint64_t count = U16(bytes, endPos + 10);
  uint64_t cdSize = U32(bytes, endPos + 12);
  uint64_t cdOffset = U32(bytes, endPos + 16);
  bool zip64 = false;
  if (endPos >= kEnd64LocatorSize && U32(bytes, endPos - kEnd64LocatorSize) == kEnd64LocatorSig) {
    uint64_t end64 = U64(bytes, endPos - kEnd64LocatorSize + 8);
    if (!Fits(end64, kEnd64Size, size) || U32(bytes, end64) != kEnd64Sig) {
      return Fail(error, "压缩包已损坏：ZIP64 目录结尾记录无效");
    }
    count = U64(bytes, end64 + 32);
    cdSize = U64(bytes, end64 + 40);
    cdOffset = U64(bytes, end64 + 48);
    zip64 = true;
  } else if (count == 0xFFFF || cdSize == 0xFFFFFFFF || cdOffset == 0xFFFFFFFF) {
    return Fail(error, "压缩包已损坏：缺少 ZIP64 目录结尾记录");
  }
  if (U16(bytes, endPos + 4) != 0 || U16(bytes, endPos + 6) != 0) {
    if (!zip64) return Fail(error, "不支持分卷压缩包");
  }
  // Data put in front of the archive (a self-extractor stub) shifts every
  // offset by the same amount; the directory's own position tells by how much.
  uint64_t cdEnd = zip64 ? endPos - kEnd64LocatorSize - kEnd64Size : endPos;
  uint64_t shift = 0;
  if (!zip64 && cdOffset + cdSize < cdEnd && Fits(cdOffset, cdSize, size) &&
      (cdSize == 0 || U32(bytes, cdOffset) != kCentralSig)) {
    shift = cdEnd - (cdOffset + cdSize);
  }
  cdOffset += shift;
  if (!Fits(cdOffset, cdSize, size)) return Fail(error, "压缩包已损坏：中央目录超出文件范围");
  if (count > cdSize / kCentralSize) return Fail(error, "压缩包已损坏：目录项数目无效");

  entries_.reserve(static_cast<size_t>(count));
  uint64_t at = cdOffset;
  const uint64_t end = cdOffset + cdSize;
  for (uint64_t i = 0; i < count; ++i) {
    if (!Fits(at, kCentralSize, end) || U32(bytes, at) != kCentralSig) {
      return Fail(error, "压缩包已损坏：中央目录项无效");
    }
    Entry e;
    e.flags = U16(bytes, at + 8);
    e.method = U16(bytes, at + 10);
    e.crc32 = U32(bytes, at + 16);
    uint32_t csize = U32(bytes, at + 20), usize = U32(bytes, at + 24);
    uint16_t nameLen = U16(bytes, at + 28), extraLen = U16(bytes, at + 30),
             commentLen = U16(bytes, at + 32);
    uint32_t offset = U32(bytes, at + 42);
    uint64_t varLen = uint64_t{nameLen} + extraLen + commentLen;
    if (!Fits(at + kCentralSize, varLen, end)) return Fail(error, "压缩包已损坏：中央目录项超出范围");
    e.name.assign(bytes.data() + at + kCentralSize, nameLen);
    std::replace(e.name.begin(), e.name.end(), '\\', '/');
    e.compressedSize = csize;
    e.uncompressedSize = usize;
    e.localHeaderOffset = offset;
    if (csize == 0xFFFFFFFF || usize == 0xFFFFFFFF || offset == 0xFFFFFFFF) {
      std::string_view extra = bytes.substr(at + kCentralSize + nameLen, extraLen);
      if (!ApplyZip64Extra(extra, usize == 0xFFFFFFFF, csize == 0xFFFFFFFF, offset == 0xFFFFFFFF,
                           &e)) {
        return Fail(error, "压缩包已损坏：ZIP64 扩展字段无效");
      }
    }
    e.localHeaderOffset += shift;
    entries_.push_back(std::move(e));
    at += kCentralSize + varLen;
  }
  return RefuseDuplicates(error);
}

bool Archive::RefuseDuplicates(std::string* error) {
  // Readers differ over which of two entries of one name counts (the
  // first, the last): such a package can show two readers two different
  // files, and none of its readings can be trusted.
  std::vector<std::string_view> names;
  names.reserve(entries_.size());
  for (const Entry& e : entries_) {
    std::string_view n = e.name;
    if (!n.empty() && n.front() == '/') n.remove_prefix(1);
    names.push_back(n);
  }
  std::sort(names.begin(), names.end());
  auto twice = std::adjacent_find(names.begin(), names.end());
  if (twice == names.end()) return true;
  std::string shown;
  for (char c : twice->substr(0, 100)) shown.push_back(static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
  *error = "压缩包中有两个同名的项“" + shown + "”，无法确定该读哪一个";
  entries_.clear();
  return false;
}

const Entry* Archive::Find(std::string_view name) const {
  if (!name.empty() && name.front() == '/') name.remove_prefix(1);
  for (const Entry& e : entries_) {
    if (e.name == name) return &e;
  }
  for (const Entry& e : entries_) {
    std::string_view n = e.name;
    if (!n.empty() && n.front() == '/') n.remove_prefix(1);
    if (EqualsNoCase(n, name)) return &e;
  }
  return nullptr;
}

bool Archive::OpenStream(const Entry& entry, EntryStream* stream, std::string* error) {
  const uint64_t size = bytes_.size();
  uint64_t at = entry.localHeaderOffset;
  if (!Fits(at, kLocalSize, size) || U32(bytes_, at) != kLocalSig) {
    return Fail(error, "压缩包已损坏：本地文件头无效");
  }
  uint64_t dataAt = at + kLocalSize + U16(bytes_, at + 26) + U16(bytes_, at + 28);
  if (!Fits(dataAt, entry.compressedSize, size)) {
    return Fail(error, "压缩包已损坏：压缩数据超出文件范围");
  }
  if (entry.flags & 0x0001) return Fail(error, "不支持加密的压缩包");
  if (entry.method != 0 && entry.method != 8) return Fail(error, "不支持的压缩方法");

  const uint64_t usize = entry.uncompressedSize;
  if (usize > maxEntryBytes_ || usize > maxTotalBytes_ - std::min(extractedTotal_, maxTotalBytes_)) {
    return Fail(error, "解压后的数据超过上限，文件可能是恶意构造的压缩包");
  }
  return stream->Start(bytes_.substr(dataAt, entry.compressedSize), entry.method, usize,
                       entry.crc32, &extractedTotal_, error);
}

bool Archive::Extract(const Entry& entry, std::string* out, std::string* error) {
  out->clear();
  EntryStream stream;
  if (!OpenStream(entry, &stream, error)) return false;
  // The limits above bound what this may allocate.
  out->resize(static_cast<size_t>(entry.uncompressedSize));
  size_t done = 0;
  char spare;
  while (!stream.finished() && !stream.failed()) {
    if (done < out->size()) {
      done += stream.Read(out->data() + done, out->size() - done);
    } else {
      stream.Read(&spare, 1);  // only the verdict on the end is left
    }
  }
  if (stream.failed()) {
    out->clear();
    *error = stream.error();
    return false;
  }
  return true;
}

}  // namespace qx::zip
