#include "processing/run_context.h"

#include <cstring>

namespace tz {

void Progress::Position(int pos) {
  if (pos == pos_ || ops_ == nullptr) return;
  pos_ = pos;
  ops_->SetProgressPosition(pos);
}

void Progress::ReportRange(int32_t from, int32_t to, int32_t total, const char* text) {
  for (int32_t i = from; i < to;) {
    Report(i, total, text);
    // The first line after i with another position, or to.
    const int pos = Percent(i, total);
    int32_t lo = i + 1, hi = to;
    while (lo < hi) {
      const int32_t mid = lo + (hi - lo) / 2;
      if (Percent(mid, total) == pos)
        lo = mid + 1;
      else
        hi = mid;
    }
    i = lo;
  }
}

void Progress::Text(const char* text) {
  if (text == text_ || ops_ == nullptr || !dialog_) return;
  if (text_ != nullptr && std::strcmp(text, text_) == 0) {
    text_ = text;
    return;
  }
  text_ = text;
  ops_->SetProgressText(text);
}

}  // namespace tz
