#include "processing/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tz {

bool InputFile::Open(const char* path) {
  Close();
  if (path == nullptr || *path == '\0') {
    errno = ENOENT;
    return false;
  }
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
    return got > 0 ? static_cast<size_t>(got) : 0;
  }
}

void InputFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

OutputFile::~OutputFile() {
  Close();
  delete[] buf_;
}

bool OutputFile::Create(const char* path) {
  Close();
  if (path == nullptr || *path == '\0') {
    errno = ENOENT;
    return false;
  }
  fd_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) return false;
  if (buf_ == nullptr) buf_ = new char[kBufferSize];
  used_ = 0;
  failed_ = false;
  failErrno_ = 0;
  return true;
}

bool OutputFile::WriteAll(const char* data, size_t n) {
  while (n > 0) {
    ssize_t put = ::write(fd_, data, n);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (!failed_) {
        failed_ = true;
        failErrno_ = put < 0 ? errno : ENOSPC;
      }
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
  if (::close(fd_) != 0 && !failed_) {
    failed_ = true;
    failErrno_ = errno;
  }
  fd_ = -1;
  return !failed_;
}

bool SamePath(const char* a, const char* b) {
  struct stat sa, sb;
  if (a == nullptr || b == nullptr) return false;
  if (::stat(a, &sa) != 0 || ::stat(b, &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool PathIsFile(const char* path, int fd) {
  struct stat sp, sf;
  if (path == nullptr || fd < 0) return false;
  if (::stat(path, &sp) != 0 || ::fstat(fd, &sf) != 0) return false;
  return sp.st_dev == sf.st_dev && sp.st_ino == sf.st_ino;
}

}  // namespace tz
