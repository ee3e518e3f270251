#include "platform/qt/QtLabel.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/qt/QtConvert.h"

namespace platform::qt {

class LabelWidget final : public QWidget {
 public:
  LabelWidget(QtLabel& label, QWidget* parent) : QWidget(parent), mLabel(label) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (mLabel.mBackStyle != 0) p.fillRect(rect(), ToQColor(mLabel.mBackColor));
    p.setFont(mLabel.mQFont);
    p.setPen(ToQColor(mLabel.mForeColor));
    const QFontMetrics& fm = mLabel.mMetrics;
    int y = 0;
    for (const QString& line : ToQ(mLabel.mCaption).split(QLatin1Char('\n'))) {
      p.drawText(0, y + fm.ascent(), line);
      y += fm.height();
    }
  }

 private:
  QtLabel& mLabel;
};

QtLabel::QtLabel(IControl& container, std::string name, int16_t index)
    : QtControl<ILabel>(nullptr, std::move(name), index, &container) {
  mQFont = ToQFont(mFont);
  mMetrics = QFontMetrics(mQFont);
  mWidget = new LabelWidget(*this, WidgetOf(container));
  mWidget->show();
}

void QtLabel::Changed() {
  if (!mWidget) return;
  if (mAutoSize) {
    const QFontMetrics& fm = mMetrics;
    int width = 0;
    const QStringList lines = ToQ(mCaption).split(QLatin1Char('\n'));
    for (const QString& line : lines) width = std::max(width, fm.horizontalAdvance(line));
    mWidget->resize(width, fm.height() * static_cast<int>(lines.size()));
  }
  mWidget->update();
}

void QtLabel::SetCaption(const std::string& caption) {
  mCaption = caption;
  Changed();
}
void QtLabel::SetAutoSize(bool autoSize) {
  mAutoSize = autoSize;
  Changed();
}
void QtLabel::SetBackStyle(int16_t style) {
  mBackStyle = style;
  Changed();
}
void QtLabel::SetBackColor(OleColor color) {
  mBackColor = color;
  Changed();
}
void QtLabel::SetForeColor(OleColor color) {
  mForeColor = color;
  Changed();
}
void QtLabel::SetFont(const StdFont& font) {
  mFont = font;
  mFont.Size = SnapFontSize(font.Size);
  mQFont = ToQFont(mFont);
  mMetrics = QFontMetrics(mQFont);
  Changed();
}

}  // namespace platform::qt
