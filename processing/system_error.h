// Report of a failed system call, sent to the platform's debug output channel.
#pragma once

#include <string>

namespace tz {

class PlatformOps;

// English text of a system error code ("" when the code has none).
std::string SystemErrorText(int code);

// "Error %d: %s.\n\r%s\r\n" with the code, the context and the system's
// English text for the code.
std::string SystemErrorReport(int code, const char* context);

// Reports the failure of the last system call (errno) with a context naming
// the failed step, through the platform's debug output channel (the batch
// command writes it to stderr; the desktop program also shows it).
void ReportSystemError(PlatformOps& ops, const char* context);

// Same, with an explicit error code.
void ReportSystemError(PlatformOps& ops, const char* context, int code);

}  // namespace tz
