// The workbook's texts, back to back in one buffer. A question bank holds
// tens of thousands of short distinct texts; as separate strings each would
// cost a heap block and a string header several times its own size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
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
    return std::string_view(chars_).substr(begin, ends_[id] - begin);
  }
  std::string_view back() const { return (*this)[size() - 1]; }

  void push_back(std::string_view text) {
    chars_.append(text);
    ends_.push_back(static_cast<uint32_t>(chars_.size()));
  }
  void emplace_back(std::string_view text = {}) { push_back(text); }

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
  std::basic_string<char, std::char_traits<char>, LargeAllocator<char>> chars_;
  std::vector<uint32_t, LargeAllocator<uint32_t>> ends_;  // end offset of each text in chars_
};

}  // namespace qx::reader
