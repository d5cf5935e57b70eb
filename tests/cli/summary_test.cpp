// The JSON summary as text: what any JSON reader must be able to take.
#include <gtest/gtest.h>

#include <string>

#include "cli/summary.h"
#include "processing/analysis_record.h"
#include "processing/run_context.h"

namespace tz::test {
namespace {

// The "message" member of a failed run's summary.
std::string MessageOf(const std::string& failure) {
  RecordPtr r = NewAnalysisRecord();
  const RunMarks marks;
  const std::string json = JsonSummary(*r, marks, failure);
  const std::string key = "\"message\": \"";
  const size_t at = json.find(key);
  if (at == std::string::npos) return "(no message) " + json;
  size_t end = at + key.size();
  while (end < json.size() && json[end] != '"') end += json[end] == '\\' ? 2 : 1;
  return json.substr(at + key.size(), end - at - key.size());
}

TEST(JsonSummary, MessagesAreEscapedAndAlwaysUtf8) {
  const struct {
    std::string failure, json;
  } cases[] = {
      {"kept as \"/d/x\"", "kept as \\\"/d/x\\\""},
      {"a\\b\tc\x01", "a\\\\b\\u0009c\\u0001"},
      // UTF-8 stays as it is, from two bytes to four.
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},
      // A name in another encoding: each stray byte one replacement character.
      {"/d/f\xff/x", "/d/f\\ufffd/x"},
      {"m\xe9sure", "m\\ufffdsure"},
      // Overlong forms, surrogates, past U+10FFFF, cut short at the end.
      {"\xc0\xaf", "\\ufffd\\ufffd"},
      {"\xed\xa0\x80", "\\ufffd\\ufffd\\ufffd"},
      {"\xf4\x90\x80\x80", "\\ufffd\\ufffd\\ufffd\\ufffd"},
      {"end\xe2\x82", "end\\ufffd\\ufffd"},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageOf(c.failure), c.json) << c.failure;
}

}  // namespace
}  // namespace tz::test
