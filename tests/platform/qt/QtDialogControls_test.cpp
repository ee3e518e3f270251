// What a dialog window is built from, driven through Qt: check boxes, labels
// with access keys, drop-down lists, frames without border, the menu bar
// above the client area, and how a window is closed.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

#include "platform/MenuBar.h"
#include "platform/Services.h"
#include "platform/qt/QtControl.h"

using namespace platform;

namespace {

struct DialogControlsTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmSetUp", "Kelvora Ver2.0", vbFixedSingle, true, true});
    form->Move(0, 0, 400 * 15, 200 * 15);
  }
  void ShowActive() {
    form->Show();
    window = qt::WidgetOf(*form);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }
  void TearDown() override { form->Hide(); }

  std::unique_ptr<IForm> form;
  QWidget* window = nullptr;
};

TEST_F(DialogControlsTest, ACheckBoxClicksWheneverItsValueChanges) {
  auto box = Controls().CreateCheckBox(*form, "Check1", 2);
  box->Move(300, 300, 1500, 375);
  box->SetCaption("表示する");
  EXPECT_EQ(box->Index(), 2);
  std::vector<int16_t> clicks;
  box->Click = [&] { clicks.push_back(box->Value()); };

  box->SetValue(vbChecked);
  box->SetValue(vbChecked);  // no change, no click
  box->SetEnabled(false);
  box->SetValue(vbUnchecked);  // the program's change clicks a disabled box too
  box->SetEnabled(true);
  box->SetValue(7);  // not a value: ignored
  EXPECT_EQ(clicks, (std::vector<int16_t>{1, 0}));

  box->SetValue(vbGrayed);
  EXPECT_EQ(box->Value(), vbGrayed);
  ShowActive();
  QTest::mouseClick(qt::WidgetOf(*box), Qt::LeftButton, {}, QPoint(8, 12));
  EXPECT_EQ(clicks, (std::vector<int16_t>{1, 0, 2, 1})) << "the user's click checks a grayed box";
}

TEST_F(DialogControlsTest, ALabelsAccessKeyFocusesTheControlAfterIt) {
  auto label = Controls().CreateLabel(*form, "Label1", 4);
  label->SetUseMnemonic(true);
  label->SetCaption("表示書式(&T)");
  auto combo = Controls().CreateComboBox(*form, "Combo1");
  auto plain = Controls().CreateLabel(*form, "Label1", 0);
  plain->SetCaption("A&&B(&Q)");  // shows as it is
  auto text = Controls().CreateTextBox(*form, "Text1");
  ShowActive();
  qt::WidgetOf(*text)->setFocus();

  QTest::keyClick(window, Qt::Key_T, Qt::AltModifier);
  QTRY_VERIFY(qt::WidgetOf(*combo)->hasFocus());
  QTest::keyClick(window, Qt::Key_Q, Qt::AltModifier);
  QApplication::processEvents();
  EXPECT_TRUE(qt::WidgetOf(*combo)->hasFocus());

  // Without the "&" markers the caption is narrower by their width.
  label->SetAutoSize(true);
  const double marked = label->Width();
  label->SetUseMnemonic(false);
  EXPECT_GT(label->Width(), marked);
}

TEST_F(DialogControlsTest, ADropDownListOffersOnlyItsEntries) {
  auto list = Controls().CreateComboBox(*form, "Combo1");
  int changes = 0, clicks = 0;
  list->Change = [&] { ++changes; };
  list->Click = [&] { ++clicks; };
  list->SetStyle(2);
  EXPECT_EQ(list->Style(), 2);
  for (const char* side : {"画面上辺", "画面右辺", "移動しない"}) list->AddItem(side);
  list->SetListIndex(2);
  EXPECT_EQ(list->Text(), "移動しない");
  list->SetText("anything");
  EXPECT_EQ(list->Text(), "移動しない");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(changes, 0);
}

