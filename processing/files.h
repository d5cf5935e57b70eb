// Files of a run: the input opened for reading, the two outputs created anew
// and written through a buffer that remembers the first failed write.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace tz {

// Identity of a file: device and inode, and whether it is a regular file.
struct FileId {
  bool valid = false;
  bool regular = false;
  dev_t dev = 0;
  ino_t ino = 0;
  bool operator==(const FileId& o) const { return valid && o.valid && dev == o.dev && ino == o.ino; }
};
FileId IdOfFd(int fd);
FileId IdOfPath(const char* path);  // links followed; invalid when nothing is there

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
  // Reads up to n bytes; returns the count, 0 at the end or on a failed
  // read. A failed read is remembered with its errno: it is not an end.
  size_t Read(char* buf, size_t n);
  bool ReadFailed() const { return readFailed_; }
  bool Regular() const { return IdOfFd(fd_).regular; }
  int ReadErrno() const { return readErrno_; }
  int Fd() const { return fd_; }
  void Close();

 private:
  int fd_ = -1;
  bool readFailed_ = false;
  int readErrno_ = 0;
};

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  // Direct: the file is created anew at once (an existing file is emptied).
  // Replace: a regular file, or a name where nothing exists yet, is written
  // to a temporary file beside it (beside the file a link points to) that
  // Commit renames over it; an existing file stays as it was until then.
  // Anything else (a terminal, a pipe, a device) is written directly.
  enum class Mode { Direct, Replace };
  // False (errno set) on failure.
  bool Create(const char* path, Mode mode = Mode::Direct);
  // Replace mode: flushes, closes and renames the temporary file over the
  // target. False (the failure remembered with its errno) when a write, the
  // close or the rename failed; the temporary file is then removed.
  bool Commit();
  // Closes and removes the temporary file; the target is left untouched.
  void Abandon();
  // The file the output replaces or writes: its resolved name, and its
  // identity as it stood when created (invalid for a file not there yet).
  const std::string& Target() const { return target_; }
  const FileId& TargetId() const { return targetId_; }
  bool Replacing() const { return !temp_.empty(); }
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
  // May be asked from another thread than the one writing.
  bool Failed() const { return failed_.load(std::memory_order_acquire); }
  int FailErrno() const { return failErrno_; }
  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }

 private:
  static constexpr size_t kBufferSize = 1 << 20;
  void WriteSlow(const char* data, size_t n);
  bool Flush();
  bool WriteAll(const char* data, size_t n);

  void Fail(int err);

  int fd_ = -1;
  char* buf_ = nullptr;
  size_t used_ = 0;
  std::atomic<bool> failed_{false};
  int failErrno_ = 0;  // set before failed_
  std::string target_;  // resolved name of the output
  std::string temp_;    // temporary file while replacing, removed or renamed
  int tempSlot_ = -1;   // its entry for RemoveTemporaryFiles
  FileId targetId_;
};

// Removes the temporary files of the outputs being written: for a program
// ended by a signal in the middle of a run. Only async-signal-safe calls.
void RemoveTemporaryFiles();
// Has the signals that end a program (interrupt, terminate, hang-up, broken
// pipe, quit) remove them first, then end it as the signal would.
void RemoveTemporaryFilesOnSignals();

// The file an output name stands for: links followed to the file they name
// (also when it is not there yet), otherwise the name itself.
std::string ResolvedTarget(const char* path);

}  // namespace tz
