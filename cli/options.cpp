#include "cli/options.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

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

// The value of a numeric option: a plain decimal number, or the reason why not.
std::optional<double> NumberOf(const std::string& name, const std::string& value,
                               std::string& error) {
  if (IsPlainDecimal(value)) return ReadDecimalReal(value.data(), value.size());
  error = "option " + name + " needs a plain decimal number, not '" + value + "'";
  return std::nullopt;
}

// An option that takes a value: its name, and how the value is taken (false,
// with the reason in error, when it is refused).
struct ValueOption {
  const char* name;
  bool (*take)(const std::string& value, CliOptions& out, std::string& error);
};

const ValueOption kValueOptions[] = {
    {"--kind",
     [](const std::string& v, CliOptions& out, std::string& error) {
       InputKind kind;
       if (!CodeOf(v, kInputKinds, &InputKindInfo::kind, &kind)) {
         error = "unknown input kind " + v;
         return false;
       }
       out.kind = kind;
       return true;
     }},
    {"--window",
     [](const std::string& v, CliOptions& out, std::string& error) {
       if (CodeOf(v, kFftWindows, &FftWindowInfo::window, &out.window)) return true;
       error = "unknown window " + v;
       return false;
     }},
    {"--source",
     [](const std::string& v, CliOptions& out, std::string& error) {
       if (CodeOf(v, kFftSources, &FftSourceInfo::source, &out.source)) return true;
       error = "unknown source " + v;
       return false;
     }},
    {"--overshoot",
     [](const std::string& v, CliOptions& out, std::string& error) {
       out.overshoot = NumberOf("--overshoot", v, error);
       return out.overshoot.has_value();
     }},
    {"--movavg",
     [](const std::string& v, CliOptions& out, std::string& error) {
       const auto x = NumberOf("--movavg", v, error);
       if (x) out.movAvg = TruncateClamp(*x, kMovAvgMin, kMovAvgMax);
       return x.has_value();
     }},
    {"--threshold",
     [](const std::string& v, CliOptions& out, std::string& error) {
       out.threshold = NumberOf("--threshold", v, error);
       return out.threshold.has_value();
     }},
    {"--zerocross",
     [](const std::string& v, CliOptions& out, std::string& error) {
       const auto x = NumberOf("--zerocross", v, error);
       if (x) out.zeroCross = TruncateClamp(*x, kZeroCrossMin, kZeroCrossMax);
       return x.has_value();
     }},
};

// A flag: its short and long names.
struct FlagOption {
  const char* shortName;
  const char* name;
  bool CliOptions::*flag;
};

const FlagOption kFlags[] = {
    {"-q", "--quiet", &CliOptions::quiet},
    {nullptr, "--json", &CliOptions::json},
};

bool IsHelp(const std::string& a) { return a == "-h" || a == "--help"; }

// One option at args[i] (a value may take the next argument too); false on
// a usage error, with the reason in error.
bool TakeOption(const std::vector<std::string>& args, size_t& i, CliOptions& out,
                std::string& error) {
  const std::string& a = args[i];
  for (const FlagOption& f : kFlags) {
    if ((f.shortName != nullptr && a == f.shortName) || a == f.name) {
      out.*f.flag = true;
      return true;
    }
  }
  // --name=value, or --name value.
  const size_t eq = a.find('=');
  const bool hasValue = a.rfind("--", 0) == 0 && eq != std::string::npos;
  const std::string name = hasValue ? a.substr(0, eq) : a;
  const ValueOption* option = nullptr;
  for (const ValueOption& o : kValueOptions)
    if (name == o.name) option = &o;
  if (option == nullptr) {
    error = "unknown option " + a;
    return false;
  }
  if (hasValue) return option->take(a.substr(eq + 1), out, error);
  if (i + 1 >= args.size()) {
    error = "option " + name + " needs a value";
    return false;
  }
  return option->take(args[++i], out, error);
}

}  // namespace

CliParse ParseCliOptions(const std::vector<std::string>& args, CliOptions& out,
                         std::string& error) {
  // -h wins wherever it stands among the options.
  for (const std::string& a : args) {
    if (a == "--") break;
    if (IsHelp(a)) return CliParse::kHelp;
  }
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.size() < 2 || a[0] != '-') {
      files.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (!TakeOption(args, i, out, error)) {
      return CliParse::kUsageError;
    }
  }
  constexpr size_t kFileArguments = 3;  // INPUT TDM_OUT FDM_OUT
  if (files.size() != kFileArguments) {
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
