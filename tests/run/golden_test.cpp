// Golden outputs: the SHA-256 of the TDM and FDM files of the bundled demo,
// of a generated stop-and-reverse run and of a full-capacity run, recorded
// once. Any change in any
// computation, number format or file layout shows here; a deliberate change
// records new sums after its outputs were checked by other means.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace tz::test {
namespace {

// SHA-256 of a file, as sha256sum prints it.
std::string Sha256(const std::string& path) {
  const CommandResult r = RunCommand("sha256sum '" + path + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  return r.out.substr(0, 64);
}

struct Golden {
  const char* name;
  const char* generatorOptions;  // nullptr: the bundled demo
  const char* tdmSum;
  const char* fdmSum;
};

TEST(GoldenOutputs, DemoReversalAndFullCapacityRunsAreUnchanged) {
  const Golden cases[] = {
      {"demo", nullptr, "c54039f5fde1d41ae62806e9f870aa2801bcd99ceb01fb2bd71e5b4285fd37ab",
       "6264af9ddc214df5526f69a1dd0007d02d8de11b92de2756e99bec9d69170f1f"},
      {"reversal", "--reverse --samples 6000",
       "9fcad77ea5a532f5642f7eee4be3c549087bea13697cae33792bc444aa6092a1",
       "b0575ead046886f91f1ca234842c4cd40b98b49d5c5a8fb84c18d1d765bcc64a"},
      // A full-capacity run, recorded before the writing was made fast.
      {"full", "--samples 524288",
       "b6b304539e9acfaec50a0c852664c472fb14ce58a48dc8e19567604afa27df62",
       "6d16560a33be04a199641953cbe4fb948dc6c5a8de1fa9436dbb6d9df0458fdd"},
  };
  TempDir dir;
  for (const Golden& g : cases) {
    SCOPED_TRACE(g.name);
    std::string input = SourcePath("samples/demo.VBT");
    if (g.generatorOptions != nullptr) {
      input = dir.Path(std::string(g.name) + ".VBT");
      Generate(input, g.generatorOptions);
    }
    const std::string tdm = dir.Path(std::string(g.name) + ".TDM");
    const std::string fdm = dir.Path(std::string(g.name) + ".FDM");
    const CommandResult r = RunCli("-q '" + input + "' '" + tdm + "' '" + fdm + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Sha256(tdm), g.tdmSum);
    EXPECT_EQ(Sha256(fdm), g.fdmSum);
  }
}

// The demo a newcomer runs first is clean: no message at all.
TEST(GoldenOutputs, DemoRunsWithoutAlarm) {
  TempDir dir;
  const CommandResult r = RunCli("-q '" + SourcePath("samples/demo.VBT") + "' '" +
                                 dir.Path("d.TDM") + "' '" + dir.Path("d.FDM") + "'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
}

}  // namespace
}  // namespace tz::test
