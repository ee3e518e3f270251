#include "platform/qt/QtPictureBox.h"

#include <QPaintEvent>
#include <QPainter>

namespace platform::qt {

class PictureWidget final : public QWidget {
 public:
  PictureWidget(QtPictureBox& box, QWidget* parent) : QWidget(parent), mBox(box) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (mBox.Paint) {
      mBox.mInPaint = true;
      mBox.Paint();
      mBox.mInPaint = false;
    }
    QPainter p(this);
    p.drawImage(event->rect(), mBox.mCanvas->Image(), event->rect());
  }
  void resizeEvent(QResizeEvent*) override {
    mBox.mCanvas->Resize(width(), height());
    if (mBox.Resize) mBox.Resize();
  }

 private:
  QtPictureBox& mBox;
};

QtPictureBox::QtPictureBox(IControl& container, std::string name)
    : SurfaceMixin<QtControl<IPictureBox>>(nullptr, std::move(name), -1, &container) {
  mCanvas = std::make_unique<SurfaceCanvas>(TppX(), TppY(), [this] {
    if (!mInPaint && mWidget) mWidget->update();
  });
  mWidget = new PictureWidget(*this, WidgetOf(container));
  mCanvas->Resize(mWidget->width(), mWidget->height());
  mWidget->show();
}

QtPictureBox::~QtPictureBox() { delete mWidget.data(); }

void QtPictureBox::Refresh() {
  if (mWidget) mWidget->repaint();
}

}  // namespace platform::qt
