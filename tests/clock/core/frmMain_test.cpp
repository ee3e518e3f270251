#include "clock/core/Program.h"
#include "clock/core/frmMain.h"

#include <gtest/gtest.h>

#include "clock/core/SettingsStore.h"
#include "platform/Application.h"
#include "platform/Services.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/RecordingMessageBox.h"
#include "platform/qt/IniSettingsStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using platform::DateTime;

constexpr double kPx = 15;  // twips per pixel on the test screen

struct ClockWindowTest : testing::Test {
  void SetUp() override {
    SettingsStore::LoadSettings();  // the defaults, from the empty store
    store.Values[{"Kelvora", "Settings", "FontName"}] = "IPAPGothic";
    clock = std::make_unique<frmMain>(program);
    clock->Form_Load();
    clock->Form().Move(0, 0, 3000, 1500);
  }
  platform::MemorySettingsStore store;
  platform::FakeClock time{DateTime{2026, 12, 7, 9, 5, 3, 0}};
  Program program{platform::Application::Current()};
  std::unique_ptr<frmMain> clock;
};

// The fitting as a plain walk of 0.75-point steps, one measurement per
// step: the answer the fitting must give, however it searches.
float WalkedFit(platform::ISurface& surface, int16_t maxW, int16_t maxH, const std::string& text, float start) {
  const auto pass = [&](double maxExtent, double startSize, auto measure) {
    surface.SetFontSize(startSize);
    float cur = static_cast<float>(surface.FontSize());
    const int step = measure() > maxExtent ? 1 : -1;
    float prev = 0;
    while (cur != prev && (measure() - maxExtent) * step > 0) {
      prev = cur;
      const float next = cur - 0.75f * static_cast<float>(step);
      if (next <= 0) break;
      surface.SetFontSize(next);
      cur = static_cast<float>(surface.FontSize());
    }
    if (prev != 0 && step == -1) {
      surface.SetFontSize(prev);
      cur = static_cast<float>(surface.FontSize());
    }
    return cur;
  };
  const double orig = surface.FontSize();
  const float h = pass(maxH, start != 0 ? start : maxH * surface.FontSize() / surface.TextHeight(text),
                       [&] { return surface.TextHeight(text); });
  const float w = pass(maxW, start != 0 ? start : maxW * surface.FontSize() / surface.TextWidth(text),
                       [&] { return surface.TextWidth(text); });
  surface.SetFontSize(orig);
  return std::min(h, w);
}

TEST_F(ClockWindowTest, FitFontSizeGivesTheWalksAnswer) {
  platform::IForm& form = clock->Form();
  platform::StdFont font = form.Font();
  font.Name = "IPAPGothic";
  font.Size = 9;
  form.SetFont(font);
  struct Case {
    std::string Text;
    int W, H;
    float Start;
  };
  std::vector<Case> cases;
  // The rows' texts and a blank (an empty format: its width pass starts far
  // off) in boxes of several shapes, down to one where nothing fits.
  for (const char* text : {"09:05:03 ", "月曜日 12/07 ", " "}) {
    for (auto [w, h] : {std::pair{2500, 1000}, {600, 2000}, {32000, 700}, {30, 40}}) cases.push_back({text, w, h, 0});
  }
  // Given start sizes: growing a long way, shrinking to the smallest size.
  cases.push_back({"09:05:03 ", 2500, 1000, 9});
  cases.push_back({"月曜日 12/07 ", 600, 2000, 9});
  cases.push_back({"09:05:03 ", 30, 40, 150});
  for (const Case& c : cases) {
    const auto maxW = static_cast<int16_t>(c.W), maxH = static_cast<int16_t>(c.H);
    const float walked = WalkedFit(form, maxW, maxH, c.Text, c.Start);
    const float size = frmMain::FitFontSize(maxW, maxH, c.Text, form, c.Start);
    EXPECT_EQ(size, walked) << "\"" << c.Text << "\" in " << c.W << " x " << c.H << " from " << c.Start;
    EXPECT_EQ(form.FontSize(), 9) << "the surface's own size is restored";
    if (c.Start != 0 || size <= 0.75f) continue;
    form.SetFontSize(size);
    EXPECT_LE(form.TextWidth(c.Text), c.W) << size;
    EXPECT_LE(form.TextHeight(c.Text), c.H) << size;
    form.SetFontSize(9);
  }
  EXPECT_EQ(frmMain::FitFontSize(0, 500, "09:05:03 ", form, 0), 0);
  EXPECT_EQ(frmMain::FitFontSize(500, -3, "09:05:03 ", form, 0), 0);
}

