// ToLower implementation.
#include "base/ToLower.h"

#include <cctype>

void ToLower(char* out, const char* in, int outSize) {
  if (!out) return;
  int i = 0;
  if (in)
    for (; in[i] && (outSize <= 0 || i < outSize - 1); ++i)
      out[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(in[i])));
  out[i] = '\0';
}
