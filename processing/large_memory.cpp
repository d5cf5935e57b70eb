#include "processing/large_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <mutex>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define TZ_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TZ_ASAN 1
#endif
#endif
#ifdef TZ_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace tz {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

size_t Rounded(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

// Buffers released by earlier runs: a run takes at most a few.
constexpr int kKeptBuffers = 6;
struct Kept {
  char* data = nullptr;
  size_t size = 0;
  Touch touch = Touch::Dense;
};
std::mutex g_keptLock;
Kept g_kept[kKeptBuffers];

}  // namespace

void PoisonGuard(void* p, size_t bytes) {
#ifdef TZ_ASAN
  ASAN_POISON_MEMORY_REGION(p, bytes);
#else
  (void)p;
  (void)bytes;
#endif
}

void UnpoisonGuard(void* p, size_t bytes) {
#ifdef TZ_ASAN
  ASAN_UNPOISON_MEMORY_REGION(p, bytes);
#else
  (void)p;
  (void)bytes;
#endif
}

void PrefaultPages(const void* p, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  constexpr uintptr_t kPage = 4096;
  const uintptr_t start = reinterpret_cast<uintptr_t>(p) & ~(kPage - 1);
  const uintptr_t end = reinterpret_cast<uintptr_t>(p) + bytes;
  if (bytes > 0) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#else
  (void)p;
  (void)bytes;
#endif
}

void* MapLarge(size_t bytes, Touch touch) {
  // One huge page more than needed, to cut an aligned start out of it.
  const size_t size = Rounded(bytes);
  void* raw = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) ::munmap(raw, aligned - start);
  const uintptr_t end = start + size + kHugePage;
  if (end > aligned + size) ::munmap(reinterpret_cast<void*>(aligned + size), end - aligned - size);
  char* p = reinterpret_cast<char*>(aligned);
#ifdef MADV_HUGEPAGE
  // A hint: without huge pages all still works.
  if (touch == Touch::Dense) ::madvise(p, size, MADV_HUGEPAGE);
#else
  (void)touch;
#endif
  PoisonGuard(p + bytes, size - bytes);
  return p;
}

void UnmapLarge(void* p, size_t bytes) {
  if (p == nullptr) return;
  const size_t size = Rounded(bytes);
  UnpoisonGuard(p, size);  // the next mapping here starts clean
  ::munmap(p, size);
}

RunBuffer::RunBuffer(size_t bytes, Touch touch) : touch_(touch) {
  {
    std::lock_guard<std::mutex> lock(g_keptLock);
    for (Kept& k : g_kept) {
      if (k.data != nullptr && k.size == bytes && k.touch == touch) {
        data_ = k.data;
        size_ = k.size;
        k = Kept{};
        return;
      }
    }
  }
  data_ = static_cast<char*>(MapLarge(bytes, touch));
  size_ = bytes;
}

RunBuffer& RunBuffer::operator=(RunBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = other.data_;
    size_ = other.size_;
    touch_ = other.touch_;
    other.data_ = nullptr;
    other.size_ = 0;
  }
  return *this;
}

void RunBuffer::Release() {
  if (data_ == nullptr) return;
  {
    std::lock_guard<std::mutex> lock(g_keptLock);
    for (Kept& k : g_kept) {
      if (k.data == nullptr) {
        k = Kept{data_, size_, touch_};
        data_ = nullptr;
        size_ = 0;
        return;
      }
    }
  }
  UnmapLarge(data_, size_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace tz
