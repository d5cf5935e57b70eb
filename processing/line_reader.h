// Line reader of the input files. CR and LF are both terminators; a line is
// closed at the second terminator met since the last line, so CR LF closes
// exactly one line. Every other byte (NUL included) is an ordinary character;
// characters beyond the 149th of a line are dropped. A last line that is not
// closed by two terminators is not returned.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tz {

class InputFile;

constexpr size_t kMaxLineChars = 149;

class LineReader {
 public:
  explicit LineReader(InputFile& file) : file_(file) {}
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Returns true with the next complete line, false at the end of the input.
  // bytesRead grows by every byte consumed.
  bool ReadLine(uint64_t& bytesRead);
  // Stops reading once bytesRead has reached limit (a stream that never
  // ends); LimitReached then tells that this, not the end, stopped it.
  void SetByteLimit(uint64_t limit) { limit_ = limit; }
  bool LimitReached() const { return limitReached_; }
  const char* Line() const { return line_; }
  size_t Length() const { return lineLen_; }

 private:
  InputFile& file_;
  static constexpr size_t kBlockSize = 1 << 16;  // bytes read from the file at a time
  char block_[kBlockSize];
  size_t pos_ = 0, fill_ = 0;
  bool eof_ = false;
  uint64_t limit_ = UINT64_MAX;
  bool limitReached_ = false;
  char line_[kMaxLineChars + 1];
  size_t len_ = 0;      // characters of the line being assembled
  size_t lineLen_ = 0;  // characters of the line returned last
  int terminators_ = 0;
};

}  // namespace tz
