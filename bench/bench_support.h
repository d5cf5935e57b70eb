// What the two benchmark programs share: the clock, medians, table rows and
// a timed run of the batch command as a child process.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline std::string Fmt(const char* format, double v) {
  char b[64];
  std::snprintf(b, sizeof b, format, v);
  return b;
}

// One row "| what | ours | reference | ratio |"; a ratio of 0 is a figure
// without a reference.
inline void Row(const std::string& what, const std::string& ours, const std::string& ref,
                double ratio) {
  char r[32] = "";
  if (ratio != 0) std::snprintf(r, sizeof r, "%.2f", ratio);
  std::printf("| %s | %s | %s | %s |\n", what.c_str(), ours.c_str(), ref.c_str(), r);
}

// One quiet run of the batch command: wall seconds, peak memory in KiB.
struct ChildRun {
  double seconds;
  long maxRssKb;
};
inline ChildRun RunCli(const std::string& cli, const std::string& in, const std::string& tdm,
                       const std::string& fdm) {
  const auto a = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    execl(cli.c_str(), cli.c_str(), "-q", in.c_str(), tdm.c_str(), fdm.c_str(), nullptr);
    _exit(127);
  }
  int status = 0;
  struct rusage ru {};
  wait4(pid, &status, 0, &ru);
  return {Seconds(a, Clock::now()), ru.ru_maxrss};
}

}  // namespace bench
