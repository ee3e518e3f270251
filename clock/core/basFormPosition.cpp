#include "clock/core/basFormPosition.h"

#include <cmath>
#include <limits>
#include <locale>
#include <optional>
#include <sstream>

#include "clock/core/SettingsStore.h"
#include "common/basGeneral.h"
#include "platform/Services.h"

namespace basFormPosition {
namespace {

// The stored number as a 32-bit integer; a number beyond 32 bits (a damaged
// settings file) counts as absent instead of stopping the window's load
// with an overflow.
std::optional<int32_t> StoredLong(const std::string& key) {
  const double value = basGeneral::NumericOrZero(SettingsStore::GetAppSetting(key, ""));
  const double rounded = platform::checked::RoundHalfEven(value);
  if (!std::isfinite(rounded) || rounded < std::numeric_limits<int32_t>::min() ||
      rounded > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(rounded);
}

}  // namespace

std::string SingleText(double value) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text.precision(std::numeric_limits<float>::digits10 + 1);
  text << static_cast<float>(value);
  return text.str();
}

void RestoreFormPosition(platform::IForm& window, bool positionOnly, int32_t minWidth, int32_t minHeight,
                         const std::string& prefix) {
  const platform::IScreen& screen = platform::Screen();
  if (auto v = StoredLong(prefix + "Left"); v && *v > 0 && *v < screen.Width()) window.SetLeft(*v);
  if (auto v = StoredLong(prefix + "Top"); v && *v > 0 && *v < screen.Height()) window.SetTop(*v);
  if (positionOnly) return;
  const double widthBound = minWidth != 0 ? minWidth : window.Width();
  if (auto v = StoredLong(prefix + "Width"); v && *v > widthBound) window.SetWidth(*v);
  const double heightBound = minHeight != 0 ? minHeight : window.Height();
  if (auto v = StoredLong(prefix + "Height"); v && *v > heightBound) window.SetHeight(*v);
}

void SaveFormPosition(const platform::IForm& window, bool positionOnly, const std::string& prefix) {
  if (window.WindowState() == platform::vbMinimized) return;
  platform::SettingsBatch batch(platform::SettingsStore());
  SettingsStore::SaveAppSetting(prefix + "Left", SingleText(window.Left()));
  SettingsStore::SaveAppSetting(prefix + "Top", SingleText(window.Top()));
  if (!positionOnly) {
    SettingsStore::SaveAppSetting(prefix + "Width", SingleText(window.Width()));
    SettingsStore::SaveAppSetting(prefix + "Height", SingleText(window.Height()));
  }
  batch.Commit();
}

}  // namespace basFormPosition
