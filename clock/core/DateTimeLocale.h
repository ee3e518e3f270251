#pragma once
// The locale data the date/time formatter needs, read from ICU per locale
// and kept: weekday and month names, the morning/afternoon designators, the
// time and date separators, the long date and long time formats, and the
// Japanese era calendar (which is the same whatever the user's locale).
// Each part is read when a format first needs it: a clock showing digits
// and separators never builds ICU's formatters or its calendar symbols.
#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"

namespace DateTimeLocale {

// One output field of a compiled format.
enum class Field : uint8_t {
  Literal,        // Text
  Day,            // 1–31
  Day2,           // 01–31
  WeekdayAbbr,    // locale's abbreviated weekday
  WeekdayFull,    // locale's full weekday
  JaWeekday,      // 日 … 土
  JaWeekdayFull,  // 日曜日 … 土曜日
  Month,          // 1–12
  Month2,         // 01–12
  MonthAbbr,      // locale's abbreviated month
  MonthFull,      // locale's full month
  DayOfYear,      // 1–366
  Year,           // the year without padding
  Year2,          // two digits
  Year4,          // four digits
  EraInitial,     // R, H, S, T, M
  EraKanji,       // the era name's first character
  EraName,        // the era's full name
  EraYear,        // year in the era
  EraYear2,       // year in the era, at least two digits
  Hour,           // 0–23, or 1–12 when the format selects the 12-hour clock
  Hour2,          // the same with a leading zero
  Hour24,         // 0–23
  Hour24_2,       // 00–23
  Hour12,         // 1–12
  Hour12_2,       // 01–12
  Minute,
  Minute2,
  Second,
  Second2,
  AmPm,           // locale's designator
  AmPmText,       // Text in the morning, Text2 in the afternoon
  TimeSep,        // locale's time separator
  DateSep,        // locale's date separator
};

struct Piece {
  Field Kind = Field::Literal;
  std::string_view Text;
  std::string_view Text2;
};

// A locale format compiled to pieces. Patterns holding fields the pieces
// cannot express are formatted by ICU instead (Fallback set).
struct CompiledFormat {
  std::vector<Piece> Pieces;
  std::list<std::string> Literals;  // storage the pieces' texts point into
  std::function<std::string(const platform::DateTime&)> Fallback;
};

// The locale's names of weekdays, months and the two halves of the day.
struct NameTable {
  std::array<std::string, 7> WeekdayAbbr;  // Sunday first
  std::array<std::string, 7> WeekdayFull;
  std::array<std::string, 12> MonthAbbr;
  std::array<std::string, 12> MonthFull;
  std::string Am, Pm;
};

struct LocaleData {
 public:
  // `exact`: ICU holds data of its own for exactly this locale (see the .cpp).
  LocaleData(std::string name, bool exact);

  const std::string& Name() const { return mName; }  // the ICU locale name in use
  const NameTable& Names() const;
  const std::string& TimeSep() const;
  const std::string& DateSep() const;
  const CompiledFormat& LongDate() const;
  const CompiledFormat& LongTime() const;
  const CompiledFormat& ShortTime() const { return mShortTime; }

  // Fills the names from data the caller has read already.
  void AdoptNames(NameTable names);

 private:
  void ReadSeparators() const;

  std::string mName;
  bool mExact;
  CompiledFormat mShortTime;
  mutable std::once_flag mNamesRead, mSeparatorsRead, mLongDateRead, mLongTimeRead;
  mutable NameTable mNames;
  mutable std::string mTimeSep, mDateSep;
  mutable CompiledFormat mLongDate, mLongTime;
};

// The ICU locale name of the user's time locale: the first non-empty of
// LC_ALL, LC_TIME and LANG, without codeset and modifier; "C", "POSIX" or
// nothing mean ja_JP.
std::string UserLocaleName();

// The data of the user's current locale (follows changes of the
// environment). The reference stays valid for the life of the program.
const LocaleData& Current();
// The data of a named ICU locale.
const LocaleData& ForLocale(const std::string& name);

// A Japanese era from its first day on.
struct Era {
  int32_t Year = 0, Month = 0, Day = 0;  // first day (Gregorian)
  std::string Initial;                   // "R"
  std::string Kanji;                     // "令"
  std::string Name;                      // "令和"
};

// An era's Latin initial from ICU's era names: a narrow name that is one
// capital letter (Japanese data first, then root data), else the first
// letter of the root data's abbreviated name ("Reiwa"), else nothing.
std::string LatinInitial(std::string_view narrowJapanese, std::string_view narrowRoot,
                         std::string_view abbreviatedRoot);

// The eras from Meiji on, oldest first, from ICU's Japanese calendar.
const std::vector<Era>& JapaneseEras();
// The era of a date, or nullptr before the first one.
const Era* EraOf(int32_t year, int32_t month, int32_t day);

}  // namespace DateTimeLocale
