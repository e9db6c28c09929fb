// The host's context menu for an editor (IContextMenu): the host's own items, then any the plug-in
// adds, shown as a small X11 popup whose corner is at the point the plug-in names in its view.
// Choosing an item runs the host's action or calls the plug-in's target. The popup does not block:
// it lives on the host's run loop until an item is chosen or it is dismissed (Escape, a click
// outside). All calls come on the host's UI thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/vst3/HostRunLoop.h"
#include "host/vst3/Ref.h"
#include "host/vst3/RefCount.h"
#include "vst3/abi/ContextMenu.h"
#include "vst3/abi/RunLoop.h"

typedef struct _XDisplay Display;

namespace qvhost {

class ContextMenu final : public vst3abi::IContextMenu,
                          public vst3abi::IEventHandler,
                          public vst3abi::ITimerHandler {
 public:
  using Action = std::function<void()>;

  // parentWindow: the host window the plug-in's view fills, whose corner is the view's origin.
  ContextMenu(HostRunLoop* loop, unsigned long parentWindow);

  // One of the host's own items, before the plug-in's; flags as IContextMenuItem::Flags.
  void addHostItem(const std::string& name, vst3abi::int32 flags, Action action);

  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override;

  vst3abi::int32 VST3ABI_CALL getItemCount() override { return static_cast<vst3abi::int32>(mItems.size()); }
  // The target is lent, not given: no reference is added. Host items have none.
  vst3abi::tresult VST3ABI_CALL getItem(vst3abi::int32 index, vst3abi::IContextMenuItem* item,
                                        vst3abi::IContextMenuTarget** target) override;
  vst3abi::tresult VST3ABI_CALL addItem(const vst3abi::IContextMenuItem* item,
                                        vst3abi::IContextMenuTarget* target) override;
  vst3abi::tresult VST3ABI_CALL removeItem(const vst3abi::IContextMenuItem* item,
                                           vst3abi::IContextMenuTarget* target) override;
  // Shows the menu and returns at once; false when it is already shown, empty, or no window can
  // be made.
  vst3abi::tresult VST3ABI_CALL popup(vst3abi::UCoord x, vst3abi::UCoord y) override;

  void VST3ABI_CALL onFDIsSet(vst3abi::FileDescriptor fd) override;
  void VST3ABI_CALL onTimer() override;

  // Closes the popup without choosing anything.
  void dismiss();
  bool isShown() const { return mDisplay != nullptr; }
  unsigned long window() const { return mWindow; }
  // The point popup was given, in view coordinates.
  int popupX() const { return mPopupX; }
  int popupY() const { return mPopupY; }
  std::vector<std::string> itemNames() const;
  // The popup's corner and an item's centre on the screen; false while not shown.
  bool screenOrigin(int* x, int* y) const;
  bool itemCentre(int index, int* x, int* y) const;

 private:
  struct Item {
    vst3abi::IContextMenuItem item;
    Ref<vst3abi::IContextMenuTarget> target;
    Action action;
  };

  ~ContextMenu();
  int count() const { return static_cast<int>(mItems.size()); }
  void close();
  void tryGrab();
  void draw();
  int itemAt(int x, int y) const;
  int itemTop(int index) const;
  int itemHeight(int index) const;
  bool selectable(int index) const;
  void choose(int index);

  RefCount mRefs;
  Ref<HostRunLoop> mLoop;
  unsigned long mParent;
  std::vector<Item> mItems;
  int mHostItems = 0;
  int mPopupX = -1, mPopupY = -1;

  // While shown: the popup's own display connection, window and drawing state.
  Display* mDisplay = nullptr;
  unsigned long mWindow = 0;
  void* mGC = nullptr;
  void* mFont = nullptr;
  int mX = 0, mY = 0, mWidth = 0, mHeight = 0;
  int mAscent = 0, mRow = 0;
  int mHighlight = -1;
  bool mPressedInside = false;
  bool mPressedOutside = false;
  bool mPointerGrabbed = false;
  bool mKeyboardGrabbed = false;
};

}  // namespace qvhost
