// The coded choices: where a path's extension starts, which the kind of an
// input and the names of the outputs the desktop program offers follow.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "processing/codes.h"

namespace tz {
namespace {

TEST(Codes, ExtensionDotIsTheLastDotOfTheFileName) {
  constexpr size_t none = std::string::npos;
  const std::pair<const char*, size_t> cases[] = {
      {"x.tdm", 1},    {".TDM", 0},     {"dir/.TDM", 4}, {"a.b/c", none}, {"a.b/", none},
      {"a.b.c", 3},    {"run", none},   {"", none},      {"x/.", 2},      {"/", none},
      {"./run.FDM", 5}, {"a.b//c.d", 6}, {"..", 1},
  };
  for (const auto& [path, dot] : cases) EXPECT_EQ(ExtensionDot(path), dot) << path;
  EXPECT_EQ(KindFromExtension(".TDM"), InputKind::Tdm);
  EXPECT_EQ(KindFromExtension("a.tdm/c"), InputKind::Vbt);
}

TEST(Codes, UnknownCodesReadAsTheRunTreatsThem) {
  EXPECT_EQ(InfoOf(static_cast<FftSource>(9)).source, FftSource::Torque);
  EXPECT_EQ(InfoOf(static_cast<FftWindow>(-1)).window, FftWindow::FlatTop);
  EXPECT_EQ(InfoOf(FftSource::Power).option, std::string("power"));
}

}  // namespace
}  // namespace tz
