// IControl: a rectangle with a normalized value in [0, 1], optionally bound to one plug-in
// parameter, that draws itself into the engine's back buffer and reacts to the input the engine
// routes to it. The value, the dirty flags and auxiliary values are written by the audio thread
// (host automation, meters) while the UI thread draws, so they are relaxed atomics.
#pragma once

#include "base/StrBuf.h"
#include "graphics/IChannelBlend.h"
#include "graphics/IMouseMod.h"
#include "graphics/IRECT.h"
#include "graphics/IText.h"

#include <atomic>
#include <vector>

class IGraphics;
class IParam;
class IPlugin;
class ITextControl;

class IControl {
 public:
  // A further parameter the control follows; value is the last normalized value from the plug-in.
  struct AuxParam {
    std::atomic<double> mValue{0.0};
    int mParamIdx = -1;

    explicit AuxParam(int idx) : mParamIdx(idx) {}
    AuxParam(const AuxParam& o) : mValue(o.mValue.load(std::memory_order_relaxed)), mParamIdx(o.mParamIdx) {}
  };

  IControl(IPlugin* plug, const IRECT& rect, int paramIdx = -1,
           IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // ---- Virtual operations, in slot order -------------------------------------------------------
  virtual ~IControl();
  // The base prompts for a value on a right click.
  virtual void OnMouseDown(int x, int y, IMouseMod* mod);
  virtual void OnMouseUp(int, int, IMouseMod*) {}
  virtual void OnMouseDrag(int, int, int, int, IMouseMod*) {}
  // Restores the default value once the plug-in has sent one.
  virtual void OnMouseDblClick(int x, int y, IMouseMod* mod);
  virtual void OnMouseWheel(int, int, IMouseMod*, int) {}
  virtual bool OnKeyDown(int, int, int) { return false; }
  virtual void OnMouseOver(int, int, IMouseMod*) {}
  virtual void OnMouseOut() {}
  virtual bool Draw(IGraphics* graphics) = 0;
  virtual void SetValueFromPlug(double value);
  virtual void SetValueFromUserInput(double value);
  // A text entry for a control without a parameter.
  virtual void TextFromTextEntry(const char*) {}
  virtual void Hide(bool hide);
  virtual void GrayOut(bool gray);
  virtual bool IsHit(int x, int y);
  // Clamps, marks dirty and, when asked and bound, pushes the value to the plug-in and host.
  virtual void SetDirty(bool pushParamToPlug = true);
  virtual void SetClean();
  // A pending redraw request counts as dirty: the audio thread may raise it just after a draw pass
  // cleaned the control, and that change must still reach the screen.
  virtual bool IsDirty() {
    return mDirty.load(std::memory_order_relaxed) || mRedraw.load(std::memory_order_relaxed);
  }
  virtual void OnGUIIdle() {}
  virtual void SetAuxParamValueFromPlug(int auxIdx, double value);

  // ---- Prompts and auxiliary parameters ---------------------------------------------------------
  void PromptUserInput();
  void PromptUserInput(IRECT* textRect);
  void AddAuxParam(int paramIdx);
  AuxParam* GetAuxParam(int idx);
  int AuxParamIdx(int paramIdx) const;
  int NAuxParams() const { return static_cast<int>(mAuxParams.size()); }
  void SetAllAuxParamsFromGUI();

  // ---- Accessors -------------------------------------------------------------------------------
  IPlugin* GetPlug() const { return mPlug; }
  int ParamIdx() const { return mParamIdx; }
  IParam* GetParam() const;
  double GetValue() const { return mValue.load(std::memory_order_relaxed); }
  void SetValue(double value) { mValue.store(value, std::memory_order_relaxed); }
  double GetDefaultValue() const { return mDefaultValue.load(std::memory_order_relaxed); }
  IRECT* GetRECT() { return &mRECT; }
  IRECT* GetTargetRECT() { return &mTargetRECT; }
  void SetTargetArea(const IRECT& rect) { mTargetRECT = rect; }
  IText* GetText() { return &mText; }
  void SetTextStyle(const IText& text) { mText = text; }
  int GetTextEntryLength() const { return mTextEntryLength; }
  void SetTextEntryLength(int len) { mTextEntryLength = len; }
  const IChannelBlend* GetBlend() const { return &mBlend; }
  bool IsHidden() const { return mHide; }
  bool IsGrayed() const { return mGrayed; }
  bool GetMOWhenGrayed() const { return mMOWhenGrayed; }
  void SetMOWhenGrayed(bool allow) { mMOWhenGrayed = allow; }
  bool GetDblAsSingleClick() const { return mDblAsSingleClick; }
  void SetDblAsSingleClick(bool dblAsSingle) { mDblAsSingleClick = dblAsSingle; }
  bool IsPromptDisabled() const { return mDisablePrompt; }
  void DisablePrompt(bool disable) { mDisablePrompt = disable; }
  void Clamp(double lo, double hi) {
    mClampLo.store(lo, std::memory_order_relaxed);
    mClampHi.store(hi, std::memory_order_relaxed);
  }
  double ClampLo() const { return mClampLo.load(std::memory_order_relaxed); }
  double ClampHi() const { return mClampHi.load(std::memory_order_relaxed); }
  bool RedrawRequested() const { return mRedraw.load(std::memory_order_relaxed); }
  void SetRedraw() { mRedraw.store(true, std::memory_order_relaxed); }
  const char* GetTooltip() const { return mTooltip.Get(); }
  void SetTooltip(const char* tip) { mTooltip.Set(tip); }
  // Text controls (not owned) that show this control's parameter value and name.
  void SetValDisplayControl(ITextControl* control) { mValDisplayControl = control; }
  void SetNameDisplayControl(ITextControl* control) { mNameDisplayControl = control; }

 protected:
  int mTextEntryLength = 32;
  IText mText;
  IPlugin* mPlug;
  IRECT mRECT;
  IRECT mTargetRECT;
  int mParamIdx;
  std::vector<AuxParam> mAuxParams;
  std::atomic<double> mValue{0.0};
  std::atomic<double> mDefaultValue{-1.0};
  // Read by SetDirty, which host automation reaches from the audio thread.
  std::atomic<double> mClampLo{0.0}, mClampHi{1.0};
  std::atomic<bool> mDirty{true};
  bool mHide = false;
  bool mGrayed = false;
  std::atomic<bool> mRedraw{false};
  bool mDisablePrompt = true;
  bool mDblAsSingleClick = false;
  bool mMOWhenGrayed = false;
  IChannelBlend mBlend;
  ITextControl* mValDisplayControl = nullptr;
  ITextControl* mNameDisplayControl = nullptr;
  StrBuf mTooltip;

  // The engine of the plug-in this control belongs to, or null.
  IGraphics* GetGUI() const;
};
