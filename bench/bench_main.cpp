// Google Benchmark loops of the hot paths: number formatting and a
// full-capacity run, for profiling one of them alone. bench/run prints the
// full table with its references; targets on this machine: a 524,288-line
// run in at most 0.5 s and 4 x its I/O floor, FormatSig10 3 x faster than
// precision std::to_chars.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "processing/analysis_record.h"
#include "processing/format_sig10.h"
#include "processing/platform.h"
#include "run/run_processing.h"

namespace {

void BM_FormatSig10(benchmark::State& state) {
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<double> dist(-5000.0, 5000.0);
  std::vector<double> values(4096);
  for (double& v : values) v = dist(gen);
  char buf[tz::kSig10Size];
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tz::FormatSig10(values[i++ & 4095], buf));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatSig10);


void BM_FullCapacityRun(benchmark::State& state) {
  const std::string dir = "/tmp/torzalen-bench";
  std::system(("mkdir -p " + dir).c_str());
  const std::string in = dir + "/full.VBT";
  std::system((std::string(TZ_VBTGEN) + " --samples 524288 -o " + in).c_str());
  auto record = tz::NewAnalysisRecord();
  tz::SilentPlatform platform;
  record->source.SourceKind = tz::InputKind::Vbt;
  record->source.InputPath = in;
  record->source.TdmPath = dir + "/full.TDM";
  record->source.FdmPath = dir + "/full.FDM";
  for (auto _ : state) tz::RunProcessing(*record, platform);
  state.SetItemsProcessed(state.iterations() * 524288);
}
BENCHMARK(BM_FullCapacityRun)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
