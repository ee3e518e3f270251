#include "clock/widgets/clsTabStrip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/basGeneral.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"

using namespace platform;

namespace {

// A background no line uses, so that untouched pixels stand out.
constexpr OleColor kClear = RGB(0x12, 0x34, 0x56);

char Letter(OleColor c) {
  if (c == kClear) return '.';
  if (c == GetSysColor(COLOR_3DHILIGHT)) return 'H';
  if (c == GetSysColor(COLOR_3DDKSHADOW)) return 'K';
  if (c == GetSysColor(COLOR_BTNSHADOW)) return 'S';
  if (c == GetSysColor(COLOR_BTNFACE)) return 'F';
  return '?';
}

// The host: a form with a surface (Picture2) and six push buttons of its
// own, whose clicks above index 5 go to the strip, as the settings dialog
// forwards them.
struct TabStripTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmSetUp", "", vbFixedSingle, true, false});
    form->Move(0, 0, 540 * 15, 300 * 15);
    picture = Controls().CreatePictureBox(*form, "Picture2");
    picture->Move(120, 600, 500 * 15, 200 * 15);
    picture->SetBackColor(kClear);
    picture->SetBorderStyle(1);
    Command1.OnElement = [this](ICommandButton& button) {
      button.Click = [this, index = button.Index()] { Command1_Click(index); };
    };
    for (int16_t i = 0; i < 6; ++i) Command1.Add(Controls().CreateCommandButton(*form, "Command1", i));
    strip.SetPicture(*picture);
    strip.SetCmdButtons(Command1);
    strip.TabChanged = [this] { events.push_back("TabChanged"); };
    strip.Click = [this] { events.push_back("Click"); };
    strip.KeyDown = [this](int16_t& key, int16_t& shift) {
      events.push_back("KeyDown " + std::to_string(key) + "/" + std::to_string(shift));
    };
  }
  void Command1_Click(int16_t index) {
    clicked.push_back(index);
    if (index >= 6) strip.AccelKeyCmdBtnClicked(index);
  }
  void AddTabs(int count) {
    const char* captions[] = {"表示設定", "時報設定", "色", "音"};
    const char* keys[] = {"E", "S", "C", "K"};
    for (int i = 0; i < count; ++i) strip.Add(captions[i], keys[i]);
  }
  char At(int x, int y) const { return Letter(picture->GetPixel(x, y)); }
  void Key(int16_t code, int16_t shift) {
    int16_t key = code;
    picture->KeyDown(key, shift);
  }
  void MouseDown(int16_t button, double x, double y) const { picture->MouseDown(button, 0, x, y); }
  // The pixels of a rectangle, row by row.
  std::vector<OleColor> Region(const ISurface& surface, int left, int top, int right, int bottom) const {
    std::vector<OleColor> pixels;
    for (int y = top; y <= bottom; ++y)
      for (int x = left; x <= right; ++x) pixels.push_back(surface.GetPixel(x, y));
    return pixels;
  }
  // A surface like the strip's with a tab's text drawn at (x, y) the way a
  // tab shows it, the key letter underlined or not.
  std::unique_ptr<IPictureBox> Reference(const std::string& caption, const std::string& key, int x, int y,
                                         bool underline) const {
    auto ref = Controls().CreatePictureBox(*form, "Reference");
    ref->Move(0, 0, picture->Width(), picture->Height());
    ref->SetScaleMode(vbPixels);
    ref->SetBackColor(kClear);
    ref->SetForeColor(GetSysColor(COLOR_BTNTEXT));
    ref->SetCurrentX(x);
    ref->SetCurrentY(y);
    ref->Print(caption + "(");
    StdFont font = ref->Font();
    font.Underline = underline;
    ref->SetFont(font);
    ref->Print(key);
    font.Underline = false;
    ref->SetFont(font);
    ref->Print(")");
    return ref;
  }
  // The inside of a tab, away from its edges and its focus frame.
  std::vector<OleColor> TabInside(const ISurface& surface, int16_t index) const {
    const auto& tab = strip.Tab(index);
    return Region(surface, tab.Left + 3, tab.Top + 1, tab.Left + tab.Width - 3, tab.Top + tab.Height - 3);
  }

  std::unique_ptr<IForm> form;
  std::unique_ptr<IPictureBox> picture;
  ControlArray<ICommandButton> Command1;
  clsTabStrip strip;
  std::vector<std::string> events;
  std::vector<int16_t> clicked;
};

