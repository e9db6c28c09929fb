// Apple-shaped C headers for the macOS link check. Declarations only.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif
int strcasecmp(const char* s1, const char* s2);
int strncasecmp(const char* s1, const char* s2, size_t n);
#ifdef __cplusplus
}
#endif
