#include "clock/settings/clsDetailPage.h"

#include <string>

#include "clock/sound/SignalSchedule.h"
#include "clock/sound/SignalSettings.h"
#include "platform/Application.h"
#include "platform/Autostart.h"
#include "platform/Services.h"

namespace {

constexpr double kRow = 375;
const char* const kDayNames[7] = {"月", "火", "水", "木", "金", "土", "日"};

int16_t Checked(bool on) { return on ? platform::vbChecked : platform::vbUnchecked; }

}  // namespace

clsDetailPage::clsDetailPage(platform::IFrame& page) {
  platform::IControlFactory& controls = platform::Controls();
  auto Box = [&](const char* name, const char* caption, double left, double top, double width) {
    auto box = controls.CreateCheckBox(page, name);
    box->Move(left, top, width, kRow);
    box->SetCaption(caption);
    box->Click = [this] { TakeRules(); };
    return box;
  };
  auto Hours = [&](const char* name, double left, double top) {
    auto list = controls.CreateComboBox(page, name);
    list->SetStyle(2);
    list->Move(left, top, 735, 360);
    for (int hour = 0; hour < 24; ++hour) list->AddItem(std::to_string(hour));
    list->Click = [this] { TakeRules(); };
    return list;
  };
  auto Label = [&](const char* name, const char* caption, double left, double top, double width) {
    auto label = controls.CreateLabel(page, name);
    label->Move(left, top + 45, width, kRow - 45);
    label->SetUseMnemonic(true);
    label->SetCaption(caption);
    return label;
  };

  // Quiet hours: from, to (the range may pass midnight).
  QuietHours = Box("QuietHours", "鳴らさない時間帯(&Q)", 120, 60, 2175);
  QuietFrom = Hours("QuietFrom", 2400, 60);
  FromLabel = Label("FromLabel", "時から", 3195, 60, 735);
  QuietTo = Hours("QuietTo", 3960, 60);
  ToLabel = Label("ToLabel", "時まで", 4755, 60, 735);

  // Days: every day, or the chosen weekdays only; holidays.
  ChosenDaysOnly = Box("ChosenDaysOnly", "鳴らす曜日を選ぶ(&Y)", 120, 465, 2175);
  for (size_t i = 0; i < Days.size(); ++i) {
    Days[i] = Box("Days", kDayNames[i], 2400 + 630.0 * static_cast<double>(i), 465, 600);
  }
  NoHolidays = Box("NoHolidays", "祝日は鳴らさない(&J)", 120, 870, 2175);
  DoNotDisturb = Box("DoNotDisturb", "デスクトップが通知を止めている間は鳴らさない(&K)", 2400, 870, 5295);

  // The half-hour chime and its melody.
  HalfHour = Box("HalfHour", "30分にも鳴らす(&L)", 120, 1275, 2175);
  HalfHourLabel = Label("HalfHourLabel", "30分の MML(&G)", 2400, 1275, 1455);
  HalfHourMML = controls.CreateTextBox(page, "HalfHourMML");
  HalfHourMML->Move(3900, 1275, 3675, kRow);
  HalfHourMML->Change = [this] {
    if (!mblnLoading) SignalSettings::HalfHourMML = HalfHourMML->Text();
  };

  // The signal's volume, for every way it sounds (the test too).
  VolumeLabel = Label("VolumeLabel", "音量(&V)", 120, 1680, 735);
  Volume = controls.CreateComboBox(page, "Volume");
  Volume->SetStyle(2);
  Volume->Move(900, 1680, 1095, 360);
  for (int step = 10; step >= 0; --step) Volume->AddItem(std::to_string(step * 10) + " %");
  Volume->Click = [this] {
    if (mblnLoading || Volume->ListIndex() < 0) return;
    SignalSettings::SignalVolume = static_cast<int16_t>((10 - Volume->ListIndex()) * 10);
    SignalSettings::ApplySignalVolume();
  };

  StartAtLogin = Box("StartAtLogin", "ログイン時に起動する(&I)", 2400, 1680, 3495);
  StartAtLogin->Click = [this] { StartAtLogin_Click(); };
}

void clsDetailPage::StartAtLogin_Click() {
  if (mblnLoading) return;
  const bool wanted = StartAtLogin->Value() == platform::vbChecked;
  std::string error;
  if (wanted ? platform::EnableAutostart(error) : platform::DisableAutostart(error)) return;
  platform::MessageBox().Show(error, platform::vbOKOnly | platform::vbExclamation, platform::Application::Title());
  ReflectAutostart();
}

void clsDetailPage::Load() {
  mblnLoading = true;
  const SignalSchedule::SignalRules& rules = SignalSettings::Rules;
  QuietHours->SetValue(Checked(rules.QuietHours));
  QuietFrom->SetListIndex(rules.QuietFrom);
  QuietTo->SetListIndex(rules.QuietTo);
  ChosenDaysOnly->SetValue(Checked(rules.ChosenDaysOnly));
  for (size_t i = 0; i < Days.size(); ++i) Days[i]->SetValue(Checked((rules.DayMask >> i) & 1));
  NoHolidays->SetValue(Checked(rules.NoHolidays));
  DoNotDisturb->SetValue(Checked(SignalSettings::DoNotDisturb));
  HalfHour->SetValue(Checked(rules.HalfHour));
  HalfHourMML->SetText(SignalSettings::HalfHourMML);
  // A volume between the steps shows as the step below it.
  Volume->SetListIndex(static_cast<int16_t>(10 - SignalSettings::SignalVolume / 10));
  mblnLoading = false;
  ReflectAutostart();
  EnableDependents();
}

void clsDetailPage::ReflectAutostart() {
  mblnLoading = true;
  StartAtLogin->SetValue(Checked(platform::AutostartEnabled()));
  mblnLoading = false;
}

void clsDetailPage::TakeRules() {
  if (mblnLoading) return;
  SignalSchedule::SignalRules& rules = SignalSettings::Rules;
  rules.QuietHours = QuietHours->Value() == platform::vbChecked;
  if (QuietFrom->ListIndex() >= 0) rules.QuietFrom = QuietFrom->ListIndex();
  if (QuietTo->ListIndex() >= 0) rules.QuietTo = QuietTo->ListIndex();
  rules.ChosenDaysOnly = ChosenDaysOnly->Value() == platform::vbChecked;
  int16_t mask = 0;
  for (size_t i = 0; i < Days.size(); ++i) {
    if (Days[i]->Value() == platform::vbChecked) mask = static_cast<int16_t>(mask | (1 << i));
  }
  rules.DayMask = mask;
  rules.NoHolidays = NoHolidays->Value() == platform::vbChecked;
  SignalSettings::DoNotDisturb = DoNotDisturb->Value() == platform::vbChecked;
  rules.HalfHour = HalfHour->Value() == platform::vbChecked;
  EnableDependents();
}

void clsDetailPage::EnableDependents() {
  const bool quiet = QuietHours->Value() == platform::vbChecked;
  for (platform::IControl* control : {static_cast<platform::IControl*>(QuietFrom.get()), static_cast<platform::IControl*>(QuietTo.get())}) {
    control->SetEnabled(quiet);
  }
  const bool chosen = ChosenDaysOnly->Value() == platform::vbChecked;
  for (auto& day : Days) day->SetEnabled(chosen);
  const bool half = HalfHour->Value() == platform::vbChecked;
  HalfHourMML->SetEnabled(half);
}