TEST_F(TabStripTest, TwoTabsWithUnderlinedKeysSideBySideAndTheFirstRaised) {
  AddTabs(2);
  ASSERT_EQ(strip.Count(), 2);
  EXPECT_EQ(strip.SelectedIndex(), 0);
  EXPECT_EQ(picture->ScaleMode(), vbPixels);
  EXPECT_EQ(picture->BorderStyle(), 0);
  const auto& first = strip.Tab(0);
  const auto& second = strip.Tab(1);
  EXPECT_EQ(first.Caption, "表示設定");
  EXPECT_EQ(first.AccelKey, "E");
  EXPECT_EQ(first.Left, 2);
  EXPECT_EQ(first.Top, 2);
  EXPECT_EQ(first.Width, static_cast<int16_t>(picture->TextWidth("表示設定(E)") + 20));
  EXPECT_EQ(first.Height, static_cast<int16_t>(picture->TextHeight("Ay") + 6));
  EXPECT_EQ(second.Left, first.Left + first.Width + 1);
  EXPECT_EQ(second.Width, static_cast<int16_t>(picture->TextWidth("時報設定(S)") + 20));

  // Text at 10 pixels right of the tab's edge; 4 below the surface's top for
  // the raised tab, 6 for the other; the key letter underlined.
  auto raised = Reference("表示設定", "E", first.Left + 10, 4, true);
  EXPECT_EQ(TabInside(*picture, 0), TabInside(*raised, 0));
  auto flat = Reference("時報設定", "S", second.Left + 10, 6, true);
  EXPECT_EQ(TabInside(*picture, 1), TabInside(*flat, 1));
  auto plain = Reference("時報設定", "S", second.Left + 10, 6, false);
  EXPECT_NE(TabInside(*picture, 1), TabInside(*plain, 1));
  EXPECT_TRUE(events.empty());
}

TEST_F(TabStripTest, RaisedTabAndItsNeighboursFollowTheirOutlines) {
  AddTabs(4);
  strip.SetSelectedIndex(1);
  const auto& p = strip.Tab(0);  // left neighbour
  const auto& r = strip.Tab(1);  // raised
  const auto& n = strip.Tab(2);  // right neighbour
  const auto& o = strip.Tab(3);  // any other
  const int T = 2, H = r.Height, B = T + H + 1;

  // Raised: highlight up the left and along the top two pixels higher, dark
  // shadow and shadow down the right, no base line.
  for (int y = T; y <= B; ++y) EXPECT_EQ(At(r.Left - 2, y), 'H') << y;
  EXPECT_EQ(At(r.Left - 1, T - 1), 'H');
  for (int x = r.Left; x <= r.Left + r.Width; ++x) EXPECT_EQ(At(x, T - 2), 'H') << x;
  EXPECT_EQ(At(r.Left + r.Width + 1, 1), 'K');
  for (int y = 2; y <= B; ++y) EXPECT_EQ(At(r.Left + r.Width + 2, y), 'K') << y;
  for (int y = T; y <= B; ++y) EXPECT_EQ(At(r.Left + r.Width + 1, y), 'S') << y;
  EXPECT_EQ(At(r.Left + 1, B), '.');
  EXPECT_EQ(At(r.Left + r.Width - 1, B), '.');

  // Right neighbour: base line and top, right edge; its left edge lies under
  // the raised tab's right edge.
  for (int x = n.Left + 2; x <= n.Left + n.Width + 1; ++x) EXPECT_EQ(At(x, B), 'H') << x;
  for (int x = n.Left + 2; x <= n.Left + n.Width - 2; ++x) EXPECT_EQ(At(x, T), 'H') << x;
  for (int y = 5; y <= T + H; ++y) EXPECT_EQ(At(n.Left + n.Width, y), 'K') << y;
  EXPECT_EQ(At(n.Left + n.Width - 1, 3), 'K');
  for (int y = T + 2; y <= T + H; ++y) EXPECT_EQ(At(n.Left + n.Width - 1, y), 'S') << y;
  EXPECT_EQ(At(n.Left, T + 4), 'S');
  EXPECT_EQ(At(n.Left + 1, T + 4), 'K');
  EXPECT_EQ(At(n.Left + 2, T + 4), '.');

  // Left neighbour: base line, left edge with its corner and top; no right
  // edge, the raised tab's left edge follows.
  for (int x = p.Left - 2; x <= p.Left + p.Width - 1; ++x) EXPECT_EQ(At(x, B), 'H') << x;
  for (int y = T + 2; y <= T + H; ++y) EXPECT_EQ(At(p.Left, y), 'H') << y;
  EXPECT_EQ(At(p.Left + 1, T + 1), 'H');
  for (int x = p.Left + 2; x <= p.Left + p.Width - 2; ++x) EXPECT_EQ(At(x, T), 'H') << x;
  EXPECT_EQ(At(p.Left + p.Width - 2, T + 4), '.');
  EXPECT_EQ(At(p.Left + p.Width - 1, T + 4), 'H');

  // Any other tab: the whole outline.
  for (int x = o.Left - 2; x <= o.Left + o.Width + 1; ++x) EXPECT_EQ(At(x, B), 'H') << x;
  for (int y = T + 2; y <= T + H; ++y) EXPECT_EQ(At(o.Left, y), 'H') << y;
  EXPECT_EQ(At(o.Left + 1, T + 1), 'H');
  for (int y = 5; y <= T + H; ++y) EXPECT_EQ(At(o.Left + o.Width, y), 'K') << y;
  for (int y = T + 2; y <= T + H; ++y) EXPECT_EQ(At(o.Left + o.Width - 1, y), 'S') << y;

  // The page frame: the base line on to the edge, left highlight from the
  // raised tab's base, dark shadow and shadow along the bottom and right.
  const int SW = static_cast<int>(picture->ScaleWidth()), SH = static_cast<int>(picture->ScaleHeight());
  for (int x = o.Left + o.Width; x <= SW - 2; ++x) EXPECT_EQ(At(x, B), 'H') << x;
  for (int y = B; y <= SH - 2; ++y) EXPECT_EQ(At(0, y), 'H') << y;
  for (int x = 0; x < SW; ++x) EXPECT_EQ(At(x, SH - 1), 'K') << x;
  for (int y = B; y < SH - 1; ++y) EXPECT_EQ(At(SW - 1, y), 'K') << y;
  for (int x = 1; x <= SW - 2; ++x) EXPECT_EQ(At(x, SH - 2), 'S') << x;
  for (int y = B + 1; y <= SH - 2; ++y) EXPECT_EQ(At(SW - 2, y), 'S') << y;
  EXPECT_EQ(At(SW / 2, SH / 2), '.');
}

