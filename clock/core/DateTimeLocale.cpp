#include "clock/core/DateTimeLocale.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/numsys.h>
#include <unicode/resbund.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/ucal.h>
#include <unicode/uenum.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "clock/core/CivilDate.h"

namespace DateTimeLocale {
namespace {

constexpr const char* kJapanese = "ja_JP";

std::string Utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

// ---- ICU date patterns, read as runs of one pattern letter and literal text

struct PatternItem {
  char Letter = 0;   // 0 for literal text
  int Count = 0;     // letters in the run
  std::string Text;  // the literal text
};

std::vector<PatternItem> SplitPattern(const std::string& pattern) {
  std::vector<PatternItem> items;
  auto literal = [&](std::string_view text) {
    if (items.empty() || items.back().Letter != 0) items.push_back(PatternItem{});
    items.back().Text += text;
  };
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
      size_t j = i;
      while (j < pattern.size() && pattern[j] == c) ++j;
      items.push_back(PatternItem{c, static_cast<int>(j - i), {}});
      i = j;
    } else if (c == '\'') {
      if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {  // '' is one quote
        literal("'");
        i += 2;
        continue;
      }
      // Quoted text up to the closing quote; '' inside is one quote.
      std::string text;
      size_t j = i + 1;
      while (j < pattern.size()) {
        if (pattern[j] == '\'') {
          if (j + 1 < pattern.size() && pattern[j + 1] == '\'') {
            text += '\'';
            j += 2;
            continue;
          }
          break;
        }
        text += pattern[j++];
      }
      literal(text);
      i = j + 1;
    } else {
      literal(std::string_view(pattern).substr(i, 1));
      ++i;
    }
  }
  return items;
}

// The piece for one run of pattern letters, or false when the pieces cannot
// express it.
bool PieceFor(const PatternItem& item, Field& field) {
  const int n = item.Count;
  switch (item.Letter) {
    case 'y':
      if (n == 1) field = Field::Year;
      else if (n == 2) field = Field::Year2;
      else if (n == 4) field = Field::Year4;
      else return false;
      return true;
    case 'M':
      if (n > 4) return false;
      field = n == 1 ? Field::Month : n == 2 ? Field::Month2 : n == 3 ? Field::MonthAbbr : Field::MonthFull;
      return true;
    case 'd':
      if (n > 2) return false;
      field = n == 1 ? Field::Day : Field::Day2;
      return true;
    case 'E':
      if (n > 4) return false;
      field = n == 4 ? Field::WeekdayFull : Field::WeekdayAbbr;
      return true;
    case 'a':
      if (n > 3) return false;
      field = Field::AmPm;
      return true;
    case 'H':
    case 'h':
    case 'm':
    case 's':
      if (n > 2) return false;
      if (item.Letter == 'H') field = n == 1 ? Field::Hour24 : Field::Hour24_2;
      if (item.Letter == 'h') field = n == 1 ? Field::Hour12 : Field::Hour12_2;
      if (item.Letter == 'm') field = n == 1 ? Field::Minute : Field::Minute2;
      if (item.Letter == 's') field = n == 1 ? Field::Second : Field::Second2;
      return true;
    default:
      return false;
  }
}

// Formats with ICU itself: the moment's fields are set on a Gregorian
// calendar in GMT and the formatter works in GMT, so no time zone shifts
// the local moment.
std::function<std::string(const platform::DateTime&)> IcuFallback(const icu::UnicodeString& pattern,
                                                                   const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  auto format = std::make_shared<icu::SimpleDateFormat>(pattern, locale, status);
  auto calendar = std::make_shared<icu::GregorianCalendar>(*icu::TimeZone::getGMT(), status);
  if (U_FAILURE(status)) return nullptr;
  format->setTimeZone(*icu::TimeZone::getGMT());
  // Gregorian dates throughout, also before 1582, as everywhere else here.
  constexpr UDate kEarliest = -8.64e15;
  calendar->setGregorianChange(kEarliest, status);
  std::unique_ptr<icu::Calendar> own(format->getCalendar()->clone());
  if (auto* gregorian = dynamic_cast<icu::GregorianCalendar*>(own.get())) {
    gregorian->setGregorianChange(kEarliest, status);
    format->adoptCalendar(own.release());
  }
  auto lock = std::make_shared<std::mutex>();
  return [format, calendar, lock](const platform::DateTime& t) {
    std::lock_guard<std::mutex> guard(*lock);
    UErrorCode status = U_ZERO_ERROR;
    calendar->clear();
    calendar->set(t.Year, t.Month - 1, t.Day, t.Hour, t.Minute, t.Second);
    const UDate moment = calendar->getTime(status);
    icu::UnicodeString out;
    if (U_SUCCESS(status)) format->format(moment, out);
    return Utf8(out);
  };
}

