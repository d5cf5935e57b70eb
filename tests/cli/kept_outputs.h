// What the batch command's tests of failing runs share: two earlier outputs
// that a failed run must leave as they were.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace tz::test {

// Two earlier outputs that must survive a failed run.
struct Kept {
  TempDir dir;
  std::string tdm = dir.Path("keep.TDM"), fdm = dir.Path("keep.FDM");
  Kept() {
    WriteFile(tdm, "earlier TDM results\r\n");
    WriteFile(fdm, "earlier FDM results\r\n");
  }
  // Both outputs as they were, and nothing beside them.
  void ExpectUntouched() const {
    EXPECT_EQ(ReadFile(tdm), "earlier TDM results\r\n");
    EXPECT_EQ(ReadFile(fdm), "earlier FDM results\r\n");
    EXPECT_EQ(Names(dir.Dir()), (std::vector<std::string>{"keep.FDM", "keep.TDM"}));
  }
  // Both outputs replaced by ones starting with the given texts, nothing beside them.
  void ExpectReplaced(const std::string& tdmStart, const std::string& fdmStart) const {
    EXPECT_TRUE(ReadFile(tdm).starts_with(tdmStart));
    EXPECT_TRUE(ReadFile(fdm).starts_with(fdmStart));
    EXPECT_EQ(Names(dir.Dir()), (std::vector<std::string>{"keep.FDM", "keep.TDM"}));
  }
};

}  // namespace tz::test
