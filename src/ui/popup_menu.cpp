#include "ui/popup_menu.h"

#include <algorithm>

#include "ui/control.h"

namespace ui {

std::wstring Shortcut::Name() const {
  if (key == 0) return {};
  std::wstring name;
  if (ctrl) name += L"Ctrl+";
  if (shift) name += L"Shift+";
  if (alt) name += L"Alt+";
  switch (key) {
    case VK_ESCAPE: name += L"Esc"; break;
    case VK_TAB: name += L"Tab"; break;
    case VK_UP: name += L"Up"; break;
    case VK_DOWN: name += L"Down"; break;
    case VK_LEFT: name += L"Left"; break;
    case VK_RIGHT: name += L"Right"; break;
    case VK_RETURN: name += L"Enter"; break;
    case VK_DELETE: name += L"Del"; break;
    default:
      if (key >= VK_F1 && key <= VK_F24) {
        name += L"F" + std::to_wstring(key - VK_F1 + 1);
      } else {
        name += static_cast<wchar_t>(key);
      }
  }
  return name;
}

Shortcut ShortcutFromKey(UINT virtualKey) {
  return {.key = virtualKey,
          .shift = GetKeyState(VK_SHIFT) < 0,
          .ctrl = GetKeyState(VK_CONTROL) < 0,
          .alt = GetKeyState(VK_MENU) < 0};
}

MenuItem::MenuItem(MenuItemArgs args)
    : OnClick(std::move(args.onClick)),
      caption_(std::move(args.caption).Value()),
      shortcut_(args.shortcut),
      enabled_(args.enabled) {}

void MenuItem::Click() {
  if (!enabled_ || !OnClick) return;
  // A copy: the handler may bind OnClick anew while it runs.
  const std::function<void()> handler = OnClick;
  handler();
}

PopupMenu::~PopupMenu() {
  for (Control* control : std::vector<Control*>(attached_)) control->SetPopupMenu(nullptr);
}

MenuItem& PopupMenu::Add(MenuItemArgs args) {
  items_.push_back(std::make_unique<MenuItem>(std::move(args)));
  return *items_.back();
}

MenuItem* PopupMenu::FindShortcut(const Shortcut& shortcut) const {
  if (shortcut.Empty()) return nullptr;
  for (const auto& item : items_) {
    if (!item->IsSeparator() && item->Enabled() && item->GetShortcut() == shortcut) return item.get();
  }
  return nullptr;
}

bool PopupMenu::DispatchShortcut(const Shortcut& shortcut) {
  MenuItem* item = FindShortcut(shortcut);
  if (item == nullptr) return false;
  item->Click();
  return true;
}

void PopupMenu::Popup(HWND owner, POINT screenPoint) {
  MenuHandle menu(CreatePopupMenu());
  if (!menu) return;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const MenuItem& item = *items_[i];
    if (item.IsSeparator()) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring text = item.Caption();
    if (!item.GetShortcut().Empty()) text += L"\t" + item.GetShortcut().Name();
    AppendMenuW(menu.get(), MF_STRING | (item.Enabled() ? 0U : MF_GRAYED), i + 1, text.c_str());
  }
  // Without the owner in front, the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  const UINT_PTR chosen = static_cast<UINT_PTR>(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen >= 1 && chosen <= items_.size()) items_[chosen - 1]->Click();
}

}  // namespace ui
