// ITextControl and ICaptionControl: static text and a parameter's live display text.
#include "graphics/controls/ITextControl.h"

#include "framework/IParam.h"
#include "graphics/IGraphics.h"

#include <cstring>

ITextControl::ITextControl(IPlugin* plug, const IRECT& rect, const IText* text, const char* str)
    : IControl(plug, rect), mStr(str) {
  if (text) mText = *text;
}

void ITextControl::SetTextFromPlug(const char* str) {
  if (std::strcmp(str ? str : "", mStr.Get()) == 0) return;
  SetDirty(false);
  mStr.Set(str);
}

bool ITextControl::Draw(IGraphics* graphics) {
  if (!mStr.GetLength()) return true;
  return graphics->DrawIText(&mText, mStr.Get(), &mRECT);
}

ICaptionControl::ICaptionControl(IPlugin* plug, const IRECT& rect, int paramIdx, const IText* text,
                                 bool showParamLabel)
    : ITextControl(plug, rect, text, ""), mShowParamLabel(showParamLabel) {
  mParamIdx = paramIdx;
}

void ICaptionControl::OnMouseDown(int, int, IMouseMod* mod) {
  if (mod && (mod->L || mod->R)) PromptUserInput();
}

void ICaptionControl::OnMouseDblClick(int, int, IMouseMod*) { PromptUserInput(); }

bool ICaptionControl::Draw(IGraphics* graphics) {
  if (IParam* param = GetParam()) {
    char display[IParam::kDisplayBufSize];
    param->GetDisplayForHost(param->GetValue(), false, display, true);
    mStr.Set(display);
    if (mShowParamLabel) {
      mStr.Append(" ");
      mStr.Append(param->GetLabelForHost());
    }
  }
  return ITextControl::Draw(graphics);
}
