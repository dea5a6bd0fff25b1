// The workbook's texts, back to back in one buffer. A question bank holds
// tens of thousands of short distinct texts; as separate strings each would
// cost a heap block and a string header several times its own size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "reader/LargeBlocks.h"

namespace qx::reader {

class StringPool {
 public:
  StringPool() = default;
  StringPool(std::initializer_list<std::string_view> texts) {
    for (std::string_view t : texts) push_back(t);
  }

  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }

  std::string_view operator[](size_t id) const {
    size_t begin = id ? ends_[id - 1] : 0;
    return std::string_view(chars_.data() + begin, ends_[id] - begin);
  }
  std::string_view back() const { return (*this)[size() - 1]; }

  void push_back(std::string_view text) {
    std::memcpy(BeginText(text.size()), text.data(), text.size());
    EndText(text.size());
  }
  void emplace_back(std::string_view text = {}) { push_back(text); }

  // A text written in place, for a reader that decodes straight into the
  // pool: room for up to maxBytes at the end (not initialised), then
  // EndText with the bytes written there, or CancelText. Nothing else may
  // touch the pool in between.
  char* BeginText(size_t maxBytes) {
    if (chars_.capacity() - chars_.size() < maxBytes) chars_.Grow(maxBytes);
    return chars_.data() + chars_.size();
  }
  void EndText(size_t bytes) {
    chars_.resize(chars_.size() + bytes);
    ends_.push_back(static_cast<uint32_t>(chars_.size()));
  }
  void CancelText() {}

  // Most bytes worth reserving ahead on an estimate: past it the pool grows
  // by doubling, so that a claim of a huge part cannot take the 32-bit
  // program's address space up front.
  static constexpr size_t kMaxReserveBytes = size_t{64} << 20;

  // Room for `count` more texts of `bytes` bytes in all (at most
  // kMaxReserveBytes).
  void reserve(size_t count, size_t bytes = 0) {
    if (bytes > kMaxReserveBytes) bytes = kMaxReserveBytes;
    ends_.reserve(ends_.size() + count);
    if (bytes) chars_.reserve(chars_.size() + bytes);
  }
  // Drops the texts from `count` on (those of a sheet that failed).
  void truncate(size_t count) {
    if (count >= ends_.size()) return;
    ends_.resize(count);
    chars_.resize(count ? ends_.back() : 0);
  }
  // Gives back what reserving overestimated.
  void shrink_to_fit() {
    chars_.shrink_to_fit();
    ends_.shrink_to_fit();
  }
  size_t byteSize() const { return chars_.size(); }

  class const_iterator {
   public:
    const_iterator(const StringPool* pool, size_t i) : pool_(pool), i_(i) {}
    std::string_view operator*() const { return (*pool_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator!=(const const_iterator& o) const { return i_ != o.i_; }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }

   private:
    const StringPool* pool_;
    size_t i_;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

 private:
  // The texts' bytes. Growing leaves the new bytes as they are: each is
  // written once, by the text that takes it, and a reader that decodes in
  // place asks for more room than it uses.
  class Bytes {
   public:
    Bytes() = default;
    Bytes(const Bytes& o) { *this = o; }
    Bytes(Bytes&& o) noexcept { Swap(o); }
    Bytes& operator=(const Bytes& o) {
      if (this != &o) {
        Bytes copy;
        copy.reserve(o.size_);
        if (o.size_) std::memcpy(copy.data_, o.data_, o.size_);
        copy.size_ = o.size_;
        Swap(copy);
      }
      return *this;
    }
    Bytes& operator=(Bytes&& o) noexcept {
      Bytes gone(std::move(*this));
      Swap(o);
      return *this;
    }
    ~Bytes() {
      if (data_) LargeAllocator<char>().deallocate(data_, capacity_);
    }

    char* data() { return data_; }
    const char* data() const { return data_; }
    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    // Within the capacity only; new bytes are not initialised.
    void resize(size_t size) { size_ = size; }
    void reserve(size_t capacity) {
      if (capacity <= capacity_) return;
      char* grown = LargeAllocator<char>().allocate(capacity);
      if (size_) std::memcpy(grown, data_, size_);
      if (data_) LargeAllocator<char>().deallocate(data_, capacity_);
      data_ = grown;
      capacity_ = capacity;
    }
    // Room for `more` bytes past the size, by doubling.
    void Grow(size_t more) {
      const size_t need = size_ + more;
      reserve(need > 2 * capacity_ ? need : 2 * capacity_);
    }
    void shrink_to_fit() {
      if (size_ == capacity_) return;
      Bytes copy(*this);
      Swap(copy);
    }

   private:
    void Swap(Bytes& o) noexcept {
      std::swap(data_, o.data_);
      std::swap(size_, o.size_);
      std::swap(capacity_, o.capacity_);
    }
    char* data_ = nullptr;
    size_t size_ = 0, capacity_ = 0;
  };

  Bytes chars_;
  std::vector<uint32_t, LargeAllocator<uint32_t>> ends_;  // end offset of each text in chars_
};

}  // namespace qx::reader
