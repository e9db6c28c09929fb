// Face substitution: the generic family to fall back on when a requested face is not installed.
#pragma once

// "monospace" for monospaced faces, "serif" for serif faces, otherwise "sans-serif".
const char* GDI_GenericFamilyFor(const char* face);

// Case-insensitive ASCII comparison of face names, ignoring spaces ("Courier New" == "couriernew").
bool GDI_SameFaceName(const char* a, const char* b);
