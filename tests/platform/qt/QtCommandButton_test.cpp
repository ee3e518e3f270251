// Push buttons driven by real key presses: mnemonics of buttons nobody sees,
// the default and cancel keys.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/Services.h"
#include "platform/qt/QtControl.h"

using namespace platform;

namespace {

struct CommandButtonTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmSetUp", "Kelvora Ver2.0", vbFixedSingle, true, true});
    form->Move(0, 0, 400 * 15, 200 * 15);
    picture = Controls().CreatePictureBox(*form, "Picture2");
    picture->Move(0, 0, 300 * 15, 100 * 15);
    hidden = Controls().CreateCommandButton(*picture, "Command1", 6);
    hidden->Move(0, 0, 0, 0);
    hidden->SetTabStop(false);
    hidden->SetCaption("&E");
    hidden->Click = [this] { ++hiddenClicks; };
    form->Show();
    window = qt::WidgetOf(*form);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    qt::WidgetOf(*picture)->setFocus();
  }
  void TearDown() override { form->Hide(); }

  std::unique_ptr<IForm> form;
  std::unique_ptr<IPictureBox> picture;
  std::unique_ptr<ICommandButton> hidden;
  QWidget* window = nullptr;
  int hiddenClicks = 0;
};

TEST_F(CommandButtonTest, AltLetterClicksAButtonNobodySeesAndTheFocusStays) {
  QTest::keyClick(window, Qt::Key_E, Qt::AltModifier);
  QTRY_COMPARE(hiddenClicks, 1);
  EXPECT_EQ(QApplication::focusWidget(), qt::WidgetOf(*picture));

  // A disabled or hidden button has no mnemonic.
  hidden->SetEnabled(false);
  QTest::keyClick(window, Qt::Key_E, Qt::AltModifier);
  hidden->SetEnabled(true);
  hidden->SetVisible(false);
  QTest::keyClick(window, Qt::Key_E, Qt::AltModifier);
  QApplication::processEvents();
  EXPECT_EQ(hiddenClicks, 1);
}

TEST_F(CommandButtonTest, EnterAndEscClickTheDefaultAndCancelButtons) {
  auto ok = Controls().CreateCommandButton(*form, "Command1", 1);
  auto cancel = Controls().CreateCommandButton(*form, "Command1", 0);
  int okClicks = 0, cancelClicks = 0;
  ok->Click = [&] { ++okClicks; };
  cancel->Click = [&] { ++cancelClicks; };
  QTest::keyClick(window, Qt::Key_Return);
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_EQ(okClicks + cancelClicks, 0);

  ok->SetDefault(true);
  cancel->SetCancel(true);
  QTest::keyClick(window, Qt::Key_Return);
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_TRUE(ok->Default());
  EXPECT_TRUE(cancel->Cancel());
}

TEST_F(CommandButtonTest, PictureReportsFocusComingAndGoing) {
  std::vector<std::string> events;
  picture->GotFocus = [&] { events.push_back("got"); };
  picture->LostFocus = [&] { events.push_back("lost"); };
  auto other = Controls().CreateCommandButton(*form, "Command1", 2);
  qt::WidgetOf(*other)->setFocus();
  qt::WidgetOf(*picture)->setFocus();
  EXPECT_EQ(events, (std::vector<std::string>{"lost", "got"}));
}

}  // namespace
