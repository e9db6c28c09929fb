// ToLower: lower-cased copy of a C string.
#pragma once

// Copies in to out lower-casing every character and terminates out. With outSize > 0 at most
// outSize - 1 characters are copied.
void ToLower(char* out, const char* in, int outSize = 0);