TEST_F(TabStripTest, FocusFrameShowsFollowsAndGoesWithoutTouchingTheText) {
  AddTabs(2);
  const auto& tab = strip.Tab(0);
  const int L = tab.Left, T = tab.Top, W = tab.Width, H = tab.Height;
  const auto text = TabInside(*picture, 0);
  const OleColor textColour = GetSysColor(COLOR_BTNTEXT);

  picture->GotFocus();
  for (int x = L + 2; x <= L + W - 2; ++x) {
    EXPECT_EQ(picture->GetPixel(x, T) == textColour, (x - L) % 2 == 0) << x;
    EXPECT_EQ(picture->GetPixel(x, T + H - 2) == textColour, (x - L) % 2 == 0) << x;
  }
  for (int y = T; y <= T + H - 2; ++y) {
    EXPECT_EQ(picture->GetPixel(L + 1, y) == textColour, (y - T) % 2 == 0) << y;
    EXPECT_EQ(picture->GetPixel(L + W - 1, y) == textColour, (y - T) % 2 == 0) << y;
  }
  EXPECT_EQ(TabInside(*picture, 0), text);

  // The frame follows the selection while the focus stays.
  Key(39, 0);
  const auto& second = strip.Tab(1);
  EXPECT_EQ(picture->GetPixel(second.Left + 2, T), textColour);
  EXPECT_NE(picture->GetPixel(L + 2, T + H - 2), textColour);

  const auto secondText = TabInside(*picture, 1);
  picture->LostFocus();
  for (int x = second.Left + 1; x <= second.Left + second.Width - 1; ++x) {
    EXPECT_EQ(At(x, T), 'F') << x;
    EXPECT_EQ(At(x, T + H - 2), 'F') << x;
  }
  EXPECT_EQ(At(second.Left + 1, T + 1), 'F');
  EXPECT_EQ(TabInside(*picture, 1), secondText);
}

