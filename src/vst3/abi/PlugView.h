// The editor view a controller creates and the host's frame around it, with the optional
// content-scale and parameter-finder extensions and the platform/key constants they use.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

#pragma pack(push, 16)

struct ViewRect {
  int32 left;
  int32 top;
  int32 right;
  int32 bottom;
};

#pragma pack(pop)

static_assert(sizeof(ViewRect) == 16 && alignof(ViewRect) == 4, "ViewRect");
static_assert(offsetof(ViewRect, right) == 8 && offsetof(ViewRect, bottom) == 12, "ViewRect");

// Parent window types passed to isPlatformTypeSupported and attached.
constexpr const char* kPlatformTypeHWND = "HWND";
constexpr const char* kPlatformTypeNSView = "NSView";
constexpr const char* kPlatformTypeHIView = "HIView";
constexpr const char* kPlatformTypeUIView = "UIView";
constexpr const char* kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";  // parent = XID cast to void*

enum KeyModifier : int16 {
  kShiftKey = 1 << 0,
  kAlternateKey = 1 << 1,
  kCommandKey = 1 << 2,
  kControlKey = 1 << 3,
};

// Virtual key codes for keys without a character; digits and letters are 128 + (ASCII - '0').
enum VirtualKeyCodes : int16 {
  kKeyBack = 1,
  kKeyTab,
  kKeyClear,
  kKeyReturn,
  kKeyPause,
  kKeyEscape,
  kKeySpace,
  kKeyNext,
  kKeyEnd,
  kKeyHome,
  kKeyLeft,
  kKeyUp,
  kKeyRight,
  kKeyDown,
  kKeyPageup,
  kKeyPagedown,
  kKeySelect,
  kKeyPrint,
  kKeyEnter,
  kKeySnapshot,
  kKeyInsert,
  kKeyDelete,
  kKeyHelp,
  kKeyNumpad0,
  kKeyNumpad1,
  kKeyNumpad2,
  kKeyNumpad3,
  kKeyNumpad4,
  kKeyNumpad5,
  kKeyNumpad6,
  kKeyNumpad7,
  kKeyNumpad8,
  kKeyNumpad9,
  kKeyMultiply,
  kKeyAdd,
  kKeySeparator,
  kKeySubtract,
  kKeyDecimal,
  kKeyDivide,
  kKeyF1,
  kKeyF2,
  kKeyF3,
  kKeyF4,
  kKeyF5,
  kKeyF6,
  kKeyF7,
  kKeyF8,
  kKeyF9,
  kKeyF10,
  kKeyF11,
  kKeyF12,
  kKeyNumlock,
  kKeyScroll,
  kKeyShift,
  kKeyControl,
  kKeyAlt,
  kKeyEquals,
  kKeyContextmenu,
  kKeyMediaPlay,
  kKeyMediaStop,
  kKeyMediaPrev,
  kKeyMediaNext,
  kKeyVolumeUp,
  kKeyVolumeDown,
  kKeyF13,
  kKeyF14,
  kKeyF15,
  kKeyF16,
  kKeyF17,
  kKeyF18,
  kKeyF19,
  kKeyF20,
  kKeyF21,
  kKeyF22,
  kKeyF23,
  kKeyF24,
  kKeySuper,
  kKeyFirstAscii = 128,
};
static_assert(kKeyF1 == 40 && kKeyNumlock == 52 && kKeyF13 == 65 && kKeySuper == 77, "virtual key numbering");

class IPlugFrame;

class IPlugView : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);

  virtual tresult VST3ABI_CALL isPlatformTypeSupported(FIDString type) = 0;
  virtual tresult VST3ABI_CALL attached(void* parent, FIDString type) = 0;
  virtual tresult VST3ABI_CALL removed() = 0;
  virtual tresult VST3ABI_CALL onWheel(float distance) = 0;
  // kResultTrue only for keys really consumed.
  virtual tresult VST3ABI_CALL onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult VST3ABI_CALL onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult VST3ABI_CALL getSize(ViewRect* size) = 0;
  virtual tresult VST3ABI_CALL onSize(ViewRect* newSize) = 0;
  virtual tresult VST3ABI_CALL onFocus(TBool state) = 0;
  virtual tresult VST3ABI_CALL setFrame(IPlugFrame* frame) = 0;
  virtual tresult VST3ABI_CALL canResize() = 0;
  virtual tresult VST3ABI_CALL checkSizeConstraint(ViewRect* rect) = 0;
};

class IPlugFrame : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);

  // The host calls the view's onSize from inside this call when the size changed.
  virtual tresult VST3ABI_CALL resizeView(IPlugView* view, ViewRect* newSize) = 0;
};

class IPlugViewContentScaleSupport : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);

  using ScaleFactor = float;
  virtual tresult VST3ABI_CALL setContentScaleFactor(ScaleFactor factor) = 0;
};

class IParameterFinder : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x0F618302, 0x215D4587, 0xA512073C, 0x77B9D383);

  virtual tresult VST3ABI_CALL findParameter(int32 xPos, int32 yPos, ParamID* resultTag) = 0;
};

}  // namespace vst3abi
