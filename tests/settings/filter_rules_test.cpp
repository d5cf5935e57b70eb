#include "settings/filter_rules.h"

#include <gtest/gtest.h>

#include <string_view>

#include "dialog_test_support.h"

namespace tz {
namespace {

TEST(FilterRules, BoxTextsDropOnlyAFinalPoint) {
  EXPECT_EQ(RealBoxText(0.1), "0.1");
  EXPECT_EQ(RealBoxText(2), "2");
  EXPECT_EQ(RealBoxText(0.001), "1.e-003");
  EXPECT_EQ(RealBoxText(1199.5), "1199.5");
  EXPECT_EQ(WholeBoxText(-1), "4294967295");  // unsigned, as it is read back
}

TEST(FilterRules, RealEntryReadsTheFirstNineCharactersOnly) {
  EXPECT_EQ(ReadRealEntry("0.123456789"), 0.1234567);
  EXPECT_EQ(ReadRealEntry("1.25e+0012"), 12.5);
  EXPECT_EQ(ReadRealEntry("       2.5"), 2.0);  // blanks count toward the nine
  EXPECT_EQ(ReadRealEntry("abc"), 0.0);
}

TEST(FilterRules, WholeEntryIsAnUnsignedDialogInteger) {
  const struct {
    const char* text;
    uint32_t value;
  } cases[] = {{"  42", 42}, {"\t7", 7},  {"12abc", 12}, {"abc", 0},  {"-5", 0},
               {"+5", 0},    {"", 0},     {"4294967295", 4294967295u}, {"4294967296", 0},
               {"123456789012345678901234567890", 0}};
  for (const auto& c : cases) EXPECT_EQ(ReadWholeEntry(c.text), c.value) << c.text;
}

TEST(FilterRules, EntriesEndWhereTheirTextEnds) {
  // Texts cut from a longer one: nothing behind their end is read.
  const std::string_view digits = "12345";
  EXPECT_EQ(ReadWholeEntry(digits.substr(0, 2)), 12u);
  EXPECT_EQ(ReadWholeEntry(digits.substr(0, 0)), 0u);
  EXPECT_EQ(ReadRealEntry(std::string_view("2.55").substr(0, 3)), 2.5);
}

TEST(FilterRules, LengthsAreClampedRealsTakenAsEntered) {
  const struct {
    const char *movAvg, *zeroCross;
    int movAvgStored, zeroCrossStored;
  } cases[] = {{"250", "50", 200, 30}, {"3", "0", 5, 4},     {"letters", "x", 5, 4},
               {"200", "30", 200, 30}, {"5", "4", 5, 4},
               {"3000000000", "4294967295", 200, 30}};  // beyond the signed range
  for (const auto& c : cases) {
    RecordPtr r = test::WithSettings();
    ConfirmFilterSettings(*r, {"10", c.movAvg, "-100", c.zeroCross});
    EXPECT_EQ(r->settings.MovAvgLen, c.movAvgStored) << c.movAvg;
    EXPECT_EQ(r->settings.ZeroCrossLen, c.zeroCrossStored) << c.zeroCross;
    EXPECT_EQ(r->settings.AllowedOvershoot, 10.0);  // 1000 %: the box takes the fraction
    EXPECT_EQ(r->settings.RPMthreshold, -100.0);
  }
}

TEST(FilterRules, UnchangedBoxLongerThanNineCharactersIsStoredCut) {
  RecordPtr r = test::WithSettings();
  r->settings.AllowedOvershoot = 0.1234567891;  // shown as "0.1234567891"
  EXPECT_TRUE(StoreFilterEntries(*r, ReadFilterEntries(FilterBoxTexts(*r))));
  EXPECT_EQ(r->settings.AllowedOvershoot, 0.1234567);
  EXPECT_FALSE(StoreFilterEntries(*r, ReadFilterEntries(FilterBoxTexts(*r))));
}

TEST(FilterRules, LengthBeyondTheBuffersIsClampedEvenWhenUnchanged) {
  for (int bad : {300, 0, -1}) {
    RecordPtr r = test::WithSettings();
    r->settings.MovAvgLen = bad, r->settings.ZeroCrossLen = bad == 300 ? 33 : bad;
    ConfirmFilterSettings(*r, FilterBoxTexts(*r));
    EXPECT_TRUE(r->settings.MovAvgLen >= 5 && r->settings.MovAvgLen <= 200) << bad;
    EXPECT_TRUE(r->settings.ZeroCrossLen >= 4 && r->settings.ZeroCrossLen <= 30) << bad;
  }
}

}  // namespace
}  // namespace tz
