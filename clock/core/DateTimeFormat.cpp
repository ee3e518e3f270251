#include "clock/core/DateTimeFormat.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "clock/core/CivilDate.h"
#include "clock/core/DateTimeLocale.h"
#include "platform/RuntimeError.h"

namespace DateTimeFormat {
namespace {

using DateTimeLocale::Field;
using DateTimeLocale::Piece;

constexpr std::array<std::string_view, 7> kJaWeekday = {"日", "月", "火", "水", "木", "金", "土"};
constexpr std::array<std::string_view, 7> kJaWeekdayFull = {"日曜日", "月曜日", "火曜日", "水曜日",
                                                            "木曜日", "金曜日", "土曜日"};

[[noreturn]] void Refuse() { platform::RaiseError(platform::errInvalidCall); }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (Lower(text[i]) != lower[i]) return false;
  }
  return true;
}

bool StartsWithIgnoringCase(std::string_view text, size_t at, std::string_view lower) {
  return text.size() - at >= lower.size() && EqualsIgnoringCase(text.substr(at, lower.size()), lower);
}

// Length of the UTF-8 sequence starting with this byte (0 when it cannot
// start one).
size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t n = SequenceLength(lead);
    if (n == 0 || i + n > text.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    if (n >= 3) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      if (lead == 0xE0 && second < 0xA0) return false;  // overlong
      if (lead == 0xED && second > 0x9F) return false;  // surrogate
      if (lead == 0xF0 && second < 0x90) return false;  // overlong
      if (lead == 0xF4 && second > 0x8F) return false;  // beyond U+10FFFF
    }
    i += n;
  }
  return true;
}

// Bytes that may start a token; everything else is copied as it is.
constexpr std::array<bool, 256> kStartsToken = [] {
  std::array<bool, 256> table{};
  for (char c : std::string_view("\"\\:/adeghmnsyADEGHMNSY")) table[static_cast<unsigned char>(c)] = true;
  return table;
}();

size_t RunLength(std::string_view format, size_t at) {
  const char c = Lower(format[at]);
  size_t end = at + 1;
  while (end < format.size() && Lower(format[end]) == c) ++end;
  return end - at;
}

struct Scan {
  bool HasAmPm = false;  // selects the 12-hour clock
  bool NeedsEra = false;
};

