// The fixture of the conditioning tests: a record with the worked-example
// shaft, an open TDM output and run state reset.
#pragma once

#include <gtest/gtest.h>

#include "processing/analysis_record.h"
#include "processing/files.h"
#include "processing/shaft_quantities.h"
#include "tests/test_support.h"

namespace tz::test {

class ShaftTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tdm.Create(dir.Path("t").c_str()));
    fx.run.tdm = &tdm;
    AnalysisRecord& rec = r();
    rec.N_SLOT = 60;
    rec.Fmux = 0.1;
    rec.A_SLOT = 3;
    rec.Perc_Slot = 0.5;
    rec.G = 80000;
    rec.Rext = 25;
    rec.Rint = 0;
    rec.L = 100;
    ResetRunState(rec);
  }
  AnalysisRecord& r() { return fx.r(); }
  // Emits one sample with the given window middle.
  void Emit(double c, double s) {
    r().CislotWin[1] = c;
    r().CslotWin[1] = s;
    EmitSample(r(), fx.run);
  }
  Fixture fx;
  TempDir dir;
  OutputFile tdm;
};

}  // namespace tz::test
