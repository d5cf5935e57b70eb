#include "processing/line_reader.h"

#include "processing/files.h"

namespace tz {

bool LineReader::ReadLine(uint64_t& bytesRead) {
  for (;;) {
    if (pos_ == fill_) {
      if (eof_) return false;
      if (bytesRead >= limit_) {
        limitReached_ = true;
        return false;
      }
      fill_ = file_.Read(block_, sizeof block_);
      pos_ = 0;
      if (fill_ == 0) {
        eof_ = true;
        return false;
      }
    }
    while (pos_ < fill_) {
      const char c = block_[pos_++];
      ++bytesRead;
      if (c == '\r' || c == '\n') {
        if (++terminators_ == 2) {
          terminators_ = 0;
          line_[len_] = '\0';
          lineLen_ = len_;
          len_ = 0;
          return true;
        }
      } else if (len_ < kMaxLineChars) {
        line_[len_++] = c;
      }
    }
  }
}

}  // namespace tz
