// One archive member read piece by piece: a sheet part inflates to many
// times its compressed size, and the reader only ever needs a window of it.
// The checks are those of a whole extraction, made as the bytes pass: the
// member may not grow past its recorded size, must end exactly there, and
// its CRC-32 is compared when the last byte has been handed out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qx::zip {

class EntryStream {
 public:
  EntryStream();
  ~EntryStream();
  EntryStream(const EntryStream&) = delete;
  EntryStream& operator=(const EntryStream&) = delete;

  // Copies up to `room` (> 0) bytes of the member to dst. Returns how many;
  // 0 means the member ended intact or the stream failed (see failed()).
  size_t Read(char* dst, size_t room);

  // Reads and discards the rest, for the verdict on the whole member.
  // False when it is damaged.
  bool Drain();

  bool failed() const { return failed_; }
  bool finished() const { return finished_; }
  const std::string& error() const { return error_; }

 private:
  friend class Archive;
  // `data` is the member as stored; `extracted` is the archive's running
  // total, which grows by the member's size once it has proved intact.
  bool Start(std::string_view data, uint16_t method, uint64_t size, uint32_t crc,
             uint64_t* extracted, std::string* error);
  size_t Fail(const char* message);
  size_t Finish();
  size_t Inflate(char* dst, size_t room);
  struct Inflater;

  std::string_view data_;
  size_t fed_ = 0;  // stored bytes handed to the inflater (or copied)
  bool deflated_ = false;
  uint64_t size_ = 0;
  uint64_t produced_ = 0;
  uint32_t expectedCrc_ = 0;
  uint32_t crc_ = 0;
  uint64_t* extracted_ = nullptr;
  std::unique_ptr<Inflater> inflater_;
  bool finished_ = false;
  bool failed_ = false;
  std::string error_;
};

}  // namespace qx::zip
