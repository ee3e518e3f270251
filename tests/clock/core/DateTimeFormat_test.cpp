#include "clock/core/DateTimeFormat.h"
#include "clock/core/DateTimeLocale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/RuntimeError.h"

namespace {

using DateTimeFormat::FormatDateTime;
using platform::DateTime;

// Monday, 7 December 2026, 09:05:03.
const DateTime kMonday{2026, 12, 7, 9, 5, 3, 0};

// Sets an environment variable for the scope of a test and restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : mName(name) {
    if (const char* old = std::getenv(name)) mOld = old;
    setenv(name, value, 1);
  }
  ~ScopedEnv() {
    if (mOld) setenv(mName, mOld->c_str(), 1);
    else unsetenv(mName);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* mName;
  std::optional<std::string> mOld;
};

int ErrorOf(const DateTime& moment, const std::string& format) {
  try {
    FormatDateTime(moment, format);
  } catch (const platform::RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return DateTime{y, mo, d, h, mi, s, 0}; }

TEST(FormatDateTime, WorkedExamplesInJapanese) {
  EXPECT_EQ(FormatDateTime(kMonday, "HH:MM:SS"), "09:05:03");
  EXPECT_EQ(FormatDateTime(kMonday, "AAAA MM/DD"), "月曜日 12/07");
  EXPECT_EQ(FormatDateTime(kMonday, "h:m:s"), "9:5:3");
  EXPECT_EQ(FormatDateTime(kMonday, "am/pm H:NN:SS"), "am 9:05:03");
  EXPECT_EQ(FormatDateTime(kMonday, "AMPM hh時mm分ss秒"), "午前 09時05分03秒");
  EXPECT_EQ(FormatDateTime(kMonday, "今年ももう y 日過ました"), "今年ももう 341 日過ました");
  EXPECT_EQ(FormatDateTime(kMonday, "GE.M.D aaa"), "R8.12.7 月");
}

TEST(FormatDateTime, MinutesFollowAnHourTokenOtherwiseMonth) {
  EXPECT_EQ(FormatDateTime(kMonday, "mm"), "12");
  EXPECT_EQ(FormatDateTime(kMonday, "d:m"), "7:12");
  EXPECT_EQ(FormatDateTime(kMonday, "nn"), "05");
  // Literal text between the hour and the minutes does not matter.
  EXPECT_EQ(FormatDateTime(kMonday, "h\"時\" 分mm"), "9時 分05");
  // Any other token in between makes it the month again.
  EXPECT_EQ(FormatDateTime(kMonday, "h ss mm"), "9 03 12");
  EXPECT_EQ(FormatDateTime(kMonday, "hh AMPM mm"), "09 午前 12");
  EXPECT_EQ(FormatDateTime(kMonday, "hh:mm mm"), "09:05 12");
  // Three or four letters are always the month's name.
  EXPECT_EQ(FormatDateTime(kMonday, "h mmmm"), "9 12月");
}

TEST(FormatDateTime, TwelveHourClock) {
  EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 15), "hh:mm:ss AMPM"), "03:00:00 午後");
  EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 0, 30), "h:nn AM/PM"), "12:30 AM");
  EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 12), "h a/p"), "12 p");
  EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 11, 59), "hh A/P"), "11 A");
  // The designator is written as the format writes it.
  EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 8), "Am/pM"), "Am");
  EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 20), "Am/pM"), "pM");
  // A designator anywhere selects the 12-hour clock, even after the hour.
  EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 23), "h ampm"), "11 午後");
  EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 23), "h"), "23");
  EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 0), "hh"), "00");
  // A quoted designator is text and selects nothing.
  EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 23), "h \"AMPM\""), "23 AMPM");
}

TEST(FormatDateTime, DayOfYearAndYears) {
  EXPECT_EQ(FormatDateTime(At(2024, 1, 1), "y"), "1");
  EXPECT_EQ(FormatDateTime(At(2024, 12, 31), "y"), "366");
  EXPECT_EQ(FormatDateTime(At(2026, 12, 31), "y"), "365");
  EXPECT_EQ(FormatDateTime(At(2024, 3, 1), "y"), "61");
  EXPECT_EQ(FormatDateTime(At(2005, 3, 1), "yy yyyy"), "05 2005");
  EXPECT_EQ(FormatDateTime(At(987, 3, 1), "yyyy"), "0987");
  EXPECT_EQ(FormatDateTime(At(2005, 3, 1), "yyy"), "0560");  // yy then y
}

