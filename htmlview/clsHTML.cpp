#include "htmlview/clsHTML.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "htmlview/basHTML.h"
#include "htmlview/basQuillet.h"
#include "platform/Application.h"
#include "platform/Checked.h"
#include "platform/Form.h"
#include "platform/ScopeExit.h"
#include "platform/ScopedValue.h"
#include "platform/Shell.h"

using platform::checked::CLng;

clsHTML::clsHTML() = default;

clsHTML::~clsHTML() { Detach(); }

// The controls stay with the host; only the handlers set here are removed.
void clsHTML::Detach() {
  if (mctlBack) mctlBack->Resize = nullptr;
  if (mctlCanvas) {
    mctlCanvas->MouseMove = nullptr;
    mctlCanvas->MouseDown = nullptr;
    mctlCanvas->KeyDown = nullptr;
    mctlCanvas->MouseWheel = nullptr;
  }
  if (mctlVScroll) {
    mctlVScroll->Change = nullptr;
    mctlVScroll->Scroll = nullptr;
    mctlVScroll->KeyDown = nullptr;
  }
}

void clsHTML::SetCanvas(platform::IControl* vNewValue) {
  auto* canvas = dynamic_cast<platform::IPictureBox*>(vNewValue);
  if (!canvas) return;
  if (mctlCanvas) {
    mctlCanvas->MouseMove = nullptr;
    mctlCanvas->MouseDown = nullptr;
    mctlCanvas->KeyDown = nullptr;
    mctlCanvas->MouseWheel = nullptr;
  }
  mctlCanvas = canvas;
  canvas->SetVisible(true);
  canvas->SetAutoRedraw(true);
  canvas->SetBorderStyle(0);
  canvas->MouseMove = [this](int16_t b, int16_t s, double x, double y) { Event([&] { mctlCanvas_MouseMove(b, s, x, y); }); };
  canvas->MouseDown = [this](int16_t b, int16_t s, double x, double y) { Event([&] { mctlCanvas_MouseDown(b, s, x, y); }); };
  canvas->KeyDown = [this](int16_t& k, int16_t s) { Event([&] { mctlCanvas_KeyDown(k, s); }); };
  canvas->MouseWheel = [this](int32_t d, int16_t s) { Event([&] { mctlCanvas_MouseWheel(d, s); }); };
}

void clsHTML::SetWorkCanvas(platform::IControl* vNewValue) {
  auto* work = dynamic_cast<platform::IPictureBox*>(vNewValue);
  if (!work) return;
  mctlWork = work;
  if (mctlCanvas) work->Move(work->Left(), work->Top(), mctlCanvas->Width(), mctlCanvas->Height());
  work->SetVisible(false);
  work->SetAutoRedraw(true);
}

void clsHTML::SetVScroll(platform::IControl* vNewValue) {
  auto* bar = dynamic_cast<platform::IVScrollBar*>(vNewValue);
  if (!bar) return;
  if (mctlVScroll) {
    mctlVScroll->Change = nullptr;
    mctlVScroll->Scroll = nullptr;
    mctlVScroll->KeyDown = nullptr;
  }
  mctlVScroll = bar;
  bar->Change = [this] { Event([&] { mctlVScroll_Change(); }); };
  bar->Scroll = [this] { Event([&] { mctlVScroll_Scroll(); }); };
  bar->KeyDown = [this](int16_t& k, int16_t s) { Event([&] { mctlVScroll_KeyDown(k, s); }); };
}

void clsHTML::SetBackFrame(platform::IControl* vNewValue) {
  auto* back = dynamic_cast<platform::IPictureBox*>(vNewValue);
  if (!back) return;
  if (mctlBack) mctlBack->Resize = nullptr;
  mctlBack = back;
  back->Resize = [this] { Event([&] { mctlBack_Resize(); }); };
}

void clsHTML::SetFontSize(int16_t vNewValue) {
  switch (vNewValue) {
    case 0: msngScale = 1.0f; break;
    case 1: msngScale = 0.8f; break;
    case 2: msngScale = 1.3f; break;
    default: break;
  }
}

