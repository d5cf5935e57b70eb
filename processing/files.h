// Files of a run: the input opened for reading, the two outputs created anew
// and written through a buffer that remembers the first failed write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tz {

class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() { Close(); }

  // Opens an existing file for reading only; false (errno set) on failure.
  bool Open(const char* path);
  // Size of the open file; false (errno set) when it cannot be asked.
  bool Size(uint64_t* size) const;
  // Reads up to n bytes; returns the count, 0 at the end or on a failed read.
  size_t Read(char* buf, size_t n);
  int Fd() const { return fd_; }
  void Close();

 private:
  int fd_ = -1;
};

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  // Creates the file anew (an existing file is emptied); false (errno set) on failure.
  bool Create(const char* path);
  // Appends bytes; a failed write is remembered (with its errno) and later
  // writes are dropped.
  void Write(const char* data, size_t n) {
    if (n <= kBufferSize - used_) {
      std::memcpy(buf_ + used_, data, n);
      used_ += n;
    } else {
      WriteSlow(data, n);
    }
  }
  // Flushes and closes; false when any write failed. Safe to call twice.
  bool Close();
  bool Failed() const { return failed_; }
  int FailErrno() const { return failErrno_; }
  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }

 private:
  static constexpr size_t kBufferSize = 1 << 20;
  void WriteSlow(const char* data, size_t n);
  bool Flush();
  bool WriteAll(const char* data, size_t n);

  int fd_ = -1;
  char* buf_ = nullptr;
  size_t used_ = 0;
  bool failed_ = false;
  int failErrno_ = 0;
};

// True when both paths name one existing file (links included).
bool SamePath(const char* a, const char* b);
// True when the path names the file open as fd.
bool PathIsFile(const char* path, int fd);

}  // namespace tz