// Faults caught: a label that does not take its text's size (text cut off,
// or centred on a wrong width), rows outside the window or on each other,
// a row off the window's centre line, the height not split two to one.
TEST_F(ClockWindowTest, AForcedUpdateShowsBothRowsWholeCentredOneAboveTheOtherInsideTheWindow) {
  clock->RelayoutClock();
  platform::IForm& form = clock->Form();
  const double sw = form.ScaleWidth(), sh = form.ScaleHeight();
  platform::ILabel& top = clock->Label1(0);
  platform::ILabel& bottom = clock->Label1(1);
  EXPECT_EQ(top.Caption(), "09:05:03");
  EXPECT_EQ(bottom.Caption(), "月曜日 12/07");
  EXPECT_TRUE(top.Visible());
  EXPECT_TRUE(bottom.Visible());
  EXPECT_GT(clock->msngRowFontSize[0], clock->msngRowFontSize[1]) << "the top row has two thirds of the height";
  for (platform::ILabel* row : {&top, &bottom}) {
    form.SetFont(row->Font());
    EXPECT_NEAR(row->Width(), form.TextWidth(row->Caption()), kPx) << row->Caption();
    EXPECT_GE(row->Height(), form.TextHeight(row->Caption()) - kPx) << row->Caption();
    EXPECT_GE(row->Left(), 0);
    EXPECT_LE(row->Left() + row->Width(), sw);
    EXPECT_GE(row->Top(), 0);
    EXPECT_LE(row->Top() + row->Height(), sh);
  }
  EXPECT_NEAR(top.Left() + top.Width() / 2, sw / 2, kPx);
  EXPECT_NEAR(bottom.Left() + bottom.Width() / 2, sw / 2 + kPx, kPx) << "one pixel right of the top row";
  EXPECT_LE(top.Height(), 2 * sh / 3 + kPx);
  EXPECT_LE(bottom.Height(), sh / 3 + kPx);
  EXPECT_LE(top.Top() + top.Height(), bottom.Top() + 3 * kPx) << "the bottom row sits below the top row";
}

TEST_F(ClockWindowTest, ASingleRowIsCentredAndFillsTheHeight) {
  platform::IForm& form = clock->Form();
  const double sw = form.ScaleWidth(), sh = form.ScaleHeight();

  SettingsStore::mintRows = {1, 0};
  clock->RelayoutClock();
  platform::ILabel& top = clock->Label1(0);
  EXPECT_FALSE(clock->Label1(1).Visible());
  EXPECT_EQ(clock->Label1(1).Caption(), "");
  EXPECT_NEAR(top.Left(), (sw - top.Width()) / 2, kPx / 2);
  EXPECT_NEAR(top.Top(), (sh - top.Height()) / 2 + 3 * kPx, kPx / 2);

  SettingsStore::mintRows = {2, 1};  // only exactly 1 shows a row
  const float topSize = clock->msngRowFontSize[0];
  clock->RelayoutClock();
  platform::ILabel& bottom = clock->Label1(1);
  EXPECT_FALSE(top.Visible());
  EXPECT_EQ(clock->msngRowFontSize[0], topSize) << "a hidden row keeps its size";
  EXPECT_NEAR(bottom.Left(), (sw - bottom.Width()) / 2 + kPx, kPx / 2);
  EXPECT_NEAR(bottom.Top(), (sh - bottom.Height()) / 2 + 2 * kPx, kPx / 2);

  SettingsStore::mintRows = {0, 0};
  const auto sizes = clock->msngRowFontSize;
  clock->RelayoutClock();
  EXPECT_EQ(clock->msngRowFontSize, sizes) << "with no row shown nothing is fitted";
}

TEST_F(ClockWindowTest, OnlyTheTopRowLosesSurroundingBlanks) {
  SettingsStore::UnderRowFormat = "  HH  ";
  SettingsStore::UpperRowFormat = "  HH  ";
  clock->UpdateRows(true);
  EXPECT_EQ(clock->Label1(0).Caption(), "09");
  EXPECT_EQ(clock->Label1(1).Caption(), "  09  ");
}

TEST_F(ClockWindowTest, AnUnforcedUpdateChangesOnlyTheTextAndKeepsTheLeftEdge) {
  clock->RelayoutClock();
  const double left = clock->Label1(0).Left();
  time.SetNow(DateTime{2026, 12, 7, 9, 5, 4, 0});
  clock->UpdateRows(false);
  EXPECT_EQ(clock->Label1(0).Caption(), "09:05:04");
  EXPECT_EQ(clock->mstrRowText[0], "09:05:04");
  EXPECT_EQ(clock->Label1(0).Left(), left);
}