TEST(FormatDateTime, WeekdaysAndNamesFromTheLocale) {
  EXPECT_EQ(FormatDateTime(kMonday, "ddd dddd d dd"), "月 月曜日 7 07");
  EXPECT_EQ(FormatDateTime(At(2026, 12, 13), "aaa aaaa"), "日 日曜日");
  EXPECT_EQ(FormatDateTime(At(2026, 12, 12), "aaa aaaa"), "土 土曜日");
  EXPECT_EQ(FormatDateTime(At(2000, 2, 29), "aaaa"), "火曜日");
  EXPECT_EQ(FormatDateTime(At(1900, 1, 1), "aaaa"), "月曜日");
  EXPECT_EQ(FormatDateTime(kMonday, "mmm/mmmm"), "12月/12月");
  // Token letters ignore case.
  EXPECT_EQ(FormatDateTime(kMonday, "Hh:mM:sS"), "09:05:03");
}

TEST(FormatDateTime, EraBoundaries) {
  EXPECT_EQ(FormatDateTime(At(2019, 4, 30), "ggg e"), "平成 31");
  EXPECT_EQ(FormatDateTime(At(2019, 5, 1), "ggg e"), "令和 1");
  EXPECT_EQ(FormatDateTime(At(1989, 1, 7), "ggg e"), "昭和 64");
  EXPECT_EQ(FormatDateTime(At(1989, 1, 8), "ggg e"), "平成 1");
  EXPECT_EQ(FormatDateTime(At(1926, 12, 24), "g gg ee"), "T 大 15");
  EXPECT_EQ(FormatDateTime(At(1926, 12, 25), "g gg ee"), "S 昭 01");
  EXPECT_EQ(FormatDateTime(At(1912, 7, 29), "g gg ggg ee"), "M 明 明治 45");
  EXPECT_EQ(FormatDateTime(At(1912, 7, 30), "g gg ggg ee"), "T 大 大正 01");
  EXPECT_EQ(FormatDateTime(At(1868, 9, 8), "g ggg e"), "M 明治 1");
  EXPECT_EQ(FormatDateTime(At(2019, 5, 1), "gg"), "令");
  EXPECT_EQ(FormatDateTime(At(1995, 1, 1), "g"), "H");
}

TEST(FormatDateTime, LiteralsAndNamedFormats) {
  EXPECT_EQ(FormatDateTime(kMonday, "\"HH:MM\" HH"), "HH:MM 09");
  EXPECT_EQ(FormatDateTime(kMonday, "\\h\\: h"), "h: 9");
  EXPECT_EQ(FormatDateTime(kMonday, "\\日d"), "日7");
  EXPECT_EQ(FormatDateTime(kMonday, "\"\"d"), "7");
  EXPECT_EQ(FormatDateTime(kMonday, "x, q, w!"), "x, q, w!");
  EXPECT_EQ(FormatDateTime(kMonday, ""), "");
  EXPECT_EQ(FormatDateTime(kMonday, "Long Date"), "2026年12月7日");
  EXPECT_EQ(FormatDateTime(kMonday, "LONG DATE"), "2026年12月7日");
  EXPECT_EQ(FormatDateTime(kMonday, "long time"), "9:05:03");
  EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 21, 7, 9), "Long Time"), "21:07:09");
  EXPECT_EQ(FormatDateTime(kMonday, "Short Time"), "09:05");
  // Only the whole format is a named format.
  EXPECT_NE(FormatDateTime(kMonday, " Short Time"), " 09:05");
}

