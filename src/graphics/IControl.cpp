// IControl: the value, dirty and prompt behaviour every control shares.
#include "graphics/IControl.h"

#include "framework/IParam.h"
#include "framework/IPlugin.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/ITextControl.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr int kDisplayPartLen = 32;  // value text and label are each cut here for display controls
}

IControl::IControl(IPlugin* plug, const IRECT& rect, int paramIdx, IChannelBlend::EBlendMethod blendMethod)
    : mPlug(plug), mRECT(rect), mTargetRECT(rect), mParamIdx(paramIdx), mBlend(blendMethod) {}

IControl::~IControl() = default;

IParam* IControl::GetParam() const { return mPlug ? mPlug->GetParam(mParamIdx) : nullptr; }

IGraphics* IControl::GetGUI() const { return AttachedGraphics(mPlug); }

void IControl::OnMouseDown(int, int, IMouseMod* mod) {
  if (mod && mod->R) PromptUserInput();
}

void IControl::OnMouseDblClick(int, int, IMouseMod*) {
  const double def = GetDefaultValue();
  if (def >= 0.0) {
    SetValue(def);
    SetDirty(true);
  }
}

void IControl::SetValueFromPlug(double value) {
  if (!std::isfinite(value)) return;  // a damaged value never reaches a control
  if (GetDefaultValue() < 0.0) {
    mDefaultValue.store(value, std::memory_order_relaxed);
    SetValue(value);
  }
  if (value != GetValue()) {
    SetValue(value);
    SetDirty(false);
    SetRedraw();
  }
}

void IControl::SetValueFromUserInput(double value) {
  if (!std::isfinite(value)) return;
  if (value != GetValue()) {
    SetValue(value);
    SetDirty(true);
    SetRedraw();
  }
}

void IControl::Hide(bool hide) {
  mHide = hide;
  SetRedraw();
  SetDirty(false);
}

void IControl::GrayOut(bool gray) {
  mGrayed = gray;
  mBlend.mWeight = gray ? 0.25f : 1.0f;
  SetDirty(false);
}

bool IControl::IsHit(int x, int y) { return mTargetRECT.Contains(x, y); }

void IControl::SetDirty(bool pushParamToPlug) {
  const double value = GetValue(), lo = ClampLo();
  SetValue(value < lo ? lo : std::min(ClampHi(), value));
  mDirty.store(true, std::memory_order_relaxed);
  if (!pushParamToPlug || !mPlug || mParamIdx < 0) return;

  mPlug->SetParameterFromGUI(mParamIdx, GetValue());
  IParam* param = GetParam();
  if (!param) return;

  if (mValDisplayControl) {
    char display[IParam::kDisplayBufSize];
    param->GetDisplayForHost(param->GetValue(), false, display, true);
    display[kDisplayPartLen - 1] = '\0';
    StrBuf text(display);
    text.Append(" ");
    text.Append(param->GetLabelForHost(), kDisplayPartLen - 1);
    if (std::strcmp(text.Get(), mValDisplayControl->GetString()) != 0) {
      mValDisplayControl->SetDirty(false);
      mValDisplayControl->SetString(text.Get());
    }
  }
  if (mNameDisplayControl && std::strcmp(param->GetNameForHost(), mNameDisplayControl->GetString()) != 0) {
    mNameDisplayControl->SetDirty(false);
    mNameDisplayControl->SetString(param->GetNameForHost());
  }
}

void IControl::SetClean() {
  mDirty.store(mRedraw.load(std::memory_order_relaxed), std::memory_order_relaxed);
  mRedraw.store(false, std::memory_order_relaxed);
}

void IControl::SetAuxParamValueFromPlug(int auxIdx, double value) {
  AuxParam* aux = GetAuxParam(auxIdx);
  if (!aux || !std::isfinite(value)) return;
  if (aux->mValue.load(std::memory_order_relaxed) != value) {
    aux->mValue.store(value, std::memory_order_relaxed);
    SetDirty(false);
    SetRedraw();
  }
}

void IControl::PromptUserInput() {
  IParam* param = GetParam();
  if (!param || mDisablePrompt) return;
  if (param->GetNDisplayTexts() > 0) {
    PromptUserInput(&mRECT);
    return;
  }
  // A small entry box centred on the control.
  const int cx = static_cast<int>(static_cast<float>(mRECT.L + mRECT.R) * 0.5f);
  const int cy = static_cast<int>(static_cast<float>(mRECT.T + mRECT.B) * 0.5f);
  IRECT box(cx - 20, cy - 8, cx + 20, cy + 8);
  PromptUserInput(&box);
}

void IControl::PromptUserInput(IRECT* textRect) {
  IParam* param = GetParam();
  if (!param || mDisablePrompt) return;
  if (IGraphics* gui = GetGUI()) gui->PromptUserInput(this, param, textRect);
  SetRedraw();
}

void IControl::AddAuxParam(int paramIdx) { mAuxParams.emplace_back(paramIdx); }

IControl::AuxParam* IControl::GetAuxParam(int idx) {
  return idx >= 0 && idx < NAuxParams() ? &mAuxParams[static_cast<size_t>(idx)] : nullptr;
}

int IControl::AuxParamIdx(int paramIdx) const {
  for (int i = 0; i < NAuxParams(); ++i)
    if (mAuxParams[static_cast<size_t>(i)].mParamIdx == paramIdx) return i;
  return -1;
}

void IControl::SetAllAuxParamsFromGUI() {
  if (!mPlug) return;
  for (const AuxParam& aux : mAuxParams)
    mPlug->SetParameterFromGUI(aux.mParamIdx, aux.mValue.load(std::memory_order_relaxed));
}
