#include "clock/core/SettingsStore.h"

#include "common/basGeneral.h"
#include "platform/Application.h"
#include "platform/Checked.h"
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

// A 16-bit key; a number outside the 16-bit range cannot be taken and the
// key's default applies instead.
int16_t ReadInt16Setting(const std::string& key, int16_t defaultValue) {
  const double value = NumericOrZeroOf(key, std::to_string(defaultValue));
  try {
    return platform::checked::CInt(value);
  } catch (const platform::RuntimeError&) {
    return defaultValue;
  }
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

double ReadNumericSetting(const std::string& key) { return NumericOrZeroOf(key, ""); }

bool ReadBooleanSetting(const std::string& key) { return NumericOrZeroOf(key, "0") != 0; }

std::string BooleanText(bool value) { return value ? "-1" : "0"; }

void LoadSettings() {
  MoveSide = ReadInt16Setting("MoveSide", 3);
  mintRows[0] = ReadInt16Setting("UpperRow", 1);
  mintRows[1] = ReadInt16Setting("UnderRow", 1);
  UpperRowFormat = GetAppSetting("UpperRowFormat", "AAAA MM/DD");
  UnderRowFormat = GetAppSetting("UnderRowFormat", "HH:MM:SS");
  TopMost = ReadBooleanSetting("TopMost");
  TimeSignalRepeat = ReadBooleanSetting("TimeSignalRepeat");
  NoUseTimeSignal = ReadBooleanSetting("NoUseTimeSignal");
  UsePCBuzzer = ReadBooleanSetting("UsePCBuzzer");
  WavFile = GetAppSetting("WavFile", "");
  NoTestDllReg = ReadBooleanSetting("NoTestDllReg");
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
  batch.Commit();
}

}  // namespace SettingsStore
