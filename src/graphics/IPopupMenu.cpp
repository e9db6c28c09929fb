// IPopupMenu: the item list behind parameter menus.
#include "graphics/IPopupMenu.h"

IPopupMenu::~IPopupMenu() { mMenuItems.Empty(true); }

IPopupMenuItem* IPopupMenu::AddItem(IPopupMenuItem* item, int index) {
  if (!item) return nullptr;
  IPopupMenuItem* stored = index == -1 ? mMenuItems.Add(item) : mMenuItems.Insert(index, item);
  // The menu owns its items, so one it could not store must not leak.
  if (!stored) delete item;
  return stored;
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, int flags) {
  return AddItem(new IPopupMenuItem(text, flags), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, IPopupMenu* submenu) {
  return AddItem(new IPopupMenuItem(text, submenu), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, IPopupMenu* submenu) {
  return AddItem(new IPopupMenuItem(text, submenu), -1);
}

IPopupMenuItem* IPopupMenu::AddSeparator(int index) {
  return AddItem(new IPopupMenuItem("", IPopupMenuItem::kSeparator), index);
}

const char* IPopupMenu::GetItemText(int index) const {
  const IPopupMenuItem* item = mMenuItems.Get(index);
  return item ? item->GetText() : "";
}

void IPopupMenu::SetPrefix(int count) {
  if (count >= 0 && count <= 3) mPrefix = count;
}

bool IPopupMenu::CheckItem(int index, bool state) {
  IPopupMenuItem* item = mMenuItems.Get(index);
  if (!item) return false;
  item->SetChecked(state);
  return true;
}

void IPopupMenu::CheckItemAlone(int index) {
  for (int i = 0; i < mMenuItems.GetSize(); ++i) mMenuItems.Get(i)->SetChecked(i == index);
}

bool IPopupMenu::IsItemChecked(int index) const {
  const IPopupMenuItem* item = mMenuItems.Get(index);
  return item && item->GetChecked();
}
