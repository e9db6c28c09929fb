// The host's context menu for a parameter, its items and targets, and the handler extension
// that creates it.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

class IPlugView;

#pragma pack(push, 16)

struct IContextMenuItem {
  enum Flags : int32 {
    kIsSeparator = 1 << 0,
    kIsDisabled = 1 << 1,
    kIsChecked = 1 << 2,
    kIsGroupStart = 1 << 3 | kIsDisabled,
    kIsGroupEnd = 1 << 4 | kIsSeparator,
  };

  String128 name;
  int32 tag;
  int32 flags;
};

#pragma pack(pop)

static_assert(sizeof(IContextMenuItem) == 264 && alignof(IContextMenuItem) == 4, "IContextMenuItem");
static_assert(offsetof(IContextMenuItem, tag) == 256 && offsetof(IContextMenuItem, flags) == 260,
              "IContextMenuItem");

class IContextMenuTarget : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x3CDF2E75, 0x85D34144, 0xBF86D36B, 0xD7C4894D);

  virtual tresult VST3ABI_CALL executeMenuItem(int32 tag) = 0;
};

class IContextMenu : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x2E93C863, 0x0C9C4588, 0x97DBECF5, 0xAD17817D);

  virtual int32 VST3ABI_CALL getItemCount() = 0;
  virtual tresult VST3ABI_CALL getItem(int32 index, IContextMenuItem* item, IContextMenuTarget** target) = 0;
  virtual tresult VST3ABI_CALL addItem(const IContextMenuItem* item, IContextMenuTarget* target) = 0;
  virtual tresult VST3ABI_CALL removeItem(const IContextMenuItem* item, IContextMenuTarget* target) = 0;
  // Coordinates relative to the plug-in view's top-left corner.
  virtual tresult VST3ABI_CALL popup(UCoord x, UCoord y) = 0;
};

class IComponentHandler3 : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x69F11617, 0xD26B400D, 0xA4B6B964, 0x7B6EBBAB);

  // paramID may be null; the menu is owned +1 by the caller.
  virtual IContextMenu* VST3ABI_CALL createContextMenu(IPlugView* plugView, const ParamID* paramID) = 0;
};

}  // namespace vst3abi
