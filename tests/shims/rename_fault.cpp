// Preloaded into the batch command by the commit tests: the moves that put
// finished outputs in place fail or are followed by a signal, as a sticky
// folder, a mount point, a filesystem without some operations, or a user
// pressing Ctrl-C at the worst moment would make them.
//   TZ_FAIL_RENAME_TO=SUFFIX  a rename onto a name ending in SUFFIX fails
//                             with TZ_FAIL_RENAME_ERRNO (default EBUSY)
//   TZ_FAIL_RENAME_AGAIN_TO=SUFFIX
//                             the second and later renames onto a name ending
//                             in SUFFIX fail the same way (the first succeeds)
//   TZ_NO_EXCHANGE=1          exchanging two names is not supported (EINVAL)
//   TZ_NO_LINK=1              hard links are not supported (EPERM)
//   TZ_SIGNAL_AFTER_RENAME_TO=SUFFIX
//                             a rename onto a name ending in SUFFIX is
//                             followed by a terminate signal to the process
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool EndsWith(const char* name, const char* variable) {
  const char* suffix = std::getenv(variable);
  if (suffix == nullptr || *suffix == '\0' || name == nullptr) return false;
  const size_t n = std::strlen(name), s = std::strlen(suffix);
  return n >= s && std::strcmp(name + n - s, suffix) == 0;
}

bool Set(const char* variable) {
  const char* v = std::getenv(variable);
  return v != nullptr && *v != '\0' && std::strcmp(v, "0") != 0;
}

// Whether a rename onto this name is refused; errno set when it is.
bool Refused(const char* to) {
  static int again = 0;
  const bool repeated = EndsWith(to, "TZ_FAIL_RENAME_AGAIN_TO") && ++again > 1;
  if (!repeated && !EndsWith(to, "TZ_FAIL_RENAME_TO")) return false;
  const char* e = std::getenv("TZ_FAIL_RENAME_ERRNO");
  errno = e != nullptr ? std::atoi(e) : EBUSY;
  return true;
}

int After(int result, const char* to) {
  if (result == 0 && EndsWith(to, "TZ_SIGNAL_AFTER_RENAME_TO")) ::kill(::getpid(), SIGTERM);
  return result;
}

template <typename Fn>
Fn Real(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int rename(const char* from, const char* to) {
  static auto real = Real<int (*)(const char*, const char*)>("rename");
  if (Refused(to)) return -1;
  return After(real(from, to), to);
}

extern "C" int renameat(int fromDir, const char* from, int toDir, const char* to) {
  static auto real = Real<int (*)(int, const char*, int, const char*)>("renameat");
  if (Refused(to)) return -1;
  return After(real(fromDir, from, toDir, to), to);
}

extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to,
                         unsigned int flags) {
  static auto real = Real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
  if ((flags & RENAME_EXCHANGE) != 0 && Set("TZ_NO_EXCHANGE")) {
    errno = EINVAL;
    return -1;
  }
  if (Refused(to)) return -1;
  return After(real(fromDir, from, toDir, to, flags), to);
}

extern "C" int link(const char* from, const char* to) {
  static auto real = Real<int (*)(const char*, const char*)>("link");
  if (Set("TZ_NO_LINK")) {
    errno = EPERM;
    return -1;
  }
  return real(from, to);
}

extern "C" int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
  static auto real = Real<int (*)(int, const char*, int, const char*, int)>("linkat");
  if (Set("TZ_NO_LINK")) {
    errno = EPERM;
    return -1;
  }
  return real(fromDir, from, toDir, to, flags);
}
