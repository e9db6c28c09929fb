// Writing a bitmap to a PNG file, so offscreen renders of an editor can be kept and looked at.
#pragma once

class PIX_IBitmap;

// 8-bit RGBA, rows top-down. False when the bitmap has no pixels or the file cannot be written.
bool WriteBitmapPNG(PIX_IBitmap* bitmap, const char* path);
