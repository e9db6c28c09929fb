// IGraphics: life cycle, the control list, parameter synchronisation and the two draw passes.
#include "graphics/IGraphics.h"

#include "framework/IParam.h"
#include "framework/IPlugin.h"
#include "graphics/BitmapStorage.h"
#include "graphics/FontStorage.h"
#include "graphics/IArtSource.h"
#include "graphics/IControl.h"
#include "graphics/ScaledFrameCache.h"
#include "graphics/controls/IBitmapControl.h"
#include "graphics/controls/IPanelControl.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_SysBitmap.h"

#include <algorithm>
#include <cmath>
#include <iterator>

IGraphics::IGraphics(IPlugin* plug, int w, int h, int fps)
    : mPlug(plug),
      mWidth(w),
      mHeight(h),
      mFPS(fps > 0 ? fps : kDefaultFPS),
      mFrames(std::make_unique<ScaledFrameCache>()) {}

IGraphics::~IGraphics() {
  delete mKeyCatcher;
  mKeyCatcher = nullptr;
  mControls.Empty(true);
  DeleteBackBuffers();
}

IGraphics* AttachedGraphics(const IPlugin* plug) {
  return plug ? dynamic_cast<IGraphics*>(plug->GetGraphics()) : nullptr;
}

void IGraphics::PrepDraw() {
  if (!mDrawBitmap) mDrawBitmap = new PIX_SysBitmap(PixelWidth(), PixelHeight());
  if (!mTmpBitmap) mTmpBitmap = new PIX_MemBitmap();
}

void IGraphics::DeleteBackBuffers() {
  delete mDrawBitmap;
  mDrawBitmap = nullptr;
  delete mTmpBitmap;
  mTmpBitmap = nullptr;
}

PIX_Pixel* IGraphics::GetBits() { return mDrawBitmap ? mDrawBitmap->getBits() : nullptr; }

PIX_IBitmap* IGraphics::BackBuffer() const {
  return mDrawBitmap && mDrawBitmap->getBits() ? mDrawBitmap : nullptr;
}

void IGraphics::Resize(int w, int h) {
  mWidth = w;
  mHeight = h;
  ReleaseMouseCapture();
  // The control under the pointer is about to be deleted.
  mMouseOver = -1;
  mControls.Empty(true);
  DeleteBackBuffers();
  PrepDraw();
  if (mPlug) mPlug->ResizeGraphics(WindowWidth(), WindowHeight());
}

int IGraphics::ScaledLength(int length, double scale) {
  return static_cast<int>(std::floor(length * scale + 0.5));
}

double IGraphics::ScaleForWindow(int w, int h, bool fitInside) const {
  if (mWidth <= 0 || mHeight <= 0) return 1.0;
  const double sw = static_cast<double>(w) / mWidth, sh = static_cast<double>(h) / mHeight;
  const double s = fitInside ? std::min(sw, sh) : std::max(sw, sh);
  return LimitToScreen(std::min(kMaxScale, std::max(kMinScale, s)));
}

bool IGraphics::FitsScreen(double scale) const {
  int w = 0, h = 0;
  return !ScreenWorkArea(&w, &h) || FitsArea(scale, w, h);
}

bool IGraphics::FitsArea(double scale, int w, int h) const {
  return ScaledLength(mWidth, scale) <= w && ScaledLength(mHeight, scale) <= h;
}

double IGraphics::LimitToScreen(double scale) const {
  int w = 0, h = 0;
  if (!ScreenWorkArea(&w, &h)) return scale;
  if (FitsArea(scale, w, h)) return scale;
  // A size that is cut off is no use; the largest offered size that shows whole is.
  for (int i = static_cast<int>(std::size(kScaleSteps)) - 1; i >= 0; --i)
    if (kScaleSteps[i] < scale && FitsArea(kScaleSteps[i], w, h)) return kScaleSteps[i];
  return kMinScale;
}

bool IGraphics::FitToScreen() { return SetScale(mScale); }

int IGraphics::ToLayout(int windowCoord) const {
  return mScale == 1.0 ? windowCoord : static_cast<int>(std::floor(windowCoord / mScale));
}