// Formats that cannot be applied raise error 5.
TEST(FormatDateTime, ImpossibleFormatsRaiseError5) {
  EXPECT_EQ(ErrorOf(kMonday, "HH \"open"), platform::errInvalidCall);
  EXPECT_EQ(ErrorOf(kMonday, "HH\\"), platform::errInvalidCall);
  EXPECT_EQ(ErrorOf(kMonday, "HH \xff"), platform::errInvalidCall);
  EXPECT_EQ(ErrorOf(kMonday, "\xe6\x97"), platform::errInvalidCall);  // cut-off character
  EXPECT_EQ(ErrorOf(At(1868, 9, 7), "ggg"), platform::errInvalidCall);
  EXPECT_EQ(ErrorOf(At(1868, 9, 7), "yyyy \"e\""), 0);  // no era token: fine
  EXPECT_EQ(ErrorOf(At(1500, 1, 1), "e"), platform::errInvalidCall);
  // Moments that are no real calendar moment.
  EXPECT_EQ(ErrorOf(At(2026, 2, 29), "d"), platform::errInvalidCall);
  EXPECT_EQ(ErrorOf(At(2026, 13, 1), "d"), platform::errInvalidCall);
  EXPECT_EQ(ErrorOf(At(2026, 1, 1, 24), "h"), platform::errInvalidCall);
  EXPECT_EQ(ErrorOf(At(0, 1, 1), "d"), platform::errInvalidCall);
  EXPECT_EQ(ErrorOf(At(2024, 2, 29), "d"), 0);
}

TEST(FormatDateTime, LocaleFollowsTheEnvironment) {
  {
    ScopedEnv time("LC_TIME", "en_US.UTF-8");
    EXPECT_EQ(FormatDateTime(kMonday, "dddd, mmmm d yyyy"), "Monday, December 7 2026");
    EXPECT_EQ(FormatDateTime(kMonday, "ddd mmm"), "Mon Dec");
    EXPECT_EQ(FormatDateTime(At(2026, 12, 7, 15), "h AMPM"), "3 PM");
    EXPECT_EQ(FormatDateTime(kMonday, "Long Date"), "December 7, 2026");
    // The Japanese tokens stay Japanese.
    EXPECT_EQ(FormatDateTime(kMonday, "aaa aaaa ggg gg g ee"), "月 月曜日 令和 令 R 08");
    {
      ScopedEnv all("LC_ALL", "de_DE.UTF-8");  // LC_ALL wins over LC_TIME
      EXPECT_EQ(FormatDateTime(kMonday, "dddd DD/MM HH:NN"), "Montag 07.12 09:05");
    }
    ScopedEnv all("LC_ALL", "fi_FI.UTF-8");
    EXPECT_EQ(FormatDateTime(kMonday, "h:nn"), "9.05");
  }
  {
    ScopedEnv time("LC_TIME", "C");
    EXPECT_EQ(FormatDateTime(kMonday, "AMPM dddd"), "午前 月曜日");
  }
  {
    ScopedEnv time("LC_TIME", "xx_YY");  // unknown to ICU: Japanese data
    EXPECT_EQ(FormatDateTime(kMonday, "AMPM dddd"), "午前 月曜日");
  }
  EXPECT_EQ(FormatDateTime(kMonday, "dddd"), "月曜日");
}

// Locales whose long date uses another calendar or other digits are
// formatted by ICU itself; the local moment must not shift with the zone.
TEST(FormatDateTime, LocaleFormatsOutsideTheGregorianDigits) {
  {
    ScopedEnv time("LC_TIME", "th_TH.UTF-8");  // Buddhist years
    EXPECT_EQ(FormatDateTime(At(2026, 1, 1, 0, 30), "Long Date"), "1 มกราคม 2569");
    EXPECT_EQ(FormatDateTime(At(2026, 12, 31, 23, 30), "Long Date"), "31 ธันวาคม 2569");
  }
  ScopedEnv time("LC_TIME", "ar_EG.UTF-8");  // Arabic-Indic digits
  EXPECT_EQ(FormatDateTime(kMonday, "Long Time"), "٩:٠٥:٠٣ ص");
}

// The era initial is taken from ICU's names even if their data changes shape.
TEST(DateTimeLocale, LatinInitialFromEraNames) {
  using DateTimeLocale::LatinInitial;
  EXPECT_EQ(LatinInitial("R", "X", "Reiwa"), "R");
  EXPECT_EQ(LatinInitial("令", "R", "Reiwa"), "R");
  EXPECT_EQ(LatinInitial("Reiwa (2019–)", "", "reiwa"), "R");
  EXPECT_EQ(LatinInitial("", "", "Shōwa"), "S");
  EXPECT_EQ(LatinInitial("", "", "令和"), "");
}

}  // namespace
