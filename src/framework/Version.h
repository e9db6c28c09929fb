// Packed versions: major in bits 31-16, minor in 15-8, bug-fix in 7-0; shown as "v1.2.3".
#pragma once

// Longest form is "v65535.255.255".
constexpr int kVersionStrSize = 16;

void GetVersionParts(int version, int* major, int* minor, int* bugfix);
int GetDecimalVersion(int version);
// out must hold kVersionStrSize bytes.
void GetVersionStr(int version, char* out);
