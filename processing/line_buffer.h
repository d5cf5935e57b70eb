// One line of an output file assembled in memory and written with one write.
// Text that would not fit is cut, never written past the buffer.
#pragma once

#include <cstddef>
#include <cstring>

#include "processing/files.h"
#include "processing/format_sig10.h"

namespace tz {

class LineBuffer {
 public:
  static constexpr size_t kSize = 512;  // longer than any line of our files

  LineBuffer& Text(const char* s) { return Bytes(s, std::strlen(s)); }
  LineBuffer& Bytes(const char* s, size_t n) {
    if (n > sizeof buf_ - len_) n = sizeof buf_ - len_;
    std::memcpy(buf_ + len_, s, n);
    len_ += n;
    return *this;
  }
  // A number in plain form (10 significant digits).
  LineBuffer& Plain(double x) {
    Room();
    len_ += FormatSig10(x, buf_ + len_, 10);
    return *this;
  }
  // A number in integer form (the point of a whole number dropped).
  LineBuffer& Int(double x) {
    Room();
    len_ += FormatSig10Int(x, buf_ + len_);
    return *this;
  }
  // A number in header-value form (a final point gets a 0).
  LineBuffer& Header(double x) {
    Room();
    len_ += FormatSig10Header(x, buf_ + len_);
    return *this;
  }
  LineBuffer& Sep() { return Bytes(", ", 2); }
  LineBuffer& End() { return Bytes("\r\n", 2); }
  // Writes the line and starts the next one.
  void WriteTo(OutputFile& f) {
    f.Write(buf_, len_);
    len_ = 0;
  }

 private:
  // Keeps room for the longest number: a line too long loses its end.
  void Room() {
    if (sizeof buf_ - len_ < kSig10Size) len_ = sizeof buf_ - kSig10Size;
  }
  char buf_[kSize];
  size_t len_ = 0;
};

}  // namespace tz
