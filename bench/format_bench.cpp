// FormatDateTime against ICU's SimpleDateFormat on equivalent patterns, for
// the two default row formats and every preset, over moments spread across
// a year. Prints both times per call and the ratio (ours / ICU).
#include <benchmark/benchmark.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "clock/core/DateTimeFormat.h"
#include "clock/core/FormatPresets.h"

namespace {

struct Case {
  std::string Ours;     // our format
  const char* Icu;      // the equivalent ICU pattern
  bool JapaneseCalendar;
};

// The ICU patterns are for ja_JP, the locale the benchmark pins.
const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"HH:MM:SS", "HH:mm:ss", false},
      {"AAAA MM/DD", "EEEE MM/dd", false},
      {"Long Time", "H:mm:ss", false},
      {"hh:mm:ss AMPM", "hh:mm:ss a", false},
      {"h:m:s", "H:m:s", false},
      {"AMPM hh時mm分ss秒", "a hh時mm分ss秒", false},
      {"am/pm H:NN:SS", "a h:mm:ss", false},  // ICU has no lower-case am/pm
      {"SHORT TIME", "HH:mm", false},
      {"Long Date", "y年M月d日", false},
      {"dddd, mmm d yyyy", "EEEE, MMM d y", false},
      {"GGG ee年MM月DD日 AAAA", "GGGG yy年MM月dd日 EEEE", true},
      {"mmmm DD ddd", "MMMM dd EEE", false},
      {"GE.M.D aaa", "GGGGGy.M.d EEE", true},
      {"今年ももう y 日過ました", "今年ももう D 日過ました", false},
  };
  return cases;
}

constexpr size_t kMoments = 64;

// Moments spread across 2026 at varied times of day.
const std::vector<platform::DateTime>& Moments() {
  static const std::vector<platform::DateTime> moments = [] {
    std::vector<platform::DateTime> list;
    for (size_t i = 0; i < kMoments; ++i) {
      const int day = static_cast<int>(i * 365 / kMoments);  // 0-based day of 2026
      static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
      int month = 0, rest = day;
      while (rest >= kDays[month]) rest -= kDays[month++];
      list.push_back(platform::DateTime{2026, month + 1, rest + 1, static_cast<int>(i * 7 % 24),
                                        static_cast<int>(i * 13 % 60), static_cast<int>(i * 29 % 60), 0});
    }
    return list;
  }();
  return moments;
}

// The same moments as ICU dates: the fields set on a GMT calendar, read by
// formatters that also work in GMT, so no zone shifts them.
const std::vector<UDate>& IcuMoments() {
  static const std::vector<UDate> dates = [] {
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(*icu::TimeZone::getGMT(), status);
    std::vector<UDate> list;
    for (const platform::DateTime& t : Moments()) {
      calendar.clear();
      calendar.set(t.Year, t.Month - 1, t.Day, t.Hour, t.Minute, t.Second);
      list.push_back(calendar.getTime(status));
    }
    return list;
  }();
  return dates;
}

std::unique_ptr<icu::SimpleDateFormat> IcuFormat(const Case& c) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale locale(c.JapaneseCalendar ? "ja_JP@calendar=japanese" : "ja_JP");
  auto format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(c.Icu), locale, status);
  format->setTimeZone(*icu::TimeZone::getGMT());
  return format;
}

void BM_Ours(benchmark::State& state) {
  const std::string& format = Cases()[static_cast<size_t>(state.range(0))].Ours;
  const auto& moments = Moments();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(DateTimeFormat::FormatDateTime(moments[i], format));
    i = (i + 1) % kMoments;
  }
}

void BM_Icu(benchmark::State& state) {
  const auto format = IcuFormat(Cases()[static_cast<size_t>(state.range(0))]);
  const auto& dates = IcuMoments();
  icu::UnicodeString out;
  size_t i = 0;
  for (auto _ : state) {
    out.remove();
    format->format(dates[i], out);
    benchmark::DoNotOptimize(out.getBuffer());
    i = (i + 1) % kMoments;
  }
}

// Collects the time per call of every run, for the table at the end.
class Collector : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) mTimes[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
  }
  double Time(const std::string& name) const {
    auto found = mTimes.find(name);
    return found == mTimes.end() ? 0.0 : found->second;
  }

 private:
  std::map<std::string, double> mTimes;
};

std::string IcuText(const Case& c, size_t moment) {
  icu::UnicodeString out;
  IcuFormat(c)->format(IcuMoments()[moment], out);
  std::string text;
  out.toUTF8String(text);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  // The ICU patterns above are written for the Japanese locale.
  setenv("LC_ALL", "ja_JP.UTF-8", 1);
  for (size_t i = 0; i < Cases().size(); ++i) {
    benchmark::RegisterBenchmark(("Ours/" + std::to_string(i)).c_str(), BM_Ours)->Arg(static_cast<int64_t>(i));
    benchmark::RegisterBenchmark(("Icu/" + std::to_string(i)).c_str(), BM_Icu)->Arg(static_cast<int64_t>(i));
  }
  benchmark::Initialize(&argc, argv);
  Collector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n%-4s %-28s %10s %10s %7s  %s\n", "#", "format", "ours ns", "ICU ns", "ratio", "same text as ICU");
  double worst = 0.0;
  for (size_t i = 0; i < Cases().size(); ++i) {
    const Case& c = Cases()[i];
    const std::string arg = std::to_string(i) + "/" + std::to_string(i);
    const double ours = reporter.Time("Ours/" + arg);
    const double icu = reporter.Time("Icu/" + arg);
    if (ours == 0.0 || icu == 0.0) continue;
    bool same = true;
    for (size_t m = 0; m < kMoments; ++m) same = same && DateTimeFormat::FormatDateTime(Moments()[m], c.Ours) == IcuText(c, m);
    const double ratio = ours / icu;
    worst = std::max(worst, ratio);
    std::printf("%-4zu %-28s %10.1f %10.1f %7.2f  %s\n", i, ("\"" + c.Ours + "\"").c_str(), ours, icu, ratio,
                same ? "yes" : ("no, e.g. " + DateTimeFormat::FormatDateTime(Moments()[0], c.Ours) + " / " +
                                 IcuText(c, 0)).c_str());
  }
  std::printf("worst ratio (ours / ICU): %.2f\n", worst);
  benchmark::Shutdown();
  return 0;
}
