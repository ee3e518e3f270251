#pragma once
// A window's menu bar: its menus, their items and submenus (the language's
// Menu controls). Items are live: caption, check mark, enabled state and
// visibility may change while the window runs, and choosing an item raises
// its Click. Captions mark their access key with "&"; "-" makes a separator.
// An item becomes a submenu when items are created under it.
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

struct MenuItemStyle {
  std::string Name;
  int16_t Index = -1;  // element of a menu control array, −1 for none
  std::string Caption;
  std::string Shortcut;  // key combination that chooses the item, "Ctrl+C"; empty for none
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  // The items of one array under one menu are a choice of one: their check
  // marks show as radio marks. Setting them stays the window's job.
  bool RadioCheck = false;
};

class IMenuItem {
 public:
  virtual ~IMenuItem() = default;
  virtual std::string Name() const = 0;
  virtual int16_t Index() const = 0;
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Choosing an item does not change its check mark; the Click handler does.
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;

  // The user chose the item (an item with a submenu opens it instead).
  std::function<void()> Click;
};

// An item that only keeps its state: the menus of a backend without a menu
// bar.
class MenuItemState final : public IMenuItem {
 public:
  explicit MenuItemState(const MenuItemStyle& style) : mStyle(style) {}
  std::string Name() const override { return mStyle.Name; }
  int16_t Index() const override { return mStyle.Index; }
  std::string Caption() const override { return mStyle.Caption; }
  void SetCaption(const std::string& caption) override { mStyle.Caption = caption; }
  bool Checked() const override { return mStyle.Checked; }
  void SetChecked(bool checked) override { mStyle.Checked = checked; }
  bool Enabled() const override { return mStyle.Enabled; }
  void SetEnabled(bool enabled) override { mStyle.Enabled = enabled; }
  bool Visible() const override { return mStyle.Visible; }
  void SetVisible(bool visible) override { mStyle.Visible = visible; }

 private:
  MenuItemStyle mStyle;
};

}  // namespace platform
