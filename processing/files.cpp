#include "processing/files.h"

#include <fcntl.h>
#include <signal.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tz {

namespace {

FileId IdOf(const struct stat& st) {
  FileId id;
  id.valid = true;
  id.regular = S_ISREG(st.st_mode);
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  return id;
}

std::string DirOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Temporary files alive now, for a signal handler to remove: fixed slots,
// claimed and released with atomic flags, read without locks.
struct TempSlot {
  std::atomic<bool> used{false};
  char path[PATH_MAX];
};
TempSlot g_temps[8];

// Outputs are created by one thread at a time (the run's).
int RegisterTemp(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < 8; ++i) {
    if (g_temps[i].used.load(std::memory_order_relaxed)) continue;
    std::memcpy(g_temps[i].path, path.c_str(), path.size() + 1);
    g_temps[i].used.store(true, std::memory_order_release);
    return i;
  }
  return -1;
}

void ReleaseTemp(int slot) {
  if (slot >= 0) g_temps[slot].used.store(false);
}

}  // namespace

void RemoveTemporaryFiles() {
  for (TempSlot& t : g_temps)
    if (t.used.load(std::memory_order_acquire)) ::unlink(t.path);
}

namespace {
extern "C" void RemoveTemporaryFilesAndDie(int sig) {
  RemoveTemporaryFiles();
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}
}  // namespace

void RemoveTemporaryFilesOnSignals() {
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT}) {
    struct sigaction old {};
    // A signal the program was started to ignore (nohup, a background job) stays ignored.
    if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    struct sigaction sa {};
    sa.sa_handler = RemoveTemporaryFilesAndDie;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESETHAND;
    ::sigaction(sig, &sa, nullptr);
  }
}

FileId IdOfFd(int fd) {
  struct stat st;
  if (fd < 0 || ::fstat(fd, &st) != 0) return {};
  return IdOf(st);
}

FileId IdOfPath(const char* path) {
  struct stat st;
  if (path == nullptr || ::stat(path, &st) != 0) return {};
  return IdOf(st);
}

std::string ResolvedTarget(const char* path) {
  std::string p = path;
  // A link is followed to the file it names, also when that file is not
  // there yet; a chain that does not end is left as it is.
  for (int hops = 0; hops < 40; ++hops) {
    struct stat lst;
    if (::lstat(p.c_str(), &lst) != 0 || !S_ISLNK(lst.st_mode)) break;
    char full[PATH_MAX];
    if (::realpath(p.c_str(), full) != nullptr) return full;
    char link[PATH_MAX];
    const ssize_t n = ::readlink(p.c_str(), link, sizeof link - 1);
    if (n <= 0) break;
    link[n] = '\0';
    p = link[0] == '/' ? std::string(link) : DirOf(p) + "/" + link;
  }
  return p;
}

bool InputFile::Open(const char* path) {
  Close();
  if (path == nullptr || *path == '\0') {
    errno = ENOENT;
    return false;
  }
  readFailed_ = false;
  readErrno_ = 0;
  fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  struct stat st;
  if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    errno = EISDIR;
    return false;
  }
  return true;
}

bool InputFile::Size(uint64_t* size) const {
  struct stat st;
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  if (::fstat(fd_, &st) != 0) return false;
  *size = static_cast<uint64_t>(st.st_size);
  return true;
}

size_t InputFile::Read(char* buf, size_t n) {
  for (;;) {
    ssize_t got = ::read(fd_, buf, n);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      readFailed_ = true;
      readErrno_ = errno;
      return 0;
    }
    return static_cast<size_t>(got);
  }
}

void InputFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

OutputFile::~OutputFile() {
  Abandon();
  delete[] buf_;
}

bool OutputFile::Create(const char* path, Mode mode) {
  Abandon();
  used_ = 0;
  failed_ = false;
  failErrno_ = 0;
  targetId_ = {};
  target_.clear();
  if (path == nullptr || *path == '\0') {
    errno = ENOENT;
    return false;
  }
  if (buf_ == nullptr) buf_ = new char[kBufferSize];
  target_ = mode == Mode::Replace ? ResolvedTarget(path) : std::string(path);
  struct stat st;
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (mode == Mode::Direct || (exists && !S_ISREG(st.st_mode))) {
    fd_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) return false;
    targetId_ = IdOfFd(fd_);
    return true;
  }
  // A temporary file beside the target, with the target's permissions (or
  // those a new file would get), renamed over it by Commit.
  std::string temp = DirOf(target_) + "/." + BaseOf(target_) + ".XXXXXX";
  fd_ = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd_ < 0) return false;
  temp_ = temp;
  tempSlot_ = RegisterTemp(temp_);
  mode_t perms;
  if (exists) {
    targetId_ = IdOf(st);
    perms = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    perms = 0666 & ~mask;
  }
  ::fchmod(fd_, perms);
  return true;
}

void OutputFile::Fail(int err) {
  if (failed_.load(std::memory_order_relaxed)) return;
  failErrno_ = err;
  failed_.store(true, std::memory_order_release);
}

bool OutputFile::Commit() {
  bool ok = Close();
  if (temp_.empty()) return ok;
  if (ok && ::rename(temp_.c_str(), target_.c_str()) != 0) {
    Fail(errno);
    ok = false;
  }
  if (!ok) ::unlink(temp_.c_str());
  ReleaseTemp(tempSlot_);
  tempSlot_ = -1;
  temp_.clear();
  return ok;
}

void OutputFile::Abandon() {
  Close();
  if (!temp_.empty()) ::unlink(temp_.c_str());
  ReleaseTemp(tempSlot_);
  tempSlot_ = -1;
  temp_.clear();
}

bool OutputFile::WriteAll(const char* data, size_t n) {
  while (n > 0) {
    ssize_t put = ::write(fd_, data, n);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      Fail(put < 0 ? errno : ENOSPC);
      return false;
    }
    data += put;
    n -= static_cast<size_t>(put);
  }
  return true;
}

bool OutputFile::Flush() {
  if (fd_ < 0) return false;
  if (used_ > 0 && !failed_) WriteAll(buf_, used_);
  used_ = 0;
  return !failed_;
}

void OutputFile::WriteSlow(const char* data, size_t n) {
  if (fd_ < 0) return;
  if (failed_) {
    used_ = 0;
    return;
  }
  Flush();
  if (n >= kBufferSize) {
    if (!failed_) WriteAll(data, n);
    return;
  }
  std::memcpy(buf_, data, n);
  used_ = n;
}

bool OutputFile::Close() {
  if (fd_ < 0) return !failed_;
  Flush();
  if (::close(fd_) != 0) Fail(errno);
  fd_ = -1;
  return !failed_;
}

}  // namespace tz
