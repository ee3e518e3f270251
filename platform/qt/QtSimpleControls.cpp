#include "platform/qt/QtSimpleControls.h"

#include <QEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QPalette>

#include "platform/Checked.h"
#include "platform/qt/QtConvert.h"

namespace platform::qt {

// ---- text box

QtTextBox::QtTextBox(IControl& container, std::string name)
    : QtControl<ITextBox>(new QLineEdit(WidgetOf(container)), std::move(name), -1, &container) {
  QObject::connect(Edit(), &QLineEdit::textChanged, [this] {
    if (Change) Change();
  });
  mWidget->show();
}
std::string QtTextBox::Text() const { return Edit() ? FromQ(Edit()->text()) : std::string(); }
void QtTextBox::SetText(const std::string& text) {
  if (Edit()) Edit()->setText(ToQ(text));
}
bool QtTextBox::Locked() const { return Edit() && Edit()->isReadOnly(); }
void QtTextBox::SetLocked(bool locked) {
  if (Edit()) Edit()->setReadOnly(locked);
}
void QtTextBox::SetBackColor(OleColor color) {
  mBackColor = color;
  if (!Edit()) return;
  QPalette pal = Edit()->palette();
  pal.setColor(QPalette::Base, ToQColor(color));
  Edit()->setPalette(pal);
}
int16_t QtTextBox::BorderStyle() const { return Edit() && Edit()->hasFrame() ? 1 : 0; }
void QtTextBox::SetBorderStyle(int16_t style) {
  if (Edit()) Edit()->setFrame(style != 0);
}

// ---- combo box

QtComboBox::QtComboBox(IControl& container, std::string name)
    : QtControl<IListControl>(new QComboBox(WidgetOf(container)), std::move(name), -1, &container) {
  Combo()->setEditable(true);
  Combo()->setInsertPolicy(QComboBox::NoInsert);
  // What the user types is the text: no completion from the entries.
  Combo()->setCompleter(nullptr);
  QObject::connect(Combo(), &QComboBox::editTextChanged, [this] {
    if (Change) Change();
  });
  QObject::connect(Combo(), &QComboBox::activated, [this] {
    if (Click) Click();
  });
  mWidget->show();
}
void QtComboBox::Clear() {
  if (Combo()) Combo()->clear();
}
void QtComboBox::AddItem(const std::string& item) {
  if (!Combo()) return;
  // Appending leaves the selection and the edited text alone (Qt would
  // select the first entry of an empty list).
  const QSignalBlocker quiet(Combo());
  const int index = Combo()->currentIndex();
  const QString text = Combo()->currentText();
  Combo()->addItem(ToQ(item));
  Combo()->setCurrentIndex(index);
  Combo()->setEditText(text);
}
int16_t QtComboBox::ListCount() const { return Combo() ? static_cast<int16_t>(Combo()->count()) : 0; }
std::string QtComboBox::List(int16_t index) const { return Combo() ? FromQ(Combo()->itemText(index)) : std::string(); }
int16_t QtComboBox::ListIndex() const { return Combo() ? static_cast<int16_t>(Combo()->currentIndex()) : -1; }
void QtComboBox::SetListIndex(int16_t index) {
  if (!Combo()) return;
  if (index < -1 || index >= Combo()->count()) RaiseError(errInvalidCall);
  Combo()->setCurrentIndex(index);
  if (Click) Click();
}
std::string QtComboBox::Text() const { return Combo() ? FromQ(Combo()->currentText()) : std::string(); }
void QtComboBox::SetText(const std::string& text) {
  if (Combo()) Combo()->setEditText(ToQ(text));
}

int16_t QtComboBox::Style() const { return Combo() && !Combo()->isEditable() ? 2 : 0; }
void QtComboBox::SetStyle(int16_t style) {
  if (!Combo() || (style != 0 && style != 2)) return;
  const QSignalBlocker quiet(Combo());
  Combo()->setEditable(style == 0);
  if (style == 0) {
    Combo()->setInsertPolicy(QComboBox::NoInsert);
    Combo()->setCompleter(nullptr);
  }
}

// ---- list box

QtListBox::QtListBox(IControl& container, std::string name)
    : QtControl<IListControl>(new QListWidget(WidgetOf(container)), std::move(name), -1, &container) {
  QObject::connect(ListWidget(), &QListWidget::currentRowChanged, [this] {
    if (Click) Click();
  });
  mWidget->show();
}
void QtListBox::Clear() {
  if (ListWidget()) ListWidget()->clear();
}
void QtListBox::AddItem(const std::string& item) {
  if (ListWidget()) ListWidget()->addItem(ToQ(item));
}
int16_t QtListBox::ListCount() const { return ListWidget() ? static_cast<int16_t>(ListWidget()->count()) : 0; }
std::string QtListBox::List(int16_t index) const {
  if (!ListWidget() || index < 0 || index >= ListWidget()->count()) return {};
  return FromQ(ListWidget()->item(index)->text());
}
int16_t QtListBox::ListIndex() const { return ListWidget() ? static_cast<int16_t>(ListWidget()->currentRow()) : -1; }
void QtListBox::SetListIndex(int16_t index) {
  if (!ListWidget()) return;
  if (index < -1 || index >= ListWidget()->count()) RaiseError(errInvalidCall);
  ListWidget()->setCurrentRow(index);
}
std::string QtListBox::Text() const { return List(ListIndex()); }
void QtListBox::SetText(const std::string& text) {
  if (!ListWidget()) return;
  const auto found = ListWidget()->findItems(ToQ(text), Qt::MatchExactly);
  if (!found.isEmpty()) ListWidget()->setCurrentItem(found.first());
}

// ---- frame

QtFrame::QtFrame(IControl& container, std::string name)
    : QtControl<IFrame>(new QGroupBox(WidgetOf(container)), std::move(name), -1, &container) {
  mWidget->show();
}
std::string QtFrame::Caption() const {
  return mWidget ? FromQ(static_cast<QGroupBox*>(mWidget.data())->title()) : std::string();
}
void QtFrame::SetCaption(const std::string& caption) {
  if (mWidget) static_cast<QGroupBox*>(mWidget.data())->setTitle(ToQ(caption));
}

namespace {
// Keeps a widget from painting itself; its children still paint.
class NoPaint final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Paint; }
};
}  // namespace