TEST_F(DialogControlsTest, AnEditableListTakesTheTextAsTyped) {
  auto list = Controls().CreateComboBox(*form, "Combo1");
  list->AddItem("h:m:s");
  std::vector<std::string> texts;
  list->Change = [&] { texts.push_back(list->Text()); };
  ShowActive();
  qt::WidgetOf(*list)->setFocus();
  QTest::keyClicks(qt::WidgetOf(*list), "h:m");
  EXPECT_EQ(list->Text(), "h:m") << "no completion from the entries";
  EXPECT_EQ(texts, (std::vector<std::string>{"h", "h:", "h:m"}));
}

TEST_F(DialogControlsTest, ABarEntryWithoutItemsRunsItsOwnClickTheOthersOpenTheirItems) {
  auto button = Controls().CreateCommandButton(*form, "Command1", 0);
  button->Move(240, 0, 1335, 495);
  const auto item = [&](IMenuItem* parent, const char* name, const char* caption) {
    MenuItemStyle style;
    style.Name = name;
    style.Caption = caption;
    return Controls().CreateMenuItem(*form, parent, style);
  };
  int copies = 0, helps = 0;
  auto copy = item(nullptr, "mnuCopy1", "クリップボードへコピー(&C)");
  copy->Click = [&] { ++copies; };
  auto help = item(nullptr, "mnuHelp", "ヘルプ(&H)");
  auto help1 = item(help.get(), "mnuHelp1", "Kelvora ヘルプ(&M)");
  help1->Click = [&] { ++helps; };
  auto line = item(help.get(), "mnuLine1", "-");

  auto* bar = qt::WidgetOf(*form)->window()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  const QList<QAction*> entries = bar->actions();
  ASSERT_EQ(entries.size(), 2);
  EXPECT_EQ(entries[0]->text().toStdString(), "クリップボードへコピー(&C)");
  EXPECT_EQ(entries[0]->menu(), nullptr);
  entries[0]->trigger();
  EXPECT_EQ(copies, 1);
  ASSERT_NE(entries[1]->menu(), nullptr);
  const QList<QAction*> items = entries[1]->menu()->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_TRUE(items[1]->isSeparator());
  items[0]->trigger();
  EXPECT_EQ(helps, 1);
  // Controls made before the bar keep their coordinates, below it.
  EXPECT_EQ(button->Top(), 0);
  EXPECT_GE(qt::WidgetOf(*button)->mapTo(qt::WidgetOf(*form)->window(), QPoint(0, 0)).y(), bar->height());
}

TEST_F(DialogControlsTest, TheProgramsUnloadAndTheCloseBoxAreToldApart) {
  std::vector<int16_t> modes;
  form->Events.QueryUnload = [&](int16_t& cancel, int16_t mode) {
    modes.push_back(mode);
    cancel = -1;
  };
  form->Show();
  form->Unload();
  qt::WidgetOf(*form)->close();
  EXPECT_EQ(modes, (std::vector<int16_t>{1, 0}));
}

TEST_F(DialogControlsTest, AWindowWithoutSizingBorderKeepsTheSizeTheProgramGivesIt) {
  QWidget* widget = qt::WidgetOf(*form);
  form->Show();
  EXPECT_EQ(widget->minimumSize(), QSize(400, 200));
  EXPECT_EQ(widget->maximumSize(), QSize(400, 200));
  form->Move(0, 0, 500 * 15, 250 * 15);
  EXPECT_EQ(widget->size(), QSize(500, 250));
  EXPECT_EQ(widget->maximumSize(), QSize(500, 250));
}

TEST_F(DialogControlsTest, AFrameWithoutBorderPaintsNothingOfItsOwn) {
  form->SetBackColor(0x00FF00);
  form->Cls();
  auto frame = Controls().CreateFrame(*form, "Frame1");
  frame->Move(0, 0, 3000, 1500);
  frame->SetCaption("");
  frame->SetBorderStyle(0);
  EXPECT_EQ(frame->BorderStyle(), 0);
  ShowActive();
  const QImage shot = window->grab().toImage();
  for (QPoint p : {QPoint(0, 0), QPoint(5, 5), QPoint(199, 99), QPoint(100, 50)}) {
    EXPECT_EQ(shot.pixelColor(p), QColor(0, 255, 0)) << p.x() << "," << p.y();
  }
}

}  // namespace
