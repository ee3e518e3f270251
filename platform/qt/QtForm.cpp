#include "platform/qt/QtForm.h"

#include <algorithm>

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPalette>
#include <QPainter>
#include <QWindow>

#include "platform/ScopedValue.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtFormMessages.h"
#include "platform/qt/X11Desktop.h"

namespace platform::qt {

// The widget of a form: shows the surface's image and turns Qt's events
// into the form's events.
class FormWidget final : public QWidget {
 public:
  FormWidget(QtForm& form, Qt::WindowFlags flags) : QWidget(nullptr, flags), mForm(form) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    // The surface keeps what was drawn: Paint is raised only when the image
    // lost its content (new size, Refresh), not for every exposed piece,
    // such as the region under a transparent label that changed its text.
    if (mForm.Events.Paint && mForm.mNeedsPaint) {
      mForm.mNeedsPaint = false;
      ScopedValue inPaint(mForm.mInPaint, true);
      mForm.Events.Paint();
    }
    QPainter p(this);
    const int top = mForm.ClientTop();
    p.drawImage(event->rect(), mForm.mCanvas->Image(), event->rect().translated(0, -top));
  }
  void hideEvent(QHideEvent*) override {
    if (mForm.mModalLoop) mForm.mModalLoop->quit();
  }
  void resizeEvent(QResizeEvent*) override {
    mForm.LayoutClient();
    mForm.mNeedsPaint = true;
    if (mForm.Events.Resize) mForm.Events.Resize();
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (StartResize(e)) return;
    mPressGlobal = e->globalPosition().toPoint();
    Raise(mForm.Events.MouseDown, e, e->button());
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (mResizing) {
      ResizeTo(e->globalPosition().toPoint());
      return;
    }
    if (mDragging) {
      move(mDragOrigin + e->globalPosition().toPoint() - mPressGlobal);
      return;
    }
    UpdateResizeCursor(e);
    Raise(mForm.Events.MouseMove, e, e->buttons());
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (mResizing) {
      mResizing = {};
      return;
    }
    if (mDragging) {
      mDragging = false;
      return;
    }
    Raise(mForm.Events.MouseUp, e, e->button());
  }

 public:
  // The window manager's move loop; without a window manager that offers
  // one, the window follows the pointer until the button is released.
  void BeginSystemMove() {
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    mDragging = true;
    mDragOrigin = pos();
  }

