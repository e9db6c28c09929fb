// Text drawing into memory contexts with the selected font, text colour and background mode.
#pragma once

#include "gdi/GDI_Types.h"

// Draws UTF-8 text (length < 0: up to the terminating zero; a zero byte always ends the text)
// inside rect, aligned by the GDI_DT_ flags, clipped to rect (unless GDI_DT_NOCLIP) and to the
// context's clip. Line feeds start new lines, carriage returns are ignored; with
// GDI_DT_SINGLELINE a line feed counts as a space. Unless GDI_DT_NOPREFIX, "&x" draws x
// underlined and "&&" draws "&". Vertical alignment applies to the whole block of lines.
// Returns the height of the text; with GDI_DT_CALCRECT nothing is drawn and rect's right and
// bottom become left + width and top + height of the text. Rotated fonts report and align the
// bounding box of the turned text. Returns 0 for a null context or rect.
int GDI_DrawText(HDC ctx, const char* text, int length, RECT* rect, unsigned flags);
