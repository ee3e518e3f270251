#include "clock/sound/SignalSettings.h"

#include "clock/core/SettingsStore.h"
#include "platform/Sound.h"

namespace SignalSettings {
namespace {

int16_t ReadInRange(const char* key, int16_t defaultValue, int16_t low, int16_t high) {
  const int16_t value = SettingsStore::ReadInt16Setting(key, defaultValue);
  return value < low || value > high ? defaultValue : value;
}

bool ReadBoolean(const char* key, bool defaultValue) {
  return SettingsStore::NumericOrZeroOf(key, SettingsStore::BooleanText(defaultValue)) != 0;
}

}  // namespace

void LoadSignalSettings() {
  const SignalSchedule::SignalRules defaults;
  Rules.QuietHours = ReadBoolean("QuietHours", defaults.QuietHours);
  Rules.QuietFrom = ReadInRange("QuietFrom", defaults.QuietFrom, 0, 23);
  Rules.QuietTo = ReadInRange("QuietTo", defaults.QuietTo, 0, 23);
  Rules.ChosenDaysOnly = ReadBoolean("ChosenDaysOnly", defaults.ChosenDaysOnly);
  Rules.DayMask = ReadInRange("SignalDays", defaults.DayMask, 0, 0x7F);
  Rules.NoHolidays = ReadBoolean("NoHolidaySignal", defaults.NoHolidays);
  Rules.HalfHour = ReadBoolean("HalfHourSignal", defaults.HalfHour);
  DoNotDisturb = ReadBoolean("DoNotDisturb", true);
  HalfHourMML = SettingsStore::GetAppSetting("HalfHourMML", kDefaultHalfHourMML);
  SignalVolume = ReadInRange("SignalVolume", kFullVolume, 0, kFullVolume);
  ApplySignalVolume();
}

void ApplySignalVolume() {
  const float fraction = static_cast<float>(SignalVolume) / kFullVolume;
  platform::SoundEngine().SetVolume(fraction * fraction);
}

void SaveSignalSettings() {
  using SettingsStore::BooleanText;
  using SettingsStore::SaveAppSetting;
  SaveAppSetting("QuietHours", BooleanText(Rules.QuietHours));
  SaveAppSetting("QuietFrom", std::to_string(Rules.QuietFrom));
  SaveAppSetting("QuietTo", std::to_string(Rules.QuietTo));
  SaveAppSetting("ChosenDaysOnly", BooleanText(Rules.ChosenDaysOnly));
  SaveAppSetting("SignalDays", std::to_string(Rules.DayMask));
  SaveAppSetting("NoHolidaySignal", BooleanText(Rules.NoHolidays));
  SaveAppSetting("DoNotDisturb", BooleanText(DoNotDisturb));
  SaveAppSetting("HalfHourSignal", BooleanText(Rules.HalfHour));
  SaveAppSetting("HalfHourMML", HalfHourMML);
  SaveAppSetting("SignalVolume", std::to_string(SignalVolume));
}

}  // namespace SignalSettings
