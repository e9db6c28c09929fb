// The 32-bit pixel word 0xAARRGGBB (bytes B, G, R, A in memory, not premultiplied) and the
// shift-and-mask mixes that the fast paths of blits, fills and lines share.
#pragma once

#include <cstdint>

typedef uint32_t PIX_Pixel;

#define PIX_MAKEPIXEL(a, r, g, b)                                                                          \
  ((PIX_Pixel)((((uint32_t)(a)&0xFF) << 24) | (((uint32_t)(r)&0xFF) << 16) | (((uint32_t)(g)&0xFF) << 8) | \
               ((uint32_t)(b)&0xFF)))

inline int PIX_GetA(PIX_Pixel p) { return (int)(p >> 24); }
inline int PIX_GetR(PIX_Pixel p) { return (int)((p >> 16) & 0xFF); }
inline int PIX_GetG(PIX_Pixel p) { return (int)((p >> 8) & 0xFF); }
inline int PIX_GetB(PIX_Pixel p) { return (int)(p & 0xFF); }

// Byte offsets of the channels inside a pixel in memory.
enum { PIX_BYTE_B = 0, PIX_BYTE_G = 1, PIX_BYTE_R = 2, PIX_BYTE_A = 3 };

inline int PIX_Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Quarter-step mixes of a colour c into a destination d, all four bytes at once. Each halving
// drops the low bit of every byte first, so 255 half-mixed with 255 gives 254: that is the
// documented result, not a rounding slip to fix.
inline PIX_Pixel PIX_Half(PIX_Pixel p) { return (p >> 1) & 0x7F7F7F7Fu; }
inline PIX_Pixel PIX_Quarter(PIX_Pixel p) { return (p >> 2) & 0x3F3F3F3Fu; }

inline PIX_Pixel PIX_Mix25(PIX_Pixel d, PIX_Pixel c) { return PIX_Quarter(c) + PIX_Quarter(d) + PIX_Half(d); }
inline PIX_Pixel PIX_Mix50(PIX_Pixel d, PIX_Pixel c) { return PIX_Half(c) + PIX_Half(d); }
inline PIX_Pixel PIX_Mix75(PIX_Pixel d, PIX_Pixel c) { return PIX_Half(c) + PIX_Quarter(c) + PIX_Quarter(d); }