IRECT IGraphics::WindowToLayout(const IRECT& r) const {
  if (mScale == 1.0 || r.Empty()) return r;
  return IRECT(static_cast<int>(std::floor(r.L / mScale)), static_cast<int>(std::floor(r.T / mScale)),
               static_cast<int>(std::ceil(r.R / mScale)), static_cast<int>(std::ceil(r.B / mScale)));
}

IRECT IGraphics::LayoutToWindow(const IRECT& r) const {
  if (mScale == 1.0) return r;
  return IRECT(ScaledLength(r.L, mScale), ScaledLength(r.T, mScale), ScaledLength(r.R, mScale),
               ScaledLength(r.B, mScale));
}

IRECT IGraphics::ToPixels(const IRECT& r) const {
  const double s = GetDrawScale();
  if (s == 1.0) return r;
  return IRECT(ScaledLength(r.L, s), ScaledLength(r.T, s), ScaledLength(r.R, s), ScaledLength(r.B, s));
}

bool IGraphics::SetScale(double scale, bool askHost) {
  if (std::isnan(scale)) return false;
  scale = LimitToScreen(std::min(kMaxScale, std::max(kMinScale, scale)));
  if (scale == mScale) return false;
  mScale = scale;
  mFrames->Clear();
  // A fresh back buffer at the new size, drawn whole: everything is in other pixels now.
  const bool hadBuffer = mDrawBitmap != nullptr;
  DeleteBackBuffers();
  if (hadBuffer) PrepDraw();
  SetAllControlsDirty();
  OnScaleChanged();
  if (askHost && mPlug) mPlug->ResizeGraphics(WindowWidth(), WindowHeight());
  return true;
}

bool IGraphics::SetHostScale(double factor) {
  if (!std::isfinite(factor) || factor <= 0.0) return false;
  const bool screenChanged = mLastHostFactor > 0.0 && factor != mLastHostFactor;
  mLastHostFactor = factor;
  if (mUserChoseScale && !screenChanged) return false;
  return SetScale(factor);
}

bool IGraphics::SetUserScale(double scale, bool askHost) {
  if (!std::isfinite(scale)) return false;
  mUserChoseScale = true;
  const bool changed = SetScale(scale, askHost);
  if (mSaveScale) mSaveScale(mScale);
  return changed;
}

void IGraphics::SetScaleMemory(double (*load)(), void (*save)(double)) {
  mLoadScale = load;
  mSaveScale = save;
}

void IGraphics::ChooseInitialScale() {
  const double remembered = mLoadScale ? mLoadScale() : 0.0;
  mUserChoseScale = remembered >= kMinScale && remembered <= kMaxScale;
  mLastHostFactor = 0.0;
  SetScale(mUserChoseScale ? remembered : DesktopScale(), false);
}

void IGraphics::SetBackingScale(double backing) {
  if (!std::isfinite(backing) || backing <= 0.0 || backing == mBackingScale) return;
  mBackingScale = std::min(4.0, backing);
  mFrames->Clear();
  const bool hadBuffer = mDrawBitmap != nullptr;
  DeleteBackBuffers();
  if (hadBuffer) PrepDraw();
  SetAllControlsDirty();
}

IArtSource* IGraphics::AdoptArtSource(std::unique_ptr<IArtSource> source) {
  if (!source) return nullptr;
  mArtSources.push_back(std::move(source));
  return mArtSources.back().get();
}

int IGraphics::AttachControl(IControl* control) {
  if (!control) return -1;
  if (!mControls.Add(control)) {
    delete control;  // ownership was handed over either way
    return -1;
  }
  return mControls.GetSize() - 1;
}

void IGraphics::AttachBackground(int ID, const char* name) {
  IBitmap bg = LoadIBitmap(ID, name, 1, false);
  // Index 0 is drawn first and hit-tested last, whenever it is attached.
  auto* control = new IBitmapControl(mPlug, 0, 0, -1, &bg, IChannelBlend::kBlendClobber);
  if (!mControls.Insert(0, control)) delete control;
}

void IGraphics::AttachPanelBackground(const IColor* color) {
  auto* control = new IPanelControl(mPlug, IRECT(0, 0, mWidth, mHeight), color ? color : &COLOR_BLACK);
  if (!mControls.Insert(0, control)) delete control;
}

