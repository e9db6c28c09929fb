// Conversions between the 8-bit (UTF-8) text of the framework and the UTF-16 text of the VST 3
// structs. Both directions always terminate the destination, never split a character and never
// read past a bounded source, so a host that fills a String128 without a terminator is safe.
#pragma once

#include <cstddef>

namespace vstsupport {

// Writes at most dstUnits - 1 code units plus a terminator; invalid UTF-8 becomes U+FFFD.
// Returns the number of units written (terminator excluded).
size_t Utf8ToUtf16(const char* src, char16_t* dst, size_t dstUnits);

// Reads at most maxSrcUnits units (stopping at a terminator), writes at most dstBytes - 1 bytes plus
// a terminator; unpaired surrogates become U+FFFD. Returns the number of bytes written.
size_t Utf16ToUtf8(const char16_t* src, size_t maxSrcUnits, char* dst, size_t dstBytes);

// Copies 8-bit text into a fixed char array, truncated and terminated, zero-filling the rest.
void CopyPadded(const char* src, char* dst, size_t dstBytes);

// UTF-16 length, bounded by maxUnits.
size_t Utf16Length(const char16_t* s, size_t maxUnits);

}  // namespace vstsupport
