// Files of a run: the input opened for reading, the two outputs created anew
// and written through a buffer that remembers the first failed write.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "processing/large_memory.h"

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

// Where a file is or will be: its folder (by identity) and its name in it.
// Two names of one file have one place, whether the file exists or not.
struct FilePlace {
  bool valid = false;
  dev_t dirDev = 0;
  ino_t dirIno = 0;
  std::string name;
  bool operator==(const FilePlace& o) const {
    return valid && o.valid && dirDev == o.dirDev && dirIno == o.dirIno && name == o.name;
  }
};

// Where a file of this name would be created while nothing is there: the
// folder the kernel finds and the final name, after the links the name ends
// in. False when the folder cannot be reached or a file is there.
bool PlaceOfNewFile(const char* path, FilePlace* place);

// Makes sure descriptors 0, 1 and 2 are open (on /dev/null when they were
// closed), so that no file the program opens later takes their place and
// receives what is meant for a standard stream. False when one stays closed.
bool OpenStandardDescriptors();

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
  // Replace: the name is opened as the system resolves it, links followed by
  // the kernel, without emptying anything. A regular file, or a name where
  // nothing exists yet, is then written to a hidden temporary file in the
  // folder the file is in, which CommitOutputs moves into its place; an
  // existing file stays as it was until then, and one the user may not
  // write is refused as opening it would be. The program's standard output
  // named another way (/dev/stdout) is written through it, and anything
  // else that is not a file (a terminal, a pipe, a device) directly.
  enum class Mode { Direct, Replace };
  // False (errno set) on failure.
  bool Create(const char* path, Mode mode = Mode::Direct);
  // Closes and removes the temporary file; the target is left untouched.
  void Abandon();
  // The file the output writes or replaces as it stood when created
  // (invalid for a name where nothing was), and where it is (Replace mode).
  const FileId& TargetId() const { return targetId_; }
  const FilePlace& Place() const { return place_; }
  bool Replacing() const { return !temp_.empty(); }
  // Whether this output and another, or this output and a file, are one
  // file. Devices, pipes and terminals are not files: /dev/null may take both.
  bool SameFileAs(const OutputFile& other) const;
  bool Names(const FileId& file) const { return targetId_.regular && targetId_ == file; }

  // Appends bytes; a failed write is remembered (with its errno) and later
  // writes are dropped.
  void Write(const char* data, size_t n) {
    if (n <= kBufferSize - used_) {
      std::memcpy(buf_.data() + used_, data, n);
      used_ += n;
    } else {
      WriteSlow(data, n);
    }
  }
  // Appends a block of text: a large one is written at once, after what the
  // buffer holds, without a copy into it; a small one like Write.
  void WriteBlock(const char* data, size_t n);
  // Flushes and closes; false when any write failed. Safe to call twice.
  bool Close();
  // May be asked from another thread than the one writing.
  bool Failed() const { return failed_.load(std::memory_order_acquire); }
  int FailErrno() const { return failErrno_; }
  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  // Where the earlier file is when a failed commit could not put it back
  // (the new file holds its name): the path of the hidden name it is kept
  // under. Empty when nothing is stranded.
  const std::string& StrandedEarlier() const { return stranded_; }

 private:
  friend bool CommitOutputs(OutputFile& first, OutputFile& second);
  static constexpr size_t kBufferSize = 1 << 20;
  static constexpr size_t kWriteThrough = 1 << 16;  // WriteBlock: from this size on
  void WriteSlow(const char* data, size_t n);
  bool Flush();
  bool WriteAll(const char* data, size_t n);
  void Fail(int err);
  void Reset();
  bool CreateTemporary(const struct stat* earlier);
  // Moving into place: Install puts the written file under the target's name
  // (with keepEarlier, the earlier file stays aside under a hidden name);
  // Undo puts the earlier one back; Settle drops what was kept aside.
  bool Install(bool keepEarlier);
  bool Undo();
  void Settle();
  void Forget();  // lets go of the temporary file's name and its folder

  int fd_ = -1;
  RunBuffer buf_;  // kept for the next output when this one goes
  size_t used_ = 0;
  std::atomic<bool> failed_{false};
  int failErrno_ = 0;  // set before failed_
  FileId targetId_;
  FilePlace place_;
  int dirFd_ = -1;      // the target's folder while replacing
  std::string temp_;    // name of the temporary file in it, removed or moved
  FileId tempId_;       // its identity
  int tempSlot_ = -1;   // its entry for RemoveTemporaryFiles
  bool moved_ = false;   // the temporary file took the target's name
  enum class Earlier { None, AtTemp, AtBackup } earlier_ = Earlier::None;
  std::string backup_;  // name the earlier file is kept under (AtBackup)
  std::string stranded_;  // see StrandedEarlier
};

// Replaces the files of both outputs, or neither: the earlier first file is
// kept until the second is in place, and put back when the second cannot
// be. No signal ends the program between the two moves. Outputs that are
// not replacing anything (a device) take part as they are. False when a
// write, a close or a move failed (remembered in the output concerned); the
// temporary files are removed then. Should the earlier first file not go
// back either, it stays under its hidden name, which StrandedEarlier tells.
bool CommitOutputs(OutputFile& first, OutputFile& second);

// One whole file written as the run's outputs are (a regular file replaced
// only when complete, a pipe or a device written directly): err is 0, or the
// errno of the failure; created tells whether the file could be created.
struct WholeFileResult {
  int err = 0;
  bool created = false;
};
WholeFileResult WriteWholeFile(const char* path, const char* data, size_t n);

// Removes the temporary files of the outputs being written: for a program
// ended by a signal in the middle of a run. Only async-signal-safe calls.
void RemoveTemporaryFiles();
// Has every signal whose default action ends the program remove them first,
// then end it as the signal would; a signal the program was started to
// ignore, or one that already has a handler (the sanitizers' for the crash
// signals), keeps it. A file-size limit is ignored as a signal, so that the
// write that passes it fails (EFBIG) and is reported.
void RemoveTemporaryFilesOnSignals();

}  // namespace tz
