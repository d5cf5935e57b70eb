#include "processing/run_context.h"

#include <cstring>

namespace tz {

void Progress::Position(int pos) {
  if (pos == pos_ || ops_ == nullptr) return;
  pos_ = pos;
  ops_->SetProgressPosition(pos);
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
