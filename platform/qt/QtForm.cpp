#include "platform/qt/QtForm.h"

#include <algorithm>

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPainter>
#include <QWindow>

#include "platform/qt/QtConvert.h"
#include "platform/qt/QtFormMessages.h"

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
      mForm.mInPaint = true;
      try {
        mForm.Events.Paint();
      } catch (...) {
        mForm.mInPaint = false;
        throw;
      }
      mForm.mInPaint = false;
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

 protected:
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
};

namespace {
Qt::WindowFlags FlagsFor(const FormStyle& style) {
  Qt::WindowFlags flags = Qt::Window;
  const bool titleless = style.BorderStyle == vbBSNone || (style.Caption.empty() && !style.ControlBox);
  if (titleless) flags |= Qt::FramelessWindowHint;
  if (!style.ShowInTaskbar) flags |= Qt::Tool;
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
  QtControl::Move(left, top, width, height);
  if (!sizable) mMessages->ApplyTrackSize();
  LayoutClient();
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
  if (mWidget->isMinimized()) return vbMinimized;
  if (mWidget->isMaximized()) return vbMaximized;
  return vbNormal;
}

void QtForm::SetWindowState(int16_t state) {
  if (!mWidget) return;
  switch (state) {
    case vbMinimized: mWidget->showMinimized(); break;
    case vbMaximized: mWidget->showMaximized(); break;
    default: mWidget->showNormal(); break;
  }
}

bool QtForm::TopMost() const { return mWidget && mWidget->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void QtForm::SetTopMost(bool topMost) {
  // Changing the flag re-creates the native window: only on a real change.
  if (!mWidget || TopMost() == topMost) return;
  const bool shown = mWidget->isVisible();
  mWidget->setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
  KeepQuitOnClose();
  if (shown) mWidget->show();
}

void QtForm::KeepQuitOnClose() {
  // The program ends when its last form closes, whatever kind of window it
  // is; Qt leaves tool windows (no taskbar entry) out unless told.
  if (mWidget) mWidget->setAttribute(Qt::WA_QuitOnClose, true);
}

void QtForm::Show() {
  if (!mWidget) return;
  mMessages->ApplyTrackSize();
  mWidget->show();
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
