// The fixture of the conditioning tests: a record with the worked-example
// shaft, an open TDM output and run state reset.
#pragma once

#include <gtest/gtest.h>

#include "processing/analysis_record.h"
#include "processing/files.h"
#include "processing/shaft_quantities.h"
#include "processing/tdm_writer.h"
#include "tests/test_support.h"

namespace tz::test {

class ShaftTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tdm.Create(dir.Path("t").c_str()));
    fx.run.tdm = &tdm;
    AnalysisRecord& rec = r();
    rec.params.N_SLOT = 60;
    rec.params.Fmux = 0.1;
    rec.params.A_SLOT = 3;
    rec.params.Perc_Slot = 0.5;
    rec.params.G = 80000;
    rec.params.Rext = 25;
    rec.params.Rint = 0;
    rec.params.L = 100;
    ResetRunState(rec);
  }
  AnalysisRecord& r() { return fx.r(); }
  // Emits one sample with the given counts and writes its data line.
  void Emit(double c, double s) { WriteDataLine(fx.run, EmitSample(r(), c, s)); }
  Fixture fx;
  TempDir dir;
  OutputFile tdm;
};

}  // namespace tz::test
