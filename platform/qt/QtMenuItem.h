#pragma once
// An item of a form's menu bar as a QAction: a menu of the bar, an item of
// a menu, or a submenu once items are made under it.
#include <QPointer>

#include "platform/MenuBar.h"

class QAction;
class QMenu;

namespace platform::qt {

class QtForm;

class QtMenuItem final : public IMenuItem {
 public:
  // parent nullptr: a menu of the form's menu bar.
  QtMenuItem(QtForm& form, QtMenuItem* parent, const MenuItemStyle& style);
  ~QtMenuItem() override;
  QtMenuItem(const QtMenuItem&) = delete;
  QtMenuItem& operator=(const QtMenuItem&) = delete;

  std::string Name() const override { return mName; }
  int16_t Index() const override { return mIndex; }
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  bool Checked() const override { return mChecked; }
  void SetChecked(bool checked) override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  bool Visible() const override;
  void SetVisible(bool visible) override;

  QAction* Action() const { return mAction.data(); }

 private:
  // The menu that holds the items made under this one.
  QMenu* SubMenu();
  void Triggered();
  // A menu of the bar changed: the bar's height may have.
  void BarChanged();

  std::string mName;
  int16_t mIndex;
  bool mChecked;
  QPointer<QAction> mAction;
  QPointer<QMenu> mMenu;
  // The form of a menu of the bar, valid while mMenu lives.
  QtForm* mForm = nullptr;
};

}  // namespace platform::qt
