// Packed version decoding and formatting.
#include "framework/Version.h"

#include <cstdio>

void GetVersionParts(int version, int* major, int* minor, int* bugfix) {
  unsigned v = static_cast<unsigned>(version);
  if (major) *major = static_cast<int>(v >> 16);
  if (minor) *minor = static_cast<int>((v >> 8) & 0xFF);
  if (bugfix) *bugfix = static_cast<int>(v & 0xFF);
}

int GetDecimalVersion(int version) {
  int major, minor, bugfix;
  GetVersionParts(version, &major, &minor, &bugfix);
  return major * 10000 + minor * 100 + bugfix;
}

void GetVersionStr(int version, char* out) {
  if (!out) return;
  int major, minor, bugfix;
  GetVersionParts(version, &major, &minor, &bugfix);
  std::snprintf(out, kVersionStrSize, "v%d.%d.%d", major, minor, bugfix);
}
