#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/gdi.h"
#include "ui/text.h"

namespace ui {

class Control;

// A key with its modifiers, matched exactly: Tab is not Shift+Tab. key 0: none.
struct Shortcut {
  UINT key = 0;  // a virtual-key code: VK_ESCAPE, VK_TAB, VK_UP, 'V', ...
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool operator==(const Shortcut&) const = default;
  [[nodiscard]] bool Empty() const { return key == 0; }
  // The text shown beside the caption ("Esc", "Shift+Tab", "Ctrl+Up", "V").
  [[nodiscard]] std::wstring Name() const;
};

struct MenuItemArgs {
  TextArg caption;  // "-": a separator
  Shortcut shortcut{};
  std::function<void()> onClick{};
  bool enabled = true;
};

class MenuItem {
 public:
  explicit MenuItem(MenuItemArgs args);

  [[nodiscard]] bool IsSeparator() const { return caption_ == L"-"; }
  [[nodiscard]] const std::wstring& Caption() const { return caption_; }
  void SetCaption(TextArg caption) { caption_ = std::move(caption).Value(); }
  [[nodiscard]] const Shortcut& GetShortcut() const { return shortcut_; }
  void SetShortcut(Shortcut shortcut) { shortcut_ = shortcut; }
  [[nodiscard]] bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  // Runs OnClick when set and the item is enabled.
  void Click();

  // Re-bindable at any time, also from inside its own handler.
  std::function<void()> OnClick;

 private:
  std::wstring caption_;
  Shortcut shortcut_;
  bool enabled_;
};

// A context menu, attached with Control::SetPopupMenu to a control or a form (which does not
// own it: the menu must outlive the attachment). Its shortcuts work while the keyboard focus is
// in the control that carries it or in a child of it: the application's message loop offers
// every key press to the menus of the focused window and of its parents up to the form before
// dialog navigation, so Tab and Esc reach the menu; the key is swallowed when an item fires.
// With AutoPopup off, a right click shows nothing.
class PopupMenu {
 public:
  PopupMenu() = default;
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;
  ~PopupMenu();

  MenuItem& Add(MenuItemArgs args);
  MenuItem& AddSeparator() { return Add({.caption = L"-"}); }
  [[nodiscard]] int Count() const { return static_cast<int>(items_.size()); }
  [[nodiscard]] MenuItem& Item(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

  [[nodiscard]] bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }

  // The enabled item with this shortcut, or nullptr.
  [[nodiscard]] MenuItem* FindShortcut(const Shortcut& shortcut) const;
  // Runs the item of the shortcut; false when none has it.
  bool DispatchShortcut(const Shortcut& shortcut);
  // Shows the menu at a screen point, owned by a window, and runs the chosen item.
  void Popup(HWND owner, POINT screenPoint);

 private:
  friend class Control;
  std::vector<std::unique_ptr<MenuItem>> items_;
  std::vector<Control*> attached_;  // told when the menu goes
  bool autoPopup_ = true;
};

// The shortcut that a key-down message stands for (modifiers from the keyboard state).
[[nodiscard]] Shortcut ShortcutFromKey(UINT virtualKey);

}  // namespace ui
