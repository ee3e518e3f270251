#include "platform/qt/QtMultiLineTextBox.h"

#include <QPalette>
#include <QTextDocument>

#include "platform/qt/QtConvert.h"

namespace platform::qt {

QtMultiLineTextBox::QtMultiLineTextBox(IControl& container, std::string name)
    : QtControl<ITextBox>(new QPlainTextEdit(WidgetOf(container)), std::move(name), -1, &container) {
  // The text starts where a one-line box starts its own.
  Edit()->document()->setDocumentMargin(2);
  QObject::connect(Edit(), &QPlainTextEdit::textChanged, [this] {
    if (Change) Change();
  });
  mWidget->show();
}

std::string QtMultiLineTextBox::Text() const {
  if (!Edit()) return {};
  return FromQ(Edit()->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}
void QtMultiLineTextBox::SetText(const std::string& text) {
  if (Edit()) Edit()->setPlainText(ToQ(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}
bool QtMultiLineTextBox::Locked() const { return Edit() && Edit()->isReadOnly(); }
void QtMultiLineTextBox::SetLocked(bool locked) {
  if (Edit()) Edit()->setReadOnly(locked);
}
void QtMultiLineTextBox::SetBackColor(OleColor color) {
  mBackColor = color;
  if (!Edit()) return;
  QPalette pal = Edit()->palette();
  pal.setColor(QPalette::Base, ToQColor(color));
  Edit()->setPalette(pal);
}
int16_t QtMultiLineTextBox::BorderStyle() const {
  return Edit() && Edit()->frameShape() != QFrame::NoFrame ? 1 : 0;
}
void QtMultiLineTextBox::SetBorderStyle(int16_t style) {
  if (Edit()) Edit()->setFrameShape(style != 0 ? QFrame::StyledPanel : QFrame::NoFrame);
}

}  // namespace platform::qt
