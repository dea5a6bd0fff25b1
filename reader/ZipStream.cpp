#include "reader/ZipStream.h"

#if QX_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#else
#include <zlib.h>
#endif

#include <algorithm>
#include <cstring>
#include <vector>

#include "reader/Crc32.h"

namespace qx::zip {
namespace {

// Deflate cannot expand data by more than about 1032:1; an entry that says
// otherwise is corrupt, and believing it would let it reserve memory.
constexpr uint64_t kMaxDeflateRatio = 1032;
// Both inflaters count in 32-bit quantities.
constexpr size_t kMaxStep = size_t{1} << 30;

enum class Step { More, End, Bad };

}  // namespace

// One inflater over the member's stored bytes: ISA-L's where the build has
// it (a third of zlib's time on a sheet part), zlib's otherwise.
#if QX_HAVE_ISAL
struct EntryStream::Inflater {
  inflate_state s;

  bool Start() {
    isal_inflate_init(&s);
    // Raw deflate, and the CRC-32 of what comes out kept as it comes: the
    // inflater's own costs a fraction of a separate pass.
    s.crc_flag = ISAL_GZIP_NO_HDR;
    return true;
  }
  void Feed(const char* in, size_t n) {
    s.next_in = reinterpret_cast<uint8_t*>(const_cast<char*>(in));
    s.avail_in = static_cast<uint32_t>(n);
  }
  size_t pending() const { return s.avail_in; }
  // Inflates into out[0, cap); *got says how much came.
  Step Run(unsigned char* out, size_t cap, size_t* got) {
    s.next_out = out;
    s.avail_out = static_cast<uint32_t>(cap);
    const int rc = isal_inflate(&s);
    *got = cap - s.avail_out;
    if (rc < 0) return Step::Bad;
    return s.block_state == ISAL_BLOCK_FINISH ? Step::End : Step::More;
  }
  uint32_t Crc(uint32_t, const unsigned char*, size_t) const { return s.crc; }
  void End() {}
};
#else
struct EntryStream::Inflater {
  z_stream_s z;
  bool open = false;

  bool Start() {
    std::memset(&z, 0, sizeof z);
    return open = inflateInit2(&z, -15) == Z_OK;
  }
  void Feed(const char* in, size_t n) {
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
    z.avail_in = static_cast<uInt>(n);
  }
  size_t pending() const { return z.avail_in; }
  Step Run(unsigned char* out, size_t cap, size_t* got) {
    z.next_out = out;
    z.avail_out = static_cast<uInt>(cap);
    const int rc = inflate(&z, Z_NO_FLUSH);
    *got = cap - z.avail_out;
    if (rc == Z_STREAM_END) return Step::End;
    // Z_BUF_ERROR: no progress was possible, which the caller judges.
    return rc == Z_OK || rc == Z_BUF_ERROR ? Step::More : Step::Bad;
  }
  uint32_t Crc(uint32_t sofar, const unsigned char* out, size_t got) const {
    return Crc32(sofar, out, got);
  }
  void End() {
    if (open) inflateEnd(&z);
    open = false;
  }
  ~Inflater() { End(); }
};
#endif

EntryStream::EntryStream() = default;

EntryStream::~EntryStream() = default;

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
  inflater_ = std::make_unique<Inflater>();
  if (!inflater_->Start()) {
    *error = "解压缩初始化失败";
    return false;
  }
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
  Inflater& inflater = *inflater_;
  for (;;) {
    if (inflater.pending() == 0 && fed_ < data_.size()) {
      size_t chunk = std::min(data_.size() - fed_, kMaxStep);
      inflater.Feed(data_.data() + fed_, chunk);
      fed_ += chunk;
    }
    // Past the recorded size one spare byte of room remains, so that data
    // longer than declared shows up as an error instead of a silent cut.
    const uint64_t left = size_ - produced_;
    unsigned char spare;
    unsigned char* out = left ? reinterpret_cast<unsigned char*>(dst) : &spare;
    size_t cap = left ? static_cast<size_t>(std::min<uint64_t>({room, left, kMaxStep})) : 1;
    size_t got = 0;
    const Step step = inflater.Run(out, cap, &got);
    if (!left && got) return Fail("压缩包已损坏：解压后的数据比记录的长");
    if (got) {
      produced_ += got;
      crc_ = inflater.Crc(crc_, out, got);
    }
    if (step == Step::Bad) return Fail("压缩包已损坏：压缩数据无效或不完整");
    if (step == Step::End) {
      if (produced_ != size_) return Fail("压缩包已损坏：压缩数据无效或不完整");
      inflater.End();
      Finish();
      return failed_ ? 0 : got;
    }
    if (got) return got;
    // Nothing came: only more input can help.
    if (inflater.pending() == 0 && fed_ >= data_.size()) {
      return Fail("压缩包已损坏：压缩数据无效或不完整");
    }
  }
}

bool EntryStream::Drain() {
  std::vector<char> sink(64 * 1024);
  while (Read(sink.data(), sink.size()) != 0) {
  }
  return !failed_;
}

}  // namespace qx::zip
