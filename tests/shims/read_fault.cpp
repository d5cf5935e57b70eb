// Preloaded into the batch command by the fault tests: once the bytes read
// from files whose name ends with TZ_FAIL_READ_SUFFIX pass
// TZ_FAIL_READ_AFTER, every further read of them fails with EIO, as a worn
// memory card or a network share that drops does.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using ReadFn = ssize_t (*)(int, void*, size_t);

bool NamedFile(int fd, const char* suffix) {
  char link[64], path[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = ::readlink(link, path, sizeof path - 1);
  if (n <= 0) return false;
  path[n] = '\0';
  const size_t s = std::strlen(suffix);
  return static_cast<size_t>(n) >= s && std::strcmp(path + n - s, suffix) == 0;
}

}  // namespace

extern "C" ssize_t read(int fd, void* buf, size_t count) {
  static ReadFn real = reinterpret_cast<ReadFn>(dlsym(RTLD_NEXT, "read"));
  static unsigned long long taken = 0;
  const char* suffix = std::getenv("TZ_FAIL_READ_SUFFIX");
  const char* after = std::getenv("TZ_FAIL_READ_AFTER");
  if (suffix == nullptr || after == nullptr || !NamedFile(fd, suffix)) return real(fd, buf, count);
  if (taken >= std::strtoull(after, nullptr, 10)) {
    errno = EIO;
    return -1;
  }
  const ssize_t got = real(fd, buf, count);
  if (got > 0) taken += static_cast<unsigned long long>(got);
  return got;
}
