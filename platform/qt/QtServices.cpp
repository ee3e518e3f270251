#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <cmath>
#include <vector>

#include "platform/Form.h"
#include "platform/qt/QtControl.h"
#include "platform/qt/QtConvert.h"

namespace platform::qt {
namespace {

double LogicalDpi(bool horizontal) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 96.0;
  const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
  return dpi > 0 ? dpi : 96.0;
}

}  // namespace

// Twips per pixel rounded to an integer, as the program's geometry expects.
double QtScreen::TwipsPerPixelX() const { return std::round(1440.0 / LogicalDpi(true)); }
double QtScreen::TwipsPerPixelY() const { return std::round(1440.0 / LogicalDpi(false)); }

double QtScreen::Width() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().width() * TwipsPerPixelX() : 0;
}
double QtScreen::Height() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().height() * TwipsPerPixelY() : 0;
}

void QtScreen::SetMousePointer(int16_t pointer) {
  if (pointer == mPointer) return;
  if (mPointer != vbDefault) QGuiApplication::restoreOverrideCursor();
  mPointer = pointer;
  if (pointer == vbHourglass) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else if (pointer == vbArrow) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  else if (pointer != vbDefault) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
}

std::string QtScreen::DefaultGuiFontFace() const {
  return FromQ(QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family());
}

PixelRect QtScreen::WorkArea(const IForm* window) const {
  const QScreen* screen = nullptr;
  if (const QWidget* widget = window ? WidgetOf(*window) : nullptr) screen = widget->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return PixelRect{};
  const QRect area = screen->availableGeometry();
  return PixelRect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

namespace {

// Runs a message box and gives the keyboard back to the window that had it:
// without a window manager nobody else does, and that window's keys (its
// Alt shortcuts) would stay dead until it is clicked.
bool gEnding = false;
std::vector<QMessageBox*> gOpenBoxes;

void RunBox(QMessageBox& box) {
  const QPointer<QWidget> before = QApplication::activeWindow();
  gOpenBoxes.push_back(&box);
  box.exec();
  std::erase(gOpenBoxes, &box);
  if (before && before->isVisible()) before->activateWindow();
}

}  // namespace

void QtMessageBox::EndAll() {
  gEnding = true;
  for (QMessageBox* box : gOpenBoxes) box->done(0);
}

int32_t QtMessageBox::Show(const std::string& prompt, int32_t style, const std::string& title) {
  const int32_t buttons = style & 0x7;
  const int32_t cautious = buttons == vbYesNo ? vbNo : buttons == vbOKCancel ? vbCancel : vbOK;
  if (gEnding) return cautious;
  QMessageBox box;
  box.setWindowTitle(ToQ(title));
  // A carriage return alone or before a line feed breaks the line, as
  // Windows shows it.
  QString text = ToQ(prompt);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  box.setText(text);
  switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  switch (buttons) {
    case vbYesNo: {
      box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
      QAbstractButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
      RunBox(box);
      if (gEnding) return cautious;
      return box.clickedButton() == no ? vbNo : vbYes;
    }
    case vbOKCancel: {
      box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      QAbstractButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
      RunBox(box);
      if (gEnding) return cautious;
      return box.clickedButton() == cancel ? vbCancel : vbOK;
    }
    default:
      box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      RunBox(box);
      return vbOK;
  }
}

void QtClipboard::Clear() { QGuiApplication::clipboard()->clear(); }
void QtClipboard::SetText(const std::string& text) { QGuiApplication::clipboard()->setText(ToQ(text)); }
std::string QtClipboard::GetText() const { return FromQ(QGuiApplication::clipboard()->text()); }

}  // namespace platform::qt