  // Watches the window system's state changes of the native window: a
  // window that the window manager had iconified and now shows again was
  // restored by the user (a taskbar entry, a window list), as Windows
  // reports it with WM_SYSCOMMAND SC_RESTORE.
  void WatchWindowState() {
    QWindow* window = windowHandle();
    // Only an X window manager restores windows by itself.
    if (!window || window == mWatched || !x11::Available()) return;
    mWatched = window;
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched == mWatched && e->type() == QEvent::WindowStateChange && e->spontaneous()) {
      if (mWatched->windowStates() & Qt::WindowMinimized) {
        if (!mIconicSeen && !mIconicClock.isValid()) mIconicClock.start();
        mIconicSeen = true;
      } else if (mIconicSeen) {
        mIconicSeen = false;
        // Some window managers (mutter) show a window mapped iconified
        // again at once, on their own: that first restore is undone.
        const bool settling = !mRestoredOnce && mIconicClock.elapsed() < 1500;
        mRestoredOnce = true;
        // After Qt has finished with the change.
        QMetaObject::invokeMethod(
            this,
            [this, settling] {
              if (settling) {
                showMinimized();
              } else {
                mForm.RestoredBySystem();
              }
            },
            Qt::QueuedConnection);
      }
    }
    return QWidget::eventFilter(watched, e);
  }

  void mouseDoubleClickEvent(QMouseEvent*) override {
    if (mForm.Events.DblClick) mForm.Events.DblClick();
  }
  void keyPressEvent(QKeyEvent* e) override {
    int16_t code = VbKeyCode(e->key());
    if (mForm.Events.KeyDown && code != 0) mForm.Events.KeyDown(code, VbShift(e->modifiers()));
  }
  void closeEvent(QCloseEvent* e) override {
    int16_t cancel = 0;
    if (mForm.Events.QueryUnload) mForm.Events.QueryUnload(cancel, mForm.mUnloadMode);
    if (cancel == 0 && mForm.Events.Unload) mForm.Events.Unload(cancel);
    if (cancel != 0) e->ignore();
    else e->accept();
  }

 private:
  using MouseHandler = std::function<void(int16_t, int16_t, double, double)>;
  void Raise(const MouseHandler& handler, QMouseEvent* e, Qt::MouseButtons buttons) {
    if (!handler) return;
    const QPoint p = e->position().toPoint() - QPoint(0, mForm.ClientTop());
    handler(VbButton(buttons), VbShift(e->modifiers()), mForm.mCanvas->FromPxX(p.x()), mForm.mCanvas->FromPxY(p.y()));
  }

  // A window without a title bar keeps a sizing frame: the outermost
  // pixels resize it.
  Qt::Edges EdgesAt(QPoint p) const {
    if (mForm.mStyle.BorderStyle != vbSizable && mForm.mStyle.BorderStyle != vbSizableToolWindow) return {};
    if (!(windowFlags() & Qt::FramelessWindowHint)) return {};
    constexpr int grip = 4;
    Qt::Edges edges;
    if (p.x() < grip) edges |= Qt::LeftEdge;
    if (p.x() >= width() - grip) edges |= Qt::RightEdge;
    if (p.y() < grip) edges |= Qt::TopEdge;
    if (p.y() >= height() - grip) edges |= Qt::BottomEdge;
    return edges;
  }
  // The window manager's resize loop; without a window manager that offers
  // one, the pressed edges follow the pointer until the button is released.
  bool StartResize(QMouseEvent* e) {
    const Qt::Edges edges = EdgesAt(e->position().toPoint());
    if (!edges || e->button() != Qt::LeftButton || !windowHandle()) return false;
    if (windowHandle()->startSystemResize(edges)) return true;
    mResizing = edges;
    mPressGlobal = e->globalPosition().toPoint();
    mResizeOrigin = geometry();
    return true;
  }
  void ResizeTo(QPoint global) {
    const QPoint d = global - mPressGlobal;
    const QSize least = minimumSize().expandedTo(QSize(1, 1));
    const QSize most = maximumSize();
    QRect r = mResizeOrigin;
    // The edge opposite the pressed one stays where it is.
    if (mResizing & Qt::LeftEdge) {
      r.setLeft(r.right() + 1 - std::clamp(r.width() - d.x(), least.width(), most.width()));
    } else if (mResizing & Qt::RightEdge) {
      r.setWidth(std::clamp(r.width() + d.x(), least.width(), most.width()));
    }
    if (mResizing & Qt::TopEdge) {
      r.setTop(r.bottom() + 1 - std::clamp(r.height() - d.y(), least.height(), most.height()));
    } else if (mResizing & Qt::BottomEdge) {
      r.setHeight(std::clamp(r.height() + d.y(), least.height(), most.height()));
    }
    if (r != geometry()) setGeometry(r);
  }
  void UpdateResizeCursor(QMouseEvent* e) {
    const Qt::Edges edges = EdgesAt(e->position().toPoint());
    if (!edges) {
      unsetCursor();
    } else if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge)) {
      setCursor(Qt::SizeFDiagCursor);
    } else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge)) {
      setCursor(Qt::SizeBDiagCursor);
    } else if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
      setCursor(Qt::SizeHorCursor);
    } else {
      setCursor(Qt::SizeVerCursor);
    }
  }

  QtForm& mForm;
  QPoint mPressGlobal;
  QPoint mDragOrigin;
  bool mDragging = false;
  Qt::Edges mResizing;
  QRect mResizeOrigin;
  QPointer<QWindow> mWatched;
  bool mIconicSeen = false;
  bool mRestoredOnce = false;
  QElapsedTimer mIconicClock;  // since the window was first seen iconified
};

namespace {
Qt::WindowFlags FlagsFor(const FormStyle& style) {
  Qt::WindowFlags flags = Qt::Window;
  const bool titleless = style.BorderStyle == vbBSNone || (style.Caption.empty() && !style.ControlBox);
  if (titleless) flags |= Qt::FramelessWindowHint;
  // On X11 a window without a taskbar entry says so by a hint
  // (QtForm::Show); a tool window would name a window of its own as its
  // owner, one the window manager does not know.
  if (!style.ShowInTaskbar && !x11::Available()) flags |= Qt::Tool;
  if (style.BorderStyle == vbFixedDialog) flags |= Qt::Dialog;
  return flags;
}
}  // namespace