// Reads the format into pieces. "m"/"mm" are minutes when the nearest token
// before them is an hour token; literal text and the separators ":" and "/"
// in between do not count.
void Lex(std::string_view format, std::vector<Piece>& pieces, Scan& scan) {
  bool afterHour = false;
  size_t i = 0;
  auto token = [&](Field field, size_t length) {
    pieces.push_back(Piece{field, {}, {}});
    i += length;
    afterHour = false;
  };
  auto literal = [&](std::string_view text) {
    if (!text.empty()) pieces.push_back(Piece{Field::Literal, text, {}});
  };
  while (i < format.size()) {
    const char c = Lower(format[i]);
    if (!kStartsToken[static_cast<unsigned char>(format[i])]) {
      const size_t start = i;
      while (i < format.size() && !kStartsToken[static_cast<unsigned char>(format[i])]) ++i;
      literal(format.substr(start, i - start));
      continue;
    }
    switch (c) {
      case '"': {
        const size_t close = format.find('"', i + 1);
        if (close == std::string_view::npos) Refuse();
        literal(format.substr(i + 1, close - i - 1));
        i = close + 1;
        break;
      }
      case '\\': {
        if (i + 1 >= format.size()) Refuse();
        const size_t n = SequenceLength(static_cast<unsigned char>(format[i + 1]));
        literal(format.substr(i + 1, n));
        i += 1 + n;
        break;
      }
      case ':':
        pieces.push_back(Piece{Field::TimeSep, {}, {}});
        ++i;
        break;
      case '/':
        pieces.push_back(Piece{Field::DateSep, {}, {}});
        ++i;
        break;
      case 'a': {
        if (StartsWithIgnoringCase(format, i, "am/pm")) {
          pieces.push_back(Piece{Field::AmPmText, format.substr(i, 2), format.substr(i + 3, 2)});
          scan.HasAmPm = true;
          i += 5;
          afterHour = false;
        } else if (StartsWithIgnoringCase(format, i, "ampm")) {
          scan.HasAmPm = true;
          token(Field::AmPm, 4);
        } else if (StartsWithIgnoringCase(format, i, "a/p")) {
          pieces.push_back(Piece{Field::AmPmText, format.substr(i, 1), format.substr(i + 2, 1)});
          scan.HasAmPm = true;
          i += 3;
          afterHour = false;
        } else if (const size_t n = RunLength(format, i); n >= 3) {
          token(n == 3 ? Field::JaWeekday : Field::JaWeekdayFull, n == 3 ? 3 : 4);
        } else {
          literal(format.substr(i, 1));
          ++i;
        }
        break;
      }
      case 'd': {
        static constexpr Field kByLength[] = {Field::Day, Field::Day2, Field::WeekdayAbbr, Field::WeekdayFull};
        const size_t n = std::min<size_t>(RunLength(format, i), 4);
        token(kByLength[n - 1], n);
        break;
      }
      case 'm': {
        const size_t n = std::min<size_t>(RunLength(format, i), 4);
        if (n >= 3) token(n == 3 ? Field::MonthAbbr : Field::MonthFull, n);
        else if (afterHour) token(n == 1 ? Field::Minute : Field::Minute2, n);
        else token(n == 1 ? Field::Month : Field::Month2, n);
        break;
      }
      case 'y': {
        const size_t n = RunLength(format, i);
        if (n >= 4) token(Field::Year4, 4);
        else if (n >= 2) token(Field::Year2, 2);
        else token(Field::DayOfYear, 1);
        break;
      }
      case 'g': {
        static constexpr Field kByLength[] = {Field::EraInitial, Field::EraKanji, Field::EraName};
        const size_t n = std::min<size_t>(RunLength(format, i), 3);
        scan.NeedsEra = true;
        token(kByLength[n - 1], n);
        break;
      }
      case 'e': {
        const size_t n = std::min<size_t>(RunLength(format, i), 2);
        scan.NeedsEra = true;
        token(n == 1 ? Field::EraYear : Field::EraYear2, n);
        break;
      }
      case 'h': {
        const size_t n = std::min<size_t>(RunLength(format, i), 2);
        token(n == 1 ? Field::Hour : Field::Hour2, n);
        afterHour = true;
        break;
      }
      case 'n': {
        const size_t n = std::min<size_t>(RunLength(format, i), 2);
        token(n == 1 ? Field::Minute : Field::Minute2, n);
        break;
      }
      case 's': {
        const size_t n = std::min<size_t>(RunLength(format, i), 2);
        token(n == 1 ? Field::Second : Field::Second2, n);
        break;
      }
      default:  // not reached: the table lists only the cases above
        literal(format.substr(i, 1));
        ++i;
        break;
    }
  }
}

void AppendNumber(std::string& out, int64_t value, int digits) {
  char buffer[24];
  char* end = buffer + sizeof buffer;
  char* p = end;
  const bool negative = value < 0;
  uint64_t v = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    *--p = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (end - p < digits) *--p = '0';
  if (negative) *--p = '-';
  out.append(p, end);
}

bool IsValidMoment(const platform::DateTime& t) {
  return t.Year >= 1 && t.Year <= 9999 && t.Month >= 1 && t.Month <= 12 && t.Day >= 1 &&
         t.Day <= CivilDate::DaysInMonth(t.Year, t.Month) && t.Hour >= 0 && t.Hour <= 23 && t.Minute >= 0 &&
         t.Minute <= 59 && t.Second >= 0 && t.Second <= 60;  // 60: a leap second as the system reports it
}

