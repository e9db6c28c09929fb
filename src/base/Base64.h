// Base64 text for preset blobs: the standard alphabet, most significant bits first.
#pragma once

#include <string>

// Decodes text into out, writing at most size bytes, and returns the number written. Decoding
// stops at the end of the text (textLen characters, or the first NUL when textLen is negative)
// or at the first character outside the alphabet, "=" padding included. Bytes of out beyond the
// count returned are not touched.
int Base64Decode(const char* text, int textLen, void* out, int size);

// Characters needed for the Base64 text of n bytes, without the terminator; -1 when that
// exceeds what an int can count.
int Base64EncodedLength(int n);

// Writes the Base64 text of n bytes to out, which must hold Base64EncodedLength(n) + 1
// characters, and terminates it. Returns the length written.
int Base64Encode(const void* data, int n, char* out);

// The same into a string that grows to fit.
std::string Base64Encode(const void* data, int n);
