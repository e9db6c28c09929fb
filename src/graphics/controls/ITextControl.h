// ITextControl and ICaptionControl: a line of text in a control's style, and a text control that
// shows a parameter's display value (optionally with its label).
#pragma once

#include "graphics/IControl.h"

class ITextControl : public IControl {
 public:
  ITextControl(IPlugin* plug, const IRECT& rect, const IText* text, const char* str = "");

  // Marks the control dirty only when the text really changes.
  void SetTextFromPlug(const char* str);
  void ClearTextFromPlug() { SetTextFromPlug(""); }
  bool Draw(IGraphics* graphics) override;

  const char* GetString() const { return mStr.Get(); }
  // Replaces the text without marking anything dirty (display controls of other controls).
  void SetString(const char* str) { mStr.Set(str); }

 protected:
  StrBuf mStr;
};

class ICaptionControl : public ITextControl {
 public:
  ICaptionControl(IPlugin* plug, const IRECT& rect, int paramIdx, const IText* text,
                  bool showParamLabel = true);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;

 protected:
  bool mShowParamLabel;
};
