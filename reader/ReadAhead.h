// A member inflated on a second thread while the caller parses what came
// before: for a large sheet part the two take about as long as each other,
// so the read costs the longer of them instead of their sum. The thread
// lives only as long as this object; it touches nothing but the stream and
// the blocks it hands over.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "reader/ZipStream.h"

namespace qx::zip {

class ReadAhead {
 public:
  // Parts smaller than this are read on the caller's thread: starting a
  // thread would cost more than it saves.
  static constexpr uint64_t kWorthBytes = 1u << 20;

  // Reads `stream` ahead on a thread of its own when `threaded` (and a
  // thread can be had), else on the caller's. The stream must outlive this
  // and is not to be used directly meanwhile.
  ReadAhead(EntryStream* stream, bool threaded);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // As EntryStream::Read: 0 at the end or on failure.
  size_t Read(char* dst, size_t room);
  // The next block in place instead of a copy, with kHeadroom writable
  // bytes before it; it is given back by the next call of Lend or Read.
  // *size 0 at the end or on failure (see failed()).
  static constexpr size_t kHeadroom = 4 * 1024;
  void Lend(char** block, size_t* size);
  // Reads the rest; false when the member is damaged.
  bool Drain();
  // Once Read has returned 0.
  bool failed() const { return stream_->failed(); }
  const std::string& error() const { return stream_->error(); }

 private:
  static constexpr size_t kBlocks = 3;
  static constexpr size_t kBlockBytes = 64 * 1024;
  struct Block {
    std::vector<char> bytes;  // kHeadroom, then kBlockBytes of data
    size_t size = 0;
    char* data() { return bytes.data() + kHeadroom; }
  };

  void Run();
  // Gives back the block held, if any, and waits for the next one; null
  // once there is none.
  Block* TakeNext();

  EntryStream* stream_;
  Block blocks_[kBlocks];
  std::mutex mutex_;
  std::condition_variable filled_, emptied_;
  // Blocks handed over and given back; block n lives in blocks_[n % kBlocks].
  uint64_t produced_ = 0, consumed_ = 0;
  bool ended_ = false;  // the last block has been handed over
  bool stop_ = false;
  // The caller's side.
  bool holding_ = false;  // reading from block consumed_
  size_t offset_ = 0;
  Block own_;  // what Lend fills when there is no thread
  std::thread thread_;
  void* placement_ = nullptr;  // see PlaceApart
};

}  // namespace qx::zip
