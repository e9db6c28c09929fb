// Base64 encoding and decoding for preset blobs.
#include "base/Base64.h"

namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SixBits(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}
}  // namespace

int Base64Decode(const char* text, int textLen, void* out, int size) {
  if (!text || !out || size <= 0) return 0;
  unsigned char* dst = static_cast<unsigned char*>(out);
  unsigned int acc = 0;
  int bits = 0;
  int written = 0;
  for (int i = 0; (textLen < 0 || i < textLen) && written < size; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    int v = c ? SixBits(c) : -1;
    if (v < 0) break;
    acc = ((acc << 6) | static_cast<unsigned int>(v)) & 0xFFFFu;
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      dst[written++] = static_cast<unsigned char>(acc >> bits);
    }
  }
  return written;
}

int Base64EncodedLength(int n) {
  if (n <= 0) return 0;
  long long len = (static_cast<long long>(n) + 2) / 3 * 4;
  return len < 0x7FFFFFFFLL ? static_cast<int>(len) : -1;
}

int Base64Encode(const void* data, int n, char* out) {
  const unsigned char* src = static_cast<const unsigned char*>(data);
  int o = 0;
  for (int i = 0; src && i < n; i += 3) {
    unsigned int b0 = src[i];
    unsigned int b1 = i + 1 < n ? src[i + 1] : 0;
    unsigned int b2 = i + 2 < n ? src[i + 2] : 0;
    unsigned int triple = (b0 << 16) | (b1 << 8) | b2;
    out[o++] = kAlphabet[(triple >> 18) & 63];
    out[o++] = kAlphabet[(triple >> 12) & 63];
    out[o++] = i + 1 < n ? kAlphabet[(triple >> 6) & 63] : '=';
    out[o++] = i + 2 < n ? kAlphabet[triple & 63] : '=';
  }
  out[o] = '\0';
  return o;
}

std::string Base64Encode(const void* data, int n) {
  int len = Base64EncodedLength(n);
  if (len <= 0) return std::string();
  std::string s(static_cast<size_t>(len) + 1, '\0');
  s.resize(static_cast<size_t>(Base64Encode(data, n, &s[0])));
  return s;
}
