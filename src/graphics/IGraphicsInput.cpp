// IGraphics: which control receives each mouse, wheel and key event, the capture that ties a drag
// to the control where it began, host gestures around a press, and the value prompts.
#include "graphics/IGraphics.h"

#include "framework/IParam.h"
#include "framework/IPlugin.h"
#include "graphics/IControl.h"
#include "graphics/IPopupMenu.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

int IGraphics::HitTest(int x, int y, bool mouseOver) const {
  for (int i = mControls.GetSize() - 1; i >= 0; --i) {
    IControl* control = mControls.Get(i);
    if (control->IsHidden()) continue;
    if (control->IsGrayed() && !(mouseOver && control->GetMOWhenGrayed())) continue;
    if (control->IsHit(x, y)) return i;
  }
  return -1;
}

int IGraphics::TargetIdx(int x, int y) const {
  return mMouseCapture >= 0 ? mMouseCapture : HitTest(x, y, false);
}

int IGraphics::GetMouseControlIdx(int x, int y, bool mo) {
  return mMouseCapture >= 0 ? mMouseCapture : HitTest(x, y, mo);
}

void IGraphics::ReleaseMouseCapture() {
  mMouseCapture = -1;
  mMouseX = mMouseY = -1;
}

void IGraphics::OnMouseDown(int x, int y, IMouseMod* mod) {
  IMouseMod none;  // a window may report an event without modifiers; controls always get a record
  if (!mod) mod = &none;
  ReleaseMouseCapture();
  mClickHandedToHost = false;
  const int c = HitTest(x, y, false);
  if (c < 0) return;
  IControl* control = mControls.Get(c);
  const int paramIdx = control->ParamIdx();
  // Some hosts own the context menu of a parameter; the control then never sees the click. Nothing
  // is captured while their menu runs.
  // The host places its menu in its own units: the window's, not the layout's.
  if (paramIdx >= 0 && mPlug && mod->R &&
      mPlug->OfferContextClickToHost(paramIdx, ScaledLength(x, mScale), ScaledLength(y, mScale))) {
    mClickHandedToHost = true;
    return;
  }

  mMouseCapture = c;
  mMouseX = x;
  mMouseY = y;
  if (paramIdx >= 0 && mPlug) mPlug->BeginInformHostOfParamChange(paramIdx);
  control->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseUp(int x, int y, IMouseMod* mod) {
  IMouseMod none;
  if (!mod) mod = &none;
  const int c = TargetIdx(x, y);
  ReleaseMouseCapture();
  // The host's menu took the press; a gesture end now would match no begin.
  if (mClickHandedToHost) {
    mClickHandedToHost = false;
    return;
  }
  IControl* control = mControls.Get(c);
  if (!control) return;
  // Read before the control runs: its handler may rebuild the editor and delete it.
  const int paramIdx = control->ParamIdx();
  control->OnMouseUp(x, y, mod);
  if (paramIdx >= 0 && mPlug) mPlug->EndInformHostOfParamChange(paramIdx);
}

void IGraphics::OnMouseDrag(int x, int y, IMouseMod* mod) {
  IControl* control = mControls.Get(mMouseCapture);
  if (!control || (x == mMouseX && y == mMouseY)) return;
  const int dX = x - mMouseX, dY = y - mMouseY;
  mMouseX = x;
  mMouseY = y;
  IMouseMod none;
  control->OnMouseDrag(x, y, dX, dY, mod ? mod : &none);
}

bool IGraphics::OnMouseDblClick(int x, int y, IMouseMod* mod) {
  IMouseMod none;
  if (!mod) mod = &none;
  ReleaseMouseCapture();
  mClickHandedToHost = false;
  const int c = HitTest(x, y, false);
  IControl* control = mControls.Get(c);
  if (!control) return false;
  if (control->GetDblAsSingleClick()) {
    mMouseCapture = c;
    mMouseX = x;
    mMouseY = y;
    control->OnMouseDown(x, y, mod);
    return true;
  }
  control->OnMouseDblClick(x, y, mod);
  return false;
}

void IGraphics::OnMouseWheel(int x, int y, IMouseMod* mod, int d) {
  IMouseMod none;
  if (IControl* control = mControls.Get(TargetIdx(x, y))) control->OnMouseWheel(x, y, mod ? mod : &none, d);
}

bool IGraphics::OnMouseOver(int x, int y, IMouseMod* mod) {
  if (!mHandleMouseOver) return false;
  const int c = mMouseCapture >= 0 ? mMouseCapture : HitTest(x, y, true);
  IControl* control = mControls.Get(c);
  if (!control) return mHandleMouseOver;
  mMouseX = x;
  mMouseY = y;
  IMouseMod none;
  control->OnMouseOver(x, y, mod ? mod : &none);
  if (mMouseOver >= 0 && mMouseOver != c)
    if (IControl* previous = mControls.Get(mMouseOver)) previous->OnMouseOut();
  mMouseOver = c;
  return mHandleMouseOver;
}

void IGraphics::OnMouseOut() {
  for (int i = 0, n = mControls.GetSize(); i < n; ++i) mControls.Get(i)->OnMouseOut();
  mMouseOver = -1;
}

bool IGraphics::OnKeyDown(int x, int y, int key) {
  const int c = TargetIdx(x, y);
  // The background does not count as a control under the pointer.
  if (c > 0) return mControls.Get(c)->OnKeyDown(x, y, key);
  return mKeyCatcher ? mKeyCatcher->OnKeyDown(x, y, key) : false;
}

int IGraphics::GetParamIdxForPTAutomation(int x, int y) {
  const int c = TargetIdx(x, y);
  mLastClickedParam = c > 0 ? mControls.Get(c)->ParamIdx() : -1;
  return mLastClickedParam;
}

int IGraphics::GetLastClickedParamForPTAutomation() {
  const int idx = mLastClickedParam;
  mLastClickedParam = -1;
  return idx;
}

void IGraphics::OnGUIIdle() {
  for (int i = 0, n = mControls.GetSize(); i < n; ++i) mControls.Get(i)->OnGUIIdle();
}

void IGraphics::PromptUserInput(IControl* control, IParam* param, IRECT* textRect) {
  if (!control || !param || !textRect) return;
  const IParam::EParamKind kind = param->GetType();
  const int nTexts = param->GetNDisplayTexts();

  if (kind == IParam::kParamEnum || (kind == IParam::kParamBool && nTexts > 0)) {
    char current[IParam::kDisplayBufSize];
    param->GetDisplayForHost(current, true);
    IPopupMenu menu;
    for (int i = 0; i < nTexts; ++i) {
      const char* text = param->GetDisplayTextAtIdx(i);
      IPopupMenuItem* item = menu.AddItem(text);
      if (item && std::strcmp(text, current) == 0) item->SetChecked(true);
    }
    IPopupMenu* chosen = CreateIPopupMenu(&menu, textRect);
    if (!chosen) return;
    const int idx = chosen->GetChosenItemIdx();
    if (idx >= 0 && idx < chosen->GetNItems()) control->SetValueFromUserInput(param->GetNormalized(idx));
    return;
  }

  char current[IParam::kDisplayBufSize];
  param->GetDisplayForHost(param->GetValue(), false, current, false);
  CreateTextEntry(control, control->GetText(), textRect, current, param);
}

IText IGraphics::PromptStyle(const IText& text, PIX_IFont** font) {
  IText style = text;
  style.mSize = static_cast<int>(text.mSize * 0.9 * GetScale());
  style.mCached = nullptr;
  PIX_IFont* cached = CacheFont(&style);
  if (font) *font = cached;
  return style;
}

void IGraphics::ApplyPromptText(IControl* control, IParam* param, const char* text) {
  if (param)
    SetFromStringAfterPrompt(control, param, text);
  else if (control)
    control->TextFromTextEntry(text);
}

void IGraphics::SetFromStringAfterPrompt(IControl* control, IParam* param, const char* txt) {
  if (!control || !param) return;
  if (!txt) txt = "";
  double value = 0.0;
  const IParam::EParamKind kind = param->GetType();
  if (kind == IParam::kParamBool || kind == IParam::kParamEnum) {
    int mapped = 0;
    if (param->MapDisplayText(txt, &mapped)) value = mapped;
  } else {
    value = std::strtod(txt, nullptr);
    // "nan", "inf" and overflowing numbers count as no number at all.
    if (!std::isfinite(value)) value = 0.0;
    if (param->GetNegateDisplay()) value = -value;
  }
  control->SetValueFromUserInput(param->GetNormalized(value));
}
