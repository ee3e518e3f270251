// Label mouse events, the modal loop of a form and the multi-line text box
// of the Qt backend.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <vector>

#include "platform/Services.h"
#include "platform/qt/QtControl.h"

using namespace platform;

namespace {

// Sends a press or release of a button at a pixel position of a widget, as
// the window system delivers it (to the widget under the pointer or, for
// the release, to the one that took the press).
void Send(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at) {
  const QPointF global = widget->mapToGlobal(QPointF(at));
  QMouseEvent event(type, QPointF(at), global, button, type == QEvent::MouseButtonPress ? button : Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

struct LabelMouseTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmVersionInfo", "", vbFixedDialog, true, false});
    form->Move(0, 0, 3000, 1500);
    label = Controls().CreateLabel(*form, "Label1", 1);
    label->Move(300, 300, 1500, 300);  // 20, 20, 100 × 20 pixels
    form->Events.MouseDown = [this](int16_t button, int16_t, double x, double y) {
      log.push_back("form down " + std::to_string(button) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
    };
  }
  void Handle() {
    label->MouseDown = [this](int16_t button, int16_t, double x, double y) {
      log.push_back("down " + std::to_string(button) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
    };
    label->MouseUp = [this](int16_t button, int16_t, double x, double y) {
      log.push_back("up " + std::to_string(button) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
    };
    label->Click = [this] { log.push_back("click"); };
  }

  std::unique_ptr<IForm> form;
  std::unique_ptr<ILabel> label;
  std::vector<std::string> log;
};

TEST_F(LabelMouseTest, ALabelReportsPressAndReleaseInTwipsAndClicksOnlyWhenReleasedOnIt) {
  Handle();
  QWidget* widget = qt::WidgetOf(*label);
  Send(widget, QEvent::MouseButtonPress, Qt::LeftButton, {10, 5});
  Send(widget, QEvent::MouseButtonRelease, Qt::LeftButton, {10, 5});
  Send(widget, QEvent::MouseButtonPress, Qt::RightButton, {2, 2});
  Send(widget, QEvent::MouseButtonRelease, Qt::RightButton, {150, 2});
  EXPECT_EQ(log, (std::vector<std::string>{"down 1 150,75", "up 1 150,75", "click", "down 2 30,30", "up 2 2250,30"}));
}

TEST_F(LabelMouseTest, ALabelWithoutHandlersLeavesPressesToItsWindow) {
  Send(qt::WidgetOf(*label), QEvent::MouseButtonPress, Qt::RightButton, {10, 5});
  EXPECT_EQ(log, (std::vector<std::string>{"form down 2 450,375"}));
}

TEST(ShowModal, ReturnsOnceTheWindowIsClosed) {
  auto form = Controls().CreateForm(FormStyle{"frmVersionInfo", "", vbFixedDialog, true, false});
  int unloads = 0;
  form->Events.Unload = [&](int16_t&) { ++unloads; };
  QTimer::singleShot(0, [&] { form->Unload(); });
  form->ShowModal();
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(form->Visible());
}

TEST(MultiLineTextBox, LinesEndWithCrLf) {
  auto form = Controls().CreateForm(FormStyle{"frmVersionInfo", "", vbFixedDialog, true, false});
  auto box = Controls().CreateMultiLineTextBox(*form, "Text1");
  box->SetText("ProductName : Kelvora\r\nEXEName : Kelvora\r\n");
  EXPECT_EQ(box->Text(), "ProductName : Kelvora\r\nEXEName : Kelvora\r\n");
  box->SetBorderStyle(0);
  EXPECT_EQ(box->BorderStyle(), 0);
}

}  // namespace

TEST(ParkedForm, AFormParkedOutsideEveryScreenIsDrawnAgainWhenItComesBack) {
  auto form = Controls().CreateForm(FormStyle{"frmSetUp", "", vbFixedSingle, true, true});
  int paints = 0;
  form->Events.Paint = [&] { ++paints; };
  form->Move(0, 0, 3000, 1500);
  form->Show();
  QApplication::processEvents();
  const double width = form->Width(), height = form->Height();
  form->Move(-width, -height, width, height);
  form->Refresh();
  QApplication::processEvents();
  const int parked = paints;

  form->Move(600, 600, width, height);
  for (int i = 0; i < 20 && paints == parked; ++i) QApplication::processEvents();
  EXPECT_GT(paints, parked) << "back on the screen, the form is drawn afresh";
  form->Hide();
}
