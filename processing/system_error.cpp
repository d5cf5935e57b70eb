#include "processing/system_error.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "processing/platform.h"

namespace tz {

std::string SystemErrorText(int code) {
  // The untranslated description, whatever the user's locale.
  const char* text = strerrordesc_np(code);
  return text != nullptr ? text : "";
}

std::string SystemErrorReport(int code, const char* context) {
  const std::string message = SystemErrorText(code);
  std::string out;
  constexpr size_t kRoomForTheRest = 30;  // "Error ", the code, ": ", ".\n\r", "\r\n"
  out.reserve(std::strlen(context) + message.size() + kRoomForTheRest);
  out += "Error ";
  out += std::to_string(code);
  out += ": ";
  out += context;
  out += ".\n\r";
  out += message;
  out += "\r\n";
  return out;
}

void ReportSystemError(PlatformOps& ops, const char* context) {
  ReportSystemError(ops, context, errno);
}

void ReportSystemError(PlatformOps& ops, const char* context, int code) {
  try {
    ops.DebugOutput(SystemErrorReport(code, context));
  } catch (const std::bad_alloc&) {
    ops.ShowMessage("Fatal Error", "Cannot properly report error.");
  }
}

}  // namespace tz
