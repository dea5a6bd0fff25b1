// Memory for the few large arrays of a read: the file's bytes, the cells,
// the texts. Fresh memory costs a page fault for each 4 KB page on first
// touch; for a sheet of megabytes that was an eighth of a whole
// conversion. Where the platform offers it, a large block is placed on
// large pages (2 MB on Linux, as transparent huge pages) and faults once
// per large page. Small requests go to the ordinary heap.
#pragma once

#include <cstddef>
#include <new>
#include <string_view>

namespace qx::reader {

constexpr size_t kLargeBlockBytes = size_t{512} << 10;

// A block of at least kLargeBlockBytes; throws std::bad_alloc. FreeLarge
// takes the size it was asked for.
void* AllocateLarge(size_t bytes);
void FreeLarge(void* block, size_t bytes) noexcept;

// For the containers that hold those arrays; otherwise as std::allocator.
template <class T>
struct LargeAllocator {
  using value_type = T;

  LargeAllocator() = default;
  template <class U>
  LargeAllocator(const LargeAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    const size_t bytes = n * sizeof(T);
    if (bytes >= kLargeBlockBytes) return static_cast<T*>(AllocateLarge(bytes));
    return static_cast<T*>(::operator new(bytes));
  }
  void deallocate(T* p, size_t n) noexcept {
    const size_t bytes = n * sizeof(T);
    if (bytes >= kLargeBlockBytes) {
      FreeLarge(p, bytes);
    } else {
      ::operator delete(p);
    }
  }

  template <class U>
  bool operator==(const LargeAllocator<U>&) const noexcept { return true; }
  template <class U>
  bool operator!=(const LargeAllocator<U>&) const noexcept { return false; }
};

// Bytes of a size fixed when made, not initialised (a file read whole).
class ByteBlock {
 public:
  ByteBlock() = default;
  explicit ByteBlock(size_t size) : size_(size) {
    if (size) data_ = static_cast<char*>(LargeAllocator<char>().allocate(size));
  }
  ~ByteBlock() { Free(); }
  ByteBlock(ByteBlock&& o) noexcept : data_(o.data_), size_(o.size_) {
    o.data_ = nullptr;
    o.size_ = 0;
  }
  ByteBlock& operator=(ByteBlock&& o) noexcept {
    if (this != &o) {
      Free();
      data_ = o.data_;
      size_ = o.size_;
      o.data_ = nullptr;
      o.size_ = 0;
    }
    return *this;
  }
  ByteBlock(const ByteBlock&) = delete;
  ByteBlock& operator=(const ByteBlock&) = delete;

  char* data() { return data_; }
  size_t size() const { return size_; }
  std::string_view view() const { return std::string_view(data_, size_); }

 private:
  void Free() {
    if (data_) LargeAllocator<char>().deallocate(data_, size_);
    data_ = nullptr;
    size_ = 0;
  }
  char* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace qx::reader
