// Glyph-strip text: layout, wrapping and the control that shows it.
#include "graphics/controls/IBitmapTextControl.h"

#include "graphics/IGraphics.h"

#include <cstring>

void DrawBitmapedText(IGraphics* graphics, IBitmap* glyphs, const IRECT* rect, const IText* style,
                      const IChannelBlend* blend, const char* text, bool vCenter, bool multiline,
                      int charWidth, int charHeight, int charOffset) {
  if (!text || !*text || !glyphs || !glyphs->mData || !rect || charWidth <= 0) return;
  const int len = static_cast<int>(std::strlen(text));
  const int width = rect->W();
  const long textWidth = static_cast<long>(charWidth) * len;

  int y = rect->T;
  if (vCenter) y += (rect->H() - charHeight) / 2;
  int left = rect->L;
  const IText::EAlign align = style ? style->mAlign : IText::kAlignCenter;
  if (align == IText::kAlignFar)
    left = rect->R - static_cast<int>(textWidth);
  else if (align == IText::kAlignCenter)
    left = rect->L + static_cast<int>((width - textWidth) / 2);

  int perLine = width / charWidth;
  int nLines = 1;
  if (multiline) {
    if (width >= textWidth)
      perLine = len;
    else if (width > 0)
      nLines = static_cast<int>(textWidth / width) + 1;
  }
  if (perLine <= 0) return;

  const int nGlyphs = glyphs->N;
  int pos = 0;
  for (int line = 0; line < nLines && pos < len; ++line) {
    int x = left;
    for (int i = 0; i < perLine && pos < len; ++i, ++pos) {
      // Bytes above 127 count as high codes, not negative ones.
      const int frame = static_cast<unsigned char>(text[pos]) - 31;
      // A frame past the strip would read beyond the image.
      if (frame <= nGlyphs) {
        IRECT cell(x, y + charHeight * line, x + charWidth, y + charHeight * (line + 1));
        graphics->DrawBitmap(glyphs, &cell, frame, blend);
      }
      x += charWidth + charOffset;
    }
  }
}

IBitmapTextControl::IBitmapTextControl(IPlugin* plug, const IRECT& rect, const IBitmap* glyphs,
                                       const char* str, const IText* style, int charWidth, int charHeight,
                                       int charOffset, bool multiLine, bool vCenter)
    : IControl(plug, rect),
      mStr(str),
      mCharWidth(charWidth),
      mCharHeight(charHeight),
      mCharOffset(charOffset),
      mTextBitmap(glyphs ? *glyphs : IBitmap()),
      mMultiLine(multiLine),
      mVCentre(vCenter) {
  if (style) mText = *style;
}

void IBitmapTextControl::SetTextFromPlug(const char* str) {
  if (std::strcmp(str ? str : "", mStr.Get()) == 0) return;
  SetDirty(false);
  mStr.Set(str);
}

bool IBitmapTextControl::Draw(IGraphics* graphics) {
  if (mStr.GetLength())
    DrawBitmapedText(graphics, &mTextBitmap, &mRECT, &mText, &mBlend, mStr.Get(), mVCentre, mMultiLine,
                     mCharWidth, mCharHeight, mCharOffset);
  return true;
}
