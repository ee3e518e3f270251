#include "platform/qt/QtLabel.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/QtConvert.h"

namespace platform::qt {

class LabelWidget final : public QWidget {
 public:
  LabelWidget(QtLabel& label, QWidget* parent) : QWidget(parent), mLabel(label) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (mLabel.mBackStyle != 0) p.fillRect(rect(), ToQColor(mLabel.mBackColor));
    p.setFont(mLabel.mQFont);
    p.setPen(ToQColor(mLabel.mForeColor));
    const QFontMetrics& fm = mLabel.mMetrics;
    int y = 0;
    for (const QString& line : ToQ(mLabel.mCaption).split(QLatin1Char('\n'))) {
      if (mLabel.mUseMnemonic) p.drawText(QRect(0, y, width(), fm.height()), Qt::TextShowMnemonic, line);
      else p.drawText(0, y + fm.ascent(), line);
      y += fm.height();
    }
  }

  // Presses go to the label only when it handles the mouse; otherwise they
  // pass on to the container, as if the label were not there.
  bool HandlesMouse() const { return mLabel.MouseDown || mLabel.MouseUp || mLabel.Click; }
  void mousePressEvent(QMouseEvent* e) override {
    if (!HandlesMouse()) {
      e->ignore();
      return;
    }
    Raise(mLabel.MouseDown, e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (!HandlesMouse()) {
      e->ignore();
      return;
    }
    Raise(mLabel.MouseUp, e);
    if (mLabel.Click && rect().contains(e->position().toPoint())) mLabel.Click();
  }
  void mouseMoveEvent(QMouseEvent* e) override { e->ignore(); }

 private:
  void Raise(const std::function<void(int16_t, int16_t, double, double)>& handler, QMouseEvent* e) {
    if (!handler) return;
    const QPointF p = e->position();
    handler(VbButton(e->button()), VbShift(e->modifiers()), p.x() * TppX(), p.y() * TppY());
  }

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
    for (const QString& line : lines) {
      width = std::max(width, mUseMnemonic ? fm.size(Qt::TextShowMnemonic, line).width() : fm.horizontalAdvance(line));
    }
    mWidget->resize(width, fm.height() * static_cast<int>(lines.size()));
  }
  mWidget->update();
}

void QtLabel::SetCaption(const std::string& caption) {
  mCaption = caption;
  UpdateMnemonic();
  Changed();
}
void QtLabel::SetUseMnemonic(bool useMnemonic) {
  mUseMnemonic = useMnemonic;
  UpdateMnemonic();
  Changed();
}

void QtLabel::UpdateMnemonic() {
  if (!mWidget) return;
  const QKeySequence key = mUseMnemonic ? QKeySequence::mnemonic(ToQ(mCaption)) : QKeySequence();
  if (key.isEmpty()) {
    delete mMnemonic;
    mMnemonic = nullptr;
    return;
  }
  if (!mMnemonic) {
    // Active while the label is shown and enabled, as Qt's own mnemonics are.
    mMnemonic = new QShortcut(mWidget);
    mMnemonic->setContext(Qt::WindowShortcut);
    QWidget* label = mWidget;
    QObject::connect(mMnemonic, &QShortcut::activated, label, [label] {
      // The next control in the focus chain that takes the focus by Tab.
      for (QWidget* next = label->nextInFocusChain(); next && next != label; next = next->nextInFocusChain()) {
        if (next->window() == label->window() && (next->focusPolicy() & Qt::TabFocus) && next->isVisible() &&
            next->isEnabled()) {
          next->setFocus(Qt::ShortcutFocusReason);
          return;
        }
      }
    });
  }
  mMnemonic->setKey(key);
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
void QtLabel::SetMousePointer(int16_t pointer) {
  mPointer = pointer;
  if (!mWidget) return;
  if (pointer == vbCustom) mWidget->setCursor(Qt::PointingHandCursor);
  else mWidget->unsetCursor();
}
void QtLabel::SetFont(const StdFont& font) {
  mFont = font;
  mFont.Size = SnapFontSize(font.Size);
  mQFont = ToQFont(mFont);
  mMetrics = QFontMetrics(mQFont);
  Changed();
}

}  // namespace platform::qt