TEST_F(TabStripTest, ArrowsAndCtrlTabWrapAroundAndEveryKeyComesBack) {
  AddTabs(2);
  Key(39, 0);
  EXPECT_EQ(strip.SelectedIndex(), 1);
  Key(39, 1);  // any shift state
  EXPECT_EQ(strip.SelectedIndex(), 0);
  Key(37, 0);
  EXPECT_EQ(strip.SelectedIndex(), 1);
  Key(9, 2);
  EXPECT_EQ(strip.SelectedIndex(), 0);
  Key(9, 3);
  EXPECT_EQ(strip.SelectedIndex(), 1);
  EXPECT_EQ(events, (std::vector<std::string>{"TabChanged", "KeyDown 39/0", "TabChanged", "KeyDown 39/1",
                                              "TabChanged", "KeyDown 37/0", "TabChanged", "KeyDown 9/2",
                                              "TabChanged", "KeyDown 9/3"}));

  events.clear();
  Key(9, 0);
  Key(9, 1);
  Key(9, 4);
  Key(65, 0);
  EXPECT_EQ(strip.SelectedIndex(), 1);
  EXPECT_EQ(events, (std::vector<std::string>{"KeyDown 9/0", "KeyDown 9/1", "KeyDown 9/4", "KeyDown 65/0"}));

  // The host may change the key it is handed.
  strip.KeyDown = [](int16_t& key, int16_t&) { key = 0; };
  int16_t key = 37;
  picture->KeyDown(key, 0);
  EXPECT_EQ(key, 0);
}

TEST_F(TabStripTest, SingleTabIsSelectedAgainByEveryMove) {
  AddTabs(1);
  for (auto [code, shift] : {std::pair<int16_t, int16_t>{37, 0}, {39, 0}, {9, 2}}) Key(code, shift);
  EXPECT_EQ(strip.SelectedIndex(), 0);
  EXPECT_EQ(std::count(events.begin(), events.end(), "TabChanged"), 3);
}

TEST_F(TabStripTest, MouseSelectsOnlyAnotherTabWithTheLeftButton) {
  AddTabs(2);
  const auto& first = strip.Tab(0);
  const auto& second = strip.Tab(1);
  MouseDown(vbLeftButton, first.Left + 5, 5);                       // already selected
  MouseDown(vbRightButton, second.Left + 5, 5);                     // right button
  MouseDown(vbLeftButton, second.Left + 5, second.Top + second.Height + 1);  // below the tabs
  EXPECT_EQ(strip.SelectedIndex(), 0);
  EXPECT_TRUE(events.empty());

  MouseDown(vbLeftButton, second.Left + second.Width, second.Top + second.Height);
  EXPECT_EQ(strip.SelectedIndex(), 1);
  EXPECT_EQ(events, std::vector<std::string>{"TabChanged"});
  // The column x = L + W belongs to the tab on its left.
  MouseDown(vbLeftButton, first.Left + first.Width, first.Top);
  EXPECT_EQ(strip.SelectedIndex(), 0);
}

TEST_F(TabStripTest, SelectingByProgramRedrawsWithoutEvents) {
  AddTabs(2);
  strip.SetSelectedIndex(0);
  strip.SetSelectedIndex(2);
  strip.SetSelectedIndex(7);
  strip.SetSelectedIndex(-1);
  EXPECT_EQ(strip.SelectedIndex(), 0);
  strip.SetSelectedIndex(1);
  EXPECT_EQ(strip.SelectedIndex(), 1);
  const auto& second = strip.Tab(1);
  EXPECT_EQ(At(second.Left - 2, second.Top), 'H');  // drawn raised now
  EXPECT_TRUE(events.empty());
}

TEST_F(TabStripTest, AcceleratorButtonsAreLoadedHiddenAndForwardedByTheHost) {
  AddTabs(2);
  ASSERT_EQ(Command1.UBound(), 7);
  for (int16_t i : {6, 7}) {
    ICommandButton& button = Command1(i);
    EXPECT_EQ(button.Container(), picture.get());
    EXPECT_EQ(button.Width(), 0);
    EXPECT_EQ(button.Height(), 0);
    EXPECT_FALSE(button.TabStop());
    EXPECT_FALSE(button.Default());
    EXPECT_FALSE(button.Cancel());
    EXPECT_TRUE(button.Enabled());
    EXPECT_TRUE(button.Visible());
  }
  EXPECT_EQ(Command1(6).Caption(), "&E");
  EXPECT_EQ(Command1(7).Caption(), "&S");

  Command1(7).SetValue(true);
  EXPECT_EQ(strip.SelectedIndex(), 1);
  EXPECT_EQ(events, (std::vector<std::string>{"Click", "TabChanged"}));
  Command1(7).SetValue(true);
  EXPECT_EQ(events.size(), 2u);
  Command1(6).SetValue(true);
  EXPECT_EQ(strip.SelectedIndex(), 0);
  EXPECT_EQ(clicked, (std::vector<int16_t>{7, 7, 6}));
}