int32_t clsHTML::CanvasHeight() const {
  if (!mctlCanvas) return 0;
  return CLng(mctlCanvas->TextHeight("Ay") + mctlCanvas->CurrentY() + 8.0 * basQuillet::TwipsPerPixelY());
}

int32_t clsHTML::CanvasTop() const { return mctlBack ? CLng(mctlBack->Top()) : 0; }
int32_t clsHTML::CanvasLeft() const { return mctlBack ? CLng(mctlBack->Left()) : 0; }

void clsHTML::SetHtmlFile(const std::string& vNewValue) {
  mstrPendingUrl.clear();
  std::string upper = vNewValue, lower = vNewValue;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (upper.rfind("FTP:", 0) == 0 || lower.rfind("http:", 0) == 0 || lower.rfind("https:", 0) == 0 ||
      lower.rfind("mailto:", 0) == 0) {
    mstrPendingUrl = vNewValue;
    return;
  }
  mstrPrevFile = mstrFile;
  // Help files written with "\" work as well as with "/".
  std::string path = vNewValue;
  std::replace(path.begin(), path.end(), '\\', '/');
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos) {
    mstrBaseDir = path.substr(0, slash + 1);
    mstrFile = path;
  } else {
    mstrFile = basQuillet::PathSlash(mstrBaseDir, 1) + path;
  }
  mstrCurName.clear();
  mblnLoaded = false;
  mAnchors.clear();
}

void clsHTML::SetCurName(const std::string& vNewValue) {
  mstrCurName = !vNewValue.empty() && vNewValue[0] == '#' ? vNewValue.substr(1) : vNewValue;
}

void clsHTML::Move(int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
  if (!mctlBack) return;
  if (Width < 1) mctlBack->Move(Left, Top, mctlBack->Width(), mctlBack->Height());
  else if (Height < 1) mctlBack->Move(Left, Top, Width, mctlBack->Height());
  else mctlBack->Move(Left, Top, Width, Height);
}

void clsHTML::ShowBrowser(bool bln1) {
  basQuillet::SetBusyCursor(true);
  const std::string target = bln1 ? mstrFile : mstrPendingUrl;
  if (platform::ServiceSlot<platform::IShell>::Installed()) platform::Shell().Open(target);
  platform::Application::DoEvents();
  basQuillet::SetBusyCursor(false);
}

bool clsHTML::GoNext() {
  const size_t next = static_cast<size_t>(mintAnchorIndex) + 1;
  if (mintAnchorIndex < 0 || next >= mAnchors.size()) return false;
  mstrCurName = mAnchors[next].Name;
  return DispHTML(false);
}

bool clsHTML::GoBack() {
  if (mintAnchorIndex == 0) return false;
  const auto prev = static_cast<size_t>(mintAnchorIndex - 1);
  if (prev >= mAnchors.size()) return false;
  mstrCurName = mAnchors[prev].Name;
  return DispHTML(false);
}

bool clsHTML::Initialize() {
  mLinks.clear();
  mintHotLink = -1;
  mintBaseFont = 4;
  mlngLinkColor = 0xFF0000;
  mlngTextColor = 0;
  mlngBackColor = 0xFFFFFF;
  if (!mctlCanvas) return false;
  if (mctlBack) mctlCanvas->Move(0, 0, mctlBack->ScaleWidth(), mctlCanvas->Height());
  if (!mctlVScroll || !mctlBack) return false;
  mctlVScroll->Move(mctlBack->Left() + mctlBack->Width(), mctlBack->Top(), mctlVScroll->Width(), mctlBack->Height());
  mctlVScroll->SetValue(0);
  mctlCanvas->Cls();
  mctlCanvas->ClearPicture();
  mctlCanvas->SetHeight(mctlBack->Height());
  if (!mctlWork) return false;
  mctlWork->Move(mctlWork->Left(), mctlWork->Top(), mctlCanvas->Width(), mctlCanvas->Height());
  return !mstrFile.empty();
}

