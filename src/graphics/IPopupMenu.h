// IPopupMenu and IPopupMenuItem: the menu model the engine offers a parameter's choices with and
// the window turns into a native (or our own) popup menu.
#pragma once

#include "base/PtrList.h"
#include "base/StrBuf.h"

class IPopupMenu;

class IPopupMenuItem {
 public:
  enum Flags {
    kNoFlags = 0,
    kDisabled = 1 << 0,
    kTitle = 1 << 1,
    kChecked = 1 << 2,
    kSeparator = 1 << 3,
  };

  IPopupMenuItem(const char* text, int flags = kNoFlags) : mText(text ? text : ""), mFlags(flags) {}
  // The submenu is not owned.
  IPopupMenuItem(const char* text, IPopupMenu* submenu)
      : mText(text ? text : ""), mSubmenu(submenu), mFlags(kNoFlags) {}

  void SetChecked(bool checked) { mFlags = checked ? (mFlags | kChecked) : (mFlags & ~kChecked); }
  void SetEnabled(bool enabled) { mFlags = enabled ? (mFlags & ~kDisabled) : (mFlags | kDisabled); }

  const char* GetText() const { return mText.Get(); }
  IPopupMenu* GetSubmenu() const { return mSubmenu; }
  int GetFlags() const { return mFlags; }
  bool GetEnabled() const { return !(mFlags & kDisabled); }
  bool GetChecked() const { return (mFlags & kChecked) != 0; }
  bool GetIsTitle() const { return (mFlags & kTitle) != 0; }
  bool GetIsSeparator() const { return (mFlags & kSeparator) != 0; }

 private:
  StrBuf mText;
  IPopupMenu* mSubmenu = nullptr;
  int mFlags;
};

class IPopupMenu {
 public:
  IPopupMenu() = default;
  ~IPopupMenu();
  IPopupMenu(const IPopupMenu&) = delete;
  IPopupMenu& operator=(const IPopupMenu&) = delete;

  // index -1 appends; other negative values insert first, indices past the end append.
  IPopupMenuItem* AddItem(IPopupMenuItem* item, int index = -1);
  IPopupMenuItem* AddItem(const char* text, int index = -1, int flags = IPopupMenuItem::kNoFlags);
  IPopupMenuItem* AddItem(const char* text, int index, IPopupMenu* submenu);
  IPopupMenuItem* AddItem(const char* text, IPopupMenu* submenu);
  IPopupMenuItem* AddSeparator(int index = -1);

  IPopupMenuItem* GetItem(int index) const { return mMenuItems.Get(index); }
  // "" outside the list.
  const char* GetItemText(int index) const;
  int GetNItems() const { return mMenuItems.GetSize(); }

  // 0 none, 1 "%1d: ", 2 "%02d: ", 3 "%03d: " before each item's text; other values are ignored.
  void SetPrefix(int count);
  int GetPrefix() const { return mPrefix; }
  void SetChosenItemIdx(int index) { mChosenItemIdx = index; }
  int GetChosenItemIdx() const { return mChosenItemIdx; }

  bool CheckItem(int index, bool state);
  void CheckItemAlone(int index);
  bool IsItemChecked(int index) const;

 private:
  int mPrefix = 0;
  int mChosenItemIdx = -1;
  PtrList<IPopupMenuItem> mMenuItems{4096};
};
