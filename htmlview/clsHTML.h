#pragma once
// The viewer object: reads a local HTML file of a small subset of HTML,
// draws it onto the host's picture surfaces, scrolls it with the host's
// scroll bar, turns the mouse over links into events and raises DispDone.
//
// The host owns the four controls (back frame, canvas inside it, hidden
// work surface, scroll bar beside the frame); the object keeps references
// and handles their events until it is destroyed, which the host does
// before it destroys the controls.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/Control.h"
#include "platform/PictureBox.h"
#include "platform/VScrollBar.h"

// One rectangle of a link on the canvas, twips.
struct LinkSpot {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  std::string Target;
  std::string Text;
};

// A named anchor: the 1-based position of its "<" in the prepared text.
struct AnchorEntry {
  int32_t Position = 0;
  std::string Name;
};

class clsHTML {
 public:
  clsHTML();
  ~clsHTML();
  clsHTML(const clsHTML&) = delete;
  clsHTML& operator=(const clsHTML&) = delete;

  bool GoNext();
  bool GoBack();
  bool DispHTML(bool blnForce);
  bool Initialize();

  // Objects of another kind are ignored.
  void SetCanvas(platform::IControl* vNewValue);
  void SetWorkCanvas(platform::IControl* vNewValue);
  void SetVScroll(platform::IControl* vNewValue);
  void SetBackFrame(platform::IControl* vNewValue);
  platform::IPictureBox* Canvas() const { return mctlCanvas; }

  void SetEnableDispEnd(bool vNewValue) { mblnEnableDispEnd = vNewValue; }
  // 0: scale 1.0, 1: 0.8, 2: 1.3; other values are ignored.
  void SetFontSize(int16_t vNewValue);
  void SetExecuteType(int16_t vNewValue) { mintExecuteType = vNewValue; }
  std::string PlaneText() const { return mstrPlainText; }
  bool AutoHeight() const { return mblnAutoHeight; }
  void SetAutoHeight(bool vNewValue) { mblnAutoHeight = vNewValue; }
  void SetBGColor(int32_t vNewValue) { mlngBGColor = vNewValue; }
  int32_t CanvasHeight() const;
  int32_t CanvasTop() const;
  int32_t CanvasLeft() const;
  std::string HtmlFile() const { return mstrFile; }
  void SetHtmlFile(const std::string& vNewValue);
  std::string CurName() const { return "#" + mstrCurName; }
  void SetCurName(const std::string& vNewValue);
  void Move(int32_t Left, int32_t Top, int32_t Width, int32_t Height);
  void ShowBrowser(bool bln1);
  // Why the last DispHTML stopped drawing before the end of the page (no
  // BODY, a malformed attribute); empty when it did not stop, or when the
  // file could not be read.
  std::string DispError() const { return mstrDispError; }

  // The component object this viewer belongs to (none when the viewer is
  // used on its own): it is held for the length of every control event, so
  // a host that releases it meanwhile does not end it under its own code.
  void SetOwner(platform::com::IUnknown* owner) { mOwner = owner; }

  // Events, raised synchronously.
  std::function<void(const std::string& vstrHRef, int16_t& rintRet)> LinkClick;
  std::function<void(const std::string& vstrHRef)> LinkRightClick;
  std::function<void(int16_t& Button)> MouseDown;
  std::function<void()> DispDone;

  // What the last drawing recorded (for the host's tools and for tests).
  const std::vector<LinkSpot>& Links() const { return mLinks; }
  const std::vector<AnchorEntry>& Anchors() const { return mAnchors; }
  int32_t HotLink() const { return mintHotLink; }

 private:
  struct DrawState;
  bool DrawDocument(const std::u32string& html, platform::IPictureBox& canvas, platform::IPictureBox& work,
                    std::string& plainText);
  bool ReadDocument();
  void SetUpScrollBar();
  void KeyScroll(int16_t KeyCode, int16_t Shift);
  void ScrollCanvas();
  void HoverAt(double x, double y);
  void Detach();

  // Control events.
  void mctlBack_Resize();
  void mctlCanvas_MouseMove(int16_t Button, int16_t Shift, double X, double Y);
  void mctlCanvas_MouseDown(int16_t Button, int16_t Shift, double X, double Y);
  void mctlCanvas_KeyDown(int16_t& KeyCode, int16_t Shift);
  void mctlCanvas_MouseWheel(int32_t Delta, int16_t Shift);
  void mctlVScroll_Change();
  void mctlVScroll_Scroll();
  void mctlVScroll_KeyDown(int16_t& KeyCode, int16_t Shift);

  // Runs a control event as one call into the component.
  template <typename Handler>
  void Event(Handler&& handler) {
    const platform::com::ComponentCall call(mOwner);
    handler();
  }

  platform::com::IUnknown* mOwner = nullptr;
  platform::IPictureBox* mctlBack = nullptr;
  platform::IPictureBox* mctlCanvas = nullptr;
  platform::IPictureBox* mctlWork = nullptr;
  platform::IVScrollBar* mctlVScroll = nullptr;

  std::u32string mstrHtml;
  std::string mstrFile;
  std::string mstrPrevFile;
  std::string mstrBaseDir;
  std::string mstrPendingUrl;
  std::string mstrPlainText;
  std::string mstrCurName;
  std::string mstrDispError;
  std::vector<LinkSpot> mLinks;
  int32_t mintHotLink = -1;
  std::vector<AnchorEntry> mAnchors;
  int16_t mintAnchorIndex = 0;
  float msngScale = 1.0f;
  int16_t mintBaseFont = 4;
  int32_t mlngTextColor = 0;
  int32_t mlngBackColor = 0xFFFFFF;
  int32_t mlngLinkColor = 0xFF0000;
  int32_t mlngSavedColor = 0;
  int32_t mlngRightMargin = 300;
  int32_t mlngBGColor = 0;
  int16_t mintExecuteType = 0;
  bool mblnLoaded = false;
  bool mblnEnableDispEnd = true;
  bool mblnAutoHeight = false;
  bool mblnNoRedisplay = false;
  bool mblnLinkCursor = false;
  // The last walk never met the current anchor.
  bool mblnAnchorMissing = false;
};
