// The third page, "詳細": reached like the others, its controls load from
// the settings, change them at once and reach the store with the others;
// the login box writes and removes the autostart entry and shows it as it
// is when the dialog opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "SetUpFixture.h"
#include "clock/settings/clsDetailPage.h"
#include "clock/sound/SignalSettings.h"
#include "clock/widgets/clsTabStrip.h"
#include "platform/Autostart.h"
#include "platform/Sound.h"

namespace {

using namespace setuptest;
namespace fs = std::filesystem;

void Toggle(platform::ICheckBox& box) {
  box.SetValue(box.Value() == platform::vbChecked ? platform::vbUnchecked : platform::vbChecked);
}

TEST_F(SetUpFixture, TheDetailPageIsTheThirdTabAndChangesTheSignalsRulesAtOnce) {
  frmSetUp& d = Load();
  ASSERT_EQ(d.mcTabStrip->Count(), 3);
  EXPECT_EQ(d.mcTabStrip->Tab(2).Caption, "詳細");
  EXPECT_EQ(d.mcTabStrip->Tab(2).AccelKey, "A");
  d.Command1(8).SetValue(true);  // Alt+A
  EXPECT_EQ(d.mcTabStrip->SelectedIndex(), 2);
  EXPECT_TRUE(d.Frame1(2).Visible());
  EXPECT_FALSE(d.Frame1(0).Visible());

  clsDetailPage& page = *d.mcDetailPage;
  // The defaults: the signal as it always was; do-not-disturb heeded.
  EXPECT_EQ(page.QuietHours->Value(), platform::vbUnchecked);
  EXPECT_EQ(page.QuietFrom->ListIndex(), 22);
  EXPECT_EQ(page.QuietTo->ListIndex(), 7);
  EXPECT_FALSE(page.QuietFrom->Enabled());
  EXPECT_EQ(page.DoNotDisturb->Value(), platform::vbChecked);
  EXPECT_EQ(page.Volume->Text(), "100 %");
  EXPECT_EQ(page.HalfHourMML->Text(), "T120O4A8");
  for (const platform::IControl* control :
       {static_cast<platform::IControl*>(page.DoNotDisturb.get()), static_cast<platform::IControl*>(page.Days[6].get()),
        static_cast<platform::IControl*>(page.HalfHourMML.get()), static_cast<platform::IControl*>(page.StartAtLogin.get())}) {
    EXPECT_LE(control->Left() + control->Width(), d.Frame1(2).Width()) << control->Name();
    EXPECT_LE(control->Top() + control->Height(), d.Frame1(2).Height()) << control->Name();
  }

  Toggle(*page.QuietHours);
  EXPECT_TRUE(page.QuietFrom->Enabled());
  page.QuietFrom->SetListIndex(21);
  Toggle(*page.ChosenDaysOnly);
  Toggle(*page.Days[6]);  // no Sunday
  Toggle(*page.NoHolidays);
  Toggle(*page.DoNotDisturb);
  Toggle(*page.HalfHour);
  page.HalfHourMML->SetText("T150O5C16");
  page.Volume->SetListIndex(5);
  const SignalSchedule::SignalRules& rules = SignalSettings::Rules;
  EXPECT_TRUE(rules.QuietHours);
  EXPECT_EQ(rules.QuietFrom, 21);
  EXPECT_TRUE(rules.ChosenDaysOnly);
  EXPECT_EQ(rules.DayMask, 0x3F);
  EXPECT_TRUE(rules.NoHolidays && rules.HalfHour);
  EXPECT_FALSE(SignalSettings::DoNotDisturb);
  EXPECT_EQ(SignalSettings::HalfHourMML, "T150O5C16");
  EXPECT_EQ(SignalSettings::SignalVolume, 50);
  EXPECT_FLOAT_EQ(platform::SoundEngine().Volume(), 0.25f);

  // Saved with the others, and read back as set.
  SettingsStore::SaveSettings(platform::StdFont{}, 0);
  auto get = [&](const char* key) { return store.Values[{"Kelvora", "Settings", key}]; };
  EXPECT_EQ(get("QuietHours"), "-1");
  EXPECT_EQ(get("QuietFrom"), "21");
  EXPECT_EQ(get("SignalDays"), "63");
  EXPECT_EQ(get("DoNotDisturb"), "0");
  SettingsStore::LoadSettings();
  EXPECT_EQ(SignalSettings::Rules.DayMask, 0x3F);
  EXPECT_EQ(SignalSettings::SignalVolume, 50);
  EXPECT_TRUE(messages.Calls.empty());

  // Numbers out of range read as their defaults.
  store.Values[{"Kelvora", "Settings", "QuietTo"}] = "24";
  store.Values[{"Kelvora", "Settings", "SignalVolume"}] = "-1";
  SettingsStore::LoadSettings();
  EXPECT_EQ(SignalSettings::Rules.QuietTo, 7);
  EXPECT_EQ(SignalSettings::SignalVolume, 100);
  EXPECT_FLOAT_EQ(platform::SoundEngine().Volume(), 1.0f);
  SignalSettings::Rules = {};
}

TEST_F(SetUpFixture, TheLoginBoxWritesAndRemovesTheAutostartEntry) {
  const fs::path entry = platform::AutostartEntryPath();
  fs::remove_all(entry);
  frmSetUp& d = Load();
  clsDetailPage& page = *d.mcDetailPage;
  EXPECT_EQ(page.StartAtLogin->Value(), platform::vbUnchecked);

  Toggle(*page.StartAtLogin);
  ASSERT_TRUE(fs::is_regular_file(entry));
  std::ifstream in(entry);
  std::stringstream text;
  text << in.rdbuf();
  // The program's real path, quoted for the Exec line.
  const std::string exec = "Exec=\"" + fs::read_symlink("/proc/self/exe").string() + "\"\n";
  EXPECT_NE(text.str().find(exec), std::string::npos) << text.str();
  EXPECT_EQ(text.str().rfind("[Desktop Entry]\n", 0), 0u);

  // Removed behind the dialog's back: shown as it is when the dialog opens.
  fs::remove(entry);
  basMain::OpenSettingsDialog(program);
  EXPECT_EQ(page.StartAtLogin->Value(), platform::vbUnchecked);

  // A folder in the entry's place: said, and the box shows the truth.
  fs::create_directories(entry / "x");
  Toggle(*page.StartAtLogin);
  ASSERT_EQ(messages.Calls.size(), 1u);
  EXPECT_NE(messages.Calls[0].Prompt.find("ログイン時の起動を設定できませんでした"), std::string::npos);
  EXPECT_EQ(page.StartAtLogin->Value(), platform::vbUnchecked);
  fs::remove_all(entry);
  basMain::mblnSetUpOpen = false;
}

TEST(Autostart, TheExecLineQuotesWhatTheDesktopEntryFormatReserves) {
  const std::string text = platform::AutostartEntryText("/opt/my apps/50%/Kel\"vora$");
  EXPECT_NE(text.find("Exec=\"/opt/my apps/50%%/Kel\\\\\"vora\\\\$\"\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("TryExec"), std::string::npos);
}

}  // namespace
