#pragma once
// What every form and child control offers: its kind, name, place in a
// control array, container, geometry (twips) and visibility.
#include <cstdint>
#include <string>

namespace platform {

enum class ControlKind {
  Form,
  PictureBox,
  Label,
  TextBox,
  CheckBox,
  ComboBox,
  ListBox,
  CommandButton,
  Frame,
  Line,
  VScrollBar,
};

class IControl {
 public:
  virtual ~IControl() = default;

  virtual ControlKind Kind() const = 0;
  virtual std::string Name() const = 0;
  // The element's index in its control array, −1 when it is not in one.
  virtual int16_t Index() const { return -1; }
  // The form, frame or picture surface holding the control; nullptr for a form.
  virtual IControl* Container() const = 0;

  // Geometry in twips, relative to the container (a form: to the screen).
  virtual double Left() const = 0;
  virtual double Top() const = 0;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
  virtual void Move(double left, double top, double width, double height) = 0;
  void SetLeft(double v) { Move(v, Top(), Width(), Height()); }
  void SetTop(double v) { Move(Left(), v, Width(), Height()); }
  void SetWidth(double v) { Move(Left(), Top(), v, Height()); }
  void SetHeight(double v) { Move(Left(), Top(), Width(), v); }

  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // A disabled control takes neither keys nor clicks (its own setting, not
  // its container's).
  virtual bool Enabled() const { return true; }
  virtual void SetEnabled(bool) {}

  // Gives the control the keyboard focus.
  virtual void SetFocus() {}
};

}  // namespace platform
