// The date/time formatter: the input is a format text, applied to moments
// in and out of range, in the Japanese locale and in one other locale
// chosen by the input (other calendars and digits included).
#include <cstdlib>
#include <functional>
#include <string>

#include "clock/core/DateTimeFormat.h"
#include "fuzz/support/FuzzSupport.h"

namespace {

const platform::DateTime kMoments[] = {
    {2026, 12, 7, 9, 5, 3, 0},     // an ordinary morning
    {2026, 12, 7, 15, 0, 0, 0},    // the afternoon's first hour
    {2024, 12, 31, 23, 59, 59, 999},  // last day of a leap year
    {1868, 9, 8, 0, 0, 0, 0},      // the first day of the first era
    {1868, 9, 7, 12, 0, 0, 0},     // the day before it
    {1989, 1, 7, 12, 0, 0, 0},     // an era's last day
    {2019, 5, 1, 0, 0, 0, 0},      // an era's first day
    {1, 1, 1, 0, 0, 0, 0},
    {9999, 12, 31, 23, 59, 59, 0},
    {0, 0, 0, -1, -1, -1, -1},     // every field out of range
    {2026, 13, 32, 24, 60, 60, 0},
    {-2147483647 - 1, -5, 99, 99, 99, 99, 0},
    {2147483647, 2, 29, 0, 0, 0, 0},
};

const char* const kOtherLocales[] = {"en_US.UTF-8", "de_DE.UTF-8", "ar_EG.UTF-8", "th_TH.UTF-8",
                                     "fa_IR.UTF-8", "zh_TW.UTF-8", "C",           "xx_YY"};

void FormatAt(const std::string& format, const platform::DateTime& moment) {
  try {
    const std::string text = DateTimeFormat::FormatDateTime(moment, format);
    if (!fuzz::IsUtf8(text)) fuzz::Fail("the formatted text is not UTF-8");
  } catch (const platform::RuntimeError& error) {
    fuzz::ExpectDefinedError(error, {platform::errInvalidCall});
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartPlatform();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string format(reinterpret_cast<const char*>(data), size);
  setenv("LANG", "ja_JP.UTF-8", 1);
  for (const platform::DateTime& moment : kMoments) FormatAt(format, moment);
  const size_t other = std::hash<std::string>{}(format) % std::size(kOtherLocales);
  setenv("LANG", kOtherLocales[other], 1);
  for (const size_t i : {0, 3, 9}) FormatAt(format, kMoments[i]);
  setenv("LANG", "ja_JP.UTF-8", 1);
  return 0;
}