CompiledFormat Compile(const icu::DateFormat* format, const icu::Locale& locale) {
  CompiledFormat compiled;
  const auto* simple = dynamic_cast<const icu::SimpleDateFormat*>(format);
  if (!simple) return compiled;
  icu::UnicodeString pattern;
  simple->toPattern(pattern);

  // A calendar other than the Gregorian one (a Buddhist year, say), digits
  // other than 0–9 and any field the pieces do not know are left to ICU.
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberingSystem> digits(icu::NumberingSystem::createInstance(locale, status));
  bool exact = std::strcmp(simple->getCalendar()->getType(), "gregorian") == 0 && U_SUCCESS(status) &&
               std::strcmp(digits->getName(), "latn") == 0;
  for (const PatternItem& item : SplitPattern(Utf8(pattern))) {
    if (!exact) break;
    if (item.Letter == 0) {
      compiled.Literals.push_back(item.Text);
      compiled.Pieces.push_back(Piece{Field::Literal, compiled.Literals.back(), {}});
      continue;
    }
    Field field{};
    exact = PieceFor(item, field);
    compiled.Pieces.push_back(Piece{field, {}, {}});
  }
  if (!exact) {
    compiled.Pieces.clear();
    compiled.Literals.clear();
    compiled.Fallback = IcuFallback(pattern, locale);
  }
  return compiled;
}

// The literal text that follows the first run of one of the letters, or
// the default when there is none.
std::string SeparatorAfter(const std::string& pattern, std::string_view letters, const std::string& fallback) {
  const std::vector<PatternItem> items = SplitPattern(pattern);
  for (size_t i = 0; i + 2 < items.size(); ++i) {
    if (items[i].Letter != 0 && letters.find(items[i].Letter) != std::string_view::npos) {
      const PatternItem& next = items[i + 1];
      if (next.Letter == 0 && !next.Text.empty() && items[i + 2].Letter != 0) return next.Text;
      break;
    }
  }
  return fallback;
}

std::string SeparatorAfter(const icu::DateFormat* format, std::string_view letters, const std::string& fallback) {
  const auto* simple = dynamic_cast<const icu::SimpleDateFormat*>(format);
  if (!simple) return fallback;
  icu::UnicodeString pattern;
  simple->toPattern(pattern);
  return SeparatorAfter(Utf8(pattern), letters, fallback);
}

// Indices into a calendar's DateTimePatterns resource.
constexpr int32_t kMediumTimePattern = 2;
constexpr int32_t kShortDatePattern = 7;

// The locale's default calendar ("gregorian", "buddhist", …), as ICU's
// formatters choose it.
std::string CalendarType(const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  UEnumeration* types = ucal_getKeywordValuesForLocale("calendar", locale.getName(), true, &status);
  std::string type = "gregorian";
  if (U_SUCCESS(status)) {
    if (const char* first = uenum_next(types, nullptr, &status); first && U_SUCCESS(status)) type = first;
  }
  uenum_close(types);
  return type;
}

// A stored date/time pattern of the locale's default calendar, with ICU's
// fallback through parent locales and to the Gregorian patterns; empty when
// there is none. A pattern stored with numbering overrides is an array of
// the pattern and the overrides.
std::string StoredPattern(const icu::Locale& locale, int32_t index) {
  UErrorCode status = U_ZERO_ERROR;
  icu::ResourceBundle bundle(nullptr, locale, status);
  icu::ResourceBundle calendars = bundle.getWithFallback("calendar", status);
  if (U_FAILURE(status)) return {};
  auto patterns = [&](const char* type, UErrorCode& s) {
    return calendars.getWithFallback(type, s).getWithFallback("DateTimePatterns", s);
  };
  UErrorCode found = U_ZERO_ERROR;
  icu::ResourceBundle list = patterns(CalendarType(locale).c_str(), found);
  if (U_FAILURE(found)) {
    found = U_ZERO_ERROR;
    list = patterns("gregorian", found);
  }
  if (U_FAILURE(found)) return {};
  icu::ResourceBundle item = list.get(index, found);
  const icu::UnicodeString text = item.getType() == URES_ARRAY ? item.getStringEx(0, found) : item.getString(found);
  return U_SUCCESS(found) ? Utf8(text) : std::string();
}

// True when ICU has data of its own for exactly this locale and no keyword
// changes it. Only then are the stored patterns what ICU's formatters use:
// for a region ICU has no data for ("ja_US") they adapt the hour cycle.
bool HasOwnData(const icu::Locale& locale) {
  if (locale.isBogus() || std::strchr(locale.getName(), '@')) return false;
  UErrorCode status = U_ZERO_ERROR;
  icu::ResourceBundle bundle(nullptr, locale, status);
  if (status != U_ZERO_ERROR) return false;
  return std::strcmp(bundle.getLocale(ULOC_ACTUAL_LOCALE, status).getName(), locale.getName()) == 0 &&
         U_SUCCESS(status);
}

