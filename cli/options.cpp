#include "cli/options.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "processing/number_text.h"

namespace tz {

const char kCliUsage[] =
    "Usage: torzalen-cli [OPTIONS] INPUT TDM_OUT FDM_OUT\n"
    "Processes one measurement (VBT, or a TDM/FDM file of an earlier run) into a\n"
    "time-domain (TDM) and a frequency-domain (FDM) analysis file.\n"
    "\n"
    "Options:\n"
    "  --kind vbt|tdm|fdm        kind of INPUT (default: from its extension)\n"
    "  --window flattop|hamming|blackman\n"
    "                            FFT weighting window (default hamming)\n"
    "  --source cslot|rpmfilt|rpminst|torque|power\n"
    "                            FFT input quantity (default torque)\n"
    "  --overshoot X             allowed overshoot, a fraction (0.1 = 10 %)\n"
    "  --movavg N                moving-average length, 5..200\n"
    "  --threshold R             RPM threshold of the sense of rotation\n"
    "  --zerocross Z             zero-crossing filter length, 4..30\n"
    "  --json                    print the run's summary as one JSON object\n"
    "  -q, --quiet               no progress display\n"
    "  -h, --help                print this text\n"
    "Filter settings not given are taken from the input's header.\n";

bool IsPlainDecimal(const std::string& t) {
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  }
  return digits > 0 && i == t.size();
}

namespace {

// The code whose batch-command name is v, from one of the code tables.
template <typename Entry, size_t N, typename Code>
bool CodeOf(const std::string& v, const Entry (&table)[N], Code Entry::*field, Code* out) {
  for (const Entry& e : table) {
    if (v == e.option) {
      *out = e.*field;
      return true;
    }
  }
  return false;
}

}  // namespace

CliParse ParseCliOptions(const std::vector<std::string>& args, CliOptions& out,
                         std::string& error) {
  // -h wins wherever it stands among the options.
  for (const std::string& a : args) {
    if (a == "--") break;
    if (a == "-h" || a == "--help") return CliParse::kHelp;
  }
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    if (optionsEnded || a.size() < 2 || a[0] != '-') {
      files.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    if (a == "-h" || a == "--help") return CliParse::kHelp;
    if (a == "-q" || a == "--quiet") {
      out.quiet = true;
      continue;
    }
    if (a == "--json") {
      out.json = true;
      continue;
    }
    std::string name = a, value;
    bool hasValue = false;
    const size_t eq = a.find('=');
    if (a.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = a.substr(0, eq);
      value = a.substr(eq + 1);
      hasValue = true;
    }
    const bool known = name == "--kind" || name == "--window" || name == "--source" ||
                       name == "--overshoot" || name == "--movavg" || name == "--threshold" ||
                       name == "--zerocross";
    if (!known) {
      error = "unknown option " + a;
      return CliParse::kUsageError;
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) {
        error = "option " + name + " needs a value";
        return CliParse::kUsageError;
      }
      value = args[++i];
    }
    if (name == "--kind") {
      InputKind kind;
      if (CodeOf(value, kInputKinds, &InputKindInfo::kind, &kind)) {
        out.kind = kind;
      } else {
        error = "unknown input kind " + value;
        return CliParse::kUsageError;
      }
    } else if (name == "--window") {
      if (!CodeOf(value, kFftWindows, &FftWindowInfo::window, &out.window)) {
        error = "unknown window " + value;
        return CliParse::kUsageError;
      }
    } else if (name == "--source") {
      if (!CodeOf(value, kFftSources, &FftSourceInfo::source, &out.source)) {
        error = "unknown source " + value;
        return CliParse::kUsageError;
      }
    } else {
      if (!IsPlainDecimal(value)) {
        error = "option " + name + " needs a plain decimal number, not '" + value + "'";
        return CliParse::kUsageError;
      }
      const double x = ReadDecimalReal(value.data(), value.size());
      if (name == "--overshoot") out.overshoot = x;
      else if (name == "--threshold") out.threshold = x;
      else if (name == "--movavg") out.movAvg = TruncateClamp(x, kMovAvgMin, kMovAvgMax);
      else out.zeroCross = TruncateClamp(x, kZeroCrossMin, kZeroCrossMax);
    }
  }
  if (files.size() != 3) {
    error = "expected INPUT TDM_OUT FDM_OUT, got " + std::to_string(files.size()) + " file name(s)";
    return CliParse::kUsageError;
  }
  out.input = files[0];
  out.tdm = files[1];
  out.fdm = files[2];
  if (!out.kind) out.kind = KindFromExtension(out.input);
  return CliParse::kRun;
}

}  // namespace tz