void IGraphics::AttachKeyCatcher(IControl* control) {
  if (control != mKeyCatcher) delete mKeyCatcher;
  mKeyCatcher = control;
}

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool normalized) {
  // Checked before conversion too: the parameter turns NaN into a plausible 0.
  if (!std::isfinite(value)) return;
  if (!normalized) {
    IParam* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
    if (!param) return;
    value = param->GetNormalized(value);
  }
  if (!std::isfinite(value)) return;
  for (int i = 0, n = mControls.GetSize(); i < n; ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->SetValueFromPlug(value);
    const int aux = control->AuxParamIdx(paramIdx);
    if (aux >= 0) control->SetAuxParamValueFromPlug(aux, value);
  }
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalizedValue) {
  if (IControl* control = mControls.Get(controlIdx)) control->SetValueFromPlug(normalizedValue);
}

void IGraphics::SetParameterFromGUI(int paramIdx, double normalizedValue) {
  for (int i = 0, n = mControls.GetSize(); i < n; ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->SetValueFromUserInput(normalizedValue);
  }
}

void IGraphics::ClampControl(int paramIdx, double lo, double hi, bool normalized) {
  if (!normalized) {
    IParam* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
    if (!param) return;
    lo = param->GetNormalized(lo);
    hi = param->GetNormalized(hi);
  }
  for (int i = 0, n = mControls.GetSize(); i < n; ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->Clamp(lo, hi);
  }
}

void IGraphics::HideControl(int paramIdx, bool hide) {
  for (int i = 0, n = mControls.GetSize(); i < n; ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->Hide(hide);
  }
}

void IGraphics::GrayOutControl(int paramIdx, bool gray) {
  for (int i = 0, n = mControls.GetSize(); i < n; ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->GrayOut(gray);
  }
}

void IGraphics::SetAllControlsDirty() {
  for (int i = 0, n = mControls.GetSize(); i < n; ++i) mControls.Get(i)->SetDirty(false);
}

void IGraphics::SetStrictDrawing(bool strict) {
  mStrict = strict;
  SetAllControlsDirty();
}

void IGraphics::AssignParamNameToolTips() {
  for (int i = 0, n = mControls.GetSize(); i < n; ++i) {
    IControl* control = mControls.Get(i);
    if (IParam* param = control->GetParam()) control->SetTooltip(param->GetNameForHost());
  }
}

bool IGraphics::IsDirty(IRECT* r) {
  bool dirty = false;
  for (int i = 0, n = mControls.GetSize(); i < n; ++i) {
    IControl* control = mControls.Get(i);
    if (!control->IsDirty()) continue;
    if (r) *r = r->Union(*control->GetRECT());
    dirty = true;
  }
  return dirty;
}

bool IGraphics::Draw(IRECT* r) {
  const int n = mControls.GetSize();
  if (!n) return true;
  // Without a back buffer there is nothing to draw into or present; the controls stay dirty.
  if (!r || !BackBuffer()) return false;

  if (mStrict) {
    mDrawRECT = *r;
    for (int i = 0; i < n; ++i) {
      IControl* control = mControls.Get(i);
      if (!control->IsHidden() && r->Intersects(*control->GetRECT())) control->Draw(this);
      control->SetClean();
    }
  } else {
    IControl* bg = mControls.Get(0);
    if (bg->IsDirty()) {
      mDrawRECT = *bg->GetRECT();
      for (int i = 0; i < n; ++i) {
        IControl* control = mControls.Get(i);
        if (i == 0 || !control->IsHidden()) {
          control->Draw(this);
          control->SetClean();
        }
      }
    } else {
      for (int i = 1; i < n; ++i) {
        IControl* dirty = mControls.Get(i);
        if (!dirty->IsDirty()) continue;
        mDrawRECT = *dirty->GetRECT();
        for (int j = 0; j < n; ++j) {
          IControl* control = mControls.Get(j);
          if (!control->IsHidden() && (j == i || control->GetRECT()->Intersects(mDrawRECT)))
            control->Draw(this);
        }
        dirty->SetClean();
      }
    }
  }
  return DrawScreen(r);
}

void IGraphicsReleaseCaches() {
  BitmapStorage::DestroyShared();
  FontStorage::DestroyShared();
}
