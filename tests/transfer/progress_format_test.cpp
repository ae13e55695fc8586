// Sizes, rates, remaining times and percentages of the progress display.
#include <gtest/gtest.h>

#include <QLocale>
#include <limits>

#include "transfer/internal/progress_format.h"

namespace {

class ProgressFormat : public ::testing::Test {
 protected:
  ProgressFormat() { QLocale::setDefault(QLocale(QLocale::English)); }
  ~ProgressFormat() override { QLocale::setDefault(QLocale::system()); }
};

TEST_F(ProgressFormat, SizesAndRatesUseDecimalUnitsRoundedHalfToEven) {
  struct Case {
    std::int64_t n;
    const char* size;
  } const cases[] = {
      {0, "0 bytes"},           {999, "999 bytes"},     {1000, "1.00 Kb"},
      {1125, "1.12 Kb"},        {1135, "1.14 Kb"},      {999999, "1000.00 Kb"},
      {1000000, "1.00 Mb"},     {12345678, "12.35 Mb"}, {5000000000, "5000.00 Mb"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatSize(c.n), c.size) << c.n;
  EXPECT_EQ(FormatRate(0), "0 bytes/sec");
  EXPECT_EQ(FormatRate(1500), "1.50 Kb/sec");
  EXPECT_EQ(FormatRate(2500000), "2.50 Mb/sec");
}

TEST_F(ProgressFormat, DecimalSeparatorFollowsTheLocale) {
  QLocale::setDefault(QLocale(QLocale::German));
  EXPECT_EQ(FormatSize(12340), "12,34 Kb");
  EXPECT_EQ(FormatSize(999999), "1000,00 Kb");
}

TEST_F(ProgressFormat, TimeLeft) {
  struct Case {
    std::int64_t elapsed, done, total;
    const char* text;
  } const cases[] = {
      {2000, 0, 1000, ""},
      {2000, 500, 1000, "2 sec."},
      {1000, 1, 30, "29 sec."},
      {1000, 1, 31, "30 sec."},             // 30 s round to 0 minutes
      {1000, 1, 32, "1 minutes"},           // 31 s round to 1 minute
      {60000, 1, 31, "30 minutes"},         // 30 minutes round to 0 hours
      {60000, 1, 46, "0h 45"},              // 45 minutes round to 1 hour
      {60000, 1, 91, "1h 30"},              // 90 minutes
      {1000, 1000, 1000, "0 sec."},
      {2000, 500, 0, "-2 sec."},            // no total: a negative time
      {3600000, 1000000000, 5000000000, "4h 0"},  // beyond 32 bits
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatTimeLeft(c.elapsed, c.done, c.total), c.text) << c.elapsed << " " << c.done << " " << c.total;
  // A hostile server's size of -2^63: a negative time, as for no total.
  constexpr std::int64_t kLowest = std::numeric_limits<std::int64_t>::min();
  EXPECT_TRUE(FormatTimeLeft(1001, 1, kLowest).startsWith(u'-'));
  EXPECT_FALSE(FormatTimeLeft(1001, 1, std::numeric_limits<std::int64_t>::max()).startsWith(u'-'));
}

TEST_F(ProgressFormat, PercentAndRateStayRightBeyondFourGigabytes) {
  EXPECT_EQ(PercentDone(4500000000, 5000000000), 90);
  EXPECT_EQ(PercentDone(5, 200), 2);   // 2.5 to even
  EXPECT_EQ(PercentDone(7, 200), 4);   // 3.5 to even
  EXPECT_EQ(PercentDone(1, 3), 33);
  EXPECT_EQ(TransferRate(5000000000, 999), 5000000000);
  EXPECT_EQ(TransferRate(0, 0), 0);
  EXPECT_EQ(RoundHalfEven(-5, 2), -2);
  EXPECT_EQ(RoundHalfEven(-7, 2), -4);
}

}  // namespace
