#include "clock/core/basFormPosition.h"

#include <gtest/gtest.h>

#include "clock/core/SettingsStore.h"
#include "common/basGeneral.h"
#include "platform/Services.h"
#include "platform/fake/MemorySettingsStore.h"

using namespace platform;
using basFormPosition::RestoreFormPosition;
using basFormPosition::SaveFormPosition;

namespace {

struct FormPositionTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmHTMLHelp", "Kelvora ヘルプ", vbSizable, true, true});
    form->Move(0, 0, 3000, 1800);
  }
  void Store(const std::string& key, const std::string& text) { SettingsStore::SaveAppSetting(key, text); }
  std::string Stored(const std::string& key) { return SettingsStore::GetAppSetting(key, "<none>"); }

  MemorySettingsStore store;
  std::unique_ptr<IForm> form;
};

TEST_F(FormPositionTest, AWindowComesBackWhereAndAsLargeAsItWasStored) {
  form->Move(1500, 1200, 4500, 3000);
  SaveFormPosition(*form, false, "Help");
  EXPECT_EQ(Stored("HelpLeft"), "1500");
  EXPECT_EQ(Stored("HelpTop"), "1200");
  EXPECT_EQ(Stored("HelpWidth"), "4500");
  EXPECT_EQ(Stored("HelpHeight"), "3000");

  auto other = Controls().CreateForm(FormStyle{"frmHTMLHelp", "", vbSizable, true, true});
  other->Move(0, 0, 3000, 2000);
  RestoreFormPosition(*other, false, 0, 0, "Help");
  EXPECT_DOUBLE_EQ(other->Left(), 1500);
  EXPECT_DOUBLE_EQ(other->Top(), 1200);
  EXPECT_DOUBLE_EQ(other->Width(), 4500);
  EXPECT_DOUBLE_EQ(other->Height(), 3000);
  // Restoring and saving again does not shift the window.
  SaveFormPosition(*other, false, "Help");
  EXPECT_EQ(Stored("HelpLeft"), "1500");
  EXPECT_EQ(Stored("HelpTop"), "1200");
}

TEST_F(FormPositionTest, PositionsOffTheScreenAndSizesUpToTheBoundAreIgnored) {
  const double screenWidth = Screen().Width();
  for (const std::string& left : std::vector<std::string>{"0", "-150", std::to_string(static_cast<int>(screenWidth)), "abc", "1e30"}) {
    Store("MainLeft", left);
    Store("MainTop", left);
    RestoreFormPosition(*form, true, 0, 0, "Main");
    EXPECT_DOUBLE_EQ(form->Left(), 0) << left;
    EXPECT_DOUBLE_EQ(form->Top(), 0) << left;
  }
  // Without a minimum the window's own size is the bound.
  Store("MainWidth", "3000");
  Store("MainHeight", "1500");
  RestoreFormPosition(*form, false, 0, 0, "Main");
  EXPECT_DOUBLE_EQ(form->Width(), 3000);
  EXPECT_DOUBLE_EQ(form->Height(), 1800);
  Store("MainWidth", "1200");
  Store("MainHeight", "900");
  RestoreFormPosition(*form, false, 1000, 1000, "Main");
  EXPECT_DOUBLE_EQ(form->Width(), 1200);
  EXPECT_DOUBLE_EQ(form->Height(), 1800);
  // positionOnly leaves the size alone.
  Store("MainWidth", "6000");
  RestoreFormPosition(*form, true, 0, 0, "Main");
  EXPECT_DOUBLE_EQ(form->Width(), 1200);
}

TEST_F(FormPositionTest, AMinimisedWindowStoresNothingAndPositionOnlyStoresNoSize) {
  form->Move(300, 450, 3000, 1800);
  SaveFormPosition(*form, true, "Main");
  EXPECT_EQ(Stored("MainLeft"), "300");
  EXPECT_EQ(Stored("MainWidth"), "<none>");

  form->Show();
  form->SetWindowState(vbMinimized);
  ASSERT_EQ(form->WindowState(), vbMinimized);
  store.WrittenKeys.clear();
  SaveFormPosition(*form, false, "Main");
  EXPECT_TRUE(store.WrittenKeys.empty());
}

TEST(SingleText, NumbersAreWrittenAsSinglePrecisionTextThatReadsBack) {
  EXPECT_EQ(basFormPosition::SingleText(1234.5), "1234.5");
  EXPECT_EQ(basFormPosition::SingleText(-15), "-15");
  const std::string big = basFormPosition::SingleText(123456789);
  EXPECT_EQ(big, "1.234568e+08");
  EXPECT_DOUBLE_EQ(basGeneral::NumericOrZero(big), 123456800);
}

}  // namespace
