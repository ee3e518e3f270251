#include "platform/qt/QtFormMessages.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "platform/TrayIcon.h"
#include "platform/qt/QtForm.h"

namespace platform::qt {

namespace {

// The standard system menu of a window of this style.
std::vector<MenuItem> StandardMenu(const FormStyle& style) {
  const MenuItem separator{MF_SEPARATOR, 0, ""};
  const MenuItem close{MF_STRING, SC_CLOSE, "閉じる(&C)\tAlt+F4"};
  if (style.BorderStyle == vbFixedDialog) return {{MF_STRING, SC_MOVE, "移動(&M)"}, close};
  return {{MF_STRING, SC_RESTORE, "元のサイズに戻す(&R)"},
          {MF_STRING, SC_MOVE, "移動(&M)"},
          {MF_STRING, SC_SIZE, "サイズ変更(&S)"},
          {MF_STRING, SC_MINIMIZE, "最小化(&N)"},
          {MF_STRING, SC_MAXIMIZE, "最大化(&X)"},
          separator,
          close};
}

bool Sizable(const FormStyle& style) {
  return style.BorderStyle == vbSizable || style.BorderStyle == vbSizableToolWindow;
}

int ClampSize(int32_t v) { return std::clamp<int32_t>(v, 0, QWIDGETSIZE_MAX); }

}  // namespace

FormMessages::FormMessages(QtForm& form)
    : mForm(form),
      mRegistration([this](HWND h, UINT m, WPARAM w, LPARAM l) { return DefaultProcedure(h, m, w, l); },
                    StandardMenu(form.Style())) {
  mRegistration.SetProcedureChanged([this] { ApplyTrackSize(); });
}

FormMessages::~FormMessages() {
  if (ServiceSlot<ITrayIcon>::Installed() && TrayIcon().Window() == Handle()) TrayIcon().SetWindow(0);
}

void FormMessages::ApplyTrackSize() {
  QWidget* widget = mForm.WindowWidget();
  if (!widget) return;
  if (!Sizable(mForm.Style())) {
    // A window without a sizing border keeps the size the program gives it.
    widget->setFixedSize(widget->size());
    return;
  }
  QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect();
  MINMAXINFO info;
  info.ptMaxSize = {area.width(), area.height()};
  info.ptMaxPosition = {area.x(), area.y()};
  info.ptMinTrackSize = {0, 0};
  info.ptMaxTrackSize = {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
  SendMessage(Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));

  const QSize minimum(ClampSize(info.ptMinTrackSize.x), ClampSize(info.ptMinTrackSize.y));
  const QSize maximum = QSize(ClampSize(info.ptMaxTrackSize.x), ClampSize(info.ptMaxTrackSize.y)).expandedTo(minimum);
  if (widget->minimumSize() == minimum && widget->maximumSize() == maximum) return;
  // Widen first, so that Qt never sees a minimum above the maximum.
  widget->setMinimumSize(0, 0);
  widget->setMaximumSize(maximum);
  widget->setMinimumSize(minimum);
}

LRESULT FormMessages::DefaultProcedure(HWND, UINT uMsg, WPARAM wParam, LPARAM) {
  switch (uMsg) {
    case WM_SYSCOMMAND: SysCommand(wParam); break;
    case WM_INITMENU: InitSystemMenu(static_cast<HMENU>(wParam)); break;
    default: break;  // WM_GETMINMAXINFO: the sender's defaults stand
  }
  return 0;
}

void FormMessages::SysCommand(WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_CLOSE: mForm.CloseByUser(); break;
    case SC_MINIMIZE: mForm.SetWindowState(vbMinimized); break;
    case SC_MAXIMIZE:
      if (Sizable(mForm.Style())) mForm.SetWindowState(vbMaximized);
      break;
    case SC_RESTORE: mForm.SetWindowState(vbNormal); break;
    default: break;  // moving and sizing are the window manager's, by mouse
  }
}

void FormMessages::InitSystemMenu(HMENU hMenu) {
  const int16_t state = mForm.WindowState();
  const auto gray = [hMenu](WPARAM id, bool grayed) {
    EnableMenuItem(hMenu, static_cast<UINT>(id), MF_BYCOMMAND | (grayed ? MF_GRAYED : MF_ENABLED));
  };
  gray(SC_RESTORE, state == vbNormal);
  gray(SC_MOVE, true);
  gray(SC_SIZE, true);
  gray(SC_MINIMIZE, state == vbMinimized);
  gray(SC_MAXIMIZE, !Sizable(mForm.Style()) || state == vbMaximized);
}

}  // namespace platform::qt