NameTable NamesFrom(const icu::DateFormatSymbols& symbols) {
  NameTable table;
  int32_t count = 0;
  const icu::UnicodeString* names =
      symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::ABBREVIATED);
  for (int32_t i = 0; i < 7 && i + 1 < count; ++i) table.WeekdayAbbr[i] = Utf8(names[i + 1]);
  names = symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
  for (int32_t i = 0; i < 7 && i + 1 < count; ++i) table.WeekdayFull[i] = Utf8(names[i + 1]);
  names = symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::ABBREVIATED);
  for (int32_t i = 0; i < 12 && i < count; ++i) table.MonthAbbr[i] = Utf8(names[i]);
  names = symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
  for (int32_t i = 0; i < 12 && i < count; ++i) table.MonthFull[i] = Utf8(names[i]);
  names = symbols.getAmPmStrings(count);
  table.Am = count > 0 ? Utf8(names[0]) : "AM";
  table.Pm = count > 1 ? Utf8(names[1]) : "PM";
  return table;
}

// The data of a named locale; a locale ICU does not know gets the Japanese
// data, like an unset one.
std::unique_ptr<LocaleData> Build(const std::string& name) {
  icu::Locale locale(name.c_str());
  if (HasOwnData(locale)) return std::make_unique<LocaleData>(name, true);
  UErrorCode status = U_ZERO_ERROR;
  icu::DateFormatSymbols symbols(locale, status);
  if (U_FAILURE(status) || status == U_USING_DEFAULT_WARNING || locale.isBogus()) {
    if (name != kJapanese) return Build(kJapanese);
  }
  auto data = std::make_unique<LocaleData>(name, false);
  data->AdoptNames(NamesFrom(symbols));
  return data;
}

}  // namespace

LocaleData::LocaleData(std::string name, bool exact) : mName(std::move(name)), mExact(exact) {
  mShortTime.Pieces = {Piece{Field::Hour24_2, {}, {}}, Piece{Field::TimeSep, {}, {}}, Piece{Field::Minute2, {}, {}}};
}

void LocaleData::AdoptNames(NameTable names) {
  std::call_once(mNamesRead, [&] { mNames = std::move(names); });
}

const NameTable& LocaleData::Names() const {
  std::call_once(mNamesRead, [this] {
    UErrorCode status = U_ZERO_ERROR;
    mNames = NamesFrom(icu::DateFormatSymbols(icu::Locale(mName.c_str()), status));
  });
  return mNames;
}

void LocaleData::ReadSeparators() const {
  std::call_once(mSeparatorsRead, [this] {
    const icu::Locale locale(mName.c_str());
    if (mExact) {
      mTimeSep = SeparatorAfter(StoredPattern(locale, kMediumTimePattern), "Hh", ":");
      mDateSep = SeparatorAfter(StoredPattern(locale, kShortDatePattern), "yMd", "/");
      return;
    }
    std::unique_ptr<icu::DateFormat> shortDate(icu::DateFormat::createDateInstance(icu::DateFormat::kShort, locale));
    std::unique_ptr<icu::DateFormat> longTime(icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, locale));
    mTimeSep = SeparatorAfter(longTime.get(), "Hh", ":");
    mDateSep = SeparatorAfter(shortDate.get(), "yMd", "/");
  });
}

const std::string& LocaleData::TimeSep() const {
  ReadSeparators();
  return mTimeSep;
}

const std::string& LocaleData::DateSep() const {
  ReadSeparators();
  return mDateSep;
}

const CompiledFormat& LocaleData::LongDate() const {
  std::call_once(mLongDateRead, [this] {
    const icu::Locale locale(mName.c_str());
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateInstance(icu::DateFormat::kLong, locale));
    mLongDate = Compile(format.get(), locale);
  });
  return mLongDate;
}

const CompiledFormat& LocaleData::LongTime() const {
  std::call_once(mLongTimeRead, [this] {
    const icu::Locale locale(mName.c_str());
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, locale));
    mLongTime = Compile(format.get(), locale);
  });
  return mLongTime;
}

std::string UserLocaleName() {
  const char* value = nullptr;
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* v = std::getenv(variable);
    if (v && *v) {
      value = v;
      break;
    }
  }
  if (!value) return kJapanese;
  std::string name(value, std::strcspn(value, ".@"));
  if (name.empty() || name == "C" || name == "POSIX") return kJapanese;
  return name;
}

