// UTF-8 decoding and encoding shared by the text drawing code; invalid input never overreads and
// decodes to U+FFFD.
#pragma once

#include <cstdint>

constexpr uint32_t GDI_REPLACEMENT_CHAR = 0xFFFD;

// Decodes the code point at s (len > 0 bytes available) into *cp and returns the bytes used
// (1 to 4). Ill-formed sequences (stray continuation bytes, overlong forms, surrogates, values
// above U+10FFFF, truncation) give U+FFFD and consume the longest valid prefix, at least one byte.
int GDI_Utf8Decode(const char* s, int len, uint32_t* cp);

// Writes cp as UTF-8 into out (4 bytes of room) and returns the byte count; surrogates and
// values above U+10FFFF are written as U+FFFD.
int GDI_Utf8Encode(uint32_t cp, char* out);
