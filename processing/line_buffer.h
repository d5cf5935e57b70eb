// Text of output files assembled in memory: a line in a buffer of its own
// written with one write (LineBuffer), or lines one after another in a
// chunk of memory (TextWriter). Text that would not fit is cut, never
// written past the end.
#pragma once

#include <cstddef>
#include <cstring>

#include "processing/files.h"
#include "processing/format_sig10.h"

namespace tz {

// The operations of both, each returning the text for the next.
template <typename Self>
class TextOps {
 public:
  TextOps(const TextOps&) = delete;
  TextOps& operator=(const TextOps&) = delete;

  Self& Text(const char* s) { return Bytes(s, std::strlen(s)); }
  Self& Bytes(const char* s, size_t n) {
    const size_t room = static_cast<size_t>(end_ - at_);
    if (n > room) n = room;
    std::memcpy(at_, s, n);
    at_ += n;
    return Me();
  }
  // A number in plain form (10 significant digits).
  Self& Plain(double x) {
    Room();
    at_ += FormatSig10(x, at_, 10);
    return Me();
  }
  // A number in integer form (the point of a whole number dropped).
  Self& Int(double x) {
    Room();
    at_ += FormatSig10Int(x, at_);
    return Me();
  }
  // A number in header-value form (a final point gets a 0).
  Self& Header(double x) {
    Room();
    at_ += FormatSig10Header(x, at_);
    return Me();
  }
  Self& Sep() { return Bytes(", ", 2); }
  Self& End() { return Bytes("\r\n", 2); }
  size_t Length() const { return static_cast<size_t>(at_ - start_); }

 protected:
  // At least kSig10Size bytes from start to end.
  TextOps(char* start, char* end) : start_(start), at_(start), end_(end) {}
  void Restart() { at_ = start_; }

 private:
  Self& Me() { return static_cast<Self&>(*this); }
  // Keeps room for the longest number: text too long loses its end.
  void Room() {
    if (static_cast<size_t>(end_ - at_) < kSig10Size) at_ = end_ - kSig10Size;
  }
  char* const start_;
  char* at_;
  char* const end_;
};

// Lines written one after another into [start, end).
class TextWriter : public TextOps<TextWriter> {
 public:
  TextWriter(char* start, char* end) : TextOps(start, end) {}
};

// One line of an output file, written with one write.
class LineBuffer : public TextOps<LineBuffer> {
 public:
  static constexpr size_t kSize = 512;  // longer than any line of our files

  LineBuffer() : TextOps(buf_, buf_ + kSize) {}
  // Writes the line and starts the next one.
  void WriteTo(OutputFile& f) {
    f.Write(buf_, Length());
    Restart();
  }

 private:
  char buf_[kSize];
};

}  // namespace tz
