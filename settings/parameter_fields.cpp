#include "settings/parameter_fields.h"

#include <algorithm>
#include <cstring>

#include "processing/format_sig10.h"
#include "ui/resource.h"

namespace tz {

std::string StoredText(const char* text, int len, int capacity) {
  const size_t n = static_cast<size_t>(std::clamp(len, 0, capacity - 1));
  const void* zero = std::memchr(text, 0, n);
  return std::string(text, zero ? static_cast<const char*>(zero) - text : n);
}

namespace {

constexpr const char* kSystem = "System parameters";
constexpr const char* kShaft = "Shaft parameters";
constexpr const char* kDiscs = "Discs parameters";
constexpr const char* kPreprocessor = "Preprocessor parameters";

// clang-format off
constexpr ParameterField kFields[] = {
  {kSystem, "Date:", res::kEditParamDate,
   [](const AnalysisRecord& r) { return StoredText(r.params.DateText, r.params.DateLen, kDateTextSize); }},
  {kSystem, "Time:", res::kEditParamTime,
   [](const AnalysisRecord& r) { return StoredText(r.params.TimeText, r.params.TimeLen, kTimeTextSize); }},
  {kSystem, "Counter period (uS)=", res::kEditParamFmux,
   [](const AnalysisRecord& r) { return Sig10Header(r.params.Fmux); }},
  {kShaft, "L(mm)=", res::kEditParamL,
   [](const AnalysisRecord& r) { return Sig10Header(r.params.L); }},
  {kShaft, "Rext(mm)=", res::kEditParamRext,
   [](const AnalysisRecord& r) { return Sig10Header(r.params.Rext); }},
  {kShaft, "Rint(mm)=", res::kEditParamRint,
   [](const AnalysisRecord& r) { return Sig10Header(r.params.Rint); }},
  {kShaft, "RPMmax=", res::kEditParamRpmMax,
   [](const AnalysisRecord& r) { return Sig10Header(r.params.RPMmax); }},
  {kDiscs, "N_SLOT=", res::kEditParamNSlot,
   [](const AnalysisRecord& r) { return Sig10Header(r.params.N_SLOT); }},
  {kDiscs, "A_SLOT(degrees)=", res::kEditParamASlot,
   [](const AnalysisRecord& r) { return Sig10Header(r.params.A_SLOT); }},
  {kDiscs, "Perc_Slot=", res::kEditParamPercSlot,
   [](const AnalysisRecord& r) { return Sig10Header(r.params.Perc_Slot); }},
  {kDiscs, "G(N/sqmm)=", res::kEditParamG,
   [](const AnalysisRecord& r) { return Sig10Header(r.params.G); }},
  // The filtering coefficient is the moving-average length, not PCoeff.
  {kPreprocessor, "Filtering coefficient=", res::kEditParamMovAvgLen,
   [](const AnalysisRecord& r) { return Sig10Int(r.settings.MovAvgLen); }},
};
// clang-format on

}  // namespace

std::span<const ParameterField> ParameterFields() { return kFields; }

}  // namespace tz