TEST_F(ClockWindowTest, TheTickLeavesTheRowsAloneInTheSignalSecondOnlyWhenTheSignalIsOn) {
  SettingsStore::WavFile = "no such file.wav";  // a signal that sounds nothing
  clock->RelayoutClock();
  time.SetNow(DateTime{2026, 12, 7, 15, 0, 0, 0});
  clock->Timer1_Timer();
  EXPECT_EQ(clock->Label1(0).Caption(), "09:05:03") << "the signal's tick does not refresh the rows";
  EXPECT_TRUE(clock->mblnTimeSignalStarted);
  clock->Timer1_Timer();  // the second tick of the same second starts nothing new
  EXPECT_TRUE(clock->mblnTimeSignalStarted);

  time.SetNow(DateTime{2026, 12, 7, 15, 0, 1, 0});
  clock->Timer1_Timer();
  EXPECT_EQ(clock->Label1(0).Caption(), "15:00:01");
  EXPECT_FALSE(clock->mblnTimeSignalStarted) << "re-armed for the next hour";

  SettingsStore::NoUseTimeSignal = true;
  time.SetNow(DateTime{2026, 12, 7, 16, 0, 0, 0});
  clock->Timer1_Timer();
  EXPECT_EQ(clock->Label1(0).Caption(), "16:00:00");
  EXPECT_FALSE(clock->mblnTimeSignalStarted);
}

TEST_F(ClockWindowTest, AFormatThatCannotBeAppliedIsReportedAndTheClockKeepsTicking) {
  platform::RecordingMessageBox box;
  clock->RelayoutClock();
  SettingsStore::UnderRowFormat = "\"unterminated";
  clock->Timer1_Timer();
  EXPECT_EQ(box.Calls.size(), 1u);
  SettingsStore::UnderRowFormat = "HH:MM:SS";
  time.SetNow(DateTime{2026, 12, 7, 9, 5, 9, 0});
  clock->Timer1_Timer();
  EXPECT_EQ(clock->Label1(0).Caption(), "09:05:09");
}

TEST_F(ClockWindowTest, TheFirstResizeIsIgnoredAndLaterOnesRelayout) {
  EXPECT_EQ(clock->msngRowFontSize[0], 0);
  clock->Form_Resize();
  EXPECT_EQ(clock->mintResizeCount, 1);
  EXPECT_EQ(clock->msngRowFontSize[0], 0);
  clock->Form_Resize();
  EXPECT_GT(clock->msngRowFontSize[0], 0);
}

TEST_F(ClockWindowTest, AWindowThatGrowsBeforeItIsShownIsLaidOutAgainAtOnce) {
  // Laid out by the settings dialog's load, then made larger (the least
  // size of the work area) before the first notification: the rows are
  // fitted and centred for the new size.
  clock->RelayoutClock();
  const float small = clock->msngRowFontSize[0];
  clock->Form().Move(0, 0, 5760, 1500);
  clock->Form_Resize();
  EXPECT_GT(clock->msngRowFontSize[0], small);
  const platform::ILabel& top = clock->Label1(0);
  EXPECT_NEAR(top.Left(), (clock->Form().ScaleWidth() - top.Width()) / 2, 1);
}

TEST_F(ClockWindowTest, ClosingSavesThePlacementThenTheSettingsWithTheRowsFont) {
  int16_t code = platform::vbKeyF4;
  clock->Form_KeyDown(code, 0);  // F4 alone does nothing
  EXPECT_TRUE(store.WrittenKeys.empty());
  int16_t cancel = 0;
  clock->Form_Unload(cancel);
  ASSERT_EQ(store.WrittenKeys.size(), 4u + 18u + 10u);  // the time signal's working-day options last
  EXPECT_EQ(std::vector<std::string>(store.WrittenKeys.begin(), store.WrittenKeys.begin() + 5),
            (std::vector<std::string>{"MainLeft", "MainTop", "MainWidth", "MainHeight", "FontName"}));
  EXPECT_EQ((store.Values[{"Kelvora", "Settings", "FontName"}]), "IPAPGothic");
  EXPECT_EQ((store.Values[{"Kelvora", "Settings", "FontColor"}]), "-2147483630");
}

}  // namespace

namespace {

TEST(ClockWindowUnload, AStoreThatCannotBeWrittenIsReportedNotFatal) {
  const auto home = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "unwritable";
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home);
  std::ofstream(home / "Kelvora") << "not a folder";  // where the settings folder should be
  platform::qt::IniSettingsStore store(home.string());
  platform::ScopedService<platform::ISettingsStore> install(store);
  platform::RecordingMessageBox box;
  platform::FakeClock time;
  Program program(platform::Application::Current());
  frmMain clock(program);
  clock.Form_Load();
  int16_t cancel = 0;
  clock.Form_Unload(cancel);
  ASSERT_EQ(box.Calls.size(), 1u);
  EXPECT_NE(box.Calls[0].Prompt.find("Number: 75"), std::string::npos);
}

}  // namespace
