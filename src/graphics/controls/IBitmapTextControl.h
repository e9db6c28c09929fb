// IBitmapTextControl and DrawBitmapedText: text drawn from a film strip of fixed-size glyphs, for
// displays that must look the same everywhere regardless of the system's fonts.
#pragma once

#include "graphics/IBitmap.h"
#include "graphics/IControl.h"

// Draws text from a glyph strip whose frame 1 is the space (code 32) and frame k the character
// 31 + k. Codes below 32 show the first glyph; codes past the strip are skipped. Only the
// style's alignment is used. Text that does not fit is cut (single line) or wrapped (multiline).
void DrawBitmapedText(IGraphics* graphics, IBitmap* glyphs, const IRECT* rect, const IText* style,
                      const IChannelBlend* blend, const char* text, bool vCenter, bool multiline,
                      int charWidth, int charHeight, int charOffset);

class IBitmapTextControl : public IControl {
 public:
  IBitmapTextControl(IPlugin* plug, const IRECT& rect, const IBitmap* glyphs, const char* str = "",
                     const IText* style = nullptr, int charWidth = 6, int charHeight = 12, int charOffset = 0,
                     bool multiLine = false, bool vCenter = true);

  // Marks the control dirty only when the text really changes.
  void SetTextFromPlug(const char* str);
  void ClearTextFromPlug() { SetTextFromPlug(""); }
  bool Draw(IGraphics* graphics) override;

  const char* GetString() const { return mStr.Get(); }

 protected:
  StrBuf mStr;
  int mCharWidth, mCharHeight, mCharOffset;
  IBitmap mTextBitmap;
  bool mMultiLine;
  bool mVCentre;
};