void Emit(const std::vector<Piece>& pieces, bool twelveHour, const platform::DateTime& t,
          const DateTimeLocale::LocaleData& locale, std::string& out) {
  const DateTimeLocale::Era* era = nullptr;
  const int32_t weekday = CivilDate::Weekday(t.Year, t.Month, t.Day);
  const int32_t hour12 = t.Hour % 12 == 0 ? 12 : t.Hour % 12;
  const bool morning = t.Hour < 12;
  auto eraOf = [&]() {
    if (!era) era = DateTimeLocale::EraOf(t.Year, t.Month, t.Day);
    if (!era) Refuse();
    return era;
  };
  for (const Piece& piece : pieces) {
    switch (piece.Kind) {
      case Field::Literal: out += piece.Text; break;
      case Field::Day: AppendNumber(out, t.Day, 1); break;
      case Field::Day2: AppendNumber(out, t.Day, 2); break;
      case Field::WeekdayAbbr: out += locale.Names().WeekdayAbbr[weekday]; break;
      case Field::WeekdayFull: out += locale.Names().WeekdayFull[weekday]; break;
      case Field::JaWeekday: out += kJaWeekday[weekday]; break;
      case Field::JaWeekdayFull: out += kJaWeekdayFull[weekday]; break;
      case Field::Month: AppendNumber(out, t.Month, 1); break;
      case Field::Month2: AppendNumber(out, t.Month, 2); break;
      case Field::MonthAbbr: out += locale.Names().MonthAbbr[t.Month - 1]; break;
      case Field::MonthFull: out += locale.Names().MonthFull[t.Month - 1]; break;
      case Field::DayOfYear: AppendNumber(out, CivilDate::DayOfYear(t.Year, t.Month, t.Day), 1); break;
      case Field::Year: AppendNumber(out, t.Year, 1); break;
      case Field::Year2: AppendNumber(out, t.Year % 100, 2); break;
      case Field::Year4: AppendNumber(out, t.Year, 4); break;
      case Field::EraInitial: out += eraOf()->Initial; break;
      case Field::EraKanji: out += eraOf()->Kanji; break;
      case Field::EraName: out += eraOf()->Name; break;
      case Field::EraYear: AppendNumber(out, t.Year - eraOf()->Year + 1, 1); break;
      case Field::EraYear2: AppendNumber(out, t.Year - eraOf()->Year + 1, 2); break;
      case Field::Hour: AppendNumber(out, twelveHour ? hour12 : t.Hour, 1); break;
      case Field::Hour2: AppendNumber(out, twelveHour ? hour12 : t.Hour, 2); break;
      case Field::Hour24: AppendNumber(out, t.Hour, 1); break;
      case Field::Hour24_2: AppendNumber(out, t.Hour, 2); break;
      case Field::Hour12: AppendNumber(out, hour12, 1); break;
      case Field::Hour12_2: AppendNumber(out, hour12, 2); break;
      case Field::Minute: AppendNumber(out, t.Minute, 1); break;
      case Field::Minute2: AppendNumber(out, t.Minute, 2); break;
      case Field::Second: AppendNumber(out, t.Second, 1); break;
      case Field::Second2: AppendNumber(out, t.Second, 2); break;
      case Field::AmPm: out += morning ? locale.Names().Am : locale.Names().Pm; break;
      case Field::AmPmText: out += morning ? piece.Text : piece.Text2; break;
      case Field::TimeSep: out += locale.TimeSep(); break;
      case Field::DateSep: out += locale.DateSep(); break;
    }
  }
}

std::string FormatNamed(const DateTimeLocale::CompiledFormat& named, const platform::DateTime& moment,
                        const DateTimeLocale::LocaleData& locale) {
  if (named.Fallback) return named.Fallback(moment);
  std::string out;
  Emit(named.Pieces, false, moment, locale, out);
  return out;
}

}  // namespace

// A format cannot be applied, and raises error 5, when
//  - the moment is not a real calendar moment of the years 1–9999;
//  - the format is not valid UTF-8 text;
//  - a double quote is never closed, or a backslash ends the format;
//  - an era token (g, gg, ggg, e, ee) meets a moment before the Meiji era,
//    where the calendar has no era with a Latin initial and Gregorian years.
// Everything else can be applied: letters that are no token, and an empty
// format, are copied as they are.
std::string FormatDateTime(const platform::DateTime& moment, const std::string& format) {
  return FormatDateTime(moment, format, DateTimeLocale::Current());
}

std::string FormatDateTime(const platform::DateTime& moment, const std::string& format,
                           const DateTimeLocale::LocaleData& locale) {
  if (!IsValidMoment(moment) || !IsValidUtf8(format)) Refuse();

  if (format.size() == 9 || format.size() == 10) {
    if (EqualsIgnoringCase(format, "long date")) return FormatNamed(locale.LongDate(), moment, locale);
    if (EqualsIgnoringCase(format, "long time")) return FormatNamed(locale.LongTime(), moment, locale);
    if (EqualsIgnoringCase(format, "short time")) return FormatNamed(locale.ShortTime(), moment, locale);
  }

  thread_local std::vector<Piece> pieces;
  pieces.clear();
  Scan scan;
  Lex(format, pieces, scan);
  if (scan.NeedsEra && !DateTimeLocale::EraOf(moment.Year, moment.Month, moment.Day)) Refuse();

  std::string out;
  out.reserve(format.size() + 16);
  Emit(pieces, scan.HasAmPm, moment, locale, out);
  return out;
}

}  // namespace DateTimeFormat
