#include "reader/ZipStream.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "reader/Crc32.h"

namespace qx::zip {
namespace {

// Deflate cannot expand data by more than about 1032:1; an entry that says
// otherwise is corrupt, and believing it would let it reserve memory.
constexpr uint64_t kMaxDeflateRatio = 1032;
// zlib counts in 32-bit quantities.
constexpr size_t kMaxStep = size_t{1} << 30;

}  // namespace

EntryStream::EntryStream() = default;

EntryStream::~EntryStream() {
  if (zOpen_) inflateEnd(z_.get());
}

bool EntryStream::Start(std::string_view data, uint16_t method, uint64_t size, uint32_t crc,
                        uint64_t* extracted, std::string* error) {
  data_ = data;
  size_ = size;
  expectedCrc_ = crc;
  crc_ = 0;
  extracted_ = extracted;
  deflated_ = method == 8;
  if (!deflated_) {
    if (data.size() != size) {
      *error = "压缩包已损坏：存储项大小不一致";
      return false;
    }
    return true;
  }
  if (size > data.size() * kMaxDeflateRatio + 1024) {
    *error = "压缩包已损坏：解压大小与压缩数据不符";
    return false;
  }
  z_ = std::make_unique<z_stream_s>();
  std::memset(z_.get(), 0, sizeof(z_stream_s));
  if (inflateInit2(z_.get(), -15) != Z_OK) {
    *error = "解压缩初始化失败";
    return false;
  }
  zOpen_ = true;
  return true;
}

size_t EntryStream::Fail(const char* message) {
  failed_ = true;
  error_ = message;
  return 0;
}

size_t EntryStream::Finish() {
  if (crc_ != expectedCrc_) return Fail("压缩包已损坏：校验和不符");
  finished_ = true;
  *extracted_ += size_;
  return 0;
}

size_t EntryStream::Read(char* dst, size_t room) {
  if (finished_ || failed_) return 0;
  if (deflated_) return Inflate(dst, room);
  size_t n = static_cast<size_t>(std::min<uint64_t>({room, size_ - produced_, kMaxStep}));
  if (n == 0) return Finish();
  std::memcpy(dst, data_.data() + fed_, n);
  fed_ += n;
  produced_ += n;
  crc_ = Crc32(crc_, dst, n);
  return n;
}

size_t EntryStream::Inflate(char* dst, size_t room) {
  z_stream_s& z = *z_;
  for (;;) {
    if (z.avail_in == 0 && fed_ < data_.size()) {
      size_t chunk = std::min(data_.size() - fed_, kMaxStep);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data_.data() + fed_));
      z.avail_in = static_cast<uInt>(chunk);
      fed_ += chunk;
    }
    // Past the recorded size one spare byte of room remains, so that data
    // longer than declared shows up as an error instead of a silent cut.
    const uint64_t left = size_ - produced_;
    unsigned char spare;
    Bytef* out = left ? reinterpret_cast<Bytef*>(dst) : &spare;
    size_t cap = left ? static_cast<size_t>(std::min<uint64_t>({room, left, kMaxStep})) : 1;
    z.next_out = out;
    z.avail_out = static_cast<uInt>(cap);
    int rc = inflate(&z, Z_NO_FLUSH);
    size_t got = cap - z.avail_out;
    if (!left && got) return Fail("压缩包已损坏：解压后的数据比记录的长");
    if (got) {
      produced_ += got;
      crc_ = Crc32(crc_, out, got);
    }
    if (rc == Z_STREAM_END) {
      if (produced_ != size_) return Fail("压缩包已损坏：压缩数据无效或不完整");
      inflateEnd(&z);
      zOpen_ = false;
      Finish();
      return failed_ ? 0 : got;
    }
    const bool moreInput = fed_ < data_.size();
    if (rc == Z_BUF_ERROR && z.avail_in == 0 && moreInput) continue;
    if (rc != Z_OK) return Fail("压缩包已损坏：压缩数据无效或不完整");
    if (got) return got;
    if (z.avail_in == 0 && !moreInput) return Fail("压缩包已损坏：压缩数据无效或不完整");
  }
}

bool EntryStream::Drain() {
  std::vector<char> sink(64 * 1024);
  while (Read(sink.data(), sink.size()) != 0) {
  }
  return !failed_;
}

}  // namespace qx::zip
