#include "reader/ReadAhead.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "reader/ThreadPlacement.h"

namespace qx::zip {

ReadAhead::ReadAhead(EntryStream* stream, bool threaded) : stream_(stream) {
  // On one core the two would only take turns.
  if (!threaded || std::thread::hardware_concurrency() == 1) return;
  for (Block& b : blocks_) b.bytes.resize(kHeadroom + kBlockBytes);
  try {
    thread_ = std::thread([this] { Run(); });
    placement_ = PlaceApart(thread_);
  } catch (const std::system_error&) {
    // No thread to be had: the caller's thread does the inflating.
  }
}

ReadAhead::~ReadAhead() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  emptied_.notify_one();
  thread_.join();
  EndPlacement(placement_);
}

void ReadAhead::Run() {
  for (;;) {
    size_t index;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      emptied_.wait(lock, [this] { return stop_ || produced_ - consumed_ < kBlocks; });
      if (stop_) return;
      index = static_cast<size_t>(produced_ % kBlocks);
    }
    // The caller never looks at a block between its return and its hand-over.
    Block& b = blocks_[index];
    b.size = 0;
    bool end = false;
    while (b.size < kBlockBytes) {
      size_t got = stream_->Read(b.data() + b.size, kBlockBytes - b.size);
      if (got == 0) {
        end = true;
        break;
      }
      b.size += got;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++produced_;
      ended_ = end;
    }
    filled_.notify_one();
    if (end) return;
  }
}

ReadAhead::Block* ReadAhead::TakeNext() {
  if (holding_) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++consumed_;
      holding_ = false;
    }
    emptied_.notify_one();
  }
  std::unique_lock<std::mutex> lock(mutex_);
  filled_.wait(lock, [this] { return produced_ > consumed_ || ended_; });
  // The thread has stopped touching the stream once it ended; the lock
  // makes what it left visible here.
  if (produced_ == consumed_) return nullptr;
  holding_ = true;
  offset_ = 0;
  return &blocks_[static_cast<size_t>(consumed_ % kBlocks)];
}

size_t ReadAhead::Read(char* dst, size_t room) {
  if (!thread_.joinable()) return stream_->Read(dst, room);
  Block* b = holding_ ? &blocks_[static_cast<size_t>(consumed_ % kBlocks)] : nullptr;
  while (!b || offset_ >= b->size) {
    b = TakeNext();
    if (!b) return 0;
  }
  const size_t n = std::min(room, b->size - offset_);
  std::memcpy(dst, b->data() + offset_, n);
  offset_ += n;
  return n;
}

void ReadAhead::Lend(char** block, size_t* size) {
  Block* b = &own_;
  if (thread_.joinable()) {
    b = TakeNext();
    if (!b) {
      *block = nullptr;
      *size = 0;
      return;
    }
    offset_ = b->size;  // all of it lent: a Read after this moves on
  } else {
    if (own_.bytes.empty()) own_.bytes.resize(kHeadroom + kBlockBytes);
    own_.size = 0;
    while (own_.size < kBlockBytes) {
      size_t got = stream_->Read(own_.data() + own_.size, kBlockBytes - own_.size);
      if (got == 0) break;
      own_.size += got;
    }
  }
  *block = b->data();
  *size = b->size;
}

bool ReadAhead::Drain() {
  if (!thread_.joinable()) return stream_->Drain();
  std::vector<char> sink(64 * 1024);
  while (Read(sink.data(), sink.size()) != 0) {
  }
  return !stream_->failed();
}

}  // namespace qx::zip
