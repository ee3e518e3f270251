#pragma once
// A row of owner-drawn tabs above a framed page area, drawn on the host's
// picture surface in the classic three-dimensional look. The selected tab
// is raised; a dotted focus frame shows while the surface has the focus.
// The user changes the tab with the mouse, the arrow keys, Ctrl+Tab and
// Ctrl+Shift+Tab, and Alt + the tab's accelerator letter.
//
// Host protocol, in this order: create the strip; SetPicture; SetCmdButtons
// with the host's push-button array; Add once per tab; optionally
// SetSelectedIndex; read ClientLeft/Top/Width/Height to place the pages.
// Add loads one push button per tab into the host's array (index above the
// host's own buttons, zero-sized on the surface, out of the tab order): its
// caption "&" + letter makes Alt + letter click it. The host forwards a
// click of such a button (Command1_Click with Index above its own) to
// AccelKeyCmdBtnClicked, and handles TabChanged by showing the page of
// SelectedIndex.
//
// The strip takes over the surface's GotFocus, LostFocus, KeyDown and
// MouseDown events (KeyDown comes back to the host as the strip's own).
// The surface and the button array must outlive the strip.
//
// Geometry is 16-bit: arithmetic leaving that range raises error 6; a tab
// that does not exist raises error 9.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/CommandButton.h"
#include "platform/ControlArray.h"
#include "platform/PictureBox.h"

class clsTabStrip {
 public:
  struct TabItem {
    std::string Caption;
    int16_t Left = 0;
    int16_t Top = 0;
    int16_t Width = 0;
    int16_t Height = 0;
    std::string AccelKey;
  };

  // Margins from the screen's twips per pixel.
  clsTabStrip();
  ~clsTabStrip();
  clsTabStrip(const clsTabStrip&) = delete;
  clsTabStrip& operator=(const clsTabStrip&) = delete;

  // The host's push buttons; the strip's buttons go above its highest index.
  void SetCmdButtons(platform::ControlArray<platform::ICommandButton>& vctlCmdButtons);
  // The surface to draw on: no border, pixels, enabled, visible.
  void SetPicture(platform::IPictureBox& ctlNewPicture);
  void Add(const std::string& astrCaption, const std::string& astrAccelKey);
  int16_t Count() const { return mintCount; }
  // The push button of this index was clicked: selects its tab.
  void AccelKeyCmdBtnClicked(int16_t Index);

  // The page area, twips of the host.
  int16_t ClientLeft() const;
  int16_t ClientTop() const;
  int16_t ClientWidth() const;
  int16_t ClientHeight() const;
  // The surface's top and outer height, twips.
  int32_t Top() const;
  void SetTop(int32_t alngTop);
  int32_t Height() const;

  int16_t SelectedIndex() const { return mintSelectedIndex; }
  // Selects a tab without raising an event; the current index or one not
  // below Count is ignored.
  void SetSelectedIndex(int16_t intNewSelectedIndex);

  // A tab record; error 9 when there is none.
  const TabItem& Tab(int16_t Index) const;
  int16_t MarginX() const { return mintMarginX; }
  int16_t MarginY() const { return mintMarginY; }

  std::function<void()> TabChanged;
  std::function<void()> Click;
  std::function<void(int16_t& KeyCode, int16_t& Shift)> KeyDown;

 private:
  void mctlPicture_GotFocus();
  void mctlPicture_LostFocus();
  void mctlPicture_KeyDown(int16_t& KeyCode, int16_t Shift);
  void mctlPicture_MouseDown(int16_t Button, int16_t Shift, double X, double Y);

  void DrawTabs();
  void DrawTabFocus(int16_t intIndex, bool blnShow);
  void DrawTabCaption(const TabItem& tab);
  void SetUnderline(bool blnUnderline);
  platform::IPictureBox& Picture() const;
  // The height of a line of text in the surface's font, pixels.
  double LineHeight() const;

  platform::IPictureBox* mctlPicture = nullptr;
  platform::ControlArray<platform::ICommandButton>* mctlCmdButtons = nullptr;
  std::vector<TabItem> mTabs;
  int16_t mintCount = 0;
  int16_t mintSelectedIndex = 0;
  int16_t mintCmdBase = 0;
  int16_t mintMarginX;
  int16_t mintMarginY;
};
