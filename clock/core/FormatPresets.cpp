#include "clock/core/FormatPresets.h"

#include "clock/core/DateTimeFormat.h"
#include "clock/core/SettingsStore.h"
#include "common/basControl.h"
#include "platform/Clock.h"
#include "platform/RuntimeError.h"

namespace FormatPresets {
namespace {

// Whether the format can format the current time. Only error 5 refuses a
// format; any other error lets it be taken over.
bool CanApply(const std::string& format) {
  try {
    (void)DateTimeFormat::FormatDateTime(platform::Now(), format);
  } catch (const platform::RuntimeError& error) {
    if (error.Number() == platform::errInvalidCall) return false;
  }
  return true;
}

}  // namespace

const std::vector<std::string>& TopRowPresets() {
  static const std::vector<std::string> presets = {
      "Long Time", "hh:mm:ss AMPM", "h:m:s", "AMPM hh時mm分ss秒", "am/pm H:NN:SS", "SHORT TIME",
  };
  return presets;
}

const std::vector<std::string>& BottomRowPresets() {
  static const std::vector<std::string> presets = {
      "Long Date", "dddd, mmm d yyyy", "GGG ee年MM月DD日 AAAA", "mmmm DD ddd", "GE.M.D aaa", "今年ももう y 日過ました",
  };
  return presets;
}

void FillFormatPresets(platform::IListControl& topList, platform::IListControl& bottomList) {
  basControl::FillListFromArray(topList, TopRowPresets());
  basControl::FillListFromArray(bottomList, BottomRowPresets());
}

void ApplyRowFormats(const platform::IListControl& topList, const platform::IListControl& bottomList) {
  const std::string top = topList.Text();
  if (!CanApply(top)) return;
  SettingsStore::UnderRowFormat = top;

  const std::string bottom = bottomList.Text();
  if (!CanApply(bottom)) return;
  SettingsStore::UpperRowFormat = bottom;
}

}  // namespace FormatPresets