bool clsHTML::ReadDocument() {
  // Only a regular file is a document: a device or pipe a link names could
  // be endless (/dev/zero) or never answer.
  std::error_code ignored;
  if (mstrFile.empty() || !std::filesystem::is_regular_file(mstrFile, ignored)) return false;
  std::ifstream in(mstrFile, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  basQuillet::SetBusyCursor(true);
  mstrHtml = basHTML::PrepareHtml(basQuillet::DecodeText(bytes));
  return true;
}

bool clsHTML::DispHTML(bool blnForce) {
  mstrDispError.clear();
  if (!mstrPendingUrl.empty()) {
    ShowBrowser(false);
    mstrPendingUrl.clear();
    return true;
  }
  if (blnForce || !mblnLoaded) {
    if (!ReadDocument()) {
      mstrFile = mstrPrevFile;
      return false;
    }
  }
  if (!Initialize()) {
    basQuillet::SetBusyCursor(false);
    return false;
  }
  bool result = false;
  {
    // The canvas shows again and the busy pointer ends, also when drawing fails.
    mctlCanvas->SetVisible(false);
    platform::ScopeExit shown([this] {
      mctlCanvas->SetVisible(true);
      basQuillet::SetBusyCursor(false);
    });
    std::string plain;
    const platform::StdFont font = mctlCanvas->Font();
    bool done = DrawDocument(mstrHtml, *mctlCanvas, *mctlWork, plain);
    if (mblnAnchorMissing && Initialize()) {
      // An anchor the document does not have: show the document from its start.
      platform::ScopedValue noAnchor(mstrCurName, std::string());
      mctlCanvas->SetFont(font);
      plain.clear();
      done = DrawDocument(mstrHtml, *mctlCanvas, *mctlWork, plain);
    }
    if (done) {
      mstrPlainText = std::move(plain);
      mblnLoaded = true;
      result = true;
      mctlBack->SetBackColor(mctlCanvas->BackColor());
      SetUpScrollBar();
      if (mblnAutoHeight) {
        platform::ScopedValue noRedisplay(mblnNoRedisplay, true);
        mctlBack->SetHeight(CanvasHeight());
      }
    }
    // Keep the anchor index in step with the anchor on display.
    if (!mstrCurName.empty()) {
      for (size_t i = 0; i < mAnchors.size() && i < 32768; ++i) {
        if (mAnchors[i].Name == mstrCurName) mintAnchorIndex = static_cast<int16_t>(i);
      }
    }
  }
  if (DispDone) DispDone();
  return result;
}

// Overflows beyond the 16-bit range scroll in steps of several pixels, so
// that the whole document stays reachable.
void clsHTML::SetUpScrollBar() {
  const double tppY = basQuillet::TwipsPerPixelY();
  const double overflow = CLng(CanvasHeight() - mctlBack->Height());
  if (overflow > tppY) {
    double units = std::round(overflow / tppY);
    if (units > 32767) units = std::round(units / std::ceil(units / 32767.0));
    const auto max = static_cast<int16_t>(std::min(units, 32767.0));
    mctlVScroll->SetEnabled(true);
    mctlVScroll->SetMin(0);
    mctlVScroll->SetMax(max);
    mctlVScroll->SetLargeChange(max / 10 > 1 ? static_cast<int16_t>(max / 10) : int16_t{1});
    mctlVScroll->SetSmallChange(max / 50 > 1 ? static_cast<int16_t>(max / 50) : int16_t{1});
  } else {
    mctlVScroll->SetEnabled(false);
  }
}

void clsHTML::ScrollCanvas() {
  if (!mctlCanvas || !mctlBack || !mctlVScroll) return;
  const int16_t max = mctlVScroll->Max();
  const double top =
      max == 0 ? 0.0 : -(mctlCanvas->Height() - mctlBack->ScaleHeight()) * mctlVScroll->Value() / static_cast<double>(max);
  mctlCanvas->Move(0, top, mctlCanvas->Width(), mctlCanvas->Height());
}

void clsHTML::KeyScroll(int16_t KeyCode, int16_t Shift) {
  if (!mctlVScroll) return;
  const int32_t v = mctlVScroll->Value();
  const int32_t m = mctlVScroll->Max();
  const int32_t step = (Shift & platform::vbShiftMask) ? mctlVScroll->LargeChange() : mctlVScroll->SmallChange();
  switch (KeyCode) {
    case platform::vbKeyEnd: mctlVScroll->SetValue(static_cast<int16_t>(m)); break;
    case platform::vbKeyHome: mctlVScroll->SetValue(mctlVScroll->Min()); break;
    case platform::vbKeyUp: mctlVScroll->SetValue(static_cast<int16_t>(std::max(v - step, 0))); break;
    case platform::vbKeyDown: mctlVScroll->SetValue(static_cast<int16_t>(std::min(v + step, m))); break;
    // A page is the large step.
    case platform::vbKeyPageUp: mctlVScroll->SetValue(static_cast<int16_t>(std::max(v - mctlVScroll->LargeChange(), 0))); break;
    case platform::vbKeyPageDown: mctlVScroll->SetValue(static_cast<int16_t>(std::min(v + mctlVScroll->LargeChange(), m))); break;
    default: break;
  }
}

void clsHTML::HoverAt(double x, double y) {
  mintHotLink = -1;
  for (size_t i = 0; i < mLinks.size(); ++i) {
    const LinkSpot& s = mLinks[i];
    if (s.Left < x && x < s.Right && s.Top < y && y < s.Bottom) {
      mintHotLink = static_cast<int32_t>(i);
      break;
    }
  }
  if (mintHotLink >= 0) {
    mctlCanvas->SetToolTipText(mLinks[static_cast<size_t>(mintHotLink)].Text);
    if (!mblnLinkCursor) {
      mctlCanvas->SetMousePointer(platform::vbCustom);
      mblnLinkCursor = true;
    }
  } else {
    mctlCanvas->SetToolTipText("");
    if (mblnLinkCursor) {
      mctlCanvas->SetMousePointer(platform::vbDefault);
      mblnLinkCursor = false;
    }
  }
}

void clsHTML::mctlBack_Resize() {
  if (!mctlBack) return;
  if (mctlCanvas) mctlCanvas->Move(0, 0, mctlBack->ScaleWidth(), mctlBack->ScaleHeight());
  if (mctlVScroll)
    mctlVScroll->Move(mctlBack->Left() + mctlBack->Width(), mctlBack->Top(), mctlVScroll->Width(), mctlBack->Height());
  if (!mblnNoRedisplay) DispHTML(false);
}

void clsHTML::mctlCanvas_MouseMove(int16_t, int16_t, double X, double Y) { HoverAt(X, Y); }

void clsHTML::mctlCanvas_MouseDown(int16_t Button, int16_t, double X, double Y) {
  HoverAt(X, Y);
  if (mblnLinkCursor) {
    const std::string target = mLinks[static_cast<size_t>(mintHotLink)].Target;
    if (Button == platform::vbLeftButton) {
      int16_t ret = 0;
      if (LinkClick) LinkClick(target, ret);
    } else if (Button == platform::vbRightButton) {
      if (LinkRightClick) LinkRightClick(target);
    }
  } else {
    int16_t button = Button;
    if (MouseDown) MouseDown(button);
  }
}

void clsHTML::mctlCanvas_KeyDown(int16_t& KeyCode, int16_t Shift) { KeyScroll(KeyCode, Shift); }
// The wheel over the page scrolls as over the scroll bar.
void clsHTML::mctlCanvas_MouseWheel(int32_t Delta, int16_t Shift) {
  if (mctlVScroll) mctlVScroll->WheelScroll(Delta, Shift);
}
void clsHTML::mctlVScroll_Change() { ScrollCanvas(); }
void clsHTML::mctlVScroll_Scroll() { ScrollCanvas(); }
void clsHTML::mctlVScroll_KeyDown(int16_t& KeyCode, int16_t Shift) { KeyScroll(KeyCode, Shift); }
