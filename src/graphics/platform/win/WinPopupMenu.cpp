// IPopupMenu to HMENU and back. Command ids number the items of every level in one list, so the
// one id TrackPopupMenu returns says which menu and which item.
#include "graphics/platform/win/WinPopupMenu.h"

#include "base/WideText.h"
#include "graphics/platform/shared/PopupMenuModel.h"

#include <utility>
#include <vector>

namespace {

// A menu that contains itself must not be built forever.
constexpr int kMaxDepth = 8;

using ItemList = std::vector<std::pair<IPopupMenu*, int>>;

HMENU BuildMenu(IPopupMenu* menu, ItemList* items, int depth) {
  HMENU handle = CreatePopupMenu();
  if (!handle) return nullptr;
  for (int i = 0; i < menu->GetNItems(); ++i) {
    const IPopupMenuItem* item = menu->GetItem(i);
    if (!item) continue;
    if (item->GetIsSeparator()) {
      AppendMenuW(handle, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::wstring label = Utf8ToWide(PopupMenuLabel(*menu, i).c_str());
    UINT flags = MF_STRING;
    if (!item->GetEnabled() || item->GetIsTitle()) flags |= MF_GRAYED;
    if (item->GetChecked()) flags |= MF_CHECKED;
    IPopupMenu* sub = item->GetSubmenu();
    HMENU subHandle = sub && depth < kMaxDepth ? BuildMenu(sub, items, depth + 1) : nullptr;
    if (subHandle) {
      AppendMenuW(handle, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(subHandle), label.c_str());
    } else {
      items->emplace_back(menu, i);
      AppendMenuW(handle, flags, static_cast<UINT_PTR>(items->size()), label.c_str());
    }
  }
  return handle;
}

}  // namespace

IPopupMenu* RunSystemPopupMenu(HWND owner, IPopupMenu* menu, POINT at) {
  if (!menu || menu->GetNItems() == 0) return nullptr;
  ItemList items;
  HMENU handle = BuildMenu(menu, &items, 0);
  if (!handle) return nullptr;
  const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON;
  const int id = static_cast<int>(TrackPopupMenu(handle, flags, at.x, at.y, 0, owner, nullptr));
  // Destroying the top menu destroys its submenus with it.
  DestroyMenu(handle);
  if (id <= 0 || static_cast<size_t>(id) > items.size()) return nullptr;
  IPopupMenu* chosen = items[static_cast<size_t>(id) - 1].first;
  chosen->SetChosenItemIdx(items[static_cast<size_t>(id) - 1].second);
  return chosen;
}
