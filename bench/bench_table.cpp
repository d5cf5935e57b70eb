// The measurements behind bench/run: each row is "what, ours, reference,
// ratio", measured in the same process on the same machine.
//
//   torzalen-bench-table [--before COMMIT CLI] CLI WORKDIR INPUT_FULL [INPUT_2^14 ...]
//
// The batch command runs as a child (wall time, median of 7; its peak
// memory from the kernel); on the full-capacity file it runs in turns with
// the earlier commit's batch command and the I/O floor, which reads the
// input and writes the bytes of both outputs from memory. The stages run in
// this process on the record of a full-capacity run.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "processing/analysis_record.h"
#include "processing/files.h"
#include "processing/format_sig10.h"
#include "processing/line_reader.h"
#include "processing/platform.h"
#include "processing/sample_step.h"
#include "processing/tdm_writer.h"
#include "processing/vbt_reader.h"
#include "run/run_processing.h"
#include "spectrum/fft.h"
#include "spectrum/spectrum_analysis.h"

namespace {

using namespace bench;

// Median of five timings of f, in seconds.
double Time5(const std::function<void()>& f) {
  std::vector<double> t;
  for (int i = 0; i < 5; ++i) {
    const auto a = Clock::now();
    f();
    t.push_back(Seconds(a, Clock::now()));
  }
  return Median(t);
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}


// Reading the input and writing both outputs' bytes from memory, once.
double IoFloorOnce(const std::string& in, const std::string& tdmBytes, const std::string& fdmBytes,
                   const std::string& dir) {
  static std::vector<char> buf(1 << 20);
  const auto a = Clock::now();
  const int fd = open(in.c_str(), O_RDONLY);
  while (read(fd, buf.data(), buf.size()) > 0) {
  }
  close(fd);
  for (const auto& [name, bytes] : {std::pair{dir + "/floor.TDM", &tdmBytes},
                                    std::pair{dir + "/floor.FDM", &fdmBytes}}) {
    const int out = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (size_t at = 0; at < bytes->size(); at += 1 << 20) {
      const size_t n = std::min<size_t>(1 << 20, bytes->size() - at);
      if (write(out, bytes->data() + at, n) != static_cast<ssize_t>(n)) break;
    }
    close(out);
  }
  return Seconds(a, Clock::now());
}

// The batch command of an earlier commit, to run in turns with ours.
struct Before {
  std::string commit, cli;
};

std::string Sorted(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  std::string out;
  for (double x : v) {
    if (!out.empty()) out += ' ';
    out += Fmt("%.3f", x);
  }
  return out;
}

// The full-capacity file, seven rounds of: the earlier batch command, ours,
// and the I/O floor of our outputs. Prints the rounds, then the rows.
void FullCapacity(const std::string& cli, const Before& before, const std::string& dir,
                  const std::string& in) {
  const std::string tdm = dir + "/run.TDM", fdm = dir + "/run.FDM";
  const std::string oldTdm = dir + "/before.TDM", oldFdm = dir + "/before.FDM";
  const bool compare = !before.cli.empty();
  RunCli(cli, in, tdm, fdm);  // warm: the input and the program in the page cache
  if (compare) RunCli(before.cli, in, oldTdm, oldFdm);
  const std::string tdmBytes = Slurp(tdm), fdmBytes = Slurp(fdm);
  if (compare && (Slurp(oldTdm) != tdmBytes || Slurp(oldFdm) != fdmBytes))
    std::puts("**The outputs differ from those of the earlier commit.**\n");
  IoFloorOnce(in, tdmBytes, fdmBytes, dir);
  std::vector<double> ours, old, floor;
  long rss = 0;
  for (int k = 0; k < 7; ++k) {
    if (compare) old.push_back(RunCli(before.cli, in, oldTdm, oldFdm).seconds);
    const ChildRun c = RunCli(cli, in, tdm, fdm);
    ours.push_back(c.seconds);
    rss = std::max(rss, c.maxRssKb);
    floor.push_back(IoFloorOnce(in, tdmBytes, fdmBytes, dir));
  }
  std::puts("Full-capacity file, seven rounds of each in turn (wall s, sorted):\n");
  std::puts("| build | runs (s) | median |");
  std::puts("|---|---|---|");
  if (compare)
    std::printf("| before (%s) | %s | %.3f s |\n", before.commit.c_str(), Sorted(old).c_str(),
                Median(old));
  std::printf("| after (this tree) | %s | %.3f s |\n", Sorted(ours).c_str(), Median(ours));
  std::printf("| I/O floor of the same outputs | %s | %.3f s |\n\n", Sorted(floor).c_str(),
              Median(floor));
  std::puts("| what | ours | reference | ratio |");
  std::puts("|---|---|---|---|");
  const double t = Median(ours);
  Row("batch run, full capacity (524,288 lines), median of 7, vs the 0.25 s target",
      Fmt("%.3f s", t), "0.250 s", t / 0.25);
  if (compare)
    Row("  vs the batch command before (" + before.commit + "), in turns", Fmt("%.3f s", t),
        Fmt("%.3f s", Median(old)), t / Median(old));
  Row("  vs its I/O floor (median of 7; target at most 3 x)", Fmt("%.3f s", t),
      Fmt("%.3f s", Median(floor)), t / Median(floor));
  const double mb = static_cast<double>(tdmBytes.size() + fdmBytes.size()) / 1e6;
  Row("  samples/s; output MB/s", Fmt("%.3g samples/s", 524288 / t), Fmt("%.0f MB/s", mb / t), 0);
  Row("  peak memory (max RSS) vs the 80 MB target", Fmt("%.1f MB", rss / 1024.0), "80 MB",
      rss / 1024.0 / 80.0);
}

// Each input of a given length: per sample, median of seven.
void PerSample(const std::string& cli, const std::string& dir, const std::vector<std::string>& ins) {
  double perSample16 = 0, perSample19 = 0;
  for (const std::string& in : ins) {
    const std::string tdm = dir + "/run.TDM", fdm = dir + "/run.FDM";
    std::vector<double> t;
    RunCli(cli, in, tdm, fdm);  // warm
    for (int k = 0; k < 7; ++k) t.push_back(RunCli(cli, in, tdm, fdm).seconds);
    const double ours = Median(t);
    const std::string tdmBytes = Slurp(tdm), fdmBytes = Slurp(fdm);
    IoFloorOnce(in, tdmBytes, fdmBytes, dir);  // warm, as the runs were
    std::vector<double> f;
    for (int k = 0; k < 7; ++k) f.push_back(IoFloorOnce(in, tdmBytes, fdmBytes, dir));
    const double floor = Median(f);
    const size_t at = in.find("samples-");
    if (at == std::string::npos) continue;
    const size_t samples = std::stoul(in.substr(at + 8));
    Row("batch run, " + std::to_string(samples) + " lines: per sample, vs I/O floor",
        Fmt("%.0f ns", ours / samples * 1e9), Fmt("%.0f ns", floor / samples * 1e9),
        ours / floor);
    if (samples == 65536) perSample16 = ours / samples;
    if (samples == 524288) perSample19 = ours / samples;
  }
  if (perSample16 > 0 && perSample19 > 0)
    Row("growth: per sample at 2^19 vs 2^16 (target at most 1.25)",
        Fmt("%.0f ns", perSample19 * 1e9), Fmt("%.0f ns", perSample16 * 1e9),
        perSample19 / perSample16);
}

// Values as a run writes them: the record's arrays after a run.
std::vector<double> RunValues(const tz::AnalysisRecord& r) {
  std::vector<double> v;
  for (int i = 1; i <= r.counters.ProgrCount && v.size() < 3'000'000; i += 1) {
    for (double x : {r.samples.TprogrArr[i], r.samples.RPMfiltArr[i], r.samples.TRQfiltArr[i],
                     r.samples.POTfiltArr[i], r.samples.CislotRaw[i], r.samples.RPMinstArr[i]})
      v.push_back(x);
  }
  for (int k = 0; k < r.spectrum.FFT_N / 2; ++k) {
    v.push_back(r.spectrum.FFTfreq[k]);
    v.push_back(tz::LineMagnitude(r.spectrum, k));
  }
  return v;
}

void Formatting(const std::vector<double>& values) {
  char buf[64];
  size_t sink = 0;
  // Each conversion inlined into its own loop, so the loop costs the same.
  auto perNumber = [&](auto f) {
    return Time5([&] {
             for (double x : values) sink += f(x);
           }) /
           values.size() * 1e9;
  };
  const double ours = perNumber([&](double x) { return tz::FormatSig10(x, buf); });
  const double toChars = perNumber([&](double x) {
    return static_cast<size_t>(
        std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 9).ptr - buf);
  });
  const double printf = perNumber([&](double x) {
    return static_cast<size_t>(std::snprintf(buf, sizeof buf, "%.9e", x));
  });
  // The numbers one after another, as the lines of the files take them: each
  // text starts where the one before ended, in a block of 64 KiB.
  std::vector<char> block(1 << 16);
  const double inLine = Time5([&] {
                          char* p = block.data();
                          char* const end = p + block.size() - tz::kSig10Size;
                          for (double x : values) {
                            p += tz::FormatSig10(x, p);
                            if (p > end) p = block.data();
                          }
                          sink += static_cast<size_t>(p - block.data());
                        }) /
                        values.size() * 1e9;
  Row("FormatSig10 per number, run values, vs the 15 ns target", Fmt("%.1f ns", ours), "15.0 ns",
      ours / 15);
  Row("  written one after another", Fmt("%.1f ns", inLine), "15.0 ns", inLine / 15);
  Row("FormatSig10 per number vs precision std::to_chars", Fmt("%.1f ns", ours),
      Fmt("%.1f ns", toChars), ours / toChars);
  Row("FormatSig10 per number vs snprintf(\"%.9e\")", Fmt("%.1f ns", ours), Fmt("%.1f ns", printf),
      ours / printf);
  if (sink == 42) std::puts("");
}

