#pragma once
// A line control: a drawn line with end points in twips of its container.
#include <cstdint>

#include "platform/Color.h"
#include "platform/Control.h"

namespace platform {

class ILine : public IControl {
 public:
  ControlKind Kind() const override { return ControlKind::Line; }

  virtual double X1() const = 0;
  virtual double Y1() const = 0;
  virtual double X2() const = 0;
  virtual double Y2() const = 0;
  virtual void SetEnds(double x1, double y1, double x2, double y2) = 0;
  virtual OleColor BorderColor() const = 0;
  virtual void SetBorderColor(OleColor color) = 0;
  virtual int16_t BorderWidth() const = 0;
  virtual void SetBorderWidth(int16_t width) = 0;

  // Creates the next element of this line's control array (index one past
  // the highest), in the same container and hidden; the array owns it.
  // nullptr when the line is not an element of a control array.
  virtual ILine* LoadNextElement() = 0;
  // The element of this line's control array with that index (this line
  // included); nullptr when there is none.
  virtual ILine* Element(int16_t index) { return index >= 0 && index == Index() ? this : nullptr; }
};

}  // namespace platform
