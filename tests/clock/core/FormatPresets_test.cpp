#include "clock/core/FormatPresets.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "clock/core/DateTimeFormat.h"
#include "clock/core/SettingsStore.h"
#include "platform/Services.h"
#include "platform/fake/FakeClock.h"

namespace {

using namespace platform;

class FormatPresetsTest : public testing::Test {
 protected:
  void SetUp() override {
    mstrOldTop = SettingsStore::UnderRowFormat;
    mstrOldBottom = SettingsStore::UpperRowFormat;
    SettingsStore::UnderRowFormat = "HH:MM:SS";
    SettingsStore::UpperRowFormat = "AAAA MM/DD";
    form = Controls().CreateForm(FormStyle{"frmSetUp", "", vbSizable, false, false});
    top = Controls().CreateComboBox(*form, "Combo1");
    bottom = Controls().CreateComboBox(*form, "Combo2");
  }
  void TearDown() override {
    SettingsStore::UnderRowFormat = mstrOldTop;
    SettingsStore::UpperRowFormat = mstrOldBottom;
  }

  std::vector<std::string> Entries(const IListControl& list) {
    std::vector<std::string> entries;
    for (int16_t i = 0; i < list.ListCount(); ++i) entries.push_back(list.List(i));
    return entries;
  }

  FakeClock clock{DateTime{2026, 12, 7, 9, 5, 3, 0}};
  std::unique_ptr<IForm> form;
  std::unique_ptr<IListControl> top, bottom;
  std::string mstrOldTop, mstrOldBottom;
};

// What the two lists offer, entry by entry, as the clock shows it on Monday,
// 7 December 2026, 09:05:03. Faults caught: a preset missing, doubled, out
// of order or in the other list, one that formats wrongly, a list emptied
// before it is filled.
TEST_F(FormatPresetsTest, TheListsOfferEachPresetOnceInOrderAndEachShowsItsJapaneseText) {
  top->AddItem("HH:MM");
  FormatPresets::FillFormatPresets(*top, *bottom);
  const DateTime moment = clock.Now();
  std::vector<std::string> topShown, bottomShown;
  for (const std::string& entry : Entries(*top)) topShown.push_back(DateTimeFormat::FormatDateTime(moment, entry));
  for (const std::string& entry : Entries(*bottom)) {
    bottomShown.push_back(DateTimeFormat::FormatDateTime(moment, entry));
  }
  EXPECT_EQ(topShown, (std::vector<std::string>{"09:05", "9:05:03", "09:05:03 午前", "9:5:3", "午前 09時05分03秒",
                                                "am 9:05:03", "09:05"}));
  EXPECT_EQ(bottomShown, (std::vector<std::string>{"2026年12月7日", "月曜日, 12月 7 2026", "令和 08年12月07日 月曜日",
                                                   "12月 07 月", "R8.12.7 月", "今年ももう 341 日過ました"}));
}

TEST_F(FormatPresetsTest, ApplyTakesBothFormatsWhenTheyWork) {
  top->SetText("h:m:s");
  bottom->SetText("GE.M.D aaa");
  FormatPresets::ApplyRowFormats(*top, *bottom);
  EXPECT_EQ(SettingsStore::UnderRowFormat, "h:m:s");
  EXPECT_EQ(SettingsStore::UpperRowFormat, "GE.M.D aaa");
}

TEST_F(FormatPresetsTest, AFailingTopFormatLeavesBothUnchanged) {
  top->SetText("HH \"unclosed");
  bottom->SetText("Long Date");
  FormatPresets::ApplyRowFormats(*top, *bottom);
  EXPECT_EQ(SettingsStore::UnderRowFormat, "HH:MM:SS");
  EXPECT_EQ(SettingsStore::UpperRowFormat, "AAAA MM/DD");
}

TEST_F(FormatPresetsTest, AFailingBottomFormatKeepsTheTopOne) {
  top->SetText("SHORT TIME");
  bottom->SetText("yyyy\\");
  FormatPresets::ApplyRowFormats(*top, *bottom);
  EXPECT_EQ(SettingsStore::UnderRowFormat, "SHORT TIME");
  EXPECT_EQ(SettingsStore::UpperRowFormat, "AAAA MM/DD");
}

// The formats are tried on the current time: era tokens fail before Meiji.
TEST_F(FormatPresetsTest, FormatsAreTriedOnTheCurrentTime) {
  clock.SetNow(DateTime{1850, 1, 1, 12, 0, 0, 0});
  top->SetText("HH:MM");
  bottom->SetText("ggg e");
  FormatPresets::ApplyRowFormats(*top, *bottom);
  EXPECT_EQ(SettingsStore::UnderRowFormat, "HH:MM");
  EXPECT_EQ(SettingsStore::UpperRowFormat, "AAAA MM/DD");

  clock.SetNow(DateTime{2026, 12, 7, 9, 5, 3, 0});
  FormatPresets::ApplyRowFormats(*top, *bottom);
  EXPECT_EQ(SettingsStore::UpperRowFormat, "ggg e");
}

}  // namespace