void Stages(tz::AnalysisRecord& r, const std::string& in) {
  tz::SilentPlatform platform;
  const std::string text = Slurp(in);
  // Reading and parsing: the line reader and the sample parser over the file.
  const double read = Time5([&] {
    tz::InputFile f;
    f.Open(in.c_str());
    tz::LineReader reader(f);
    uint64_t bytes = 0;
    uint32_t c, s;
    size_t n = 0;
    while (reader.ReadLine(bytes)) n += tz::ParseSampleLine(reader.Line(), reader.Length(), &c, &s);
    if (n == 1) std::puts("");
  });
  Row("reading and parsing the input", Fmt("%.0f MB/s", text.size() / read / 1e6),
      Fmt("%.3f s", read), 0);

  // Conditioning and emission of every sample, output to /dev/null.
  const int32_t raw = r.counters.RawCount;
  std::vector<double> ci(r.samples.CislotRaw, r.samples.CislotRaw + raw),
      cs(r.samples.CslotRaw, r.samples.CslotRaw + raw);
  const double cond = Time5([&] {
    tz::RunContext run(platform);
    tz::OutputFile tdm;
    tdm.Create("/dev/null");
    run.tdm = &tdm;
    tz::ResetRunState(r);
    for (int32_t i = 0; i < raw; ++i) {
      const auto sample =
          tz::TakeSample(r, static_cast<uint32_t>(ci[i]), static_cast<uint32_t>(cs[i]));
      if (sample) tz::WriteDataLine(run, *sample);
    }
    tdm.Close();
    run.tdm = nullptr;
  });
  Row("conditioning and emission, per sample", Fmt("%.1f ns", cond / raw * 1e9),
      Fmt("%.3f s", cond), 0);

  // The transform and the spectrum analysis at N = 2^18.
  const uint32_t N = 1u << 18;
  tz::Progress progress;
  progress.Bind(&platform);
  const double fft = Time5([&] {
    tz::fft_float(N, tz::FftDirection::Forward, r.spectrum.FFTinRe, {}, r.spectrum.FFTre,
                  r.spectrum.FFTim);
  });
  Row("fft_float, N = 2^18", Fmt("%.1f ms", fft * 1e3), "", 0);
  r.spectrum.FFT_N = static_cast<int32_t>(N);
  const double spectrum = Time5([&] { tz::AnalyseSpectrum(r.spectrum, r.stats.Fc, progress); });
  Row("spectrum analysis with its ordering, N = 2^18", Fmt("%.1f ms", spectrum * 1e3), "", 0);
}

}  // namespace

int main(int argc, char** argv) {
  Launcher::Start();
  Before before;
  if (argc >= 4 && std::strcmp(argv[1], "--before") == 0) {
    before = {argv[2], argv[3]};
    argc -= 3;
    argv += 3;
  }
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s [--before COMMIT CLI] CLI WORKDIR INPUT_FULL [INPUTS ...]\n",
                 argv[0]);
    return 2;
  }
  const std::string cli = argv[1], dir = argv[2];
  std::vector<std::string> ins(argv + 3, argv + argc);
  FullCapacity(cli, before, dir, ins[0]);
  PerSample(cli, dir, std::vector<std::string>(ins.begin() + 1, ins.end()));

  auto record = tz::NewAnalysisRecord();
  tz::AnalysisRecord& r = *record;
  tz::SilentPlatform platform;
  r.source.SourceKind = tz::InputKind::Vbt;
  r.source.InputPath = ins[0];
  r.source.TdmPath = "/dev/null";
  r.source.FdmPath = "/dev/null";
  tz::RunProcessing(r, platform);
  Formatting(RunValues(r));
  Stages(r, ins[0]);
  return 0;
}
