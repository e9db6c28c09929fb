// The text entry's picture, drawn with the engine's fonts.
#include "graphics/platform/win/WinTextEntry.h"

#include "graphics/platform/shared/TextEntryView.h"

void WinTextEntry::Render() { PaintTextEntry(&mBitmap, mFont, mStyle, mModel); }