QtForm::QtForm(const FormStyle& style)
    : SurfaceMixin<QtControl<IForm>>(nullptr, style.Name, -1, nullptr), mStyle(style) {
  mCanvas = std::make_unique<SurfaceCanvas>(TppX(), TppY(), [this] {
    if (!mInPaint && mWidget) mWidget->update();
  });
  auto* widget = new FormWidget(*this, FlagsFor(style));
  widget->setWindowTitle(ToQ(style.Caption));
  widget->setObjectName(ToQ(style.Name));
  // Disabled captions in the system's gray text, readable on the button
  // face the window is drawn in.
  QPalette palette = widget->palette();
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(QPalette::Disabled, role, ToQColor(SystemColor(COLOR_GRAYTEXT)));
  }
  widget->setPalette(palette);
  mWidget = widget;
  KeepQuitOnClose();
  LayoutClient();
  mMessages = std::make_unique<FormMessages>(*this);
}

QtForm::~QtForm() {
  mMessages.reset();
  // The widget goes first, while the canvas its events use still exists.
  delete mWidget.data();
}

HWND QtForm::hWnd() const { return mMessages->Handle(); }

void QtForm::Move(double left, double top, double width, double height) {
  const bool sizable = mStyle.BorderStyle == vbSizable || mStyle.BorderStyle == vbSizableToolWindow;
  if (sizable) {
    mMessages->ApplyTrackSize();
  } else if (mWidget) {
    // The program sizes a window that the user cannot.
    mWidget->setMinimumSize(0, 0);
    mWidget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  const QPoint before = mWidget ? mWidget->pos() : QPoint();
  QtControl::Move(left, top, width, height);
  if (!sizable) mMessages->ApplyTrackSize();
  LayoutClient();
  // Qt sends no move where its record says the window is there already;
  // after a move the window manager made by itself (a drag), that record
  // may be stale.
  const QPoint target(TwipsToPxX(left), TwipsToPxY(top));
  if (before == target && Placed()) {
    const std::optional<QPoint> real = x11::FramePosition(*mWidget->windowHandle());
    if (real && *real != target) x11::MoveFrame(*mWidget->windowHandle(), target);
  }
}

bool QtForm::Placed() const {
  return mWidget && mWidget->windowHandle() && mWidget->isVisible() && !mWidget->isMinimized() && x11::Available();
}

double QtForm::Left() const {
  if (Placed()) {
    if (const std::optional<QPoint> real = x11::FramePosition(*mWidget->windowHandle())) return real->x() * TppX();
  }
  return QtControl::Left();
}

double QtForm::Top() const {
  if (Placed()) {
    if (const std::optional<QPoint> real = x11::FramePosition(*mWidget->windowHandle())) return real->y() * TppY();
  }
  return QtControl::Top();
}

QWidget* QtForm::Widget() const { return mClient ? mClient.data() : mWidget.data(); }

QMenuBar* QtForm::MenuBar() {
  if (mMenuBar || !mWidget) return mMenuBar;
  auto* client = new QWidget(mWidget);
  client->setObjectName(QStringLiteral("client"));
  client->setMouseTracking(true);
  // Controls made before the menu bar move into the client area.
  for (QObject* child : mWidget->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (!widget || widget == client || widget->isWindow()) continue;
    const bool hidden = widget->isHidden();
    widget->setParent(client);
    widget->setVisible(!hidden);
  }
  mMenuBar = new QMenuBar(mWidget);
  // In the window, also on desktops that collect menus in a global bar.
  mMenuBar->setNativeMenuBar(false);
  mClient = client;
  LayoutClient();
  mMenuBar->show();
  client->show();
  return mMenuBar;
}

void QtForm::LayoutClient() {
  if (!mWidget) return;
  const int width = mWidget->width();
  int top = 0;
  if (mMenuBar) {
    top = mMenuBar->heightForWidth(width);
    if (top < 0) top = mMenuBar->sizeHint().height();
    mMenuBar->setGeometry(0, 0, width, top);
  }
  const int height = std::max(0, mWidget->height() - top);
  if (mClient) mClient->setGeometry(0, top, width, height);
  mCanvas->Resize(width, height);
}

std::string QtForm::Caption() const { return mWidget ? FromQ(mWidget->windowTitle()) : std::string(); }
void QtForm::SetCaption(const std::string& caption) {
  if (mWidget) mWidget->setWindowTitle(ToQ(caption));
}

int16_t QtForm::WindowState() const {
  if (!mWidget) return vbNormal;
  if (mWidget->isMinimized()) {
    // Asked for, but only the window manager iconifies a window; without
    // one (or before it has done so) the window is still on show.
    if (x11::Available() && mWidget->windowHandle() && mWidget->isVisible() &&
        !x11::IsIconic(*mWidget->windowHandle())) {
      return vbNormal;
    }
    return vbMinimized;
  }
  if (mWidget->isMaximized()) return vbMaximized;
  return vbNormal;
}

void QtForm::SetWindowState(int16_t state) {
  if (!mWidget) return;
  switch (state) {
    // A window not made yet is mapped iconified: no pixel shows. (Qt maps a
    // hidden window made earlier normal whatever its state.)
    case vbMinimized: mWidget->showMinimized(); break;
    case vbMaximized: mWidget->showMaximized(); break;
    default: mWidget->showNormal(); break;
  }
}

bool QtForm::TopMost() const { return mWidget && mWidget->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void QtForm::SetTopMost(bool topMost) {
  if (!mWidget || TopMost() == topMost) return;
  Qt::WindowFlags flags = mWidget->windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, topMost);
  if (QWindow* window = mWidget->windowHandle()) {
    // A window that exists keeps its native window: the state changes
    // (_NET_WM_STATE_ABOVE on X11), the window stays the same one.
    mWidget->overrideWindowFlags(flags);
    window->setFlags(flags);
    // Without a window manager the state means nothing: the window comes
    // to the front at least.
    if (topMost && mWidget->isVisible()) mWidget->raise();
    return;
  }
  mWidget->setWindowFlags(flags);
  KeepQuitOnClose();
}

void QtForm::KeepQuitOnClose() {
  // The program ends when its last form closes, whatever kind of window it
  // is; Qt leaves tool windows (no taskbar entry) out unless told.
  if (mWidget) mWidget->setAttribute(Qt::WA_QuitOnClose, true);
}

void QtForm::Show() {
  if (!mWidget) return;
  mMessages->ApplyTrackSize();
  if (!mStyle.ShowInTaskbar && !mWidget->isVisible() && x11::Available()) {
    // The hint goes on the native window before it is mapped; a window
    // manager drops it when the window is withdrawn.
    mWidget->winId();
    if (mWidget->windowHandle()) x11::SkipTaskbar(*mWidget->windowHandle(), false);
  }
  mWidget->show();
  static_cast<FormWidget*>(mWidget.data())->WatchWindowState();
}

void QtForm::RestoredBySystem() {
  if (mWidget) SendMessage(hWnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
}
void QtForm::ShowModal() {
  if (!mWidget) return;
  const QPointer<QWidget> widget = mWidget;
  widget->setWindowModality(Qt::ApplicationModal);
  Show();
  QEventLoop loop;
  QObject::connect(widget, &QObject::destroyed, &loop, &QEventLoop::quit);
  mModalLoop = &loop;
  if (widget->isVisible()) loop.exec(QEventLoop::DialogExec);
  // A window destroyed meanwhile took this form with it.
  if (!widget) return;
  mModalLoop = nullptr;
  widget->setWindowModality(Qt::NonModal);
}
void QtForm::Hide() {
  if (mWidget) mWidget->hide();
}
void QtForm::Activate() {
  if (!mWidget || mWidget->isHidden()) return;
  mWidget->raise();
  mWidget->activateWindow();
}
void QtForm::Unload() {
  if (!mWidget) return;
  const int16_t outer = mUnloadMode;
  mUnloadMode = 1;
  mWidget->close();
  mUnloadMode = outer;
}
void QtForm::CloseByUser() {
  if (mWidget) mWidget->close();
}
void QtForm::ZOrder(int16_t position) {
  if (!mWidget) return;
  if (position == 0) {
    mWidget->raise();
    mWidget->activateWindow();
  } else {
    mWidget->lower();
  }
}
void QtForm::Refresh() {
  mNeedsPaint = true;
  if (mWidget) mWidget->repaint();
}
void QtForm::BeginSystemMove() {
  if (auto* widget = static_cast<FormWidget*>(mWidget.data())) widget->BeginSystemMove();
}

}  // namespace platform::qt
