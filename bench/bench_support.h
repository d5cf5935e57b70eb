// What the two benchmark programs share: the clock, medians, table rows and
// a timed run of the batch command as a child process.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
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

// Starts the batch commands from a small process forked before the
// benchmark grows: a child's peak memory counts what it inherited before
// exec, and copying a large parent's page tables would be timed too. Call
// Start() first thing in main, before any thread or large allocation.
class Launcher {
 public:
  static void Start() { Instance(); }
  static ChildRun Run(const std::string& cli, const std::string& in, const std::string& tdm,
                      const std::string& fdm) {
    const Launcher& l = Instance();
    const std::string request = cli + '\n' + in + '\n' + tdm + '\n' + fdm + '\n';
    const uint32_t n = static_cast<uint32_t>(request.size());
    ChildRun r{0, 0};
    if (write(l.to_, &n, sizeof n) != sizeof n ||
        write(l.to_, request.data(), n) != static_cast<ssize_t>(n) ||
        read(l.from_, &r, sizeof r) != sizeof r)
      std::perror("bench launcher");
    return r;
  }

 private:
  Launcher() {
    int down[2], up[2];
    if (pipe(down) != 0 || pipe(up) != 0) std::perror("pipe");
    if (fork() == 0) {
      close(down[1]);
      close(up[0]);
      Serve(down[0], up[1]);
      _exit(0);
    }
    close(down[0]);
    close(up[1]);
    to_ = down[1];
    from_ = up[0];
  }
  static const Launcher& Instance() {
    static const Launcher l;
    return l;
  }
  // The launcher's loop: a request is four lines (command, input, outputs).
  static void Serve(int in, int out) {
    for (;;) {
      uint32_t n = 0;
      if (read(in, &n, sizeof n) != sizeof n) return;
      std::string request(n, '\0');
      for (size_t got = 0; got < n;) {
        const ssize_t k = read(in, request.data() + got, n - got);
        if (k <= 0) return;
        got += static_cast<size_t>(k);
      }
      std::vector<std::string> a;
      for (size_t at = 0, nl; (nl = request.find('\n', at)) != std::string::npos; at = nl + 1)
        a.push_back(request.substr(at, nl - at));
      const ChildRun r = RunDirect(a[0], a[1], a[2], a[3]);
      if (write(out, &r, sizeof r) != sizeof r) return;
    }
  }
  static ChildRun RunDirect(const std::string& cli, const std::string& in, const std::string& tdm,
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
  int to_ = -1, from_ = -1;
};

inline ChildRun RunCli(const std::string& cli, const std::string& in, const std::string& tdm,
                       const std::string& fdm) {
  return Launcher::Run(cli, in, tdm, fdm);
}

}  // namespace bench
