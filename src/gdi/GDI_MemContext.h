// Memory drawing contexts: a 32-bit top-down frame buffer plus the drawing state text needs
// (selected font, colours, background mode, clip stack).
#pragma once

#include "gdi/GDI_Types.h"

// A context of w x h pixels, cleared to 0; row span equals w. Null for non-positive or huge sizes
// or when memory runs out.
HDC GDI_CreateMemContext(int w, int h);

// Pixel words 0xAARRGGBB, stored blue, green, red, alpha; rows top-down. Null for a null context.
void* GDI_GetCtxFrameBuffer(HDC ctx);

// Frees the context and its frame buffer; a null context is ignored. Fonts selected into it are
// not deleted.
void GDI_DeleteGfxContext(HDC ctx);

int GDI_GetCtxWidth(HDC ctx);
int GDI_GetCtxHeight(HDC ctx);

// Selects a font for text drawing; returns the previously selected font (null if none).
HFONT GDI_SelectFont(HDC ctx, HFONT font);
HFONT GDI_GetCurrentFont(HDC ctx);

// Each setter returns the previous value (0 for a null context).
GDI_COLOR GDI_SetTextColor(HDC ctx, GDI_COLOR colour);
GDI_COLOR GDI_GetTextColor(HDC ctx);
GDI_COLOR GDI_SetBkColor(HDC ctx, GDI_COLOR colour);
GDI_COLOR GDI_GetBkColor(HDC ctx);
int GDI_SetBkMode(HDC ctx, int mode);
int GDI_GetBkMode(HDC ctx);

// The clip rectangle limits all drawing into the context. Push saves the current clip, Set
// replaces it (intersected with nothing: it may widen a pushed clip), Pop restores the saved one.
// A pop without a push is ignored. GetClipRect reports the whole buffer when no clip is set.
void GDI_PushClipRect(HDC ctx);
void GDI_SetClipRect(HDC ctx, const RECT* r);
void GDI_PopClipRect(HDC ctx);
void GDI_GetClipRect(HDC ctx, RECT* out);
