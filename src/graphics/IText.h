// IText: a text style. The engine fills in the cached font the first time the style is drawn;
// the font belongs to the process-wide font cache, not to the style.
#pragma once

#include "graphics/IColor.h"

#include <cstring>

class PIX_IFont;

struct IText {
  static constexpr int kFontNameLen = 32;
  static constexpr int kDefaultSize = 10;

  enum EStyle { kStyleNormal = 0, kStyleBold = 1, kStyleItalic = 2 };
  enum EAlign { kAlignNear = 0, kAlignCenter = 1, kAlignFar = 2 };
  enum EQuality {
    kQualityDefault = 0,
    kQualityNonAntiAliased = 1,
    kQualityAntiAliased = 2,
    kQualityClearType = 3
  };

  char mFont[kFontNameLen];
  int mSize = kDefaultSize;
  IColor mColor = DEFAULT_TEXT_COLOR;
  IColor mTextEntryBGColor = DEFAULT_TEXT_ENTRY_BGCOLOR;
  IColor mTextEntryFGColor = DEFAULT_TEXT_ENTRY_FGCOLOR;
  EStyle mStyle = kStyleNormal;
  EAlign mAlign = kAlignCenter;
  int mOrientation = 0;  // degrees
  EQuality mQuality = kQualityDefault;
  PIX_IFont* mCached = nullptr;

  IText(int size = kDefaultSize, const IColor* color = nullptr, const char* font = nullptr,
        EStyle style = kStyleNormal, EAlign align = kAlignCenter, int orientation = 0,
        EQuality quality = kQualityDefault)
      : mSize(size),
        mColor(color ? *color : DEFAULT_TEXT_COLOR),
        mStyle(style),
        mAlign(align),
        mOrientation(orientation),
        mQuality(quality) {
    SetFont(font ? font : "Monaco");
  }

  // Longer names are cut so the field always holds a terminated string.
  void SetFont(const char* font) {
    std::memset(mFont, 0, sizeof(mFont));
    std::strncpy(mFont, font ? font : "", kFontNameLen - 1);
  }
};
