#pragma once
// A label: a windowless-looking child widget that paints its caption.
#include <QFont>
#include <QFontMetrics>
#include <QShortcut>

#include "platform/Label.h"
#include "platform/Screen.h"
#include "platform/qt/QtControl.h"

namespace platform::qt {

class QtLabel final : public QtControl<ILabel> {
 public:
  QtLabel(IControl& container, std::string name, int16_t index);

  std::string Caption() const override { return mCaption; }
  void SetCaption(const std::string& caption) override;
  bool AutoSize() const override { return mAutoSize; }
  void SetAutoSize(bool autoSize) override;
  int16_t BackStyle() const override { return mBackStyle; }
  void SetBackStyle(int16_t style) override;
  OleColor BackColor() const override { return mBackColor; }
  void SetBackColor(OleColor color) override;
  OleColor ForeColor() const override { return mForeColor; }
  void SetForeColor(OleColor color) override;
  bool UseMnemonic() const override { return mUseMnemonic; }
  void SetUseMnemonic(bool useMnemonic) override;
  int16_t MousePointer() const override { return mPointer; }
  void SetMousePointer(int16_t pointer) override;
  StdFont Font() const override { return mFont; }
  void SetFont(const StdFont& font) override;

 private:
  friend class LabelWidget;
  void Changed();
  // The Alt + letter shortcut of a mnemonic caption.
  void UpdateMnemonic();

  std::string mCaption;
  bool mAutoSize = false;
  int16_t mBackStyle = 1;
  OleColor mBackColor = SystemColor(COLOR_BTNFACE);
  OleColor mForeColor = SystemColor(COLOR_BTNTEXT);
  StdFont mFont;
  bool mUseMnemonic = false;
  QShortcut* mMnemonic = nullptr;  // owned by the widget
  int16_t mPointer = 0;
  // The Qt font and its metrics, made once per font rather than for every
  // new caption and every paint.
  QFont mQFont;
  QFontMetrics mMetrics{mQFont};
};

}  // namespace platform::qt
