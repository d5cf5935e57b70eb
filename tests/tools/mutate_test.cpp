// tools/mutate.py --list on a planted source: each operator, constant and
// min/max of the code is mutated, and nothing in comments, strings,
// includes or template brackets is.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "tests/test_support.h"

namespace tz::test {
namespace {

TEST(MutationTool, ListsTheMutantsOfCodeOnly) {
  if (RunCommand("python3 --version").status != 0) GTEST_SKIP() << "no python3";
  TempDir dir;
  const std::string file = dir.Path("planted.cpp");
  WriteFile(file,
            "// a < b in a comment\n"
            "#include <vector>\n"
            "int F(int a, int b) {\n"
            "  const char* s = \"a < b\";\n"
            "  std::vector<int> v{static_cast<int>(s[0])};\n"
            "  if (a < b && !v.empty()) return std::min(a, b) + 1;\n"
            "  return a * 2.5 == b ? 0 : -1;  // x > y\n"
            "}\n");
  const CommandResult res =
      RunCommand("python3 " + SourcePath("tools/mutate.py") + " --list " + file);
  ASSERT_EQ(res.status, 0) << res.out;
  std::set<std::string> found;
  std::istringstream lines(res.out);
  for (std::string line; std::getline(lines, line);) {
    // "FILE:LINE:COLUMN: kind "old" -> "new" in: text"
    const size_t at = line.find(file + ":");
    ASSERT_EQ(at, 0u) << line;
    found.insert(line.substr(file.size() + 1, line.find(" in: ") - file.size() - 1));
  }
  EXPECT_EQ(found, (std::set<std::string>{
                       "5:41: constant \"0\" -> \"1\"",  // the index, not the template
                       "6:9: comparison \"<\" -> \"<=\"", "6:9: comparison \"<\" -> \">=\"",
                       "6:13: logical \"&&\" -> \"||\"", "6:16: logical \"!\" -> \"(removed)\"",
                       "6:35: logical \"std::min\" -> \"std::max\"",
                       "6:50: arithmetic \"+\" -> \"-\"", "6:52: constant \"1\" -> \"0\"",
                       "7:12: arithmetic \"*\" -> \"/\"", "7:14: constant \"2.5\" -> \"3.5\"",
                       "7:18: comparison \"==\" -> \"!=\"", "7:25: constant \"0\" -> \"1\"",
                       "7:30: constant \"1\" -> \"0\""}));
}

}  // namespace
}  // namespace tz::test
