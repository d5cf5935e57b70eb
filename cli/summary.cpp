#include "cli/summary.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "processing/analysis_record.h"
#include "processing/format_sig10.h"
#include "processing/run_context.h"

namespace tz {

namespace {

// The length of the UTF-8 sequence at s (at most n bytes), or 0 when it is
// none: overlong forms, surrogates and code points past U+10FFFF included.
size_t Utf8Length(const unsigned char* s, size_t n) {
  const unsigned char c = s[0];
  size_t len;
  unsigned min;
  unsigned cp;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) len = 2, min = 0x80, cp = c & 0x1Fu;
  else if (c >= 0xE0 && c <= 0xEF) len = 3, min = 0x800, cp = c & 0x0Fu;
  else if (c >= 0xF0 && c <= 0xF4) len = 4, min = 0x10000, cp = c & 0x07u;
  else return 0;
  if (n < len) return 0;
  for (size_t i = 1; i < len; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (s[i] & 0x3Fu);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

// Text as a JSON string's contents: quotes, backslashes and control
// characters escaped, and a byte that is not UTF-8 (a file name in another
// encoding) given as the replacement character, so that the summary stays
// JSON any reader takes.
void AppendJsonText(std::string& out, const char* v) {
  const auto* s = reinterpret_cast<const unsigned char*>(v);
  size_t n = std::strlen(v);
  while (n > 0) {
    const size_t len = Utf8Length(s, n);
    if (len == 0) {
      out += "\\ufffd";
      ++s, --n;
      continue;
    }
    if (s[0] == '"' || s[0] == '\\') {
      out += '\\';
      out += static_cast<char>(s[0]);
    } else if (s[0] < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", s[0]);
      out += esc;
    } else {
      out.append(reinterpret_cast<const char*>(s), len);
    }
    s += len, n -= len;
  }
}

class JsonObject {
 public:
  void Key(const char* k) {
    out_ += first_ ? "{" : ", ";
    first_ = false;
    out_ += '"';
    out_ += k;
    out_ += "\": ";
  }
  void Null(const char* k) { Key(k), out_ += "null"; }
  void Int(const char* k, long long v, bool known) {
    Key(k);
    out_ += known ? std::to_string(v) : "null";
  }
  void Real(const char* k, double v, bool known) {
    Key(k);
    if (!known || !std::isfinite(v)) {
      out_ += "null";
      return;
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    out_ += buf;
  }
  void Bool(const char* k, bool v) {
    Key(k);
    out_ += v ? "true" : "false";
  }
  void String(const char* k, const char* v, bool known) {
    Key(k);
    if (!known) {
      out_ += "null";
      return;
    }
    out_ += '"';
    AppendJsonText(out_, v);
    out_ += '"';
  }
  void Raw(const char* k, const std::string& v) {
    Key(k);
    out_ += v;
  }
  std::string Done() { return out_ + "}"; }

 private:
  std::string out_;
  bool first_ = true;
};

}  // namespace

std::string JsonSummary(const AnalysisRecord& r, const RunMarks& m, const std::string& failure) {
  JsonObject j;
  j.Bool("completed", m.completed);
  j.String("message", failure.c_str(), !m.completed && !failure.empty());
  j.Int("RawCount", r.counters.RawCount, m.resetDone);
  j.Int("FilteredCount", r.counters.FilteredCount, m.resetDone);
  j.Int("ProgrCount", r.counters.ProgrCount, m.resetDone);
  j.String("FilteredPercent", m.percentText, m.figuresFilled);
  const bool s = m.statisticsDone;
  j.Real("RPMfiltMax", r.stats.RPMfiltMax, s);
  j.Real("RPMfiltMin", r.stats.RPMfiltMin, s);
  j.Real("RPMinstMax", r.stats.RPMinstMax, s);
  j.Real("RPMinstMin", r.stats.RPMinstMin, s);
  j.Real("TRQfiltMax", r.stats.TRQfiltMax, s);
  j.Real("TRQfiltMin", r.stats.TRQfiltMin, s);
  j.Real("POTfiltMax", r.stats.POTfiltMax, s);
  j.Real("POTfiltMin", r.stats.POTfiltMin, s);
  j.Real("RPMfiltMean", r.stats.RPMfiltMean, s);
  j.Real("RPMinstMean", r.stats.RPMinstMean, s);
  j.Real("Fc", r.stats.Fc, s);
  const bool f = m.fftDone;
  j.Int("FFT_N", r.spectrum.FFT_N, f);
  j.Int("FundLine", r.spectrum.FundLine, f);
  j.Real("FundMag", r.spectrum.FundMag, f);
  j.Int("DCEndLine", r.spectrum.DCEndLine, f);
  j.Real("FloorLevel", r.spectrum.FloorLevel, f);
  j.Real("TotalEnergy", r.spectrum.TotalEnergy, f);
  j.Real("EvenSymErrRe", r.spectrum.EvenSymErrRe, f);
  j.Real("OddSymErrIm", r.spectrum.OddSymErrIm, f);
  if (f) {
    std::string list = "[";
    bool first = true;
    for (int i = 0; i < r.spectrum.FFT_N / 2; ++i) {
      if (r.spectrum.SpecLines[i].mag != 0) {
        if (!first) list += ", ";
        list += std::to_string(i);
        first = false;
      }
    }
    j.Raw("PeakLines", list + "]");
  } else {
    j.Null("PeakLines");
  }
  return j.Done();
}

std::string HumanSummary(const AnalysisRecord& r, const RunMarks& m) {
  std::string out;
  if (!m.resetDone) return out;
  out += "Total samples:    " + std::to_string(r.counters.RawCount) + "\n";
  out += "Filtered samples: " + std::to_string(r.counters.FilteredCount);
  if (m.figuresFilled) out += std::string(" (") + m.percentText + " %)";
  out += "\nEmitted samples:  " + std::to_string(r.counters.ProgrCount) + "\n";
  if (m.statisticsDone) {
    out += "RPM filtered:     mean " + Sig10(r.stats.RPMfiltMean) + ", min " + Sig10(r.stats.RPMfiltMin) +
           ", max " + Sig10(r.stats.RPMfiltMax) + "\n";
    out += "Torque filtered:  min " + Sig10(r.stats.TRQfiltMin) + ", max " + Sig10(r.stats.TRQfiltMax) +
           " Nm\n";
    out += "Power filtered:   min " + Sig10(r.stats.POTfiltMin) + ", max " + Sig10(r.stats.POTfiltMax) +
           " kW\n";
    out += "Sampling freq.:   " + Sig10(r.stats.Fc) + " Hz\n";
  }
  if (m.fftDone && r.spectrum.FFT_N > 0) {
    out += "FFT:              N = " + std::to_string(r.spectrum.FFT_N) + ", fundamental line " +
           std::to_string(r.spectrum.FundLine) + " (" + Sig10(r.spectrum.FundLine * (r.stats.Fc / r.spectrum.FFT_N)) +
           " Hz), magnitude " + Sig10(r.spectrum.FundMag) + "\n";
  }
  return out;
}

}  // namespace tz
