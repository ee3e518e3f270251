#include "clock/core/SettingsStore.h"

#include "clock/core/DateTimeFormat.h"
#include "clock/sound/SignalSettings.h"
#include "common/basGeneral.h"
#include "platform/Application.h"
#include "platform/Checked.h"
#include "platform/Clock.h"
#include "platform/Services.h"

namespace SettingsStore {
namespace {

// The application name is read once on each side and kept.
const std::string& ReadSideAppName() {
  static const std::string name = platform::Application::Title();
  return name;
}
const std::string& WriteSideAppName() {
  static const std::string name = platform::Application::Title();
  return name;
}

constexpr const char* kDefaultUnderRowFormat = "HH:MM:SS";
constexpr const char* kDefaultUpperRowFormat = "AAAA MM/DD";

// A row format the formatter refuses now is replaced by the row's default;
// the returned line names the row and the stored text ("" when it is usable).
std::string KeepUsableFormat(std::string& format, const char* defaultFormat, const char* rowName) {
  try {
    DateTimeFormat::FormatDateTime(platform::Now(), format);
    return {};
  } catch (const platform::RuntimeError&) {
  }
  std::string line = std::string(rowName) + "の書式 \"" + format + "\" は使えないため、既定の書式 \"" +
                     defaultFormat + "\" に戻しました。";
  format = defaultFormat;
  return line;
}

}  // namespace

double NumericOrZeroOf(const std::string& key, const std::string& defaultText) {
  return basGeneral::NumericOrZero(GetAppSetting(key, defaultText));
}

std::string GetAppSetting(const std::string& key, const std::string& defaultText) {
  return platform::SettingsStore().GetSetting(ReadSideAppName(), kSection, key).value_or(defaultText);
}

void SaveAppSetting(const std::string& key, const std::string& text) {
  platform::SettingsStore().SaveSetting(WriteSideAppName(), kSection, key, text);
}

int16_t ReadInt16Setting(const std::string& key, int16_t defaultValue) {
  const double value = NumericOrZeroOf(key, std::to_string(defaultValue));
  try {
    return platform::checked::CInt(value);
  } catch (const platform::RuntimeError&) {
    return defaultValue;
  }
}

platform::OleColor ReadColorSetting(const std::string& key, platform::OleColor defaultValue) {
  const int32_t fallback = static_cast<int32_t>(defaultValue);
  const double value = NumericOrZeroOf(key, std::to_string(fallback));
  try {
    return static_cast<platform::OleColor>(platform::checked::CLng(value));
  } catch (const platform::RuntimeError&) {
    return defaultValue;
  }
}

double ReadNumericSetting(const std::string& key) { return NumericOrZeroOf(key, ""); }

bool ReadBooleanSetting(const std::string& key) { return NumericOrZeroOf(key, "0") != 0; }

std::string BooleanText(bool value) { return value ? "-1" : "0"; }

void LoadSettings() {
  MoveSide = ReadInt16Setting("MoveSide", 3);
  mintRows[0] = ReadInt16Setting("UpperRow", 1);
  mintRows[1] = ReadInt16Setting("UnderRow", 1);
  UpperRowFormat = GetAppSetting("UpperRowFormat", kDefaultUpperRowFormat);
  UnderRowFormat = GetAppSetting("UnderRowFormat", kDefaultUnderRowFormat);
  TopMost = ReadBooleanSetting("TopMost");
  TimeSignalRepeat = ReadBooleanSetting("TimeSignalRepeat");
  NoUseTimeSignal = ReadBooleanSetting("NoUseTimeSignal");
  UsePCBuzzer = ReadBooleanSetting("UsePCBuzzer");
  WavFile = GetAppSetting("WavFile", "");
  NoTestDllReg = ReadBooleanSetting("NoTestDllReg");
  SignalSettings::LoadSignalSettings();

  // A format the clock cannot show would stop every refresh of its row.
  std::string notice = KeepUsableFormat(UnderRowFormat, kDefaultUnderRowFormat, "１段目");
  const std::string lower = KeepUsableFormat(UpperRowFormat, kDefaultUpperRowFormat, "２段目");
  if (!notice.empty() && !lower.empty()) notice += "\n";
  notice += lower;
  if (!notice.empty()) {
    platform::MessageBox().Show(notice, platform::vbInformation | platform::vbOKOnly, platform::Application::Title());
  }
}

void SaveSettings(const platform::StdFont& rowFont, platform::OleColor rowColor) {
  // One write of the store for all keys.
  platform::SettingsBatch batch(platform::SettingsStore());
  SaveAppSetting("FontName", rowFont.Name);
  SaveAppSetting("FontWeight", std::to_string(rowFont.Weight));
  SaveAppSetting("FontBold", BooleanText(rowFont.Bold));
  SaveAppSetting("FontItalic", BooleanText(rowFont.Italic));
  SaveAppSetting("FontStrikethrough", BooleanText(rowFont.Strikethrough));
  SaveAppSetting("FontUnderline", BooleanText(rowFont.Underline));
  SaveAppSetting("FontColor", std::to_string(static_cast<int32_t>(rowColor)));
  SaveAppSetting("MoveSide", std::to_string(MoveSide));
  SaveAppSetting("UpperRow", std::to_string(mintRows[0]));
  SaveAppSetting("UnderRow", std::to_string(mintRows[1]));
  SaveAppSetting("UpperRowFormat", UpperRowFormat);
  SaveAppSetting("UnderRowFormat", UnderRowFormat);
  SaveAppSetting("TopMost", BooleanText(TopMost));
  SaveAppSetting("TimeSignalRepeat", BooleanText(TimeSignalRepeat));
  SaveAppSetting("NoUseTimeSignal", BooleanText(NoUseTimeSignal));
  SaveAppSetting("UsePCBuzzer", BooleanText(UsePCBuzzer));
  SaveAppSetting("WavFile", WavFile);
  SaveAppSetting("NoTestDllReg", BooleanText(NoTestDllReg));
  SignalSettings::SaveSignalSettings();
  // The width of the font's face, once one was chosen (a condensed face).
  if (rowFont.Stretch != 0) SaveAppSetting("FontStretch", std::to_string(rowFont.Stretch));
  batch.Commit();
}

}  // namespace SettingsStore