const LocaleData& ForLocale(const std::string& name) {
  static std::mutex lock;
  static std::map<std::string, std::unique_ptr<LocaleData>, std::less<>> cache;
  std::lock_guard<std::mutex> guard(lock);
  auto found = cache.find(name);
  if (found == cache.end()) found = cache.emplace(name, Build(name)).first;
  return *found->second;
}

const LocaleData& Current() { return ForLocale(UserLocaleName()); }

namespace {

std::string EraInitial(int32_t index, const icu::DateFormatSymbols& japanese, const icu::DateFormatSymbols& root) {
  using Getter = const icu::UnicodeString* (icu::DateFormatSymbols::*)(int32_t&) const;
  auto name = [index](const icu::DateFormatSymbols& symbols, Getter getter) {
    int32_t count = 0;
    const icu::UnicodeString* names = (symbols.*getter)(count);
    return index < count ? Utf8(names[index]) : std::string();
  };
  return LatinInitial(name(japanese, &icu::DateFormatSymbols::getNarrowEras),
                      name(root, &icu::DateFormatSymbols::getNarrowEras), name(root, &icu::DateFormatSymbols::getEras));
}

std::vector<Era> BuildEras() {
  std::vector<Era> eras;
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Calendar> calendar(
      icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), icu::Locale("ja_JP@calendar=japanese"), status));
  if (U_FAILURE(status) || std::strcmp(calendar->getType(), "japanese") != 0) return eras;
  icu::DateFormatSymbols japanese(icu::Locale(kJapanese), "japanese", status);
  UErrorCode rootStatus = U_ZERO_ERROR;
  icu::DateFormatSymbols root(icu::Locale::getRoot(), "japanese", rootStatus);
  if (U_FAILURE(status) || U_FAILURE(rootStatus)) return eras;

  // The calendar runs in GMT, so a day number maps to its own date.
  auto eraOn = [&](int64_t day) {
    UErrorCode s = U_ZERO_ERROR;
    calendar->setTime(static_cast<UDate>(day) * 86400000.0, s);
    return calendar->get(UCAL_ERA, s);
  };
  // Eras before Meiji followed the old lunisolar calendar; the table starts
  // with the era in force when Japan took up the Gregorian calendar.
  const int32_t first = eraOn(CivilDate::DaysFromCivil(1873, 1, 1));
  const int32_t last = calendar->getMaximum(UCAL_ERA);
  const int64_t lowest = CivilDate::DaysFromCivil(1860, 1, 1);
  const int64_t highest = CivilDate::DaysFromCivil(9999, 12, 31);
  int32_t count = 0;
  const icu::UnicodeString* names = japanese.getEraNames(count);
  for (int32_t index = first; index <= last && index < count; ++index) {
    if (eraOn(highest) < index) break;
    // The first day on which this era (or a later one) is in force.
    int64_t lo = lowest, hi = highest;
    while (lo < hi) {
      const int64_t mid = lo + (hi - lo) / 2;
      if (eraOn(mid) >= index) hi = mid;
      else lo = mid + 1;
    }
    const CivilDate::YMD start = CivilDate::CivilFromDays(lo);
    Era era;
    era.Year = start.Year;
    era.Month = start.Month;
    era.Day = start.Day;
    era.Name = Utf8(names[index]);
    era.Kanji = Utf8(icu::UnicodeString(names[index].char32At(0)));
    era.Initial = EraInitial(index, japanese, root);
    eras.push_back(std::move(era));
  }
  return eras;
}

}  // namespace

std::string LatinInitial(std::string_view narrowJapanese, std::string_view narrowRoot,
                         std::string_view abbreviatedRoot) {
  auto capital = [](std::string_view text) { return text.size() == 1 && text[0] >= 'A' && text[0] <= 'Z'; };
  if (capital(narrowJapanese)) return std::string(narrowJapanese);
  if (capital(narrowRoot)) return std::string(narrowRoot);
  if (!abbreviatedRoot.empty()) {
    const char first = abbreviatedRoot[0];
    if (first >= 'a' && first <= 'z') return std::string(1, static_cast<char>(first - 'a' + 'A'));
    if (first >= 'A' && first <= 'Z') return std::string(1, first);
  }
  return {};
}

const std::vector<Era>& JapaneseEras() {
  static const std::vector<Era> eras = BuildEras();
  return eras;
}

const Era* EraOf(int32_t year, int32_t month, int32_t day) {
  const std::vector<Era>& eras = JapaneseEras();
  for (auto it = eras.rbegin(); it != eras.rend(); ++it) {
    if (year != it->Year ? year > it->Year : month != it->Month ? month > it->Month : day >= it->Day) return &*it;
  }
  return nullptr;
}

}  // namespace DateTimeLocale
