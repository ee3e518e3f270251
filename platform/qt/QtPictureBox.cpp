#include "platform/qt/QtPictureBox.h"

#include <QFileInfo>
#include <QFocusEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "platform/ScopedValue.h"
#include "platform/qt/QtConvert.h"

namespace platform::qt {

class PictureWidget final : public QWidget {
 public:
  PictureWidget(QtPictureBox& box, QWidget* parent) : QWidget(parent), mBox(box) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (mBox.Paint) {
      ScopedValue inPaint(mBox.mInPaint, true);
      mBox.Paint();
    }
    QPainter p(this);
    mBox.mCanvas->PaintTo(p, event->rect());
    if (mBox.mBorderStyle == 1) {
      p.setPen(QColor(0, 0, 0));
      p.drawRect(0, 0, width() - 1, height() - 1);
    }
  }
  void resizeEvent(QResizeEvent*) override { mBox.SizeChanged(); }
  void mousePressEvent(QMouseEvent* e) override {
    setFocus(Qt::MouseFocusReason);
    Raise(mBox.MouseDown, e, e->button());
  }
  void mouseMoveEvent(QMouseEvent* e) override { Raise(mBox.MouseMove, e, e->buttons()); }
  void mouseReleaseEvent(QMouseEvent* e) override { Raise(mBox.MouseUp, e, e->button()); }
  void keyPressEvent(QKeyEvent* e) override {
    int16_t code = VbKeyCode(e->key());
    if (mBox.KeyDown && code != 0) mBox.KeyDown(code, VbShift(e->modifiers()));
    else QWidget::keyPressEvent(e);
  }
  void wheelEvent(QWheelEvent* e) override {
    const int delta = e->angleDelta().y();
    if (!mBox.MouseWheel || delta == 0) {
      e->ignore();
      return;
    }
    mBox.MouseWheel(delta, VbShift(e->modifiers()));
  }
  // Switching to another window keeps the focus where it is, as far as the
  // window's controls are concerned.
  void focusInEvent(QFocusEvent* e) override {
    QWidget::focusInEvent(e);
    if (mBox.GotFocus && !IsWindowSwitch(e)) mBox.GotFocus();
  }
  void focusOutEvent(QFocusEvent* e) override {
    QWidget::focusOutEvent(e);
    if (mBox.LostFocus && !IsWindowSwitch(e)) mBox.LostFocus();
  }

 private:
  using MouseHandler = std::function<void(int16_t, int16_t, double, double)>;
  void Raise(const MouseHandler& handler, QMouseEvent* e, Qt::MouseButtons buttons) {
    if (!handler) return;
    const QPoint p = e->position().toPoint();
    handler(VbButton(buttons), VbShift(e->modifiers()), mBox.mCanvas->FromPxX(p.x()), mBox.mCanvas->FromPxY(p.y()));
  }

  static bool IsWindowSwitch(const QFocusEvent* e) {
    return e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason;
  }

  QtPictureBox& mBox;
};

QtPictureBox::QtPictureBox(IControl& container, std::string name)
    : SurfaceMixin<QtControl<IPictureBox>>(nullptr, std::move(name), -1, &container) {
  mCanvas = std::make_unique<SurfaceCanvas>(TppX(), TppY(), [this] {
    if (!mInPaint && mWidget && mWidget->isVisible()) mWidget->update();
  });
  mWidget = new PictureWidget(*this, WidgetOf(container));
  mCanvas->Resize(mWidget->width(), mWidget->height());
  mWidget->show();
}

QtPictureBox::~QtPictureBox() { delete mWidget.data(); }

void QtPictureBox::Move(double left, double top, double width, double height) {
  QtControl::Move(left, top, width, height);
  SizeChanged();
}

// Hidden widgets get their resize event only when shown; the surface and its
// Resize event follow a new size at once, and only once.
void QtPictureBox::SizeChanged() {
  if (!mWidget) return;
  const QSize size = mWidget->size();
  mCanvas->Resize(size.width(), size.height());
  if (size == mReportedSize) return;
  mReportedSize = size;
  if (Resize) Resize();
}

void QtPictureBox::Refresh() {
  if (mWidget && mWidget->isVisible()) mWidget->update();
}

void QtPictureBox::SetBorderStyle(int16_t style) {
  mBorderStyle = style == 1 ? 1 : 0;
  if (mWidget) mWidget->update();
}

void QtPictureBox::FitToPicture() {
  if (!mWidget || !mCanvas->HasPicture()) return;
  const QSize size = mCanvas->PictureSize();
  mWidget->resize(size);
  SizeChanged();
  mCanvas->Cls();
}

void QtPictureBox::SetAutoSize(bool value) {
  mAutoSize = value;
  if (value) FitToPicture();
}

void QtPictureBox::LoadPicture(const std::string& path) {
  const QString file = ToQ(path);
  const QFileInfo info(file);
  if (path.empty() || !info.exists() || !info.isFile()) RaiseError(errFileNotFound);
  QImageReader reader(file);
  reader.setDecideFormatFromContent(true);
  const QImage image = reader.read();
  if (image.isNull()) RaiseError(errInvalidPicture);
  mCanvas->SetPicture(image);
  if (mAutoSize) FitToPicture();
}

void QtPictureBox::ClearPicture() { mCanvas->SetPicture(QImage()); }

void QtPictureBox::PaintPicture(const IPictureBox& source, int32_t srcX, int32_t srcY, int32_t srcWidth,
                                int32_t srcHeight, int32_t dstX, int32_t dstY, int32_t dstWidth, int32_t dstHeight) {
  const auto* qtSource = dynamic_cast<const QtPictureBox*>(&source);
  if (!qtSource || srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0) return;
  mCanvas->DrawImage(QRect(dstX, dstY, dstWidth, dstHeight),
                     qtSource->mCanvas->Region(QRect(srcX, srcY, srcWidth, srcHeight)));
}

bool QtPictureBox::SaveImage(const std::string& path, int32_t x, int32_t y, int32_t width, int32_t height) const {
  if (width <= 0 || height <= 0) return false;
  return mCanvas->Region(QRect(x, y, width, height)).save(ToQ(path));
}

void QtPictureBox::SetMousePointer(int16_t pointer) {
  mPointer = pointer;
  if (!mWidget) return;
  if (pointer == vbCustom) mWidget->setCursor(Qt::PointingHandCursor);
  else if (pointer == vbHourglass) mWidget->setCursor(Qt::WaitCursor);
  else mWidget->unsetCursor();
}

std::string QtPictureBox::ToolTipText() const { return mWidget ? FromQ(mWidget->toolTip()) : std::string(); }
void QtPictureBox::SetToolTipText(const std::string& text) {
  if (mWidget) mWidget->setToolTip(ToQ(text));
}

}  // namespace platform::qt