TEST_F(TabStripTest, ClientRectangleLiesInsideThePageFrame) {
  AddTabs(2);
  const auto& tab = strip.Tab(0);
  const int frameTop = tab.Top + tab.Height + 1;  // the base line
  const double lineHeight = picture->TextHeight("|");
  EXPECT_EQ(strip.ClientLeft(), picture->Left() + 15);
  EXPECT_EQ(strip.ClientTop(), picture->Top() + (12 + lineHeight - 1) * 15);
  EXPECT_EQ(strip.ClientTop(), picture->Top() + (frameTop + 2) * 15);
  EXPECT_EQ(strip.ClientWidth(), (picture->ScaleWidth() - 3) * 15);
  EXPECT_EQ(strip.ClientTop() + strip.ClientHeight(), picture->Top() + picture->Height() - 2 * 15);
  strip.SetTop(900);
  EXPECT_EQ(strip.Top(), 900);
  EXPECT_EQ(picture->Top(), 900);
  EXPECT_EQ(strip.Height(), picture->Height());
}

TEST_F(TabStripTest, OverflowAndMissingTabsRaiseErrorsAndLeaveTheStripWhole) {
  AddTabs(1);
  // A caption wider than 16 bits of pixels.
  std::string wide;
  for (int i = 0; i < 6000; ++i) wide += "W";
  try {
    strip.Add(wide, "W");
    ADD_FAILURE() << "no overflow";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), errOverflow);
  }
  EXPECT_EQ(strip.Count(), 1);
  EXPECT_EQ(Command1.UBound(), 6);
  strip.Add("時報設定", "S");
  EXPECT_EQ(Command1(7).Caption(), "&S");

  for (int16_t index : {int16_t{2}, int16_t{-1}}) {
    try {
      strip.Tab(index);
      ADD_FAILURE() << "tab " << index;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), errSubscriptRange);
    }
  }
  try {
    strip.AccelKeyCmdBtnClicked(9);
    ADD_FAILURE() << "no tab 3";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), errSubscriptRange);
  }
}

TEST_F(TabStripTest, StripWithoutTabsIgnoresKeysClicksAndFocus) {
  picture->GotFocus();
  Key(39, 0);
  Key(37, 0);
  MouseDown(vbLeftButton, 5, 5);
  picture->LostFocus();
  EXPECT_EQ(strip.SelectedIndex(), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"KeyDown 39/0", "KeyDown 37/0"}));
}

TEST(TabStripSetUp, ButtonArrayMustHoldAPushButtonAtItsTop) {
  ControlArray<ICommandButton> empty;
  clsTabStrip strip;
  EXPECT_THROW(strip.SetCmdButtons(empty), std::logic_error);
}

// A screen of 120 dots per inch: 12 twips per pixel.
struct LargeFontScreen final : IScreen {
  double TwipsPerPixelX() const override { return 12; }
  double TwipsPerPixelY() const override { return 12; }
  double Width() const override { return 1280 * 12; }
  double Height() const override { return 800 * 12; }
  int16_t MousePointer() const override { return 0; }
  void SetMousePointer(int16_t) override {}
  std::string DefaultGuiFontFace() const override { return "IPAPGothic"; }
};

TEST(TabStripSetUp, MarginsFollowTheScreensPixelPitch) {
  {
    clsTabStrip strip;
    EXPECT_EQ(strip.MarginX(), 10);
    EXPECT_EQ(strip.MarginY(), 6);
  }
  LargeFontScreen screen;
  {
    ScopedService<IScreen> install(screen);
    basGeneral::TwipsPerPixelX(1);
    basGeneral::TwipsPerPixelY(1);
    clsTabStrip strip;
    EXPECT_EQ(strip.MarginX(), 8);
    EXPECT_EQ(strip.MarginY(), 5);
  }
  basGeneral::TwipsPerPixelX(1);
  basGeneral::TwipsPerPixelY(1);
}

}  // namespace