void QtFrame::SetBorderStyle(int16_t style) {
  if (!mWidget || (style != 0 && style != 1) || style == mBorderStyle) return;
  mBorderStyle = style;
  // Without a border the group box draws nothing of its own.
  if (style == 0) {
    mNoPaint = new NoPaint(mWidget);
    mWidget->installEventFilter(mNoPaint);
  } else {
    delete mNoPaint;
    mNoPaint = nullptr;
  }
  mWidget->update();
}
void QtFrame::ZOrder(int16_t position) {
  if (!mWidget) return;
  if (position == 0) mWidget->raise();
  else mWidget->lower();
}

// ---- line

class LineWidget final : public QWidget {
 public:
  LineWidget(QtLine& line, QWidget* parent) : QWidget(parent), mLine(line) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QPen pen(ToQColor(mLine.mBorderColor));
    pen.setWidth(mLine.mBorderWidth);
    p.setPen(pen);
    const QPoint origin = pos();
    p.drawLine(QPoint(TwipsToPxX(mLine.mX1), TwipsToPxY(mLine.mY1)) - origin,
               QPoint(TwipsToPxX(mLine.mX2), TwipsToPxY(mLine.mY2)) - origin);
  }

 private:
  QtLine& mLine;
};

QtLine::QtLine(IControl& container, std::string name, int16_t index)
    : QtControl<ILine>(nullptr, std::move(name), index, &container) {
  mWidget = new LineWidget(*this, WidgetOf(container));
  if (index >= 0) {
    mOwnedArray = std::make_unique<LineArray>();
    mOwnedArray->Highest = index;
    mOwnedArray->Owner = this;
    mArray = mOwnedArray.get();
  }
  Place();
  mWidget->show();
}

void QtLine::Place() {
  if (!mWidget) return;
  const int w = mBorderWidth;
  const int l = std::min(TwipsToPxX(mX1), TwipsToPxX(mX2)), r = std::max(TwipsToPxX(mX1), TwipsToPxX(mX2));
  const int t = std::min(TwipsToPxY(mY1), TwipsToPxY(mY2)), b = std::max(TwipsToPxY(mY1), TwipsToPxY(mY2));
  mWidget->setGeometry(l, t, r - l + w, b - t + w);
  mWidget->update();
}

void QtLine::SetEnds(double x1, double y1, double x2, double y2) {
  mX1 = x1;
  mY1 = y1;
  mX2 = x2;
  mY2 = y2;
  Place();
}

void QtLine::Move(double left, double top, double, double) {
  const double dx = left - std::min(mX1, mX2), dy = top - std::min(mY1, mY2);
  SetEnds(mX1 + dx, mY1 + dy, mX2 + dx, mY2 + dy);
}

void QtLine::SetBorderColor(OleColor color) {
  mBorderColor = color;
  if (mWidget) mWidget->update();
}

void QtLine::SetBorderWidth(int16_t width) {
  mBorderWidth = width < 1 ? 1 : width;
  Place();
}

ILine* QtLine::LoadNextElement() {
  if (!mArray || !Container()) return nullptr;
  const int16_t index = checked::Add16(mArray->Highest, 1);
  auto element = std::make_unique<QtLine>(*Container(), Name(), index);
  element->mOwnedArray.reset();
  element->mArray = mArray;
  element->SetVisible(false);
  mArray->Highest = index;
  mArray->Loaded.push_back(std::move(element));
  return mArray->Loaded.back().get();
}

ILine* QtLine::Element(int16_t index) {
  if (!mArray) return nullptr;
  if (mArray->Owner && mArray->Owner->Index() == index) return mArray->Owner;
  for (const auto& element : mArray->Loaded)
    if (element->Index() == index) return element.get();
  return nullptr;
}

}  // namespace platform::qt
