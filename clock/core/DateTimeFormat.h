#pragma once
// The clock's date/time formatter: turns a local moment into the text of a
// row format ("HH:MM:SS", "AAAA MM/DD", "Long Date", …).
#include <string>

#include "clock/core/DateTimeLocale.h"
#include "platform/Clock.h"

namespace DateTimeFormat {

// Formats the moment by the format's tokens, with the user's locale data.
// Raises run-time error 5 for a format it cannot apply (see the .cpp).
std::string FormatDateTime(const platform::DateTime& moment, const std::string& format);
// The same with locale data the caller has read once (DateTimeLocale::Current).
std::string FormatDateTime(const platform::DateTime& moment, const std::string& format,
                           const DateTimeLocale::LocaleData& locale);

}  // namespace DateTimeFormat
