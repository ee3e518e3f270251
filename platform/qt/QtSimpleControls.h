#pragma once
// Text boxes, combo and list boxes, frames and line controls over Qt widgets.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <memory>
#include <vector>

#include "platform/Frame.h"
#include "platform/LineControl.h"
#include "platform/ListControl.h"
#include "platform/TextBox.h"
#include "platform/qt/QtControl.h"

namespace platform::qt {

class QtTextBox final : public QtControl<ITextBox> {
 public:
  QtTextBox(IControl& container, std::string name);
  std::string Text() const override;
  void SetText(const std::string& text) override;
  bool Locked() const override;
  void SetLocked(bool locked) override;
  OleColor BackColor() const override { return mBackColor; }
  void SetBackColor(OleColor color) override;
  int16_t BorderStyle() const override;
  void SetBorderStyle(int16_t style) override;

 private:
  QLineEdit* Edit() const { return static_cast<QLineEdit*>(mWidget.data()); }
  OleColor mBackColor = SystemColor(COLOR_WINDOW);
};

class QtComboBox final : public QtControl<IListControl> {
 public:
  QtComboBox(IControl& container, std::string name);
  ControlKind Kind() const override { return ControlKind::ComboBox; }
  void Clear() override;
  void AddItem(const std::string& item) override;
  int16_t ListCount() const override;
  std::string List(int16_t index) const override;
  int16_t ListIndex() const override;
  void SetListIndex(int16_t index) override;
  std::string Text() const override;
  void SetText(const std::string& text) override;
  int16_t Style() const override;
  void SetStyle(int16_t style) override;

 private:
  QComboBox* Combo() const { return static_cast<QComboBox*>(mWidget.data()); }
};

class QtListBox final : public QtControl<IListControl> {
 public:
  QtListBox(IControl& container, std::string name);
  ControlKind Kind() const override { return ControlKind::ListBox; }
  void Clear() override;
  void AddItem(const std::string& item) override;
  int16_t ListCount() const override;
  std::string List(int16_t index) const override;
  int16_t ListIndex() const override;
  void SetListIndex(int16_t index) override;
  std::string Text() const override;
  void SetText(const std::string& text) override;

 private:
  QListWidget* ListWidget() const { return static_cast<QListWidget*>(mWidget.data()); }
};

class QtFrame final : public QtControl<IFrame> {
 public:
  QtFrame(IControl& container, std::string name);
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  int16_t BorderStyle() const override { return mBorderStyle; }
  void SetBorderStyle(int16_t style) override;
  void ZOrder(int16_t position) override;

 private:
  int16_t mBorderStyle = 1;
  QObject* mNoPaint = nullptr;  // owned by the widget
};

class QtLine final : public QtControl<ILine> {
 public:
  QtLine(IControl& container, std::string name, int16_t index);
  double X1() const override { return mX1; }
  double Y1() const override { return mY1; }
  double X2() const override { return mX2; }
  double Y2() const override { return mY2; }
  void SetEnds(double x1, double y1, double x2, double y2) override;
  OleColor BorderColor() const override { return mBorderColor; }
  void SetBorderColor(OleColor color) override;
  int16_t BorderWidth() const override { return mBorderWidth; }
  void SetBorderWidth(int16_t width) override;
  ILine* LoadNextElement() override;
  ILine* Element(int16_t index) override;

  // Geometry follows the end points; Move shifts the line.
  void Move(double left, double top, double width, double height) override;

 private:
  friend class LineWidget;
  void Place();

  double mX1 = 0, mY1 = 0, mX2 = 0, mY2 = 0;
  OleColor mBorderColor = SystemColor(COLOR_WINDOWTEXT);
  int16_t mBorderWidth = 1;
  // The elements loaded later, owned by the element they were loaded from
  // first; every element refers to the same array record.
  struct LineArray {
    std::vector<std::unique_ptr<QtLine>> Loaded;
    int16_t Highest = 0;
    QtLine* Owner = nullptr;
  };
  std::unique_ptr<LineArray> mOwnedArray;
  LineArray* mArray = nullptr;
};

}  // namespace platform::qt
