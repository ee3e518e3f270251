#pragma once
// The settings dialog's third page, "詳細": when the time signal keeps
// quiet (quiet hours, weekdays, holidays, the desktop's do-not-disturb),
// the half-hour chime and its melody, and starting the clock at login.
// Every change takes effect at once, as on the other pages; the options
// reach the settings store with the others when the program ends.
#include <array>
#include <memory>

#include "platform/CheckBox.h"
#include "platform/Frame.h"
#include "platform/Label.h"
#include "platform/ListControl.h"
#include "platform/TextBox.h"

class clsDetailPage {
 public:
  // Builds the page's controls in the (borderless) frame.
  explicit clsDetailPage(platform::IFrame& page);
  clsDetailPage(const clsDetailPage&) = delete;
  clsDetailPage& operator=(const clsDetailPage&) = delete;

  // Sets the controls from the settings, and the login box from the
  // autostart entry as it is now.
  void Load();
  // The login box from the autostart entry as it is now.
  void ReflectAutostart();

  // ---- controls (read by tests)
  std::unique_ptr<platform::ICheckBox> QuietHours;
  std::unique_ptr<platform::IListControl> QuietFrom;
  std::unique_ptr<platform::IListControl> QuietTo;
  std::unique_ptr<platform::ILabel> FromLabel, ToLabel;
  std::unique_ptr<platform::ICheckBox> ChosenDaysOnly;
  // Monday … Sunday.
  std::array<std::unique_ptr<platform::ICheckBox>, 7> Days;
  std::unique_ptr<platform::ICheckBox> NoHolidays;
  std::unique_ptr<platform::ICheckBox> DoNotDisturb;
  std::unique_ptr<platform::ICheckBox> HalfHour;
  std::unique_ptr<platform::ILabel> HalfHourLabel;
  std::unique_ptr<platform::ITextBox> HalfHourMML;
  // 100 %, 90 % … 0 %.
  std::unique_ptr<platform::ILabel> VolumeLabel;
  std::unique_ptr<platform::IListControl> Volume;
  // The desktop's autostart entry exists.
  std::unique_ptr<platform::ICheckBox> StartAtLogin;

 private:
  void TakeRules();
  void StartAtLogin_Click();
  // Greys what the boxes turn off.
  void EnableDependents();
  bool mblnLoading = false;
};
