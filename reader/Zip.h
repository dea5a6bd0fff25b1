// A small ZIP reader over a buffer in memory, enough for the packages that
// .xlsx and .ods files are. Nothing in the archive is trusted: every size
// and offset is checked against the buffer, and inflated output has
// absolute caps so that a small hostile file cannot claim gigabytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx::zip {

class EntryStream;

struct Entry {
  std::string name;  // as stored, with '\' turned into '/'
  uint64_t compressedSize = 0;
  uint64_t uncompressedSize = 0;
  uint64_t localHeaderOffset = 0;
  uint32_t crc32 = 0;
  uint16_t method = 0;  // 0 stored, 8 deflate; others are refused on extract
  uint16_t flags = 0;
};

// True when the bytes start like a ZIP archive (a local header, or the end
// record of an empty archive).
bool HasZipSignature(std::string_view bytes);

class Archive {
 public:
  // A sheet part of a legitimate large workbook stays well below these;
  // past them the archive is taken for a zip bomb.
  static constexpr uint64_t kDefaultMaxEntryBytes = 256ull << 20;
  static constexpr uint64_t kDefaultMaxTotalBytes = 512ull << 20;

  // Reads the central directory. The buffer must outlive the archive. An
  // archive holding two entries of one name is refused.
  bool Open(std::string_view bytes, std::string* error);

  const std::vector<Entry>& entries() const { return entries_; }

  // Exact name first, then ASCII case-insensitively (part names of an
  // Office package are case-insensitive). A leading '/' is ignored.
  const Entry* Find(std::string_view name) const;

  // Inflates (or copies) the entry into *out and checks size and CRC.
  bool Extract(const Entry& entry, std::string* out, std::string* error);

  // Makes the same checks up front as Extract, then leaves the member to be
  // read piece by piece; size and CRC are checked as it is read.
  bool OpenStream(const Entry& entry, EntryStream* stream, std::string* error);

  void SetLimits(uint64_t maxEntryBytes, uint64_t maxTotalBytes) {
    maxEntryBytes_ = maxEntryBytes;
    maxTotalBytes_ = maxTotalBytes;
  }

 private:
  bool RefuseDuplicates(std::string* error);

  std::string_view bytes_;
  std::vector<Entry> entries_;
  uint64_t maxEntryBytes_ = kDefaultMaxEntryBytes;
  uint64_t maxTotalBytes_ = kDefaultMaxTotalBytes;
  uint64_t extractedTotal_ = 0;
};

}  // namespace qx::zip
