// Large memory of the record and of a run's buffers. On this system a first
// touch of a 4 KiB page costs several microseconds, so the record's tens of
// megabytes cost a tenth of a second in page faults: large memory is mapped
// aligned to 2 MiB and marked for huge pages where the system has them (one
// fault per 2 MiB), and a run's buffers are kept for the next run.
#pragma once

#include <cstddef>

namespace tz {

// How a buffer's memory is touched: all of it soon (huge pages pay), or here
// and there (4 KiB pages: a huge page would be zeroed and kept whole).
enum class Touch { Dense, Sparse };

// Zeroed memory of at least `bytes`, aligned to 2 MiB; throws std::bad_alloc.
// Under AddressSanitizer the bytes past `bytes` up to the mapping's end are
// poisoned, so that a run past the end is caught as it is on the heap.
void* MapLarge(size_t bytes, Touch touch = Touch::Dense);
// Releases memory from MapLarge of the same size.
void UnmapLarge(void* p, size_t bytes);

// A buffer of a run: taken from those earlier runs released, or mapped anew
// (then zeroed; a reused one holds what it held). Released when its owner
// goes, and kept for the next run (a few of them).
class RunBuffer {
 public:
  RunBuffer() = default;
  explicit RunBuffer(size_t bytes, Touch touch = Touch::Dense);
  ~RunBuffer() { Release(); }
  RunBuffer(RunBuffer&& other) noexcept
      : data_(other.data_), size_(other.size_), touch_(other.touch_) {
    other.data_ = nullptr;
    other.size_ = 0;
  }
  RunBuffer& operator=(RunBuffer&& other) noexcept;
  RunBuffer(const RunBuffer&) = delete;
  RunBuffer& operator=(const RunBuffer&) = delete;

  char* data() const { return data_; }
  size_t size() const { return size_; }
  explicit operator bool() const { return data_ != nullptr; }
  void Release();

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  Touch touch_ = Touch::Dense;
};

// Maps the pages of [p, p + bytes) as a write would, without changing what
// they hold: for a thread that prepares memory another will write soon.
// Nothing where the system cannot.
void PrefaultPages(const void* p, size_t bytes);

// Marks memory as not to be touched (AddressSanitizer builds; nothing
// elsewhere): a guard between the parts of one buffer.
void PoisonGuard(void* p, size_t bytes);
void UnpoisonGuard(void* p, size_t bytes);

}  // namespace tz
