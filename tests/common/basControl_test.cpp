#include "common/basControl.h"

#include <gtest/gtest.h>

#include "platform/Services.h"

namespace {

using namespace basControl;

struct ControlsTest : testing::Test {
  std::unique_ptr<platform::IForm> form = platform::Controls().CreateForm({"frmTest", "test"});
};

TEST_F(ControlsTest, CheckObjectsTellsControlArraysElementsFormsAndValues) {
  platform::ControlArray<platform::ILabel> labels;
  labels.Add(platform::Controls().CreateLabel(*form, "Label1", 0));
  auto single = platform::Controls().CreateLabel(*form, "Label2");
  EXPECT_EQ(CheckObjects(labels), objControlArray);
  EXPECT_EQ(CheckObjects(&labels(0)), objArrayElement);
  EXPECT_EQ(CheckObjects(single.get()), objControl);
  EXPECT_EQ(CheckObjects(form.get()), objForm);
  EXPECT_EQ(CheckObjects(static_cast<platform::IControl*>(nullptr)), objOther);
  EXPECT_EQ(CheckObjects(std::vector<int>{1, 2}), objValueArray);
  EXPECT_EQ(CheckObjects(42), objNotObject);
}

TEST_F(ControlsTest, FillListFromArrayAppendsOrResetsAndSelects) {
  auto combo = platform::Controls().CreateComboBox(*form, "Combo1");
  combo->AddItem("old");
  FillListFromArray(*combo, {"a", "b"});
  EXPECT_EQ(combo->ListCount(), 3);
  EXPECT_EQ(combo->List(2), "b");
  const int16_t before = combo->ListIndex();
  FillListFromArray(*combo, {"c"}, false);
  EXPECT_EQ(combo->ListCount(), 4);
  EXPECT_EQ(combo->ListIndex(), before);
  FillListFromArray(*combo, {"x", "y"}, true);
  EXPECT_EQ(combo->ListCount(), 2);
  EXPECT_EQ(combo->ListIndex(), 0);
  EXPECT_EQ(combo->Text(), "x");
}

TEST_F(ControlsTest, MakeTextBoxLabelLocksAndColoursAndReportsTheBorder) {
  auto text = platform::Controls().CreateTextBox(*form, "Text1");
  EXPECT_FALSE(MakeTextBoxLabel(*text));
  EXPECT_TRUE(text->Locked());
  EXPECT_EQ(text->BackColor(), platform::SystemColor(platform::COLOR_BTNFACE));
  text->SetBorderStyle(0);
  EXPECT_TRUE(MakeTextBoxLabel(*text));
}

}  // namespace

namespace {

TEST(ComboBox, FillingAnEmptyListSelectsNothingAndRaisesNoChange) {
  auto form = platform::Controls().CreateForm({"frmCombo", "combo"});
  auto combo = platform::Controls().CreateComboBox(*form, "Combo1");
  int changes = 0;
  combo->Change = [&] { ++changes; };
  basControl::FillListFromArray(*combo, {"Long Time", "h:m:s"});
  EXPECT_EQ(combo->ListIndex(), -1);
  EXPECT_EQ(combo->Text(), "");
  EXPECT_EQ(changes, 0);
}

}  // namespace
