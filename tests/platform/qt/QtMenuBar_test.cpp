// A form's menu bar on Qt: the client area below it, items chosen by the
// mouse or by their shortcut, check marks that only the window's code sets,
// submenus.
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/Services.h"
#include "platform/qt/QtControl.h"
#include "platform/qt/QtForm.h"
#include "platform/qt/QtMenuItem.h"

using namespace platform;

namespace {

QAction* ActionOf(const std::unique_ptr<IMenuItem>& item) {
  return dynamic_cast<qt::QtMenuItem&>(*item).Action();
}

struct MenuBarTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmHTMLHelp", "Help", vbSizable, true, true});
    form->Move(0, 0, 400 * 15, 300 * 15);
    before = Controls().CreatePictureBox(*form, "Picture1");
    before->Move(0, 0, 100 * 15, 50 * 15);
    edit = Item(nullptr, "mnuEdit", "編集(&E)");
    MenuItemStyle copyStyle;
    copyStyle.Name = "mnuCopy";
    copyStyle.Caption = "コピー(&C)";
    copyStyle.Shortcut = "Ctrl+C";
    copy = Controls().CreateMenuItem(*form, edit.get(), copyStyle);
    copy->Click = [this] { ++copies; };
    after = Controls().CreatePictureBox(*form, "Picture2");
    after->Move(0, 60 * 15, 100 * 15, 50 * 15);
  }
  void TearDown() override { form->Hide(); }

  std::unique_ptr<IMenuItem> Item(IMenuItem* parent, const char* name, const char* caption, int16_t index = -1,
                                  bool radio = false, bool checked = false) {
    MenuItemStyle style;
    style.Name = name;
    style.Index = index;
    style.Caption = caption;
    style.RadioCheck = radio;
    style.Checked = checked;
    return Controls().CreateMenuItem(*form, parent, style);
  }

  std::unique_ptr<IForm> form;
  std::unique_ptr<IPictureBox> before, after;
  std::unique_ptr<IMenuItem> edit, copy;
  int copies = 0;
};

TEST_F(MenuBarTest, ControlsAndTheDrawingSurfaceStartBelowTheBar) {
  auto* bar = dynamic_cast<qt::QtForm&>(*form).MenuBar();
  ASSERT_NE(bar, nullptr);
  const int barHeight = bar->height();
  ASSERT_GT(barHeight, 0);
  QWidget* window = dynamic_cast<qt::QtForm&>(*form).WindowWidget();
  for (IPictureBox* box : {before.get(), after.get()}) {
    const QPoint corner = qt::WidgetOf(*box)->mapTo(window, QPoint(0, 0));
    EXPECT_EQ(corner.y(), barHeight + box->Top() / 15);
  }
  EXPECT_DOUBLE_EQ(form->Height() - form->ScaleHeight(), barHeight * 15.0);

  // Mouse positions on the form count from the client area's corner.
  double reportedY = -1;
  form->Events.MouseDown = [&](int16_t, int16_t, double, double y) { reportedY = y; };
  QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(300, barHeight + 200));
  EXPECT_DOUBLE_EQ(reportedY, 200 * 15.0);
}

TEST_F(MenuBarTest, TheShortcutChoosesAnEnabledItem) {
  form->Show();
  QWidget* window = dynamic_cast<qt::QtForm&>(*form).WindowWidget();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  EXPECT_EQ(ActionOf(copy)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
  QTRY_COMPARE(copies, 1);
  copy->SetEnabled(false);
  QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_EQ(copies, 1);
}

TEST_F(MenuBarTest, CheckMarksChangeOnlyWhenTheWindowSetsThem) {
  auto option = Item(nullptr, "mnuOption", "オプション(&O)");
  auto sub = Item(option.get(), "mnuOp2", "文字のサイズ(&F)");
  std::vector<std::unique_ptr<IMenuItem>> sizes;
  int chosen = -1;
  for (int16_t i = 0; i < 3; ++i) {
    sizes.push_back(Item(sub.get(), "mnuOpFont", i == 1 ? "標準(&N)" : "other", i, true, i == 1));
    sizes.back()->Click = [&chosen, i] { chosen = i; };
  }
  auto toggle = Item(option.get(), "mnuLinkNoConfirm", "toggle");
  int toggles = 0;
  toggle->Click = [&toggles] { ++toggles; };

  // An item with items under it is a submenu; the array is one radio group.
  ASSERT_NE(ActionOf(sub)->menu(), nullptr);
  EXPECT_EQ(ActionOf(sizes[0])->actionGroup(), ActionOf(sizes[2])->actionGroup());
  EXPECT_NE(ActionOf(sizes[0])->actionGroup(), nullptr);
  EXPECT_TRUE(ActionOf(sizes[1])->isChecked());

  ActionOf(sizes[2])->trigger();
  EXPECT_EQ(chosen, 2);
  EXPECT_FALSE(sizes[2]->Checked());
  EXPECT_TRUE(ActionOf(sizes[1])->isChecked());
  EXPECT_FALSE(ActionOf(sizes[2])->isChecked());
  ActionOf(sizes[1])->trigger();
  EXPECT_TRUE(ActionOf(sizes[1])->isChecked());

  sizes[1]->SetChecked(false);
  sizes[2]->SetChecked(true);
  EXPECT_FALSE(ActionOf(sizes[1])->isChecked());
  EXPECT_TRUE(ActionOf(sizes[2])->isChecked());

  ActionOf(toggle)->trigger();
  EXPECT_EQ(toggles, 1);
  EXPECT_FALSE(toggle->Checked());
  EXPECT_FALSE(ActionOf(toggle)->isChecked());
  toggle->SetChecked(true);
  ActionOf(toggle)->trigger();
  EXPECT_TRUE(ActionOf(toggle)->isChecked());

  // Items and menus go in any order without harm.
  option.reset();
  sizes.clear();
  sub.reset();
}

}  // namespace
