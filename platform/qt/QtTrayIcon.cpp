#include "platform/qt/QtTrayIcon.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <cmath>
#include <numbers>

#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/X11Desktop.h"

namespace platform::qt {

namespace {

QPixmap ClockFace(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const double r = size / 2.0;
  const QPointF centre(r, r);
  const double pen = std::max(1.0, size / 16.0);
  p.setPen(QPen(QColor(40, 40, 40), pen));
  p.setBrush(QColor(250, 250, 245));
  p.drawEllipse(centre, r - pen, r - pen);
  // Hands at ten past ten.
  const auto hand = [&](double minutes, double length, double width) {
    const double angle = minutes / 60.0 * 2.0 * std::numbers::pi;
    p.setPen(QPen(QColor(20, 20, 20), width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(std::sin(angle), -std::cos(angle)) * length);
  };
  hand(50.8, r * 0.5, std::max(1.0, size / 10.0));
  hand(10.0, r * 0.72, std::max(1.0, size / 14.0));
  return pixmap;
}

}  // namespace

QIcon ClockIcon() {
  if (!QApplication::windowIcon().isNull()) return QApplication::windowIcon();
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64}) icon.addPixmap(ClockFace(size));
  return icon;
}

QtTrayIcon::QtTrayIcon() : mContext(std::make_unique<QObject>()), mMenu(std::make_unique<QMenu>()) {
  mToolTip = QApplication::applicationName();
  QObject::connect(mMenu.get(), &QMenu::aboutToShow, mContext.get(), [this] { RebuildMenu(); });
  SetSystemMenuChanged([this](HWND hWnd) {
    if (hWnd == mhWnd) ScheduleRebuild();
  });
  // A tray that starts or ends later (a panel started after the clock, as
  // at login): looked at again once the event loop is free.
  mTrayChanged.setSingleShot(true);
  QObject::connect(&mTrayChanged, &QTimer::timeout, mContext.get(), [this] { UpdateIcon(); });
  x11::WatchSystemTray([this] { mTrayChanged.start(0); });
}

QtTrayIcon::~QtTrayIcon() {
  x11::WatchSystemTray(nullptr);
  SetSystemMenuChanged(nullptr);
  mIcon.reset();
}

void QtTrayIcon::SetWindow(HWND hWnd) {
  mhWnd = IsWindow(hWnd) ? hWnd : 0;
  RebuildMenu();
  UpdateIcon();
}

void QtTrayIcon::SetToolTip(const std::string& text) {
  const QString tip = ToQ(text);
  if (tip == mToolTip) return;
  mToolTip = tip;
  if (mIcon) mIcon->setToolTip(tip);
}

std::string QtTrayIcon::ToolTip() const { return FromQ(mToolTip); }

void QtTrayIcon::UpdateIcon() {
  mInTray = mhWnd != 0 && QSystemTrayIcon::isSystemTrayAvailable();
  if (!mInTray) {
    if (mIcon) mIcon->hide();
    return;
  }
  if (mIcon) {
    // Shown afresh: the icon docks in the tray that is there now.
    mIcon->hide();
  } else {
    mIcon = std::make_unique<QSystemTrayIcon>(ClockIcon());
    mIcon->setContextMenu(mMenu.get());
    // A plain click opens the same menu.
    QObject::connect(mIcon.get(), &QSystemTrayIcon::activated, mContext.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                       if (reason == QSystemTrayIcon::Trigger) mMenu->popup(QCursor::pos());
                     });
  }
  mIcon->setToolTip(mToolTip);
  mIcon->show();
}

void QtTrayIcon::ScheduleRebuild() {
  if (mRebuildPending) return;
  mRebuildPending = true;
  QMetaObject::invokeMethod(mContext.get(), [this] { RebuildMenu(); }, Qt::QueuedConnection);
}

void QtTrayIcon::RebuildMenu() {
  mRebuildPending = false;
  if (!IsWindow(mhWnd)) mhWnd = 0;
  if (mhWnd != 0) Send(WM_INITMENU, static_cast<WPARAM>(GetSystemMenu(mhWnd, 0)));
  mMenu->clear();
  for (const MenuItem& item : SystemMenuItems(mhWnd)) {
    if (item.IsSeparator()) {
      mMenu->addSeparator();
      continue;
    }
    QAction* action = mMenu->addAction(ToQ(item.Text));
    action->setEnabled((item.Flags & (MF_GRAYED | MF_DISABLED)) == 0);
    const WPARAM id = item.Id;
    // After the menu has closed: the command may change or end the menu.
    QObject::connect(action, &QAction::triggered, mContext.get(), [this, id] {
      QMetaObject::invokeMethod(mContext.get(), [this, id] { Choose(id); }, Qt::QueuedConnection);
    });
  }
}

void QtTrayIcon::Choose(WPARAM id) {
  if (IsWindow(mhWnd)) Send(WM_SYSCOMMAND, id);
}

void QtTrayIcon::Send(UINT uMsg, WPARAM wParam) {
  // A failing handler is reported and the program goes on; a programming
  // error stops it, as everywhere.
  try {
    SendMessage(mhWnd, uMsg, wParam, 0);
  } catch (const std::logic_error&) {
    throw;
  } catch (const RuntimeError& error) {
    MessageBox().Show(error.Description(), vbCritical, Application::Title());
  } catch (const std::exception& error) {
    MessageBox().Show(error.what(), vbCritical, Application::Title());
  }
}

}  // namespace platform::qt
