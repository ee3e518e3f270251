#pragma once
// A text box of several lines (QPlainTextEdit). Its text uses CR LF between
// lines, as the program writes them.
#include <QPlainTextEdit>

#include "platform/TextBox.h"
#include "platform/qt/QtControl.h"

namespace platform::qt {

class QtMultiLineTextBox final : public QtControl<ITextBox> {
 public:
  QtMultiLineTextBox(IControl& container, std::string name);
  std::string Text() const override;
  void SetText(const std::string& text) override;
  bool Locked() const override;
  void SetLocked(bool locked) override;
  OleColor BackColor() const override { return mBackColor; }
  void SetBackColor(OleColor color) override;
  int16_t BorderStyle() const override;
  void SetBorderStyle(int16_t style) override;

 private:
  QPlainTextEdit* Edit() const { return static_cast<QPlainTextEdit*>(mWidget.data()); }
  OleColor mBackColor = SystemColor(COLOR_WINDOW);
};

}  // namespace platform::qt
